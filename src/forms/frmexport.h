#pragma once
// The export window: a list name and the versions whose lists go into the list file.
#include <string>

#include "forms/form.h"

class FrmExport : public forms::Form {
 public:
  FrmExport();

  // OK enabled exactly while a name is typed.
  void NameChanged();
  // OK: writes the list file, confirms and hides.
  void ExportList();

 protected:
  void OnActivate() override;
};
