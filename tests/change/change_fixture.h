#pragma once
// A scratch registry and a temporary program folder for the tests of the change object, and
// answers that ask nobody.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "change/change.h"
#include "cleaner/cleaner.h"
#include "listfile/undo.h"
#include "support/scratch_registry.h"

namespace change_test {

using ValueMap = std::map<std::string, RegValue>;

// Both lists as stored, by name.
struct Lists {
  ValueMap v50, v60;
  bool operator==(const Lists&) const = default;
};
inline Lists StoredLists() { return {StoredListValues("5.0"), StoredListValues("6.0")}; }
inline void PrintTo(const Lists& lists, std::ostream* os) {
  for (const ValueMap* list : {&lists.v50, &lists.v60}) {
    *os << "{";
    for (const auto& [name, value] : *list) *os << name << ":" << value.type << ":" << value.bytes.size() << " ";
    *os << "} ";
  }
}

// Answers as the command line gives them: no question is asked of anyone.
class QuietAnswers : public change::Answers {
 public:
  bool IdesOpen(const OpenIdes&, OpenIdes&) override { return true; }
  bool OtherCopy(HANDLE) override { return false; }
  bool GoOnWithoutUndo(const AppError&) override { return goOnWithoutUndo; }
  void Progress(std::size_t done, std::size_t total) override { progress.emplace_back(done, total); }
  void Holding(bool held, change::Work work) override { holding.emplace_back(held, work); }
  bool goOnWithoutUndo = false;
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  std::vector<std::pair<bool, change::Work>> holding;
};

// Makes each list hold `state`'s values exactly (a list whose key does not exist is left alone).
inline void PutLists(const listfile::ListsState& state) {
  for (int l = 0; l < 2; ++l) {
    if (!state.lists[l].keyExists) continue;
    const std::string key = Autostart::ListKeyPath(listfile::kListVersions[l]);
    std::vector<Autostart::StoredValue> now;
    (void)Autostart::ReadNumberedValues(HKEY_CURRENT_USER, key, now);
    (void)Autostart::ReplaceValues(HKEY_CURRENT_USER, key, now, state.lists[l].values);
  }
}

// Start's decision, as the windows and the command line make it.
inline change::Wanted CleanDecision(CleanRun& run, const listfile::ListsReading& now, std::array<bool, 2> concerned) {
  std::array<VersionScan, 2> scans;
  for (int l = 0; l < 2; ++l) scans[l] = ScanOf(listfile::kListVersions[l], now.status[l], now.state.lists[l].values);
  run.Decide(std::move(scans), concerned);
  change::Wanted wanted;
  for (int l = 0; l < 2; ++l) wanted.lists[l] = run.Wanted(l);
  return wanted;
}

class ChangeTest : public ScratchRegistryTest {
 protected:
  void SetUp() override {
    ScratchRegistryTest::SetUp();
    CreateListKey("5.0");
    CreateListKey("6.0");
  }
  const std::wstring& folder() const { return folder_.path(); }
  // The undo files in the temporary folder, and a lock apart from the program's, which the
  // end-to-end tests running meanwhile take.
  change::Place Where() const { return {folder(), TestLock()}; }
  // One for each test process, so that two of them can run at once.
  static const wchar_t* TestLock() {
    static const std::wstring name = L"Local\\Brushwick.ChangeTests." + std::to_wstring(GetCurrentProcessId());
    return name.c_str();
  }
  std::wstring UndoFile() const { return listfile::UndoFilePath(folder()); }
  std::wstring PendingFile() const { return listfile::PendingFilePath(folder()); }

  // A change of `kind` from the lists as they are to the lists as `seed` leaves them, made
  // through the change object as a command makes it.
  change::Outcome Change(listfile::ChangeKind kind, const std::function<void()>& seed) {
    const listfile::ListsState before = listfile::ReadLists();
    seed();
    const listfile::ListsState after = listfile::ReadLists();
    PutLists(before);
    return change::Run(Where(), kind, {true, true}, [&](const listfile::ListsReading&, std::array<bool, 2>) {
      change::Wanted wanted;
      for (int l = 0; l < 2; ++l)
        if (after.lists[l].keyExists) wanted.lists[l] = after.lists[l].values;
      return wanted;
    }, answers_);
  }
  // Undo, going on over lists changed since when `overChanges`.
  change::Outcome Undo(bool overChanges = true) {
    return change::Undo(Where(), answers_, [&](const listfile::ChangedSince&) { return overChanges; });
  }

  QuietAnswers answers_;
  TempFolder folder_;
};

}  // namespace change_test
