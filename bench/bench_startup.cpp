// bench_startup <runs> <name>=<exe> [<name>=<exe> ...]
//
// Times how long each program takes from process start to its first visible window: the clock
// starts before CreateProcess and stops when a visible top-level window of the new process
// exists (looked for every millisecond); the process is then ended. The programs take turns, so
// that both meet the same machine; one unmeasured start of each comes first. Each program starts
// in its own folder. Prints "<name>: <median ms>" per program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "timing.h"

namespace {

struct Search {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && IsWindowVisible(window)) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

// Milliseconds to the first visible window, or a negative number when none came in 30 s.
double TimeToWindow(const std::wstring& exe) {
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = NowMs();
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::fwprintf(stderr, L"bench_startup: cannot start %ls (%lu)\n", exe.c_str(), GetLastError());
    return -1;
  }
  double elapsed = -1;
  Search search{process.dwProcessId, false};
  while (NowMs() - start < 30000) {
    EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      elapsed = NowMs() - start;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;  // ended without a window
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: bench_startup <runs> <name>=<exe> ...\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  std::vector<std::wstring> names, exes;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const size_t eq = arg.find(L'=');
    if (eq == std::wstring::npos) return 2;
    names.push_back(arg.substr(0, eq));
    exes.push_back(arg.substr(eq + 1));
  }
  std::vector<std::vector<double>> times(exes.size());
  for (int run = -1; run < runs; ++run) {
    for (size_t i = 0; i < exes.size(); ++i) {
      const double ms = TimeToWindow(exes[i]);
      if (ms < 0) {
        std::fwprintf(stderr, L"bench_startup: %ls showed no window\n", exes[i].c_str());
        return 1;
      }
      if (run >= 0) times[i].push_back(ms);
      Sleep(100);
    }
  }
  for (size_t i = 0; i < exes.size(); ++i) std::wprintf(L"%ls: %.1f\n", names[i].c_str(), Median(times[i]));
  return 0;
}
