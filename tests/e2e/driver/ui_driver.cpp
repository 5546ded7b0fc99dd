#include "driver/ui_driver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <thread>
#include <utility>

namespace ui {

namespace {

constexpr Millis kPoll{10};

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

[[noreturn]] void FailLast(const std::string& what) {
  Fail(what + " (error " + std::to_string(GetLastError()) + ")");
}

// Polls `done` every 10 ms until it holds or `timeout` has passed; true when it held.
template <typename Predicate>
bool PollUntil(Millis timeout, Predicate done) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

// Coordinates in real pixels whatever the display's scale, like the program's own.
const bool kDpiAware = [] {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  if (auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")))) {
    if (set(reinterpret_cast<HANDLE>(-4))) return true;  // per-monitor v2
  }
  return SetProcessDPIAware() != FALSE;
}();

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Window enumeration with a lambda; the visitor returns false to stop.
using WindowVisitor = std::function<bool(HWND)>;

BOOL CALLBACK VisitWindow(HWND window, LPARAM visitor) {
  return (*reinterpret_cast<WindowVisitor*>(visitor))(window) ? TRUE : FALSE;
}

void ForEachTopWindow(WindowVisitor visit) { EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit)); }

// Every descendant, at any depth.
void ForEachChild(HWND parent, WindowVisitor visit) {
  EnumChildWindows(parent, VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

}  // namespace

// ---- Wine and paths ------------------------------------------------------------------------

namespace {
using WineGetVersion = const char*(CDECL*)();
WineGetVersion WineVersionFunction() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll ? reinterpret_cast<WineGetVersion>(
                     reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
               : nullptr;
}
}  // namespace

std::string WineVersion() {
  const auto get = WineVersionFunction();
  return get ? std::string(get()) : std::string();
}

std::wstring UnixToWindowsPath(const std::string& unix_path) {
  if (unix_path.empty()) return {};
  using GetDosName = WCHAR*(CDECL*)(const char*);
  const auto get = reinterpret_cast<GetDosName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (get) {
    if (WCHAR* dos = get(unix_path.c_str())) {
      std::wstring result(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  // Wine maps the unix root to Z: by default.
  std::wstring result = L"Z:";
  const int length = MultiByteToWideChar(CP_UTF8, 0, unix_path.data(), static_cast<int>(unix_path.size()),
                                         nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, unix_path.data(), static_cast<int>(unix_path.size()), wide.data(), length);
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  return result + wide;
}

std::wstring EnvVar(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return {};
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), length));
  return value;
}

std::string Utf8(const std::wstring& text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                         0, nullptr, nullptr);
  std::string result(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length,
                      nullptr, nullptr);
  return result;
}

namespace {
// An environment variable that names a unix path, as a Windows path.
std::wstring PathFromEnv(const wchar_t* name) {
  const std::wstring value = EnvVar(name);
  if (value.empty()) return {};
  // Already a Windows path (run on Windows, or set by hand).
  if (value.size() >= 2 && (value[1] == L':' || (value[0] == L'\\' && value[1] == L'\\'))) return value;
  return UnixToWindowsPath(Utf8(value));
}
}  // namespace

std::wstring BuiltExePath() { return PathFromEnv(L"BRUSHWICK_EXE"); }

// ---- Files ---------------------------------------------------------------------------------

void MakeFolders(const std::wstring& path) {
  if (path.empty() || FileExists(path)) return;
  const size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos && slash > 2) MakeFolders(path.substr(0, slash));
  if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    FailLast("cannot create folder " + Utf8(path));
}


void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) FailLast("cannot create " + Utf8(path));
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) Fail("cannot write " + Utf8(path));
}


AppFolder::AppFolder(const std::wstring& exe) : source_exe_(exe) {
  if (exe.empty()) Fail("no exe to copy into the program folder");
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  root_ = std::wstring(temp) + L"brushwick-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(root_);
  path_ = root_ + L"\\app";
  working_ = root_ + L"\\elsewhere";
  MakeFolders(path_);
  MakeFolders(working_);
  exe_ = path_ + L"\\brushwick.exe";
  if (!CopyFileW(exe.c_str(), exe_.c_str(), FALSE)) FailLast("cannot copy " + Utf8(exe));
}

AppFolder::~AppFolder() {
  // The exe may still be shutting down; give it a moment to let go of its file.
  PollUntil(Millis(2000), [&] {
    RemoveTree(root_);
    return !FileExists(root_);
  });
}

