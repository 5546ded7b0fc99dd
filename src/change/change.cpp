#include "change/change.h"

#include <windows.h>

#include <utility>

#include "common/listslock.h"
#include "common/text.h"

namespace change {
namespace {

using listfile::ListsReading;
using listfile::ListsState;
using listfile::UndoRecord;

OpenIdes Ides(std::array<bool, 2> lists) { return {lists[0], lists[1]}; }

Work WorkOf(listfile::ChangeKind kind) {
  switch (kind) {
    case listfile::ChangeKind::Review: return Work::Review;
    case listfile::ChangeKind::Import: return Work::Import;
    case listfile::ChangeKind::Clear: return Work::Clear;
    case listfile::ChangeKind::Undo: return Work::Undo;
    case listfile::ChangeKind::Clean: break;
  }
  return Work::Clean;
}

// Steps 1 and 6: asks about the IDEs of `concerned` that run and were not gone on with already.
// Lists left alone drop out of `concerned`. False when the change stops (`out.end` says why).
bool AskAboutIdes(std::array<bool, 2>& concerned, Answers& answers, Outcome& out) {
  const OpenIdes open = FindOpenIdes(Ides(concerned));
  const OpenIdes fresh{open.vb5 && !out.wentOnWith.vb5, open.vb6 && !out.wentOnWith.vb6};
  if (!fresh.any()) return true;
  OpenIdes leave;
  if (!answers.IdesOpen(fresh, leave)) {
    out.end = End::Stopped;
    return false;
  }
  if (leave.vb5 && fresh.vb5) concerned[0] = false, out.leftAlone.vb5 = true;
  if (leave.vb6 && fresh.vb6) concerned[1] = false, out.leftAlone.vb6 = true;
  if (!concerned[0] && !concerned[1]) {
    out.end = End::IdeOpen;
    return false;
  }
  // Still running after the answer (not waited for): the user went on with them.
  const OpenIdes still = FindOpenIdes({fresh.vb5 && concerned[0], fresh.vb6 && concerned[1]});
  out.wentOnWith.vb5 = out.wentOnWith.vb5 || still.vb5;
  out.wentOnWith.vb6 = out.wentOnWith.vb6 || still.vb6;
  return true;
}

// Step 2.
bool TakeLock(ListsLock& lock, Answers& answers, Outcome& out) {
  bool waited = false;
  const ListsLock::Outcome taken = lock.Take([&](HANDLE mutex) {
    waited = true;
    return answers.OtherCopy(mutex);
  });
  if (taken == ListsLock::Outcome::Taken) return true;
  out.end = waited ? End::Stopped : End::Busy;
  // Refused: a command of this copy is at work; nothing to wait for.
  if (taken == ListsLock::Outcome::Refused) out.end = End::Busy;
  return false;
}

// The lists held: the answers are told for as long.
class Held {
 public:
  Held(Answers& answers, Work work) : answers_(answers), work_(work) { answers_.Holding(true, work_); }
  ~Held() { answers_.Holding(false, work_); }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  Answers& answers_;
  Work work_;
};

// A change found unfinished (cofnij.new marked begun), if any. A damaged new file is noted (the
// next snapshot replaces it); one marked done, whose rename failed, is the undo file it should have
// become: the rename is tried again, and when it still fails it stays the way back.
std::optional<UndoRecord> Unfinished(const std::wstring& folder, Outcome& out) {
  std::optional<UndoRecord> pending;
  try {
    pending = listfile::ReadPending(folder);
  } catch (const AppError& e) {
    out.pendingDamaged = e;
    return std::nullopt;
  }
  if (!pending || !pending->after) return pending;
  try {
    listfile::PromotePending(folder);
  } catch (const AppError&) {
  }
  return std::nullopt;
}

// Step 3. False when an unfinished change must be settled first.
bool NothingUnfinished(const std::wstring& folder, Outcome& out) {
  std::optional<UndoRecord> pending = Unfinished(folder, out);
  if (!pending) return true;
  out.pending = std::move(pending);
  out.end = End::Interrupted;
  return false;
}

// What the lists hold after the writes: as wanted where they were written whole.
ListsState After(const ListsReading& now, const Wanted& wanted, const Outcome& out, bool changes[2]) {
  ListsState after = now.state;
  for (int l = 0; l < 2; ++l)
    if (changes[l] && !out.writes[l].keyMissing) after.lists[l].values = *wanted.lists[l];
  return after;
}

// Step 10, and the settling of a change found unfinished: `record` is marked done with the lists
// `after` and becomes the undo file, or is dropped when the lists are as before it. True when it
// is the way back now (cofnij.dat, or cofnij.new marked done when the rename failed).
bool Finish(const std::wstring& folder, UndoRecord& record, const ListsState& after, Outcome& out) {
  if (after == record.before) {
    listfile::RemovePending(folder);
    return false;
  }
  record.after = after;
  try {
    listfile::WritePending(folder, record, listfile::kMaxUndoFileBytes);
  } catch (const AppError& e) {
    out.undoNotKept = e;  // cofnij.new stays marked begun: the next start offers to put back
    return false;
  }
  try {
    listfile::PromotePending(folder);
  } catch (const AppError& e) {
    out.undoNotKept = e;
    out.undoMarkedDone = true;
  }
  return true;
}

// Steps 4 to 10, the lock held.
void Execute(const std::wstring& folder, listfile::ChangeKind kind, std::array<bool, 2> concerned,
             const Decision& decide, Answers& answers, Outcome& out, std::optional<ListsReading> first = std::nullopt) {
  ListsReading now = first ? std::move(*first) : listfile::ReadListsNow();
  UndoRecord record;
  record.kind = kind;
  // `written`: cofnij.new is this change's; `snapshot`: it holds the lists as they are now.
  bool written = false, snapshot = false, withoutUndo = false;
  const auto dropSnapshot = [&] {
    if (written) listfile::RemovePending(folder);
  };
  for (int tries = 0; tries < kDecisionTries;) {
    const Wanted wanted = decide(now, concerned);
    if (wanted.declined) {
      dropSnapshot();
      out.end = End::Declined;
      return;
    }
    bool changes[2] = {false, false};
    std::array<bool, 2> changing{};
    for (int l = 0; l < 2; ++l) {
      out.writes[l] = {};
      if (!wanted.lists[l] || !concerned[l]) continue;
      if (now.status[l] != ERROR_SUCCESS) {  // a list that cannot be read is not written
        out.writes[l].changed = true;
        out.writes[l].status = now.status[l];
        continue;
      }
      if (!now.state.lists[l].keyExists) {
        out.writes[l].keyMissing = true;
        continue;
      }
      changes[l] = changing[l] = *wanted.lists[l] != now.state.lists[l].values;
    }
    if (!changing[0] && !changing[1]) {
      dropSnapshot();
      out.end = End::Unchanged;
      return;
    }
    // Step 6: an IDE started meanwhile.
    const std::array<bool, 2> asked = changing;
    if (!AskAboutIdes(changing, answers, out)) {
      dropSnapshot();
      return;
    }
    if (changing != asked) {  // a list left alone: decided again without it
      for (int l = 0; l < 2; ++l) concerned[l] = concerned[l] && (changing[l] || !asked[l]);
      now = listfile::ReadListsNow();
      continue;
    }
    // Step 7.
    if (!snapshot && !withoutUndo) {
      record.when = LocalTimeText();
      record.before = now.state;
      try {
        listfile::WritePending(folder, record, listfile::kMaxUndoFileBytes);
        written = snapshot = true;
      } catch (const AppError& e) {
        if (!answers.GoOnWithoutUndo(e)) {
          out.end = End::NoUndo;
          out.error = e;
          return;
        }
        withoutUndo = true;
      }
    }
    // Step 8: the questions and the snapshot took time. Lists whose keys were not written since
    // need no second reading.
    ListsReading again = listfile::ListsUntouchedSince(now) ? now : listfile::ReadListsNow();
    if (again != now) {
      now = std::move(again);
      snapshot = false;  // written again, as the lists are now, before anything is changed
      ++tries;
      continue;
    }
    // Step 9.
    std::size_t needed[2] = {0, 0};
    for (int l = 0; l < 2; ++l)
      if (changes[l]) needed[l] = Autostart::WritesNeeded(now.state.lists[l].values, *wanted.lists[l]);
    const std::size_t total = needed[0] + needed[1];
    answers.Progress(0, total);
    for (int l = 0; l < 2; ++l) {
      if (!changes[l]) continue;
      const std::size_t before = l == 0 ? 0 : needed[0];
      out.writes[l] = Autostart::ReplaceValues(
          HKEY_CURRENT_USER, Autostart::ListKeyPath(listfile::kListVersions[l]), now.state.lists[l].values,
          *wanted.lists[l], [&](std::size_t done, std::size_t) { answers.Progress(before + done, total); });
    }
    out.end = End::Done;
    // Step 10.
    if (snapshot) {
      const ListsState after = out.Failed() ? listfile::ReadListsNow().state : After(now, wanted, out, changes);
      (void)Finish(folder, record, after, out);
    }
    return;
  }
  dropSnapshot();
  out.end = End::ChangedMeanwhile;
}

}  // namespace

Outcome Run(const Place& place, listfile::ChangeKind kind, std::array<bool, 2> concerned,
            const Decision& decide, Answers& answers) {
  const std::wstring& folder = place.folder;
  Outcome out;
  if (!AskAboutIdes(concerned, answers, out)) return out;
  ListsLock lock(place.lock);
  if (!TakeLock(lock, answers, out)) return out;
  const Held held(answers, WorkOf(kind));
  if (!NothingUnfinished(folder, out)) return out;
  Execute(folder, kind, concerned, decide, answers, out);
  return out;
}

std::optional<UndoRecord> LastChange(const std::wstring& folder) {
  // A new file marked done is newer than the undo file: its rename failed.
  if (listfile::PendingExists(folder)) {
    if (std::optional<UndoRecord> pending = listfile::ReadPending(folder); pending && pending->after) return pending;
  }
  if (GetFileAttributesW(listfile::UndoFilePath(folder).c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  UndoRecord last = listfile::ReadUndoFile(listfile::UndoFilePath(folder));
  if (!last.after)  // never the undo file before it is done
    throw AppError(ListAction::UseUndoFile, ERROR_INVALID_DATA, listfile::UndoFilePath(folder),
                   ListProblem::UndoFileDamaged);
  return last;
}

namespace {

// The lists putting `target` back changes (a list whose key did not exist is left alone) and
// what they become.
Wanted PutBackWanted(const ListsState& target) {
  Wanted wanted;
  for (int l = 0; l < 2; ++l)
    if (target.lists[l].keyExists) wanted.lists[l] = target.lists[l].values;
  return wanted;
}

std::array<bool, 2> ListsOf(const ListsState& target) {
  return {target.lists[0].keyExists, target.lists[1].keyExists};
}

// The lists that putting `target` back would change, the lists being `now`.
std::array<bool, 2> ListsChanging(const ListsState& target, const ListsState& now) {
  std::array<bool, 2> changing = ListsOf(target);
  for (int l = 0; l < 2; ++l) changing[l] = changing[l] && target.lists[l] != now.lists[l];
  return changing;
}

// Undoes `last` as the last change; the lock held, nothing unfinished.
void UndoUnderLock(const std::wstring& folder, const UndoRecord& last, Answers& answers,
                   const FunctionRef<bool(const listfile::ChangedSince&)>& goOnThoughChanged, Outcome& out) {
  const auto decide = [&](const ListsReading& now, std::array<bool, 2>) {
    Wanted wanted = PutBackWanted(last.before);
    if (now.state != *last.after && !goOnThoughChanged(listfile::CompareSince(last, now.state)))
      wanted.declined = true;
    return wanted;
  };
  Execute(folder, listfile::ChangeKind::Undo, ListsOf(last.before), decide, answers, out);
}

}  // namespace

Outcome Undo(const Place& place, Answers& answers,
             const FunctionRef<bool(const listfile::ChangedSince&)>& goOnThoughChanged) {
  const std::wstring& folder = place.folder;
  Outcome out;
  // Only the IDEs of the lists the undo puts back are asked about; an undo file that cannot be
  // read concerns both (the undo then says why).
  std::array<bool, 2> concerned{true, true};
  try {
    // Worked out only when an IDE runs: it costs a reading of both lists.
    if (const std::optional<UndoRecord> last = FindOpenIdes().any() ? LastChange(folder) : std::nullopt)
      concerned = ListsChanging(last->before, listfile::ReadListsNow().state);
  } catch (const AppError&) {
  }
  if (!AskAboutIdes(concerned, answers, out)) return out;
  ListsLock lock(place.lock);
  if (!TakeLock(lock, answers, out)) return out;
  const Held held(answers, Work::Undo);
  if (!NothingUnfinished(folder, out)) return out;
  const std::optional<UndoRecord> last = LastChange(folder);
  if (!last) {
    out.end = End::Unchanged;
    return out;
  }
  UndoUnderLock(folder, *last, answers, goOnThoughChanged, out);
  return out;
}

PutBackOutcome PutBack(const Place& place, Answers& answers, const PutBackQuestion& ask) {
  const std::wstring& folder = place.folder;
  PutBackOutcome result;
  Outcome& out = result.change;
  if (!listfile::PendingExists(folder)) return result;
  // Only the IDEs of the lists putting back would change are asked about; a change that cannot be
  // read concerns both.
  std::array<bool, 2> concerned{true, true};
  try {
    // Worked out only when an IDE runs: it costs a reading of both lists.
    const std::optional<UndoRecord> pending = FindOpenIdes().any() ? listfile::ReadPending(folder) : std::nullopt;
    if (pending && !pending->after) {
      std::optional<UndoRecord> last;
      if (pending->kind == listfile::ChangeKind::Undo) last = LastChange(folder);
      concerned = ListsChanging(last ? last->before : pending->before, listfile::ReadListsNow().state);
    }
  } catch (const AppError&) {
  }
  if (concerned[0] || concerned[1]) {
    if (!AskAboutIdes(concerned, answers, out)) return result;
  }
  ListsLock lock(place.lock);
  if (!TakeLock(lock, answers, out)) return result;
  const Held held(answers, Work::PutBack);
  // Settled meanwhile by another copy, or damaged (then replaced by the next change).
  const std::optional<UndoRecord> pending = Unfinished(folder, out);
  if (!pending) return result;
  result.pending = pending;
  ListsReading now = listfile::ReadListsNow();
  // An unfinished undo is finished: its goal is the undo file's lists before the change it undid.
  std::optional<UndoRecord> last;
  if (pending->kind == listfile::ChangeKind::Undo) last = LastChange(folder);
  const ListsState target = last ? last->before : pending->before;
  result.putBack = ask(*pending, listfile::NewEntries(target, now.state));
  if (!result.putBack || pending->kind != listfile::ChangeKind::Undo) {
    // The interrupted change becomes the last change, its result the lists as they are now, so
    // that Undo can put them back (answered No), or the put-back below is its undo.
    UndoRecord done = *pending;
    if (Finish(folder, done, now.state, out)) {
      last = std::move(done);
    } else if (out.undoNotKept) {
      throw AppError(*out.undoNotKept);  // not recorded: nothing is put back
    }
    if (!result.putBack) {
      out.end = End::Done;
      return result;
    }
    if (!last) {  // the interrupted change had changed nothing
      out.end = End::Unchanged;
      return result;
    }
  }
  const auto decide = [&](const ListsReading&, std::array<bool, 2>) { return PutBackWanted(target); };
  const ListsState stopped = now.state;
  Execute(folder, listfile::ChangeKind::Undo, ListsOf(target), decide, answers, out, std::move(now));
  if (out.end == End::Unchanged && pending->kind == listfile::ChangeKind::Undo) {
    // The undo had put every list back before it stopped: it is done now.
    UndoRecord done = *pending;
    (void)Finish(folder, done, stopped, out);
  }
  return result;
}

bool ReadUnderLock(Answers& answers, const FunctionRef<void()>& read, Work work) {
  Outcome out;
  ListsLock lock;
  if (!TakeLock(lock, answers, out)) return false;
  const Held held(answers, work);
  read();
  return true;
}

}  // namespace change
