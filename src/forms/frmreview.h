#pragma once
// Review the lists: both lists in one list view (version, number, path, state) with a check box
// per entry; "Remove checked" removes exactly the checked entries.
#include <string>
#include <vector>

#include "cleaner/cleaner.h"
#include "forms/form.h"

class FrmReview : public forms::Form {
 public:
  FrmReview();
  // Usuń zaznaczone: removes the checked entries, shows the summary and hides.
  void RemoveChecked();

  enum class State { Exists, Gone, Unreachable, Unreadable };

 protected:
  void OnLoad() override;
  void OnActivate() override;
  void OnSize(int width, int height) override;
  LRESULT OnNotify(const NMHDR& header, bool& handled) override;

 private:
  struct Row {
    int list;      // 0 for 5.0, 1 for 6.0
    int position;  // in the list, 0-based
    State state;
  };
  // Reads both lists, checks their entries and fills the list view.
  void Fill();
  void SetTexts();
  bool Checked(int row) const;

  VersionScan scans_[2];
  std::vector<Row> rows_;
  bool filling_ = false;
};
