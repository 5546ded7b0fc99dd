// Every command that changes the lists, stopped dead right after each of its registry writes and
// deletes and its file writes, renames and deletes in turn (its thread ends there: no line of it
// runs after the call, no destructor, no clean-up), then the next start run as it would be,
// answering its question both ways. Whatever the stop, no entry is lost, none is left behind a
// gap, and nothing is called done that was not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "change_fixture.h"
#include "cleaner/cleaner.h"
#include "common/stop_points.h"
#include "listfile/listfile.h"

namespace change_test {
namespace {

// The stop: counted on the command's own thread only.
DWORD g_worker = 0;
volatile LONG g_calls = 0;
LONG g_stopAt = 0;  // 0: never
HANDLE g_stopped = nullptr;

void AtStopPoint() {
  if (GetCurrentThreadId() != g_worker) return;
  if (InterlockedIncrement(&g_calls) != g_stopAt) return;
  SetEvent(g_stopped);
  for (;;) Sleep(INFINITE);  // ended from outside
}

// What a stop can leave: both lists as stored, and the undo files.
struct Saved {
  Lists lists;
  std::optional<std::string> undo, pending;
};

bool Gapless(const ValueMap& list) {
  size_t n = 0;
  for (const auto& entry : list) {
    (void)entry;
    if (!list.contains(std::to_string(++n))) return false;
  }
  return true;
}

// A thread's start: the command it is given.
DWORD WINAPI RunCommand(void* run) {
  (*static_cast<const std::function<void()>*>(run))();
  return 0;
}

struct Command {
  const char* name;
  std::function<void()> prepare;  // the lists and files as the command finds them
  std::function<void()> run;      // the command itself, on a thread of its own
};

class StopTest : public ChangeTest {
 protected:
  void SetUp() override {
    ChangeTest::SetUp();
    g_stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    stop_points::SetHookForTesting(&AtStopPoint);
  }
  void TearDown() override {
    stop_points::SetHookForTesting(nullptr);
    CloseHandle(g_stopped);
  }

  std::optional<std::string> FileOrNone(const std::wstring& path) const {
    if (!FileExists(path)) return std::nullopt;
    return ReadBytes(path);
  }
  // Both lists as stored, read the quick way (one enumeration each).
  static Lists Now() {
    Lists lists;
    for (const auto& [version, list] : {std::pair{"5.0", &lists.v50}, std::pair{"6.0", &lists.v60}}) {
      std::vector<Autostart::StoredValue> values;
      (void)Autostart::ReadNumberedValues(HKEY_CURRENT_USER, Autostart::ListKeyPath(version), values);
      for (auto& v : values) (*list)[v.name] = {v.type, std::move(v.data)};
    }
    return lists;
  }
  Saved Save() const { return {Now(), FileOrNone(UndoFile()), FileOrNone(PendingFile())}; }
  // Writes only what differs from `saved`.
  void Restore(const Saved& saved) {
    const Lists now = Now();
    for (const auto& [version, want, have] : {std::tuple{"5.0", &saved.lists.v50, &now.v50},
                                              std::tuple{"6.0", &saved.lists.v60, &now.v60}}) {
      if (*want == *have) continue;
      for (const auto& [name, value] : *have)
        if (!want->contains(name)) RegDeleteKeyValueA(HKEY_CURRENT_USER, Autostart::ListKeyPath(version).c_str(), name.c_str());
      std::map<std::string, RegValue> differing;
      for (const auto& [name, value] : *want) {
        const auto at = have->find(name);
        if (at == have->end() || at->second != value) differing[name] = value;
      }
      PutStoredValues(version, differing);
    }
    for (const auto& [path, bytes] : {std::pair{UndoFile(), &saved.undo}, std::pair{PendingFile(), &saved.pending}}) {
      if (*bytes) {
        WriteBytes(path, **bytes);
      } else {
        DeleteFileW(path.c_str());
      }
    }
  }
  // The way back Undo would take now: from the lists `from` to `to`, without asking.
  void ExpectWayBack(const Lists& from, const Lists& to) const {
    const std::optional<listfile::UndoRecord> last = change::LastChange(folder());
    ASSERT_TRUE(last) << "no way back";
    const auto lists = [](const listfile::ListsState& state) {
      Lists l;
      for (const auto& [list, map] : {std::pair{&state.lists[0], &l.v50}, std::pair{&state.lists[1], &l.v60}})
        for (const auto& v : list->values) (*map)[v.name] = {v.type, v.data};
      return l;
    };
    EXPECT_EQ(lists(*last->after), from) << "Undo would ask first: the record does not end where the lists are";
    EXPECT_EQ(lists(last->before), to) << "Undo would not return to the lists wanted";
  }

