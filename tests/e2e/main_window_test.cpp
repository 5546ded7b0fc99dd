// The main window of the real program, driven from outside: layout, the cleaning run with its
// summary and its effect on the registry lists, the web button and closing.
#include <windows.h>

#include <map>
#include <optional>
#include <set>
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

const std::wstring kTitle = L"Brushwick";

const std::wstring kDescription =
    L"VB5 i VB6 tworzy listę ostatnio używanych plików. Program ten analizuje owe listy, czy nie ma "
    L"odwołań do nieistniejących plików i jeśli są, to je usuwa. Program obsługuje VB5 i VB6\r\n"
    L"Aby rozpocząć usuwanie martwych wpisów, kliknij w przycisk Start\r\n"
    L"\r\n"
    L"Autorem programu jest Kadrin. Program jest w 100% darmowy\r\n"
    L"\r\n"
    L"UWAGA: Przed kliknięciem w przycisk Go zamknij wszystkie otwarte kopie VB, w przeciwnym "
    L"wypadku podczas zamykania VB zostanie przywrócona stara lista !!\r\n";

std::wstring Summary(int vb5_count, int vb5_removed, int vb6_count, int vb6_removed) {
  return L"Liczba ostatnio używanych plików dla VB5: " + std::to_wstring(vb5_count) + L"\r\n" +
         L"z czego usunięto " + std::to_wstring(vb5_removed) + L" martwych wpisów\r\n\r\n" +
         L"Liczba ostatnio używanych plików dla VB6: " + std::to_wstring(vb6_count) + L"\r\n" +
         L"z czego usunięto " + std::to_wstring(vb6_removed) + L" martwych wpisów\r\n";
}

std::string Sz(const std::string& text) { return text + '\0'; }


class MainWindowTest : public AppTest {
 protected:
  // Starts the program with the built-in language chosen, so that it opens the main window
  // directly, and waits for the window.
  HWND OpenMain() {
    folder().WriteOptions("#\r\n");
    Launch();
    HWND main = WaitForWindow(app(), ids::kForm1Class, &kTitle, Visibility::Visible);
    EXPECT_NE(main, nullptr) << "no visible main window";
    return main;
  }

  // Presses Start and reads the summary box; the box is left open.
  MessageBoxInfo PressStart(HWND main) {
    Click(Control(main, f1::Command1));
    auto box = WaitForMessageBox(app());
    if (!box) {
      ADD_FAILURE() << "no summary after Start";
      return {};
    }
    return *box;
  }

  // The summary box that follows, left open.
  MessageBoxInfo PressStartSummary() {
    auto box = WaitForMessageBox(app());
    if (!box) {
      ADD_FAILURE() << "no summary";
      return {};
    }
    return *box;
  }

  // Presses Start, checks the summary and closes it.
  void CleanAndExpect(HWND main, const std::wstring& summary) {
    const MessageBoxInfo box = PressStart(main);
    EXPECT_EQ(box.text, summary);
    EXPECT_TRUE(CloseMessageBox(box.window)) << "the summary did not close";
  }
};

