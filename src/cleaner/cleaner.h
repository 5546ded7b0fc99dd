#pragma once
// The dead-entry cleaner: drops the entries of the Visual Basic recent-files lists whose file or
// folder no longer exists and renumbers the rest from "1", in their former order.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cleaner/reachability.h"
#include "common/function_ref.h"
#include "registry/autostart.h"

struct CleanOutcome {
  std::int32_t entryCount = 0;  // entries read and checked, 0 to 1000
  std::int32_t removed = 0;     // dead entries that are gone from the registry now
  // The first write or delete that failed, which stopped the changes to this list, or (with
  // `unreadable`) the entry that could not be read exactly; 0 when none.
  Autostart::Status status = 0;
  std::string failedValue;
  // An entry exists that cannot be read exactly (too long, access denied, characters the ANSI
  // code page cannot hold): the list was left exactly as it was.
  bool unreadable = false;
  // Entries after the checked ones ("1001" on, up to the first missing number): never checked,
  // they move down with the rest in their order, exactly as stored, so that no gap opens.
  std::int32_t unchecked = 0;
  // Of `removed`, the entries whose place could not be reached, removed because the user said so
  // (counted when the list was rewritten whole).
  std::int32_t removedUnreachable = 0;
};

// One version's list as read for cleaning: the entries "1", "2", ... up to the first missing
// number (at most 1000), or up to the first that cannot be read exactly.
struct VersionScan {
  std::string version;
  Autostart::ListScan list;
  // The entries of `list` as stored (type and bytes), then the unchecked ones after them up to
  // the first missing number. A scan made without them has them read by RewriteList.
  std::vector<Autostart::StoredValue> stored;
};
VersionScan ScanVersion(const std::string& version);

// Every numbered value of one version's list as stored (any type, any place): what a command
// reads again right before it writes, to tell whether the list changed since it decided.
struct StoredList {
  Autostart::Status status = 0;  // of the reading; ERROR_FILE_NOT_FOUND when there is no list
  std::vector<Autostart::StoredValue> values;
  bool operator==(const StoredList&) const = default;
};
StoredList ReadStoredList(const std::string& version);

// For each checked entry of the scan: its text with the environment variables expanded when it
// is stored as REG_EXPAND_SZ and expanding changes it, "" otherwise. The IDE's users mean such an
// entry either way, so it exists when either names an existing file (see CheckPaths).
std::vector<std::string> ExpandedTexts(const VersionScan& scan);

// One flag per entry, 0 or 1. Bytes rather than std::vector<bool>, whose bit access costs code
// wherever it is used.
using EntryFlags = std::vector<char>;
// True when the flags drop any entry (any flag is 0).
bool DropsAny(const EntryFlags& keep);

// Writes the entries of `scan` whose `keep` flag is set back over "1".."k" in order, followed by
// the unchecked entries after them, each with its own stored type and bytes, and appends the
// kept checked texts to `List1` (which the caller empties between runs).
//
// A list with an entry that cannot be read exactly is not changed at all (nothing is appended to
// `List1` then): its survivors could not be renumbered without hiding that entry, or rewritten
// without altering it. An entry whose new number already holds the same type and bytes is not
// written again, so a list with nothing to remove needs no write access. Only after all the
// writes are the values past the new end deleted, from the highest number down, so that at
// every moment each kept entry is present under some number and the list has no gap. The first
// failing write or delete stops the changes; `removed` then counts only the dropped entries
// actually gone.
CleanOutcome RewriteList(const VersionScan& scan, const EntryFlags& keep, std::vector<std::string>& List1);

// The places of entries that could not be checked, each with its count; answers whether those
// entries are to be removed as well.
using UnreachableDecision = FunctionRef<bool(const std::vector<std::pair<std::string, int>>& places)>;

struct BothOutcomes {
  CleanOutcome vb5, vb6;
  bool declined = false;  // `beforeChange` said no: nothing was changed
  // The lists changed each time they were read again before writing: nothing was changed.
  bool changedMeanwhile = false;
};

// How many times a command decides before it gives up on lists that keep changing.
inline constexpr int kDecisionTries = 3;

// Asked once, after the checks and only when some entry is to be removed, before the first
// change; false leaves both lists as they are.
using BeforeChange = FunctionRef<bool()>;

// A cleaning run over both lists as Start makes it: both are read, every entry is checked (each
// drive or share probed once, `pump` serving the windows meanwhile), and when some entries live
// on places that do not answer, `removeUnreachable` decides about them once, before anything
// changes; without it they stay. Right before writing (and again after `beforeChange`), both
// lists are read again: when they changed meanwhile (an IDE that closed writes its list back),
// the run decides again on the new reading, checking only entries not checked yet, probing only
// places not probed yet and asking only about new entries out of reach, at most kDecisionTries
// times; then the 5.0 and the 6.0 list are rewritten. `List1` is the working list, empty before
// and after. A version not in `versions` (5.0, 6.0) is left alone: neither checked nor written,
// its outcome all zero.
BothOutcomes CleanBothLists(std::vector<std::string>& List1, const ExistenceChecks& checks,
                            const WaitPump& pump = {}, const UnreachableDecision& removeUnreachable = {},
                            const BeforeChange& beforeChange = {}, std::array<bool, 2> versions = {true, true});

// Cleans one version's list, keeping the entries whose place cannot be reached, and appends the
// surviving texts to `List1`.
CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1,
                           const ExistenceChecks& checks = ExistenceChecks::System());
