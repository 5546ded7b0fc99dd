#include "settings/texts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "common/folderlist.h"
#include "common/text.h"
#include "common/textfile.h"
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

std::string Bytes(const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); }

// `text` as comment lines of at most about 100 characters.
std::string Comment(const std::string& text) {
  std::string lines, line;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    if (!line.empty() && line.size() + 1 + word.size() > 100) {
      lines += "; " + line + "\r\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    at = end + 1;
  }
  return lines + "; " + line + "\r\n";
}

// lang/English.txt as the table of texts writes it: the 23 lines, a note on what they are and how
// the rest of the file is written, then each group of named texts after its note, each text after
// the note on its placeholders.
std::string EnglishTemplate() {
  std::string file;
  for (int line = 1; line <= 23; ++line) file += Bytes(RowOf(TextOfLine(line)).english) + "\r\n";
  file += Comment("The 23 lines above begin every language file, in this order.");
  // A group of the 23 lines is noted here; a group of named texts before its texts.
  auto lined = [](std::size_t i) {
    return i + 1 < std::size(kTextItems) && RowOf(kTextItems[i + 1].text).line != 0;
  };
  for (std::size_t i = 0; i < std::size(kTextItems); ++i)
    if (kTextItems[i].groupNote && lined(i)) file += Comment(Bytes(kTextItems[i].groupNote));
  file += Comment(
      "Each line Name=Text after them gives one more text: keep the name and translate the text. \\n stands "
      "for a line break, and {1}, {2}, ... for what Brushwick puts in (the note before a text says what); "
      "a translation keeps each of them, in any order. A text that is left out, left empty or lacks one of "
      "them shows in English. A line that starts with ; is a note like this one.");
  file += Comment(
      "Save the file as UTF-8 with a byte-order mark (\"UTF-8 with BOM\"), or as ANSI text in the code page "
      "of the Windows it runs on.");
  for (std::size_t i = 0; i < std::size(kTextItems); ++i) {
    const TextItem& item = kTextItems[i];
    if (item.groupNote) {
      if (!lined(i)) file += "\r\n" + Comment(Bytes(item.groupNote));
      continue;
    }
    const TextRow& row = RowOf(item.text);
    if (row.line != 0) continue;
    if (row.note) file += Comment(Bytes(row.note));
    std::string text = Bytes(row.english);
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\\n");
    file += std::string(row.name) + "=" + text + "\r\n";
  }
  // English that needs more than ASCII is written as UTF-8, which the mark announces.
  if (std::any_of(file.begin(), file.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; }))
    file.insert(0, "\xEF\xBB\xBF");
  return file;
}

// lang/English.txt is written from the table of texts, so a new text is one row of the table.
// BRUSHWICK_WRITE_ENGLISH=1 (scripts/english-template.sh) writes it anew.
TEST(Texts, TheEnglishFileIsWrittenFromTheTable) {
  const std::wstring path = AnsiToWide(BRUSHWICK_LANG_DIR "/English.txt");
  const std::string written = EnglishTemplate();
  if (const char* write = std::getenv("BRUSHWICK_WRITE_ENGLISH"); write && std::string(write) == "1")
    WriteFileReplacing(path, written);
  EXPECT_EQ(ReadFileBytes(path), written) << "lang/English.txt is not the table's: run scripts/english-template.sh";

  // A text with placeholders says what they are.
  for (std::size_t i = 1; i < std::size(kTexts); ++i)
    if (PlaceholdersOf(std::u8string_view(kTexts[i].english)) != 0) {
      EXPECT_TRUE(kTexts[i].note && *kTexts[i].note) << kTexts[i].name << " has placeholders and no note on them";
    }
}

// Every shipped language file gives every text: the 23 lines, then each named text once, none
// the program does not know, none empty, each with the English placeholders. A translation is
// UTF-8 with the byte-order mark, and its name fits every ANSI code page.
TEST(Texts, EveryShippedLanguageGivesEveryText) {
  const std::wstring folder = AnsiToWide(BRUSHWICK_LANG_DIR);
  const std::vector<std::wstring> files = ListFiles(folder, L".txt");
  EXPECT_GE(files.size(), 7u);
  std::size_t named_count = 0;
  for (std::size_t i = 1; i < std::size(kTexts); ++i) named_count += kTexts[i].line == 0;
  for (const std::wstring& file : files) {
    const std::string name = WideToAnsi(file, CP_UTF8);
    SCOPED_TRACE(name);
    EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; }));
    std::string bytes = ReadFileBytes(folder + L"\\" + file);
    const bool utf8 = bytes.starts_with("\xEF\xBB\xBF");
    EXPECT_TRUE(utf8 || file == L"English.txt") << "a translation is saved as UTF-8 with the byte-order mark";
    if (utf8) bytes.erase(0, 3);
    for (std::size_t lf = bytes.find('\n'); lf != std::string::npos; lf = bytes.find('\n', lf + 1))
      EXPECT_TRUE(lf > 0 && bytes[lf - 1] == '\r') << "a line ends in LF alone at byte " << lf;
    LineReader reader(bytes);
    std::string line;
    for (int number = 1; number <= 23; ++number) {
      ASSERT_TRUE(reader.Next(line)) << "the file ends before line " << number;
    }
    std::set<Text> given;
    std::wstring keys;  // the window menu's access keys
    while (reader.Next(line)) {
      if (line.empty() || line[0] == ';') continue;
      const std::size_t equals = line.find('=');
      const Text id = TextNamed(std::string_view(line).substr(0, equals));
      if (id == Text::None) {
        ADD_FAILURE() << "no text is named by " << line.substr(0, equals);
        continue;
      }
      EXPECT_TRUE(given.insert(id).second) << line.substr(0, equals) << " is given twice";
      const std::wstring text = AnsiToWide(line.substr(equals + 1), utf8 ? CP_UTF8 : CP_ACP);
      EXPECT_FALSE(text.empty()) << line;
      EXPECT_EQ(PlaceholdersOf(std::wstring_view(text)), PlaceholdersOf(std::wstring_view(BuiltInText(id, false))))
          << line.substr(0, equals) << ": other placeholders than the English text's";
      if (line.starts_with("Menu")) {
        const std::size_t amp = text.find(L'&');
        EXPECT_NE(amp, std::wstring::npos) << line << " has no access key";
        wchar_t key = amp + 1 < text.size() ? text[amp + 1] : L' ';
        CharUpperBuffW(&key, 1);
        EXPECT_EQ(keys.find(key), std::wstring::npos) << line << ": its access key is taken";
        keys += key;
      }
    }
    EXPECT_EQ(given.size(), named_count) << "named texts missing";
    // And the program reads it whole.
    const LanguageLines read = ReadLanguageLines(folder + L"\\" + file);
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.named.size(), named_count);
  }
}

}  // namespace
