#pragma once
// The language picker: "Polski" and the languages of the lang folder.
#include "forms/form.h"

class FrmLang : public forms::Form {
 public:
  FrmLang();

 protected:
  void OnLoad() override;
  void OnCommand(int id, int notification) override;
  void OnUnload() override;

 private:
  bool chosen_ = false;
};
