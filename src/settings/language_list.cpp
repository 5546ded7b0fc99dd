#include "settings/language_list.h"

#include "common/error.h"
#include "common/folderlist.h"
#include "common/propercase.h"
#include "common/text.h"
#include "settings/options.h"

namespace {

bool FitsAnsiCodePage(const std::wstring& text) { return AnsiToWide(WideToAnsi(text)) == text; }

}  // namespace

std::vector<std::wstring> LanguagePickerEntries(const std::wstring& folder) {
  std::vector<std::wstring> entries{std::wstring(kPolishEntry)};
  std::vector<std::wstring> files;
  try {
    files = ListFiles(folder + L"\\lang", L".txt");
  } catch (const AppError&) {
    // A lang folder that cannot be listed leaves the built-in texts to choose from.
    return entries;
  }
  for (const std::wstring& file : files) {
    std::wstring entry = ProperCase(std::wstring_view(file).substr(0, file.size() - 4));
    if (FitsAnsiCodePage(entry)) entries.push_back(std::move(entry));
  }
  return entries;
}

std::string LanguageOfEntry(std::wstring_view entry) {
  if (entry == kPolishEntry) return std::string(kBuiltInLanguage);
  return WideToAnsi(entry);
}
