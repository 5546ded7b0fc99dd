#include "settings/texts.h"

#include <utility>

#include "common/text.h"

void Texts::Reset(bool polish) {
  polish_ = polish;
  given_.clear();
  isGiven_.clear();
}

void Texts::Give(Text id, std::wstring text) {
  const std::size_t i = static_cast<std::size_t>(id);
  if (given_.size() <= i) {
    given_.resize(std::size(kTexts));
    isGiven_.resize(std::size(kTexts), false);
  }
  given_[i] = std::move(text);
  isGiven_[i] = true;
}

void Texts::SetLine(int line, std::wstring text) {
  const Text id = TextOfLine(line);
  if (id != Text::None) Give(id, std::move(text));
}

void Texts::SetNamed(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    const std::string_view name(line.data(), equals);
    for (std::size_t i = 1; i < std::size(kTexts); ++i) {
      if (kTexts[i].line != 0 || name != kTexts[i].name) continue;
      std::string text;
      for (std::size_t k = equals + 1; k < line.size(); ++k) {
        if (line[k] == '\\' && k + 1 < line.size() && line[k + 1] == 'n') {
          text += "\r\n";
          ++k;
        } else {
          text += line[k];
        }
      }
      Give(static_cast<Text>(i), AnsiToWide(text));
      break;
    }
  }
}

const wchar_t* Texts::operator[](Text id) const {
  const std::size_t i = static_cast<std::size_t>(id);
  if (i >= std::size(kTexts)) return L"";
  if (i < isGiven_.size() && isGiven_[i]) return given_[i].c_str();
  return polish_ ? kTexts[i].polish : kTexts[i].english;
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
