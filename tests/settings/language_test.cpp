#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "settings/language.h"
#include "common/text.h"
#include "settings/texts.h"
#include "startup_fixture.h"

namespace {

using LineList = std::vector<std::string>;

// "line 1", "line 2", ... each followed by `terminator`, the last one only when `final_end`.
std::string NumberedFile(int count, const std::string& terminator = "\r\n", bool final_end = true) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += "line " + std::to_string(i);
    if (i < count || final_end) text += terminator;
  }
  return text;
}

LineList NumberedLines(int count) {
  LineList lines;
  for (int i = 1; i <= count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

class LanguageTest : public ProgramFolderTest {
 protected:
  std::wstring Path(const std::wstring& name) { return folder() + L"\\lang\\" + name; }

  // Applies `language` and records every assignment in order; true when it completed.
  bool Apply(const std::string& language) {
    assigned_.clear();
    try {
      ApplyLanguage(folder(), language, [this](int number, const std::wstring& text) {
        assigned_.emplace_back(number, WideToAnsi(text, CP_UTF8));
      });
      return true;
    } catch (const AppError& error) {
      failure_ = error;
      return false;
    }
  }

  std::vector<std::pair<int, std::string>> assigned_;
  std::optional<AppError> failure_;
};

TEST_F(LanguageTest, TwentyThreeLinesWithOrWithoutAFinalLineEnd) {
  for (bool final_end : {true, false}) {
    AddLanguageFile(L"English.txt", NumberedFile(23, "\r\n", final_end));
    const LanguageLines file = ReadLanguageLines(Path(L"English.txt"));
    EXPECT_EQ(file.lines, NumberedLines(23)) << final_end;
    EXPECT_TRUE(file.complete());

    ASSERT_TRUE(Apply("English")) << (failure_ ? failure_->subject.c_str() : L"");
    ASSERT_EQ(assigned_.size(), 23u);
    for (int i = 0; i < 23; ++i)
      EXPECT_EQ(assigned_[i], std::make_pair(i + 1, "line " + std::to_string(i + 1)));
  }
}

TEST_F(LanguageTest, LinesAfterTheTwentyThirdNeverChangeTheTwentyThree) {
  AddLanguageFile(L"Long.txt", NumberedFile(40) + std::string(100000, 'x'));
  EXPECT_EQ(ReadLanguageLines(Path(L"Long.txt")).lines, NumberedLines(23));
  ASSERT_TRUE(Apply("long"));
  EXPECT_EQ(assigned_.size(), 23u);
  // Named lines after them, behind 5,000 comment lines, one naming a text that has a line, and
  // named texts too long for any text (in ANSI and in bytes): each is refused alone, and the
  // lines after it still count.
  std::string comments;
  for (int i = 0; i < 5000; ++i) comments += "; a comment\r\n";
  AddLanguageFile(L"Named.txt", NumberedFile(23) + comments + "Cancel=Abbrechen\r\nSummary1=x\r\n" +
                                    "Done=" + std::string(32768, 'n') + "\r\nMenuUndo=undo\r\n" +
                                    "MenuUndo=" + std::string(200000, 'u') + "\r\nLangOk=late\r\n" +
                                    "ClearButton=" + std::string(40000, 'c'));
  CurrentTexts().Reset(false);
  ASSERT_TRUE(Apply("Named"));
  EXPECT_EQ(assigned_.size(), 23u);
  EXPECT_EQ(std::wstring(Tr(Text::Cancel)), L"Abbrechen");
  EXPECT_EQ(std::wstring(Tr(Text::Summary1)), L"Recently used files for VB5: ");
  EXPECT_EQ(std::wstring(Tr(Text::Done)), L"OK");
  EXPECT_EQ(std::wstring(Tr(Text::MenuUndo)), L"undo");
  EXPECT_EQ(std::wstring(Tr(Text::LangOk)), L"late");
  EXPECT_EQ(std::wstring(Tr(Text::ClearButton)), L"Clear");
  CurrentTexts().Reset(false);

  // Long lines that span many reads are read whole, the last one too, up to 32,767 characters.
  LineList lines = NumberedLines(23);
  lines[21] = std::string(30000, 'v');
  lines[22] = std::string(32767, 'w');
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  AddLanguageFile(L"Wide.txt", text + "line 24\r\n");
  EXPECT_EQ(ReadLanguageLines(Path(L"Wide.txt")).lines, lines);
  text.resize(text.size() - 2);
  AddLanguageFile(L"Wide.txt", text);
  EXPECT_EQ(ReadLanguageLines(Path(L"Wide.txt")).lines, lines);

  // A longer line is no text: reading stops before it, with or without a line end after it, and
  // the lines before it are assigned as in a short file.
  for (const std::string& end : {std::string("\r\nline 11\r\n"), std::string()}) {
    AddLanguageFile(L"Huge.txt", NumberedFile(9) + std::string(32768, 'h') + end);
    const LanguageLines huge = ReadLanguageLines(Path(L"Huge.txt"));
    EXPECT_EQ(huge.lines, NumberedLines(9));
    EXPECT_FALSE(huge.complete());
    EXPECT_FALSE(Apply("Huge"));
    EXPECT_EQ(assigned_.size(), 9u);
    ASSERT_TRUE(failure_);
    EXPECT_EQ(failure_->subject, LanguageFilePath(folder(), "Huge"));
    EXPECT_EQ(failure_->problem, SettingsProblem::LineTooLong);
    EXPECT_EQ(failure_->number, 10);
  }
}

TEST_F(LanguageTest, AShortFileAssignsItsLinesThenFailsNamingTheFileAndItsLength) {
  AddLanguageFile(L"Nine.txt", NumberedFile(9));
  const LanguageLines file = ReadLanguageLines(Path(L"Nine.txt"));
  EXPECT_EQ(file.lines, NumberedLines(9));
  EXPECT_FALSE(file.complete());
  const AppError incomplete = file.IncompleteError();
  EXPECT_EQ(incomplete.subject, Path(L"Nine.txt"));
  EXPECT_EQ(incomplete.problem, SettingsProblem::TooFewLines);
  EXPECT_EQ(incomplete.number, 9);

  EXPECT_FALSE(Apply("Nine"));
  ASSERT_EQ(assigned_.size(), 9u);
  EXPECT_EQ(assigned_.back(), std::make_pair(9, std::string("line 9")));
  ASSERT_TRUE(failure_);
  EXPECT_EQ(failure_->subject, LanguageFilePath(folder(), "Nine"));
  EXPECT_EQ(failure_->number, 9);
}

TEST_F(LanguageTest, EmptyLinesAndBlanksAreTextsOfTheirOwn) {
  LineList lines = NumberedLines(23);
  lines[0] = "  Start  ";
  lines[1] = "";
  lines[19] = "";
  lines[22] = " dead entries";
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  AddLanguageFile(L"Blanks.txt", text);
  EXPECT_EQ(ReadLanguageLines(Path(L"Blanks.txt")).lines, lines);
}

TEST_F(LanguageTest, UnixLineEndsMakeOneLineAndLoneCrsEndLines) {
  AddLanguageFile(L"Unix.txt", NumberedFile(23, "\n"));
  const LanguageLines unix_file = ReadLanguageLines(Path(L"Unix.txt"));
  EXPECT_EQ(unix_file.lines, LineList{NumberedFile(23, "\n")});
  EXPECT_EQ(unix_file.IncompleteError().number, 1);

  AddLanguageFile(L"Mac.txt", NumberedFile(23, "\r"));
  EXPECT_EQ(ReadLanguageLines(Path(L"Mac.txt")).lines, NumberedLines(23));
}

// The byte-order mark makes every text UTF-8, the 23 lines included; without it the bytes are
// the ANSI code page's, as always. A ';' line after the 23 is a comment, even one that looks like
// a named text; among the 23 it is a text like any other.
TEST_F(LanguageTest, TheByteOrderMarkMakesTheFileUtf8AndSemicolonLinesAreComments) {
  const std::string russian = "\xD0\xA1\xD1\x82\xD0\xB0\xD1\x80\xD1\x82";  // Старт
  LineList lines = NumberedLines(23);
  lines[0] = russian;
  lines[1] = "; line 2";
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  text += "; Cancel=comment\r\n;\r\nCancel=" + russian + "\r\n  ; Done=not a comment\r\n";
  AddLanguageFile(L"Utf8.txt", "\xEF\xBB\xBF" + text);
  const LanguageLines file = ReadLanguageLines(Path(L"Utf8.txt"));
  EXPECT_EQ(file.codePage, static_cast<unsigned>(CP_UTF8));
  EXPECT_EQ(file.lines, lines);
  EXPECT_EQ(file.named, LineList{"Cancel=" + russian});
  CurrentTexts().Reset(false);
  ASSERT_TRUE(Apply("Utf8"));
  EXPECT_EQ(assigned_.front(), std::make_pair(1, russian));
  EXPECT_EQ(assigned_[1], std::make_pair(2, std::string("; line 2")));
  EXPECT_EQ(std::wstring(Tr(Text::Cancel)), L"\u0421\u0442\u0430\u0440\u0442");
  CurrentTexts().Reset(false);

  // The same bytes without the mark are ANSI: each byte one character of the code page.
  AddLanguageFile(L"Ansi.txt", text);
  const LanguageLines ansi = ReadLanguageLines(Path(L"Ansi.txt"));
  EXPECT_EQ(ansi.codePage, static_cast<unsigned>(CP_ACP));
  EXPECT_EQ(ansi.lines, lines);
  UseLanguageFile(folder(), "Ansi");
  EXPECT_EQ(std::wstring(Tr(Text::MainStart)), AnsiToWide(russian));
  EXPECT_EQ(std::wstring(Tr(Text::MainStart)).size(), russian.size());
  CurrentTexts().Reset(false);

  // A line of 32,767 characters in UTF-8 may take three bytes each and is still whole.
  const std::string wide_line = [] {
    std::string line;
    for (int i = 0; i < 32767; ++i) line += "\xE2\x82\xAC";  // the euro sign
    return line;
  }();
  AddLanguageFile(L"Euro.txt", "\xEF\xBB\xBF" + NumberedFile(22) + wide_line + "\r\nCancel=" + wide_line + "\r\n");
  const LanguageLines euro = ReadLanguageLines(Path(L"Euro.txt"));
  ASSERT_TRUE(euro.complete());
  EXPECT_EQ(euro.lines.back(), wide_line);
  EXPECT_EQ(euro.named.size(), 0u) << "Cancel= and its text are more than 32,767 characters";
}

TEST_F(LanguageTest, BuiltInLanguageOpensNoFile) {
  // Even a complete "#.txt" is left alone: "#" means the built-in texts.
  AddLanguageFile(L"#.txt", NumberedFile(23));
  EXPECT_TRUE(Apply("#"));
  EXPECT_TRUE(assigned_.empty());
}

TEST_F(LanguageTest, AFileThatCannotBeOpenedAssignsNothing) {
  EXPECT_FALSE(Apply("Missing"));
  EXPECT_TRUE(assigned_.empty());
  ASSERT_TRUE(failure_);
  EXPECT_EQ(failure_->subject, LanguageFilePath(folder(), "Missing"));

  AddLanguageFile(L"Empty.txt", "");
  EXPECT_FALSE(Apply("Empty"));
  EXPECT_TRUE(assigned_.empty());
  ASSERT_TRUE(failure_);
  EXPECT_EQ(failure_->problem, SettingsProblem::TooFewLines);
  EXPECT_EQ(failure_->number, 0);

  EXPECT_FALSE(Apply("NUL"));  // a device, not a file: refused rather than read
  EXPECT_TRUE(assigned_.empty());
}

// Random files, seeded and bounded: reading never fails or hangs, the lines are the file's own
// bytes between terminators in order, and a short file is read to its end.
TEST_F(LanguageTest, RandomFilesReadAsTheirOwnLines) {
  std::mt19937 random(20240607);
  const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\0', '\t', '\xE9', '\xFF', '#'};
  std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(0, 400);
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    for (int n = length(random); n > 0; --n) bytes += alphabet[pick(random)];
    AddLanguageFile(L"Random.txt", bytes);

    const LanguageLines file = ReadLanguageLines(Path(L"Random.txt"));
    ASSERT_LE(file.lines.size(), 23u);
    size_t pos = 0;
    for (const std::string& line : file.lines) {
      ASSERT_EQ(bytes.compare(pos, line.size(), line), 0) << "round " << round;
      pos += line.size();
      ASSERT_TRUE(pos == bytes.size() || bytes[pos] == '\r') << "round " << round;
      if (pos < bytes.size()) ++pos;
      if (pos < bytes.size() && bytes[pos] == '\n' && bytes[pos - 1] == '\r') ++pos;
    }
    if (!file.complete()) {
      EXPECT_EQ(pos, bytes.size()) << "round " << round;
    }

    const bool applied = Apply("random");
    EXPECT_EQ(applied, file.complete());
    EXPECT_EQ(assigned_.size(), file.lines.size());
  }
}

}  // namespace
