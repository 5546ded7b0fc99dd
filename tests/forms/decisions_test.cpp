// What the clear and review windows decide, without a window.
#include <gtest/gtest.h>

#include "forms/frmclear.h"
#include "forms/frmreview.h"
#include "support/scratch_registry.h"

namespace {

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