TEST_F(MainWindowTest, LayoutCaptionsAndStyleAreAsDesigned) {
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  const int dpi = DpiOf(main);

  EXPECT_EQ(Text(main), L"Brushwick");
  const SIZE client = ClientSize(main);
  EXPECT_EQ(client.cx, TwipsToPixels(7065, dpi));
  EXPECT_EQ(client.cy, TwipsToPixels(3135, dpi));
  if (dpi == 96) {
    EXPECT_TRUE(client.cx == 471 && client.cy == 209) << client.cx << "x" << client.cy;
  }

  const LONG style = Style(main);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
  EXPECT_TRUE(style & WS_SYSMENU) << "the title bar carries the close box";
  EXPECT_EQ(GetMenu(main), nullptr);

  // Centred on the screen (a pixel of rounding either way).
  RECT window{};
  GetWindowRect(main, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  EXPECT_NEAR((window.left + window.right) / 2.0, (work.left + work.right) / 2.0, 1.5);
  EXPECT_NEAR((window.top + window.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.5);

  struct Placed {
    int id;
    const wchar_t* caption;
    int left, top, width, height;
  };
  const Placed buttons[] = {{f1::Command1, L"Start", 120, 2640, 1455, 375},
                            {f1::Command4, L"Importuj listę", 1800, 2640, 1575, 375},
                            {f1::Command5, L"Eksportuj listę", 3600, 2640, 1575, 375},
                            {f1::Command3, L"WWW", 5400, 2640, 1575, 375}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(Utf8(b.caption));
    HWND button = Control(main, b.id);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(Text(button), b.caption);
    EXPECT_TRUE(Visible(button) && Enabled(button));
    EXPECT_TRUE(SameRect(RectIn(button, main), TwipsRect(b.left, b.top, b.width, b.height, dpi)));
    const TextFit fit = MeasureCaption(button, 3);
    EXPECT_TRUE(fit.fits()) << "caption needs " << fit.needed.cx << " px, has " << fit.available.cx;
    // No default button: Enter presses nothing by itself.
    EXPECT_FALSE(Style(button) & BS_DEFPUSHBUTTON);
  }

  HWND frame = Control(main, f1::Frame1);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(Text(frame), L"Informacja o programie");
  EXPECT_TRUE(SameRect(RectIn(frame, main), TwipsRect(120, 120, 6855, 2295, dpi)));
  const TextFit frame_fit = MeasureCaption(frame, 8);
  EXPECT_LE(frame_fit.needed.cx, frame_fit.available.cx) << "frame caption is clipped";

  HWND label = Control(main, f1::Label1);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(Text(label), kDescription);
  EXPECT_TRUE(SameRect(RectIn(label, frame), TwipsRect(180, 240, 6495, 1995, dpi)))
      << "the label's place inside the frame";
  const TextFit label_fit = MeasureWrappedText(label);
  EXPECT_TRUE(label_fit.fits()) << "the description needs " << label_fit.needed.cx << "x"
                                << label_fit.needed.cy << " px in " << Utf8(label_fit.font)
                                << ", the label has " << label_fit.available.cx << "x"
                                << label_fit.available.cy;
  // Whatever the font, the drawn text keeps clear of the label's bottom edge: a clipped last
  // line would reach it.
  const RECT ink = InkBounds(label);
  EXPECT_FALSE(IsRectEmpty(&ink)) << "nothing drawn in the label";
  EXPECT_LT(ink.bottom, ClientSize(label).cy - 1) << "the description reaches the label's bottom edge";

  // The focus starts on Start; Tab goes on to WWW, Import, Export and back to Start.
  EXPECT_EQ(FocusOf(main), Control(main, f1::Command1));
  for (int next : {f1::Command3, f1::Command4, f1::Command5, f1::Command1}) {
    PressKey(FocusOf(main), VK_TAB);
    HWND expected = Control(main, next);
    for (int i = 0; i < 200 && FocusOf(main) != expected; ++i) Sleep(10);
    EXPECT_EQ(FocusOf(main), expected) << "Tab to " << Utf8(Text(expected));
  }

  Shoot(main, L"main");
}

TEST_F(MainWindowTest, StartWithNoListsReportsZerosAndCreatesNoKey) {
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  const MessageBoxInfo box = PressStart(main);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.text, Summary(0, 0, 0, 0));
  EXPECT_EQ(box.text,
            L"Liczba ostatnio używanych plików dla VB5: 0\r\nz czego usunięto 0 martwych wpisów\r\n\r\n"
            L"Liczba ostatnio używanych plików dla VB6: 0\r\nz czego usunięto 0 martwych wpisów\r\n");
  EXPECT_EQ(box.caption, L"Brushwick");
  EXPECT_EQ(box.icon, BoxIcon::Information) << IconName(box.icon);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  Shoot(box.window, L"summary");
  EXPECT_TRUE(CloseMessageBox(box.window));

  EXPECT_FALSE(ListKeyExists("5.0"));
  EXPECT_FALSE(ListKeyExists("6.0"));
  EXPECT_TRUE(app().Running());
  EXPECT_TRUE(Sync(main));
}

TEST_F(MainWindowTest, StartDropsDeadEntriesKeepsOrderAndASecondRunRemovesNothing) {
  TempFolder files;
  std::vector<std::string> seeded, survivors;
  for (int i = 1; i <= 12; ++i) {
    const std::wstring path = files / (L"projekt" + std::to_wstring(i) + L".vbp");
    const bool dead = i == 2 || i == 7 || i == 12;  // the last one too: nothing is special about it
    if (!dead) WriteBytes(path, "Type=Exe\r\n");
    seeded.push_back(WideToAnsi(path));
    if (!dead) survivors.push_back(seeded.back());
  }
  // A folder counts as existing, and duplicates stay.
  seeded[3] = WideToAnsi(files.path());
  survivors[2] = seeded[3];
  seeded[5] = seeded[0];
  survivors[4] = seeded[0];
  SeedList("5.0", seeded);

  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  const MessageBoxInfo box = PressStart(main);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.text,
            L"Liczba ostatnio używanych plików dla VB5: 12\r\nz czego usunięto 3 martwych wpisów\r\n\r\n"
            L"Liczba ostatnio używanych plików dla VB6: 0\r\nz czego usunięto 0 martwych wpisów\r\n");
  EXPECT_EQ(box.caption, L"Brushwick");
  Shoot(box.window, L"summary");
  EXPECT_TRUE(CloseMessageBox(box.window));

  std::map<std::string, RegValue> expected;
  for (size_t i = 0; i < survivors.size(); ++i) expected[std::to_string(i + 1)] = {REG_SZ, Sz(survivors[i])};
  EXPECT_EQ(ListValues("5.0"), expected) << "survivors as \"1\"..\"9\", in order, nothing beyond";
  EXPECT_FALSE(ListKeyExists("6.0"));

  CleanAndExpect(main, Summary(9, 0, 0, 0));
  EXPECT_EQ(ListValues("5.0"), expected);
}

