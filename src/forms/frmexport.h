#pragma once
// The export window: a list name and the versions whose lists go into the list file.
#include <string>

#include "forms/form.h"

class FrmExport : public forms::Form {
 public:
  FrmExport();
  // Lines 10 to 13 of a language file: the title, the two frames and the cancel button.
  void ApplyLanguageLine(int line, const std::wstring& text);

 protected:
  void OnActivate() override;
  void OnCommand(int id, int notification) override;

 private:
  void ExportList();
};
