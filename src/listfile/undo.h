#pragma once
// The undo file `cofnij.dat`: both recent-files lists exactly as they were before the program's
// last change to them, and as they were right after it. Every change first writes the lists as
// they are into a new file, `cofnij.new`, marked begun; once the change is over that file is
// marked done and takes the undo file's place, or is removed when the change changed nothing.
// A `cofnij.new` still marked begun at the next start is a change that was interrupted.
//
// Layout (8-bit text, every line ended by CR LF):
//   Brushwick undo 1                        the name and the version of the layout
//   begun <change> <YYYY-MM-DD HH:MM:SS>    clean, review, import, clear or undo; local time
//   list 5.0 <key> <count>                  key 1: the list key existed, 0: it did not
//   <name> <type> <data>                    each numbered value in number order: its name, its
//   ...                                     type in decimal, its bytes as stored in lower-case hex
//   list 6.0 <key> <count>
//   ...
//   done                                    only once the change is over, followed by both
//   list 5.0 ... list 6.0 ...               lists as they were right after it
//   end <lines before this one> <FNV-1a 64 of the bytes before this line, 16 hex digits>
// Anything else (a cut, edited or foreign file, a value over kMaxValueBytes, a byte more than
// the values need) is a damaged undo file, refused whole before anything is changed.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "common/function_ref.h"
#include "listfile/list_errors.h"
#include "registry/autostart.h"

