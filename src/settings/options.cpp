#include "settings/options.h"

#include <windows.h>

#include "common/text.h"
#include "common/textfile.h"
#include "settings/leading_lines.h"

std::string CurrentLanguage;

std::wstring OptionsFilePath(const std::wstring& folder) { return folder + L"\\opcje.dat"; }

std::wstring LanguageFilePath(const std::wstring& folder, std::string_view language) {
  return folder + L"\\lang\\" + AnsiToWide(language) + L".txt";
}

std::string ReadOptionsFile(const std::wstring& folder) {
  const std::wstring path = OptionsFilePath(folder);
  std::vector<std::string> lines = ReadLeadingLines(path, 1);
  if (lines.empty()) ThrowError(ERROR_HANDLE_EOF, L"The options file " + path + L" is empty");
  return std::move(lines.front());
}

void WriteOptionsFile(const std::wstring& folder, std::string_view language) {
  std::string content(language);
  content += "\r\n";
  WriteFileReplacing(OptionsFilePath(folder), content);
}

void ProbeLanguageFile(const std::wstring& folder, std::string_view language) {
  OpenTextFileForReading(LanguageFilePath(folder, language));
}

bool LoadStoredLanguage(const std::wstring& folder) noexcept {
  try {
    CurrentLanguage = ReadOptionsFile(folder);
    if (CurrentLanguage != kBuiltInLanguage) ProbeLanguageFile(folder, CurrentLanguage);
    return true;
  } catch (...) {
    // Whatever went wrong, the user chooses again in the picker.
    return false;
  }
}

std::optional<AppError> SaveCurrentLanguage(const std::wstring& folder) {
  try {
    WriteOptionsFile(folder, CurrentLanguage);
  } catch (const AppError& error) {
    return error;
  }
  return std::nullopt;
}
