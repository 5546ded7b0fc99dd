#include "settings/texts.h"

#include <windows.h>

#include <array>
#include <utility>

#include "common/packed.h"
#include "common/text.h"

namespace {

constexpr std::size_t kRows = std::size(kTexts);

// The built-in texts in one run, each ended by a 0: the names a language file gives texts by
// (empty for a text it gives by its line), then the Polish texts, then the English ones. The exe
// carries them packed; kTexts itself is for checks at compile time and never reaches the exe.
constexpr std::size_t PlainSize() {
  std::size_t n = 0;
  for (const TextRow& row : kTexts) n += (row.line ? 0 : std::char_traits<char>::length(row.name)) + std::char_traits<char8_t>::length(row.polish) +
         std::char_traits<char8_t>::length(row.english) + 3;
  return n;
}
constexpr std::size_t kPlainSize = PlainSize();

constexpr std::array<char, kPlainSize> Plain() {
  std::array<char, kPlainSize> plain{};
  std::size_t at = 0;
  auto put = [&](const auto* text) {
    while (*text) plain[at++] = static_cast<char>(*text++);
    plain[at++] = '\0';
  };
  for (const TextRow& row : kTexts) put(row.line ? "" : row.name);
  for (const TextRow& row : kTexts) put(row.polish);
  for (const TextRow& row : kTexts) put(row.english);
  return plain;
}

constexpr auto kPacking = packed::Pack(Plain());
constexpr auto kPacked = packed::Trimmed<kPacking.size>(kPacking);

constexpr bool ComesBack() {
  std::array<char, kPlainSize> plain{};
  packed::Unpack(kPacked.data(), plain.data(), plain.size());
  return plain == Plain();
}
static_assert(ComesBack());

// The positional texts by their line, 0 (Text::None) where no text has that line.
constexpr std::array<Text, 24> kByLine = [] {
  std::array<Text, 24> byLine{};
  for (int line = 1; line < 24; ++line) byLine[static_cast<std::size_t>(line)] = TextOfLine(line);
  return byLine;
}();

// The built-in texts unpacked, and where each begins: names, Polish, English.
struct BuiltIn {
  std::string plain = std::string(kPlainSize, '\0');
  std::array<const char*, 3 * kRows> starts{};
  BuiltIn() {
    packed::Unpack(kPacked.data(), plain.data(), plain.size());
    const char* text = plain.data();
    for (const char*& start : starts) {
      start = text;
      text += std::char_traits<char>::length(text) + 1;
    }
  }
};
const BuiltIn& Unpacked() {
  static const BuiltIn builtIn;
  return builtIn;
}
const char* NameOf(std::size_t i) { return Unpacked().starts[i]; }

}  // namespace

void Texts::Reset(bool polish) {
  polish_ = polish;
  given_.clear();
  isGiven_.clear();
}

void Texts::Give(Text id, std::wstring text) {
  const std::size_t i = static_cast<std::size_t>(id);
  if (given_.size() <= i) {
    given_.resize(kRows);
    isGiven_.resize(kRows, false);
  }
  given_[i] = std::move(text);
  isGiven_[i] = true;
}

void Texts::SetLine(int line, std::wstring text) {
  const Text id = line > 0 && line < static_cast<int>(kByLine.size()) ? kByLine[static_cast<std::size_t>(line)] : Text::None;
  if (id != Text::None) Give(id, std::move(text));
}

Text TextNamed(std::string_view name) {
  if (name.empty()) return Text::None;
  for (std::size_t i = 1; i < kRows; ++i)
    if (name == NameOf(i)) return static_cast<Text>(i);  // a text given by its line has no name here
  return Text::None;
}

void Texts::SetNamed(const std::vector<std::string>& lines, unsigned codePage) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const Text id = TextNamed(std::string_view(line.data(), equals));
    if (id == Text::None) continue;
    std::string text;
    for (std::size_t k = equals + 1; k < line.size(); ++k) {
      if (line[k] == '\\' && k + 1 < line.size() && line[k + 1] == 'n') {
        text += "\r\n";
        ++k;
      } else {
        text += line[k];
      }
    }
    std::wstring wide = AnsiToWide(text, codePage);
    // Shown instead, the text would lose or invent what the program puts in: English is better.
    if (wide.empty() || PlaceholdersOf(std::wstring_view(wide)) !=
                            PlaceholdersOf(std::wstring_view(BuiltInText(id, false))))
      continue;
    Give(id, std::move(wide));
  }
}

const wchar_t* Texts::operator[](Text id) const {
  const std::size_t i = static_cast<std::size_t>(id);
  if (i >= kRows) return L"";
  if (i < isGiven_.size() && isGiven_[i]) return given_[i].c_str();
  return BuiltInText(id, polish_);
}

const wchar_t* BuiltInText(Text id, bool polish) {
  static std::array<std::vector<std::wstring>, 2> widened;  // English, Polish
  std::vector<std::wstring>& texts = widened[polish ? 1 : 0];
  if (texts.empty()) {
    texts.reserve(kRows);
    for (std::size_t i = 0; i < kRows; ++i) {
      const char* utf8 = Unpacked().starts[(polish ? 1 : 2) * kRows + i];
      texts.push_back(AnsiToWide(utf8, CP_UTF8));
    }
  }
  const std::size_t i = static_cast<std::size_t>(id);
  return i < texts.size() ? texts[i].c_str() : L"";
}

Texts& CurrentTexts() {
  static Texts texts;
  return texts;
}

std::wstring FillPlaceholders(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
  std::wstring text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'{' && i + 2 < pattern.size() && pattern[i + 1] >= L'1' && pattern[i + 1] <= L'9' &&
        pattern[i + 2] == L'}') {
      const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - L'1');
      if (n < args.size()) text += args.begin()[n];
      i += 2;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::wstring Tr(Text id, std::initializer_list<std::wstring_view> args) { return FillPlaceholders(Tr(id), args); }
