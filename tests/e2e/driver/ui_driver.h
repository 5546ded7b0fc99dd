#pragma once
// Drives the real brushwick.exe through its windows from another process: starts it from a
// throwaway program folder, finds its windows, presses buttons, types, reads texts, measures
// geometry, takes screenshots and prepares the registry lists it works on.
//
// Nothing here depends on GoogleTest (the demo driver uses it too). Waits poll every 10 ms and
// give up after a bounded time; they return an empty result then. Misuse and failed system calls
// throw std::runtime_error with a readable description.
#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/registry_lists.h"

namespace ui {

using Millis = std::chrono::milliseconds;
inline constexpr Millis kTimeout{10000};

// ---- Wine and paths ------------------------------------------------------------------------

// "8.0" and the like; empty on Windows.
std::string WineVersion();

// A unix path as this process sees it ("/a/b" -> "Z:\a\b" or whatever drive Wine maps it to).
std::wstring UnixToWindowsPath(const std::string& unix_path);
// An environment variable; empty when unset.
std::wstring EnvVar(const wchar_t* name);
// BRUSHWICK_EXE converted to a Windows path; empty when unset.
std::wstring BuiltExePath();

// UTF-8 for messages.
std::string Utf8(const std::wstring& text);

// ---- Files ---------------------------------------------------------------------------------

// Creates a folder and its missing parents.
void MakeFolders(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A temporary program folder holding a copy of the exe, removed with all it holds.
class AppFolder {
 public:
  // Copies `exe` into a fresh folder under %TEMP% as brushwick.exe.
  explicit AppFolder(const std::wstring& exe);
  ~AppFolder();
  AppFolder(const AppFolder&) = delete;
  AppFolder& operator=(const AppFolder&) = delete;

  const std::wstring& path() const { return path_; }
  const std::wstring& exe() const { return exe_; }
  // A folder beside the program folder, to start the program in: it must find its own folder.
  const std::wstring& working_folder() const { return working_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  // Copies the files of `source` (default: the `lang` folder beside the built exe) into `lang`.
  void CopyLanguages(const std::wstring& source = L"");
  // Writes opcje.dat with exactly these bytes.
  void WriteOptions(const std::string& bytes) const;
  std::string ReadOptions() const;

 private:
  std::wstring source_exe_;
  std::wstring root_;  // holds the program folder and a separate working folder
  std::wstring path_;
  std::wstring working_;
  std::wstring exe_;
};

// ---- Process -------------------------------------------------------------------------------

// The started program. On destruction it is killed if it still runs, and waited for.
class AppProcess {
 public:
  AppProcess() = default;
  // Starts `exe` in `working_folder`, with `arguments` after its name when given (then no window
  // is waited for). A start that fails for reasons of the machine (under Wine a process that
  // ended while starting, ERROR_INTERNAL_ERROR) is tried once more, and a line on stdout says
  // so; a start that fails throws with the reason. `output` and `errors`, when given (inheritable
  // handles), become its standard output and standard error.
  static AppProcess Start(const std::wstring& exe, const std::wstring& working_folder,
                          const std::wstring& arguments = L"", HANDLE output = nullptr, HANDLE errors = nullptr);
  ~AppProcess();
  AppProcess(AppProcess&& other) noexcept;
  AppProcess& operator=(AppProcess&& other) noexcept;
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  DWORD pid() const { return pid_; }
  HANDLE handle() const { return process_; }
  bool Running() const;
  // The exit code once the process has ended, or nothing after `timeout`.
  std::optional<DWORD> WaitForExit(Millis timeout = kTimeout) const;
  // Kills the process if it still runs and waits for it.
  void Kill();
  // Holds every thread of the process still for `pause`, then lets them go on: work the process
  // times (it shows its progress after a second) has then run that long, however fast the machine.
  void Pause(Millis pause) const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// ---- Windows -------------------------------------------------------------------------------

enum class Visibility { Any, Visible };

// A top-level window of the process with that class (and title, if given), or null. Gives up
// early when the process ends.
HWND FindTopWindow(DWORD pid, const std::wstring& window_class, const std::wstring* title = nullptr,
                   Visibility visibility = Visibility::Any);
HWND WaitForWindow(const AppProcess& app, const std::wstring& window_class,
                   const std::wstring* title = nullptr, Visibility visibility = Visibility::Any,
                   Millis timeout = kTimeout);
// True once the window no longer exists (or is hidden, when `or_hidden`).
bool WaitForWindowGone(HWND window, Millis timeout = kTimeout, bool or_hidden = false);

// The icon that a message box shows, recognised by its pixels on the screen.
enum class BoxIcon { None, Information, Warning, Error, Question, Unknown };
const char* IconName(BoxIcon icon);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
  BoxIcon icon = BoxIcon::None;
  std::vector<int> buttons;  // control ids of the push buttons, left to right
  int defaultButton = 0;     // the button Enter presses (drawn as the default one)
};

inline const wchar_t kMessageBoxClass[] = L"#32770";

// Waits for a visible message box of the process and reads it.
std::optional<MessageBoxInfo> WaitForMessageBox(const AppProcess& app, Millis timeout = kTimeout);
// True when a message box of the process shows up within `within`.
bool MessageBoxAppears(const AppProcess& app, Millis within);
// Presses the box's button with that id (IDOK, IDYES, IDNO, ...) and waits for the box to go
// away; false if it stays.
bool AnswerMessageBox(HWND box, int button, Millis timeout = kTimeout);
// Presses OK.
bool CloseMessageBox(HWND box, Millis timeout = kTimeout);

// ---- Controls ------------------------------------------------------------------------------

// The descendant of `parent` (at any depth, e.g. inside a frame) with that control id, or null.
HWND Control(HWND parent, int id);
// The descendants of `parent` with that window class ("Button", "ListBox", ...).
std::vector<HWND> ControlsOfClass(HWND parent, const std::wstring& window_class);
std::wstring ClassOf(HWND window);

// Sends a message with a bounded wait; throws when the window does not answer.
LRESULT Send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0,
             Millis timeout = Millis(5000));
// Waits until the window's thread has handled everything sent or posted before (a WM_NULL
// round trip); false when it does not answer in time.
bool Sync(HWND window, Millis timeout = Millis(5000));

std::wstring Text(HWND window);
// Posts BM_CLICK: posted because the handler may show a modal box.
void Click(HWND button);
// WM_SETTEXT; an edit control then tells its parent EN_CHANGE, as typing does.
void SetText(HWND edit, const std::wstring& text);
// Types a key into the control. A key that produces a character the control takes itself
// (letters, Backspace) is delivered as WM_CHAR and handled before PressKey returns. Enter, Esc,
// Tab and keys without a character are posted as WM_KEYDOWN/WM_KEYUP, so they pass through the
// program's message loop (dialog navigation) like real keys; the caller waits for their effect.
void PressKey(HWND control, UINT virtual_key, wchar_t character = 0);
// Selects an item of a list box or combo box and tells the parent, as a user's pick does.
void SelectItem(HWND list, int index);
int SelectedIndex(HWND list);
std::vector<std::wstring> ItemTexts(HWND list);
// BM_GETCHECK: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
int CheckState(HWND check_box);
// The text of one cell of another process's list view (row and column from 0).
std::wstring ListViewText(HWND list, int row, int column);
bool Enabled(HWND window);
bool Visible(HWND window);
LONG Style(HWND window);
// The control that has the keyboard focus in the window's thread, or null.
HWND FocusOf(HWND window);

// ---- Geometry ------------------------------------------------------------------------------

SIZE ClientSize(HWND window);
// The window's rectangle in the client coordinates of `reference` (its parent, a frame, ...).
RECT RectIn(HWND window, HWND reference);
// The DPI the window is shown at (96 when the system cannot tell).
int DpiOf(HWND window);
// pixels = twips * dpi / 1440
int TwipsToPixels(int twips, int dpi);
RECT TwipsRect(int left, int top, int width, int height, int dpi);

// What a control's text needs against what the control offers, in pixels.
struct TextFit {
  SIZE needed{};
  SIZE available{};
  std::wstring font;  // face and height used for the measure, for messages
  bool fits() const { return needed.cx <= available.cx && needed.cy <= available.cy; }
};
// Word-wrapped text (labels): wrapped at the client width less `margin` on each side.
TextFit MeasureWrappedText(HWND control, int margin = 0);
// One-line captions (buttons, frames): the caption's extent against the client size less
// `margin` on each side.
TextFit MeasureCaption(HWND control, int margin);

// What is drawn in the window's client area as it shows on the screen: the smallest rectangle,
// in client coordinates, around every pixel that differs from the most common colour (empty
// when nothing is drawn). A font-independent check that text stays clear of a control's edges.
RECT InkBounds(HWND window);

// ---- Screenshots ---------------------------------------------------------------------------

// The folder named by BRUSHWICK_SHOTS (created), or empty when unset.
std::wstring ShotsFolder();
// Waits until the window has painted, then saves its screen area as a 24-bit BMP named
// `name`.bmp in `folder` (created when missing). Returns the file's path.
std::wstring SaveScreenshot(HWND window, const std::wstring& folder, const std::wstring& name);

}  // namespace ui
