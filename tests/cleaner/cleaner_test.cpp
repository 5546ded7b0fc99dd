#include "cleaner/cleaner.h"
#include "cleaner/reachability.h"

#include <algorithm>
#include <set>

#include "common/text.h"
#include "support/scratch_registry.h"

namespace {

class CleanerTest : public ScratchRegistryTest {
 protected:
  // A path that exists (a file created in the temporary folder) or one that does not.
  std::string Alive(const std::string& name) {
    const std::wstring path = folder_ / AnsiToWide(name);
    WriteBytes(path, "x");
    return WideToAnsi(path);
  }
  std::string Dead(const std::string& name) { return WideToAnsi(folder_ / AnsiToWide(name)); }

  CleanOutcome Clean(const std::string& version) {
    List1.clear();
    const CleanOutcome outcome = ClearOldFiles(version, List1);
    EXPECT_FALSE(Autostart::HoldsOpenKey());
    return outcome;
  }

  TempFolder folder_;
  std::vector<std::string> List1;
};

TEST_F(CleanerTest, ExistenceTestTakesFilesAndFoldersAndNothingElse) {
  EXPECT_TRUE(CzyIstnieje(Alive("a.vbp")));
  EXPECT_TRUE(CzyIstnieje(WideToAnsi(folder_.path())));
  EXPECT_FALSE(CzyIstnieje(Dead("gone.vbp")));
  EXPECT_FALSE(CzyIstnieje(""));
  EXPECT_FALSE(CzyIstnieje(" " + Alive("b.vbp"))) << "paths are used as they stand, not trimmed";
  EXPECT_FALSE(CzyIstnieje("Q:\\no\\such\\drive.vbp"));
  // What it finds missing is gone, not out of reach; the checks on the real file system say the same.
  const ExistenceChecks system = ExistenceChecks::System();
  for (const std::string& missing : {Dead("gone.vbp"), Alive("c.vbp") + "\\inside.vbp", std::string("a|b")}) {
    bool outOfReach = true;
    EXPECT_FALSE(CzyIstnieje(missing, &outOfReach)) << missing;
    EXPECT_FALSE(outOfReach) << missing;
    EXPECT_EQ(system.query(missing), PathState::Gone) << missing;
  }
  bool outOfReach = true;
  EXPECT_TRUE(CzyIstnieje(Alive("d.vbp"), &outOfReach));
  EXPECT_FALSE(outOfReach);
  EXPECT_EQ(system.query(Alive("e.vbp")), PathState::Exists);
}

TEST_F(CleanerTest, WithYGoneXAndZStayUnderOneAndTwo) {
  const std::string x = Alive("x.vbp"), z = Alive("z.vbp");
  SeedList("6.0", {x, Dead("y.vbp"), z});
  const CleanOutcome outcome = Clean("6.0");
  EXPECT_EQ(outcome.entryCount, 3);
  EXPECT_EQ(outcome.removed, 1);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(List1, (std::vector<std::string>{x, z}));
  const auto values = ListValues("6.0");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values.at("1"), (RegValue{REG_SZ, x + '\0'}));
  EXPECT_EQ(values.at("2"), (RegValue{REG_SZ, z + '\0'}));
}

TEST_F(CleanerTest, EmptyOrMissingListsChangeNothing) {
  EXPECT_EQ(Clean("5.0").entryCount, 0);
  EXPECT_FALSE(ListKeyExists("5.0")) << "the cleaner must not create the key";
  CreateListKey("6.0");
  PutListValue("6.0", "2", Dead("only-two.vbp"));  // no "1": the list is empty
  const CleanOutcome outcome = Clean("6.0");
  EXPECT_EQ(outcome.entryCount, 0);
  EXPECT_TRUE(List1.empty());
  EXPECT_EQ(ListValues("6.0").size(), 1u);
}

