#pragma once
// The language picker: "Polski" and the languages of the lang folder.
#include "forms/form.h"

class FrmLang : public forms::Form {
 public:
  FrmLang();

  // Called by OK after CurrentLanguage is set to the chosen entry's language: true when the
  // choice was taken, false when it was refused and the picker stays for another choice. The
  // start-up code sets it before it shows the picker.
  bool (*OnChoice)() = nullptr;
  // OK: takes the selected entry's language and reports it through OnChoice.
  void ChooseSelected();

 protected:
  void OnLoad() override;
  void OnUnload() override;

 private:
  bool chosen_ = false;
};
