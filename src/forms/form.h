#pragma once
// A small form runtime: each window declares its controls in one table (positions in twips),
// and the runtime turns that into standard Win32 controls sized for the window's DPI, with tab
// order, default and cancel buttons, modal showing, hiding and the close rule.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "common/error.h"
#include "common/handles.h"
#include "settings/texts.h"

namespace forms {

enum class Kind { Button, Label, Frame, ListBox, DropDownList, TextBox, CheckBox, ListView, ProgressBar };

class Form;
// What a control does: for a button or check box when it is clicked, for a text box when its
// text changes. Called with the window the control belongs to.
using ControlHandler = void (*)(Form& form);
// A message for the control itself, seen before the control's own window procedure: true when
// the handler took it (the control then never sees it), false to let the control go on as usual.
using ControlMessageHandler = bool (*)(Form& form, UINT message, WPARAM wParam, LPARAM lParam);

namespace binding {
template <auto Method, class Signature = decltype(Method)>
struct Thunk;
template <auto Method, class Window, class Result, class... Args>
struct Thunk<Method, Result (Window::*)(Args...)> {
  static Result Call(Form& form, Args... args) {
    static_assert(std::is_base_of_v<Form, Window>, "a handler is a member of a window's class");
    // The runtime calls a row's handler only with the window whose table holds the row.
    return (static_cast<Window&>(form).*Method)(args...);
  }
};
}  // namespace binding

// A row's handler that calls a member of the window's class, for the row's `.onClick` or
// `.onMessage`: `.onClick = forms::Bind<&FrmClear::ClearChosen>`.
template <auto Method>
inline constexpr auto Bind = &binding::Thunk<Method>::Call;

// A place in twips: 15 twips make a pixel at 96 DPI.
struct Twips {
  int left = 0, top = 0, width = 0, height = 0;
};

// The edges of a resizable window that a control keeps its distance to: held by left and right
// it stretches with the window's width, by right alone it moves along; top and bottom alike.
enum class Anchor : unsigned char { Left = 1, Top = 2, Right = 4, Bottom = 8 };
constexpr Anchor operator|(Anchor a, Anchor b) {
  return static_cast<Anchor>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool Holds(Anchor anchor, Anchor edge) {
  return (static_cast<unsigned>(anchor) & static_cast<unsigned>(edge)) != 0;
}
inline constexpr Anchor kStayTopLeft = Anchor::Left | Anchor::Top;
inline constexpr Anchor kFollowAllEdges = Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom;
inline constexpr Anchor kFollowBottomRight = Anchor::Right | Anchor::Bottom;

// A control's place in pixels.
struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};
// Where a control designed at `designed` goes when the client area is `dx` wider and `dy`
// higher than designed.
constexpr PixelRect FollowEdges(PixelRect designed, Anchor anchor, int dx, int dy) {
  if (Holds(anchor, Anchor::Right)) {
    if (Holds(anchor, Anchor::Left))
      designed.width += dx;
    else
      designed.left += dx;
  }
  if (Holds(anchor, Anchor::Bottom)) {
    if (Holds(anchor, Anchor::Top))
      designed.height += dy;
    else
      designed.top += dy;
  }
  return designed;
}

// Everything about one control, in one row.
struct ControlDef {
  const wchar_t* name;
  int id;
  Kind kind;
  int container = 0;  // id of the frame the control stands in; 0 for the window itself
  // Its caption, by name; Text::None for a control that shows data. A label may show
  // `paragraphs` texts from there on (in the table's order), each followed by an empty line but
  // the last, which ends with a line break.
  Text text = Text::None;
  int paragraphs = 1;
  Twips twips;  // relative to the container
  int tabIndex = 0;
  ControlHandler onClick = nullptr;
  // How it follows the edges of a resizable window.
  Anchor anchor = kStayTopLeft;
  // Set when the window takes some of the control's own messages (keys the control would
  // otherwise handle its own way): the runtime subclasses the control for it.
  ControlMessageHandler onMessage = nullptr;
};

// One of the program's own commands in a window's window menu (behind the caption's icon),
// below a separator after the system's items, in the rows' order.
struct MenuCommandDef {
  unsigned id;  // its WM_SYSCOMMAND id: below 0xF000, the low four bits 0
  Text text;
  void (*run)(Form& form);
  // Greyed out while this says false; null for a command that is always there. The command may
  // still arrive from elsewhere, so `run` checks for itself.
  bool (*available)() = nullptr;
};

struct FormDef {
  const wchar_t* className;
  Text caption;
  int clientWidth, clientHeight;  // twips
  std::span<const ControlDef> controls;
  int defaultButton = 0;  // id of the button Enter presses, 0 for none
  int cancelButton = 0;   // id of the button Esc presses, 0 for none
  // The close rule: asked to unload while its Tag reads as 0, the window only hides.
  bool hidesUntilTagged = false;
  // The user may resize the window, down to its designed client size; the controls follow its
  // edges as their rows' anchors say.
  bool resizable = false;
  // Its controls answer while a command works on the lists (the wait's own window); every other
  // window's commands are unavailable then.
  bool answersWhileBusy = false;
  // Grows, up to the monitor's work area, when the texts it shows need more room than designed
  // (a translation's long caption or question): its buttons widen alike to the widest caption,
  // the window and what spans it wider by as much, and a label grows to its wrapped text with
  // what lies below it moving down. For a window that is not resizable.
  bool fitsTexts = false;
};

// True when the window's caption and its controls take each language-file line from `first` to
// `last` exactly once, and no other line: checked at compile time for every window.
constexpr bool TakesEachLineOnce(const FormDef& def, int first, int last) {
  int uses[64] = {};
  auto take = [&](Text text) {
    const int line = RowOf(text).line;
    if (line == 0) return true;
    if (line < first || line > last || line - first >= 64) return false;
    ++uses[line - first];
    return true;
  };
  if (!take(def.caption)) return false;
  for (const ControlDef& c : def.controls) {
    if (c.paragraphs < 1 || static_cast<int>(c.text) + c.paragraphs > static_cast<int>(Text::Count)) return false;
    for (int p = 0; p < c.paragraphs; ++p)
      if (!take(static_cast<Text>(static_cast<int>(c.text) + p))) return false;
  }
  for (int line = first; line <= last; ++line)
    if (uses[line - first] != 1) return false;
  return true;
}

namespace menukeys {
// The access keys of the system's own items of the window menu, in Polish as Windows and Wine
// show them (Przywróć, Przenieś, Rozmiar, Minimalizuj, Maksymalizuj, Zamknij, "Wine -
// informacje") and in English (Restore, Move, Size, Minimize, Maximize, Close, About Wine).
inline constexpr const char8_t* kSystemPolish = u8"preamnkz";
inline constexpr const char8_t* kSystemEnglish = u8"rmsnxca";
constexpr char8_t AccessKey(const char8_t* text) {
  for (; *text; ++text)
    if (text[0] == u8'&' && text[1] != u8'&' && text[1])
      return text[1] >= u8'A' && text[1] <= u8'Z' ? static_cast<char8_t>(text[1] - u8'A' + u8'a') : text[1];
  return 0;
}
constexpr bool Holds(const char8_t* keys, char8_t key) {
  for (; *keys; ++keys)
    if (*keys == key) return true;
  return false;
}
}  // namespace menukeys

// True when each command has an access key of its own in each language, taken by none of the
// system's items: checked at compile time for every window menu.
constexpr bool MenuKeysApart(std::span<const MenuCommandDef> menu) {
  using namespace menukeys;
  for (const MenuCommandDef& item : menu) {
    const char8_t polish = AccessKey(RowOf(item.text).polish), english = AccessKey(RowOf(item.text).english);
    if (!polish || !english || Holds(kSystemPolish, polish) || Holds(kSystemEnglish, english)) return false;
    for (const MenuCommandDef& other : menu)
      if (&other != &item &&
          (AccessKey(RowOf(other.text).polish) == polish || AccessKey(RowOf(other.text).english) == english))
        return false;
  }
  return true;
}

// 15 twips make a pixel at 96 DPI.
int TwipsToPixels(int twips, UINT dpi);

class Form {
 public:
  // `menu`: the program's own commands in the window's window menu, if any.
  explicit Form(const FormDef& def, std::span<const MenuCommandDef> menu = {});
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window and its controls, hidden, and runs the load handler (once per load).
  void Load();
  bool IsLoaded() const { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const;
  // The window that owns this one; set before the window is created.
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND Owner() const { return owner_; }
  // The form whose window this is, or null for any other window.
  static Form* Of(HWND window);
  UINT Dpi() const { return dpi_; }

  // Shows the window, not modal; loads it first when needed.
  void Show();
  // Shows the window modally (every other window of the program disabled) and returns when it
  // hides itself.
  void ShowModal();
  // The same without a loop of its own, for a caller that runs one: EndModal gives the other
  // windows back and hides this one.
  void BeginModal();
  void EndModal();
  // True while it shows modally.
  bool ShowsModal() const { return modal_; }
  void Hide();
  // Asks the window to unload: the unload handler may refuse. True when the window is gone.
  bool Unload();
  // Destroys the window without asking its handlers; the next use builds it afresh.
  void Discard();

  // Puts the texts in use on the window's caption, controls and window menu, as the rows name
  // them; done each time the window is shown, so a window built before the language changed
  // follows it.
  void ApplyTexts();
  // The window menu's commands in the texts in use, greyed out where not available now.
  void RefreshMenu();
  const FormDef& Definition() const { return def_; }

  std::wstring Caption() const;
  void SetCaption(const std::wstring& text);
  std::wstring ControlText(int id) const;
  void SetControlText(int id, const std::wstring& text);
  void EnableControl(int id, bool enabled);
  bool ControlEnabled(int id) const;

  // A text the program attaches to the window; the close rule reads it as a number.
  std::wstring Tag;
  // The tag read as a number the way a user would write one: leading blanks, a sign and digits;
  // anything else (an empty tag included) reads as 0.
  double TagNumber() const;

 protected:
  virtual void OnLoad() {}
  // Each time the window is shown.
  virtual void OnActivate() {}
  // Runs the handler of the control's row: buttons and check boxes when clicked, text boxes
  // when their text changes.
  virtual void OnCommand(int id, int notification);
  // Return false to refuse the unload.
  virtual bool OnQueryUnload() { return true; }
  virtual void OnUnload() {}
  // WM_NOTIFY from a control; `handled` false lets the default processing answer.
  virtual LRESULT OnNotify(const NMHDR& /*header*/, bool& handled) {
    handled = false;
    return 0;
  }
  // The client area's new size in pixels (resizable windows), after the controls followed it:
  // for what a row cannot say, such as a list view's column widths.
  virtual void OnSize(int /*width*/, int /*height*/) {}
  // After ApplyTexts put the rows' texts in place, for texts the rows cannot say.
  virtual void OnTexts() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // For a control whose row has an onMessage handler.
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Enter and Esc as the dialog manager reports them (IDOK, IDCANCEL): the button they press.
  void PressDialogKey(int id);
  // The window menu's commands: false for an id that is none of them.
  bool RunMenuCommand(UINT command);
  LRESULT MinimumSize(MINMAXINFO& info) const;
  // Activated, the window gives the focus back to the control that had it; deactivated, it
  // remembers that control.
  void KeepFocus(bool active);
  void CreateControls();
  // Gives every subclassed control its own window procedure back and forgets the controls.
  void ReleaseControls();
  // Fonts, control places and the window's size for a DPI, in that order.
  void ApplyLayout(UINT dpi, const RECT* suggested);
  static GdiObject DialogFont(UINT dpi);
  void PlaceControls(UINT dpi, HFONT font);
  // Moves the anchored controls for a client area of that size.
  void FollowClientSize(int width, int height);
  // The control's place in pixels, `dx` and `dy` from the designed client size.
  PixelRect PlaceOf(const ControlDef& c, UINT dpi, int dx, int dy) const;
  void AddMenu();
  static void FitDropDownField(HWND control, int height);
  // Sized for an exact client area; centred, or at the place the system suggests.
  void PlaceWindow(UINT dpi, const RECT* suggested);
  // For a window that fits its texts: how much each control and the client area grow at `dpi`
  // for the texts the controls hold now (fit_, fitWidth_, fitHeight_).
  void FitTexts(UINT dpi, HFONT font);
  void ClickButton(int id);
  void RestoreDisabledWindows();

  const FormDef& def_;
  std::span<const MenuCommandDef> menu_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  UINT dpi_ = 96;
  GdiObject font_;
  std::vector<PixelRect> fit_;  // by row: what FitTexts adds to each control's place
  int fitWidth_ = 0, fitHeight_ = 0;  // and to the client area
  struct Created {
    const ControlDef* row;
    HWND hwnd;
    WNDPROC ownProc;  // the control's own procedure, when subclassed
  };
  std::vector<Created> controls_;
  HWND lastFocus_ = nullptr;
  bool modal_ = false;
  std::vector<HWND> disabledByModal_;
};

// Shows the window of type `Window` modally, owned by `owner`: one per run, built on first use.
template <class Window>
void ShowOwnedModal(Form& owner) {
  static Window window;
  window.SetOwner(owner.hwnd());
  window.ShowModal();
}

// Puts the window menus of the program's windows up to date (a command may have changed what is
// available).
void RefreshMenus();

// Processes every window message waiting in the queue, then returns.
void DoEvents();

// True while a command works on the lists: it holds them, waits for them, or runs in a
// BusyScope. Meanwhile no other command starts (buttons and window-menu items do nothing, the
// window menu does not open, no window closes) and the cursor shows the wait; only the wait's
// own window answers.
bool Busy();

// While a long piece of work runs on the window's behalf: the window is disabled, the program
// is Busy() and the cursor shows the wait. KeepAnswering(), called now and then by the work,
// lets the program's windows repaint and answer meanwhile. All is undone when the scope ends.
// A command holds the recent-files lists while `held` calls are not undone: the program is Busy().
void Holding(bool held);

class BusyScope {
 public:
  explicit BusyScope(HWND window);
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  void KeepAnswering();

