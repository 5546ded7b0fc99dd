// Language files in the real program, driven from outside: English chosen in the picker reaches
// every window and the summary; files that cannot be applied send the user back to the picker
// and leave nothing half translated; "#" always means the built-in texts; blanks are kept.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"
#include "driver/app_test.h"
#include "forms/ids.h"

namespace {

using namespace ui;
namespace f1 = ids::form1;
namespace ex = ids::frmexport;
namespace im = ids::frmimport;
namespace picker_ids = ids::frmlang;

const std::wstring kPolishDescriptionStart = L"VB5 i VB6 tworzy listę ostatnio używanych plików.";

// The built-in texts in the order of a language file's lines.
const std::vector<std::wstring> kPolishLines = {
    L"Start", L"Importuj listę", L"Eksportuj listę", L"WWW", L"Informacja o programie",
    L"VB5 i VB6 tworzy listę ostatnio używanych plików. Program ten analizuje owe listy, czy nie ma "
    L"odwołań do nieistniejących plików i jeśli są, to je usuwa. Program obsługuje VB5 i VB6",
    L"Aby rozpocząć usuwanie martwych wpisów, kliknij w przycisk Start",
    L"Autorem programu jest Kadrin. Program jest w 100% darmowy",
    L"UWAGA: Przed kliknięciem w przycisk Go zamknij wszystkie otwarte kopie VB, w przeciwnym "
    L"wypadku podczas zamykania VB zostanie przywrócona stara lista !!",
    L"Eksportuj listę", L"Podaj nazwę listy", L"Eksport dotyczy VB w wesji", L"Anuluj",
    L"Importuj listę", L"Wybierz listę", L"Importuj", L"Anuluj",
    L"Liczba ostatnio używanych plików dla VB5: ", L"z czego usunięto ", L" martwych wpisów",
    L"Liczba ostatnio używanych plików dla VB6: ", L"z czego usunięto ", L" martwych wpisów"};

// The summary a language's lines make of the four numbers.
std::wstring SummaryIn(const std::vector<std::wstring>& lines, int vb5_count, int vb5_removed, int vb6_count,
                       int vb6_removed) {
  return lines[17] + std::to_wstring(vb5_count) + L"\r\n" + lines[18] + std::to_wstring(vb5_removed) +
         lines[19] + L"\r\n\r\n" + lines[20] + std::to_wstring(vb6_count) + L"\r\n" + lines[21] +
         std::to_wstring(vb6_removed) + lines[22] + L"\r\n";
}

// A language file of `count` lines ended by CR LF, each telling where it came from.
std::string LanguageFile(const std::string& tag, int count = 23, const char* line_end = "\r\n") {
  std::string bytes;
  for (int i = 1; i <= count; ++i) bytes += tag + " " + std::to_string(i) + line_end;
  return bytes;
}

bool Contains(const std::wstring& text, const std::wstring& part) {
  return !part.empty() && text.find(part) != std::wstring::npos;
}

// A one-line caption (button, frame) is not cut off: its width fits the control.
void ExpectCaptionFits(HWND control, int margin) {
  const TextFit fit = MeasureCaption(control, margin);
  EXPECT_LE(fit.needed.cx, fit.available.cx)
      << "\"" << Utf8(Text(control)) << "\" needs " << fit.needed.cx << " px in " << Utf8(fit.font)
      << ", the control has " << fit.available.cx;
}

class LanguageTest : public AppTest {
 protected:
  void AddLanguage(const std::wstring& file, const std::string& bytes) {
    MakeFolders(folder() / L"lang");
    WriteFileBytes(folder() / (L"lang\\" + file), bytes);
  }

  // Starts the program; the first visible window, or null. `main` tells which one it is.
  HWND StartAndWait(bool& main) {
    Launch();
    for (int waited = 0; waited < 10000 && app().Running(); waited += 10) {
      if (HWND w = FindTopWindow(app().pid(), ids::kForm1Class, nullptr, Visibility::Visible)) {
        main = true;
        return w;
      }
      if (HWND w = FindTopWindow(app().pid(), ids::kFrmLangClass, nullptr, Visibility::Visible)) {
        main = false;
        return w;
      }
      Sleep(10);
    }
    return nullptr;
  }

  HWND WaitForPicker() { return WaitForWindow(app(), ids::kFrmLangClass, nullptr, Visibility::Visible); }
  HWND WaitForMain() { return WaitForWindow(app(), ids::kForm1Class, nullptr, Visibility::Visible); }



  // Opens the export (Command5) or import (Command4) window from the main window.
  HWND OpenFromMain(HWND main, int button, const wchar_t* window_class) {
    Click(Control(main, button));
    HWND window = WaitForWindow(app(), window_class, nullptr, Visibility::Visible);
    EXPECT_NE(window, nullptr) << "no " << Utf8(window_class);
    return window;
  }

