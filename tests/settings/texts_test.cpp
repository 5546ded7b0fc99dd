#include "settings/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
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
                  "MainStart=Los", "IdeNote=Offen: {1}\\nA\\\\nB", "ReviewGone=", "ImportKeyMissing=Keine {2}",
                  "RemovalReport={3} {1} {2} {1}", "Fatal=Fehler"});
  EXPECT_EQ(std::wstring(texts[Text::Cancel]), L"Abbrechen!");  // the later line wins
  EXPECT_EQ(std::wstring(texts[Text::MainStart]), L"Start");    // given by its line, never by name
  EXPECT_EQ(std::wstring(texts[Text::IdeNote]), L"Offen: {1}\r\nA\\\r\nB");
  // An empty text, and one that drops or invents a placeholder, are not given: English shows.
  EXPECT_EQ(std::wstring(texts[Text::ReviewGone]), L"gone");
  EXPECT_EQ(std::wstring(texts[Text::ImportKeyMissing]), L"There is no {1} list in the registry; it was skipped.");
  EXPECT_EQ(std::wstring(texts[Text::Fatal]), BuiltInText(Text::Fatal, false));
  EXPECT_EQ(std::wstring(texts[Text::RemovalReport]), L"{3} {1} {2} {1}");  // any order, any number of times
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

// What a mechanical rewrite of the table's literals leaves in a text: an end in "u8" (its closing
// quote after a letter L became u8"), u8" or L" inside it, or a quote without its partner.
std::string RewriteRemains(std::u8string_view text) {
  std::string found;
  if (text.ends_with(u8"u8")) found += " ends in u8";
  if (text.find(u8"u8\"") != text.npos) found += " holds u8\"";
  if (text.find(u8"L\"") != text.npos) found += " holds L\"";
  if (std::count(text.begin(), text.end(), u8'"') % 2) found += " has an unbalanced quote";
  return found;
}

TEST(Texts, EveryBuiltInTextIsWholeAndHoldsTheEnglishPlaceholders) {
  for (std::size_t i = 1; i < std::size(kTexts); ++i) {
    const TextRow& row = kTexts[i];
    EXPECT_EQ(RewriteRemains(row.polish), "") << row.name << " (Polish)";
    EXPECT_EQ(RewriteRemains(row.english), "") << row.name << " (English)";
    EXPECT_EQ(PlaceholdersOf(std::u8string_view(row.polish)), PlaceholdersOf(std::u8string_view(row.english)))
        << row.name << ": the Polish text holds other placeholders than the English one";
  }
  // The check itself sees each kind of remains.
  EXPECT_NE(RewriteRemains(u8": nazwa zawiera znak NUu8"), "");
  EXPECT_NE(RewriteRemains(u8"wpis u8\"{1}\""), "");
  EXPECT_NE(RewriteRemains(u8"wpis \"{1}"), "");
  EXPECT_EQ(RewriteRemains(u8": nazwa zawiera znak NUL"), "");
  EXPECT_EQ(PlaceholdersOf(std::wstring_view(L"{2} z {1}, {1} {0} {x} {12")), 0b110u);
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
