// The main window's own commands in its window menu, driven from outside: review the lists and
// remove the checked entries, clear a list, and undo the last change, which puts both lists back
// byte for byte after any of these, after a cleaning run and after an import.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/listslock.h"
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
    // The command before has ended (its handler has returned): a window menu command that comes
    // while one runs does nothing.
    EXPECT_TRUE(Sync(main_)) << "the main window does not answer";
    PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    HWND popup = WaitForWindow(app(), L"#32768", nullptr, Visibility::Visible);
    ASSERT_NE(popup, nullptr) << "the window menu did not open";
    PostMessageW(main_, WM_CHAR, key, 0);
    EXPECT_TRUE(WaitForWindowGone(popup, Millis(5000), true)) << "the window menu stays open";
  }
  static constexpr wchar_t kReviewKey = L'l', kUndoKey = L'o', kClearKey = L'y';

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

  // Writes `rec` as duza.rec and imports it from the import window, which it gives back.
  HWND StartImport(const std::string& rec) {
    WriteBytes(folder() / L"duza.rec", rec);
    Click(Control(main_, f1::Command4));
    HWND imp = WaitForWindow(app(), ids::kFrmImportClass, nullptr, Visibility::Visible);
    if (imp) Click(Control(imp, im::Command1));
    return imp;
  }

  // Polls `done` every millisecond until it holds; gives up after half a minute, against a hang.
  template <typename Done>
  static bool Soon(Done done) {
    for (int i = 0; i < 30000; ++i) {
      if (done()) return true;
      Sleep(1);
    }
    return done();
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
  // The check images once they read `expected`, or after two seconds as they are then: keys are
  // posted, and a message sent to see their effect may overtake them.
  static std::vector<int> CheckImagesBecome(HWND list, const std::vector<int>& expected) {
    std::vector<int> images = CheckImages(list);
    for (int i = 0; i < 200 && images != expected; ++i) {
      Sleep(10);
      images = CheckImages(list);
    }
    return images;
  }
  // Each row as the review shows it: version, number, path, state.
  static std::vector<std::vector<std::wstring>> Rows(HWND list) {
    std::vector<std::vector<std::wstring>> rows;
    const int count = static_cast<int>(Send(list, LVM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
      rows.emplace_back();
      for (int column = 0; column < 4; ++column) rows.back().push_back(ListViewText(list, i, column));
    }
    return rows;
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
  // Larger: the list grows with the window, the buttons keep their place at its bottom right.
  const auto placeOf = [&](HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, review, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  const RECT listDesigned = placeOf(list), removeDesigned = placeOf(Control(review, rv::Command1));
  RECT frame;
  GetWindowRect(review, &frame);
  SetWindowPos(review, nullptr, 0, 0, frame.right - frame.left + 90, frame.bottom - frame.top + 60,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LONG dx = ClientSize(review).cx - designed.cx, dy = ClientSize(review).cy - designed.cy;
  ASSERT_TRUE(dx > 0 && dy > 0);
  const RECT listLarger = placeOf(list), removeLarger = placeOf(Control(review, rv::Command1));
  EXPECT_TRUE(listLarger.left == listDesigned.left && listLarger.top == listDesigned.top &&
              listLarger.right == listDesigned.right + dx && listLarger.bottom == listDesigned.bottom + dy);
  EXPECT_TRUE(removeLarger.left == removeDesigned.left + dx && removeLarger.top == removeDesigned.top + dy &&
              removeLarger.right - removeLarger.left == removeDesigned.right - removeDesigned.left);
  SetWindowPos(review, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(CheckImages(list), (std::vector<int>{2, 1, 2, 1})) << "gone entries start checked";
  Shoot(review, L"review");
  // Uncheck the second gone entry, check the existing 6.0 entry.
  ToggleRow(list, 2);
  ToggleRow(list, 3);
  ASSERT_EQ(CheckImagesBecome(list, {2, 1, 1, 2}), (std::vector<int>{2, 1, 1, 2}));
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
  // Space then toggles every selected row, as the focused (last) one goes.
  PressKey(list, VK_SPACE);
  EXPECT_EQ(CheckImagesBecome(list, {1, 1, 1, 1}), (std::vector<int>{1, 1, 1, 1}));
  PressKey(list, VK_SPACE);
  EXPECT_EQ(CheckImagesBecome(list, {2, 2, 2, 2}), (std::vector<int>{2, 2, 2, 2}));
  ToggleRow(list, 1);
  ToggleRow(list, 2);
  ASSERT_EQ(CheckImagesBecome(list, {2, 1, 1, 2}), (std::vector<int>{2, 1, 1, 2}));
  Click(Control(review, rv::Command1));
  // Chosen by the user, not found dead: counted as removed entries.
  EXPECT_EQ(TakeBox(), L"Lista VB5: usunięto 1 z 3 wpisów.\r\nLista VB6: usunięto 1 z 1 wpisów.\r\n");
  EXPECT_TRUE(WaitForWindowGone(review, Millis(5000), true));
  EXPECT_EQ(ReadList("5.0"), (std::vector<std::string>{alive_, gone2_}));
  EXPECT_TRUE(ListValues("6.0").empty());
  Undo(seeded);

  // A list that cannot be read exactly offers no check box. Every
  // entry shows with its own number, path and state, past a gap too; the long one is read
  // through the wide call.
  const std::string long_entry = "C:\\" + std::string(296, 'x') + ".vbp";
  SeedList("6.0", {alive2_, long_entry, gone_});
  PutListValue("6.0", "5", alive_);
  const Lists unreadable = BothLists();
  review = OpenWindow(kReviewKey, ids::kFrmReviewClass);
  ASSERT_NE(review, nullptr);
  list = Control(review, rv::ListView1);
  EXPECT_EQ(CheckImages(list), (std::vector<int>{2, 1, 2, 0, 0, 0, 0}));
  using Row = std::vector<std::wstring>;
  const std::vector<Row> rows = Rows(list);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], (Row{L"5.0", L"1", AnsiToWide(gone_), L"nie istnieje"}));
  EXPECT_EQ(rows[3], (Row{L"6.0", L"1", AnsiToWide(alive2_), L"istnieje"}));
  EXPECT_EQ(rows[4], (Row{L"6.0", L"2", AnsiToWide(long_entry), L"nie da się odczytać dokładnie"}));
  EXPECT_EQ(rows[5], (Row{L"6.0", L"3", AnsiToWide(gone_), L"nie istnieje"}));
  EXPECT_EQ(rows[6], (Row{L"6.0", L"5", AnsiToWide(alive_), L"istnieje"}));
  Shoot(review, L"review-unreadable");
  // Cancel, and Esc as well, change nothing, though entries are checked.
  for (const bool esc : {false, true}) {
    SCOPED_TRACE(esc ? "Esc" : "Cancel");
    if (esc) {
      review = OpenWindow(kReviewKey, ids::kFrmReviewClass);
      ASSERT_NE(review, nullptr);
      list = Control(review, rv::ListView1);
    }
    ToggleRow(list, 3);
    if (esc)
      PressKey(list, VK_ESCAPE);
    else
      Click(Control(review, rv::Command2));
    EXPECT_TRUE(WaitForWindowGone(review, Millis(5000), true));
    // Read once the window went, after the keys posted before: the row still has no box.
    EXPECT_EQ(CheckImages(list), (std::vector<int>{2, 1, 2, 0, 0, 0, 0}));
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
  // The window menu is used only once the clear window has gone, as a user would see it go.
  EXPECT_TRUE(WaitForWindowGone(clear, Millis(5000), true));
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

  // Every numbered value goes, past a gap too, and the count says so; agreed without undo.
  for (const char* name : {"3", "4", "6"}) PutListValue("5.0", name, alive_);
  clear = OpenWindow(kClearKey, ids::kFrmClearClass);
  ASSERT_NE(clear, nullptr);
  Click(Control(clear, cl::Command1));
  Answer(IDYES, L"Usunąć wszystkie wpisy listy VB5?\r\n\r\nLiczba wpisów: VB5: 5.");
  Answer(IDYES, L"Nie można zapisać danych do cofnięcia zmiany: ");
  EXPECT_EQ(TakeBox(), L"Lista VB5: usunięto 5 z 5 wpisów.\r\n");
  EXPECT_TRUE(ListValues("5.0").empty());
  EXPECT_EQ(BothLists().second, seeded.second);
}

// While another copy holds the lists, a removal shows that it waits, the rest of the program
// takes no command and the window menu does not open; Esc (Cancel) gives the removal up for
// good: it does not go ahead once the lists are free.
TEST_F(ListCommandsTest, CancelWhileWaitingForAnotherCopyGivesTheCommandUp) {
  SeedList("5.0", {gone_, alive_});
  const Lists seeded = BothLists();
  OpenMain();
  HWND review = OpenWindow(kReviewKey, ids::kFrmReviewClass);
  ASSERT_NE(review, nullptr);
  {
    ListsLock other_copy;
    ASSERT_TRUE(other_copy.Acquire(0));
    Click(Control(review, rv::Command1));
    HWND wait = WaitForWindow(app(), ids::kFrmWaitClass, nullptr, Visibility::Visible);
    ASSERT_NE(wait, nullptr) << "nothing shows that the removal waits";
    EXPECT_EQ(Text(Control(wait, ids::frmwait::Label1)),
              L"Inna kopia programu Brushwick pracuje teraz na listach ostatnio używanych plików. "
              L"Brushwick czeka, aż skończy; Anuluj rezygnuje z polecenia.");
    EXPECT_FALSE(Enabled(review));
    Click(Control(review, rv::Command2));
    PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    EXPECT_EQ(WaitForWindow(app(), L"#32768", nullptr, Visibility::Visible, Millis(500)), nullptr)
        << "the window menu opened during the wait";
    EXPECT_TRUE(Visible(review)) << "the review window took its Cancel during the wait";
    Shoot(wait, L"wait");
    PressKey(Control(wait, ids::frmwait::Command1), VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(wait, Millis(5000))) << "Esc does not end the wait";
  }
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(1500))) << "the removal went ahead after Cancel";
  EXPECT_EQ(BothLists(), seeded);
  EXPECT_TRUE(Visible(review) && Enabled(review));
}

// A long import is one command: Undo, asked for meanwhile, neither runs in between nor later,
// and the window menu stays shut.
TEST_F(ListCommandsTest, NoOtherCommandRunsDuringALongImport) {
  SeedList("5.0", {alive_});
  std::string file = " 1 \r\n 0 \r\n[]\r\n";
  std::vector<std::string> entries;
  for (int i = 1; i <= 6000; ++i) {
    entries.push_back("C:\\p" + std::to_string(i) + ".vbp");
    file += entries.back() + "\r\n";
  }
  WriteBytes(folder() / L"duza.rec", file);
  OpenMain();
  Click(Control(main_, f1::Command4));
  HWND imp = WaitForWindow(app(), ids::kFrmImportClass, nullptr, Visibility::Visible);
  ASSERT_NE(imp, nullptr);
  Click(Control(imp, im::Command1));
  for (int i = 0; i < 1000 && Enabled(imp); ++i) Sleep(2);
  ASSERT_FALSE(Enabled(imp)) << "the import did not start, or ended too soon to test";
  Command(menu::Undo);
  PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, L' ');
  EXPECT_EQ(TakeBox(), L"OK") << "another command ran during the import";
  EXPECT_EQ(FindTopWindow(app().pid(), L"#32768", nullptr, Visibility::Visible), nullptr)
      << "the window menu opened during the import";
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(500)));
  EXPECT_EQ(ReadList("5.0"), entries);
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
  OpenMain();
  ASSERT_NE(StartImport(rec), nullptr);
  const bool halfWay = Soon([] { return GetListValue("5.0", "300").has_value(); });
  app().Kill();
  ASSERT_TRUE(halfWay) << "the import did not start";
  ASSERT_NE(BothLists(), seeded);

  Launch();
  auto box = WaitForMessageBox(app());
  ASSERT_TRUE(box) << "no word of the interrupted change";
  EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
  // The imported entries were never on the lists before: putting back would remove them, so No
  // is the default, and Undo could bring them back.
  EXPECT_EQ(box->defaultButton, IDNO);
  EXPECT_EQ(box->text.rfind(L"Ostatnia zmiana list (import listy, rozpoczęta ", 0), 0u) << Utf8(box->text);
  EXPECT_NE(box->text.find(L"których nie było przed tą zmianą: "), std::wstring::npos) << Utf8(box->text);
  main_ = FindTopWindow(app().pid(), ids::kForm1Class, &kTitle);
  EXPECT_TRUE(main_ && Visible(main_)) << "the main window shows behind the question";
  Shoot(box->window, L"interrupted");
  EXPECT_TRUE(AnswerMessageBox(box->window, IDYES));
  EXPECT_EQ(TakeBox(), L"Przywrócono listy sprzed przerwanej zmiany.");
  EXPECT_EQ(BothLists(), seeded);
  EXPECT_FALSE(FileExists(folder() / L"cofnij.new"));
}