void AppFolder::CopyLanguages(const std::wstring& source) {
  std::wstring from = source;
  if (from.empty()) {
    const size_t slash = source_exe_.find_last_of(L"\\/");
    from = (slash == std::wstring::npos ? std::wstring(L".") : source_exe_.substr(0, slash)) + L"\\lang";
  }
  const std::wstring to = path_ + L"\\lang";
  MakeFolders(to);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring name = data.cFileName;
    if (!CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE))
      FailLast("cannot copy " + Utf8(name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

void AppFolder::WriteOptions(const std::string& bytes) const { WriteFileBytes(path_ + L"\\opcje.dat", bytes); }

std::string AppFolder::ReadOptions() const { return ReadBytes(path_ + L"\\opcje.dat"); }

// ---- Process -------------------------------------------------------------------------------

namespace {

// Failures of the machine rather than of the exe, worth one more try. Wine reports a program that
// ended before it had finished starting (killed, or short of memory, under load) as
// ERROR_INTERNAL_ERROR.
const char* MachineFailure(DWORD error) {
  switch (error) {
    case ERROR_INTERNAL_ERROR: return "ERROR_INTERNAL_ERROR: the new process ended while it was starting";
    case ERROR_NOT_ENOUGH_MEMORY: return "ERROR_NOT_ENOUGH_MEMORY";
    case ERROR_OUTOFMEMORY: return "ERROR_OUTOFMEMORY";
    case ERROR_NO_SYSTEM_RESOURCES: return "ERROR_NO_SYSTEM_RESOURCES";
    case ERROR_COMMITMENT_LIMIT: return "ERROR_COMMITMENT_LIMIT";
    default: return nullptr;
  }
}

}  // namespace

AppProcess AppProcess::Start(const std::wstring& exe, const std::wstring& working_folder,
                             const std::wstring& arguments, HANDLE output, HANDLE errors) {
  std::wstring command_line = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const bool streams = output || errors;
  if (streams) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = errors;
  }
  PROCESS_INFORMATION info{};
  const auto create = [&] {
    return CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, streams, 0, nullptr,
                          working_folder.empty() ? nullptr : working_folder.c_str(), &startup, &info) != FALSE;
  };
  if (!create()) {
    const DWORD first = GetLastError();
    const char* reason = MachineFailure(first);
    const std::string failed = "cannot start " + Utf8(exe) + " (error " + std::to_string(first) +
                               (reason ? std::string(", ") + reason : std::string()) + ")";
    if (!reason) Fail(failed);
    std::printf("ui driver: %s; trying once more\n", failed.c_str());
    std::fflush(stdout);
    Sleep(1000);
    if (!create()) FailLast(failed + ", nor on a second try");
    std::printf("ui driver: started on the second try\n");
    std::fflush(stdout);
  }
  CloseHandle(info.hThread);
  AppProcess app;
  app.process_ = info.hProcess;
  app.pid_ = info.dwProcessId;
  // Ready for input once its first window waits for messages (bounded: a program that never
  // waits for input simply makes this return later).
  if (arguments.empty()) WaitForInputIdle(app.process_, static_cast<DWORD>(kTimeout.count()));
  return app;
}

AppProcess::~AppProcess() { Kill(); }

AppProcess::AppProcess(AppProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

AppProcess& AppProcess::operator=(AppProcess&& other) noexcept {
  if (this != &other) {
    Kill();
    process_ = std::exchange(other.process_, nullptr);
    pid_ = std::exchange(other.pid_, 0);
  }
  return *this;
}

bool AppProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> AppProcess::WaitForExit(Millis timeout) const {
  if (!process_) return std::nullopt;
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void AppProcess::Kill() {
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

void AppProcess::Pause(Millis pause) const {
  std::vector<HANDLE> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) FailLast("CreateToolhelp32Snapshot");
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != pid_) continue;
    if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
      if (SuspendThread(thread) != static_cast<DWORD>(-1)) threads.push_back(thread);
      else CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
  if (threads.empty()) Fail("Pause: no thread of the process could be held");
  Sleep(static_cast<DWORD>(pause.count()));
  for (HANDLE thread : threads) {
    ResumeThread(thread);
    CloseHandle(thread);
  }
}

// ---- Windows -------------------------------------------------------------------------------

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

namespace {
std::wstring CaptionOf(HWND window) {
  // For another process's top-level window this reads the stored caption without a message.
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}
}  // namespace

HWND FindTopWindow(DWORD pid, const std::wstring& window_class, const std::wstring* title,
                   Visibility visibility) {
  HWND found = nullptr;
  ForEachTopWindow([&](HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != pid || !SameText(ClassOf(window), window_class)) return true;
    if (visibility == Visibility::Visible && !IsWindowVisible(window)) return true;
    if (title && CaptionOf(window) != *title) return true;
    found = window;
    return false;
  });
  return found;
}