TEST_F(CleanerTest, AllAliveListsStayAndAllDeadListsEmpty) {
  const std::vector<std::string> alive = {Alive("a.vbp"), Alive("b.vbp"), Alive("a.vbp")};
  SeedList("5.0", alive);
  SeedList("6.0", {Dead("1.vbp"), Dead("2.vbp"), Dead("3.vbp"), Dead("4.vbp")});
  const CleanOutcome vb5 = Clean("5.0");
  EXPECT_EQ(vb5.entryCount, 3);
  EXPECT_EQ(vb5.removed, 0);
  EXPECT_EQ(ReadList("5.0"), alive) << "duplicates stay, in their order";
  const CleanOutcome vb6 = Clean("6.0");
  EXPECT_EQ(vb6.entryCount, 4);
  EXPECT_EQ(vb6.removed, 4);
  EXPECT_TRUE(ListValues("6.0").empty());
}

TEST_F(CleanerTest, ScanStopsAtTheFirstMissingNumber) {
  const std::string a = Alive("a.vbp");
  SeedList("5.0", {Dead("d1.vbp"), a, Dead("d3.vbp")});
  PutListValue("5.0", "5", Dead("behind-gap.vbp"));
  const CleanOutcome gap = Clean("5.0");
  EXPECT_EQ(gap.entryCount, 3);
  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{a});
  EXPECT_TRUE(GetListValue("5.0", "5").has_value()) << "values behind a gap keep their number";
}

// Renumbering the survivors in front of such an entry would open a gap before it, and the IDE
// reads no further than a gap; rewriting an altered text would name another file.
TEST_F(CleanerTest, AListWithAnEntryThatCannotBeReadExactlyIsLeftAsItWas) {
  const std::string a = Alive("a.vbp");
  const std::wstring foreign = AnsiToWide(WideToAnsi(folder_.path())) + L"\\\u0416\u05D0\u0100";
  ASSERT_TRUE(CreateDirectoryW(foreign.c_str(), nullptr));  // exists, but not under its ANSI name
  struct Case {
    const char* what;
    Autostart::Status status;
    const char* entry;
  };
  const Case cases[] = {{"too long", ERROR_MORE_DATA, "3"},
                        {"outside the code page", ERROR_NO_UNICODE_TRANSLATION, "3"},
                        {"no right to read", ERROR_ACCESS_DENIED, "1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeedList("6.0", {Dead("x.vbp"), a});
    if (c.status == ERROR_MORE_DATA) PutListValue("6.0", "3", std::string(255, 'L'));
    if (c.status == ERROR_NO_UNICODE_TRANSLATION) PutWideListValue("6.0", "3", foreign);
    PutListValue("6.0", "4", Dead("after.vbp"));
    const auto before = ListValues("6.0");
    if (c.status == ERROR_ACCESS_DENIED) DenyOnListKey("6.0", KEY_QUERY_VALUE);
    const CleanOutcome outcome = Clean("6.0");
    DenyOnListKey("6.0", 0);
    EXPECT_TRUE(outcome.unreadable);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.failedValue, c.entry);
    EXPECT_EQ(outcome.removed, 0);
    EXPECT_TRUE(List1.empty());
    EXPECT_EQ(ListValues("6.0"), before);
  }
}

// The IDE reads a list up to its first gap: entries past the checked thousand move down with the
// rest, unchecked, in order and as stored, so none of them drops out of its sight.
TEST_F(CleanerTest, EntriesPastTheFirstThousandMoveDownUncheckedWithoutAGap) {
  const std::string a = Alive("a.vbp"), d = Dead("d.vbp");
  std::vector<std::string> texts;
  for (int i = 0; i < 1002; ++i) texts.push_back(i % 2 ? a : d);
  SeedList("5.0", texts);
  PutRawValue("5.0", "1003", REG_BINARY, std::string("\x01\0\x02", 3));
  PutListValue("5.0", "1005", d);  // behind a gap: not part of the list
  const CleanOutcome outcome = Clean("5.0");
  EXPECT_EQ(outcome.entryCount, 1000);
  EXPECT_EQ(outcome.removed, 500);
  EXPECT_EQ(outcome.unchecked, 3);
  const auto values = ListValues("5.0");
  EXPECT_EQ(values.size(), 504u);
  EXPECT_EQ(values.at("500").bytes, a + '\0');
  EXPECT_EQ(values.at("501"), (RegValue{REG_SZ, d + '\0'})) << "unchecked entries are kept, dead or not";
  EXPECT_EQ(values.at("502"), (RegValue{REG_SZ, a + '\0'}));
  EXPECT_EQ(values.at("503"), (RegValue{REG_BINARY, std::string("\x01\0\x02", 3)}));
  EXPECT_FALSE(values.contains("504"));
  EXPECT_EQ(values.at("1005").bytes, d + '\0');
}