TEST_F(MainWindowTest, AGapEndsTheScanAndBothVersionsAreCleaned) {
  TempFolder files;
  const std::string alive = WideToAnsi(files / L"alive.vbp");
  const std::string gone = WideToAnsi(files / L"gone.vbp");
  WriteBytes(files / L"alive.vbp", "");
  PutListValue("5.0", "1", gone);
  PutListValue("5.0", "2", alive);
  PutListValue("5.0", "3", gone);
  PutListValue("5.0", "5", gone, REG_EXPAND_SZ);  // beyond the gap: never read, tested or deleted
  SeedList("6.0", {alive, gone, alive});

  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  CleanAndExpect(main, Summary(3, 2, 3, 1));

  const std::map<std::string, RegValue> vb5 = {{"1", {REG_SZ, Sz(alive)}},
                                               {"5", {REG_EXPAND_SZ, Sz(gone)}}};
  EXPECT_EQ(ListValues("5.0"), vb5);
  const std::map<std::string, RegValue> vb6 = {{"1", {REG_SZ, Sz(alive)}}, {"2", {REG_SZ, Sz(alive)}}};
  EXPECT_EQ(ListValues("6.0"), vb6);

  // A list with an entry too long to read, and one that cannot be changed: both stay exactly as
  // they are, and the summary says which entry and why, with the warning icon.
  SeedList("5.0", {gone, alive, std::string(255, 'x'), gone});
  SeedList("6.0", {gone, alive});
  DenyOnListKey("6.0", KEY_SET_VALUE);
  const auto before5 = ListValues("5.0"), before6 = ListValues("6.0");
  const MessageBoxInfo box = PressStart(main);
  DenyOnListKey("6.0", 0);
  EXPECT_EQ(box.icon, BoxIcon::Warning) << IconName(box.icon);
  EXPECT_EQ(box.text.rfind(Summary(2, 0, 2, 0) + L"\r\n", 0), 0u) << Utf8(box.text);
  for (const wchar_t* note :
       {L"\r\nListę VB5 pozostawiono bez zmian: wpisu \"3\" nie da się odczytać dokładnie (błąd 234 "
        L"ERROR_MORE_DATA: tekst jest dłuższy niż 254 znaki).\r\n",
        L"\r\nNie udało się zmienić listy VB6 (wpis \"1\", błąd 5 ERROR_ACCESS_DENIED"})
    EXPECT_NE(box.text.find(note), std::wstring::npos) << Utf8(box.text);
  Shoot(box.window, L"summary-notes");
  EXPECT_TRUE(CloseMessageBox(box.window));
  EXPECT_EQ(ListValues("5.0"), before5);
  EXPECT_EQ(ListValues("6.0"), before6);
}

