#pragma once
// The dead-entry cleaner: drops the entries of the Visual Basic recent-files lists whose file or
// folder no longer exists and renumbers the rest from "1", in their former order.
#include <array>
#include <optional>
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

// One version's list as read for cleaning: every numbered value as stored (one reading), and the
// entries "1", "2", ... as the ANSI reads see them, up to the first missing number (at most 1000)
// or up to the first that cannot be read exactly.
struct VersionScan {
  std::string version;
  Autostart::ListScan list;
  // Every numbered value as stored, in number order, after a gap too; empty when there is no list
  // or it cannot be read (`list.status` then says why, unless there is no list).
  std::vector<Autostart::StoredValue> values;
};
// Reads the list (one ReadNumberedValues).
VersionScan ScanVersion(const std::string& version);
// The scan of values already read; `status` is that of their reading.
VersionScan ScanOf(const std::string& version, Autostart::Status status, std::vector<Autostart::StoredValue> values);

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

// The list wanted when the checked entries of `scan` whose `keep` flag is set stay: they move to
// "1".."k" in order, each with its own stored type and bytes, followed by the unchecked entries
// after them ("1001" on, up to the first missing number), so that no gap opens; values behind a
// gap stay as they are. Nothing for a list with an entry that cannot be read exactly: its
// survivors could not be renumbered without hiding that entry, or rewritten without altering it.
std::optional<std::vector<Autostart::StoredValue>> KeptValues(const VersionScan& scan, const EntryFlags& keep);

// What cleaning `scan` by `keep` does to it before anything is written: entries read, dropped,
// unchecked; a list that cannot be read exactly is reported so.
CleanOutcome Planned(const VersionScan& scan, const EntryFlags& keep);
// The outcome once the list was written (Autostart::ReplaceValues). After a refusal the list is
// read again, so that `removed` counts only the dropped entries actually gone.
CleanOutcome Written(CleanOutcome planned, const VersionScan& scan, const EntryFlags& keep,
                     const Autostart::ListWrites& writes);

// Writes the list KeptValues wants and appends the kept checked texts to `List1` (which the
// caller empties between runs); nothing is appended for a list left as it was. An entry whose new
// number already holds the same type and bytes is not written again, so a list with nothing to
// remove needs no write access. The first failing write or delete stops the changes.
CleanOutcome RewriteList(const VersionScan& scan, const EntryFlags& keep, std::vector<std::string>& List1);

// The places of entries that could not be checked, each with its count; answers whether those
// entries are to be removed as well.
using UnreachableDecision = FunctionRef<bool(const std::vector<std::pair<std::string, int>>& places)>;

struct BothOutcomes {
  CleanOutcome vb5, vb6;
};

// The decision of a cleaning run over both lists, as Start makes it. One run may decide several
// times (the lists changed before they were written): an entry is checked once, each drive or
// share probed once (`pump` serving the windows meanwhile), and only entries out of reach not
// asked about yet go to `removeUnreachable`, which decides about them before anything changes;
// without it they stay.
class CleanRun {
 public:
  // `pump` and `removeUnreachable` must outlive the run.
  CleanRun(ExistenceChecks checks, const WaitPump& pump = {}, const UnreachableDecision& removeUnreachable = {});
  ~CleanRun();
  CleanRun(const CleanRun&) = delete;
  CleanRun& operator=(const CleanRun&) = delete;

  // Decides on both lists as read (5.0, 6.0). A version not in `versions` is left alone: neither
  // checked nor written, its outcome all zero.
  void Decide(std::array<VersionScan, 2> scans, std::array<bool, 2> versions);
  // The list wanted for 5.0 (0) or 6.0 (1) after the last decision; none when it stays as it is.
  std::optional<std::vector<Autostart::StoredValue>> Wanted(int list) const;
  // The outcome of a list after its writes (none written: `writes` all zero).
  CleanOutcome Outcome(int list, const Autostart::ListWrites& writes) const;

 private:
  struct Findings;
  ExistenceChecks checks_;
  WaitPump pump_;
  UnreachableDecision removeUnreachable_;
  Findings* findings_;
  VersionScan scans_[2];
  EntryFlags keep_[2];
  std::int32_t away_[2] = {0, 0};
  bool versions_[2] = {false, false};
};

// Cleans one version's list, keeping the entries whose place cannot be reached, and appends the
// surviving texts to `List1`.
CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1,
                           const ExistenceChecks& checks = ExistenceChecks::System());