namespace listfile {

inline constexpr wchar_t kUndoFileName[] = L"cofnij.dat";
inline constexpr wchar_t kPendingFileName[] = L"cofnij.new";
// Larger than any entry the IDE writes (its paths stay under MAX_PATH); a larger value is no
// list entry and would only make a damaged file look sound.
inline constexpr std::size_t kMaxValueBytes = 32768;
// No snapshot of two lists needs more; a larger file is refused before it is read.
inline constexpr unsigned long long kMaxUndoFileBytes = 1ull << 30;

std::wstring UndoFilePath(const std::wstring& folder);
std::wstring PendingFilePath(const std::wstring& folder);
// True when there is an undo file, or a change that was not finished, to go back from.
bool UndoAvailable(const std::wstring& folder);
bool PendingExists(const std::wstring& folder);

enum class ChangeKind { Clean, Review, Import, Clear, Undo };

struct ListState {
  bool keyExists = false;
  std::vector<Autostart::StoredValue> values;  // every numbered value, in number order
  bool operator==(const ListState&) const = default;
};
// Index 0 is the 5.0 list, 1 the 6.0 list.
struct ListsState {
  ListState lists[2];
  bool operator==(const ListsState&) const = default;
};
inline constexpr const char* kListVersions[2] = {"5.0", "6.0"};

struct UndoRecord {
  ChangeKind kind = ChangeKind::Clean;
  std::string when;  // "YYYY-MM-DD HH:MM:SS", local time
  ListsState before;
  std::optional<ListsState> after;  // set once the change is done
  bool operator==(const UndoRecord&) const = default;
};

// Both lists as they are now, exactly. Throws AppError (ListAction::SaveUndo) when a list cannot be
// read or holds a value larger than kMaxValueBytes.
ListsState ReadLists();

std::string UndoFileText(const UndoRecord& record);
// Throws AppError (ListProblem::UndoFileDamaged, naming `path`) for anything but a file as
// UndoFileText writes it.
UndoRecord ParseUndoFile(std::string_view bytes, const std::wstring& path);
// Reads and checks the file. Throws AppError when it cannot be read or is damaged.
UndoRecord ReadUndoFile(const std::wstring& path);

// ---- The steps of a change ----

// Snapshots both lists into the new file, marked begun. Throws AppError (nothing written) when
// the lists cannot be read or the file cannot be written.
UndoRecord BeginChange(const std::wstring& folder, ChangeKind kind);
// After the change: when the lists are as `begun` holds them, the new file is removed and the
// undo file stays as it was; otherwise the new file is marked done with the lists as they are
// now and becomes the undo file. True in the second case. Throws AppError when that cannot be
// done; the new file is then left marked begun.
bool FinishChange(const std::wstring& folder, UndoRecord begun);

// A registry refusal met while putting lists back.
struct RestoreFailure {
  std::string version;    // "5.0" or "6.0"
  std::string entry;      // the value's name; "" when the list as a whole failed
  Autostart::Status status = 0;
  bool keyMissing = false;  // the list key no longer exists
};
using RestoreProgress = FunctionRef<void()>;
inline constexpr std::size_t kRestoreProgressEvery = 256;

// Puts the lists back as `target` holds them, each value with its own name, type and bytes:
// first every value that differs is written, then every numbered value `target` does not hold
// is deleted, so nothing is deleted before the list's values are in. A list whose key did not
// exist in `target` is left alone. A list stops at its first refusal, with no deletion after a
// failed write. Returns the refusals, none when the lists are as `target` holds them.
std::vector<RestoreFailure> RestoreLists(const ListsState& target, const RestoreProgress& progress = {});

// How the lists now differ from those right after the last change, for the question asked
// before undoing over them.
struct ChangedSince {
  std::size_t goneAfterUndo = 0;  // entries there now that the undo would remove
  std::size_t addedSince = 0;     // of those, entries that were not there right after the change
};
// Only lists that the undo would put back count.
ChangedSince CompareSince(const UndoRecord& last, const ListsState& now);

// Which lists (5.0, 6.0) putting `last` back would change, the lists being `now`.
std::array<bool, 2> ListsUndoWouldChange(const UndoRecord& last, const ListsState& now);

// Which lists (5.0, 6.0) an undo from `folder` would put back: both when a change is unfinished
// or the undo file cannot be read (the undo then says why). Never throws.
std::array<bool, 2> ListsUndoConcerns(const std::wstring& folder);

enum class UndoStatus { Restored, Partly, Declined };
struct UndoOutcome {
  UndoStatus status = UndoStatus::Declined;
  std::vector<RestoreFailure> failures;
};

// Undo the last change. The lists as they are now are snapshotted into the new file first; then
// the lists of the undo file are put back; only once they are back whole does the new file
// become the undo file, so undoing again returns to where the user was. When the lists differ
// from those right after the last change, `goOnThoughChanged` decides (none: no). When the new
// file cannot be written, `goOnWithoutUndo` decides (none: no). After a partial restore both
// files stay, the new one marked begun: finishing it (FinishInterrupted) tries again. Throws
// AppError, the registry untouched, when the undo file cannot be read or is damaged.
UndoOutcome UndoLastChange(const std::wstring& folder,
                           const FunctionRef<bool(const ChangedSince&)>& goOnThoughChanged,
                           const FunctionRef<bool(const AppError&)>& goOnWithoutUndo,
                           const RestoreProgress& progress = {});

// The new file of a change, when there is one. Throws AppError when it is damaged.
std::optional<UndoRecord> ReadPending(const std::wstring& folder);

// The lists that putting back the unfinished change `pending` would restore: those before it, or
// for an unfinished undo those the undo was putting back. Throws AppError as ReadUndoFile.
ListsState PutBackTarget(const std::wstring& folder, const UndoRecord& pending);
// How many distinct entries (type and bytes) are in `now` but nowhere in the lists `target` holds:
// what putting `target` back would remove that was never there before. Only lists that `target`
// puts back count.
std::size_t NewEntries(const ListsState& target, const ListsState& now);

// Ends a change found unfinished. Not `putBack`: the lists stay as they are and the new file
// becomes the undo file. `putBack`: the unfinished change is first settled as done (the lists as
// they are now are its result), then undone like any last change, so the lists as they were at
// the put-back are snapshotted first and Undo can return to them, and a put-back that stops
// half-way is an undo to finish, never a lost way back; an unfinished undo is finished the same
// way. A pending file already marked done only takes the undo file's place. Throws AppError as
// UndoLastChange.
UndoOutcome FinishInterrupted(const std::wstring& folder, const UndoRecord& pending, bool putBack,
                              const FunctionRef<bool(const AppError&)>& goOnWithoutUndo,
                              const RestoreProgress& progress = {});

}  // namespace listfile
