#pragma once
// What the cleaning benchmarks share: a folder of projects of which half are gone, the two lists
// seeded with them, a check of what a cleaning run must leave, and the registry and file calls
// such a run needs, made bare.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace bench {

constexpr const char* kVersions[] = {"5.0", "6.0"};

[[noreturn]] inline void Fail(const char* what, long code) {
  std::fprintf(stderr, "bench: %s (%ld)\n", what, code);
  std::exit(1);
}

inline std::string ListKey(const char* version) {
  return std::string("SOFTWARE\\Microsoft\\Visual Basic\\") + version + "\\RecentFiles";
}

// `count` entries: odd numbers name files that exist, even numbers files that are gone.
class Projects {
 public:
  explicit Projects(int count) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "brushwick-bench-" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(folder_.c_str(), nullptr)) Fail("cannot create the project folder", GetLastError());
    for (int i = 1; i <= count; ++i) {
      texts_.push_back(folder_ + "\\Project" + std::to_string(i) + "\\Project" + std::to_string(i) + ".vbp");
      if (i % 2) {
        CreateDirectoryA((folder_ + "\\Project" + std::to_string(i)).c_str(), nullptr);
        HANDLE file = CreateFileA(texts_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) Fail("cannot create a project file", GetLastError());
        CloseHandle(file);
        survivors_.push_back(texts_.back());
      }
    }
  }
  ~Projects() {
    for (size_t i = 0; i < texts_.size(); i += 2) {
      DeleteFileA(texts_[i].c_str());
      RemoveDirectoryA((folder_ + "\\Project" + std::to_string(i + 1)).c_str());
    }
    RemoveDirectoryA(folder_.c_str());
  }
  Projects(const Projects&) = delete;
  Projects& operator=(const Projects&) = delete;
  const std::vector<std::string>& texts() const { return texts_; }
  const std::vector<std::string>& survivors() const { return survivors_; }

 private:
  std::string folder_;
  std::vector<std::string> texts_, survivors_;
};

// Both lists afresh: "1".."n", nothing after.
inline void Seed(const std::vector<std::string>& texts) {
  for (const char* version : kVersions) {
    const std::string path = ListKey(version);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) Fail("cannot create a list key", status);
    for (size_t i = 0; i < texts.size(); ++i) {
      status = RegSetValueExA(key, std::to_string(i + 1).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(texts[i].c_str()), static_cast<DWORD>(texts[i].size() + 1));
      if (status != ERROR_SUCCESS) Fail("cannot seed a list", status);
    }
    RegCloseKey(key);
  }
}

// Each list holds `survivors` as "1".."k" and nothing after: what a cleaning run leaves.
inline void ExpectCleaned(const std::vector<std::string>& survivors, const char* who) {
  for (const char* version : kVersions) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ListKey(version).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
      Fail("a list key is gone after the run", 0);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    bool same = values == survivors.size();
    for (size_t i = 0; same && i < survivors.size(); ++i) {
      char text[256] = {};
      DWORD size = sizeof text - 1;
      same = RegQueryValueExA(key, std::to_string(i + 1).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                              &size) == ERROR_SUCCESS &&
             survivors[i] == text;
    }
    RegCloseKey(key);
    if (!same) {
      std::fprintf(stderr, "bench: the %s did not leave the %s list cleaned\n", who, version);
      std::exit(1);
    }
  }
}

// The calls a cleaning run needs, bare, in the fewest there can be: per list one key handle;
// each entry read once and its file tested once; each survivor that moves written once to its
// new number; each value past the new end deleted once.
struct BareList {
  char key[64];
  std::vector<std::string> names;
  std::vector<std::vector<char>> texts;
};
inline std::vector<BareList> BareLists(size_t entries) {
  std::vector<BareList> lists(2);
  for (size_t v = 0; v < 2; ++v) {
    std::snprintf(lists[v].key, sizeof lists[v].key, "%s", ListKey(kVersions[v]).c_str());
    for (size_t i = 0; i < entries; ++i) {
      lists[v].names.push_back(std::to_string(i + 1));
      lists[v].texts.emplace_back(256);
    }
  }
  return lists;
}
inline void BareCalls(std::vector<BareList>& lists) {
  for (BareList& list : lists) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, list.key, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
    size_t count = 0, survivors = 0;
    std::vector<size_t> from;
    for (; count < list.names.size(); ++count) {
      DWORD type = REG_SZ, size = 255;
      if (RegQueryValueExA(key, list.names[count].c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(list.texts[count].data()), &size) != ERROR_SUCCESS)
        break;
      if (GetFileAttributesA(list.texts[count].data()) != INVALID_FILE_ATTRIBUTES) from.push_back(count);
    }
    for (; survivors < from.size(); ++survivors) {
      if (from[survivors] == survivors) continue;
      const std::vector<char>& text = list.texts[from[survivors]];
      RegSetValueExA(key, list.names[survivors].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                     static_cast<DWORD>(std::strlen(text.data()) + 1));
    }
    for (size_t i = count; i > survivors; --i) RegDeleteValueA(key, list.names[i - 1].c_str());
    RegCloseKey(key);
  }
}

}  // namespace bench
