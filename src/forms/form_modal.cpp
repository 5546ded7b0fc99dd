// The form runtime's modal showing and message loops, and the program's busy state.
#include "forms/form.h"

#include "forms/form_parts.h"

namespace forms {
namespace {

// A named callback, not a lambda: 32-bit Windows wants the stdcall convention here.
BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  try {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  } catch (...) {
    return FALSE;  // no exception may cross into the system's code
  }
  return TRUE;
}

}  // namespace

using parts::Dispatch;

int parts::busyScopes = 0;

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

bool parts::DispatchWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Left for the main loop, which ends the program.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    Dispatch(msg);
  }
  return true;
}

void DoEvents() { (void)parts::DispatchWaiting(); }

namespace {
int holding = 0;
}  // namespace

void Holding(bool held) { holding += held ? 1 : -1; }

bool Busy() { return parts::busyScopes > 0 || holding > 0; }

BusyScope::BusyScope(HWND window)
    : window_(window),
      focus_(GetFocus()),
      disabled_(window && EnableWindow(window, FALSE) == 0),
      cursor_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {
  ++parts::busyScopes;
}

BusyScope::~BusyScope() {
  --parts::busyScopes;
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

}  // namespace forms