 private:
  HWND window_;
  HWND focus_;
  bool disabled_;
  HCURSOR cursor_;
};
// The progress of long work that runs on the window's thread and says now and then how far it
// has got. Once the work has run a second, a small window owned by `owner` shows `doing`, a bar
// and the count of entries, and the taskbar button shows the bar too (Windows 7 and later). The
// window has no Cancel: it goes when this does. It changes at most ten times a second, so Update
// may be called as often as the work likes.
class ProgressShown {
 public:
  ProgressShown(HWND owner, std::wstring doing);
  ~ProgressShown();
  ProgressShown(const ProgressShown&) = delete;
  ProgressShown& operator=(const ProgressShown&) = delete;
  // `done` of `total` entries; a total of 0 while the work cannot count (the bar runs to and fro).
  void Update(std::size_t done, std::size_t total);
  // The work goes on, no further than it said.
  void Tick();

 private:
  class Window;
  HWND owner_;
  std::wstring doing_;
  DWORD start_, shownAt_ = 0;
  std::size_t done_ = 0, total_ = 0;
  std::unique_ptr<Window> window_;
};
// Runs the program's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();
// A message box captioned "Brushwick", owned by the program's active window.
int MsgBox(const std::wstring& text, UINT flags = MB_OK | MB_ICONINFORMATION);
enum class WaitEnd { Signalled, Cancelled, TimedOut };
// Waits at most `timeoutMs` for `object` (a mutex is acquired by this thread then). Unless it is
// signalled at once, a small window owned by the active one says `why` and offers Cancel (Esc and
// its close box cancel too); the program is Busy() meanwhile, its other windows are disabled,
// and the wait goes on whatever the user does elsewhere.
WaitEnd WaitWithCancel(HANDLE object, const std::wstring& why, DWORD timeoutMs);
// Tells the user about a failure that reached a handler, then ends the program.
[[noreturn]] void ReportFatalAndExit(DWORD code, const std::wstring& description);
// How the program words its failures (AppError) for the report of one that reached a handler;
// until it says, the report gives the error number's summary.
using FailureWording = std::wstring (*)(const AppError& error);
void SetFailureWording(FailureWording wording);
// Called in a catch block: reports the exception being handled, then ends the program.
[[noreturn]] void ReportCaughtAndExit();
// Runs `body`, turning any exception into ReportFatalAndExit. Used at every callback boundary.
template <typename Body>
void Guarded(Body&& body) {
  try {
    body();
  } catch (...) {
    ReportCaughtAndExit();
  }
}

}  // namespace forms
