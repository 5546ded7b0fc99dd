#pragma once
// What the form runtime's own files share: not for the windows.
#include <windows.h>

#include "forms/form.h"

namespace forms::parts {

inline constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
// The window's style: resizable windows get a sizing frame.
DWORD StyleOf(const FormDef& def);
// The window's DPI, or the screen's where the system cannot say.
UINT WindowDpi(HWND hwnd);
// The window size that gives this client size at this DPI.
RECT WindowRectFor(int clientWidth, int clientHeight, UINT dpi, DWORD style);

// Hands one message on, with Tab, Enter and Esc for whichever form it is for.
void Dispatch(MSG& msg);
// Hands on every message waiting in the queue (DoEvents); false once the program is asked to
// end, the quit message put back for the main loop.
bool DispatchWaiting();
// Waits and BusyScopes running now (the window thread's alone).
extern int busyScopes;

}  // namespace forms::parts
