#include <windows.h>

#include "forms/form.h"
#include "startup/module1.h"

namespace {

// The manifest declares per-monitor DPI awareness; this covers a build without it.
void BecomeDpiAware() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using SetContext = BOOL(WINAPI*)(HANDLE);
  if (auto set = reinterpret_cast<SetContext>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))) {
    if (set(reinterpret_cast<HANDLE>(-4)) || GetLastError() == ERROR_ACCESS_DENIED) return;  // already set
  }
  SetProcessDPIAware();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  BecomeDpiAware();
  forms::Guarded([] { StartUp(); });
  return forms::RunMessageLoop();
}
