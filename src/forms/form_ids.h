#pragma once
// The window class and control ids of the form runtime's own window, the wait for another copy
// (WaitWithCancel). The program's list of ids (forms/ids.h) names them for the end-to-end tests.

namespace forms::waitwindow {

inline constexpr wchar_t kClass[] = L"Brushwick.frmWait";
enum : int { Label1 = 7021, Command1 = 7031 };

}  // namespace forms::waitwindow
