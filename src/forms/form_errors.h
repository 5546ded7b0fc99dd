#pragma once
// How the windows fail to come up: this layer's values of AppError's Action.
#include "common/error.h"

struct WindowAction {
  static constexpr Action CreateWindow{kWindowErrors}, CreateControl{kWindowErrors + 1};
};
