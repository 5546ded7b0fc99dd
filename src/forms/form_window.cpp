// The form runtime's message routing: the window procedure and what each message does.
#include "forms/form.h"

#include "forms/form_parts.h"

// Sent by Windows 8.1 and later when the window moves to a monitor of another DPI; the headers
// declare it only for programs that need those versions.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace forms {
namespace {

// Tab, Enter and Esc for whichever of the program's windows the message is for.
bool TranslateForForm(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !GetWindowLongPtrW(root, GWLP_USERDATA)) return false;
  return IsDialogMessageW(root, &msg) != FALSE;
}

}  // namespace

void parts::Dispatch(MSG& msg) {
  if (TranslateForForm(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Form::AddMenu() {
  if (menu_.empty()) return;
  HMENU system = GetSystemMenu(hwnd_, FALSE);
  if (!system) return;
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  for (const MenuCommandDef& item : menu_) AppendMenuW(system, MF_STRING, item.id, Tr(item.text));
}

void Form::RefreshMenu() {
  if (!hwnd_ || menu_.empty()) return;
  HMENU system = GetSystemMenu(hwnd_, FALSE);
  if (!system) return;
  for (const MenuCommandDef& item : menu_) {
    ModifyMenuW(system, item.id, MF_BYCOMMAND | MF_STRING, item.id, Tr(item.text));
    const bool available = !item.available || item.available();
    EnableMenuItem(system, item.id, MF_BYCOMMAND | (available ? MF_ENABLED : MF_GRAYED));
  }
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

Form* Form::Of(HWND window) {
  if (GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Form::WindowProc)) return nullptr;
  return reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

namespace {

// A named callback, not a lambda: 32-bit Windows wants the stdcall convention here.
BOOL CALLBACK RefreshMenuOf(HWND window, LPARAM) {
  if (Form* form = Form::Of(window)) form->RefreshMenu();
  return TRUE;
}

}  // namespace

void RefreshMenus() { EnumThreadWindows(GetCurrentThreadId(), &RefreshMenuOf, 0); }

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

LRESULT CALLBACK Form::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  const Created* created = nullptr;
  if (form)
    for (const Created& c : form->controls_)
      if (c.hwnd == control) created = &c;
  // Subclassed controls are released before their form lets them go.
  if (!created) return DefWindowProcW(control, message, wParam, lParam);
  const WNDPROC ownProc = created->ownProc;
  bool taken = false;
  Guarded([&] { taken = created->row->onMessage(*form, message, wParam, lParam); });
  return taken ? 0 : CallWindowProcW(ownProc, control, message, wParam, lParam);
}

void Form::PressDialogKey(int id) {
  if (id == IDOK) {
    // Enter presses the focused button, or else the default one.
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
}

bool Form::RunMenuCommand(UINT command) {
  for (const MenuCommandDef& item : menu_) {
    if (item.id != command) continue;
    item.run(*this);
    RefreshMenu();
    return true;
  }
  return false;
}

void Form::KeepFocus(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : nullptr;
  if (!target) target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target) SetFocus(target);
}

LRESULT Form::MinimumSize(MINMAXINFO& info) const {
  const RECT frame = parts::WindowRectFor(TwipsToPixels(def_.clientWidth, dpi_), TwipsToPixels(def_.clientHeight, dpi_),
                                          dpi_, parts::StyleOf(def_));
  info.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
  return 0;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (lParam == 0 || id == IDOK || id == IDCANCEL)
        PressDialogKey(id);
      else
        OnCommand(id, HIWORD(wParam));
      return 0;
    }
    case DM_GETDEFID:
      return def_.defaultButton ? MAKELRESULT(def_.defaultButton, DC_HASDEFID) : 0;
    case WM_ACTIVATE:
      KeepFocus(LOWORD(wParam) != WA_INACTIVE);
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
      break;
    case WM_ENDSESSION:
      if (wParam) Unload();
      return 0;
    case WM_DPICHANGED:
      ApplyLayout(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SIZE:
      if (def_.resizable && wParam != SIZE_MINIMIZED && !controls_.empty()) {
        FollowClientSize(LOWORD(lParam), HIWORD(lParam));
        OnSize(LOWORD(lParam), HIWORD(lParam));
      }
      return 0;
    case WM_GETMINMAXINFO:
      if (def_.resizable) return MinimumSize(*reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam)) RefreshMenu();
      break;
    case WM_SYSCOMMAND: {
      const UINT command = static_cast<UINT>(wParam & 0xFFF0);
      // While a command works, the program's own commands are unavailable and the window menu
      // does not open: its modal loop would hold the waiting command until the menu is left.
      if (Busy() && (command < 0xF000 || command == SC_KEYMENU || command == SC_MOUSEMENU)) return 0;
      if (command < 0xF000 && RunMenuCommand(command)) return 0;
      break;
    }
    case WM_NOTIFY: {
      bool handled = true;
      const LRESULT answer = OnNotify(*reinterpret_cast<const NMHDR*>(lParam), handled);
      if (handled) return answer;
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace forms
