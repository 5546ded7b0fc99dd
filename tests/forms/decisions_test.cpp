// What the clear and review windows decide, without a window.
#include <gtest/gtest.h>

#include "forms/frmclear.h"
#include "forms/frmreview.h"
#include "support/scratch_registry.h"

namespace {

class ClearValuesTest : public ScratchRegistryTest {};

TEST_F(ClearValuesTest, AValueGoneAlreadyIsPassedOverAndTheRestRemoved) {
  SeedList("6.0", {"C:\\a.vbp", "C:\\b.vbp", "C:\\c.vbp"});
  PutListValue("6.0", "7", "C:\\behind a gap.vbp");
  const StoredList read = ReadStoredList("6.0");
  ASSERT_EQ(read.values.size(), 4u);
  SeedList("5.0", {"C:\\x.vbp"});
  // Removed by someone else between the reading and the clearing.
  ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, Autostart::ListKeyPath("6.0").c_str(), "2"), ERROR_SUCCESS);

  const CleanOutcome outcome = ClearValues("6.0", read);
  EXPECT_EQ(outcome.status, ERROR_SUCCESS);
  EXPECT_EQ(outcome.entryCount, 4);
  EXPECT_EQ(outcome.removed, 3);
  EXPECT_TRUE(ListValues("6.0").empty());
  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{"C:\\x.vbp"}) << "another list was touched";
}

TEST(ReviewRemoval, OnlyCheckedRowsThatCanGoAreRemovedFromTheirOwnList) {
  using S = ReviewState;
  const std::vector<ReviewRow> rows = {
      {0, 0, S::Gone, true},  {0, 1, S::Exists, true},      {0, 2, S::Gone, true},
      {0, -1, S::Gone, false},  // behind a gap
      {1, 0, S::Exists, true}, {1, 1, S::Unreadable, false},
  };
  const EntryFlags checked = {1, 0, 1, 1, 1, 1};
  const std::array<EntryFlags, 2> keep = KeptEntries(rows, checked, {3, 2});
  EXPECT_EQ(keep[0], (EntryFlags{0, 1, 0}));
  EXPECT_EQ(keep[1], (EntryFlags{0, 1}));
  EXPECT_EQ(KeptEntries(rows, EntryFlags(rows.size(), 0), {3, 2})[0], EntryFlags(3, 1));
}

}  // namespace
