// The form runtime's message boxes and waits: a wait for another copy of the program shows a
// small window with Cancel.
#include "forms/form.h"

#include <exception>
#include <new>
#include <string>

#include "common/text.h"
#include "forms/form_ids.h"
#include "forms/form_parts.h"

namespace forms {
namespace {

HWND ActiveProgramWindow() {
  HWND active = GetActiveWindow();
  if (active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId()) return active;
  return nullptr;
}

// A message no taller than the screen, whatever a language file made of it: runs of empty lines
// shrink to one, and a text that would still need more height than the monitor's work area leaves
// a message box is cut short, ending in "...". The width is the narrowest a box wraps at.
std::wstring FitToScreen(const std::wstring& text, HWND owner) {
  std::wstring fitted;
  fitted.reserve(text.size());
  int breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, L"\r\n") == 0) {
      if (++breaks <= 2) fitted += L"\r\n";
      ++i;
      continue;
    }
    breaks = 0;
    fitted += text[i];
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return fitted;
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  // Room for the caption, the icon's margins and the buttons.
  const int room = (work.bottom - work.top) - MulDiv(160, dpi, 96);
  const int width = (work.right - work.left) / 2;
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HGDIOBJ old = SelectObject(dc, font);
  auto height = [&](const std::wstring& candidate) {
    RECT r{0, 0, width, 0};
    DrawTextW(dc, candidate.c_str(), static_cast<int>(candidate.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL);
    return static_cast<int>(r.bottom - r.top);
  };
  if (height(fitted) > room) {
    // The longest beginning that fits with its "...".
    std::size_t low = 0, high = fitted.size();
    while (low < high) {
      const std::size_t middle = (low + high + 1) / 2;
      if (height(fitted.substr(0, middle) + L"...") <= room)
        low = middle;
      else
        high = middle - 1;
    }
    fitted = fitted.substr(0, low) + L"...";
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return fitted;
}

}  // namespace

int MsgBox(const std::wstring& text, UINT flags) {
  HWND owner = ActiveProgramWindow();
  return MessageBoxW(owner, FitToScreen(text, owner).c_str(), Tr(Text::ProgramName),
                     flags | (owner ? 0u : MB_TASKMODAL));
}

namespace {

// The wait's window: why the program waits, and Cancel. Its own size, so a text of three lines
// fits at every DPI.
namespace wid = waitwindow;
constexpr int kWaitWidth = 5400, kWaitHeight = 1470, kWaitMargin = 120, kWaitButtonWidth = 1695,
              kWaitButtonHeight = 375;
class FrmWait : public Form {
 public:
  FrmWait();
  bool cancelled = false;
  void Cancel() { cancelled = true; }

 protected:
  // Its close box cancels; the wait itself takes the window down.
  bool OnQueryUnload() override {
    cancelled = true;
    return false;
  }
};
constexpr ControlDef kWaitControls[] = {
    {.name = L"Label1", .id = wid::Label1, .kind = Kind::Label,
     .twips = {kWaitMargin, kWaitMargin, kWaitWidth - 2 * kWaitMargin, 735}, .tabIndex = 1},
    {.name = L"Command1", .id = wid::Command1, .kind = Kind::Button, .text = Text::Cancel,
     .twips = {kWaitWidth - kWaitMargin - kWaitButtonWidth, kWaitHeight - kWaitMargin - kWaitButtonHeight,
               kWaitButtonWidth, kWaitButtonHeight},
     .tabIndex = 0, .onClick = Bind<&FrmWait::Cancel>},
};
constexpr FormDef kWaitForm{.className = waitwindow::kClass, .caption = Text::ProgramName, .clientWidth = kWaitWidth,
                            .clientHeight = kWaitHeight, .controls = kWaitControls, .defaultButton = wid::Command1,
                            .cancelButton = wid::Command1, .answersWhileBusy = true, .fitsTexts = true};

FrmWait::FrmWait() : Form(kWaitForm) {}

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

namespace {
FailureWording failureWording = nullptr;
}  // namespace

void SetFailureWording(FailureWording wording) { failureWording = wording; }

void ReportCaughtAndExit() {
  try {
    throw;
  } catch (const AppError& e) {
    ReportFatalAndExit(e.code, failureWording ? failureWording(e) : AnsiToWide(e.what()));
  } catch (const std::bad_alloc&) {
    ReportFatalAndExit(ERROR_NOT_ENOUGH_MEMORY, Tr(Text::FatalOutOfMemory));
  } catch (const std::exception& e) {
    std::wstring what;
    for (const char* p = e.what(); *p; ++p) what += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    ReportFatalAndExit(ERROR_INTERNAL_ERROR, what);
  } catch (...) {
    ReportFatalAndExit(ERROR_INTERNAL_ERROR, Tr(Text::FatalUnknown));
  }
}

void ReportFatalAndExit(DWORD code, const std::wstring& description) {
  const std::wstring text = Tr(Text::Fatal, {DecimalTextW(code), description});
  MessageBoxW(nullptr, text.c_str(), Tr(Text::ProgramName), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(1);
}

}  // namespace forms
