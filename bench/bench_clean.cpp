// bench_clean [runs]
//
// Times a cleaning run over two lists of 1000 entries, half of them naming files that are gone,
// as the Start button runs it (CleanBothLists), against the same registry and file calls made
// bare, with none of the program's own work around them; a run in which 100 entries live on
// a server whose probe never answers within the deadline; and one in which they live on a place
// whose probe answers at once but whose file queries block. Both work on a scratch key that stands in for HKEY_CURRENT_USER in this process
// only; the lists are seeded afresh before every run, and the seeding is not timed. Prints the
// medians as "name: value" lines.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "timing.h"

#include "cleaner/cleaner.h"
#include "registry/autostart.h"

namespace {

constexpr int kEntries = 1000;
constexpr const char* kVersions[] = {"5.0", "6.0"};

[[noreturn]] void Fail(const char* what, long code) {
  std::fprintf(stderr, "bench_clean: %s (%ld)\n", what, code);
  std::exit(1);
}

// A key of its own under the real HKEY_CURRENT_USER, standing in for it while the bench runs.
class ScratchUser {
 public:
  ScratchUser() : path_("Software\\Brushwick bench\\" + std::to_string(GetCurrentProcessId())) {
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &key_, nullptr);
    if (status != ERROR_SUCCESS) Fail("cannot create the scratch key", status);
    status = RegOverridePredefKey(HKEY_CURRENT_USER, key_);
    if (status != ERROR_SUCCESS) Fail("cannot put the scratch key in place of HKEY_CURRENT_USER", status);
  }
  ~ScratchUser() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brushwick bench");  // only when empty
  }
  ScratchUser(const ScratchUser&) = delete;
  ScratchUser& operator=(const ScratchUser&) = delete;

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

