#include "cleaner/cleaner.h"

#include <algorithm>
#include <set>

#include "common/text.h"
#include "support/scratch_registry.h"

namespace {

class CleanerTest : public ScratchRegistry {
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
}

TEST_F(CleanerTest, ThePartsExampleKeepsXAndZUnderOneAndTwo) {
  const std::string x = Alive("x.vbp"), z = Alive("z.vbp");
  PutList("6.0", {x, Dead("y.vbp"), z});
  const CleanOutcome outcome = Clean("6.0");
  EXPECT_EQ(outcome.entryCount, 3);
  EXPECT_EQ(outcome.removed, 1);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(List1, (std::vector<std::string>{x, z}));
  const auto values = Values("6.0");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values.at("1"), (StoredValue{REG_SZ, x + '\0'}));
  EXPECT_EQ(values.at("2"), (StoredValue{REG_SZ, z + '\0'}));
}

TEST_F(CleanerTest, EmptyOrMissingListsChangeNothing) {
  EXPECT_EQ(Clean("5.0").entryCount, 0);
  EXPECT_FALSE(ListKeyExists("5.0")) << "the cleaner must not create the key";
  CreateListKey("6.0");
  PutText("6.0", "2", Dead("only-two.vbp"));  // no "1": the list is empty
  const CleanOutcome outcome = Clean("6.0");
  EXPECT_EQ(outcome.entryCount, 0);
  EXPECT_TRUE(List1.empty());
  EXPECT_EQ(Values("6.0").size(), 1u);
}

TEST_F(CleanerTest, AllAliveListsStayAndAllDeadListsEmpty) {
  const std::vector<std::string> alive = {Alive("a.vbp"), Alive("b.vbp"), Alive("a.vbp")};
  PutList("5.0", alive);
  PutList("6.0", {Dead("1.vbp"), Dead("2.vbp"), Dead("3.vbp"), Dead("4.vbp")});
  const CleanOutcome vb5 = Clean("5.0");
  EXPECT_EQ(vb5.entryCount, 3);
  EXPECT_EQ(vb5.removed, 0);
  EXPECT_EQ(ReadList("5.0"), alive) << "duplicates stay, in their order";
  const CleanOutcome vb6 = Clean("6.0");
  EXPECT_EQ(vb6.entryCount, 4);
  EXPECT_EQ(vb6.removed, 4);
  EXPECT_TRUE(Values("6.0").empty());
}

TEST_F(CleanerTest, ScanStopsAtGapsLongTextsAndTheThousandthEntry) {
  const std::string a = Alive("a.vbp");
  PutList("5.0", {Dead("d1.vbp"), a, Dead("d3.vbp")});
  PutText("5.0", "5", Dead("behind-gap.vbp"));
  const CleanOutcome gap = Clean("5.0");
  EXPECT_EQ(gap.entryCount, 3);
  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{a});
  EXPECT_TRUE(Get("5.0", "5").has_value()) << "values behind a gap keep their number";

  PutList("6.0", {Dead("x.vbp"), a});
  PutText("6.0", "3", std::string(255, 'L'));
  PutText("6.0", "4", Dead("after-long.vbp"));
  const CleanOutcome longText = Clean("6.0");
  EXPECT_EQ(longText.entryCount, 2);
  EXPECT_EQ(ReadList("6.0"), std::vector<std::string>{a});
  const auto tooLong = Get("6.0", "3");
  ASSERT_TRUE(tooLong.has_value()) << "a text too long to read stays";
  EXPECT_EQ(tooLong->bytes, std::string(255, 'L') + '\0');
  EXPECT_TRUE(Get("6.0", "4").has_value());
}

TEST_F(CleanerTest, OnlyTheFirstThousandEntriesAreLookedAt) {
  const std::string a = Alive("a.vbp"), d = Dead("d.vbp");
  std::vector<std::string> texts;
  for (int i = 0; i < 1002; ++i) texts.push_back(i % 2 ? a : d);
  PutList("5.0", texts);
  const CleanOutcome outcome = Clean("5.0");
  EXPECT_EQ(outcome.entryCount, 1000);
  EXPECT_EQ(outcome.removed, 500);
  const auto values = Values("5.0");
  EXPECT_EQ(values.size(), 502u);
  EXPECT_EQ(values.at("500").bytes, a + '\0');
  EXPECT_FALSE(values.contains("501"));
  EXPECT_EQ(values.at("1001").bytes, d + '\0');
  EXPECT_EQ(values.at("1002").bytes, a + '\0');
}

