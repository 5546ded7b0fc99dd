// The start of the real program, driven from outside: the options file decides between the
// language picker and the main window; the picker's layout, its keys, its choice and closing it;
// a missing lang folder and an options file that cannot be rewritten.
#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "driver/app_test.h"
#include "forms/ids.h"

namespace {

using namespace ui;
namespace f1 = ids::form1;
namespace picker_ids = ids::frmlang;

const std::wstring kPolishImport = L"Importuj listę";  // built-in caption of Command4

// A complete language file (23 lines) whose every line tells where it came from.
std::string LanguageFile(const std::string& tag) {
  std::string bytes;
  for (int i = 1; i <= 23; ++i) bytes += tag + " " + std::to_string(i) + "\r\n";
  return bytes;
}

// Line `number` (from 1) of the English language file shipped beside the built exe.
std::wstring ShippedEnglishLine(int number) {
  const std::vector<std::wstring> lines = ShippedEnglish();
  if (number < 1 || static_cast<size_t>(number) > lines.size())
    return L"<English.txt has no line " + std::to_wstring(number) + L">";
  return lines[static_cast<size_t>(number - 1)];
}

// The system's text for an error, as a message that names the reason would carry it.
std::wstring ReasonText(DWORD code) {
  wchar_t buffer[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                 512, nullptr);
  std::wstring text = buffer;
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.' ||
                           text.back() == L' '))
    text.pop_back();
  return text;
}

bool Contains(const std::wstring& text, const std::wstring& part) {
  return !part.empty() && text.find(part) != std::wstring::npos;
}


enum class Opened { Nothing, Picker, Main };

const char* Name(Opened opened) {
  switch (opened) {
    case Opened::Picker: return "the picker";
    case Opened::Main: return "the main window";
    case Opened::Nothing: break;
  }
  return "no window";
}

class StartupTest : public AppTest {
 protected:
  void AddLanguage(const std::wstring& file, const std::string& bytes) {
    MakeFolders(folder() / L"lang");
    WriteFileBytes(folder() / (L"lang\\" + file), bytes);
  }

  std::wstring OptionsPath() { return folder() / L"opcje.dat"; }

