#pragma once
// The program's texts by name. Each has a built-in Polish and a built-in English text
// (settings/text_table.h). The built-in Polish is in use until a language file is; a language
// file gives lines 1 to 23 by their place and any other text as a Name=Text line after them, and
// a text it does not give is the built-in English one.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_table.h"

enum class Text : unsigned short {
  None,  // no text (a control that shows data, not words)
#define BRUSHWICK_TEXT_NAME(name, line, polish, english, ...) name,
#define BRUSHWICK_NO_GROUP(note)
  BRUSHWICK_TEXTS(BRUSHWICK_TEXT_NAME, BRUSHWICK_NO_GROUP)
#undef BRUSHWICK_TEXT_NAME
  Count
};

struct TextRow {
  const char* name;  // as a language file names it
  int line;          // the language-file line that gives it, 0 for a named one
  const char8_t* polish;  // UTF-8
  const char8_t* english;
  const char8_t* note = nullptr;  // for translators: what {1}, {2}, ... are
};

inline constexpr TextRow kTexts[] = {
    {"", 0, u8"", u8""},
#define BRUSHWICK_TEXT_ROW(name, line, polish, english, ...) {#name, line, polish, english __VA_OPT__(, ) __VA_ARGS__},
    BRUSHWICK_TEXTS(BRUSHWICK_TEXT_ROW, BRUSHWICK_NO_GROUP)
#undef BRUSHWICK_TEXT_ROW
};

// The table in its order with the notes on its groups, from which lang/English.txt is written.
struct TextItem {
  Text text;                 // Text::None for a group's note
  const char8_t* groupNote;  // what the texts after it are
};
inline constexpr TextItem kTextItems[] = {
#define BRUSHWICK_TEXT_ITEM(name, ...) {Text::name, nullptr},
#define BRUSHWICK_GROUP_ITEM(note) {Text::None, note},
    BRUSHWICK_TEXTS(BRUSHWICK_TEXT_ITEM, BRUSHWICK_GROUP_ITEM)
#undef BRUSHWICK_TEXT_ITEM
#undef BRUSHWICK_GROUP_ITEM
#undef BRUSHWICK_NO_GROUP
};
static_assert(std::size(kTexts) == static_cast<std::size_t>(Text::Count));

constexpr const TextRow& RowOf(Text id) { return kTexts[static_cast<std::size_t>(id)]; }
// The text that a language file's line `line` gives, or Text::None.
constexpr Text TextOfLine(int line) {
  for (std::size_t i = 1; i < std::size(kTexts); ++i)
    if (kTexts[i].line == line) return static_cast<Text>(i);
  return Text::None;
}

// The text a language file gives by `name` (Name=Text), or Text::None: texts given by their line
// have no name there.
Text TextNamed(std::string_view name);

// A built-in text as shown: Polish or English.
const wchar_t* BuiltInText(Text id, bool polish);

// The texts in use.
class Texts {
 public:
  // Back to the built-in texts: Polish, or English; nothing a file gave is kept. The program
  // does this through SetCurrentLanguage (settings/options.h), with the language's name.
  void Reset(bool polish);
  bool polish() const { return polish_; }
  // A language file's line 1 to 23.
  void SetLine(int line, std::wstring text);
  // A language file's Name=Text lines (those after line 23), verbatim in the code page: the text
  // after the first '=' with "\n" as a line break. Lines of no known name, lines naming a text
  // that has a line number, and lines without '=' are ignored; of two with one name the later
  // wins. An empty text, or one whose placeholders are not the English text's, is not given.
  void SetNamed(const std::vector<std::string>& lines, unsigned codePage = 0 /* CP_ACP */);
  const wchar_t* operator[](Text id) const;

 private:
  bool polish_ = false;
  std::vector<std::wstring> given_;  // by Text; what a file gave
  std::vector<char> isGiven_;  // by Text; whether a file gave it
  void Give(Text id, std::wstring text);
};

// The texts the program speaks in now. English until the start decides.
Texts& CurrentTexts();
// A text by its name, in the language in use.
inline const wchar_t* Tr(Text id) { return CurrentTexts()[id]; }
// The same with {1}, {2}, ... replaced by `args`, in order; a placeholder with no argument is
// dropped, and any other brace is kept as it stands.
std::wstring Tr(Text id, std::initializer_list<std::wstring_view> args);
// The placeholders {1} to {9} a text holds, as bits 1 to 9: a translation must hold the same
// ones as the English text, or it would drop or invent what the program puts in.
template <class Char>
constexpr unsigned PlaceholdersOf(std::basic_string_view<Char> text) {
  unsigned found = 0;
  for (std::size_t i = 0; i + 2 < text.size(); ++i)
    if (text[i] == '{' && text[i + 1] >= '1' && text[i + 1] <= '9' && text[i + 2] == '}')
      found |= 1u << (text[i + 1] - '0');
  return found;
}
// `pattern` with its placeholders filled as Tr does.
std::wstring FillPlaceholders(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);