HWND WaitForWindow(const AppProcess& app, const std::wstring& window_class, const std::wstring* title,
                   Visibility visibility, Millis timeout) {
  HWND found = nullptr;
  PollUntil(timeout, [&] {
    found = FindTopWindow(app.pid(), window_class, title, visibility);
    return found != nullptr || !app.Running();
  });
  return found;
}

bool WaitForWindowGone(HWND window, Millis timeout, bool or_hidden) {
  return PollUntil(timeout, [&] { return !IsWindow(window) || (or_hidden && !IsWindowVisible(window)); });
}

// ---- Screen pixels -------------------------------------------------------------------------

namespace {

// A 24-bit bottom-up image of a screen area, in BMP row layout.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<BYTE> bits;
  int Stride() const { return (width * 3 + 3) & ~3; }
  COLORREF At(int x, int y) const {  // y from the top
    const BYTE* p = &bits[static_cast<size_t>(height - 1 - y) * Stride() + x * 3];
    return RGB(p[2], p[1], p[0]);
  }
  bool operator==(const Pixels&) const = default;
};

BITMAPINFO Info24(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Draws into a 24-bit memory bitmap with `paint(dc)` and returns its pixels.
template <typename Paint>
Pixels Render(int width, int height, Paint paint) {
  Pixels result;
  result.width = std::max(width, 0);
  result.height = std::max(height, 0);
  if (result.width == 0 || result.height == 0) return result;
  BITMAPINFO info = Info24(result.width, result.height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    FailLast("cannot create a bitmap");
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  paint(memory, screen);
  GdiFlush();
  const auto* begin = static_cast<const BYTE*>(bits);
  result.bits.assign(begin, begin + static_cast<size_t>(result.Stride()) * result.height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return result;
}

Pixels CaptureScreen(const RECT& area) {
  return Render(area.right - area.left, area.bottom - area.top, [&](HDC memory, HDC screen) {
    BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top,
           SRCCOPY | CAPTUREBLT);
  });
}

bool HasUpdateRegion(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return true;
  bool pending = false;
  ForEachChild(window, [&](HWND child) {
    pending = IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE);
    return !pending;
  });
  return pending;
}

// The window's screen area once it has painted and what shows has settled (Wine copies a
// window's drawing to the display a little after the painting).
Pixels SettledCapture(HWND window, RECT& area) {
  Sync(window);
  PollUntil(Millis(2000), [&] { return !HasUpdateRegion(window); });
  GetWindowRect(window, &area);
  Pixels last = CaptureScreen(area);
  PollUntil(Millis(2000), [&] {
    std::this_thread::sleep_for(Millis(60));
    GetWindowRect(window, &area);
    Pixels now = CaptureScreen(area);
    const bool same = now == last;
    last = std::move(now);
    return same;
  });
  return last;
}

BoxIcon RecogniseIcon(HWND icon_control) {
  RECT area;
  GetWindowRect(icon_control, &area);
  const Pixels shown = CaptureScreen(area);
  if (shown.width == 0 || shown.height == 0) return BoxIcon::Unknown;
  const COLORREF background = shown.At(0, 0);  // every system icon leaves its corners clear
  struct Candidate {
    BoxIcon icon;
    const wchar_t* id;
  };
  const Candidate candidates[] = {{BoxIcon::Information, IDI_INFORMATION},
                                  {BoxIcon::Warning, IDI_WARNING},
                                  {BoxIcon::Error, IDI_ERROR},
                                  {BoxIcon::Question, IDI_QUESTION}};
  BoxIcon best = BoxIcon::Unknown;
  double best_score = 1e300;
  for (const auto& candidate : candidates) {
    HICON icon = static_cast<HICON>(
        LoadImageW(nullptr, candidate.id, IMAGE_ICON, shown.width, shown.height, LR_SHARED));
    if (!icon) icon = LoadIconW(nullptr, candidate.id);
    if (!icon) continue;
    const Pixels drawn = Render(shown.width, shown.height, [&](HDC memory, HDC) {
      HBRUSH brush = CreateSolidBrush(background);
      RECT all{0, 0, shown.width, shown.height};
      FillRect(memory, &all, brush);
      DeleteObject(brush);
      DrawIconEx(memory, 0, 0, icon, shown.width, shown.height, 0, nullptr, DI_NORMAL);
    });
    double difference = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x) {
        const COLORREF a = shown.At(x, y), b = drawn.At(x, y);
        difference += std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                      std::abs(GetBValue(a) - GetBValue(b));
      }
    const double score = difference / (3.0 * shown.width * shown.height);  // mean per channel
    if (score < best_score) best_score = score, best = candidate.icon;
  }
  return best_score < 8.0 ? best : BoxIcon::Unknown;
}

}  // namespace