  // Presses a window's cancel button and waits for it to hide.
  void Cancel(HWND window, int button) {
    Click(Control(window, button));
    EXPECT_TRUE(WaitForWindowGone(window, Millis(3000), true)) << "the window stays open";
  }

  // Presses Start and returns the summary's text; the box is closed again.
  std::wstring RunAndReadSummary(HWND main, const std::wstring& shot = L"") {
    Click(Control(main, f1::Command1));
    const auto box = WaitForMessageBox(app());
    if (!box) {
      ADD_FAILURE() << "no summary after Start";
      return {};
    }
    EXPECT_EQ(box->caption, L"Brushwick");
    if (!shot.empty()) Shoot(box->window, shot);
    EXPECT_TRUE(CloseMessageBox(box->window));
    return box->text;
  }

  // The export and import windows and the summary show the language's texts (lines 10 to 23),
  // and the export and import captions fit their controls.
  void ExpectLinesInTheOtherWindows(HWND main, const std::vector<std::wstring>& lines, const std::wstring& shots = L"",
                                    const std::wstring& ok = L"OK") {
    auto line = [&](int number) { return lines[static_cast<size_t>(number - 1)]; };
    if (HWND w = OpenFromMain(main, f1::Command5, ids::kFrmExportClass)) {
      EXPECT_EQ(Text(w), line(10));
      EXPECT_EQ(Text(Control(w, ex::Frame1)), line(11));
      EXPECT_EQ(Text(Control(w, ex::Frame2)), line(12));
      EXPECT_EQ(Text(Control(w, ex::Command2)), line(13));
      EXPECT_EQ(Text(Control(w, ex::Command1)), ok);
      EXPECT_EQ(Text(Control(w, ex::Check1)), L"Visual Basic 5.0");
      for (int id : {ex::Frame1, ex::Frame2}) ExpectCaptionFits(Control(w, id), 8);
      ExpectCaptionFits(Control(w, ex::Command2), 3);
      if (!shots.empty()) Shoot(w, L"export-" + shots);
      Cancel(w, ex::Command2);
    }
    if (HWND w = OpenFromMain(main, f1::Command4, ids::kFrmImportClass)) {
      EXPECT_EQ(Text(w), line(14));
      EXPECT_EQ(Text(Control(w, im::Frame1)), line(15));
      EXPECT_EQ(Text(Control(w, im::Command1)), line(16));
      EXPECT_EQ(Text(Control(w, im::Command2)), line(17));
      ExpectCaptionFits(Control(w, im::Frame1), 8);
      for (int id : {im::Command1, im::Command2}) ExpectCaptionFits(Control(w, id), 3);
      if (!shots.empty()) Shoot(w, L"import-" + shots);
      Cancel(w, im::Command2);
    }
  }

