#include "settings/options.h"

#include <windows.h>

#include <utility>

#include "common/text.h"
#include "common/textfile.h"
#include "settings/leading_lines.h"
#include "settings/texts.h"

std::string CurrentLanguage;

std::wstring OptionsFilePath(const std::wstring& folder) { return folder + L"\\opcje.dat"; }

std::wstring LanguageFilePath(const std::wstring& folder, std::string_view language) {
  return folder + L"\\lang\\" + AnsiToWide(language) + L".txt";
}

std::string ReadOptionsFile(const std::wstring& folder) {
  const std::wstring path = OptionsFilePath(folder);
  LeadingLines head = ReadLeadingLines(path, 1);
  // Longer than any path: whatever it holds, no language file goes by that name.
  if (head.overlong)
    throw AppError(SettingsAction::ReadOptionsFile, ERROR_FILENAME_EXCED_RANGE, path, SettingsProblem::LineTooLong).WithNumber(1);
  if (head.lines.empty()) ThrowError(SettingsAction::ReadOptionsFile, ERROR_HANDLE_EOF, path, SettingsProblem::EmptyFile);
  return std::move(head.lines.front());
}

void WriteOptionsFile(const std::wstring& folder, std::string_view language) {
  std::string content(language);
  content += "\r\n";
  WriteFileReplacing(OptionsFilePath(folder), content);
}

void ProbeLanguageFile(const std::wstring& folder, std::string_view language) {
  OpenTextFileForReading(LanguageFilePath(folder, language));
}

void SetCurrentLanguage(std::string language) {
  CurrentTexts().Reset(language == kBuiltInLanguage);
  CurrentLanguage = std::move(language);
}

bool LoadStoredLanguage(const std::wstring& folder) noexcept {
  try {
    SetCurrentLanguage(ReadOptionsFile(folder));
    if (CurrentLanguage != kBuiltInLanguage) ProbeLanguageFile(folder, CurrentLanguage);
    return true;
  } catch (...) {
    // Whatever went wrong, the user chooses again in the picker.
    return false;
  }
}

std::optional<AppError> SaveCurrentLanguage(const std::wstring& folder) {
  // A file whose first line already names the language keeps the choice as it is: rewriting it
  // only drops what follows that line, and when that fails nothing was lost.
  bool named = false;
  try {
    named = ReadOptionsFile(folder) == CurrentLanguage;
  } catch (const AppError&) {
    // missing or unreadable: the language is not stored yet
  }
  const std::string content = CurrentLanguage + "\r\n";
  if (named) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(OptionsFilePath(folder).c_str(), GetFileExInfoStandard, &data) &&
        data.nFileSizeHigh == 0 && data.nFileSizeLow == content.size()) {
      try {
        if (ReadFileBytes(OptionsFilePath(folder)) == content) return std::nullopt;
      } catch (const AppError&) {
      }
    }
  }
  try {
    WriteOptionsFile(folder, CurrentLanguage);
  } catch (const AppError& error) {
    if (named) return std::nullopt;
    return error;
  }
  return std::nullopt;
}
