#pragma once
// Review the lists: both lists in one list view (version, number, path, state), every numbered
// entry with its own number and state; a check box per entry that a removal can take out;
// "Remove checked" removes exactly the checked entries.
#include <array>
#include <string>
#include <vector>

#include "cleaner/cleaner.h"
#include "forms/form.h"

enum class ReviewState { Exists, Gone, Unreachable, Unreadable };
// One row of the review: an entry of the 5.0 or 6.0 list.
struct ReviewRow {
  int list;        // 0 for 5.0, 1 for 6.0
  int position;    // in the scan, 0-based; -1 for an entry behind a gap
  ReviewState state;
  bool checkable;  // a removal can take it out: in the scan of a list read exactly
};
// What removing the checked rows keeps of each list's scan (`scanned` entries each): one flag
// per entry, 0 where a row a removal can take out is checked. `checked` goes with `rows`.
std::array<EntryFlags, 2> KeptEntries(const std::vector<ReviewRow>& rows, const EntryFlags& checked,
                                      const std::array<size_t, 2>& scanned);

class FrmReview : public forms::Form {
 public:
  FrmReview();
  // Usuń zaznaczone: removes the checked entries, shows the summary and hides.
  void RemoveChecked();

  using State = ReviewState;
  // Space: every selected row (or the focused one alone when it is not selected) takes the
  // opposite of the focused row's check.
  void ToggleSelection();
  // The list view's own keys: Space toggles the selection, and no blank starts a search.
  bool ListMessage(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  void OnLoad() override;
  void OnActivate() override;
  // The column widths for the list's new width.
  void OnSize(int width, int height) override;
  LRESULT OnNotify(const NMHDR& header, bool& handled) override;
  // The column headings, in the language in use.
  void OnTexts() override;

 private:
  // Reads both lists, checks their entries and fills the list view.
  void Fill();
  bool Checked(int row) const;

  VersionScan scans_[2];
  std::vector<ReviewRow> rows_;
  bool filling_ = false;
};
