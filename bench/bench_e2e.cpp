// bench_e2e <runs> <brushwick.exe>
//
// Times what the user waits for, with the real exe: from the click on Start in its main window
// to the summary box on the screen, and `brushwick.exe /clean` from its start to its end; both on
// two lists of 1000 entries, half of them naming files that are gone. Beside them, in the same
// run, the registry and file calls the cleaning needs, made bare from this program. Works on the
// HKEY_CURRENT_USER of the Wine prefix it runs in (scripts/bench.sh makes one of its own). The
// exe's folder must hold an options file that opens the main window at once. Prints the medians
// as "name: value" lines.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "lists.h"
#include "timing.h"

namespace {

using bench::Fail;
constexpr int kEntries = 1000;

struct Found {
  DWORD pid;
  const wchar_t* className;
  HWND window;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (pid == found->pid && IsWindowVisible(window) && std::wstring(name) == found->className) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of the process with that class, looked for every millisecond.
HWND WaitForWindowOf(DWORD pid, const wchar_t* className, double timeoutMs = 60000) {
  const double start = NowMs();
  while (NowMs() - start < timeoutMs) {
    Found found{pid, className, nullptr};
    EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&found));
    if (found.window) return found.window;
    Sleep(1);
  }
  return nullptr;
}

PROCESS_INFORMATION Start(const std::wstring& exe, const std::wstring& args) {
  const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring command = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  // What the command line says goes nowhere: standard output holds the figures only.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                      &startup, &process);
  CloseHandle(nul);
  if (!started) Fail("cannot start the exe", GetLastError());
  return process;
}

void End(PROCESS_INFORMATION& process) {
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// From the click on Start to the summary box.
double TimeStart(const std::wstring& exe) {
  PROCESS_INFORMATION process = Start(exe, L"");
  HWND main = WaitForWindowOf(process.dwProcessId, L"Brushwick.Form1");
  if (!main) Fail("no main window", 0);
  HWND start = GetDlgItem(main, 1001);  // Command1, Start
  const double clicked = NowMs();
  PostMessageW(start, BM_CLICK, 0, 0);
  HWND box = WaitForWindowOf(process.dwProcessId, L"#32770");
  const double elapsed = NowMs() - clicked;
  if (!box) Fail("no summary", 0);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  Sleep(50);
  PostMessageW(main, WM_CLOSE, 0, 0);
  End(process);
  return elapsed;
}

// The exe run with `args`, from its start to its end; its exit code in `code`.
double TimeRun(const std::wstring& exe, const wchar_t* args, DWORD& code) {
  const double start = NowMs();
  PROCESS_INFORMATION process = Start(exe, args);
  WaitForSingleObject(process.hProcess, 60000);
  const double elapsed = NowMs() - start;
  GetExitCodeProcess(process.hProcess, &code);
  End(process);
  return elapsed;
}

// `brushwick.exe /clean`, from its start to its end.
double TimeCommandLine(const std::wstring& exe) {
  DWORD code = 99;
  const double elapsed = TimeRun(exe, L"/clean", code);
  if (code != 0) Fail("/clean did not end with 0", static_cast<long>(code));
  return elapsed;
}

// `brushwick.exe /?`: what a start and an end cost by themselves.
double TimeProcess(const std::wstring& exe) {
  DWORD code = 0;
  return TimeRun(exe, L"/?", code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_e2e <runs> <brushwick.exe>\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  const std::wstring exe = argv[2];
  bench::Projects projects(kEntries);
  std::vector<bench::BareList> bare = bench::BareLists(kEntries);

  // One of each first, unmeasured, to warm the caches and check they leave the same lists.
  bench::Seed(projects.texts());
  TimeStart(exe);
  bench::ExpectCleaned(projects.survivors(), "Start button");
  bench::Seed(projects.texts());
  TimeCommandLine(exe);
  bench::ExpectCleaned(projects.survivors(), "command line");

  // The lists as users have them: not written for a while before the run (a list written in the
  // last two seconds is read twice, in case a writer is still at it).
  const auto seed = [&] {
    bench::Seed(projects.texts());
    Sleep(2100);
  };
  std::vector<double> start, line, calls, usage;
  for (int run = 0; run < runs; ++run) {
    seed();
    start.push_back(TimeStart(exe));
    seed();
    line.push_back(TimeCommandLine(exe));
    bench::Seed(projects.texts());
    const double t = NowMs();
    bench::BareCalls(bare);
    calls.push_back(NowMs() - t);
    usage.push_back(TimeProcess(exe));
  }
  const double start_ms = Median(start), line_ms = Median(line), calls_ms = Median(calls), usage_ms = Median(usage);
  std::printf("clean_2x1000_ms: %.1f\n", start_ms);
  std::printf("bare_calls_2x1000_ms: %.1f\n", calls_ms);
  std::printf("clean_vs_bare: %.2f\n", start_ms / calls_ms);
  std::printf("cmdline_clean_2x1000_ms: %.1f\n", line_ms);
  std::printf("cmdline_start_alone_ms: %.1f\n", usage_ms);
  std::printf("cmdline_clean_vs_bare: %.2f\n", (line_ms - usage_ms) / calls_ms);
  return 0;
}
