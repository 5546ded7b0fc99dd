#include "settings/language.h"

#include <windows.h>

#include <iterator>
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
  LeadingLines head = ReadLeadingLines(path, kLanguageLineCount + kMaxNamedLines);
  LanguageLines file{path, std::move(head.lines), head.overlong, {}};
  if (file.lines.size() > kLanguageLineCount) {
    file.named.assign(std::make_move_iterator(file.lines.begin() + kLanguageLineCount),
                      std::make_move_iterator(file.lines.end()));
    file.lines.resize(kLanguageLineCount);
  }
  // A named line too long to read ends the named lines; the 23 before it are whole.
  if (file.complete()) file.overlong = false;
  return file;
}

void ApplyLanguage(const std::wstring& folder, std::string_view language,
                   const LanguageLineTarget& assign) {
  if (language == kBuiltInLanguage) return;
  const LanguageLines file = ReadLanguageLines(LanguageFilePath(folder, language));
  CurrentTexts().SetNamed(file.named);
  for (std::size_t i = 0; i < file.lines.size(); ++i) assign(static_cast<int>(i + 1), file.lines[i]);
  if (!file.complete()) throw file.IncompleteError();
}

void UseLanguageFile(const std::wstring& folder, std::string_view language) {
  // Each line is taken as soon as it is read, so a short file leaves the texts before the
  // missing line translated.
  ApplyLanguage(folder, language,
                [](int line, const std::string& ansi) { CurrentTexts().SetLine(line, AnsiToWide(ansi)); });
}