// A survivor keeps its stored type and bytes; an entry stored as REG_EXPAND_SZ exists when its
// text or its expanded text names an existing file.
TEST_F(CleanerTest, EntriesKeepTheirStoredTypeAndExpandableOnesCountExpanded) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRUSHWICK_TEST_FOLDER", folder_.path().c_str()));
  const std::string alive = Alive("a.vbp"), folder = WideToAnsi(folder_.path());
  const std::string multi = alive + '\0' + "second" + '\0' + '\0';
  struct Case {
    const char* what;
    DWORD type;
    std::string bytes;  // as stored
    bool kept;
  };
  const Case cases[] = {
      {"binary naming a file", REG_BINARY, alive, true},
      {"binary, stored terminator", REG_BINARY, alive + '\0', true},
      {"multi-string whose first string names a file", REG_MULTI_SZ, multi, true},
      {"expandable, as it stands", REG_EXPAND_SZ, folder + '\0', true},
      {"expandable, once expanded", REG_EXPAND_SZ, "%BRUSHWICK_TEST_FOLDER%\\a.vbp" + std::string(1, '\0'), true},
      {"expandable, gone once expanded", REG_EXPAND_SZ, "%BRUSHWICK_TEST_FOLDER%\\gone.vbp" + std::string(1, '\0'), false},
      {"plain string, never expanded", REG_SZ, "%BRUSHWICK_TEST_FOLDER%\\a.vbp" + std::string(1, '\0'), false},
      {"plain string without terminator", REG_SZ, alive, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeedList("6.0", {Dead("first.vbp")});
    if (c.type == REG_SZ && c.bytes.back() == '\0') PutListValue("6.0", "2", c.bytes.substr(0, c.bytes.size() - 1));
    else PutRawValue("6.0", "2", c.type, c.bytes);
    const std::optional<RegValue> stored = GetListValue("6.0", "2");
    ASSERT_TRUE(stored);
    PutListValue("6.0", "3", alive);
    const CleanOutcome outcome = Clean("6.0");
    EXPECT_EQ(outcome.status, 0);
    const auto values = ListValues("6.0");
    if (c.kept) {
      ASSERT_EQ(values.size(), 2u);
      EXPECT_EQ(values.at("1"), *stored) << "moved with its own type and bytes";
      EXPECT_EQ(outcome.removed, 1);
    } else {
      ASSERT_EQ(values.size(), 1u);
      EXPECT_EQ(outcome.removed, 2);
    }
  }
  SetEnvironmentVariableW(L"BRUSHWICK_TEST_FOLDER", nullptr);
}

TEST_F(CleanerTest, UnwritableListIsReportedAndKeptWhole) {
  const std::vector<std::string> texts = {Dead("d.vbp"), Alive("a.vbp")};
  SeedList("6.0", texts);
  MakeReadOnly("6.0");
  const CleanOutcome outcome = Clean("6.0");
  EXPECT_EQ(outcome.entryCount, 2);
  EXPECT_EQ(outcome.removed, 0) << "nothing may be counted as removed that is still there";
  EXPECT_EQ(outcome.status, ERROR_ACCESS_DENIED);
  EXPECT_EQ(outcome.failedValue, "1");
  EXPECT_EQ(ReadList("6.0"), texts);

  // With nothing to remove nothing needs writing, so the same key is no failure.
  const std::vector<std::string> alive = {Alive("b.vbp"), Alive("c.vbp")};
  SeedList("5.0", alive);
  MakeReadOnly("5.0");
  const CleanOutcome kept = Clean("5.0");
  EXPECT_EQ(kept.status, 0);
  EXPECT_EQ(kept.removed, 0);
  EXPECT_EQ(ReadList("5.0"), alive);
}

