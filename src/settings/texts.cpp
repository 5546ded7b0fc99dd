#include "settings/texts.h"

#include <windows.h>

#include <array>
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
  return BuiltInText(id, polish_);
}

const wchar_t* BuiltInText(Text id, bool polish) {
  static std::array<std::vector<std::wstring>, 2> widened;  // English, Polish
  std::vector<std::wstring>& texts = widened[polish ? 1 : 0];
  if (texts.empty()) {
    texts.reserve(std::size(kTexts));
    for (const TextRow& row : kTexts) {
      const char* utf8 = reinterpret_cast<const char*>(polish ? row.polish : row.english);
      const int bytes = static_cast<int>(std::char_traits<char>::length(utf8));
      std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8, bytes, nullptr, 0)), L'\0');
      MultiByteToWideChar(CP_UTF8, 0, utf8, bytes, text.data(), static_cast<int>(text.size()));
      texts.push_back(std::move(text));
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
