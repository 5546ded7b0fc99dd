// bench_clean [runs]
//
// In process, on a scratch key that stands in for HKEY_CURRENT_USER: a cleaning run over two
// lists of 1000 entries, half of them naming files that are gone, as Start runs it through the
// change object (lock, snapshot, second reading, writes, done mark; no windows), against the
// registry and file calls it needs made bare; where its time goes, step by step; the same run when
// 100 entries live on a server that never answers, and on a place whose file queries block; and an
// import of 30,000 entries against its undo. The lists are seeded afresh before each run, untimed.
// Prints the medians as "name: value" lines.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "change/change.h"
#include "cleaner/cleaner.h"
#include "listfile/listfile.h"
#include "lists.h"
#include "common/text.h"
#include "timing.h"

namespace {

using bench::Fail;
constexpr int kEntries = 1000;
constexpr wchar_t kLock[] = L"Local\\Brushwick.Bench";

// A key of its own under the real HKEY_CURRENT_USER, standing in for it while the bench runs.
class ScratchUser {
 public:
  ScratchUser() : path_("Software\\Brushwick bench\\" + std::to_string(GetCurrentProcessId())) {
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                     nullptr);
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

// The undo files go to a folder of their own.
class UndoFolder {
 public:
  UndoFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"brushwick-bench-undo-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~UndoFolder() {
    for (const wchar_t* name : {L"\\cofnij.dat", L"\\cofnij.new", L"\\cofnij.new~"}) DeleteFileW((path_ + name).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

class QuietAnswers : public change::Answers {
 public:
  bool IdesOpen(const OpenIdes&, OpenIdes&) override { return true; }
  bool OtherCopy(HANDLE) override { return false; }
  bool GoOnWithoutUndo(const AppError&) override { return false; }
};

change::Wanted CleanDecision(CleanRun& run, const listfile::ListsReading& now, std::array<bool, 2> concerned) {
  std::array<VersionScan, 2> scans;
  for (int l = 0; l < 2; ++l) scans[l] = ScanOf(listfile::kListVersions[l], now.status[l], now.state.lists[l].values);
  run.Decide(std::move(scans), concerned);
  change::Wanted wanted;
  for (int l = 0; l < 2; ++l) wanted.lists[l] = run.Wanted(l);
  return wanted;
}

// What Start does, without its windows and summary.
double TimeCleaningRun(const UndoFolder& folder, const ExistenceChecks& checks = ExistenceChecks::System()) {
  QuietAnswers answers;
  const double start = NowMs();
  CleanRun run(checks);
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2> concerned) {
    return CleanDecision(run, now, concerned);
  };
  const change::Outcome out = change::Run({folder.path(), kLock}, listfile::ChangeKind::Clean, {true, true}, decide,
                                          answers);
  const double elapsed = NowMs() - start;
  if (out.end != change::End::Done) Fail("the cleaning run did not end done", static_cast<long>(out.end));
  return elapsed;
}

// The steps of the same run, each timed: reading, checking, snapshot, second reading, writing,
// the done mark.
std::vector<double> TimeSteps(const UndoFolder& folder) {
  std::vector<double> steps;
  double t = NowMs();
  const auto step = [&] {
    const double now = NowMs();
    steps.push_back(now - t);
    t = now;
  };
  const listfile::ListsReading now = listfile::ReadListsNow();
  step();
  CleanRun run(ExistenceChecks::System());
  const change::Wanted wanted = CleanDecision(run, now, {true, true});
  step();
  listfile::UndoRecord record{listfile::ChangeKind::Clean, LocalTimeText(), now.state, std::nullopt};
  listfile::WritePending(folder.path(), record, listfile::kMaxUndoFileBytes);
  step();
  (void)listfile::ReadListsNow();
  step();
  record.after = now.state;
  for (int l = 0; l < 2; ++l) {
    (void)Autostart::ReplaceValues(HKEY_CURRENT_USER, Autostart::ListKeyPath(listfile::kListVersions[l]),
                                   now.state.lists[l].values, *wanted.lists[l]);
    record.after->lists[l].values = *wanted.lists[l];
  }
  step();
  listfile::WritePending(folder.path(), record, listfile::kMaxUndoFileBytes);
  listfile::PromotePending(folder.path());
  step();
  return steps;
}

// A server that never answers in time: its probe blocks for 20 s. The first 100 entries of the
// 5.0 list live there.
constexpr char kSlowShare[] = "\\\\slow\\projekty";
constexpr int kUnreachable = 100;
// A place that answers its probe, but where every file query blocks for 20 s.
constexpr char kBlockingShare[] = "\\\\linked\\projekty";

std::string SlowEntry(int i, const char* share) { return std::string(share) + "\\P" + std::to_string(i) + ".vbp"; }

void SeedUnreachable(const bench::Projects& projects, const char* share) {
  bench::Seed(projects.texts());
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, bench::ListKey("5.0").c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
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
void ExpectUnreachableKept(const char* share) {
  HKEY key = nullptr;
  bool kept = RegOpenKeyExA(HKEY_CURRENT_USER, bench::ListKey("5.0").c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
  for (int i = 1; kept && i <= kUnreachable; ++i) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    kept = RegQueryValueExA(key, std::to_string(i).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) ==
               ERROR_SUCCESS &&
           SlowEntry(i, share) == text;
  }
  if (key) RegCloseKey(key);
  if (!kept) Fail("the entries out of reach were not kept", 0);
}

// An import of `entries` entries into the 5.0 list, then its undo; both timed.
std::pair<double, double> TimeImportAndUndo(const UndoFolder& folder, int entries) {
  bench::Seed({"C:\\a.vbp", "C:\\b.vbp"});
  std::vector<std::string> texts;
  for (int i = 1; i <= entries; ++i) texts.push_back("C:\\Projekty\\P" + std::to_string(i) + ".vbp");
  QuietAnswers answers;
  double start = NowMs();
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2>) {
    change::Wanted wanted;
    wanted.lists[0] = listfile::ImportedValues(texts, now.state.lists[0].values);
    return wanted;
  };
  if (change::Run({folder.path(), kLock}, listfile::ChangeKind::Import, {true, false}, decide, answers).end !=
      change::End::Done)
    Fail("the import did not end done", 0);
  const double import = NowMs() - start;
  Sleep(2100);  // the lists as users have them when they undo: not written in the last moments
  start = NowMs();
  if (change::Undo({folder.path(), kLock}, answers, [](const listfile::ChangedSince&) { return false; }).end !=
      change::End::Done)
    Fail("the undo did not end done", 0);
  return {import, NowMs() - start};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  bench::Projects projects(kEntries);
  ScratchUser scratch;
  UndoFolder folder;
  std::vector<bench::BareList> bare = bench::BareLists(kEntries);

  // One of each first, unmeasured, to warm the caches and check both leave the same lists.
  bench::Seed(projects.texts());
  TimeCleaningRun(folder);
  bench::ExpectCleaned(projects.survivors(), "cleaning run");
  bench::Seed(projects.texts());
  bench::BareCalls(bare);
  bench::ExpectCleaned(projects.survivors(), "bare calls");

  std::vector<double> clean, calls;
  std::vector<std::vector<double>> steps(6);
  for (int run = 0; run < runs; ++run) {
    bench::Seed(projects.texts());
    Sleep(2100);  // not written in the last moments, as users have them
    clean.push_back(TimeCleaningRun(folder));
    bench::Seed(projects.texts());
    double start = NowMs();
    bench::BareCalls(bare);
    calls.push_back(NowMs() - start);
    bench::Seed(projects.texts());
    const std::vector<double> s = TimeSteps(folder);
    for (size_t i = 0; i < steps.size(); ++i) steps[i].push_back(s[i]);
  }
  // Fewer runs: each waits out a deadline.
  std::vector<double> unreachable, blocked;
  const ExistenceChecks slow = WithSlowServer(), blocking = WithBlockingQueries();
  for (int run = 0; run < std::min(runs, 5); ++run) {
    SeedUnreachable(projects, kSlowShare);
    unreachable.push_back(TimeCleaningRun(folder, slow));
    ExpectUnreachableKept(kSlowShare);
    SeedUnreachable(projects, kBlockingShare);
    blocked.push_back(TimeCleaningRun(folder, blocking));
    ExpectUnreachableKept(kBlockingShare);
  }
  std::vector<double> imports, undos;
  for (int run = 0; run < std::min(runs, 3); ++run) {
    const auto [import, undo] = TimeImportAndUndo(folder, 30000);
    imports.push_back(import);
    undos.push_back(undo);
  }
  const double clean_ms = Median(clean), calls_ms = Median(calls);
  std::printf("inprocess_clean_2x1000_ms: %.1f\n", clean_ms);
  std::printf("inprocess_bare_calls_2x1000_ms: %.1f\n", calls_ms);
  std::printf("inprocess_clean_vs_bare: %.2f\n", clean_ms / calls_ms);
  const char* names[] = {"reading", "checking", "snapshot", "second_reading", "writing", "done_mark"};
  for (size_t i = 0; i < steps.size(); ++i) std::printf("step_%s_ms: %.1f\n", names[i], Median(steps[i]));
  std::printf("clean_unreachable_100_ms: %.1f\n", Median(unreachable));
  std::printf("clean_blocked_queries_100_ms: %.1f\n", Median(blocked));
  std::printf("import_30000_ms: %.1f\n", Median(imports));
  std::printf("undo_import_30000_ms: %.1f\n", Median(undos));
  std::printf("undo_vs_import: %.2f\n", Median(undos) / Median(imports));
  return 0;
}