// Every registry call of a run, in turn, fails: whatever the cleaner managed before, no entry
// that exists may be missing from the list, the registry must match what the outcome claims,
// and the failure must be reported (a failed read leaves the list untouched).
TEST_F(CleanerTest, AFailureAtAnyCallLosesNoSurvivorAndIsReported) {
  const std::string a = Alive("a.vbp"), b = Alive("b.vbp"), c = Alive("c.vbp");
  // The second "a" moves onto the first one's copy: a write that changes nothing, left out.
  const std::vector<std::string> original = {Dead("d1.vbp"), a, Dead("d2.vbp"), a, b,
                                             Dead("d3.vbp"), c, Dead("d4.vbp")};
  const std::set<std::string> survivors = {a, b, c};
  for (int failAt = 1;; ++failAt) {
    SCOPED_TRACE("failing call " + std::to_string(failAt));
    SeedList("5.0", original);
    int calls = 0;
    Autostart::Operation failedOp{};
    Autostart::SetFaultInjectorForTesting([&](Autostart::Operation op, const std::string&) {
      if (++calls != failAt) return Autostart::Status{0};
      failedOp = op;
      return Autostart::Status{ERROR_ACCESS_DENIED};
    });
    const CleanOutcome outcome = Clean("5.0");
    Autostart::SetFaultInjectorForTesting(nullptr);
    if (calls < failAt) {
      // Past the last call: the run completed untouched by faults.
      EXPECT_EQ(ReadList("5.0"), (std::vector<std::string>{a, a, b, c}));
      EXPECT_EQ(outcome.removed, 4);
      EXPECT_EQ(calls, 1 + 3 + 4);  // one reading of all values, 3 writes, 4 deletes
      break;
    }
    const auto values = ListValues("5.0");
    EXPECT_EQ(ReadList("5.0").size(), values.size()) << "the list never has a gap";
    std::multiset<std::string> present;
    for (const auto& [name, value] : values) present.insert(value.bytes.substr(0, value.bytes.size() - 1));
    for (const std::string& s : survivors) EXPECT_TRUE(present.contains(s)) << s;
    // The dead entries still present are exactly those not counted as removed.
    int deadLeft = 0;
    for (const auto& text : present) deadLeft += survivors.contains(text) ? 0 : 1;
    if (failedOp == Autostart::Operation::Query) {
      EXPECT_TRUE(outcome.unreadable);
      EXPECT_EQ(outcome.status, ERROR_ACCESS_DENIED);
      EXPECT_EQ(outcome.entryCount, std::min(failAt - 1, 8));
      EXPECT_EQ(ReadList("5.0"), original) << "a failed read changes nothing";
    } else {
      EXPECT_EQ(outcome.status, ERROR_ACCESS_DENIED);
      EXPECT_FALSE(outcome.failedValue.empty());
      EXPECT_EQ(outcome.entryCount, 8);
      EXPECT_EQ(deadLeft, 4 - outcome.removed);
    }
  }
}

}  // namespace

namespace {

TEST(Reachability, EachPathLivesOnItsDriveOrShare) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Projects\\a.vbp", "C:\\"},
      {"e:relative.vbp", "E:\\"},
      {"\\\\server\\projekty\\x\\a.vbp", "\\\\server\\projekty"},
      {"//server/share/a.vbp", "\\\\server\\share"},
      {"\\\\?\\D:\\long\\a.vbp", "D:\\"},
      {"\\\\?\\UNC\\srv\\sh\\a.vbp", "\\\\srv\\sh"},
      {"\\\\server", ""},          // no share named
      {"\\\\server\\", ""},
      {"\\\\.\\pipe\\x", ""},      // a device, queried as it stands
      {"Projects\\a.vbp", ""},     // relative: the current drive
      {"", ""},
  };
  for (const auto& [path, place] : cases) EXPECT_EQ(PlaceOf(path), place) << path;
}

// Set when the test is over, so the checks it left blocked can end.
HANDLE g_releaseSlowServer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
volatile LONG g_slowProbes = 0, g_queried = 0;