// Two copies cleaning at the same moment take turns: one cleans both lists, the other then finds
// nothing to remove, and every live entry is there afterwards, in order, exactly once. A copy
// that finds the lists taken waits with its window answering, and when they stay taken it says
// so and changes nothing.
TEST_F(MainWindowTest, TwoCopiesCleaningAtOnceLoseNoEntry) {
  TempFolder files;
  std::vector<std::string> seeded, survivors;
  for (int i = 1; i <= 1000; ++i) {
    const std::wstring path = files / (L"p" + std::to_wstring(i) + L".vbp");
    if (i % 2) {
      WriteBytes(path, "");
      survivors.push_back(WideToAnsi(path));
    }
    seeded.push_back(WideToAnsi(path));
  }
  std::map<std::string, RegValue> expected;
  for (size_t i = 0; i < survivors.size(); ++i) expected[std::to_string(i + 1)] = {REG_SZ, Sz(survivors[i])};

  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  AppProcess other = AppProcess::Start(folder().exe(), folder().working_folder());
  HWND other_main = WaitForWindow(other, ids::kForm1Class, &kTitle, Visibility::Visible);
  ASSERT_NE(other_main, nullptr);

  const std::multiset<std::wstring> summaries = {Summary(1000, 500, 1000, 500), Summary(500, 0, 500, 0)};
  for (int round = 1; round <= 4; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    SeedList("5.0", seeded);
    SeedList("6.0", seeded);
    Click(Control(main, f1::Command1));
    Click(Control(other_main, f1::Command1));
    std::multiset<std::wstring> shown;
    for (const AppProcess* copy : {&app(), &other}) {
      const auto box = WaitForMessageBox(*copy, Millis(60000));
      ASSERT_TRUE(box.has_value()) << "no summary";
      shown.insert(box->text);
      EXPECT_TRUE(CloseMessageBox(box->window));
    }
    EXPECT_EQ(shown, summaries);
    EXPECT_TRUE(ListValues("5.0") == expected) << "5.0: live entries lost, doubled or out of order";
    EXPECT_TRUE(ListValues("6.0") == expected) << "6.0: live entries lost, doubled or out of order";
  }

  // A copy that holds the lists for long (a long import) is waited for until it is done.
  SeedList("5.0", seeded);
  {
    ListsLock held;  // as another copy would hold it
    ASSERT_TRUE(held.Acquire(0));
    Click(Control(main, f1::Command1));
    EXPECT_TRUE(Sync(main)) << "the waiting copy does not answer";
    HWND wait = WaitForWindow(app(), ids::kFrmWaitClass, nullptr, Visibility::Visible);
    EXPECT_NE(wait, nullptr) << "nothing shows that Start waits";
    EXPECT_FALSE(WaitForMessageBox(app(), Millis(500)).has_value()) << "gave up while the other copy worked";
    EXPECT_EQ(ListValues("5.0").size(), seeded.size());
  }
  const auto box = WaitForMessageBox(app(), Millis(60000));
  ASSERT_TRUE(box.has_value()) << "no summary after the wait";
  EXPECT_EQ(box->text, Summary(1000, 500, 500, 0));
  EXPECT_TRUE(CloseMessageBox(box->window));
  EXPECT_TRUE(ListValues("5.0") == expected);
}