// ---- Message boxes -------------------------------------------------------------------------

const char* IconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Information: return "information";
    case BoxIcon::Warning: return "warning";
    case BoxIcon::Error: return "error";
    case BoxIcon::Question: return "question";
    case BoxIcon::Unknown: break;
  }
  return "unknown";
}

namespace {
MessageBoxInfo ReadMessageBox(HWND box) {
  MessageBoxInfo info;
  info.window = box;
  info.caption = Text(box);
  if (HWND text = GetDlgItem(box, 0xFFFF)) info.text = Text(text);
  std::vector<std::pair<LONG, int>> buttons;
  HWND icon_control = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    const std::wstring kind = ClassOf(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (SameText(kind, L"Button")) {
      RECT r;
      GetWindowRect(child, &r);
      buttons.emplace_back(r.left, GetDlgCtrlID(child));
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) info.defaultButton = GetDlgCtrlID(child);
    } else if (SameText(kind, L"Static") && (style & SS_TYPEMASK) == SS_ICON) {
      icon_control = child;
    }
  }
  std::sort(buttons.begin(), buttons.end());
  for (const auto& b : buttons) info.buttons.push_back(b.second);
  // A box without icon may keep an empty icon control, partly under the text.
  if (icon_control && Send(icon_control, STM_GETICON) == 0) icon_control = nullptr;
  if (icon_control) {
    Sync(box);
    PollUntil(Millis(2000), [&] { return !HasUpdateRegion(box); });
    // Give the display a moment to show what was painted, then recognise.
    PollUntil(Millis(500), [&] {
      info.icon = RecogniseIcon(icon_control);
      return info.icon != BoxIcon::Unknown;
    });
  }
  return info;
}
}  // namespace

std::optional<MessageBoxInfo> WaitForMessageBox(const AppProcess& app, Millis timeout) {
  HWND box = WaitForWindow(app, kMessageBoxClass, nullptr, Visibility::Visible, timeout);
  if (!box) return std::nullopt;
  return ReadMessageBox(box);
}

bool MessageBoxAppears(const AppProcess& app, Millis within) {
  return WaitForWindow(app, kMessageBoxClass, nullptr, Visibility::Visible, within) != nullptr;
}

bool AnswerMessageBox(HWND box, int button, Millis timeout) {
  if (!IsWindow(box)) return true;
  if (HWND control = GetDlgItem(box, button))
    PostMessageW(control, BM_CLICK, 0, 0);
  else
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  return WaitForWindowGone(box, timeout, true);
}

bool CloseMessageBox(HWND box, Millis timeout) { return AnswerMessageBox(box, IDOK, timeout); }

// ---- Controls ------------------------------------------------------------------------------

HWND Control(HWND parent, int id) {
  HWND found = nullptr;
  ForEachChild(parent, [&](HWND child) {
    if (GetDlgCtrlID(child) == id) found = child;
    return found == nullptr;
  });
  return found;
}

std::vector<HWND> ControlsOfClass(HWND parent, const std::wstring& window_class) {
  std::vector<HWND> found;
  ForEachChild(parent, [&](HWND child) {
    if (SameText(ClassOf(child), window_class)) found.push_back(child);
    return true;
  });
  return found;
}

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, Millis timeout) {
  DWORD_PTR result = 0;
  // Wine hands back the message's own result where Windows returns nonzero, so a zero return
  // is a failure only when it comes with an error (timeout, no such window).
  SetLastError(ERROR_SUCCESS);
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, static_cast<UINT>(timeout.count()),
                           &result) &&
      GetLastError() != ERROR_SUCCESS)
    FailLast("window " + std::to_string(reinterpret_cast<uintptr_t>(window)) + " did not answer message " +
             std::to_string(message));
  return static_cast<LRESULT>(result);
}

bool Sync(HWND window, Millis timeout) {
  DWORD_PTR result = 0;
  SetLastError(ERROR_SUCCESS);
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()),
                             &result) != 0 ||
         GetLastError() == ERROR_SUCCESS;
}

