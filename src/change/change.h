#pragma once
// Every change to the recent-files lists runs here, the same way for every command: Start, removal
// in the review window, Clear, import, Undo, the put-back of an interrupted change at the next
// start, and the command line's /clean, /import and /undo. A command gives only what is its own:
// the lists it may change, its decision (from the lists as read to the lists wanted) and the
// answers to the questions below. The steps, in this order:
//
//  1. Open IDEs. When the IDE of a concerned list runs, Answers::IdesOpen decides: wait for it,
//     go on, leave that list alone, or stop. No lock is held meanwhile.
//  2. The lock (common/listslock.h): taken at once, or Answers::OtherCopy waits for the copy that
//     holds it. Held until the end of the change, so no two copies interleave.
//  3. An unfinished change (cofnij.new marked begun) stops every command but the put-back, which
//     settles it: the lists may be half changed. A new file marked done (its rename failed) is the
//     undo file until the next change; a damaged one is replaced by it.
//  4. Both lists are read, every numbered value as stored, and the command decides (it may ask).
//  5. A decision that changes nothing ends here: nothing is written, not even the snapshot.
//  6. The IDEs of the lists about to change are looked for again: one started since step 1 is
//     asked about (Answers::IdesOpen) before anything is written.
//  7. Snapshot: both lists as read go into cofnij.new, marked begun, in one file write. When it
//     cannot be written, Answers::GoOnWithoutUndo decides.
//  8. Both lists are read again; when they changed since step 4 (an IDE wrote its list back) the
//     command decides again on the new reading, from step 5, at most kDecisionTries times.
//  9. The writes: in each list every value that differs is written, in number order, and only
//     then are the values the wanted list does not hold deleted, from the highest number down.
//     So every entry stands under some number at every moment, and no value is left behind a
//     gap. A list stops at its first refusal.
// 10. Done: cofnij.new is marked done with the lists as they are now and renamed to cofnij.dat,
//     the way back for Undo (removed instead when the lists are as before). When the rename fails
//     the done new file stays the way back, and the outcome says so.
//
// Killed at any call, a change leaves the lists as they were (no new file, or one the next change
// replaces), or cofnij.new marked begun with the lists as they were before it, which the next start
// offers to put back: that put-back is itself a change of this kind, undoable with Undo.
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/error.h"
#include "common/function_ref.h"
#include "common/ide_processes.h"
#include "common/listslock.h"
#include "listfile/undo.h"
#include "registry/autostart.h"

