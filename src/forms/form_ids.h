#pragma once
// The window classes and control ids of the form runtime's own windows: the wait for another copy
// (WaitWithCancel) and the progress of long work (ProgressShown). The program's list of ids
// (forms/ids.h) names them for the end-to-end tests.

namespace forms::waitwindow {

inline constexpr wchar_t kClass[] = L"Brushwick.frmWait";
enum : int { Label1 = 7021, Command1 = 7031 };

}  // namespace forms::waitwindow

namespace forms::progresswindow {

inline constexpr wchar_t kClass[] = L"Brushwick.frmProgress";
enum : int { Label1 = 7121, Label2 = 7122, ProgressBar1 = 7141 };

}  // namespace forms::progresswindow
