#pragma once
// Clear a list: asks which version's list (5.0, 6.0 or both), confirms, and removes every entry.
#include <string>

#include "cleaner/cleaner.h"
#include "forms/form.h"

// The choices of the drop-down list, in its order: which lists each clears.
struct ClearChoice {
  bool v50, v60;
  Text text;   // as the list shows it
  Text which;  // as the question names it
};
inline constexpr ClearChoice kClearChoices[] = {
    {true, false, Text::VisualBasic50, Text::ClearWhich50},
    {false, true, Text::VisualBasic60, Text::ClearWhich60},
    {true, true, Text::ClearChoiceBoth, Text::ClearWhichBoth},
};

class FrmClear : public forms::Form {
 public:
  FrmClear();
  // Wyczyść: asks for confirmation, then clears the chosen list(s) and hides.
  void ClearChosen();

 protected:
  void OnActivate() override;
};
