#pragma once
// Window classes and control ids of the four windows. The end-to-end tests find the windows and
// their controls by these.

namespace ids {

inline constexpr wchar_t kForm1Class[] = L"Brushwick.Form1";
inline constexpr wchar_t kFrmLangClass[] = L"Brushwick.frmLang";
inline constexpr wchar_t kFrmExportClass[] = L"Brushwick.frmExport";
inline constexpr wchar_t kFrmImportClass[] = L"Brushwick.frmImport";

namespace form1 {
enum : int { Command1 = 1001, Command3 = 1003, Command4 = 1004, Command5 = 1005, Frame1 = 1011, Label1 = 1021 };
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

}  // namespace ids
