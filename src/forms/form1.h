#pragma once
// The main window: the description, Start (the cleaning run), the import and export windows and
// the home page; in its window menu, review, undo and clear.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "change/change.h"
#include "cleaner/cleaner.h"
#include "forms/form.h"

class Form1 : public forms::Form {
 public:
  // `menu`: the commands of its window menu (the program's list of windows gives them).
  explicit Form1(std::span<const forms::MenuCommandDef> menu = {});

  // The words around the numbers of the summary, as the texts in use give them.
  std::array<std::wstring, 6> SummaryText;
  // The cleaner's working list: the survivors of the version being cleaned.
  std::vector<std::string> List1;

  // Applies the language file named by CurrentLanguage to the texts in use and to the window;
  // nothing for "#". Throws AppError when the file cannot be opened or ends early, after taking
  // the lines it did hold.
  void Language();
  // Start: cleans the 5.0 and then the 6.0 list and shows the summary.
  void CleaningRun();
  // The home page, in the browser.
  void OpenHomePage();
  // The summary message for the counts of one run.
  std::wstring Summary(const CleanOutcome& vb5, const CleanOutcome& vb6) const;

 protected:
  void OnLoad() override;
  bool OnQueryUnload() override;
  void OnUnload() override;
  void OnTexts() override;
};

// The home page to open: the Polish one for the built-in texts, the English one otherwise.
const wchar_t* HomePageAddress(const std::string& language);
// A run's counts as its summary gives them: entries removed because the user said so are not
// dead ones, and are counted apart.
CleanOutcome DeadOnly(CleanOutcome outcome);
// The notes under a run's summary, each ending in a line break; "" when there are none.
std::wstring CleaningNotes(const BothOutcomes& run);
// Start's decision: the lists as read cleaned by `run` (see CleanRun), for the change object.
change::Wanted DecideClean(CleanRun& run, const listfile::ListsReading& now, std::array<bool, 2> concerned);
// What the run did to each list, once the change wrote them.
BothOutcomes CleanOutcomes(const CleanRun& run, const change::Outcome& out);
