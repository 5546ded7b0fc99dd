#pragma once
// How the windows take part in a change to the lists (change/change.h): they answer its
// questions by asking the user, and say how it ended. Also Undo, and the put-back of an
// interrupted change offered at the start.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "change/change.h"
#include "forms/form.h"

namespace listcommands {

// The windows' answers: the open-IDE question and its wait, the wait for another copy (as long
// as the user lets it run), the question about going on without undo; long work keeps `owner`'s
// windows answering, the program busy meanwhile, and shows how far it has got.
class WindowAnswers : public change::Answers {
 public:
  explicit WindowAnswers(HWND owner) : owner_(owner) {}
  bool IdesOpen(const OpenIdes& open, OpenIdes& leaveAlone) override;
  bool OtherCopy(HANDLE mutex) override;
  bool GoOnWithoutUndo(const AppError& why) override;
  void KeepAnswering() override;
  void Progress(std::size_t done, std::size_t total) override;
  void Holding(bool held, change::Work work) override;
  // The end of the long work: the windows answer again as usual.
  void Idle() { busy_.reset(); }
  // The summary with the note about an IDE the user went on with, if any.
  std::wstring Noted(const std::wstring& text) const;

 private:
  HWND owner_;
  std::optional<forms::BusyScope> busy_;
  std::optional<forms::ProgressShown> progress_;
  std::wstring note_;
};

// Says how a change ended when it did not get to its writes (nothing for the user's own stops),
// offers to settle an interrupted change found, and tells when the undo file could not be
// brought up to date. True when the command goes on to its summary (End::Done or Unchanged).
// An interrupted change is put back over `main`, the main window.
bool Settle(const change::Outcome& outcome, HWND main);

// Undo the last change: puts back the lists the undo file holds, over `main`, the main window.
void UndoLastChange(HWND main);

// A change's kind as the messages name it ("cleaning with Start").
const wchar_t* KindText(listfile::ChangeKind kind);
// The refusals met while writing the lists: which list, which entry and why, one line each.
std::wstring FailureLines(const change::Outcome& outcome);

// At the start, the main window shown: a change that was interrupted (the program ended in the
// middle of it) is named, and putting the lists back is offered, over `main`, the main window.
void OfferToFinishInterruptedChange(HWND main);

// The lists changed each time they were read again before writing: nothing was changed.
void ReportListsChangedMeanwhile();

}  // namespace listcommands
