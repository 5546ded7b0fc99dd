// The main window's own commands in its window menu, driven from outside: review the lists and
// remove the checked entries, clear a list, and undo the last change, which puts both lists back
// byte for byte after any of these, after a cleaning run and after an import.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "driver/app_test.h"
#include "forms/ids.h"
#include "support/scratch_registry.h"

namespace {

using namespace ui;
namespace f1 = ids::form1;
namespace menu = ids::form1menu;
namespace rv = ids::frmreview;
namespace cl = ids::frmclear;
namespace im = ids::frmimport;

const std::wstring kTitle = L"Brushwick";
const std::wstring kUndone = L"Przywrócono listy sprzed ostatniej zmiany.";

using Lists = std::pair<std::map<std::string, RegValue>, std::map<std::string, RegValue>>;
// As stored, read wide: a text outside the ANSI code page compares exactly.
Lists BothLists() { return {StoredListValues("5.0"), StoredListValues("6.0")}; }

std::wstring Summary(int vb5_count, int vb5_removed, int vb6_count, int vb6_removed) {
  return L"Liczba ostatnio używanych plików dla VB5: " + std::to_wstring(vb5_count) + L"\r\n" +
         L"z czego usunięto " + std::to_wstring(vb5_removed) + L" martwych wpisów\r\n\r\n" +
         L"Liczba ostatnio używanych plików dla VB6: " + std::to_wstring(vb6_count) + L"\r\n" +
         L"z czego usunięto " + std::to_wstring(vb6_removed) + L" martwych wpisów\r\n";
}

class ListCommandsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    alive_ = WideToAnsi(files_ / L"alive.vbp");
    alive2_ = WideToAnsi(files_ / L"alive2.vbp");
    gone_ = WideToAnsi(files_ / L"gone.vbp");
    gone2_ = WideToAnsi(files_ / L"gone2.vbp");
    WriteBytes(files_ / L"alive.vbp", "");
    WriteBytes(files_ / L"alive2.vbp", "");
  }

  void OpenMain() {
    folder().WriteOptions("#\r\n");
    Launch();
    main_ = WaitForWindow(app(), ids::kForm1Class, &kTitle, Visibility::Visible);
    ASSERT_NE(main_, nullptr) << "no visible main window";
  }

  // Opens the main window's menu (Alt+Space) and presses an item's access key, as a user would.
  // A greyed item does nothing. The menu is another process's, so this is how the test reads it.
  void ChooseFromMenu(wchar_t key) {
    PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    HWND popup = WaitForWindow(app(), L"#32768", nullptr, Visibility::Visible);
    ASSERT_NE(popup, nullptr) << "the window menu did not open";
    PostMessageW(main_, WM_CHAR, key, 0);
    EXPECT_TRUE(WaitForWindowGone(popup, Millis(5000), true)) << "the window menu stays open";
  }
  static constexpr wchar_t kReviewKey = L'p', kUndoKey = L'o', kClearKey = L'y';

  void Command(UINT command) { PostMessageW(main_, WM_SYSCOMMAND, command, 0); }

  // The box that must show now, closed with OK; its text.
  std::wstring TakeBox(BoxIcon icon = BoxIcon::Information) {
    auto box = WaitForMessageBox(app());
    if (!box) {
      ADD_FAILURE() << "no message box";
      return {};
    }
    EXPECT_EQ(box->caption, kTitle);
    EXPECT_EQ(box->icon, icon) << IconName(box->icon) << ": " << Utf8(box->text);
    EXPECT_TRUE(CloseMessageBox(box->window));
    return box->text;
  }

  // A question with Yes and No, No the default; answered.
  void Answer(int answer, const std::wstring& starts) {
    auto box = WaitForMessageBox(app());
    ASSERT_TRUE(box) << "no question";
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box->defaultButton, IDNO);
    EXPECT_EQ(box->text.rfind(starts, 0), 0u) << Utf8(box->text);
    EXPECT_TRUE(AnswerMessageBox(box->window, answer));
  }

  void Undo(const Lists& expected) {
    ChooseFromMenu(kUndoKey);
    EXPECT_EQ(TakeBox(), kUndone);
    EXPECT_EQ(BothLists(), expected);
  }

  HWND OpenWindow(wchar_t key, const wchar_t* window_class) {
    ChooseFromMenu(key);
    HWND window = WaitForWindow(app(), window_class, nullptr, Visibility::Visible);
    EXPECT_NE(window, nullptr) << "the window did not show";
    return window;
  }

  // Row states of the review list: 0 no check box, 1 unchecked, 2 checked.
  static std::vector<int> CheckImages(HWND list) {
    std::vector<int> images;
    const int count = static_cast<int>(Send(list, LVM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i)
      images.push_back(static_cast<int>((Send(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12));
    return images;
  }
  // Space on row `row`, reached with Home and Down as a user would.
  static void ToggleRow(HWND list, int row) {
    PressKey(list, VK_HOME);
    for (int i = 0; i < row; ++i) PressKey(list, VK_DOWN);
    PressKey(list, VK_SPACE);
  }

  TempFolder files_;
  std::string alive_, alive2_, gone_, gone2_;
  HWND main_ = nullptr;
};

TEST_F(ListCommandsTest, UndoPutsBackTheListsAfterACleanAndAnImportAndUndoesItself) {
  SeedList("5.0", {gone_, alive_, gone2_});
  // Types other than REG_SZ come back as they were.
  PutListValue("5.0", "4", alive2_, REG_EXPAND_SZ);
  PutRawValue("5.0", "5", REG_DWORD, std::string("\x07\0\0\0", 4));
  SeedList("6.0", {alive2_, gone_});
  const Lists seeded = BothLists();
  OpenMain();

  // Nothing to undo yet: the greyed item does nothing, while the command itself would answer.
  ChooseFromMenu(kUndoKey);
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(300))) << "Undo is not greyed out";
  Command(menu::Undo);
  EXPECT_EQ(TakeBox(), L"Nie ma zmiany do cofnięcia.");

  Click(Control(main_, f1::Command1));
  EXPECT_EQ(TakeBox(), Summary(5, 3, 2, 1));
  const Lists cleaned = BothLists();
  ASSERT_NE(cleaned, seeded);
  Undo(seeded);
  Undo(cleaned);

  // An entry the ANSI code page cannot hold is snapshotted exactly too; a long import is undone
  // whole.
  PutWideListValue("5.0", "2", L"C:\\\u041F\u0440\u043E\u0435\u043A\u0442\\\u4E2D.vbp");
  const Lists before = BothLists();
  std::string rec = " 1 \r\n 0 \r\n[]\r\n";
  std::vector<std::string> imported;
  for (int i = 1; i <= 2000; ++i) imported.push_back("X:\\a" + std::to_string(i) + ".vbp");
  for (const std::string& entry : imported) rec += entry + "\r\n";
  WriteBytes(folder() / L"inna.rec", rec);
  Click(Control(main_, f1::Command4));
  HWND imp = WaitForWindow(app(), ids::kFrmImportClass, nullptr, Visibility::Visible);
  ASSERT_NE(imp, nullptr);
  // The undo file is not offered as a list.
  EXPECT_EQ(ItemTexts(Control(imp, im::Combo1)), std::vector<std::wstring>{L"Inna"});
  Click(Control(imp, im::Command1));
  EXPECT_EQ(TakeBox(), L"OK");
  EXPECT_EQ(ReadList("5.0"), imported);
  Undo(before);

  // Damaged undo data undoes nothing, says so, and leaves the lists to other copies.
  WriteBytes(folder() / L"cofnij.dat", " x \r\n");
  const Lists unchanged = BothLists();
  ChooseFromMenu(kUndoKey);
  const std::wstring failed = TakeBox(BoxIcon::Warning);
  EXPECT_EQ(failed.rfind(L"Nie cofnięto zmiany; listy pozostały bez zmian.", 0), 0u) << Utf8(failed);
  EXPECT_EQ(BothLists(), unchanged);
  EXPECT_TRUE(ListsFree()) << "the failed undo kept the lists from other copies";
}