  // Runs the command on a thread of its own, stopped dead after call `stopAt` (0: never); the
  // number of calls it made.
  LONG RunStopped(const Command& command, LONG stopAt) {
    g_calls = 0;
    g_stopAt = stopAt;
    ResetEvent(g_stopped);
    const std::function<void()>* run = &command.run;
    // A small stack: each thread stopped dead leaves its stack behind, a thousand of them here,
    // which a 32-bit process would not find room for at the default size.
    HANDLE thread = CreateThread(nullptr, 256 * 1024, &RunCommand, const_cast<std::function<void()>*>(run),
                                 CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, &g_worker);
    EXPECT_NE(thread, nullptr);
    ResumeThread(thread);
    const HANDLE both[2] = {g_stopped, thread};
    const DWORD which = WaitForMultipleObjects(2, both, FALSE, INFINITE);
    if (which == WAIT_OBJECT_0) TerminateThread(thread, 1);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    g_worker = 0;
    // The lock the stopped thread held is taken once here, so this process keeps no trace of it.
    ListsLock(TestLock()).Acquire(0);
    return g_calls;
  }

  // The next start, answered `putBack`; the lists it leaves and whether it found a change to settle.
  bool NextStart(bool putBack) {
    bool asked = false;
    const change::PutBackOutcome out = change::PutBack(Where(), answers_, [&](const listfile::UndoRecord&, size_t) {
      asked = true;
      return putBack;
    });
    EXPECT_FALSE(listfile::ReadPending(folder()) && !listfile::ReadPending(folder())->after)
        << "a change is still unfinished after the next start";
    EXPECT_NE(out.change.end, change::End::Interrupted);
    return asked;
  }

  // Runs `command` stopped after each of its calls in turn; the number of stop points.
  int EveryStop(const Command& command) {
    command.prepare();
    const Saved start = Save();
    const LONG calls = RunStopped(command, 0);
    const Lists result = Now();
    EXPECT_NE(result, start.lists) << "the command changed nothing";
    // A range of the stop points when BRUSHWICK_STOPS says "FROM-TO": every thread stopped dead
    // leaves its memory behind, so the thousand stops of the largest case are shared out among
    // several test processes (a 32-bit one has room for a few hundred).
    LONG from = 1, to = calls;
    if (const char* range = std::getenv("BRUSHWICK_STOPS")) {
      from = std::max(1L, std::atol(range));
      if (const char* dash = std::strchr(range, '-')) to = std::min(calls, std::atol(dash + 1));
    }
    for (LONG k = from; k <= to && !HasFatalFailure(); ++k) {
      SCOPED_TRACE(std::string(command.name) + ", stopped after call " + std::to_string(k));
      Restore(start);
      EXPECT_EQ(RunStopped(command, k), k);
      const Saved stopped = Save();
      const std::optional<listfile::UndoRecord> pending = listfile::ReadPending(folder());
      const bool begun = pending && !pending->after;
      if (!begun) {
        EXPECT_TRUE(stopped.lists == start.lists || stopped.lists == result)
            << "lists half changed without a change to settle: " << testing::PrintToString(stopped.lists);
      }
      for (const auto& [now, before, after] : {std::tuple{&stopped.lists.v50, &start.lists.v50, &result.v50},
                                                std::tuple{&stopped.lists.v60, &start.lists.v60, &result.v60}}) {
        if (Gapless(*before) && Gapless(*after)) {
          EXPECT_TRUE(Gapless(*now)) << "a value behind a gap";
        }
        // An entry the command keeps is in the list at every moment, even before the next start.
        for (const auto& [name, value] : *before) {
          const auto same = [&](const auto& entry) { return entry.second == value; };
          if (std::any_of(after->begin(), after->end(), same)) {
            EXPECT_TRUE(std::any_of(now->begin(), now->end(), same)) << "a kept entry missing: " << name;
          }
        }
      }

      // Put back: the lists as before the command, or its result whole; Undo returns to the stop.
      const bool askedYes = NextStart(true);
      EXPECT_EQ(askedYes, begun);
      const Lists back = Now();
      EXPECT_TRUE(back == start.lists || back == result) << testing::PrintToString(back);
      if (askedYes && back != stopped.lists) ExpectWayBack(back, stopped.lists);

      // Left as it is: the lists as the stop left them; Undo returns to those before the command.
      Restore(stopped);
      EXPECT_EQ(NextStart(false), begun);
      EXPECT_EQ(Now(), stopped.lists);
      if (stopped.lists != start.lists && stopped.lists != result) ExpectWayBack(stopped.lists, start.lists);
    }
    return static_cast<int>(calls);
  }

