#pragma once
// Clear a list: asks which version's list (5.0, 6.0 or both), confirms, and removes every entry.
#include <string>

#include "cleaner/cleaner.h"
#include "forms/form.h"

// The lists changed each time they were read again before writing: nothing was changed.
void ReportListsChangedMeanwhile();

class FrmClear : public forms::Form {
 public:
  FrmClear();
  // Wyczyść: asks for confirmation, then clears the chosen list(s) and hides.
  void ClearChosen();

 protected:
  void OnActivate() override;
};