  void ExpectPolishEverywhereElse(HWND main) {
    ExpectLinesInTheOtherWindows(main, kPolishLines);
    EXPECT_EQ(RunAndReadSummary(main), SummaryIn(kPolishLines, 0, 0, 0, 0));
  }
};

// A language as the picker offers it, and what choosing it shows.
struct Language {
  const wchar_t* entry;     // the picker's entry
  const char* stored;       // what opcje.dat holds afterwards
  const wchar_t* shots;     // the screenshots' suffix
};

class ChosenLanguageTest : public LanguageTest, public ::testing::WithParamInterface<Language> {
 protected:
  // Polish: the built-in texts; any other: the lines of the shipped file.
  std::vector<std::wstring> Lines() const {
    return std::wstring(GetParam().entry) == L"Polski" ? kPolishLines : ReadShippedLanguage(GetParam().entry).lines;
  }
};

TEST_P(ChosenLanguageTest, ReachesEveryWindowAndTheSummaryAndFits) {
  const std::vector<std::wstring> lines = Lines();
  ASSERT_EQ(lines.size(), 23u) << "a language holds 23 lines";
  const bool polish = std::wstring(GetParam().entry) == L"Polski";
  auto line = [&](int number) { return lines[static_cast<size_t>(number - 1)]; };
  folder().CopyLanguages();
  SeedList("5.0", {WideToAnsi(folder().path()), WideToAnsi(folder() / L"gone.vbp")});

  bool is_main = true;
  HWND picker = StartAndWait(is_main);
  ASSERT_TRUE(picker && !is_main) << "the first start shows the picker";
  Choose(picker, GetParam().entry);
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(BoxOpen(main));
  EXPECT_EQ(folder().ReadOptions(), GetParam().stored);

  EXPECT_EQ(Text(main), L"Brushwick") << "the title is no language file's";
  const struct {
    int id;
    int line;
  } buttons[] = {{f1::Command1, 1}, {f1::Command4, 2}, {f1::Command5, 3}, {f1::Command3, 4}};
  for (const auto& b : buttons) {
    SCOPED_TRACE("line " + std::to_string(b.line));
    HWND button = Control(main, b.id);
    EXPECT_EQ(Text(button), line(b.line));
    ExpectCaptionFits(button, 3);
  }
  HWND frame = Control(main, f1::Frame1);
  EXPECT_EQ(Text(frame), line(5));
  ExpectCaptionFits(frame, 8);
  HWND label = Control(main, f1::Label1);
  // The built-in description keeps its first two paragraphs together; a file's are spaced.
  EXPECT_EQ(Text(label), line(6) + (polish ? L"\r\n" : L"\r\n\r\n") + line(7) + L"\r\n\r\n" + line(8) +
                             L"\r\n\r\n" + line(9) + L"\r\n");
  const TextFit label_fit = MeasureWrappedText(label);
  EXPECT_TRUE(label_fit.fits()) << "the description needs " << label_fit.needed.cx << "x"
                                << label_fit.needed.cy << " px in " << Utf8(label_fit.font)
                                << ", the label has " << label_fit.available.cx << "x"
                                << label_fit.available.cy;
  const RECT ink = InkBounds(label);
  EXPECT_LT(ink.bottom, ClientSize(label).cy - 1) << "the description reaches the label's bottom edge";
  Shoot(main, std::wstring(L"main-") + GetParam().shots);

  ExpectLinesInTheOtherWindows(main, lines, GetParam().shots,
                               polish ? L"OK" : ReadShippedLanguage(GetParam().entry).named["ExportButton"]);

  // The folder exists, gone.vbp does not.
  EXPECT_EQ(RunAndReadSummary(main, std::wstring(L"summary-") + GetParam().shots), SummaryIn(lines, 2, 1, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Languages, ChosenLanguageTest,
                         ::testing::Values(Language{L"Polski", "#\r\n", L"polish"},
                                           Language{L"English", "English\r\n", L"english"},
                                           Language{L"Deutsch", "Deutsch\r\n", L"german"},
                                           Language{L"Russkiy", "Russkiy\r\n", L"russian"}),
                         [](const ::testing::TestParamInfo<Language>& param) { return Utf8(param.param.entry); });

TEST_F(LanguageTest, FilesThatCannotBeAppliedSendTheUserBackToThePickerAndPolskiThenWorksEverywhere) {
  AddLanguage(L"Short.txt", LanguageFile("SHORT", 9));
  AddLanguage(L"Half.txt", LanguageFile("HALF", 15));  // translates the export window, half the import
  AddLanguage(L"Unix.txt", LanguageFile("UNIX", 23, "\n"));  // one line only
  std::vector<std::wstring> entries{L"Polski", L"Half", L"Short", L"Unix"};

  // At a direct start the short file is a reason to choose again, not an error.
  folder().WriteOptions("Short\r\n");
  bool is_main = true;
  HWND picker = StartAndWait(is_main);
  ASSERT_TRUE(picker && !is_main) << "lang\\Short.txt has 9 lines: the picker is shown instead";
  EXPECT_FALSE(BoxOpen(picker));
  EXPECT_EQ(ItemTexts(Control(picker, picker_ids::List1)), entries);

  // Chosen in the picker, a file that cannot be applied is named with its line count, and the
  // picker stays for another choice, with the refused entry selected by its name in the lang
  // folder as it is now, or nothing selected when its file is gone.
  const struct {
    const wchar_t* entry;
    const wchar_t* file;
    const wchar_t* count;
    const wchar_t* added;    // a file put into lang just before the choice, or nullptr
    bool removed;            // the chosen entry's file is deleted just before the choice
  } refused[] = {{L"Half", L"Half.txt", L"15 lines", nullptr, false},
                 {L"Unix", L"Unix.txt", L"1 line", L"Aaa.txt", false},
                 {L"Short", L"Short.txt", L"", nullptr, true}};
  for (const auto& r : refused) {
    SCOPED_TRACE(Utf8(r.entry));
    if (r.added) {
      AddLanguage(r.added, LanguageFile("AAA", 3));
      entries.insert(entries.begin() + 1, L"Aaa");
    }
    if (r.removed) {
      ASSERT_TRUE(DeleteFileW((folder() / (std::wstring(L"lang\\") + r.file)).c_str()));
      entries.erase(std::find(entries.begin(), entries.end(), r.entry));
    }
    Choose(picker, r.entry);
    const auto box = WaitForMessageBox(app());
    ASSERT_TRUE(box.has_value()) << "the user is not told why the language cannot be used";
    EXPECT_EQ(box->caption, L"Brushwick");
    EXPECT_TRUE(Contains(box->text, folder() / (std::wstring(L"lang\\") + r.file))) << Utf8(box->text);
    if (*r.count) {
      EXPECT_TRUE(Contains(box->text, r.count)) << Utf8(box->text);
    }
    if (r.file == std::wstring(L"Half.txt")) Shoot(box->window, L"incomplete");
    EXPECT_TRUE(CloseMessageBox(box->window));
    picker = WaitForPicker();
    ASSERT_NE(picker, nullptr) << "the picker is gone";
    EXPECT_EQ(FindTopWindow(app().pid(), ids::kForm1Class, nullptr, Visibility::Visible), nullptr);
    EXPECT_EQ(ItemTexts(Control(picker, picker_ids::List1)), entries);
    const auto found = std::find(entries.begin(), entries.end(), r.entry);
    const int chosen = found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
    EXPECT_EQ(SelectedIndex(Control(picker, picker_ids::List1)), chosen) << "the refused entry stays selected";
    EXPECT_TRUE(app().Running());
    EXPECT_EQ(folder().ReadOptions(), "Short\r\n") << "a refused language must not stay stored";
  }

  Choose(picker, L"Polski");
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(BoxOpen(main));
  EXPECT_EQ(folder().ReadOptions(), "#\r\n");
  EXPECT_EQ(Text(Control(main, f1::Command1)), L"Start");
  EXPECT_EQ(Text(Control(main, f1::Command4)), L"Importuj listę");
  EXPECT_EQ(Text(Control(main, f1::Command5)), L"Eksportuj listę");
  EXPECT_EQ(Text(Control(main, f1::Command3)), L"WWW");
  EXPECT_EQ(Text(Control(main, f1::Frame1)), L"Informacja o programie");
  EXPECT_EQ(Text(Control(main, f1::Label1)).rfind(kPolishDescriptionStart, 0), 0u)
      << Utf8(Text(Control(main, f1::Label1)));
  ExpectPolishEverywhereElse(main);
}

TEST_F(LanguageTest, TheHashEntryMeansTheBuiltInTextsAndNeverOpensHashTxt) {
  AddLanguage(L"#.txt", LanguageFile("HASH"));
  bool is_main = true;
  HWND picker = StartAndWait(is_main);
  ASSERT_TRUE(picker && !is_main);
  EXPECT_EQ(ItemTexts(Control(picker, picker_ids::List1)), (std::vector<std::wstring>{L"Polski", L"#"}));
  Choose(picker, L"#");
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(folder().ReadOptions(), "#\r\n");
  EXPECT_EQ(Text(Control(main, f1::Command4)), L"Importuj listę");
  EXPECT_EQ(Text(Control(main, f1::Label1)).rfind(kPolishDescriptionStart, 0), 0u);
  ExpectPolishEverywhereElse(main);
}

TEST_F(LanguageTest, BlanksAroundTheTextsAreKeptAndNamedLinesReachTheOtherWindows) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 17; ++i) lines.push_back("text " + std::to_string(i));
  lines[0] = " Go ";
  // After line 23: a line that names nothing, a text that has a line, and two named texts.
  lines.insert(lines.end(), {"VB5:", "  gone: ", "", " VB6 =", "", " dead ", "line 24", "MainStart=Los",
                             "ClearTitle=Liste leeren", "ClearButton= Leeren "});
  std::string file;
  for (const std::string& l : lines) file += l + "\r\n";
  file.resize(file.size() - 2);  // the last line ends at the end of the file
  AddLanguage(L"Blanks.txt", file);
  folder().WriteOptions("Blanks\r\n");
  SeedList("6.0", {WideToAnsi(folder() / L"gone.vbp")});

  bool is_main = false;
  HWND main = StartAndWait(is_main);
  ASSERT_TRUE(main && is_main) << "a complete file starts the main window directly";
  EXPECT_FALSE(BoxOpen(main));
  EXPECT_EQ(Text(Control(main, f1::Command1)), L" Go ");
  // Piece 1 has no trailing blank, so the number follows it at once; piece 3 is empty.
  EXPECT_EQ(RunAndReadSummary(main),
            L"VB5:0\r\n  gone: 0\r\n\r\n VB6 =1\r\n1 dead \r\n");

  // The clear window speaks the named texts, and English where the file names none.
  PostMessageW(main, WM_SYSCOMMAND, ids::form1menu::Clear, 0);
  HWND clear = WaitForWindow(app(), ids::kFrmClearClass, nullptr, Visibility::Visible);
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(Text(clear), L"Liste leeren");
  EXPECT_EQ(Text(Control(clear, ids::frmclear::Command1)), L" Leeren ");
  EXPECT_EQ(Text(Control(clear, ids::frmclear::Frame1)), L"Which list to clear?");
  EXPECT_EQ(Text(Control(clear, ids::frmclear::Command2)), L"Cancel");
  Shoot(clear, L"clear-named");
  Cancel(clear, ids::frmclear::Command2);
}

}  // namespace
