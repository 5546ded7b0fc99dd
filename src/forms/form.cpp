// The form runtime's windows: a form's window and controls, showing, hiding and unloading it,
// and the texts its rows name.
#include "forms/form.h"

#include <commctrl.h>

#include <algorithm>

#include "common/error.h"
#include "forms/form_errors.h"
#include "forms/form_parts.h"

namespace forms {

using parts::kExStyle;
using parts::StyleOf;
using parts::WindowDpi;

Form::Form(const FormDef& def, std::span<const MenuCommandDef> menu) : def_(def), menu_(menu) {}

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ReleaseControls();
    DestroyWindow(hwnd_);
  }
}

void Form::Load() {
  if (hwnd_) return;
  static bool commonControlsReady = [] {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
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
  if (!hwnd_) ThrowLastError(WindowAction::CreateWindow, Tr(def_.caption));
  dpi_ = WindowDpi(hwnd_);
  CreateControls();
  AddMenu();
  ApplyLayout(dpi_, nullptr);
  ApplyTexts();
  OnLoad();
}

void Form::CreateControls() {
  // Creation order is z-order, which is the order Tab moves in; controls of equal tabIndex keep
  // the order of their rows. A form has a dozen controls: an insertion sort is all it needs.
  std::vector<const ControlDef*> ordered;
  for (const ControlDef& c : def_.controls) {
    size_t at = ordered.size();
    while (at > 0 && ordered[at - 1]->tabIndex > c.tabIndex) --at;
    ordered.insert(ordered.begin() + static_cast<std::ptrdiff_t>(at), &c);
  }
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
      case Kind::ProgressBar:
        cls = PROGRESS_CLASSW;
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
    if (!control) ThrowLastError(WindowAction::CreateControl, c->name);
    controls_.push_back({c, control, nullptr});
    if (c->onMessage) {
      // The control keeps its form where the control procedure finds it, and its row is known
      // before its first message arrives there.
      SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      controls_.back().ownProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::ControlProc)));
    }
  }
}

void Form::ReleaseControls() {
  for (const Created& c : controls_) {
    if (!c.ownProc) continue;
    SetWindowLongPtrW(c.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c.ownProc));
    SetWindowLongPtrW(c.hwnd, GWLP_USERDATA, 0);
  }
  controls_.clear();
}

HWND Form::Control(int id) const {
  for (const Created& c : controls_)
    if (c.row->id == id) return c.hwnd;
  return nullptr;
}

void Form::Show() {
  Load();
  ApplyTexts();
  // Sized again for the texts it shows now.
  if (def_.fitsTexts) ApplyLayout(dpi_, nullptr);
  OnActivate();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
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
  ReleaseControls();
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
  RefreshMenu();
  OnTexts();
}

}  // namespace forms
