#pragma once
// The dead-entry cleaner: drops the entries of one Visual Basic version's recent-files list whose
// file or folder no longer exists and renumbers the rest from "1", in their former order.
#include <cstdint>
#include <string>
#include <vector>

#include "registry/autostart.h"

// True when the path names an existing file or folder (any attributes count). The path is used
// as it stands: not trimmed, not expanded.
bool CzyIstnieje(const std::string& path);

struct CleanOutcome {
  std::int32_t entryCount = 0;  // entries read, 0 to 1000
  std::int32_t removed = 0;     // dead entries that are gone from the registry now
  // The first write or delete that failed, which stopped the changes to this list, or (with
  // `unreadable`) the entry that could not be read exactly; 0 when none.
  Autostart::Status status = 0;
  std::string failedValue;
  // An entry exists that cannot be read exactly (too long, access denied, characters the ANSI
  // code page cannot hold): the list was left exactly as it was.
  bool unreadable = false;
};

// Cleans the list of `version` ("5.0" or "6.0") and appends the surviving texts to `List1` (which
// the caller empties between runs).
//
// The whole list is read and tested before anything is changed. A list with an entry that
// cannot be read exactly is not changed at all (nothing is appended to `List1` then): its
// survivors could not be renumbered without hiding that entry, or rewritten without altering it.
// A survivor that already stands as that very text (REG_SZ) under its new number is not
// written again, so a list with nothing to remove needs no write access. Survivors are then written over
// "1".."k" in order, and only after that are the values "k+1" up to the entry count deleted, so
// that at every moment each surviving entry is still present under some number. The first failing
// write or delete stops the changes; `removed` then counts only the dead entries actually gone.
CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1);
