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
#include "change/change.h"
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

// How long the command line waits for another copy to finish: no one is there to press Cancel.
constexpr DWORD kOtherCopyWaitMs = 10000;

std::wstring IdeName(bool vb5) { return Tr(vb5 ? Text::Ide50 : Text::Ide60); }

// Says which lists an open IDE holds; true when one does.
bool TellHeld(const OpenIdes& held, Output& out) {
  if (held.vb5) out.Error(Tr(Text::CmdIdeLeftAlone, {VbName(listfile::kVersion50), IdeName(true)}));
  if (held.vb6) out.Error(Tr(Text::CmdIdeLeftAlone, {VbName(listfile::kVersion60), IdeName(false)}));
  return held.any();
}

// The command line's answers, from its switches: /wait waits for open IDEs (holding no lock);
// without it a clean leaves their lists alone and the other commands change nothing. Another
// copy is waited for as long as the windows would once have waited; nothing goes on without undo.
class LineAnswers : public change::Answers {
 public:
  LineAnswers(bool wait, bool leaveAlone) : wait_(wait), leaveAlone_(leaveAlone) {}
  bool IdesOpen(const ::OpenIdes& open, ::OpenIdes& leaveAlone) override {
    if (wait_) {
      IdeWatch watch(open);
      if (watch.AllClosed() && WaitForSingleObject(watch.AllClosed(), INFINITE) == WAIT_OBJECT_0) return true;
    }
    held.vb5 = held.vb5 || open.vb5;
    held.vb6 = held.vb6 || open.vb6;
    leaveAlone = open;
    return leaveAlone_;
  }
  bool OtherCopy(HANDLE mutex) override {
    const DWORD result = WaitForSingleObject(mutex, kOtherCopyWaitMs);
    timedOut = result != WAIT_OBJECT_0 && result != WAIT_ABANDONED;
    return !timedOut;
  }
  bool GoOnWithoutUndo(const AppError&) override { return false; }

  ::OpenIdes held;  // IDEs found open and not waited for
  bool timedOut = false;

 private:
  bool wait_, leaveAlone_;
};

// Says how a change ended when it did not get to its writes: the exit code, or -1 when it did
// (End::Done or Unchanged; a note when the undo file could not be brought up to date).
int Ended(const change::Outcome& o, const LineAnswers& answers, Output& out) {
  switch (o.end) {
    case change::End::Done:
    case change::End::Unchanged:
      if (o.undoNotKept)
        out.Error(Tr(o.undoMarkedDone ? Text::UndoFileNotReplaced : Text::UndoFileNotUpdated, {Describe(*o.undoNotKept)}));
      return -1;
    case change::End::Stopped:
    case change::End::Busy:
      if (answers.timedOut || o.end == change::End::Busy) {
        out.Error(Tr(Text::OtherCopyBusy));
      } else {
        TellHeld(answers.held, out);
      }
      return kHeld;
    case change::End::IdeOpen:
      TellHeld(o.leftAlone, out);
      return kHeld;
    case change::End::Interrupted:
      // A change left unfinished is the windows' to settle, with the user: nothing is changed here.
      out.Error(Tr(Text::CmdInterrupted, {listcommands::KindText(o.pending->kind), AnsiToWide(o.pending->when)}));
      return kFailed;
    case change::End::NoUndo:
      out.Error(Tr(Text::CmdNoUndoNoChange, {Describe(*o.error)}));
      return kFailed;
    case change::End::ChangedMeanwhile:
      out.Error(Tr(Text::ListsChangedMeanwhile));
      return kFailed;
    case change::End::Declined:
      return kFailed;
  }
  return kFailed;
}

// A change that was made but whose way back could not be kept whole.
bool UndoLost(const change::Outcome& o) { return o.undoNotKept && !o.undoMarkedDone; }

