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
// Refused before it is read: no file the program writes is larger (see WritePending).
inline constexpr unsigned long long kMaxUndoFileBytes = 64ull << 20;

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

// Both lists as they are now, exactly, with the status of each reading: 0, or the failure of a
// list that exists but cannot be read (it then reads as no list, which an undo leaves alone).
struct ListsReading {
  ListsState state;
  Autostart::Status status[2] = {0, 0};
  bool operator==(const ListsReading& other) const { return state == other.state && status[0] == other.status[0] && status[1] == other.status[1]; }
  // When each list key was last written, as read before its values, and the time of the reading.
  FILETIME written[2] = {};
  FILETIME readAt = {};
};
ListsReading ReadListsNow();
// True when neither list can have changed since `reading` was made: each key is as it was then
// (one call a list), and was last written well before that reading, so that no write since can
// share its time stamp. False means the lists have to be read again to tell.
bool ListsUntouchedSince(const ListsReading& reading);
// The same, throwing AppError (ListAction::SaveUndo) when a list cannot be read.
ListsState ReadLists();

std::string UndoFileText(const UndoRecord& record);
// Throws AppError (ListProblem::UndoFileDamaged, naming `path`) for anything but a file as
// UndoFileText writes it.
UndoRecord ParseUndoFile(std::string_view bytes, const std::wstring& path);
// Reads and checks the file. Throws AppError when it cannot be read or is damaged.
UndoRecord ReadUndoFile(const std::wstring& path);

// ---- The files of a change (the change object runs the steps) ----

// Writes `record` as the new file, whole or not at all: into a file beside it that then takes its
// name. Throws AppError (ListAction::SaveUndo) when it cannot, or when the file would be larger
// than `maxBytes` (ListProblem::UndoFileTooLarge), which ReadUndoFile would refuse.
void WritePending(const std::wstring& folder, const UndoRecord& record, unsigned long long maxBytes);
// The new file takes the undo file's place in one rename. Throws AppError when it cannot.
void PromotePending(const std::wstring& folder);
void RemovePending(const std::wstring& folder);
void RemoveUndoFile(const std::wstring& folder);

// The new file of a change, when there is one. Throws AppError when it is damaged.
std::optional<UndoRecord> ReadPending(const std::wstring& folder);

// How the lists now differ from those right after the last change, for the question asked
// before undoing over them.
struct ChangedSince {
  std::size_t goneAfterUndo = 0;  // entries there now that the undo would remove
  std::size_t addedSince = 0;     // of those, entries that were not there right after the change
};
// Only lists that the undo would put back count.
ChangedSince CompareSince(const UndoRecord& last, const ListsState& now);

// How many distinct entries (type and bytes) are in `now` but nowhere in the lists `target` holds:
// what putting `target` back would remove that was never there before. Only lists that `target`
// puts back count.
std::size_t NewEntries(const ListsState& target, const ListsState& now);

}  // namespace listfile
