#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/text.h"
#include "settings/options.h"
#include "settings/texts.h"
#include "startup_fixture.h"

namespace {

using namespace std::string_literals;

class OptionsTest : public ProgramFolderTest {};

TEST_F(OptionsTest, BuiltInChoiceStartsDirectlyWithoutTheLangFolder) {
  for (const std::string content : {"#\r\n", "#", "#\r"}) {
    WriteOptions(content);
    CurrentLanguage = "stale";
    EXPECT_TRUE(LoadStoredLanguage(folder())) << content;
    EXPECT_EQ(CurrentLanguage, "#");
    EXPECT_EQ(SaveCurrentLanguage(folder()), std::nullopt);
    EXPECT_EQ(ReadOptions(), "#\r\n");
  }
}

TEST_F(OptionsTest, OnlyTheFirstLineCountsAndRewritingDropsTheRest) {
  AddLanguageFile(L"English.txt");
  WriteOptions("English\r\nDeutsch\r\n#\r\ntrailing");
  ASSERT_TRUE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "English");
  ASSERT_EQ(SaveCurrentLanguage(folder()), std::nullopt);
  EXPECT_EQ(ReadOptions(), "English\r\n");
}

TEST_F(OptionsTest, TheFirstLineEndsAtCrLfOrALoneCrButNotAtALoneLf) {
  WriteOptions("Eng\nlish\r\nnext");
  EXPECT_EQ(ReadOptionsFile(folder()), "Eng\nlish");
  WriteOptions("English\rnext");
  EXPECT_EQ(ReadOptionsFile(folder()), "English");
  WriteOptions("  blanks kept  ");
  EXPECT_EQ(ReadOptionsFile(folder()), "  blanks kept  ");
}

TEST_F(OptionsTest, AnEmptyFirstLineProbesTheFileNamedOnlyTxt) {
  WriteOptions("\r\nEnglish\r\n");
  AddLanguageFile(L"English.txt");
  EXPECT_FALSE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "");
  AddLanguageFile(L".txt");
  EXPECT_TRUE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "");
}

TEST_F(OptionsTest, HashFollowedByABlankIsALanguageName) {
  WriteOptions("# \r\n");
  EXPECT_FALSE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "# ");
  AddLanguageFile(L"# .txt");
  EXPECT_TRUE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "# ");
}

TEST_F(OptionsTest, LanguageNamesMatchFilesWithoutRegardToCase) {
  AddLanguageFile(L"English.txt");
  WriteOptions("english\r\n");
  EXPECT_TRUE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "english");  // kept as stored, not as the file is named
}

TEST_F(OptionsTest, AMissingLanguageFileLeadsToThePickerKeepingTheName) {
  WriteOptions("Klingon\r\n");
  EXPECT_FALSE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "Klingon");
  try {
    ProbeLanguageFile(folder(), "Klingon");
    FAIL() << "the probe of a missing file succeeded";
  } catch (const AppError& error) {
    EXPECT_TRUE(error.code == ERROR_FILE_NOT_FOUND || error.code == ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(error.subject, LanguageFilePath(folder(), "Klingon"));
  }
  // A folder that carries the file's name is no language file either.
  CreateDirectoryW((folder() + L"\\lang").c_str(), nullptr);
  CreateDirectoryW(LanguageFilePath(folder(), "Klingon").c_str(), nullptr);
  EXPECT_FALSE(LoadStoredLanguage(folder()));
}

TEST_F(OptionsTest, MissingOrEmptyOptionsFileLeadsToThePicker) {
  // A first line longer than any path can be names no language file, whatever follows it.
  const std::string overlong(32768, 'x');
  const struct {
    const char* what;
    std::optional<std::string> content;  // none: no options file
    DWORD code;
  } cases[] = {{"missing", std::nullopt, ERROR_FILE_NOT_FOUND},
               {"empty", "", ERROR_HANDLE_EOF},
               {"overlong, more lines after it", overlong + "\r\n#\r\n", ERROR_FILENAME_EXCED_RANGE},
               {"overlong, alone", overlong, ERROR_FILENAME_EXCED_RANGE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.content) WriteOptions(*c.content);
    try {
      ReadOptionsFile(folder());
      ADD_FAILURE() << "a first line was read";
    } catch (const AppError& error) {
      EXPECT_EQ(error.code, c.code);
      EXPECT_EQ(error.subject, options_path());
    }
    EXPECT_FALSE(LoadStoredLanguage(folder()));
    EXPECT_EQ(CurrentLanguage, "");
    if (!c.content) {
      EXPECT_FALSE(FileExists(options_path()));  // checking creates nothing
    }
  }
  WriteOptions(std::string(32767, 'x') + "\r\n#\r\n");
  EXPECT_EQ(ReadOptionsFile(folder()), std::string(32767, 'x'));
}