std::wstring Text(HWND window) {
  const auto length = static_cast<size_t>(Send(window, WM_GETTEXTLENGTH));
  std::wstring text(length + 1, L'\0');
  const auto copied = static_cast<size_t>(
      Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(copied, length));
  return text;
}

void Click(HWND button) {
  if (!button) Fail("Click: no such button");
  PostMessageW(button, BM_CLICK, 0, 0);
}

void SetText(HWND edit, const std::wstring& text) {
  if (!edit) Fail("SetText: no such control");
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressKey(HWND control, UINT virtual_key, wchar_t character) {
  if (!control) Fail("PressKey: no such control");
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC)) << 16;
  const bool navigation = virtual_key == VK_RETURN || virtual_key == VK_ESCAPE || virtual_key == VK_TAB;
  if (character && !navigation) {
    // Posting the key as well would make the program's TranslateMessage post a second WM_CHAR,
    // processed at some later moment.
    Send(control, WM_CHAR, character, 1 | scan);
    return;
  }
  PostMessageW(control, WM_KEYDOWN, virtual_key, 1 | scan);
  PostMessageW(control, WM_KEYUP, virtual_key, 1 | scan | (1LL << 30) | (1LL << 31));
  Sync(control);
}

namespace {
bool IsCombo(HWND list) { return SameText(ClassOf(list), L"ComboBox"); }
}  // namespace

void SelectItem(HWND list, int index) {
  if (!list) Fail("SelectItem: no such control");
  const bool combo = IsCombo(list);
  Send(list, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index));
  const WORD notification = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
  Send(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), notification),
       reinterpret_cast<LPARAM>(list));
}

int SelectedIndex(HWND list) {
  return static_cast<int>(Send(list, IsCombo(list) ? CB_GETCURSEL : LB_GETCURSEL));
}

std::vector<std::wstring> ItemTexts(HWND list) {
  const bool combo = IsCombo(list);
  const int count = static_cast<int>(Send(list, combo ? CB_GETCOUNT : LB_GETCOUNT));
  std::vector<std::wstring> items;
  for (int i = 0; i < count; ++i) {
    const auto length = static_cast<int>(Send(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i));
    std::wstring text(std::max(length, 0) + 1, L'\0');
    const auto copied =
        static_cast<int>(Send(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::max(copied, 0));
    items.push_back(text);
  }
  return items;
}

int CheckState(HWND check_box) { return static_cast<int>(Send(check_box, BM_GETCHECK)); }

std::wstring ListViewText(HWND list, int row, int column) {
  // The item and its text area must live in the list's own process.
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) FailLast("cannot open the list's process");
  constexpr int kChars = 1024;
  const SIZE_T bytes = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) {
    CloseHandle(process);
    FailLast("cannot reserve memory in the list's process");
  }
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
  item.cchTextMax = kChars;
  std::wstring text(kChars, L'\0');
  const bool written = WriteProcessMemory(process, remote, &item, sizeof item, nullptr) != FALSE;
  const auto length = written ? static_cast<int>(Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                                      reinterpret_cast<LPARAM>(remote)))
                              : -1;
  const bool read = length >= 0 && ReadProcessMemory(process, remote + sizeof(LVITEMW), text.data(),
                                                     kChars * sizeof(wchar_t), nullptr) != FALSE;
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  if (!read) throw std::runtime_error("cannot read row " + std::to_string(row) + " of the list view");
  text.resize(static_cast<size_t>(std::min(length, kChars - 1)));
  return text;
}
bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
LONG Style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// ---- Geometry ------------------------------------------------------------------------------

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

