#pragma once
// Clear a list: asks which version's list (5.0, 6.0 or both), confirms, and removes every entry.
#include "forms/form.h"

class FrmClear : public forms::Form {
 public:
  FrmClear();
  // Wyczyść: asks for confirmation, then clears the chosen list(s) and hides.
  void ClearChosen();

 protected:
  void OnActivate() override;
};