int Clean(const Request& r, Output& out) {
  LineAnswers answers(r.wait, true);
  // Entries out of reach stay unless the arguments say to remove them.
  std::vector<std::pair<std::string, int>> away;
  const auto decideAway = [&](const std::vector<std::pair<std::string, int>>& places) {
    away.insert(away.end(), places.begin(), places.end());
    return r.removeUnreachable;
  };
  CleanRun run(ExistenceChecks::System(), {}, decideAway);
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2> concerned) {
    return DecideClean(run, now, concerned);
  };
  const change::Outcome o = change::Run(ProgramFolder(), listfile::ChangeKind::Clean, {true, true}, decide, answers);
  if (const int code = Ended(o, answers, out); code >= 0) return code;
  const BothOutcomes outcomes = CleanOutcomes(run, o);
  const CleanOutcome vb5 = DeadOnly(outcomes.vb5), vb6 = DeadOnly(outcomes.vb6);
  if (!o.leftAlone.vb5)
    out.Text(Tr(Text::Summary1) + DecimalTextW(vb5.entryCount) + L" " + Tr(Text::Summary2) +
             DecimalTextW(vb5.removed) + Tr(Text::Summary3));
  if (!o.leftAlone.vb6)
    out.Text(Tr(Text::Summary4) + DecimalTextW(vb6.entryCount) + L" " + Tr(Text::Summary5) +
             DecimalTextW(vb6.removed) + Tr(Text::Summary6));
  bool partly = TellHeld(o.leftAlone, out) || UndoLost(o);
  if (!away.empty() && !r.removeUnreachable) {
    int total = 0;
    for (const auto& place : away) total += place.second;
    out.Text(Tr(Text::UnreachableCount, {DecimalTextW(total)}));
    for (const auto& place : away) out.Text(L"    " + AnsiToWide(place.first) + L"   " + DecimalTextW(place.second));
  }
  out.Text(CleaningNotes(outcomes));
  if (outcomes.vb5.status != ERROR_SUCCESS || outcomes.vb6.status != ERROR_SUCCESS) partly = true;
  return partly ? kPartly : kDone;
}

int Export(const Request& r, Output& out) {
  const std::wstring folder = ProgramFolder();
  const bool with50 = r.vb5 || !r.vb6, with60 = r.vb6 || !r.vb5;
  LineAnswers answers(false, false);
  try {
    // Read while no other copy changes the lists, so the file holds them as they were at one time.
    if (!change::ReadUnderLock(answers, [&] { listfile::WriteListFile(folder, r.name, with50, with60); })) {
      out.Error(Tr(Text::OtherCopyBusy));
      return kHeld;
    }
  } catch (const AppError& e) {
    out.Error(Tr(Text::ExportFailed, {Describe(e)}));
    return kFailed;
  }
  const std::wstring path = listfile::ListFilePath(folder, r.name);
  if (with50) out.Text(Tr(Text::CmdExported, {VbName(listfile::kVersion50), path}));
  if (with60) out.Text(Tr(Text::CmdExported, {VbName(listfile::kVersion60), path}));
  return kDone;
}

int Import(const Request& r, Output& out) {
  listfile::ListFileContent content;
  try {
    content = listfile::ReadListFileContent(ProgramFolder(), r.name);
  } catch (const AppError& e) {
    out.Error(Tr(Text::ImportNothingImported, {Describe(e)}));
    return kFailed;
  }
  LineAnswers answers(r.wait, false);
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2>) { return DecideImport(content, now); };
  const change::Outcome o = change::Run(ProgramFolder(), listfile::ChangeKind::Import, {content.has50, content.has60}, decide, answers);
  if (const int code = Ended(o, answers, out); code >= 0) return code;
  const listfile::ImportResult result = ImportResultOf(content, o);
  const ImportReport report = ReportImport(result);
  if (report.end != ImportReport::End::Done) {
    out.Error(report.text);
    return report.end == ImportReport::End::Nothing ? kFailed : kPartly;
  }
  if (result.v50.present)
    out.Text(Tr(Text::CmdImported, {VbName(listfile::kVersion50), DecimalTextW(static_cast<long long>(result.v50.written))}));
  if (result.v60.present)
    out.Text(Tr(Text::CmdImported, {VbName(listfile::kVersion60), DecimalTextW(static_cast<long long>(result.v60.written))}));
  return UndoLost(o) ? kPartly : kDone;
}

int Undo(const Request& r, Output& out) {
  if (!listfile::UndoAvailable(ProgramFolder())) {
    out.Text(Tr(Text::NothingToUndo));
    return kDone;
  }
  LineAnswers answers(r.wait, false);
  std::optional<listfile::ChangedSince> since;
  change::Outcome o;
  try {
    o = change::Undo(ProgramFolder(), answers, [&](const listfile::ChangedSince& s) {
      if (!r.force) since = s;
      return r.force;
    });
  } catch (const AppError& e) {
    out.Error(Tr(Text::NothingUndone, {Describe(e)}));
    return kFailed;
  }
  if (o.end == change::End::Declined && since) {
    out.Error(Tr(Text::CmdUndoChangedSince, {DecimalTextW(static_cast<long long>(since->goneAfterUndo)),
                                            DecimalTextW(static_cast<long long>(since->addedSince))}));
    return kFailed;
  }
  if (const int code = Ended(o, answers, out); code >= 0) return code;
  if (o.end == change::End::Unchanged && !listfile::UndoAvailable(ProgramFolder())) {
    out.Text(Tr(Text::NothingToUndo));
    return kDone;
  }
  if (o.Failed()) {
    out.Error(Tr(Text::UndoPartly, {listcommands::FailureLines(o)}));
    return kPartly;
  }
  out.Text(Tr(Text::RestoredLast));
  return UndoLost(o) ? kPartly : kDone;
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