TEST_F(ListCommandsTest, ReviewRemovesExactlyTheCheckedEntries) {
  SeedList("5.0", {gone_, alive_, gone2_});
  SeedList("6.0", {alive2_});
  const Lists seeded = BothLists();
  OpenMain();

  HWND review = OpenWindow(kReviewKey, ids::kFrmReviewClass);
  ASSERT_NE(review, nullptr);
  EXPECT_EQ(GetWindow(review, GW_OWNER), main_);
  EXPECT_TRUE(Style(review) & WS_THICKFRAME) << "resizable";
  const SIZE designed = ClientSize(review);
  SetWindowPos(review, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(ClientSize(review).cx == designed.cx && ClientSize(review).cy == designed.cy)
      << "not smaller than designed";
  HWND list = Control(review, rv::ListView1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(CheckImages(list), (std::vector<int>{2, 1, 2, 1})) << "gone entries start checked";
  Shoot(review, L"review");
  // Uncheck the second gone entry, check the existing 6.0 entry.
  ToggleRow(list, 2);
  ToggleRow(list, 3);
  ASSERT_EQ(CheckImages(list), (std::vector<int>{2, 1, 1, 2}));
  // Ctrl+A, typed for real: the list has the focus and selects every row.
  ASSERT_EQ(FocusOf(review), list);
  INPUT keys[4] = {};
  for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
  keys[1].ki.wVk = keys[2].ki.wVk = 'A';
  keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
  for (int i = 0; i < 200 && Send(list, LVM_GETSELECTEDCOUNT) != 4; ++i) Sleep(10);
  EXPECT_EQ(Send(list, LVM_GETSELECTEDCOUNT), 4);
  Click(Control(review, rv::Command1));
  EXPECT_EQ(TakeBox(), Summary(3, 1, 1, 1));
  EXPECT_TRUE(WaitForWindowGone(review, Millis(5000), true));
  EXPECT_EQ(ReadList("5.0"), (std::vector<std::string>{alive_, gone2_}));
  EXPECT_TRUE(ListValues("6.0").empty());
  Undo(seeded);

  // A list that cannot be read exactly offers no check box; Cancel, and Esc as well, change
  // nothing, though entries are checked.
  SeedList("6.0", {gone_, std::string(255, 'x')});
  const Lists unreadable = BothLists();
  for (const bool esc : {false, true}) {
    SCOPED_TRACE(esc ? "Esc" : "Cancel");
    review = OpenWindow(kReviewKey, ids::kFrmReviewClass);
    ASSERT_NE(review, nullptr);
    list = Control(review, rv::ListView1);
    EXPECT_EQ(CheckImages(list), (std::vector<int>{2, 1, 2, 0, 0}));
    ToggleRow(list, 3);
    EXPECT_EQ(CheckImages(list), (std::vector<int>{2, 1, 2, 0, 0}));
    if (esc)
      PressKey(list, VK_ESCAPE);
    else
      Click(Control(review, rv::Command2));
    EXPECT_TRUE(WaitForWindowGone(review, Millis(5000), true));
    EXPECT_FALSE(MessageBoxAppears(app(), Millis(300)));
    EXPECT_EQ(BothLists(), unreadable);
  }
}

TEST_F(ListCommandsTest, ClearBothThenUndoAndNoClearWithoutUndoUnlessAgreed) {
  SeedList("5.0", {gone_, alive_});
  SeedList("6.0", {alive2_});
  const Lists seeded = BothLists();
  OpenMain();

  HWND clear = OpenWindow(kClearKey, ids::kFrmClearClass);
  ASSERT_NE(clear, nullptr);
  SelectItem(Control(clear, cl::Combo1), 2);
  Click(Control(clear, cl::Command1));
  Answer(IDYES, L"Usunąć wszystkie wpisy list VB5 i VB6?");
  EXPECT_EQ(TakeBox(), L"Lista VB5: usunięto 2 z 2 wpisów.\r\nLista VB6: usunięto 1 z 1 wpisów.\r\n");
  EXPECT_TRUE(ListValues("5.0").empty());
  EXPECT_TRUE(ListValues("6.0").empty());
  Undo(seeded);

  // Undo data that cannot be written: asked, and No changes nothing.
  ASSERT_TRUE(DeleteFileW((folder() / L"cofnij.dat").c_str()));
  ASSERT_TRUE(CreateDirectoryW((folder() / L"cofnij.new").c_str(), nullptr));
  clear = OpenWindow(kClearKey, ids::kFrmClearClass);
  ASSERT_NE(clear, nullptr);
  Click(Control(clear, cl::Command1));
  Answer(IDYES, L"Usunąć wszystkie wpisy listy VB5?");
  Answer(IDNO, L"Nie można zapisać danych do cofnięcia zmiany: ");
  EXPECT_TRUE(Visible(clear));
  EXPECT_EQ(BothLists(), seeded);
  Click(Control(clear, cl::Command2));
  ChooseFromMenu(kUndoKey);
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(300))) << "Undo is not greyed out";
  EXPECT_EQ(BothLists(), seeded);
}

