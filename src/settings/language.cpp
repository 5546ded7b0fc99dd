#include "settings/language.h"

#include <windows.h>

#include <utility>

#include "common/text.h"
#include "settings/leading_lines.h"
#include "settings/options.h"
#include "settings/texts.h"

AppError LanguageLines::IncompleteError() const {
  const std::size_t count = lines.size();
  if (overlong)
    return AppError(SettingsAction::ApplyLanguageFile, ERROR_INVALID_DATA, path, SettingsProblem::LineTooLong)
        .WithNumber(static_cast<long long>(count + 1));
  return AppError(SettingsAction::ApplyLanguageFile, ERROR_HANDLE_EOF, path, SettingsProblem::TooFewLines)
      .WithNumber(static_cast<long long>(count));
}

LanguageLines ReadLanguageLines(const std::wstring& path) {
  KernelHandle handle = OpenTextFileForReading(path);
  LanguageLines file{path, {}, false, {}, CP_ACP};
  std::vector<std::size_t> slot;  // by Text: where `named` holds its line, plus one
  bool first = true;
  ReadLinesOf(handle, path, [&](std::string& line, bool tooLong) {
    if (first) {
      first = false;
      if (line.starts_with("\xEF\xBB\xBF")) {
        file.codePage = CP_UTF8;
        line.erase(0, 3);
      }
    }
    const bool fits = !tooLong && CharacterCount(line, file.codePage) <= kMaxLineCharacters;
    if (!file.complete()) {
      if (!fits) {
        file.overlong = true;
        return false;
      }
      file.lines.push_back(std::move(line));
      return true;
    }
    // A named line too long for any text is refused alone: the lines after it still count.
    if (!fits || line.starts_with(';')) return true;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return true;
    const Text id = TextNamed(std::string_view(line).substr(0, equals));
    if (id == Text::None) return true;
    if (slot.empty()) slot.resize(static_cast<std::size_t>(Text::Count));
    std::size_t& at = slot[static_cast<std::size_t>(id)];
    if (at == 0) {
      file.named.push_back(std::move(line));
      at = file.named.size();
    } else {
      file.named[at - 1] = std::move(line);
    }
    return true;
  });
  return file;
}

void ApplyLanguage(const std::wstring& folder, std::string_view language,
                   const LanguageLineTarget& assign) {
  if (language == kBuiltInLanguage) return;
  const LanguageLines file = ReadLanguageLines(LanguageFilePath(folder, language));
  CurrentTexts().SetNamed(file.named, file.codePage);
  for (std::size_t i = 0; i < file.lines.size(); ++i)
    assign(static_cast<int>(i + 1), AnsiToWide(file.lines[i], file.codePage));
  if (!file.complete()) throw file.IncompleteError();
}

void UseLanguageFile(const std::wstring& folder, std::string_view language) {
  // Each line is taken as soon as it is read, so a short file leaves the texts before the
  // missing line translated.
  ApplyLanguage(folder, language,
                [](int line, const std::wstring& text) { CurrentTexts().SetLine(line, text); });
}