// A drive that is not there says nothing about the files on it: their entries stay unless the
// user, asked once per run, says to remove them, and then they are counted apart from the dead
// ones. A list that changes while the question is open (an IDE that closes writes its list back)
// is decided on again as it is then: only a new entry out of reach is asked about again.
TEST_F(MainWindowTest, EntriesOnADriveThatIsNotThereStayUnlessTheUserSaysToRemoveThem) {
  TempFolder files;
  const std::string alive = WideToAnsi(files / L"alive.vbp"), gone = WideToAnsi(files / L"gone.vbp");
  const std::string alive2 = WideToAnsi(files / L"alive2.vbp"), fresh = WideToAnsi(files / L"nowy.vbp");
  for (const wchar_t* name : {L"alive.vbp", L"alive2.vbp", L"nowy.vbp"}) WriteBytes(files / name, "");
  const std::string away5 = "Q:\\Projekty\\away.vbp", away6 = "q:\\x.vbp", away_new = "Q:\\nowy.vbp";
  const std::wstring kAwayNote = L"\r\nUsunięto też, zgodnie z odpowiedzią Tak, wpisy z miejsc, które były niedostępne: ";
  struct Case {
    const char* name;
    std::vector<std::string> vb5, vb6;
    int answer;
    std::vector<std::string> written;  // the 5.0 list as written while the question is open
    int second_answer;                 // 0: no second question
    std::vector<std::string> expected5, expected6;
    std::wstring summary;
  };
  const Case cases[] = {
      {"No keeps them", {away5, alive, gone}, {away6}, IDNO, {}, 0, {away5, alive}, {away6}, Summary(3, 1, 1, 0)},
      {"Yes removes them, not as dead", {away5, alive}, {away6}, IDYES, {}, 0, {alive}, {},
       Summary(2, 0, 1, 0) + kAwayNote + L"VB5: 1, VB6: 1.\r\n"},
      {"the list changes meanwhile",
       {alive, gone, away5, alive2},
       {alive},
       IDYES,
       {fresh, alive, gone, away5, alive2, away_new},
       IDNO,
       {fresh, alive, alive2, away_new},
       {alive},
       Summary(6, 1, 1, 0) + kAwayNote + L"VB5: 1, VB6: 0.\r\n"},
  };
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SeedList("5.0", c.vb5);
    SeedList("6.0", c.vb6);
    Click(Control(main, f1::Command1));
    const auto question = WaitForMessageBox(app());
    ASSERT_TRUE(question) << "no question about the entries out of reach";
    EXPECT_EQ(question->icon, BoxIcon::Question) << IconName(question->icon);
    EXPECT_EQ(question->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(question->defaultButton, IDNO);
    const std::wstring places = c.vb6 == std::vector<std::string>{away6} ? L": 2\r\n\r\n    Q:\\   2\r\n"
                                                                        : L": 1\r\n\r\n    Q:\\   1\r\n";
    EXPECT_NE(question->text.find(places), std::wstring::npos) << Utf8(question->text);
    if (c.answer == IDNO) Shoot(question->window, L"question");
    if (!c.written.empty()) SeedList("5.0", c.written);
    ASSERT_TRUE(AnswerMessageBox(question->window, c.answer));
    if (c.second_answer) {
      const auto again = WaitForMessageBox(app());
      ASSERT_TRUE(again) << "no question about the new entry out of reach";
      EXPECT_NE(again->text.find(L": 1\r\n\r\n    Q:\\   1\r\n"), std::wstring::npos) << Utf8(again->text);
      ASSERT_TRUE(AnswerMessageBox(again->window, c.second_answer));
    }
    const MessageBoxInfo summary = PressStartSummary();
    EXPECT_EQ(summary.text, c.summary);
    EXPECT_EQ(summary.icon, BoxIcon::Information) << IconName(summary.icon);
    EXPECT_TRUE(CloseMessageBox(summary.window));
    for (const auto& [version, texts] : {std::pair{"5.0", c.expected5}, std::pair{"6.0", c.expected6}}) {
      std::map<std::string, RegValue> expected;
      for (size_t i = 0; i < texts.size(); ++i) expected[std::to_string(i + 1)] = {REG_SZ, Sz(texts[i])};
      EXPECT_EQ(ListValues(version), expected) << version << ": entries lost, doubled or left behind a gap";
    }
  }
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  CleanAndExpect(main, Summary(0, 0, 0, 0));
  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto code = app().WaitForExit(Millis(5000));
  ASSERT_TRUE(code.has_value()) << "the program still runs 5 s after its window was closed";
  EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowTest, WebButtonNeitherCrashesNorHangs) {
  // The browser hand-off must be off, so that nothing leaves this machine.
  const std::wstring overrides = EnvVar(L"WINEDLLOVERRIDES");
  if (overrides.find(L"winebrowser.exe=d") == std::wstring::npos)
    GTEST_SKIP() << "WINEDLLOVERRIDES does not disable winebrowser.exe";
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr);
  Click(Control(main, f1::Command3));
  EXPECT_TRUE(Sync(main)) << "the window stopped answering after WWW";
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(1000))) << "a message box followed WWW";
  EXPECT_TRUE(app().Running());
  EXPECT_TRUE(Visible(main));
  // Still usable afterwards.
  CleanAndExpect(main, Summary(0, 0, 0, 0));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app().WaitForExit(Millis(5000)), std::optional<DWORD>(0));
}

}  // namespace
