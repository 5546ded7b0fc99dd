#pragma once
// The import window: offers the list files of the program folder and reads the chosen one back
// into the registry.
#include <string>
#include <vector>

#include "forms/form.h"

class FrmImport : public forms::Form {
 public:
  FrmImport();
  // Lines 14 to 17 of a language file: the title, the frame and the two buttons.
  void ApplyLanguageLine(int line, const std::wstring& text);

 protected:
  void OnActivate() override;
  void OnCommand(int id, int notification) override;

 private:
  void ImportList();
  // The files offered, in the order of the drop-down list.
  std::vector<std::wstring> files_;
};