  // Runs `decide` as a change of `kind`.
  void Decided(listfile::ChangeKind kind, const change::Decision& decide) {
    (void)change::Run(Where(), kind, {true, true}, decide, answers_);
  }

  // A clean as Start makes it; places named "Q:\" never answer.
  void Clean(bool removeUnreachable) {
    ExistenceChecks checks = ExistenceChecks::System();
    checks.placeAnswers = [system = checks.placeAnswers](const std::string& place) {
      return place != "Q:\\" && system(place);
    };
    const auto ask = [&](const std::vector<std::pair<std::string, int>>&) { return removeUnreachable; };
    CleanRun run(checks, {}, ask);
    Decided(listfile::ChangeKind::Clean, [&](const listfile::ListsReading& now, std::array<bool, 2> concerned) {
    return CleanDecision(run, now, concerned);
  });
  }

  // The lists `file` carries replace those as read.
  void Import(const std::wstring& file) {
    const listfile::ListFileContent content = listfile::ReadListFileContent(folder(), file);
    Decided(listfile::ChangeKind::Import, [&](const listfile::ListsReading& now, std::array<bool, 2>) {
      change::Wanted wanted;
      if (content.has50) wanted.lists[0] = listfile::ImportedValues(content.entries50, now.state.lists[0].values);
      if (content.has60) wanted.lists[1] = listfile::ImportedValues(content.entries60, now.state.lists[1].values);
      return wanted;
    });
  }

  // Lists of alive and dead entries, a duplicate, and other types among them.
  void SeedMixed(int entries) {
    for (const char* version : {"5.0", "6.0"}) {
      std::vector<std::string> texts;
      for (int i = 0; i < entries; ++i)
        texts.push_back(i % 3 == 1 ? alive_ : i % 3 == 2 ? "Q:\\away" + std::to_string(i) + ".vbp"
                                                         : gone_ + std::to_string(i % 5));
      SeedList(version, texts);
    }
    PutRawValue("5.0", "2", REG_EXPAND_SZ, std::string(alive_.begin(), alive_.end()) + '\0');
  }

  TempFolder files_;
  const std::string alive_ = WideToAnsiPath(files_ / L"a.vbp");
  const std::string gone_ = WideToAnsiPath(files_ / L"gone");

