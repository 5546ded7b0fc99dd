// The form runtime's message boxes and waits: a wait for another copy of the program shows a
// small window with Cancel.
#include "forms/form.h"

#include "common/text.h"
#include "forms/form_parts.h"
#include "forms/ids.h"

namespace forms {
namespace {

HWND ActiveProgramWindow() {
  HWND active = GetActiveWindow();
  if (active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId()) return active;
  return nullptr;
}

}  // namespace

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

}  // namespace

WaitEnd WaitWithCancel(HANDLE object, const std::wstring& why, DWORD timeoutMs) {
  if (Signalled(WaitForSingleObject(object, 0))) return WaitEnd::Signalled;
  ++parts::busyScopes;
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
    if (result == WAIT_OBJECT_0 + 1 && !parts::DispatchWaiting()) {
      end = WaitEnd::Cancelled;
      break;
    }
  }
  window.EndModal();
  window.Discard();
  --parts::busyScopes;
  return end;
}

void ReportFatalAndExit(DWORD code, const std::wstring& description) {
  const std::wstring text = Tr(Text::Fatal, {DecimalTextW(code), description});
  MessageBoxW(nullptr, text.c_str(), Tr(Text::ProgramName), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(1);
}

}  // namespace forms
