#include "forms/listcommands.h"

#include <array>
#include <optional>
#include <vector>

#include "common/error.h"
#include "common/text.h"
#include "forms/messages.h"
#include "common/textfile.h"
#include "forms/form.h"
#include "forms/form1.h"
#include "forms/frmide.h"
#include "forms/program_windows.h"

namespace listcommands {
namespace {

bool AskGoOnWithoutUndo(const AppError& e) {
  return forms::MsgBox(Tr(Text::GoOnWithoutUndo, {Describe(e)}), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void RefreshMainMenu() {
  if (MainWindow().IsLoaded()) MainWindow().RefreshMenu();
}

}  // namespace


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

std::wstring FailureLines(const std::vector<listfile::RestoreFailure>& failures) {
  std::wstring text;
  for (const listfile::RestoreFailure& f : failures) {
    const std::wstring vb = VbName(f.version);
    if (f.keyMissing)
      text += Tr(Text::RestoreKeyMissing, {vb});
    else if (f.entry.empty())
      text += Tr(Text::RestoreReadFailed, {vb, StatusText(static_cast<DWORD>(f.status))});
    else
      text += Tr(Text::RestoreEntryFailed, {vb, AnsiToWide(f.entry), StatusText(static_cast<DWORD>(f.status))});
    text += L"\r\n";
  }
  return text;
}

namespace {

// The change begun by SaveUndoOrAsk, until FinishChange.
std::optional<listfile::UndoRecord> g_begun;

void TellPartly(const std::vector<listfile::RestoreFailure>& failures) {
  forms::MsgBox(Tr(Text::UndoPartly, {FailureLines(failures)}), MB_OK | MB_ICONWARNING);
}

void TellNothingUndone(const AppError& e) {
  forms::MsgBox(Tr(Text::NothingUndone, {Describe(e)}), MB_OK | MB_ICONWARNING);
}

bool AskChangedSince(const listfile::ChangedSince& since) {
  const std::wstring text = Tr(Text::UndoChangedSince, {DecimalTextW(static_cast<long long>(since.goneAfterUndo)),
                                                        DecimalTextW(static_cast<long long>(since.addedSince))});
  return forms::MsgBox(text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// A change found begun and not done: named, and putting the lists back offered (default Yes,
// since they may be half changed, unless entries that were never there before would go). The
// lists are held by the caller.
void ResolveInterrupted(const listfile::UndoRecord& pending) {
  const std::wstring folder = ProgramFolder();
  bool putBack = true;
  if (!pending.after) {
    const std::wstring when = AnsiToWide(pending.when);
    std::wstring text = pending.kind == listfile::ChangeKind::Undo
                            ? Tr(Text::InterruptedUndo, {when})
                            : Tr(Text::InterruptedChange, {KindText(pending.kind), when});
    std::size_t added = 0;
    try {
      added = listfile::NewEntries(listfile::PutBackTarget(folder, pending), listfile::ReadLists());
    } catch (const AppError&) {
      // The put-back itself then says why it cannot be done.
    }
    if (added) text += L"\r\n\r\n" + Tr(Text::PutBackRemovesNew, {DecimalTextW(static_cast<long long>(added))});
    putBack = forms::MsgBox(text, MB_YESNO | MB_ICONWARNING | (added ? MB_DEFBUTTON2 : MB_DEFBUTTON1)) == IDYES;
  }
  listfile::UndoOutcome outcome;
  try {
    forms::BusyScope busy(MainWindow().IsLoaded() ? MainWindow().hwnd() : nullptr);
    outcome = listfile::FinishInterrupted(folder, pending, putBack, AskGoOnWithoutUndo, [&busy] { busy.KeepAnswering(); });
  } catch (const AppError& e) {
    TellNothingUndone(e);
    return;
  }
  if (outcome.status == listfile::UndoStatus::Partly) {
    TellPartly(outcome.failures);
  } else if (putBack && !pending.after && outcome.status == listfile::UndoStatus::Restored) {
    forms::MsgBox(Tr(pending.kind == listfile::ChangeKind::Undo ? Text::RestoredLast : Text::RestoredInterrupted));
  }
}

// The change left unfinished, if any; a damaged one is told about when `tell`, and otherwise
// replaced by the next change.
std::optional<listfile::UndoRecord> Pending(bool tell) {
  try {
    return listfile::ReadPending(ProgramFolder());
  } catch (const AppError& e) {
    if (tell)
      forms::MsgBox(Tr(Text::PendingLeftAsItIs, {Describe(e)}), MB_OK | MB_ICONWARNING);
    return std::nullopt;
  }
}

}  // namespace

bool SaveUndoOrAsk(listfile::ChangeKind kind) {
  // Begun again by the same command before it wrote anything (the lists changed after the first
  // snapshot): its own new file is no interrupted change, and the fresh snapshot replaces it.
  const bool again = g_begun.has_value();
  g_begun.reset();
  if (again) DeleteFileW(listfile::PendingFilePath(ProgramFolder()).c_str());
  if (const std::optional<listfile::UndoRecord> pending = again ? std::nullopt : Pending(false)) {
    // The lists may be half changed: that is settled first, and the command starts afresh.
    ResolveInterrupted(*pending);
    RefreshMainMenu();
    return false;
  }
  try {
    g_begun = listfile::BeginChange(ProgramFolder(), kind);
  } catch (const AppError& e) {
    return AskGoOnWithoutUndo(e);
  }
  RefreshMainMenu();
  return true;
}

void FinishChange() {
  if (!g_begun) return;
  listfile::UndoRecord begun = std::move(*g_begun);
  g_begun.reset();
  try {
    listfile::FinishChange(ProgramFolder(), std::move(begun));
  } catch (const AppError& e) {
    forms::MsgBox(Tr(Text::UndoFileNotUpdated, {Describe(e)}), MB_OK | MB_ICONWARNING);
  }
  RefreshMainMenu();
}

void UndoLastChange() {
  // A restore keeps the windows answering; a second undo posted meanwhile must not start inside it.
  static bool running = false;
  if (running) return;
  running = true;
  struct Done {
    ~Done() { running = false; }
  } done;
  const std::wstring folder = ProgramFolder();
  // Greyed out then, but the command may still arrive from elsewhere.
  if (!listfile::UndoAvailable(folder)) {
    forms::MsgBox(Tr(Text::NothingToUndo));
    return;
  }
  // Only the IDE of a list the undo puts back is asked about; an unfinished change, or an undo
  // file that cannot be read, may concern both.
  const std::array<bool, 2> changes = listfile::ListsUndoConcerns(folder);
  const frmide::Answer ide = frmide::AskAboutOpenIdes(changes[0], changes[1]);
  if (!ide) return;
  ListsLock lock;
  if (!forms::TakeLists(lock)) return;
  if (const std::optional<listfile::UndoRecord> pending = Pending(true)) {
    ResolveInterrupted(*pending);
    return;
  }
  if (GetFileAttributesW(listfile::UndoFilePath(folder).c_str()) == INVALID_FILE_ATTRIBUTES) {
    forms::MsgBox(Tr(Text::NothingToUndo));
    return;
  }
  listfile::UndoOutcome outcome;
  try {
    forms::BusyScope busy(MainWindow().hwnd());
    outcome = listfile::UndoLastChange(folder, AskChangedSince, AskGoOnWithoutUndo, [&busy] { busy.KeepAnswering(); });
  } catch (const AppError& e) {
    TellNothingUndone(e);
    return;
  }
  switch (outcome.status) {
    case listfile::UndoStatus::Declined:
      return;
    case listfile::UndoStatus::Restored:
      forms::MsgBox(ide.Noted(Tr(Text::RestoredLast)));
      return;
    case listfile::UndoStatus::Partly:
      TellPartly(outcome.failures);
      return;
  }
}

void OfferToFinishInterruptedChange() {
  static bool checked = false;
  if (checked) return;
  checked = true;
  if (!listfile::PendingExists(ProgramFolder())) return;
  // Putting back changes both lists: an open IDE would write its old list over it.
  if (!frmide::AskAboutOpenIdes(true, true)) return;
  // Another copy in the middle of a change holds the lists and finishes that change itself.
  ListsLock lock;
  if (!lock.Acquire(kListsLockWaitMs, forms::DoEvents)) return;
  if (const std::optional<listfile::UndoRecord> pending = Pending(true)) ResolveInterrupted(*pending);
  RefreshMainMenu();
}

}  // namespace listcommands
