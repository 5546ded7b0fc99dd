#pragma once
// A scratch registry and a temporary program folder for the list file tests.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "listfile/listfile.h"
#include "listfile/undo.h"
#include "support/scratch_registry.h"

namespace listfile {
inline void PrintTo(const ListFileContent& c, std::ostream* os) {
  *os << "{has50=" << c.has50 << " " << testing::PrintToString(c.entries50) << ", has60=" << c.has60
      << " " << testing::PrintToString(c.entries60) << "}";
}
}  // namespace listfile

namespace listfile_test {

using Entries = std::vector<std::string>;
using ValueMap = std::map<std::string, RegValue>;

inline RegValue Sz(const std::string& text) { return {REG_SZ, text + std::string(1, '\0')}; }

// Values "1".."n" holding the texts as REG_SZ.
inline ValueMap AsValues(const Entries& texts) {
  ValueMap values;
  for (size_t i = 0; i < texts.size(); ++i) values[std::to_string(i + 1)] = Sz(texts[i]);
  return values;
}

// The list after an import as the program defines it: DeleteList ("1" up to the first missing
// number), then the entries written as "1".."n". No key, no change.
inline ValueMap AfterImport(ValueMap old, bool keyExists, const Entries& entries) {
  if (!keyExists) return old;
  for (int n = 1; old.erase(std::to_string(n)); ++n) {
  }
  for (size_t i = 0; i < entries.size(); ++i) old[std::to_string(i + 1)] = Sz(entries[i]);
  return old;
}

// The import as a command makes it, without the change object's steps around it: the file read
// and checked whole, then each list it carries made to hold its entries.
inline listfile::ImportResult ReadListFile(const std::wstring& folder, const std::wstring& name,
                                           const Autostart::Progress& progress = {}) {
  const listfile::ListFileContent content = listfile::ReadListFileContent(folder, name);
  listfile::ImportResult result;
  for (int l = 0; l < 2; ++l) {
    if (!(l == 0 ? content.has50 : content.has60)) continue;
    const Entries& entries = l == 0 ? content.entries50 : content.entries60;
    const std::string key = Autostart::ListKeyPath(listfile::kListVersions[l]);
    std::vector<Autostart::StoredValue> now;
    Autostart::ListWrites writes;
    if (Autostart::ReadNumberedValues(HKEY_CURRENT_USER, key, now) == ERROR_FILE_NOT_FOUND)
      writes.keyMissing = true;  // neither created nor written
    else
      writes = Autostart::ReplaceValues(HKEY_CURRENT_USER, key, now, listfile::ImportedValues(entries, now), progress);
    (l == 0 ? result.v50 : result.v60) = listfile::ImportOf(entries.size(), writes);
  }
  return result;
}

class ListFileTest : public ScratchRegistryTest {
 protected:
  std::wstring Path(const std::wstring& name) const {
    return listfile::ListFilePath(folder_.path(), name);
  }
  void WriteFile(const std::wstring& name, const std::string& bytes) {
    WriteBytes(Path(name), bytes);
  }
  std::string FileBytes(const std::wstring& name) const { return ReadBytes(Path(name)); }
  // The names in the program folder, to show that nothing was written or left behind.
  std::vector<std::wstring> FolderNames() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder_.path() + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder folder_;
};

}  // namespace listfile_test