  void SetOptionsReadOnly(bool read_only) {
    ASSERT_TRUE(SetFileAttributesW(OptionsPath().c_str(),
                                   read_only ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
  }

  // Starts the program and waits for its first visible window, the picker or the main window.
  Opened StartAndWait(HWND& window) {
    Launch();
    window = nullptr;
    for (int waited = 0; waited < 10000; waited += 10) {
      if ((window = FindTopWindow(app().pid(), ids::kForm1Class, nullptr, Visibility::Visible)))
        return Opened::Main;
      if ((window = FindTopWindow(app().pid(), ids::kFrmLangClass, nullptr, Visibility::Visible)))
        return Opened::Picker;
      if (!app().Running()) break;
      Sleep(10);
    }
    return Opened::Nothing;
  }


};

TEST_F(StartupTest, FirstStartOffersTheLanguagesAndTheChoiceLeadsStraightToTheMainWindowNextTime) {
  folder().CopyLanguages();  // English.txt and the translations
  AddLanguage(L"#.txt", LanguageFile("HASH"));
  AddLanguage(L"ABC.txt", LanguageFile("ABC"));
  AddLanguage(L"new zealand.txt", LanguageFile("NZ"));
  AddLanguage(L"polski.txt", LanguageFile("POLSKI"));

  HWND picker = nullptr;
  ASSERT_EQ(StartAndWait(picker), Opened::Picker) << "no options file: the picker comes first";
  HWND list = Control(picker, picker_ids::List1);
  ASSERT_NE(list, nullptr);
  // Polski first even though "#" and "ABC" sort before it; a polski.txt gives a second Polski.
  EXPECT_EQ(ItemTexts(list), (std::vector<std::wstring>{L"Polski", L"#", L"Abc", L"Deutsch", L"English", L"Espanol",
                                                         L"Francais", L"Italiano", L"New Zealand", L"Polski",
                                                         L"Portugues", L"Russkiy"}));
  EXPECT_EQ(SelectedIndex(list), 0);
  EXPECT_FALSE(FileExists(OptionsPath())) << "nothing is stored before OK";

  // The Polski that polski.txt brings still means the built-in texts: that file is never used.
  SelectItem(list, 9);
  Click(Control(picker, picker_ids::Command1));
  HWND main = WaitForWindow(app(), ids::kForm1Class, nullptr, Visibility::Visible);
  ASSERT_NE(main, nullptr) << "no main window after OK";
  EXPECT_TRUE(WaitForWindowGone(picker, Millis(3000), true)) << "the picker stays on the screen";
  EXPECT_EQ(Text(Control(main, f1::Command4)), kPolishImport);
  EXPECT_FALSE(BoxOpen(main));
  EXPECT_EQ(folder().ReadOptions(), "#\r\n");

  // Second start: straight to the main window; the picker is not even built.
  ASSERT_EQ(StartAndWait(main), Opened::Main);
  EXPECT_EQ(FindTopWindow(app().pid(), ids::kFrmLangClass), nullptr);
  EXPECT_EQ(Text(Control(main, f1::Command4)), kPolishImport);
  EXPECT_FALSE(BoxOpen(main));
  EXPECT_EQ(folder().ReadOptions(), "#\r\n");
}

TEST_F(StartupTest, ThePickerIsLaidOutAsDesignedIgnoresEnterAndEscAndClosingItStoresNothing) {
  folder().CopyLanguages();
  HWND picker = nullptr;
  ASSERT_EQ(StartAndWait(picker), Opened::Picker);
  const int dpi = DpiOf(picker);

  EXPECT_EQ(Text(picker), L"Select Language");
  const SIZE client = ClientSize(picker);
  EXPECT_EQ(client.cx, TwipsToPixels(2610, dpi));
  EXPECT_EQ(client.cy, TwipsToPixels(2505, dpi));
  if (dpi == 96) {
    EXPECT_TRUE(client.cx == 174 && client.cy == 167) << client.cx << "x" << client.cy;
  }
  const LONG style = Style(picker);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed size, no min/max";
  EXPECT_TRUE(style & WS_SYSMENU) << "the close box";

  HWND list = Control(picker, picker_ids::List1);
  HWND ok = Control(picker, picker_ids::Command1);
  ASSERT_TRUE(list && ok);
  EXPECT_TRUE(SameRect(RectIn(list, picker), TwipsRect(120, 120, 2415, 1815, dpi))) << "List1";
  EXPECT_TRUE(SameRect(RectIn(ok, picker), TwipsRect(120, 2040, 2415, 375, dpi))) << "OK";
  EXPECT_EQ(Text(ok), L"OK");
  EXPECT_FALSE(Style(ok) & BS_DEFPUSHBUTTON) << "OK is not the default button";
  EXPECT_FALSE(Style(list) & LBS_SORT) << "the list keeps Polski first";
  EXPECT_EQ(ItemTexts(list), (std::vector<std::wstring>{L"Polski", L"Deutsch", L"English", L"Espanol", L"Francais",
                                                         L"Italiano", L"Portugues", L"Russkiy"}));
  EXPECT_EQ(SelectedIndex(list), 0);
  EXPECT_EQ(FocusOf(picker), list) << "the focus starts in the list";
  Shoot(picker, L"picker");

  // Enter in the list, Esc and a double click press nothing.
  SelectItem(list, 1);
  PressKey(list, VK_RETURN, L'\r');
  PressKey(list, VK_ESCAPE, 0x1B);
  Send(picker, WM_COMMAND, MAKEWPARAM(picker_ids::List1, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(WaitForWindow(app(), ids::kForm1Class, nullptr, Visibility::Visible, Millis(300)), nullptr)
      << "the main window opened without OK";
  EXPECT_TRUE(Visible(picker));
  EXPECT_FALSE(BoxOpen(picker));
  EXPECT_EQ(SelectedIndex(list), 1);
  EXPECT_FALSE(FileExists(OptionsPath()));

  // Closed without a choice: the program ends and creates no options file.
  PostMessageW(picker, WM_CLOSE, 0, 0);
  EXPECT_EQ(app().WaitForExit(Millis(5000)), std::optional<DWORD>(0)) << "the program goes on";
  EXPECT_FALSE(FileExists(OptionsPath()));

  // An options file that led to the picker stays as it was.
  folder().WriteOptions("Klingon\r\nsecond line\r\n");
  ASSERT_EQ(StartAndWait(picker), Opened::Picker) << "lang\\Klingon.txt does not exist";
  PostMessageW(picker, WM_CLOSE, 0, 0);
  EXPECT_EQ(app().WaitForExit(Millis(5000)), std::optional<DWORD>(0));
  EXPECT_EQ(folder().ReadOptions(), "Klingon\r\nsecond line\r\n");
}

TEST_F(StartupTest, WithoutALangFolderThePickerOffersPolskiAloneAndTheBuiltInTextsNeedNoFolder) {
  ASSERT_FALSE(FileExists(folder() / L"lang"));
  HWND picker = nullptr;
  const Opened opened = StartAndWait(picker);
  if (opened != Opened::Picker) {
    const auto box = WaitForMessageBox(app(), Millis(500));
    FAIL() << "expected the picker, got " << Name(opened)
           << (box ? " and the message: " + Utf8(box->text) : std::string());
  }
  HWND list = Control(picker, picker_ids::List1);
  EXPECT_EQ(ItemTexts(list), std::vector<std::wstring>{L"Polski"});
  EXPECT_EQ(SelectedIndex(list), 0);
  EXPECT_FALSE(BoxOpen(picker));

  // OK with no change of selection stores the built-in texts.
  Click(Control(picker, picker_ids::Command1));
  HWND main = WaitForWindow(app(), ids::kForm1Class, nullptr, Visibility::Visible);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Text(Control(main, f1::Command4)), kPolishImport);
  EXPECT_FALSE(BoxOpen(main));
  EXPECT_EQ(folder().ReadOptions(), "#\r\n");

  ASSERT_EQ(StartAndWait(main), Opened::Main) << "\"#\" does not need the lang folder";
  EXPECT_FALSE(BoxOpen(main));
}

TEST_F(StartupTest, AnOptionsFileThatCannotBeRewrittenIsReportedOnlyWhenTheChoiceIsLost) {
  folder().CopyLanguages();
  const std::wstring reason = ReasonText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(reason.empty());

  // From the picker: the chosen language holds for this run, the user is told it was not saved.
  folder().WriteOptions("Klingon\r\n");
  SetOptionsReadOnly(true);
  HWND picker = nullptr;
  ASSERT_EQ(StartAndWait(picker), Opened::Picker);
  Choose(picker, L"English");
  HWND main = WaitForWindow(app(), ids::kForm1Class, nullptr, Visibility::Visible);
  ASSERT_NE(main, nullptr) << "the program must go on although the choice cannot be stored";
  auto box = WaitForMessageBox(app());
  ASSERT_TRUE(box.has_value()) << "the user is not told that the choice was not saved";
  EXPECT_EQ(box->caption, L"Brushwick");
  EXPECT_TRUE(Contains(box->text, OptionsPath())) << "names the file: " << Utf8(box->text);
  EXPECT_TRUE(Contains(box->text, reason)) << "names the reason: " << Utf8(box->text);
  EXPECT_TRUE(Contains(box->text, L"stays in use")) << Utf8(box->text);
  Shoot(box->window, L"not-saved");
  EXPECT_TRUE(CloseMessageBox(box->window));
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(500))) << "told more than once";
  EXPECT_EQ(Text(Control(main, f1::Command4)), ShippedEnglishLine(2)) << "English for this run";
  EXPECT_TRUE(Visible(main));
  EXPECT_FALSE(IsWindow(picker) && Visible(picker));
  EXPECT_EQ(folder().ReadOptions(), "Klingon\r\n");

  // A direct start whose file cannot be rewritten: its first line names the language in use
  // already, so nothing is lost and nothing is said.
  SetOptionsReadOnly(false);
  folder().WriteOptions("#\r\nmore\r\n");
  SetOptionsReadOnly(true);
  ASSERT_EQ(StartAndWait(main), Opened::Main);
  EXPECT_FALSE(MessageBoxAppears(app(), Millis(500))) << "a warning about nothing";
  EXPECT_EQ(Text(Control(main, f1::Command4)), kPolishImport);
  EXPECT_EQ(FindTopWindow(app().pid(), ids::kFrmLangClass, nullptr, Visibility::Visible), nullptr);
  EXPECT_EQ(folder().ReadOptions(), "#\r\nmore\r\n");
  EXPECT_TRUE(GetFileAttributesW(OptionsPath().c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(StartupTest, TheFirstLineOfTheOptionsFileDecidesAndOnlyItIsKept) {
  folder().CopyLanguages();
  struct Case {
    const char* what;
    std::string options;
    Opened opens;
    const char* language;  // the main window's, "" for the built-in texts
  };
  const Case cases[] = {
      {"# without a line end", "#", Opened::Main, ""},
      {"several lines", "English\r\n#\r\nPolski\r\n", Opened::Main, "English"},
      {"a name in lower case", "english\r\n", Opened::Main, "english"},
      {"# and a blank", "# \r\n", Opened::Picker, nullptr},
      {"# and a lone LF, which ends no line", "#\n", Opened::Picker, nullptr},
      {"an empty file", "", Opened::Picker, nullptr},
      {"an empty first line", "\r\n#\r\n", Opened::Picker, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    folder().WriteOptions(c.options);
    HWND window = nullptr;
    const Opened opened = StartAndWait(window);
    EXPECT_EQ(Name(opened), std::string(Name(c.opens)));
    if (opened != c.opens) continue;
    EXPECT_FALSE(BoxOpen(window));
    if (opened == Opened::Main) {
      const std::string language = c.language;
      EXPECT_EQ(Text(Control(window, f1::Command4)),
                language.empty() ? kPolishImport : ShippedEnglishLine(2));
      EXPECT_EQ(folder().ReadOptions(), (language.empty() ? "#" : language) + "\r\n")
          << "rewritten with the first line alone";
    } else {
      EXPECT_EQ(folder().ReadOptions(), c.options) << "nothing is stored before OK";
    }
  }
}

}  // namespace
