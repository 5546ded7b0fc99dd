// The export and import windows of the real program, driven from outside: their layout, the name
// box and its OK button, list files written byte for byte, names that cannot be files, the lists
// offered for import, the round trip back into the registry, and damaged or vanished files.
#include <windows.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/listslock.h"
#include "driver/app_test.h"
#include "forms/ids.h"

namespace {

using namespace ui;
namespace f1 = ids::form1;
namespace ex = ids::frmexport;
namespace im = ids::frmimport;

const std::wstring kTitle = L"Brushwick";
const std::wstring kExportFailed = L"Nie udało się zapisać listy.";
const std::wstring kNothingImported = L"Nie zaimportowano listy; rejestr pozostał bez zmian.";

std::map<std::string, RegValue> ExpectedValues(const std::vector<std::string>& texts) {
  std::map<std::string, RegValue> values;
  for (size_t i = 0; i < texts.size(); ++i) values[std::to_string(i + 1)] = {REG_SZ, texts[i] + '\0'};
  return values;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

// Everything the folder holds (files and folders), so a refused export can be seen to leave
// nothing behind, not even a temporary file.
std::set<std::wstring> FolderEntries(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.insert(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

// Posted keys are handled a little later than the call that posts them returns.
template <typename Condition>
bool Eventually(Condition condition) {
  for (int i = 0; i < 200; ++i) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}


struct Placed {
  int id;
  int inside;  // the frame's id, or 0
  const wchar_t* caption;
  int left, top, width, height;  // twips, relative to `inside`
};

class ExportImportTest : public AppTest {
 protected:
  // Starts with the built-in language chosen, so the main window opens directly.
  void OpenMain() {
    folder().WriteOptions("#\r\n");
    Launch();
    main_ = WaitForWindow(app(), ids::kForm1Class, &kTitle, Visibility::Visible);
    ASSERT_NE(main_, nullptr) << "no visible main window";
  }

  HWND Show(int button, const wchar_t* window_class) {
    Click(Control(main_, button));
    HWND window = WaitForWindow(app(), window_class, nullptr, Visibility::Visible);
    EXPECT_NE(window, nullptr) << "the window did not show";
    return window;
  }
  HWND ShowExport() { return Show(f1::Command5, ids::kFrmExportClass); }
  HWND ShowImport() { return Show(f1::Command4, ids::kFrmImportClass); }

  // The box that must show now: captioned with the program's title, one OK button. Closed.
  // `shot` names a screenshot of the box, taken before it is closed.
  MessageBoxInfo TakeBox(BoxIcon icon, const std::wstring& shot = {}) {
    auto box = WaitForMessageBox(app());
    if (!box) {
      ADD_FAILURE() << "no message box";
      return {};
    }
    EXPECT_EQ(box->caption, kTitle);
    EXPECT_EQ(box->icon, icon) << IconName(box->icon);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    if (!shot.empty()) Shoot(box->window, shot);
    EXPECT_TRUE(CloseMessageBox(box->window));
    return *box;
  }

  // Hidden, not destroyed: the window lives for the whole run.
  static void ExpectHidden(HWND window) {
    EXPECT_TRUE(WaitForWindowGone(window, Millis(5000), true)) << "the window is still shown";
    EXPECT_TRUE(IsWindow(window)) << "the window was destroyed instead of hidden";
  }

  // Nothing at all follows within a short while: no box, no hiding.
  void ExpectNothingHappens(HWND window) {
    EXPECT_TRUE(Sync(window));
    EXPECT_FALSE(MessageBoxAppears(app(), Millis(400))) << "a message box showed";
    EXPECT_TRUE(Visible(window)) << "the window went away";
  }

  // Checks or unchecks as a click does; sent, so it has happened on return.
  static void SetCheck(HWND check_box, bool checked) {
    if ((CheckState(check_box) == BST_CHECKED) != checked) Send(check_box, BM_CLICK);
    EXPECT_EQ(CheckState(check_box), checked ? BST_CHECKED : BST_UNCHECKED);
  }

  void ExportAs(HWND window, const std::wstring& name, bool with50, bool with60) {
    SetCheck(Control(window, ex::Check1), with50);
    SetCheck(Control(window, ex::Check2), with60);
    SetText(Control(window, ex::Text1), name);
    Click(Control(window, ex::Command1));
  }

  void ImportItem(HWND window, int index) {
    SelectItem(Control(window, im::Combo1), index);
    Click(Control(window, im::Command1));
  }

  std::wstring Rec(const std::wstring& name) { return folder() / (name + L".rec"); }

  void CheckLayout(HWND window, int width, int height, const std::wstring& caption,
                   const std::vector<Placed>& controls, int first_field) {
    const int dpi = DpiOf(window);
    EXPECT_EQ(Text(window), caption);
    const SIZE client = ClientSize(window);
    EXPECT_EQ(client.cx, TwipsToPixels(width, dpi));
    EXPECT_EQ(client.cy, TwipsToPixels(height, dpi));
    const LONG style = Style(window);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed size, no min/max";
    EXPECT_TRUE(style & WS_SYSMENU) << "the title bar carries the close box";
    RECT outer{};
    GetWindowRect(window, &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_NEAR((outer.left + outer.right) / 2.0, (monitor.rcWork.left + monitor.rcWork.right) / 2.0, 1.5);
    EXPECT_NEAR((outer.top + outer.bottom) / 2.0, (monitor.rcWork.top + monitor.rcWork.bottom) / 2.0, 1.5);

    std::vector<int> z_order;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (Visible(child)) z_order.push_back(GetDlgCtrlID(child));
    std::vector<int> tab_order;
    for (const auto& c : controls) {
      SCOPED_TRACE("control " + std::to_string(c.id));
      tab_order.push_back(c.id);
      HWND control = Control(window, c.id);
      ASSERT_NE(control, nullptr);
      EXPECT_TRUE(Visible(control));
      if (c.caption) {
        EXPECT_EQ(Text(control), c.caption);
      }
      const RECT actual = RectIn(control, c.inside ? Control(window, c.inside) : window);
      const RECT expected = TwipsRect(c.left, c.top, c.width, c.height, dpi);
      EXPECT_TRUE(SameRect(actual, expected));
      if (!c.caption || !*c.caption) continue;
      const LONG type = Style(control) & BS_TYPEMASK;
      // A check box's text starts beside its box; a frame's caption between its corners.
      const int margin = type == BS_GROUPBOX ? 8 : 3;
      const int box = type == BS_AUTOCHECKBOX ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0;
      const TextFit fit = MeasureCaption(control, margin);
      EXPECT_LE(fit.needed.cx + box, fit.available.cx) << "the caption is clipped";
    }
    EXPECT_EQ(z_order, tab_order) << "creation order is the tab order";
    EXPECT_EQ(FocusOf(window), Control(window, first_field)) << "the first field has the focus";
  }

  HWND main_ = nullptr;
};

TEST_F(ExportImportTest, BothWindowsAreLaidOutAsDesigned) {
  OpenMain();
  HWND exp = ShowExport();
  ASSERT_NE(exp, nullptr);
  CheckLayout(exp, 4680, 2310, L"Eksportuj listę",
              {{ex::Frame1, 0, L"Podaj nazwę listy", 120, 120, 4455, 735},
               {ex::Text1, ex::Frame1, L"", 120, 240, 4215, 285},
               {ex::Frame2, 0, L"Eksport dotyczy VB w wesji", 120, 960, 4455, 615},
               {ex::Check1, ex::Frame2, L"Visual Basic 5.0", 240, 240, 1575, 255},
               {ex::Check2, ex::Frame2, L"Visual Basic 6.0", 2400, 240, 1815, 255},
               {ex::Command1, 0, L"OK", 120, 1800, 1575, 375},
               {ex::Command2, 0, L"Anuluj", 3000, 1800, 1575, 375}},
              ex::Text1);
  if (DpiOf(exp) == 96) {
    EXPECT_EQ(ClientSize(exp).cx, 312);
    EXPECT_EQ(ClientSize(exp).cy, 154);
    EXPECT_TRUE(SameRect(RectIn(Control(exp, ex::Check2), exp), RECT{168, 80, 289, 97}));
  }
  EXPECT_EQ(Style(Control(exp, ex::Command1)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(Style(Control(exp, ex::Command2)) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(ClassOf(Control(exp, ex::Frame1)), L"Button");
  Shoot(exp, L"export");
  PressKey(Control(exp, ex::Text1), VK_ESCAPE);
  ExpectHidden(exp);

  WriteFileBytes(Rec(L"lista"), Lines({" 0 ", " 0 "}));
  HWND imp = ShowImport();
  ASSERT_NE(imp, nullptr);
  CheckLayout(imp, 4920, 1560, L"Importuj listę",
              {{im::Frame1, 0, L"Wybierz listę", 120, 120, 4695, 735},
               {im::Combo1, im::Frame1, nullptr, 120, 240, 4455, 315},
               {im::Command1, 0, L"Importuj", 120, 1080, 1695, 375},
               {im::Command2, 0, L"Anuluj", 3120, 1080, 1695, 375}},
              im::Combo1);
  if (DpiOf(imp) == 96) {
    EXPECT_EQ(ClientSize(imp).cx, 328);
    EXPECT_EQ(ClientSize(imp).cy, 104);
    const RECT combo = RectIn(Control(imp, im::Combo1), imp);
    EXPECT_TRUE(combo.left == 16 && combo.top == 24 && combo.right == 313) << combo.left << "," << combo.top;
  }
  EXPECT_EQ(Style(Control(imp, im::Command1)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(Style(Control(imp, im::Command2)) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(Style(Control(imp, im::Combo1)) & 3, CBS_DROPDOWNLIST) << "the user cannot type a name";
  Shoot(imp, L"import");
  Click(Control(imp, im::Command2));
  ExpectHidden(imp);
}

TEST_F(ExportImportTest, ExportOkFollowsTheNameBoxAndEveryWayOutKeepsTheChoices) {
  OpenMain();
  HWND exp = ShowExport();
  ASSERT_NE(exp, nullptr);
  HWND name = Control(exp, ex::Text1), ok = Control(exp, ex::Command1);
  EXPECT_EQ(Text(name), L"");
  EXPECT_FALSE(Enabled(ok));
  PressKey(name, VK_RETURN);
  ExpectNothingHappens(exp);
  // Keys typed into the box, then the same through the box's text.
  PressKey(name, 'A', L'a');
  EXPECT_TRUE(Eventually([&] { return Text(name) == L"a"; })) << Utf8(Text(name));
  EXPECT_TRUE(Enabled(ok)) << "one character enables OK";
  PressKey(name, VK_BACK, L'\b');
  EXPECT_TRUE(Eventually([&] { return Text(name).empty(); })) << Utf8(Text(name));
  EXPECT_FALSE(Enabled(ok)) << "deleting the last character disables OK";
  SetText(name, L"x");
  EXPECT_TRUE(Enabled(ok));
  SetText(name, L"");
  EXPECT_FALSE(Enabled(ok));
  SetText(name, L" ");
  EXPECT_TRUE(Enabled(ok)) << "a blank is a character like any other";

  // Esc, Anuluj and the close box each hide the window without writing; the name box starts
  // empty at the next showing, the check boxes stay as they were left.
  const std::set<std::wstring> before = FolderEntries(folder().path());
  enum class Out { Esc, Cancel, CloseBox };
  struct Way {
    Out out;
    const char* what;
    bool check50, check60;
  };
  const Way ways[] = {{Out::Esc, "Esc", true, false},
                      {Out::Cancel, "Anuluj", false, true},
                      {Out::CloseBox, "close box", true, true}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    SetCheck(Control(exp, ex::Check1), way.check50);
    SetCheck(Control(exp, ex::Check2), way.check60);
    SetText(name, L"niezapisana");
    ASSERT_TRUE(Enabled(ok));
    switch (way.out) {
      case Out::Esc: PressKey(name, VK_ESCAPE); break;
      case Out::Cancel: Click(Control(exp, ex::Command2)); break;
      case Out::CloseBox: PostMessageW(exp, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    ExpectHidden(exp);
    EXPECT_FALSE(MessageBoxAppears(app(), Millis(200)));
    EXPECT_EQ(FolderEntries(folder().path()), before) << "something was written";
    ASSERT_EQ(ShowExport(), exp) << "the same window shows again";
    EXPECT_EQ(Text(name), L"");
    EXPECT_FALSE(Enabled(ok));
    EXPECT_EQ(CheckState(Control(exp, ex::Check1)), way.check50 ? BST_CHECKED : BST_UNCHECKED);
    EXPECT_EQ(CheckState(Control(exp, ex::Check2)), way.check60 ? BST_CHECKED : BST_UNCHECKED);
  }

  // Enter presses OK once there is a name.
  SetText(name, L"enter");
  PressKey(name, VK_RETURN);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  EXPECT_EQ(ReadBytes(Rec(L"enter")), Lines({" 1 ", " 1 ", "[]", "[]"}));
}

TEST_F(ExportImportTest, ExportWritesTheChosenListsExactly) {
  SeedList("5.0", {"C:\\vb5\\nie.vbp"});
  SeedList("6.0", {"C:\\Projekty\\\xB3\xF3" "d\xBC.vbp", "", "D:\\b c\\d.vbg", "[]"});
  OpenMain();

  HWND exp = ShowExport();
  ASSERT_NE(exp, nullptr);
  ExportAs(exp, L"tylko szóstka", false, true);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  EXPECT_EQ(ReadBytes(Rec(L"tylko szóstka")),
            std::string(" 0 \r\n 1 \r\n[]\r\n") + "C:\\Projekty\\\xB3\xF3" "d\xBC.vbp\r\n\r\nD:\\b c\\d.vbg\r\n[]\r\n");

  // Neither version: the two flag lines only, still confirmed; a former file is replaced whole.
  WriteFileBytes(Rec(L"pusta"), std::string(5000, 'z'));
  ASSERT_EQ(ShowExport(), exp);
  ExportAs(exp, L"pusta", false, false);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  EXPECT_EQ(ReadBytes(Rec(L"pusta")), " 0 \r\n 0 \r\n");

  // A backslash names a file in an existing subfolder.
  MakeFolders(folder() / L"kopie");
  ASSERT_EQ(ShowExport(), exp);
  ExportAs(exp, L"kopie\\piąta", true, false);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  EXPECT_EQ(ReadBytes(folder() / L"kopie\\piąta.rec"), Lines({" 1 ", " 0 ", "[]", "C:\\vb5\\nie.vbp"}));

  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{"C:\\vb5\\nie.vbp"}) << "export only reads";
  EXPECT_EQ(ReadList("6.0").size(), 4u);

  // While another copy works on the lists the export waits, then saves them as that copy left
  // them, never half changed.
  {
    ListsLock other;
    ASSERT_TRUE(other.Acquire(0));
    ASSERT_EQ(ShowExport(), exp);
    ExportAs(exp, L"po innej kopii", true, false);
    EXPECT_FALSE(MessageBoxAppears(app(), Millis(1000))) << "the export did not wait for the other copy";
    SeedList("5.0", {"C:\\vb5\\zmieniona.vbp"});
  }
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  EXPECT_EQ(ReadBytes(Rec(L"po innej kopii")), Lines({" 1 ", " 0 ", "[]", "C:\\vb5\\zmieniona.vbp"}));
}

TEST_F(ExportImportTest, ExportRefusesNamesThatCannotBeFilesAndStaysOpen) {
  OpenMain();
  MakeFolders(Rec(L"teczka"));  // a folder where the file would go
  WriteFileBytes(Rec(L"chroniona"), "stara\r\n");
  SetFileAttributesW(Rec(L"chroniona").c_str(), FILE_ATTRIBUTE_READONLY);
  const std::set<std::wstring> before = FolderEntries(folder().path());

  HWND exp = ShowExport();
  ASSERT_NE(exp, nullptr);
  HWND name = Control(exp, ex::Text1);
  struct Bad {
    const wchar_t* name;
    const wchar_t* reason;  // what the message must show besides the file, or null
  };
  // The program speaks Polish here, its reasons included.
  const wchar_t* const device = L"ta nazwa oznacza urządzenie";
  const wchar_t* const character = L"nazwa pliku nie może zawierać ";
  const std::wstring lt = character + std::wstring(L"'<'"), qm = character + std::wstring(L"'?'"),
                     colon = character + std::wstring(L"':'");
  const Bad bad[] = {{L"CON", device},      {L"nul.rec", device},  {L"lpt1", device},
                     {L"Com9.txt", device}, {L"aux ", device},     {L"a<b", lt.c_str()},
                     {L"co?", qm.c_str()},  {L"x:y", colon.c_str()}, {L"brak\\lista", nullptr},
                     {L"teczka", nullptr},  {L"chroniona", nullptr},
                     {L"..\\poza", L"nazwa prowadzi poza folder programu"}};
  for (const Bad& b : bad) {
    SCOPED_TRACE(Utf8(b.name));
    ExportAs(exp, b.name, true, false);
    const MessageBoxInfo box = TakeBox(BoxIcon::Warning);
    EXPECT_NE(box.text, L"OK");
    EXPECT_EQ(box.text.rfind(kExportFailed, 0), 0u) << Utf8(box.text);
    EXPECT_NE(box.text.find(Rec(b.name)), std::wstring::npos) << "the file is named: " << Utf8(box.text);
    if (b.reason) {
      EXPECT_NE(box.text.find(b.reason), std::wstring::npos) << Utf8(box.text);
    }
    ExpectNothingHappens(exp);
    EXPECT_TRUE(ListsFree()) << "the failed export kept the lists from other copies";
    EXPECT_EQ(Text(name), b.name) << "the name stays for correcting";
    EXPECT_EQ(FolderEntries(folder().path()), before) << "something was written";
  }
  EXPECT_EQ(ReadBytes(Rec(L"chroniona")), "stara\r\n");
  EXPECT_FALSE(FileExists(folder() / L"brak"));

  // Corrected, the name goes through.
  ExportAs(exp, L"poprawiona", true, false);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  EXPECT_EQ(ReadBytes(Rec(L"poprawiona")), Lines({" 1 ", " 0 ", "[]"}));
  SetFileAttributesW(Rec(L"chroniona").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ExportImportTest, ImportOffersTheFolderListsAsTheyAreAtEachShowing) {
  OpenMain();
  SeedList("5.0", {"C:\\a.vbp"});
  HWND imp = ShowImport();
  ASSERT_NE(imp, nullptr);
  HWND combo = Control(imp, im::Combo1), import = Control(imp, im::Command1);
  EXPECT_TRUE(ItemTexts(combo).empty());
  EXPECT_EQ(SelectedIndex(combo), CB_ERR);
  EXPECT_FALSE(Enabled(import));
  PressKey(combo, VK_RETURN);
  ExpectNothingHappens(imp);
  PressKey(combo, VK_ESCAPE);
  ExpectHidden(imp);

  const std::string list = Lines({" 1 ", " 0 ", "[]", "C:\\z.vbp"});
  WriteFileBytes(Rec(L"moja lista"), list);
  WriteFileBytes(folder() / L"ABC.REC", list);
  WriteFileBytes(Rec(L"zeta-beta"), list);
  WriteFileBytes(Rec(L"łódź"), list);
  WriteFileBytes(Rec(L"ukryta"), list);
  SetFileAttributesW(Rec(L"ukryta").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteFileBytes(folder() / L"notatka.txt", list);
  MakeFolders(Rec(L"teczka"));
  MakeFolders(folder() / L"kopie");
  WriteFileBytes(folder() / L"kopie\\głęboka.rec", list);

  ASSERT_EQ(ShowImport(), imp);
  EXPECT_EQ(ItemTexts(combo), (std::vector<std::wstring>{L"Abc", L"Łódź", L"Moja Lista", L"Zeta-beta"}));
  EXPECT_EQ(SelectedIndex(combo), 0);
  EXPECT_TRUE(Enabled(import));
  // The close box leaves without touching the registry.
  PostMessageW(imp, WM_SYSCOMMAND, SC_CLOSE, 0);
  ExpectHidden(imp);
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(200)));
  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{"C:\\a.vbp"});

  // A list exported and a file removed in the meantime show at the next showing.
  HWND exp = ShowExport();
  ASSERT_NE(exp, nullptr);
  ExportAs(exp, L"nowa lista", true, false);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  DeleteFileW(Rec(L"zeta-beta").c_str());
  ASSERT_EQ(ShowImport(), imp);
  EXPECT_EQ(ItemTexts(combo), (std::vector<std::wstring>{L"Abc", L"Łódź", L"Moja Lista", L"Nowa Lista"}));
  EXPECT_EQ(SelectedIndex(combo), 0);

  // The capitalised name reads the file written in lower case.
  ImportItem(imp, 3);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(imp);
  EXPECT_EQ(ListValues("5.0"), ExpectedValues({"C:\\a.vbp"}));
  EXPECT_FALSE(ListKeyExists("6.0")) << "import creates no key";
}

TEST_F(ExportImportTest, ARoundTripRestoresTheListsByteForByte) {
  const std::vector<std::string> vb5 = {"C:\\Projekty\\\xB3\xF3" "d\xBC\\gra.vbp", "", "\\\\serwer\\udzia\xB3\\a b.vbp",
                                        " spacje na brzegach "};
  const std::vector<std::string> vb6 = {"D:\\x.vbg", "[]", ""};
  SeedList("5.0", vb5);
  SeedList("6.0", vb6);
  OpenMain();

  HWND exp = ShowExport();
  ASSERT_NE(exp, nullptr);
  ExportAs(exp, L"kopia zapasowa", true, true);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(exp);
  std::vector<std::string> lines = {" 1 ", " 1 ", "[]"};
  lines.insert(lines.end(), vb5.begin(), vb5.end());
  lines.push_back("[]");
  lines.insert(lines.end(), vb6.begin(), vb6.end());
  EXPECT_EQ(ReadBytes(Rec(L"kopia zapasowa")), Lines(lines));

  // A longer list in its place loses its surplus; a shorter one grows back.
  SeedList("5.0", {"1", "2", "3", "4", "5", "6", "7"});
  SeedList("6.0", {"inny.vbp"});
  HWND imp = ShowImport();
  ASSERT_NE(imp, nullptr);
  EXPECT_EQ(ItemTexts(Control(imp, im::Combo1)), std::vector<std::wstring>{L"Kopia Zapasowa"});
  ImportItem(imp, 0);
  EXPECT_EQ(TakeBox(BoxIcon::Information).text, L"OK");
  ExpectHidden(imp);
  EXPECT_EQ(ListValues("5.0"), ExpectedValues(vb5));
  EXPECT_EQ(ListValues("6.0"), ExpectedValues(vb6));

  // A list key that refuses writes keeps its list, and the message counts what was stored.
  SeedList("5.0", {"inny5.vbp"});
  SeedList("6.0", {"inny6.vbp"});
  DenyOnListKey("6.0", KEY_SET_VALUE);
  ASSERT_EQ(ShowImport(), imp);
  ImportItem(imp, 0);
  const MessageBoxInfo partial = TakeBox(BoxIcon::Warning);
  DenyOnListKey("6.0", 0);
  EXPECT_EQ(partial.text, L"Lista została zaimportowana tylko częściowo.\r\n\r\n"
                          L"Lista VB6: zapisano 0 z 3 wpisów (błąd 5 ERROR_ACCESS_DENIED).\r\n");
  ExpectHidden(imp);
  EXPECT_EQ(ListValues("5.0"), ExpectedValues(vb5));
  EXPECT_EQ(ListValues("6.0"), ExpectedValues({"inny6.vbp"}));

  // Both windows used: closing the main window ends the program cleanly.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  const auto code = app().WaitForExit(Millis(5000));
  ASSERT_TRUE(code.has_value()) << "the program still runs 5 s after its window was closed";
  EXPECT_EQ(*code, 0u);
}

TEST_F(ExportImportTest, ADamagedOrVanishedFileIsReportedAndChangesNothing) {
  SeedList("5.0", {"C:\\a.vbp", "C:\\b.vbp"});
  SeedList("6.0", {"D:\\c.vbp"});
  const auto vb5 = ListValues("5.0"), vb6 = ListValues("6.0");
  WriteFileBytes(Rec(L"a flaga"), Lines({" x ", " 1 ", "[]", "E:\\nowy.vbp"}));
  WriteFileBytes(Rec(L"b flaga"), Lines({" 1 ", " 1.0 ", "[]", "E:\\nowy.vbp", "[]"}));
  WriteFileBytes(Rec(L"c krotka"), Lines({" 1 ", " 0 "}));
  WriteFileBytes(Rec(L"d jedna"), " 1 ");
  WriteFileBytes(Rec(L"e pusta"), Lines({" 0 ", " 0 "}));
  WriteFileBytes(Rec(L"f zniknie"), Lines({" 1 ", " 1 ", "[]", "[]"}));
  WriteFileBytes(Rec(L"g unix"), " 1 \n 0 \n[]\nE:\\nowy.vbp\n");
  WriteFileBytes(Rec(L"h zero"), Lines({" 1 ", " 0 ", "[]", "E:\\nowy.vbp", std::string("E:\\a\0b.vbp", 10)}));
  OpenMain();

  HWND imp = ShowImport();
  ASSERT_NE(imp, nullptr);
  ASSERT_EQ(ItemTexts(Control(imp, im::Combo1)).size(), 8u);
  DeleteFileW(Rec(L"f zniknie").c_str());
  const std::wstring files[] = {L"a flaga", L"b flaga", L"c krotka", L"d jedna",
                                L"e pusta", L"f zniknie", L"g unix", L"h zero"};
  const std::map<std::wstring, std::wstring> reasons = {
      {L"g unix", L": wiersz 1 kończy się samym znakiem LF, a wiersze pliku listy kończą się znakami CR LF"},
      {L"h zero", L": wiersz 5 zawiera bajt NUL, więc plik jest uszkodzony"}};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(Utf8(files[i]));
    ImportItem(imp, i);
    const MessageBoxInfo box =
        TakeBox(BoxIcon::Warning, reasons.contains(files[i]) ? L"import-refused-" + std::to_wstring(i) : L"");
    EXPECT_NE(box.text, L"OK");
    if (files[i] != L"e pusta") {
      EXPECT_EQ(box.text.rfind(kNothingImported, 0), 0u) << Utf8(box.text);
      EXPECT_NE(box.text.find(Rec(files[i])), std::wstring::npos) << "the file is named: " << Utf8(box.text);
    }
    if (reasons.contains(files[i])) {
      EXPECT_NE(box.text.find(Rec(files[i]) + reasons.at(files[i])), std::wstring::npos) << Utf8(box.text);
    }
    ExpectNothingHappens(imp);
    EXPECT_TRUE(ListsFree()) << "the failed import kept the lists from other copies";
    EXPECT_EQ(ListValues("5.0"), vb5);
    EXPECT_EQ(ListValues("6.0"), vb6);
  }
  Click(Control(imp, im::Command2));
  ExpectHidden(imp);
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(200)));
  EXPECT_EQ(ListValues("5.0"), vb5);
}

}  // namespace
