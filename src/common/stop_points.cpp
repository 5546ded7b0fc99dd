#include "common/stop_points.h"

namespace stop_points {
namespace {
Hook g_hook = nullptr;
}  // namespace

void SetHookForTesting(Hook hook) { g_hook = hook; }

void Passed() {
  if (g_hook) g_hook();
}

}  // namespace stop_points
