#include "commandline/commandline.h"

#include <windows.h>

#include <array>
#include <optional>
#include <utility>

#include "cleaner/cleaner.h"
#include "commandline/arguments.h"
#include "commandline/output.h"
#include "common/error.h"
#include "common/ide_processes.h"
#include "common/listslock.h"
#include "common/text.h"
#include "common/textfile.h"
#include "forms/form1.h"
#include "forms/frmimport.h"
#include "forms/listcommands.h"
#include "forms/messages.h"
#include "listfile/listfile.h"
#include "listfile/undo.h"
#include "settings/language.h"
#include "settings/options.h"

namespace commandline {
namespace {

std::wstring IdeName(bool vb5) { return Tr(vb5 ? Text::Ide50 : Text::Ide60); }

// The concerned lists whose IDE runs, after waiting for every such IDE to close when `wait`
// says so (holding no lock, as the windows wait).
OpenIdes HeldByIdes(OpenIdes concerned, bool wait) {
  const OpenIdes open = FindOpenIdes(concerned);
  if (!open.any() || !wait) return open;
  IdeWatch watch(concerned);
  if (!watch.AllClosed() || WaitForSingleObject(watch.AllClosed(), INFINITE) != WAIT_OBJECT_0) return open;
  return {};
}

// Says which lists an open IDE holds; true when one does.
bool TellHeld(const OpenIdes& held, Output& out) {
  if (held.vb5) out.Text(Tr(Text::CmdIdeLeftAlone, {VbName(listfile::kVersion50), IdeName(true)}));
  if (held.vb6) out.Text(Tr(Text::CmdIdeLeftAlone, {VbName(listfile::kVersion60), IdeName(false)}));
  return held.any();
}

// Takes the lists, waiting for another copy as long as the windows do.
bool Take(ListsLock& lock, Output& out) {
  if (lock.Acquire(kListsLockWaitMs)) return true;
  out.Text(Tr(Text::OtherCopyBusy));
  return false;
}

// A change left unfinished is the windows' to settle, with the user: nothing is changed here.
bool Interrupted(const std::wstring& folder, Output& out) {
  std::optional<listfile::UndoRecord> pending;
  try {
    pending = listfile::ReadPending(folder);
  } catch (const AppError&) {
    // Damaged: the next change replaces it, as in the windows.
  }
  if (!pending) return false;
  out.Text(Tr(Text::CmdInterrupted, {listcommands::KindText(pending->kind), AnsiToWide(pending->when)}));
  return true;
}

// The undo snapshot of one command's change, begun afresh when the command decides again.
class Change {
 public:
  Change(std::wstring folder, listfile::ChangeKind kind) : folder_(std::move(folder)), kind_(kind) {}
  bool Begin() {
    if (std::exchange(begun_, std::nullopt)) DeleteFileW(listfile::PendingFilePath(folder_).c_str());
    try {
      begun_ = listfile::BeginChange(folder_, kind_);
      return true;
    } catch (const AppError& e) {
      failure.emplace(e);
      return false;
    }
  }
  // After the writes; false when the undo file could not be brought up to date.
  bool Finish(Output& out) {
    std::optional<listfile::UndoRecord> begun = std::exchange(begun_, std::nullopt);
    if (!begun) return true;
    try {
      listfile::FinishChange(folder_, std::move(*begun));
      return true;
    } catch (const AppError& e) {
      out.Text(Tr(Text::UndoFileNotUpdated, {Describe(e)}));
      return false;
    }
  }
  void TellNotBegun(Output& out) const {
    if (failure) out.Text(Tr(Text::CmdNoUndoNoChange, {Describe(*failure)}));
  }
  std::optional<AppError> failure;

