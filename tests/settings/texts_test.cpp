#include "settings/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/text.h"
#include "settings/language.h"

namespace {

TEST(Texts, NamedLinesOverrideWhatTheyNameAndNothingElse) {
  Texts texts;
  texts.Reset(false);
  texts.SetNamed({"Cancel=  Abbrechen ", "Cancel=Abbrechen!", "NoSuchName=x", "no equals sign", "=Anonym",
                  "MainStart=Los", "IdeNote=Offen: {1}\\nA\\\\nB", "ReviewGone="});
  EXPECT_EQ(std::wstring(texts[Text::Cancel]), L"Abbrechen!");  // the later line wins
  EXPECT_EQ(std::wstring(texts[Text::MainStart]), L"Start");    // given by its line, never by name
  EXPECT_EQ(std::wstring(texts[Text::IdeNote]), L"Offen: {1}\r\nA\\\r\nB");
  EXPECT_EQ(std::wstring(texts[Text::ReviewGone]), L"");  // an empty text is a text
  EXPECT_EQ(std::wstring(texts[Text::ClearButton]), L"Clear");  // not given: English
  texts.SetLine(1, L" Los ");
  EXPECT_EQ(std::wstring(texts[Text::MainStart]), L" Los ");

  Texts spaced;
  spaced.SetNamed({"Cancel=  Abbrechen "});
  EXPECT_EQ(std::wstring(spaced[Text::Cancel]), L"  Abbrechen ");  // verbatim

  texts.Reset(true);
  EXPECT_EQ(std::wstring(texts[Text::Cancel]), L"Anuluj");
  EXPECT_EQ(std::wstring(texts[Text::MainStart]), L"Start");
}

TEST(Texts, PlaceholdersTakeTheirArgumentsInAnyOrder) {
  EXPECT_EQ(FillPlaceholders(L"{2} z {1}: {3}", {L"a", L"b"}), L"b z a: ");
  EXPECT_EQ(FillPlaceholders(L"{1}{1} {x} {0} {12} {", {L"7"}), L"77 {x} {0} {12} {");
}

// The shipped English file gives every text: its 23 lines as the built-in English ones, then each
// named text once, as built in, so a translator who copies it misses nothing.
TEST(Texts, TheEnglishFileGivesEveryTextOnce) {
  const LanguageLines file = ReadLanguageLines(AnsiToWide(BRUSHWICK_LANG_DIR "/English.txt"));
  ASSERT_TRUE(file.complete());
  for (int line = 1; line <= 23; ++line)
    EXPECT_EQ(AnsiToWide(file.lines[line - 1]), BuiltInText(TextOfLine(line), false)) << "line " << line;
  std::set<std::string> seen;
  for (const std::string& line : file.named) {
    const std::string name = line.substr(0, line.find('='));
    EXPECT_TRUE(seen.insert(name).second) << name << " is given twice";
    Texts one;
    one.SetNamed({line});
    bool known = false;
    for (std::size_t i = 1; i < std::size(kTexts); ++i) {
      if (kTexts[i].line != 0 || name != kTexts[i].name) continue;
      known = true;
      EXPECT_EQ(std::wstring(one[static_cast<Text>(i)]), BuiltInText(static_cast<Text>(i), false)) << name;
    }
    EXPECT_TRUE(known) << name << " names no text";
  }
  for (std::size_t i = 1; i < std::size(kTexts); ++i)
    if (kTexts[i].line == 0) {
      EXPECT_TRUE(seen.count(kTexts[i].name)) << kTexts[i].name << " is missing";
    }
}

}  // namespace
