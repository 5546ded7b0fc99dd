#include "forms/listcommands.h"

#include <array>
#include <optional>
#include <vector>

#include "common/error.h"
#include "common/text.h"
#include "common/textfile.h"
#include "forms/frmide.h"
#include "forms/messages.h"

namespace listcommands {

bool WindowAnswers::IdesOpen(const ::OpenIdes& open, ::OpenIdes& /*leaveAlone*/) {
  const frmide::Answer answer = frmide::AskAboutOpenIdes(open);
  if (!answer) return false;
  if (!answer.note.empty()) note_ = answer.note;
  return true;
}

bool WindowAnswers::OtherCopy(HANDLE mutex) {
  // As long as the other copy needs: it may be importing a long list. The user may cancel.
  return forms::WaitWithCancel(mutex, Tr(Text::WaitingForOtherCopy), INFINITE) == forms::WaitEnd::Signalled;
}

bool WindowAnswers::GoOnWithoutUndo(const AppError& why) {
  return forms::MsgBox(Tr(Text::GoOnWithoutUndo, {Describe(why)}), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void WindowAnswers::KeepAnswering() {
  if (!busy_) busy_.emplace(owner_);
  if (progress_) progress_->Tick();
  busy_->KeepAnswering();
}

void WindowAnswers::Progress(std::size_t done, std::size_t total) {
  if (progress_) progress_->Update(done, total);
  KeepAnswering();
}

void WindowAnswers::Holding(bool held, change::Work work) {
  forms::Holding(held);
  if (held) {
    static constexpr Text kDoing[] = {Text::ProgressClean, Text::ProgressReview, Text::ProgressImport,
                                      Text::ProgressClear, Text::ProgressUndo,   Text::ProgressPutBack,
                                      Text::ProgressExport};
    static_assert(std::size(kDoing) == static_cast<std::size_t>(change::Work::Export) + 1);
    progress_.emplace(owner_, Tr(kDoing[static_cast<int>(work)]));
    return;
  }
  // The work has ended: the window it ran over is given back before the progress goes, so that
  // the window under it is active again for what the command says next.
  busy_.reset();
  progress_.reset();
}

std::wstring WindowAnswers::Noted(const std::wstring& text) const {
  if (note_.empty()) return text;
  return text + (text.ends_with(L"\r\n") ? L"\r\n" : L"\r\n\r\n") + note_;
}

const wchar_t* KindText(listfile::ChangeKind kind) {
  switch (kind) {
    case listfile::ChangeKind::Clean: return Tr(Text::KindClean);
    case listfile::ChangeKind::Review: return Tr(Text::KindReview);
    case listfile::ChangeKind::Import: return Tr(Text::KindImport);
    case listfile::ChangeKind::Clear: return Tr(Text::KindClear);
    case listfile::ChangeKind::Undo: return Tr(Text::KindUndo);
  }
  return L"";
}

std::wstring FailureLines(const change::Outcome& outcome) {
  std::wstring text;
  for (int l = 0; l < 2; ++l) {
    const change::ListWrites& w = outcome.writes[l];
    const std::wstring vb = VbName(listfile::kListVersions[l]);
    if (w.changed && w.keyMissing)
      text += Tr(Text::RestoreKeyMissing, {vb});
    else if (w.status != ERROR_SUCCESS)
      text += Tr(Text::RestoreEntryFailed, {vb, AnsiToWide(w.failedValue), StatusText(static_cast<DWORD>(w.status))});
    else
      continue;
    text += L"\r\n";
  }
  return text;
}

void ReportListsChangedMeanwhile() { forms::MsgBox(Tr(Text::ListsChangedMeanwhile), MB_OK | MB_ICONWARNING); }

namespace {

void TellNothingUndone(const AppError& e) { forms::MsgBox(Tr(Text::NothingUndone, {Describe(e)}), MB_OK | MB_ICONWARNING); }

// The undo file after a change that was made.
void TellUndoFile(const change::Outcome& outcome) {
  if (!outcome.undoNotKept) return;
  const Text text = outcome.undoMarkedDone ? Text::UndoFileNotReplaced : Text::UndoFileNotUpdated;
  forms::MsgBox(Tr(text, {Describe(*outcome.undoNotKept)}), MB_OK | MB_ICONWARNING);
}

// Asked under the lock before an interrupted change is put back (default Yes, since the lists
// may be half changed, unless entries that were never there before would go).
bool AskPutBack(const listfile::UndoRecord& pending, std::size_t added) {
  const std::wstring when = AnsiToWide(pending.when);
  std::wstring text = pending.kind == listfile::ChangeKind::Undo
                          ? Tr(Text::InterruptedUndo, {when})
                          : Tr(Text::InterruptedChange, {KindText(pending.kind), when});
  if (added) text += L"\r\n\r\n" + Tr(Text::PutBackRemovesNew, {DecimalTextW(static_cast<long long>(added))});
  return forms::MsgBox(text, MB_YESNO | MB_ICONWARNING | (added ? MB_DEFBUTTON2 : MB_DEFBUTTON1)) == IDYES;
}

// The put-back, at the start or when a command found a change unfinished.
void PutBack(HWND main) {
  WindowAnswers answers(main);
  change::PutBackOutcome result;
  try {
    result = change::PutBack(ProgramFolder(), answers, AskPutBack);
  } catch (const AppError& e) {
    answers.Idle();
    TellNothingUndone(e);
    forms::RefreshMenus();
    return;
  }
  answers.Idle();
  forms::RefreshMenus();
  const change::Outcome& out = result.change;
  if (out.pendingDamaged) {
    forms::MsgBox(Tr(Text::PendingLeftAsItIs, {Describe(*out.pendingDamaged)}), MB_OK | MB_ICONWARNING);
    return;
  }
  if (!Settle(out, main) || !result.putBack || !result.pending) return;
  if (out.Failed()) {
    forms::MsgBox(Tr(Text::UndoPartly, {FailureLines(out)}), MB_OK | MB_ICONWARNING);
    return;
  }
  const bool undo = result.pending->kind == listfile::ChangeKind::Undo;
  forms::MsgBox(answers.Noted(Tr(undo ? Text::RestoredLast : Text::RestoredInterrupted)));
}

}  // namespace

bool Settle(const change::Outcome& outcome, HWND main) {
  forms::RefreshMenus();
  switch (outcome.end) {
    case change::End::Done:
      TellUndoFile(outcome);
      return true;
    case change::End::Unchanged:
      return true;
    case change::End::Interrupted:
      // The lists may be half changed: that is settled first, and the command starts afresh.
      PutBack(main);
      return false;
    case change::End::ChangedMeanwhile:
      ReportListsChangedMeanwhile();
      return false;
    case change::End::Declined:
    case change::End::Stopped:
    case change::End::IdeOpen:
    case change::End::Busy:
    case change::End::NoUndo:
      return false;
  }
  return false;
}

void UndoLastChange(HWND main) {
  // A restore keeps the windows answering; a second undo posted meanwhile must not start inside it.
  if (forms::Busy()) return;
  // Greyed out then, but the command may still arrive from elsewhere.
  if (!listfile::UndoAvailable(ProgramFolder())) {
    forms::MsgBox(Tr(Text::NothingToUndo));
    return;
  }
  WindowAnswers answers(main);
  const auto changedSince = [](const listfile::ChangedSince& since) {
    const std::wstring text = Tr(Text::UndoChangedSince, {DecimalTextW(static_cast<long long>(since.goneAfterUndo)),
                                                          DecimalTextW(static_cast<long long>(since.addedSince))});
    return forms::MsgBox(text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
  };
  change::Outcome out;
  try {
    out = change::Undo(ProgramFolder(), answers, changedSince);
  } catch (const AppError& e) {
    answers.Idle();
    TellNothingUndone(e);
    return;
  }
  answers.Idle();
  if (out.pendingDamaged)
    forms::MsgBox(Tr(Text::PendingLeftAsItIs, {Describe(*out.pendingDamaged)}), MB_OK | MB_ICONWARNING);
  if (!Settle(out, main)) return;
  if (out.end == change::End::Unchanged && !listfile::UndoAvailable(ProgramFolder())) {
    forms::MsgBox(Tr(Text::NothingToUndo));
  } else if (out.Failed()) {
    forms::MsgBox(Tr(Text::UndoPartly, {FailureLines(out)}), MB_OK | MB_ICONWARNING);
  } else {
    forms::MsgBox(answers.Noted(Tr(Text::RestoredLast)));
  }
}

void OfferToFinishInterruptedChange(HWND main) {
  if (listfile::PendingExists(ProgramFolder())) PutBack(main);
  forms::RefreshMenus();
}

}  // namespace listcommands