// Long work shows how far it has got once it has run a second: an import of 30,000 entries into
// each list shows the progress window, whose bar moves and whose count rises, and the window is
// gone before the summary shows. A clean of ten entries shows none. (A fast machine imports them
// in less than a second, so the test holds the program still for a moment once it writes.)
TEST_F(ListCommandsTest, ALongImportShowsItsProgressAndAShortCleanNone) {
  std::vector<std::string> ten;
  for (int i = 0; i < 10; ++i) ten.push_back(i % 2 ? gone_ : alive_);
  SeedList("5.0", ten);
  SeedList("6.0", {alive2_});
  OpenMain();
  Click(Control(main_, f1::Command1));
  std::optional<MessageBoxInfo> box;
  bool shown = false;
  for (int i = 0; i < 3000 && !box; ++i) {
    shown = shown || FindTopWindow(app().pid(), ids::kFrmProgressClass, nullptr, Visibility::Visible);
    box = WaitForMessageBox(app(), Millis(10));
  }
  ASSERT_TRUE(box) << "no summary";
  EXPECT_FALSE(shown) << "a clean of ten entries showed its progress";
  EXPECT_TRUE(CloseMessageBox(box->window));

  std::string rec = " 1 \r\n 1 \r\n";
  for (const char* list : {"[]\r\n", "[]\r\n"}) {
    rec += list;
    for (int i = 1; i <= 30000; ++i) rec += "X:\\b" + std::to_string(i) + ".vbp\r\n";
  }
  HWND imp = StartImport(rec);
  ASSERT_NE(imp, nullptr);
  // Once the writes are under way, the program is held still for a while: its work has then run
  // more than a second, however fast the machine.
  ASSERT_TRUE(Soon([] { return GetListValue("6.0", "300").has_value() || GetListValue("5.0", "300").has_value(); }))
      << "the import did not start";
  app().Pause(Millis(1500));
  HWND window = WaitForWindow(app(), ids::kFrmProgressClass, nullptr, Visibility::Visible);
  ASSERT_NE(window, nullptr) << "no progress shown";
  EXPECT_EQ(Text(window), kTitle);
  EXPECT_EQ(Text(Control(window, ids::frmprogress::Label1)), L"Importowanie listy");
  EXPECT_EQ(GetWindow(window, GW_OWNER), imp) << "owned by the window of the command";
  // The bar and the count, as long as the window shows.
  HWND bar = Control(window, ids::frmprogress::ProgressBar1);
  std::vector<LRESULT> positions;
  std::wstring count;
  bool paused = false, shot = false;
  for (DWORD_PTR at = 0; SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &at) && Visible(window);) {
    if (positions.empty() || static_cast<LRESULT>(at) != positions.back()) positions.push_back(static_cast<LRESULT>(at));
    wchar_t now[64] = {};
    SendMessageTimeoutW(Control(window, ids::frmprogress::Label2), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(now),
                        SMTO_NORMAL, 5000, nullptr);
    if (*now) count = now;
    // Held still again, so that the next update is due at once, while most of the writes remain.
    if (!paused) app().Pause(Millis(200));
    paused = true;
    if (positions.size() == 2 && !shot) Shoot(window, L"progress");
    shot = shot || positions.size() == 2;
    Sleep(20);
  }
  EXPECT_GE(positions.size(), 2u) << "the bar did not move";
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_TRUE(count.ends_with(L" wpisów") && count.find(L" z 60") != std::wstring::npos) << Utf8(count);
  box = WaitForMessageBox(app());
  ASSERT_TRUE(box) << "no summary";
  EXPECT_FALSE(IsWindow(window) && Visible(window)) << "the progress shows with the summary";
  EXPECT_TRUE(CloseMessageBox(box->window));
  EXPECT_EQ(GetListValue("6.0", "30000").has_value(), true);
}