 private:
  static std::string WideToAnsiPath(const std::wstring& path) {
    WriteBytes(path, "x");
    std::string text;
    for (wchar_t c : path) text += static_cast<char>(c);
    return text;
  }
};

TEST_F(StopTest, EveryCommandStoppedAtEveryCallLosesNothing) {
  WriteBytes(folder() + L"\\one.rec", " 0 \r\n 1 \r\n[]\r\nC:\\x1.vbp\r\nC:\\x2.vbp\r\n");
  WriteBytes(folder() + L"\\both.rec", " 1 \r\n 1 \r\n[]\r\nC:\\y.vbp\r\n[]\r\nC:\\z1.vbp\r\nC:\\z2.vbp\r\nC:\\z3.vbp\r\n");
  const Command commands[] = {
      {"clean both lists", [&] { SeedMixed(12); }, [&] { Clean(false); }},
      {"clean with entries out of reach removed", [&] { SeedMixed(12); }, [&] { Clean(true); }},
      {"review removal",
       [&] { SeedMixed(8); },
       [&] {
         Decided(listfile::ChangeKind::Review, [&](const listfile::ListsReading& now, std::array<bool, 2>) {
           change::Wanted wanted;
           const VersionScan scan = ScanOf("6.0", now.status[1], now.state.lists[1].values);
           EntryFlags keep(scan.list.texts.size(), 1);
           keep[0] = keep[3] = keep[4] = 0;
           wanted.lists[1] = KeptValues(scan, keep);
           return wanted;
         });
       }},
      {"clear one list", [&] { SeedMixed(6); },
       [&] {
         Decided(listfile::ChangeKind::Clear, [](const listfile::ListsReading&, std::array<bool, 2>) {
           change::Wanted wanted;
           wanted.lists[0].emplace();
           return wanted;
         });
       }},
      {"clear both lists", [&] { SeedMixed(6); },
       [&] {
         Decided(listfile::ChangeKind::Clear, [](const listfile::ListsReading&, std::array<bool, 2>) {
           change::Wanted wanted;
           wanted.lists[0].emplace();
           wanted.lists[1].emplace();
           return wanted;
         });
       }},
      {"import of a file with one list", [&] { SeedMixed(5); }, [&] { Import(L"one"); }},
      {"import of a file with both lists", [&] { SeedMixed(5); }, [&] { Import(L"both"); }},
      {"undo", [&] {
         SeedMixed(6);
         Clean(true);
       },
       [&] { (void)Undo(); }},
      {"the put-back offered at the next start", [&] {
         SeedMixed(6);
         const listfile::UndoRecord begun{listfile::ChangeKind::Import, "2026-01-02 03:04:05", listfile::ReadLists(),
                                          std::nullopt};
         WriteBytes(PendingFile(), listfile::UndoFileText(begun));
         SeedList("6.0", {"C:\\half.vbp", "C:\\way.vbp"});
       },
       [&] {
         (void)change::PutBack(Where(), answers_, [](const listfile::UndoRecord&, size_t) { return true; });
       }},
  };
  for (const Command& command : commands) {
    RemoveTree(UndoFile());
    RemoveTree(PendingFile());
    const int stops = EveryStop(command);
    std::printf("%s: %d stop points\n", command.name, stops);
    EXPECT_GT(stops, 0) << command.name;
  }
}

// The undo of an import of more than 1000 entries: a thousand deletions, each a stop point. A
// test of its own, as every stop reads a list of a thousand entries several times.
TEST_F(StopTest, LargeUndoOfAnImportStoppedAtEveryCallLosesNothing) {
  std::string big = " 1 \r\n 0 \r\n[]\r\n";
  for (int i = 1; i <= 1001; ++i) big += "C:\\p" + std::to_string(i) + ".vbp\r\n";
  WriteBytes(folder() + L"\\big.rec", big);
  const Command command{"undo of an import of 1001 entries", [&] {
                          SeedMixed(3);
                          Import(L"big");
                        },
                        [&] { (void)Undo(); }};
  const int stops = EveryStop(command);
  std::printf("%s: %d stop points\n", command.name, stops);
  EXPECT_GT(stops, 1000);
}

}  // namespace
}  // namespace change_test
