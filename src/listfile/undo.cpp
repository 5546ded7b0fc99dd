#include "listfile/undo.h"

#include <windows.h>

#include "common/error.h"
#include "common/text.h"
#include "common/textfile.h"
#include "listfile/listfile.h"

namespace listfile {
namespace {

constexpr const char* kVersions[] = {kVersion50, kVersion60};


}  // namespace

std::wstring UndoFilePath(const std::wstring& folder) { return folder + L"\\" + kUndoFileName; }

bool UndoAvailable(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(UndoFilePath(folder).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string UndoBytes(Replaced replaced) {
  ListFileContent content;
  bool* const held[] = {&content.has50, &content.has60};
  std::vector<std::string>* const entries[] = {&content.entries50, &content.entries60};
  const bool replacedWhole[] = {replaced.v50, replaced.v60};
  for (int i = 0; i < 2; ++i) {
    Autostart::ListScan scan = Autostart::ScanList(HKEY_CURRENT_USER, Autostart::ListKeyPath(kVersions[i]), kMaxListed);
    if (scan.status == ERROR_SUCCESS) {
      *held[i] = true;
      *entries[i] = std::move(scan.texts);
    } else if (replacedWhole[i]) {
      throw AppError(Action::SaveUndo, static_cast<DWORD>(scan.status), L"", Problem::EntryUnreadable)
          .WithEntry(kVersions[i], scan.failedValue);
    }
  }
  const std::string bytes = ListFileText(content);
  // An entry holding a line break, or a 5.0 entry "[]", would come back as other entries: such
  // lists cannot be saved exactly in this format.
  if (ParseListFile(bytes, kUndoFileName) != content)
    ThrowError(Action::SaveUndo, ERROR_INVALID_DATA, L"", Problem::EntryNotInFormat);
  return bytes;
}

void SaveUndo(const std::wstring& folder, Replaced replaced) {
  const std::string bytes = UndoBytes(replaced);
  try {
    WriteFileReplacing(UndoFilePath(folder), bytes);
  } catch (AppError& e) {
    e.during = Action::SaveUndo;
    throw;
  }
}

RestoreResult RestoreUndo(const std::wstring& folder, const std::function<bool(const AppError&)>& goOnWithoutUndo) {
  const std::wstring path = UndoFilePath(folder);
  const ListFileContent content = ParseListFile(ReadFileBytes(path), path);
  try {
    SaveUndo(folder, {content.has50, content.has60});
  } catch (const AppError& e) {
    if (!goOnWithoutUndo || !goOnWithoutUndo(e)) return RestoreResult::Declined;
  }
  bool complete = true;
  if (content.has50) complete = ReplaceList(kVersion50, content.entries50).Complete() && complete;
  if (content.has60) complete = ReplaceList(kVersion60, content.entries60).Complete() && complete;
  return complete ? RestoreResult::Restored : RestoreResult::Partly;
}

}  // namespace listfile
