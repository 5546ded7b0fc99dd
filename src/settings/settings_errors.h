#pragma once
// How the options file and the language files fail: this layer's values of AppError's Action and
// Problem.
#include "common/error.h"

struct SettingsAction {
  static constexpr Action ReadOptionsFile{kSettingsErrors}, ApplyLanguageFile{kSettingsErrors + 1};
};

struct SettingsProblem {
  static constexpr Problem
      LineTooLong{kSettingsErrors},      // `number`: the line longer than any text the program takes
      EmptyFile{kSettingsErrors + 1},
      TooFewLines{kSettingsErrors + 2};  // `number`: how many lines the file holds
};