// A run that changes nothing keeps the undo file of the change before it; an undo over lists
// that changed since says how many entries would go, and No keeps everything.
TEST_F(ListCommandsTest, AFailedRunKeepsTheUndoFileAndUndoAsksWhenTheListsChangedSince) {
  SeedList("5.0", {gone_, alive_});
  SeedList("6.0", {alive2_});
  const Lists seeded = BothLists();
  OpenMain();
  Click(Control(main_, f1::Command1));
  EXPECT_EQ(TakeBox(), Summary(2, 1, 1, 0));
  const std::string undoFile = ReadBytes(folder() / L"cofnij.dat");
  ASSERT_EQ(undoFile.rfind("Brushwick undo 1\r\n", 0), 0u);

  PutListValue("6.0", "2", gone2_);
  DenyOnListKey("6.0", KEY_SET_VALUE);
  Click(Control(main_, f1::Command1));
  EXPECT_EQ(TakeBox(BoxIcon::Warning).rfind(Summary(1, 0, 2, 0), 0), 0u);
  DenyOnListKey("6.0", 0);
  EXPECT_EQ(ReadBytes(folder() / L"cofnij.dat"), undoFile);
  EXPECT_FALSE(FileExists(folder() / L"cofnij.new"));

  // Visual Basic opened a project meanwhile.
  PutListValue("5.0", "2", alive2_);
  const Lists now = BothLists();
  ChooseFromMenu(kUndoKey);
  Answer(IDNO, L"Listy zmieniły się od ostatniej zmiany");
  EXPECT_EQ(BothLists(), now);
  ChooseFromMenu(kUndoKey);
  auto box = WaitForMessageBox(app());
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"usunie: 2\r\nw tym dodane po tej zmianie: 2"), std::wstring::npos) << Utf8(box->text);
  Shoot(box->window, L"changed-since");
  EXPECT_TRUE(AnswerMessageBox(box->window, IDYES));
  EXPECT_EQ(TakeBox(), kUndone);
  EXPECT_EQ(BothLists(), seeded);
}