TEST_F(OptionsTest, DeviceNamesAndNulCharactersAreNeverOpened) {
  // "NUL" would open the null device and read as an empty file; a NUL byte would cut the path
  // short and open another file ("lang\Eng" for "Eng\0lish").
  CreateDirectoryW((folder() + L"\\lang").c_str(), nullptr);
  WriteBytes(folder() + L"\\lang\\Eng", "");
  for (const std::string& name : {"NUL"s, "nul"s, "Eng\0lish"s}) {
    WriteOptions(name + "\r\n");
    EXPECT_FALSE(LoadStoredLanguage(folder())) << name;
    EXPECT_EQ(CurrentLanguage, name);
    EXPECT_THROW(ProbeLanguageFile(folder(), name), AppError);
  }
}

TEST_F(OptionsTest, AFailedRewriteLeavesTheFileAndStillAllowsTheStart) {
  WriteOptions("#\r\nsecond line\r\n");
  ASSERT_TRUE(SetFileAttributesW(options_path().c_str(), FILE_ATTRIBUTE_READONLY));

  // Reading and probing succeed: the main window can open, and since the first line already
  // names the language, there is nothing to save and nothing to tell.
  EXPECT_TRUE(LoadStoredLanguage(folder()));
  EXPECT_EQ(CurrentLanguage, "#");
  EXPECT_EQ(SaveCurrentLanguage(folder()), std::nullopt);
  // Another language (the picker's choice) is not stored: the failure is handed back for one
  // message, naming the file and the reason.
  CurrentLanguage = "English";
  const std::optional<AppError> failure = SaveCurrentLanguage(folder());
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->code, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(failure->subject, options_path());
  EXPECT_THROW(WriteOptionsFile(folder(), "English"), AppError);

  EXPECT_EQ(ReadOptions(), "#\r\nsecond line\r\n");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder() + L"\\*~*").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  SetFileAttributesW(options_path().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(OptionsTest, WritingCreatesTheFileWithOneLine) {
  WriteOptionsFile(folder(), "New Zealand");
  EXPECT_EQ(ReadOptions(), "New Zealand\r\n");
  WriteOptionsFile(folder(), "");
  EXPECT_EQ(ReadOptions(), "\r\n");
  EXPECT_EQ(ReadOptionsFile(folder()), "");
}

TEST_F(OptionsTest, AnsiNamesRoundTripByteForByte) {
  // A Polish name in the ANSI code page is stored, read back and used in the path unchanged.
  const std::string name = "J\xEAzyk \xB3\xF3" "d\x9F";
  CurrentLanguage = name;
  ASSERT_EQ(SaveCurrentLanguage(folder()), std::nullopt);
  EXPECT_EQ(ReadOptions(), name + "\r\n");
  EXPECT_EQ(ReadOptionsFile(folder()), name);
  AddLanguageFile(AnsiToWide(name) + L".txt");
  EXPECT_TRUE(LoadStoredLanguage(folder()));
}

TEST_F(OptionsTest, TheTextsInUseFollowTheLanguageSetAndTheOneStored) {
  const auto speaks = [](bool polish) {
    return std::wstring_view(Tr(Text::Cancel)) == BuiltInText(Text::Cancel, polish);
  };
  SetCurrentLanguage("#");
  EXPECT_EQ(CurrentLanguage, "#");
  EXPECT_TRUE(speaks(true));
  CurrentTexts().SetLine(1, L"from a file");
  SetCurrentLanguage("English");
  EXPECT_TRUE(speaks(false));
  EXPECT_EQ(std::wstring_view(Tr(TextOfLine(1))), BuiltInText(TextOfLine(1), false)) << "a file's text outlived its language";
  WriteOptions("#\r\n");
  ASSERT_TRUE(LoadStoredLanguage(folder()));
  EXPECT_TRUE(speaks(true));
  SetCurrentLanguage("");
  EXPECT_TRUE(speaks(false));
}

}  // namespace
