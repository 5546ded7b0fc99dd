#include "settings/language.h"

#include <windows.h>

#include <utility>

#include "common/text.h"
#include "settings/leading_lines.h"
#include "settings/options.h"

AppError LanguageLines::IncompleteError() const {
  const std::size_t count = lines.size();
  if (overlong)
    return AppError(Action::ApplyLanguageFile, ERROR_INVALID_DATA, path, Problem::LineTooLong)
        .WithNumber(static_cast<long long>(count + 1));
  return AppError(Action::ApplyLanguageFile, ERROR_HANDLE_EOF, path, Problem::TooFewLines)
      .WithNumber(static_cast<long long>(count));
}

LanguageLines ReadLanguageLines(const std::wstring& path) {
  LeadingLines head = ReadLeadingLines(path, kLanguageLineCount);
  return LanguageLines{path, std::move(head.lines), head.overlong};
}

void ApplyLanguage(const std::wstring& folder, std::string_view language,
                   const LanguageLineTarget& assign) {
  if (language == kBuiltInLanguage) return;
  const LanguageLines file = ReadLanguageLines(LanguageFilePath(folder, language));
  for (std::size_t i = 0; i < file.lines.size(); ++i) assign(static_cast<int>(i + 1), file.lines[i]);
  if (!file.complete()) throw file.IncompleteError();
}