 private:
  std::wstring folder_;
  listfile::ChangeKind kind_;
  std::optional<listfile::UndoRecord> begun_;
};

int Clean(const Request& r, Output& out) {
  const std::wstring folder = ProgramFolder();
  const OpenIdes held = HeldByIdes({true, true}, r.wait);
  if (held.vb5 && held.vb6) {
    TellHeld(held, out);
    return kHeld;
  }
  std::vector<std::pair<std::string, int>> away;
  BothOutcomes run;
  bool partly = false;
  {
    ListsLock lock;
    if (!Take(lock, out)) return kHeld;
    if (Interrupted(folder, out)) return kFailed;
    Change change(folder, listfile::ChangeKind::Clean);
    // Entries out of reach stay unless the arguments say to remove them.
    const auto decide = [&](const std::vector<std::pair<std::string, int>>& places) {
      away.insert(away.end(), places.begin(), places.end());
      return r.removeUnreachable;
    };
    std::vector<std::string> List1;
    run = CleanBothLists(List1, ExistenceChecks::System(), {}, decide, [&] { return change.Begin(); },
                         {!held.vb5, !held.vb6});
    partly = !change.Finish(out);
    if (run.declined) {
      change.TellNotBegun(out);
      return kFailed;
    }
  }
  if (run.changedMeanwhile) {
    out.Text(Tr(Text::ListsChangedMeanwhile));
    return kFailed;
  }
  const CleanOutcome vb5 = DeadOnly(run.vb5), vb6 = DeadOnly(run.vb6);
  if (!held.vb5)
    out.Text(Tr(Text::Summary1) + DecimalTextW(vb5.entryCount) + L" " + Tr(Text::Summary2) +
             DecimalTextW(vb5.removed) + Tr(Text::Summary3));
  if (!held.vb6)
    out.Text(Tr(Text::Summary4) + DecimalTextW(vb6.entryCount) + L" " + Tr(Text::Summary5) +
             DecimalTextW(vb6.removed) + Tr(Text::Summary6));
  partly = TellHeld(held, out) || partly;
  if (!away.empty() && !r.removeUnreachable) {
    int total = 0;
    for (const auto& place : away) total += place.second;
    out.Text(Tr(Text::UnreachableCount, {DecimalTextW(total)}));
    for (const auto& place : away) out.Text(L"    " + AnsiToWide(place.first) + L"   " + DecimalTextW(place.second));
  }
  out.Text(CleaningNotes(run));
  if (run.vb5.status != ERROR_SUCCESS || run.vb6.status != ERROR_SUCCESS) partly = true;
  return partly ? kPartly : kDone;
}

int Export(const Request& r, Output& out) {
  const std::wstring folder = ProgramFolder();
  const bool with50 = r.vb5 || !r.vb6, with60 = r.vb6 || !r.vb5;
  {
    // Read while no other copy changes the lists, so the file holds them as they were at one time.
    ListsLock lock;
    if (!Take(lock, out)) return kHeld;
    try {
      listfile::WriteListFile(folder, r.name, with50, with60);
    } catch (const AppError& e) {
      out.Text(Tr(Text::ExportFailed, {Describe(e)}));
      return kFailed;
    }
  }
  const std::wstring path = listfile::ListFilePath(folder, r.name);
  if (with50) out.Text(Tr(Text::CmdExported, {VbName(listfile::kVersion50), path}));
  if (with60) out.Text(Tr(Text::CmdExported, {VbName(listfile::kVersion60), path}));
  return kDone;
}

int Import(const Request& r, Output& out) {
  const std::wstring folder = ProgramFolder(), path = listfile::ListFilePath(folder, r.name);
  const std::array<bool, 2> carries = listfile::ListsCarried(path);
  if (TellHeld(HeldByIdes({carries[0], carries[1]}, r.wait), out)) return kHeld;
  listfile::ImportResult result;
  bool finished = true;
  {
    ListsLock lock;
    if (!Take(lock, out)) return kHeld;
    if (Interrupted(folder, out)) return kFailed;
    Change change(folder, listfile::ChangeKind::Import);
    // The lists the file replaces are saved for undo first.
    const std::array<bool, 2> held = listfile::ListsCarried(path);
    if ((held[0] || held[1]) && !change.Begin()) {
      change.TellNotBegun(out);
      return kFailed;
    }
    try {
      result = listfile::ReadListFile(folder, r.name);
    } catch (const AppError& e) {
      change.Finish(out);
      out.Text(Tr(Text::ImportNothingImported, {Describe(e)}));
      return kFailed;
    }
    finished = change.Finish(out);
  }
  const ImportReport report = ReportImport(result);
  if (report.end != ImportReport::End::Done) {
    out.Text(report.text);
    return report.end == ImportReport::End::Nothing ? kFailed : kPartly;
  }
  if (result.v50.present)
    out.Text(Tr(Text::CmdImported, {VbName(listfile::kVersion50), DecimalTextW(static_cast<long long>(result.v50.written))}));
  if (result.v60.present)
    out.Text(Tr(Text::CmdImported, {VbName(listfile::kVersion60), DecimalTextW(static_cast<long long>(result.v60.written))}));
  return finished ? kDone : kPartly;
}

int Undo(const Request& r, Output& out) {
  const std::wstring folder = ProgramFolder();
  if (!listfile::UndoAvailable(folder)) {
    out.Text(Tr(Text::NothingToUndo));
    return kDone;
  }
  const std::array<bool, 2> changes = listfile::ListsUndoConcerns(folder);
  if (TellHeld(HeldByIdes({changes[0], changes[1]}, r.wait), out)) return kHeld;
  ListsLock lock;
  if (!Take(lock, out)) return kHeld;
  if (Interrupted(folder, out)) return kFailed;
  if (GetFileAttributesW(listfile::UndoFilePath(folder).c_str()) == INVALID_FILE_ATTRIBUTES) {
    out.Text(Tr(Text::NothingToUndo));
    return kDone;
  }
  std::optional<listfile::ChangedSince> since;
  std::optional<AppError> noUndo;
  listfile::UndoOutcome outcome;
  try {
    outcome = listfile::UndoLastChange(
        folder,
        [&](const listfile::ChangedSince& s) {
          if (!r.force) since = s;
          return r.force;
        },
        [&](const AppError& e) {
          noUndo.emplace(e);
          return false;
        });
  } catch (const AppError& e) {
    out.Text(Tr(Text::NothingUndone, {Describe(e)}));
    return kFailed;
  }
  switch (outcome.status) {
    case listfile::UndoStatus::Declined:
      if (since)
        out.Text(Tr(Text::CmdUndoChangedSince, {DecimalTextW(static_cast<long long>(since->goneAfterUndo)),
                                               DecimalTextW(static_cast<long long>(since->addedSince))}));
      if (noUndo) out.Text(Tr(Text::CmdNoUndoNoChange, {Describe(*noUndo)}));
      return kFailed;
    case listfile::UndoStatus::Restored:
      out.Text(Tr(Text::RestoredLast));
      return kDone;
    case listfile::UndoStatus::Partly:
      out.Text(Tr(Text::UndoPartly, {listcommands::FailureLines(outcome.failures)}));
      return kPartly;
  }
  return kFailed;
}

// The language the windows would speak; never asks and never writes the options file.
void UseStoredLanguage() {
  const std::wstring folder = ProgramFolder();
  SetCurrentLanguage("");
  if (!LoadStoredLanguage(folder)) return;
  try {
    UseLanguageFile(folder, CurrentLanguage);
  } catch (const AppError&) {
    SetCurrentLanguage("");  // the windows would offer the picker, which speaks English
  }
}

int RunRequest(const std::vector<std::wstring>& args, Output& out) {
  UseStoredLanguage();
  const Request request = Parse(args);
  // The log named anywhere holds the error too.
  if (!request.log.empty()) out.OpenLog(request.log);
  if (request.error) {
    out.Error(ErrorText(*request.error));
    out.Error(UsageText());
    return kFailed;
  }
  switch (request.command) {
    case Command::Clean: return Clean(request, out);
    case Command::Export: return Export(request, out);
    case Command::Import: return Import(request, out);
    case Command::Undo: return Undo(request, out);
    case Command::Usage:
    case Command::None: break;
  }
  out.Text(UsageText());
  return kDone;
}

}  // namespace

int Run(const std::vector<std::wstring>& args) {
  // No window, also on failure: what goes wrong is said on the output, and nothing more changes.
  Output out;
  try {
    return RunRequest(args, out);
  } catch (const AppError& e) {
    out.Error(Describe(e));
  } catch (const std::bad_alloc&) {
    out.Error(Tr(Text::FatalOutOfMemory));
  } catch (...) {
    out.Error(Tr(Text::FatalUnknown));
  }
  return kFailed;
}

}  // namespace commandline