namespace change {

using Values = std::vector<Autostart::StoredValue>;

// What a command wants the lists to be.
struct Wanted {
  // Index 0 the 5.0 list, 1 the 6.0 list; none leaves that list as it is.
  std::optional<Values> lists[2];
  // The command stopped (a question of its own was answered No): nothing is changed.
  bool declined = false;
};

// From the lists as read to the lists wanted; `concerned` says which lists the command may change
// (not one left alone for its open IDE). It may ask the command's own questions.
using Decision = FunctionRef<Wanted(const listfile::ListsReading& now, std::array<bool, 2> concerned)>;

// What the work holding the lists does, as its progress names it.
enum class Work { Clean, Review, Import, Clear, Undo, PutBack, Export };

// How the questions of a change are answered: the windows ask the user, the command line answers
// from its switches.
class Answers {
 public:
  virtual ~Answers() = default;
  // The IDEs in `open` run. True to go on (after waiting for them, or not); `leaveAlone` may name
  // lists to leave as they are. False stops the change.
  virtual bool IdesOpen(const OpenIdes& open, OpenIdes& leaveAlone) = 0;
  // Another copy holds the lists: wait for `mutex` (the lock's); true once the wait acquired it.
  virtual bool OtherCopy(HANDLE mutex) = 0;
  // The snapshot cannot be written: true to change the lists anyway, without a way back.
  virtual bool GoOnWithoutUndo(const AppError& why) = 0;
  // Called now and then during long work whose end is not known (the decision, the probes).
  virtual void KeepAnswering() {}
  // Called now and then during the writes: `done` of `total` values written or deleted, in every
  // list the change writes.
  virtual void Progress(std::size_t /*done*/, std::size_t /*total*/) {}
  // The lists are taken (true) for `work`, and given back (false): the work has ended.
  virtual void Holding(bool /*held*/, Work /*work*/) {}
};

using ListWrites = Autostart::ListWrites;

enum class End {
  Done,              // the lists are as wanted (see `writes` for refusals)
  Unchanged,         // the decision changed nothing; nothing was written
  Declined,          // the command's own question was answered No
  Stopped,           // the user stopped at the IDE question, or at the wait for another copy
  IdeOpen,           // every concerned list was left alone for its open IDE
  Busy,              // another copy held the lists and was not waited for
  Interrupted,       // an unfinished change must be settled first (`pending`)
  NoUndo,            // the snapshot could not be written and the change was not made (`error`)
  ChangedMeanwhile,  // the lists changed at every reading: nothing was changed
};

struct Outcome {
  End end = End::Unchanged;
  OpenIdes wentOnWith;  // open IDEs the user chose to go on with
  OpenIdes leftAlone;   // lists left alone for their open IDE
  ListWrites writes[2];
  std::optional<AppError> error;                // NoUndo: why
  std::optional<AppError> undoNotKept;          // Done, but the undo file could not be brought up to date
  bool undoMarkedDone = false;                  // with undoNotKept: cofnij.new holds the way back
  std::optional<listfile::UndoRecord> pending;  // Interrupted
  std::optional<AppError> pendingDamaged;       // a damaged cofnij.new was found and replaced
  bool Failed() const { return writes[0].status != 0 || writes[1].status != 0; }
};

// Where a change works: the folder of the undo files (the program's folder) and the lock of the
// lists (a test names one of its own).
struct Place {
  Place(std::wstring undoFolder, const wchar_t* lockName = kListsLockName)
      : folder(std::move(undoFolder)), lock(lockName) {}
  std::wstring folder;
  const wchar_t* lock;
};

// How many times a change decides before it gives up on lists that keep changing.
inline constexpr int kDecisionTries = 3;

// Runs one change of `kind` through every step above.
Outcome Run(const Place& place, listfile::ChangeKind kind, std::array<bool, 2> concerned,
            const Decision& decide, Answers& answers);

// ---- Undo ----

// The last change's record: cofnij.new when it is marked done (its rename failed), else cofnij.dat.
// Throws AppError when it cannot be read or is damaged; none when there is no undo file.
std::optional<listfile::UndoRecord> LastChange(const std::wstring& folder);

// Undoes the last change. When the lists changed since it, `goOnThoughChanged` is asked.
// End::Unchanged when there is nothing to undo. Throws AppError (nothing changed) when the undo
// file cannot be read or is damaged.
Outcome Undo(const Place& place, Answers& answers,
             const FunctionRef<bool(const listfile::ChangedSince&)>& goOnThoughChanged);

// ---- The put-back of an interrupted change, at the next start ----

// Asked, under the lock, whether to put the lists back: the change found unfinished, and how many
// distinct entries there now that putting back would remove were not there before it.
using PutBackQuestion = FunctionRef<bool(const listfile::UndoRecord& pending, std::size_t newEntries)>;

// Settles a change found unfinished. No: the lists stay as they are and the change is recorded
// as done, so Undo puts them back later. Yes: the change is recorded as done, then undone like
// any last change (an unfinished undo is finished), so the lists as they are now are snapshotted
// first and Undo can return to them. End::Unchanged when there is nothing unfinished.
struct PutBackOutcome {
  Outcome change;
  bool putBack = false;  // the user chose to put the lists back
  std::optional<listfile::UndoRecord> pending;
};
PutBackOutcome PutBack(const Place& place, Answers& answers, const PutBackQuestion& ask);

// ---- Reading only ----

// Runs `read` under the lock (the export, so a file holds both lists as they were at one time).
// False when the lock was not taken.
bool ReadUnderLock(Answers& answers, const FunctionRef<void()>& read, Work work = Work::Export);

}  // namespace change