RECT RectIn(HWND window, HWND reference) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  if (auto get = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")))) {
    if (const UINT dpi = get(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

RECT TwipsRect(int left, int top, int width, int height, int dpi) {
  const int x = TwipsToPixels(left, dpi), y = TwipsToPixels(top, dpi);
  return {x, y, x + TwipsToPixels(width, dpi), y + TwipsToPixels(height, dpi)};
}

namespace {

// The font a control draws with. A font handle of another process means nothing here (and
// Wine answers WM_GETFONT from another process with none at all), so the font is described
// again: a stock font has the same handle everywhere; any other font is taken to be the system's
// message font at the control's DPI, the font of standard dialogs (Tahoma 8 pt under Wine).
HFONT MatchingFont(HWND control, std::wstring& description) {
  const auto handle = reinterpret_cast<HGDIOBJ>(Send(control, WM_GETFONT));
  LOGFONTW font{};
  bool known = false;
  if (handle || !RunningUnderWine()) {
    for (int stock : {DEFAULT_GUI_FONT, SYSTEM_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT, SYSTEM_FIXED_FONT,
                      DEVICE_DEFAULT_FONT, OEM_FIXED_FONT}) {
      HGDIOBJ object = GetStockObject(stock);
      if (object == handle || (!handle && stock == SYSTEM_FONT)) {
        known = GetObjectW(object, sizeof font, &font) == sizeof font;
        break;
      }
    }
  }
  if (!known) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font = metrics.lfMessageFont;
    HDC screen = GetDC(nullptr);
    const int system_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    font.lfHeight = MulDiv(font.lfHeight, DpiOf(control), system_dpi > 0 ? system_dpi : 96);
  }
  description = std::wstring(font.lfFaceName) + L" " + std::to_wstring(font.lfHeight);
  return CreateFontIndirectW(&font);
}

template <typename Measure>
TextFit MeasureWith(HWND control, int margin, Measure measure) {
  TextFit fit;
  const SIZE client = ClientSize(control);
  fit.available = {client.cx - 2 * margin, client.cy - 2 * margin};
  const std::wstring text = Text(control);
  HFONT font = MatchingFont(control, fit.font);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  fit.needed = measure(dc, text, fit.available.cx);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return fit;
}

}  // namespace

TextFit MeasureWrappedText(HWND control, int margin) {
  const bool no_prefix = (Style(control) & SS_NOPREFIX) != 0;
  return MeasureWith(control, margin, [&](HDC dc, const std::wstring& text, LONG width) {
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (no_prefix ? DT_NOPREFIX : 0));
    return SIZE{r.right - r.left, r.bottom - r.top};
  });
}

TextFit MeasureCaption(HWND control, int margin) {
  return MeasureWith(control, margin, [](HDC dc, const std::wstring& text, LONG) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return SIZE{r.right - r.left, r.bottom - r.top};
  });
}

namespace {

RECT InkBoundsNow(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  HWND top = GetAncestor(window, GA_ROOT);
  Sync(top);
  PollUntil(Millis(2000), [&] { return !HasUpdateRegion(top); });
  const Pixels shown = CaptureScreen(client);
  std::map<COLORREF, int> counts;
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x) ++counts[shown.At(x, y)];
  COLORREF background = 0;
  int most = -1;
  for (const auto& [colour, count] : counts)
    if (count > most) most = count, background = colour;
  RECT ink{shown.width, shown.height, 0, 0};
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x)
      if (shown.At(x, y) != background) {
        ink.left = std::min<LONG>(ink.left, x);
        ink.top = std::min<LONG>(ink.top, y);
        ink.right = std::max<LONG>(ink.right, x + 1);
        ink.bottom = std::max<LONG>(ink.bottom, y + 1);
      }
  if (ink.right == 0) return RECT{};
  return ink;
}

}  // namespace

RECT InkBounds(HWND window) {
  // A window of another process may still be painting under load: what it draws is waited for a
  // little, and a control that draws nothing still shows as empty.
  RECT ink{};
  PollUntil(Millis(2000), [&] {
    ink = InkBoundsNow(window);
    return !IsRectEmpty(&ink);
  });
  return ink;
}

// ---- Screenshots ---------------------------------------------------------------------------

std::wstring ShotsFolder() {
  const std::wstring folder = PathFromEnv(L"BRUSHWICK_SHOTS");
  if (!folder.empty()) MakeFolders(folder);
  return folder;
}

std::wstring SaveScreenshot(HWND window, const std::wstring& folder, const std::wstring& name) {
  if (!IsWindow(window)) Fail("SaveScreenshot: no such window");
  if (folder.empty()) Fail("SaveScreenshot: no folder");
  MakeFolders(folder);
  RECT area{};
  const Pixels pixels = SettledCapture(window, area);
  if (pixels.bits.empty()) Fail("SaveScreenshot: the window has no area");
  BITMAPFILEHEADER file{};
  const BITMAPINFO info = Info24(pixels.width, pixels.height);
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.bits.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  bytes.append(reinterpret_cast<const char*>(pixels.bits.data()), pixels.bits.size());
  std::wstring safe = name;
  for (wchar_t& c : safe)
    if (wcschr(L"\\/:*?\"<>|", c)) c = L'_';
  const std::wstring path = folder + L"\\" + safe + L".bmp";
  WriteFileBytes(path, bytes);
  return path;
}

}  // namespace ui
