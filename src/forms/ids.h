#pragma once
// Window classes and control ids of the program's windows. The end-to-end tests find the windows and
// their controls by these.
#include "forms/form_ids.h"

namespace ids {

inline constexpr wchar_t kForm1Class[] = L"Brushwick.Form1";
inline constexpr wchar_t kFrmLangClass[] = L"Brushwick.frmLang";
inline constexpr wchar_t kFrmExportClass[] = L"Brushwick.frmExport";
inline constexpr wchar_t kFrmImportClass[] = L"Brushwick.frmImport";
inline constexpr wchar_t kFrmClearClass[] = L"Brushwick.frmClear";
inline constexpr wchar_t kFrmReviewClass[] = L"Brushwick.frmReview";
inline constexpr const wchar_t* kFrmWaitClass = forms::waitwindow::kClass;
inline constexpr const wchar_t* kFrmProgressClass = forms::progresswindow::kClass;
inline constexpr wchar_t kFrmIdeClass[] = L"Brushwick.frmIde";

namespace form1 {
enum : int { Command1 = 1001, Command3 = 1003, Command4 = 1004, Command5 = 1005, Frame1 = 1011, Label1 = 1021 };
}
// The main window's own commands in its window menu (WM_SYSCOMMAND ids: below 0xF000, low four
// bits 0).
namespace form1menu {
enum : unsigned { Review = 0x0110, Undo = 0x0120, Clear = 0x0130 };
}
namespace frmlang {
enum : int { List1 = 2001, Command1 = 2002 };
}
namespace frmexport {
enum : int { Text1 = 3001, Frame1 = 3011, Frame2 = 3012, Check1 = 3021, Check2 = 3022, Command1 = 3031, Command2 = 3032 };
}
namespace frmimport {
enum : int { Combo1 = 4001, Frame1 = 4011, Command1 = 4031, Command2 = 4032 };
}
namespace frmclear {
enum : int { Combo1 = 5001, Frame1 = 5011, Command1 = 5031, Command2 = 5032 };
}
namespace frmreview {
enum : int { ListView1 = 6001, Command1 = 6031, Command2 = 6032 };
}
// The window of a wait (another copy holds the lists): why it waits, and Cancel.
namespace frmwait = forms::waitwindow;
// The progress of long work: what is done, the bar, the count.
namespace frmprogress = forms::progresswindow;
// The question asked while a Visual Basic IDE runs: Wait, Go on now, Cancel.
namespace frmide {
enum : int { Label1 = 8021, Command1 = 8031, Command2 = 8032, Command3 = 8033 };
}

}  // namespace ids