TEST_F(CleanerTest, SurvivorsOfOtherTypesComeBackAsPlainStrings) {
  const std::string folder = WideToAnsi(folder_.path());
  PutText("6.0", "1", folder, REG_EXPAND_SZ);
  PutText("6.0", "2", "%TEMP%", REG_EXPAND_SZ);  // not expanded, so it does not exist
  const CleanOutcome outcome = Clean("6.0");
  EXPECT_EQ(outcome.removed, 1);
  EXPECT_EQ(Get("6.0", "1"), (StoredValue{REG_SZ, folder + '\0'}));
  EXPECT_FALSE(Get("6.0", "2"));
}

TEST_F(CleanerTest, UnwritableListIsReportedAndKeptWhole) {
  const std::vector<std::string> texts = {Dead("d.vbp"), Alive("a.vbp")};
  PutList("6.0", texts);
  MakeReadOnly("6.0");
  const CleanOutcome outcome = Clean("6.0");
  EXPECT_EQ(outcome.entryCount, 2);
  EXPECT_EQ(outcome.removed, 0) << "nothing may be counted as removed that is still there";
  EXPECT_EQ(outcome.status, ERROR_ACCESS_DENIED);
  EXPECT_EQ(outcome.failedValue, "1");
  EXPECT_EQ(ReadList("6.0"), texts);
}

// Every registry call of a run, in turn, fails: whatever the cleaner managed before, no entry
// that exists may be missing from the list, the registry must match what the outcome claims,
// and the failure must be reported unless the failing call was a read (which ends the list).
TEST_F(CleanerTest, AFailureAtAnyCallLosesNoSurvivorAndIsReported) {
  const std::string a = Alive("a.vbp"), b = Alive("b.vbp"), c = Alive("c.vbp");
  const std::vector<std::string> original = {Dead("d1.vbp"), a, Dead("d2.vbp"), b, b,
                                             Dead("d3.vbp"), c, Dead("d4.vbp")};
  const std::set<std::string> survivors = {a, b, c};
  for (int failAt = 1;; ++failAt) {
    SCOPED_TRACE("failing call " + std::to_string(failAt));
    RegDeleteTreeA(HKEY_CURRENT_USER, Autostart::ListKeyPath("5.0").c_str());
    PutList("5.0", original);
    int calls = 0;
    Autostart::Operation failedOp{};
    Autostart::SetFaultInjector([&](Autostart::Operation op, const std::string&) {
      if (++calls != failAt) return Autostart::Status{0};
      failedOp = op;
      return Autostart::Status{ERROR_ACCESS_DENIED};
    });
    const CleanOutcome outcome = Clean("5.0");
    Autostart::SetFaultInjector(nullptr);
    if (calls < failAt) {
      // Past the last call: the run completed untouched by faults.
      EXPECT_EQ(ReadList("5.0"), (std::vector<std::string>{a, b, b, c}));
      EXPECT_EQ(outcome.removed, 4);
      EXPECT_GT(failAt, 8 + 1 + 4 + 4);  // 9 reads, 4 writes, 4 deletes
      break;
    }
    const auto values = Values("5.0");
    std::multiset<std::string> present;
    for (const auto& [name, value] : values) present.insert(value.bytes.substr(0, value.bytes.size() - 1));
    for (const std::string& s : survivors) EXPECT_TRUE(present.contains(s)) << s;
    // The dead entries still present are exactly those not counted as removed.
    int deadLeft = 0;
    for (const auto& text : present) deadLeft += survivors.contains(text) ? 0 : 1;
    if (failedOp == Autostart::Operation::Query) {
      EXPECT_EQ(outcome.status, 0) << "a failed read ends the list; it changes nothing";
      EXPECT_EQ(outcome.entryCount, failAt - 1);
    } else {
      EXPECT_EQ(outcome.status, ERROR_ACCESS_DENIED);
      EXPECT_FALSE(outcome.failedValue.empty());
      EXPECT_EQ(outcome.entryCount, 8);
      EXPECT_EQ(deadLeft, 4 - outcome.removed);
    }
  }
}

}  // namespace