// Killed in the middle of a long import, the program offers at its next start to put the lists
// back as they were before it (default Yes), and does.
TEST_F(ListCommandsTest, AnImportKilledHalfWayIsOfferedBackAtTheNextStart) {
  SeedList("5.0", {alive_, gone_});
  SeedList("6.0", {alive2_});
  const Lists seeded = BothLists();
  std::string rec = " 1 \r\n 0 \r\n[]\r\n";
  for (int i = 1; i <= 30000; ++i) rec += "X:\\b" + std::to_string(i) + ".vbp\r\n";
  WriteBytes(folder() / L"duza.rec", rec);
  OpenMain();
  Click(Control(main_, f1::Command4));
  HWND imp = WaitForWindow(app(), ids::kFrmImportClass, nullptr, Visibility::Visible);
  ASSERT_NE(imp, nullptr);
  Click(Control(imp, im::Command1));
  bool halfWay = false;
  for (int i = 0; i < 3000 && !halfWay; ++i) {
    Sleep(10);
    halfWay = GetListValue("5.0", "300").has_value();
  }
  app().Kill();
  ASSERT_TRUE(halfWay) << "the import did not start";
  ASSERT_NE(BothLists(), seeded);

  Launch();
  auto box = WaitForMessageBox(app());
  ASSERT_TRUE(box) << "no word of the interrupted change";
  EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(box->defaultButton, IDYES);
  EXPECT_EQ(box->text.rfind(L"Ostatnia zmiana list (import listy, rozpoczęta ", 0), 0u) << Utf8(box->text);
  main_ = FindTopWindow(app().pid(), ids::kForm1Class, &kTitle);
  EXPECT_TRUE(main_ && Visible(main_)) << "the main window shows behind the question";
  Shoot(box->window, L"interrupted");
  EXPECT_TRUE(AnswerMessageBox(box->window, IDYES));
  EXPECT_EQ(TakeBox(), L"Przywrócono listy sprzed przerwanej zmiany.");
  EXPECT_EQ(BothLists(), seeded);
  EXPECT_FALSE(FileExists(folder() / L"cofnij.new"));
}

}  // namespace
