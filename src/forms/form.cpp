#include "forms/form.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "forms/ids.h"
#include "forms/messages.h"
#include "common/text.h"

// Sent by Windows 8.1 and later when the window moves to a monitor of another DPI; the headers
// declare it only for programs that need those versions.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace forms {
namespace {

constexpr wchar_t kFontFace[] = L"Tahoma";
constexpr int kFontPoints = 8;

// DPI functions of newer Windows versions, looked up once so the program still starts on older ones.
struct DpiApi {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  DpiApi() {
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
      getDpiForWindow = reinterpret_cast<decltype(getDpiForWindow)>(
          reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
      adjustWindowRectExForDpi = reinterpret_cast<decltype(adjustWindowRectExForDpi)>(
          reinterpret_cast<void*>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
    }
  }
};
const DpiApi& Dpi() {
  static const DpiApi api;
  return api;
}

UINT WindowDpi(HWND hwnd) {
  if (Dpi().getDpiForWindow) {
    if (UINT dpi = Dpi().getDpiForWindow(hwnd)) return dpi;
  }
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
// Clipping the children keeps the window's own background from painting over controls that moved.
constexpr DWORD kResizableStyle = kStyle | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;

DWORD StyleOf(const FormDef& def) { return def.resizable ? kResizableStyle : kStyle; }

RECT WindowRectFor(int clientWidth, int clientHeight, UINT dpi, DWORD style) {
  RECT rect{0, 0, clientWidth, clientHeight};
  if (Dpi().adjustWindowRectExForDpi) {
    Dpi().adjustWindowRectExForDpi(&rect, style, FALSE, kExStyle, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, kExStyle);
  }
  return rect;
}

HWND ActiveProgramWindow() {
  HWND active = GetActiveWindow();
  if (active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId()) return active;
  return nullptr;
}

// Tab, Enter and Esc for whichever of the program's windows the message is for.
bool TranslateForForm(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !GetWindowLongPtrW(root, GWLP_USERDATA)) return false;
  return IsDialogMessageW(root, &msg) != FALSE;
}

// A named callback, not a lambda: 32-bit Windows wants the stdcall convention here.
BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  try {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  } catch (...) {
    return FALSE;  // no exception may cross into the system's code
  }
  return TRUE;
}

void Dispatch(MSG& msg) {
  if (TranslateForForm(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

// Waits and BusyScopes running now (the window thread's alone).
int busyScopes = 0;

}  // namespace

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

Form::Form(const FormDef& def) : def_(def) {}

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::Load() {
  if (hwnd_) return;
  static bool commonControlsReady = [] {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)commonControlsReady;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW cls{};
  if (!GetClassInfoExW(instance, def_.className, &cls)) {
    cls = {};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = &Form::WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = def_.className;
    cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    cls.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&cls);
  }
  hwnd_ = CreateWindowExW(kExStyle, def_.className, Tr(def_.caption), StyleOf(def_), CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, owner_, nullptr, instance, this);
  if (!hwnd_) ThrowLastError(Action::CreateWindow, Tr(def_.caption));
  dpi_ = WindowDpi(hwnd_);
  CreateControls();
  ApplyLayout(dpi_, nullptr);
  ApplyTexts();
  OnLoad();
}

void Form::CreateControls() {
  std::vector<const ControlDef*> ordered;
  for (const ControlDef& c : def_.controls) ordered.push_back(&c);
  // Creation order is z-order, which is the order Tab moves in.
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const ControlDef* a, const ControlDef* b) { return a->tabIndex < b->tabIndex; });
  for (const ControlDef* c : ordered) {
    const wchar_t* cls = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (c->kind) {
      case Kind::Button:
        style |= WS_TABSTOP | (c->id == def_.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
      case Kind::CheckBox:
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
      case Kind::Frame:
        style |= BS_GROUPBOX;
        break;
      case Kind::Label:
        cls = L"STATIC";
        style |= SS_LEFT | SS_NOPREFIX;
        break;
      case Kind::ListBox:
        cls = L"LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::DropDownList:
        cls = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
      case Kind::ListView:
        cls = WC_LISTVIEWW;
        style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::TextBox:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    HWND control = CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0,
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control) ThrowLastError(Action::CreateControl, c->name);
    controls_.emplace_back(c->id, control);
  }
}

void Form::ApplyLayout(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  GdiObject font = DialogFont(dpi);
  PlaceControls(dpi, static_cast<HFONT>(font.get()));
  font_ = std::move(font);  // the old font goes only once no control uses it
  PlaceWindow(dpi, suggested);
}

GdiObject Form::DialogFont(UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(kFontPoints, static_cast<int>(dpi), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  static_assert(std::size(kFontFace) <= LF_FACESIZE);
  std::wmemcpy(lf.lfFaceName, kFontFace, std::size(kFontFace));
  return GdiObject(CreateFontIndirectW(&lf));
}

void Form::PlaceControls(UINT dpi, HFONT font) {
  for (const ControlDef& c : def_.controls) {
    int left = c.twips.left, top = c.twips.top;
    if (c.container) {
      for (const ControlDef& frame : def_.controls) {
        if (frame.id == c.container) {
          left += frame.twips.left;
          top += frame.twips.top;
        }
      }
    }
    HWND control = Control(c.id);
    const int height = TwipsToPixels(c.twips.height, dpi);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // A drop-down list's window height includes the list that drops below its field.
    const int windowHeight = c.kind == Kind::DropDownList ? height + TwipsToPixels(2400, dpi) : height;
    SetWindowPos(control, nullptr, TwipsToPixels(left, dpi), TwipsToPixels(top, dpi),
                 TwipsToPixels(c.twips.width, dpi), windowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (c.kind == Kind::DropDownList) FitDropDownField(control, height);
  }
}

void Form::FitDropDownField(HWND control, int height) {
  // The field's height follows its item height plus borders whose size the system decides:
  // set it, measure, and correct by what is left over.
  LRESULT item = height - 6;
  for (int attempt = 0; attempt < 2; ++attempt) {
    SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    RECT field;
    GetWindowRect(control, &field);
    const int off = (field.bottom - field.top) - height;
    if (off == 0) break;
    item -= off;
  }
}

void Form::PlaceWindow(UINT dpi, const RECT* suggested) {
  const int clientWidth = TwipsToPixels(def_.clientWidth, dpi);
  const int clientHeight = TwipsToPixels(def_.clientHeight, dpi);
  const RECT frame = WindowRectFor(clientWidth, clientHeight, dpi, StyleOf(def_));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x, y;
  if (suggested) {
    x = suggested->left;
    y = suggested->top;
  } else {
    // Centred on the monitor's work area.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    x = work.left + (work.right - work.left - width) / 2;
    y = work.top + (work.bottom - work.top - height) / 2;
  }
  SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame's size may differ from the estimate (menus, themes): make the client area exact.
  RECT client;
  GetClientRect(hwnd_, &client);
  const int dx = clientWidth - client.right, dy = clientHeight - client.bottom;
  if (dx || dy)
    SetWindowPos(hwnd_, nullptr, 0, 0, width + dx, height + dy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

HWND Form::Control(int id) const {
  for (const auto& [controlId, hwnd] : controls_)
    if (controlId == id) return hwnd;
  return nullptr;
}

void Form::Show() {
  Load();
  ApplyTexts();
  OnActivate();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void Form::BeginModal() {
  Load();
  if (modal_) return;
  // No owner: like a modal form, it disables every other window of the program while it shows.
  disabledByModal_.clear();
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND w : windows) {
    if (w != hwnd_ && IsWindowVisible(w) && IsWindowEnabled(w)) {
      EnableWindow(w, FALSE);
      disabledByModal_.push_back(w);
    }
  }
  modal_ = true;
  Show();
}

void Form::EndModal() {
  Hide();
  modal_ = false;
}

void Form::ShowModal() {
  Load();
  if (modal_) return;
  BeginModal();
  MSG msg;
  while (hwnd_ && IsWindowVisible(hwnd_)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    Dispatch(msg);
  }
  RestoreDisabledWindows();
  modal_ = false;
}

void Form::RestoreDisabledWindows() {
  for (HWND w : disabledByModal_)
    if (IsWindow(w)) EnableWindow(w, TRUE);
  disabledByModal_.clear();
}

void Form::Hide() {
  if (!hwnd_) return;
  // Give the rest of the program its input back before this window goes, so activation
  // returns to the window underneath.
  if (modal_) RestoreDisabledWindows();
  ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload() {
  if (!hwnd_) return true;
  if (def_.hidesUntilTagged && TagNumber() == 0) {
    Hide();
    return false;
  }
  if (!OnQueryUnload()) return false;
  OnUnload();
  Discard();
  return true;
}

void Form::Discard() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  RestoreDisabledWindows();
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  controls_.clear();
  lastFocus_ = nullptr;
  DestroyWindow(hwnd);
}

std::wstring Form::Caption() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Form::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

std::wstring Form::ControlText(int id) const {
  HWND control = Control(id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Form::SetControlText(int id, const std::wstring& text) { SetWindowTextW(Control(id), text.c_str()); }

void Form::EnableControl(int id, bool enabled) {
  HWND control = Control(id);
  // Write the state only when it changes.
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled);
}

bool Form::ControlEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

double Form::TagNumber() const {
  // Read by hand: wcstod would bring the C library's whole floating-point parser into the exe.
  const wchar_t* p = Tag.c_str();
  while (*p == L' ' || *p == L'\t') ++p;
  double sign = 1.0;
  if (*p == L'+' || *p == L'-') sign = *p++ == L'-' ? -1.0 : 1.0;
  double value = 0.0, scale = 1.0;
  bool fraction = false;
  for (;; ++p) {
    if (*p >= L'0' && *p <= L'9') {
      const int digit = *p - L'0';
      if (fraction) {
        scale /= 10.0;
        value += digit * scale;
      } else {
        value = value * 10.0 + digit;
      }
    } else if (*p == L'.' && !fraction) {
      fraction = true;
    } else {
      break;
    }
  }
  return sign * value;
}

void Form::ApplyTexts() {
  if (!hwnd_) return;
  if (def_.caption != Text::None) SetCaption(Tr(def_.caption));
  for (const ControlDef& c : def_.controls) {
    if (c.text == Text::None) continue;
    if (c.paragraphs == 1) {
      SetControlText(c.id, Tr(c.text));
      continue;
    }
    std::wstring text;
    for (int p = 0; p < c.paragraphs; ++p)
      text += std::wstring(Tr(static_cast<Text>(static_cast<int>(c.text) + p))) +
              (p + 1 == c.paragraphs ? L"\r\n" : L"\r\n\r\n");
    SetControlText(c.id, text);
  }
  OnTexts();
}

void Form::OnCommand(int id, int notification) {
  // One command at a time: while one works on the lists, only the wait's window answers.
  if (Busy() && !def_.answersWhileBusy) return;
  for (const ControlDef& c : def_.controls) {
    if (c.id != id || !c.onClick) continue;
    const bool clicked = (c.kind == Kind::Button || c.kind == Kind::CheckBox) && notification == BN_CLICKED;
    const bool changed = c.kind == Kind::TextBox && notification == EN_CHANGE;
    if (clicked || changed) c.onClick(*this);
    return;
  }
}

void Form::ClickButton(int id) {
  HWND button = Control(id);
  if (button && IsWindowEnabled(button) && IsWindowVisible(button)) OnCommand(id, BN_CLICKED);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    reinterpret_cast<Form*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  // No exception may cross into the system's code.
  Guarded([&] { result = form->HandleMessage(message, wParam, lParam); });
  return result;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (lParam == 0 || id == IDOK || id == IDCANCEL) {
        // Enter and Esc, as the dialog manager reports them.
        if (id == IDOK) {
          HWND focus = GetFocus();
          const int focusId = focus ? GetDlgCtrlID(focus) : 0;
          if (focus && GetParent(focus) == hwnd_ &&
              (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
            ClickButton(focusId);
          else if (def_.defaultButton)
            ClickButton(def_.defaultButton);
        } else if (id == IDCANCEL && def_.cancelButton) {
          ClickButton(def_.cancelButton);
        }
        return 0;
      }
      OnCommand(id, code);
      return 0;
    }
    case DM_GETDEFID:
      return def_.defaultButton ? MAKELRESULT(def_.defaultButton, DC_HASDEFID) : 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else {
        HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : nullptr;
        if (!target) target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (target) SetFocus(target);
      }
      return 0;
    case WM_CLOSE:
      // Not in the middle of a command: the program would end between two writes.
      if (!Busy() || def_.answersWhileBusy) Unload();
      return 0;
    case WM_SETCURSOR:
      if (Busy()) {
        // The wait's window keeps an arrow to reach Cancel with.
        SetCursor(LoadCursorW(nullptr, def_.answersWhileBusy ? IDC_APPSTARTING : IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_ENDSESSION:
      if (wParam) Unload();
      return 0;
    case WM_DPICHANGED:
      ApplyLayout(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SIZE:
      if (def_.resizable && wParam != SIZE_MINIMIZED && !controls_.empty()) OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO:
      if (def_.resizable) {
        const RECT frame = WindowRectFor(TwipsToPixels(def_.clientWidth, dpi_), TwipsToPixels(def_.clientHeight, dpi_),
                                         dpi_, StyleOf(def_));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        return 0;
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam)) OnSystemMenu(reinterpret_cast<HMENU>(wParam));
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SYSCOMMAND: {
      const UINT command = static_cast<UINT>(wParam & 0xFFF0);
      // While a command works, the program's own commands are unavailable and the window menu
      // does not open: its modal loop would hold the waiting command until the menu is left.
      if (Busy() && (command < 0xF000 || command == SC_KEYMENU || command == SC_MOUSEMENU)) return 0;
      if (command < 0xF000 && OnSystemCommand(command)) return 0;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    case WM_NOTIFY: {
      bool handled = true;
      const LRESULT answer = OnNotify(*reinterpret_cast<const NMHDR*>(lParam), handled);
      return handled ? answer : DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

bool Busy() { return busyScopes > 0 || ListsLock::HeldByThisThread(); }

BusyScope::BusyScope(HWND window)
    : window_(window),
      focus_(GetFocus()),
      disabled_(window && EnableWindow(window, FALSE) == 0),
      cursor_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {
  ++busyScopes;
}

BusyScope::~BusyScope() {
  --busyScopes;
  if (disabled_) EnableWindow(window_, TRUE);
  SetCursor(cursor_);
  if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_)) SetFocus(focus_);
}

void BusyScope::KeepAnswering() {
  DoEvents();
  // Moving over the program's windows sets their own cursor again.
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

int RunMessageLoop() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) Dispatch(msg);
  return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

int MsgBox(const std::wstring& text, UINT flags) {
  HWND owner = ActiveProgramWindow();
  return MessageBoxW(owner, text.c_str(), Tr(Text::ProgramName), flags | (owner ? 0u : MB_TASKMODAL));
}

namespace {

// The wait's window: why the program waits, and Cancel. Its own size, so a text of three lines
// fits at every DPI.
namespace wid = ids::frmwait;
constexpr int kWaitWidth = 5400, kWaitHeight = 1470, kWaitMargin = 120, kWaitButtonWidth = 1695,
              kWaitButtonHeight = 375;
void CancelWait(Form& form);
constexpr ControlDef kWaitControls[] = {
    {.name = L"Label1", .id = wid::Label1, .kind = Kind::Label,
     .twips = {kWaitMargin, kWaitMargin, kWaitWidth - 2 * kWaitMargin, 735}, .tabIndex = 1},
    {.name = L"Command1", .id = wid::Command1, .kind = Kind::Button, .text = Text::Cancel,
     .twips = {kWaitWidth - kWaitMargin - kWaitButtonWidth, kWaitHeight - kWaitMargin - kWaitButtonHeight,
               kWaitButtonWidth, kWaitButtonHeight},
     .tabIndex = 0, .onClick = &CancelWait},
};
constexpr FormDef kWaitForm{.className = ids::kFrmWaitClass, .caption = Text::ProgramName, .clientWidth = kWaitWidth,
                            .clientHeight = kWaitHeight, .controls = kWaitControls, .defaultButton = wid::Command1,
                            .cancelButton = wid::Command1, .answersWhileBusy = true};

class FrmWait : public Form {
 public:
  FrmWait() : Form(kWaitForm) {}
  bool cancelled = false;

 protected:
  // Its close box cancels; the wait itself takes the window down.
  bool OnQueryUnload() override {
    cancelled = true;
    return false;
  }
};

void CancelWait(Form& form) { static_cast<FrmWait&>(form).cancelled = true; }

bool Signalled(DWORD result) { return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0; }

// Like DoEvents; false once the program is asked to end.
bool PumpWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    Dispatch(msg);
  }
  return true;
}

}  // namespace

WaitEnd WaitWithCancel(HANDLE object, const std::wstring& why, DWORD timeoutMs) {
  if (Signalled(WaitForSingleObject(object, 0))) return WaitEnd::Signalled;
  ++busyScopes;
  FrmWait window;
  window.SetOwner(ActiveProgramWindow());
  window.Load();
  window.SetControlText(wid::Label1, why);
  window.BeginModal();
  SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
  WaitEnd end = WaitEnd::TimedOut;
  const DWORD start = GetTickCount();  // wraps, but differences stay right
  for (;;) {
    if (window.cancelled) {
      end = WaitEnd::Cancelled;
      break;
    }
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) break;
    const DWORD result =
        MsgWaitForMultipleObjectsEx(1, &object, timeoutMs - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (Signalled(result)) {
      end = WaitEnd::Signalled;
      break;
    }
    if (result == WAIT_FAILED) break;
    if (result == WAIT_OBJECT_0 + 1 && !PumpWaiting()) {
      end = WaitEnd::Cancelled;
      break;
    }
  }
  window.EndModal();
  window.Discard();
  --busyScopes;
  return end;
}

bool TakeLists(ListsLock& lock) {
  bool cancelled = false;
  const ListsLock::Outcome outcome = lock.Take([&](HANDLE mutex) {
    const WaitEnd end = WaitWithCancel(mutex, Tr(Text::WaitingForOtherCopy), kListsLockWaitMs);
    cancelled = end == WaitEnd::Cancelled;
    return end == WaitEnd::Signalled;
  });
  if (outcome == ListsLock::Outcome::Taken) return true;
  if (outcome == ListsLock::Outcome::Refused || cancelled) return false;
  MsgBox(Tr(Text::OtherCopyBusy), MB_OK | MB_ICONWARNING);
  return false;
}

void ReportFatalAndExit(DWORD code, const std::wstring& description) {
  const std::wstring text = Tr(Text::Fatal, {DecimalTextW(code), description});
  MessageBoxW(nullptr, text.c_str(), Tr(Text::ProgramName), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(1);
}

}  // namespace forms