// A server that does not answer must cost the deadline, not a wait per entry, and so must file
// queries that block on a place whose probe answered (a folder linked to a hung server) or on a
// path without a place: the blocked calls below end only after CheckPaths has returned, so the
// call returning at all shows it gave up on them.
TEST(Reachability, ChecksThatDoNotComeBackInTimeLeaveTheirEntriesUnknown) {
  TempFolder folder;
  const std::string alive = WideToAnsi(folder / L"alive.vbp"), dead = WideToAnsi(folder / L"dead.vbp");
  WriteBytes(folder / L"alive.vbp", "x");
  std::vector<std::string> paths = {alive, "Q:\\unmapped\\a.vbp", dead, "\\\\lonely", "\\\\hung\\share\\a.vbp",
                                    "\\\\hung\\share\\b.vbp"};
  for (int i = 0; i < 100; ++i) paths.push_back("\\\\slow\\share\\p" + std::to_string(i) + ".vbp");

  ExistenceChecks checks = ExistenceChecks::System();
  const auto system = checks.placeAnswers;
  checks.placeAnswers = [system](const std::string& place) {
    if (place == "\\\\hung\\share") return true;
    if (place != "\\\\slow\\share") return system(place);
    InterlockedIncrement(&g_slowProbes);
    WaitForSingleObject(g_releaseSlowServer, INFINITE);
    return true;
  };
  const auto query = checks.query;
  const DWORD caller = GetCurrentThreadId();
  checks.query = [query, caller](const std::string& path) {
    InterlockedIncrement(&g_queried);
    if (GetCurrentThreadId() == caller) ADD_FAILURE() << "queried on the caller's thread: " << path;
    if (!path.starts_with("\\\\hung") && !path.starts_with("\\\\lonely")) return query(path);
    WaitForSingleObject(g_releaseSlowServer, INFINITE);
    return PathState::Exists;  // too late to count
  };
  checks.deadlineMs = 300;
  int pumped = 0;
  const std::vector<PathState> states = CheckPaths(paths, checks, [&] { ++pumped; });
  const LONG queried = g_queried;
  SetEvent(g_releaseSlowServer);

  ASSERT_EQ(states.size(), paths.size());
  EXPECT_EQ(states[0], PathState::Exists);
  EXPECT_EQ(states[1], PathState::Unreachable) << "a drive that is not there says nothing of the file";
  EXPECT_EQ(states[2], PathState::Gone);
  for (size_t i = 3; i < states.size(); ++i) EXPECT_EQ(states[i], PathState::Unreachable) << paths[i];
  EXPECT_EQ(g_slowProbes, 1) << "each place is probed once";
  EXPECT_EQ(queried, 4) << "only entries on places that answered are queried, one blocked query per place";
  EXPECT_GT(pumped, 0) << "the windows are served while the checks are out";
  EXPECT_EQ(UnreachablePlaces(paths, states),
            (std::vector<std::pair<std::string, int>>{
                {"Q:\\", 1}, {"\\\\lonely", 1}, {"\\\\hung\\share", 2}, {"\\\\slow\\share", 100}}));
}

// A place that answers slowly but steadily is checked to its last entry: each query that comes
// back gives the place its deadline anew, so only a query that itself takes the deadline makes the
// entries out of reach. Each query here takes a tenth of the deadline, measured, so together they
// surely outlast it while each stays far within it, however slow the machine.
constexpr DWORD kSteadyDeadlineMs = 1000, kSteadyQueryMs = 100;
HANDLE g_neverSet = CreateEventW(nullptr, TRUE, FALSE, nullptr);
volatile LONG g_steadyQueries = 0;

TEST(Reachability, APlaceWhoseQueriesEachComeBackInTimeIsNotGivenUpOn) {
  std::vector<std::string> paths;
  for (int i = 0; i < 15; ++i) paths.push_back("\\\\steady\\share\\p" + std::to_string(i) + ".vbp");
  ExistenceChecks checks;
  checks.placeAnswers = [](const std::string&) { return true; };
  checks.query = [](const std::string&) {
    InterlockedIncrement(&g_steadyQueries);
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < kSteadyQueryMs; waited = GetTickCount() - start)
      WaitForSingleObject(g_neverSet, kSteadyQueryMs - waited);
    return PathState::Exists;
  };
  checks.deadlineMs = kSteadyDeadlineMs;
  const DWORD start = GetTickCount();
  const std::vector<PathState> states = CheckPaths(paths, checks);
  EXPECT_GE(GetTickCount() - start, kSteadyDeadlineMs) << "the queries did not outlast the deadline together";
  EXPECT_EQ(states, std::vector<PathState>(paths.size(), PathState::Exists));
  EXPECT_EQ(g_steadyQueries, static_cast<LONG>(paths.size()));
}

}  // namespace
