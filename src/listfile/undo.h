#pragma once
// The undo file: both recent-files lists as they were before the program's last change to them,
// kept in the list-file format as `cofnij.dat` in the program folder (the import window offers
// only *.rec files, so it never shows there). Each change replaces it.
//
// A list with an entry that cannot be read exactly is left out of the file (its flag is 0), so
// undoing leaves such a list as it is then. That is right for every change that never touches
// such a list: cleaning, removing reviewed entries and clearing all leave it alone. A change that
// replaces a list whatever it holds (an import, an undo) names that list in `replaced`; when it
// cannot be read exactly, nothing is saved and SaveUndo throws, since undo could not bring it back.
#include <functional>
#include <string>

#include "common/error.h"

namespace listfile {

inline constexpr wchar_t kUndoFileName[] = L"cofnij.dat";

std::wstring UndoFilePath(const std::wstring& folder);
// True when there is an undo file to go back to.
bool UndoAvailable(const std::wstring& folder);

// Which lists a coming change replaces whole.
struct Replaced {
  bool v50 = false;
  bool v60 = false;
};

// The undo file's bytes for the lists as they are now. Throws AppError as SaveUndo.
std::string UndoBytes(Replaced replaced = {});
// Saves both lists as they are now, replacing the former undo file. Throws AppError (nothing
// saved, the former file untouched) when it cannot be written or a replaced list cannot be
// read exactly.
void SaveUndo(const std::wstring& folder, Replaced replaced = {});

enum class RestoreResult { Restored, Partly, Declined };

// Puts the lists back as the undo file holds them, after saving the lists as they are now in
// its place, so that undoing again returns to them. When they cannot be saved,
// `goOnWithoutUndo` decides (no function: no); Declined then, with nothing changed. Partly when
// the registry refused some write. Throws AppError with the registry untouched when the file
// cannot be read or is damaged.
RestoreResult RestoreUndo(const std::wstring& folder,
                          const std::function<bool(const AppError&)>& goOnWithoutUndo = {});

}  // namespace listfile