// The entries of one list: odd numbers name files that exist, even numbers files that are gone.
class Projects {
 public:
  Projects() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "brushwick-bench-" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(folder_.c_str(), nullptr)) Fail("cannot create the project folder", GetLastError());
    for (int i = 1; i <= kEntries; ++i) {
      texts_.push_back(folder_ + "\\Project" + std::to_string(i) + "\\Project" + std::to_string(i) + ".vbp");
      if (i % 2) {
        const std::string dir = folder_ + "\\Project" + std::to_string(i);
        CreateDirectoryA(dir.c_str(), nullptr);
        HANDLE file = CreateFileA(texts_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) Fail("cannot create a project file", GetLastError());
        CloseHandle(file);
        survivors_.push_back(texts_.back());
      }
    }
  }
  ~Projects() {
    for (int i = 1; i <= kEntries; i += 2) {
      DeleteFileA(texts_[static_cast<size_t>(i - 1)].c_str());
      RemoveDirectoryA((folder_ + "\\Project" + std::to_string(i)).c_str());
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

std::string ListKey(const char* version) {
  return std::string("SOFTWARE\\Microsoft\\Visual Basic\\") + version + "\\RecentFiles";
}

// Both lists afresh: "1".."1000", nothing after.
void Seed(const Projects& projects) {
  for (const char* version : kVersions) {
    const std::string path = ListKey(version);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     &key, nullptr);
    if (status != ERROR_SUCCESS) Fail("cannot create a list key", status);
    for (int i = 1; i <= kEntries; ++i) {
      const std::string& text = projects.texts()[static_cast<size_t>(i - 1)];
      status = RegSetValueExA(key, std::to_string(i).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
      if (status != ERROR_SUCCESS) Fail("cannot seed a list", status);
    }
    RegCloseKey(key);
  }
}

// Each list holds the survivors as "1".."500" and nothing after: what a cleaning run leaves.
void ExpectCleaned(const Projects& projects, const char* who) {
  for (const char* version : kVersions) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ListKey(version).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
      Fail("a list key is gone after the run", 0);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    bool same = values == projects.survivors().size();
    for (size_t i = 0; same && i < projects.survivors().size(); ++i) {
      char text[256] = {};
      DWORD size = sizeof text - 1;
      same = RegQueryValueExA(key, std::to_string(i + 1).c_str(), nullptr, nullptr,
                              reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
             projects.survivors()[i] == text;
    }
    RegCloseKey(key);
    if (!same) {
      std::fprintf(stderr, "bench_clean: the %s did not leave the %s list cleaned\n", who, version);
      std::exit(1);
    }
  }
}

// What the Start button does, without its message processing and summary box.
double TimeCleaningRun(const ExistenceChecks& checks = ExistenceChecks::System()) {
  std::vector<std::string> List1;
  const double start = NowMs();
  CleanBothLists(List1, checks);
  return NowMs() - start;
}

// A server that never answers in time: its probe blocks for 20 s. The first 100 entries of the
// 5.0 list live there.
constexpr char kSlowShare[] = "\\\\slow\\projekty";
constexpr int kUnreachable = 100;

// A place that answers its probe, but where every file query blocks for 20 s (a folder linked to
// a server that hangs).
constexpr char kBlockingShare[] = "\\\\linked\\projekty";

std::string SlowEntry(int i, const char* share = kSlowShare) {
  return std::string(share) + "\\P" + std::to_string(i) + ".vbp";
}

void SeedUnreachable(const Projects& projects, const char* share = kSlowShare) {
  Seed(projects);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, ListKey("5.0").c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    Fail("cannot open the 5.0 list", 0);
  for (int i = 1; i <= kUnreachable; ++i) {
    const std::string text = SlowEntry(i, share);
    RegSetValueExA(key, std::to_string(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
  }
  RegCloseKey(key);
}

ExistenceChecks WithSlowServer() {
  ExistenceChecks checks = ExistenceChecks::System();
  const auto system = checks.placeAnswers;
  checks.placeAnswers = [system](const std::string& place) {
    if (place != kSlowShare) return system(place);
    Sleep(20000);
    return true;
  };
  return checks;
}

ExistenceChecks WithBlockingQueries() {
  ExistenceChecks checks = ExistenceChecks::System();
  const auto system = checks.placeAnswers;
  checks.placeAnswers = [system](const std::string& place) { return place == kBlockingShare || system(place); };
  const auto query = checks.query;
  checks.query = [query](const std::string& path) {
    if (path.rfind(kBlockingShare, 0) != 0) return query(path);
    Sleep(20000);
    return PathState::Exists;
  };
  return checks;
}

// The entries out of reach were kept, first and in order.
void ExpectUnreachableKept(const char* share = kSlowShare) {
  HKEY key = nullptr;
  bool kept = RegOpenKeyExA(HKEY_CURRENT_USER, ListKey("5.0").c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
  for (int i = 1; kept && i <= kUnreachable; ++i) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    kept = RegQueryValueExA(key, std::to_string(i).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                            &size) == ERROR_SUCCESS &&
           SlowEntry(i, share) == text;
  }
  if (key) RegCloseKey(key);
  if (!kept) Fail("the entries on the slow server were not kept", 0);
}

// The cleaner's platform calls, bare: per entry open, query, close and the existence test; then
// per survivor open, write, close; then per surplus value open, delete, close.
struct BareList {
  char key[64];
  char names[kEntries][8];
  char texts[kEntries][Autostart::kTextAreaBytes];
};

double TimeBareCalls(std::vector<BareList>& lists) {
  const double start = NowMs();
  for (BareList& list : lists) {
    int count = 0, survivors = 0;
    HKEY key = nullptr;
    for (; count < kEntries; ++count) {
      if (RegOpenKeyExA(HKEY_CURRENT_USER, list.key, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) break;
      DWORD type = REG_SZ, size = Autostart::kTextAreaBytes;
      const LSTATUS status = RegQueryValueExA(key, list.names[count], nullptr, &type,
                                              reinterpret_cast<BYTE*>(list.texts[survivors]), &size);
      RegCloseKey(key);
      if (status != ERROR_SUCCESS) break;
      if (GetFileAttributesA(list.texts[survivors]) != INVALID_FILE_ATTRIBUTES) ++survivors;
    }
    for (int i = 0; i < survivors; ++i) {
      RegOpenKeyExA(HKEY_CURRENT_USER, list.key, 0, KEY_ALL_ACCESS, &key);
      RegSetValueExA(key, list.names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(list.texts[i]),
                     static_cast<DWORD>(std::strlen(list.texts[i]) + 1));
      RegCloseKey(key);
    }
    for (int i = survivors; i < count; ++i) {
      RegOpenKeyExA(HKEY_CURRENT_USER, list.key, 0, KEY_ALL_ACCESS, &key);
      RegDeleteValueA(key, list.names[i]);
      RegCloseKey(key);
    }
  }
  return NowMs() - start;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  Projects projects;
  ScratchUser scratch;

  std::vector<BareList> bare(2);
  for (size_t v = 0; v < bare.size(); ++v) {
    std::snprintf(bare[v].key, sizeof bare[v].key, "%s", ListKey(kVersions[v]).c_str());
    for (int i = 0; i < kEntries; ++i) std::snprintf(bare[v].names[i], sizeof bare[v].names[i], "%d", i + 1);
  }

  // One of each first, unmeasured, to warm the caches and check both leave the same lists.
  Seed(projects);
  TimeCleaningRun();
  ExpectCleaned(projects, "cleaner");
  Seed(projects);
  TimeBareCalls(bare);
  ExpectCleaned(projects, "bare calls");

  std::vector<double> clean, calls;
  for (int run = 0; run < runs; ++run) {
    Seed(projects);
    clean.push_back(TimeCleaningRun());
    Seed(projects);
    calls.push_back(TimeBareCalls(bare));
  }
  // Fewer runs: each waits out the probe's deadline.
  std::vector<double> unreachable;
  const ExistenceChecks slow = WithSlowServer();
  for (int run = 0; run < std::min(runs, 5); ++run) {
    SeedUnreachable(projects);
    unreachable.push_back(TimeCleaningRun(slow));
    ExpectUnreachableKept();
  }
  std::vector<double> blocked;
  const ExistenceChecks blocking = WithBlockingQueries();
  for (int run = 0; run < std::min(runs, 5); ++run) {
    SeedUnreachable(projects, kBlockingShare);
    blocked.push_back(TimeCleaningRun(blocking));
    ExpectUnreachableKept(kBlockingShare);
  }
  const double clean_ms = Median(clean), calls_ms = Median(calls);
  std::printf("clean_2x1000_ms: %.1f\n", clean_ms);
  std::printf("bare_calls_2x1000_ms: %.1f\n", calls_ms);
  std::printf("clean_vs_bare: %.2f\n", clean_ms / calls_ms);
  std::printf("clean_unreachable_100_ms: %.1f\n", Median(unreachable));
  std::printf("clean_blocked_queries_100_ms: %.1f\n", Median(blocked));
  return 0;
}