// Start and Undo killed for real in the middle of their writes (the moment chosen by watching the
// registry): the next start names the change, puts the lists back whole, and Undo then returns to
// the lists as the kill left them. A list of 20,000 entries, every other one gone, gives the writes
// time to be caught.
TEST_F(ListCommandsTest, AStartAndAnUndoKilledHalfWayAreOfferedBackAtTheNextStart) {
  std::vector<std::string> seeded;
  for (int i = 1; i <= 20000; ++i) seeded.push_back(i % 2 == 0 ? gone_ : alive_);
  for (const bool undo : {false, true}) {
    SCOPED_TRACE(undo ? "undo" : "Start");
    SeedList("5.0", seeded);
    SeedList("6.0", {alive2_});
    DeleteFileW((folder() / L"cofnij.dat").c_str());
    const Lists before = BothLists();
    OpenMain();
    if (HasFatalFailure()) return;
    Click(Control(main_, f1::Command1));
    Lists cleaned;
    if (undo) {
      EXPECT_EQ(TakeBox().rfind(L"Liczba ostatnio", 0), 0u);
      cleaned = BothLists();
      ASSERT_NE(cleaned, before);
      ChooseFromMenu(kUndoKey);
    }
    // Killed as soon as the writes are under way: Start moves its entries down, from the second
    // on; Undo first puts the list's new last entry in place, then moves the others up.
    const std::optional<RegValue> second = GetListValue("5.0", "2");
    const bool halfWay = Soon([&] {
      return undo ? GetListValue("5.0", "20000").has_value() : GetListValue("5.0", "2") != second;
    });
    app().Kill();
    ASSERT_TRUE(halfWay) << "the writes did not start";
    const Lists stopped = BothLists();
    ASSERT_TRUE(FileExists(folder() / L"cofnij.new")) << "the kill came after the change was done";

    Launch();
    auto box = WaitForMessageBox(app());
    ASSERT_TRUE(box) << "no word of the interrupted change";
    EXPECT_EQ(box->defaultButton, IDYES) << "nothing there now was never there before";
    EXPECT_EQ(box->text.rfind(undo ? L"Cofanie ostatniej zmiany" : L"Ostatnia zmiana list (czyszczenie", 0), 0u)
        << Utf8(box->text);
    EXPECT_TRUE(AnswerMessageBox(box->window, IDYES));
    EXPECT_EQ(TakeBox(), undo ? kUndone : L"Przywrócono listy sprzed przerwanej zmiany.");
    EXPECT_EQ(BothLists(), before);
    main_ = FindTopWindow(app().pid(), ids::kForm1Class, &kTitle);
    ASSERT_NE(main_, nullptr);
    // On a fast machine the kill may come after an undo's last write but before its done mark:
    // the undo is then done, and undoing it brings back the lists it undid.
    Undo(undo && stopped == before ? cleaned : stopped);
    PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app().WaitForExit(Millis(30000)).has_value());
  }
}

}  // namespace
