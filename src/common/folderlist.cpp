#include "common/folderlist.h"

#include <windows.h>

#include <utility>

#include "common/error.h"
#include "common/handles.h"

namespace {

// Compared as file names are: letter by letter through the system's upper-case table, whatever
// the locale.
bool EndsWithIgnoringCase(const std::wstring& name, const std::wstring& suffix) {
  if (name.size() < suffix.size()) return false;
  std::wstring tail = name.substr(name.size() - suffix.size()), wanted = suffix;
  CharUpperBuffW(tail.data(), static_cast<DWORD>(tail.size()));
  CharUpperBuffW(wanted.data(), static_cast<DWORD>(wanted.size()));
  return tail == wanted;
}

bool Before(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

}  // namespace

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& extension) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const std::wstring pattern = folder + L"\\*" + extension;
  FindHandle find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_NO_MORE_FILES)
      return names;
    ThrowError(Action::ListFolder, code, folder);
  }
  constexpr DWORD kSkipped =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    const std::wstring name = data.cFileName;
    // Wildcards also match 8.3 short names ("*.txt" finds "notes.txtx"): check the real name.
    if ((data.dwFileAttributes & kSkipped) == 0 && EndsWithIgnoringCase(name, extension))
      names.push_back(name);
  } while (FindNextFileW(find.get(), &data));
  // A folder holds a few such files: an insertion sort does, and costs a fraction of std::sort's
  // code. Names that compare equal keep the order they were found in.
  for (size_t i = 1; i < names.size(); ++i) {
    std::wstring name = std::move(names[i]);
    size_t at = i;
    for (; at > 0 && Before(name, names[at - 1]); --at) names[at] = std::move(names[at - 1]);
    names[at] = std::move(name);
  }
  return names;
}
