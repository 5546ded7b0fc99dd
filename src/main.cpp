#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "commandline/commandline.h"

#include "forms/form.h"
#include "forms/messages.h"
#include "startup/module1.h"

namespace {

// The manifest declares per-monitor DPI awareness; this covers a build without it. Both calls
// are looked up, since Windows XP has neither (it scales nothing, so it needs neither).
void BecomeDpiAware() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using SetContext = BOOL(WINAPI*)(HANDLE);
  if (auto set = reinterpret_cast<SetContext>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))) {
    if (set(reinterpret_cast<HANDLE>(-4)) || GetLastError() == ERROR_ACCESS_DENIED) return;  // already set
  }
  using SetAware = BOOL(WINAPI*)();
  if (auto set = reinterpret_cast<SetAware>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware"))))
    set();
}

}  // namespace

#if defined(__GLIBCXX__)
// libstdc++'s default terminate handler prints the demangled type of the exception to stderr,
// which a windowed program does not have, and brings the whole demangler (about a fifth of the
// exe) with it. Every handler catches what it throws, so terminate means a broken invariant:
// end at once, as the default handler does after printing.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // With arguments: an unattended run, no window.
  int count = 0;
  if (wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count)) {
    const std::vector<std::wstring> given(args + (count > 0 ? 1 : 0), args + count);
    LocalFree(args);
    if (!given.empty()) return commandline::Run(given);
  }
  BecomeDpiAware();
  forms::SetFailureWording(&Describe);
  forms::Guarded([] { StartUp(); });
  return forms::RunMessageLoop();
}
