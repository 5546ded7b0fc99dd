#include "cleaner/cleaner.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/string_index.h"
#include "common/text.h"

namespace {

constexpr int kMaxEntries = 1000;

// Which entries stay: those that exist, and those out of reach unless they are to go as well.
EntryFlags Kept(const std::vector<PathState>& states, size_t first, size_t count, bool removeUnreachable) {
  EntryFlags keep(count);
  for (size_t i = 0; i < count; ++i) {
    const PathState state = states[first + i];
    keep[i] = state == PathState::Exists || (state == PathState::Unreachable && !removeUnreachable);
  }
  return keep;
}

// The entries worth checking: none of a list that will be left as it is.
const std::vector<std::string>& Checked(const VersionScan& scan) {
  static const std::vector<std::string> none;
  return scan.list.status == ERROR_SUCCESS ? scan.list.texts : none;
}


// One entry as a run checks it: its text, and its expanded text ("" when it has none).
using Entry = std::pair<std::string, std::string>;

// The entry as one key: the length of its text, then both texts, so that no two entries share one.
std::string KeyOf(const Entry& entry) {
  return DecimalText(static_cast<long long>(entry.first.size())) + ':' + entry.first + entry.second;
}

std::vector<Entry> Entries(const VersionScan& scan) {
  const std::vector<std::string>& texts = Checked(scan);
  const std::vector<std::string> expanded = ExpandedTexts(scan);
  std::vector<Entry> entries;
  for (size_t i = 0; i < texts.size(); ++i) entries.emplace_back(texts[i], expanded[i]);
  return entries;
}

}  // namespace

bool DropsAny(const EntryFlags& keep) { return std::find(keep.begin(), keep.end(), 0) != keep.end(); }

VersionScan ScanOf(const std::string& version, Autostart::Status status, std::vector<Autostart::StoredValue> values) {
  VersionScan scan{version, {}, {}};
  if (status != ERROR_SUCCESS) {
    // No list is an empty one; a list that cannot be read is left as it is.
    if (status != ERROR_FILE_NOT_FOUND) scan.list.status = status, scan.list.failedValue = "1";
    return scan;
  }
  scan.list = Autostart::ScanStored(values, kMaxEntries);
  scan.values = std::move(values);
  return scan;
}

VersionScan ScanVersion(const std::string& version) {
  std::vector<Autostart::StoredValue> values;
  const Autostart::Status status =
      Autostart::ReadNumberedValues(HKEY_CURRENT_USER, Autostart::ListKeyPath(version), values);
  return ScanOf(version, status, std::move(values));
}

std::vector<std::string> ExpandedTexts(const VersionScan& scan) {
  const std::vector<std::string>& texts = Checked(scan);
  std::vector<std::string> expanded(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    if (scan.list.types[i] != REG_EXPAND_SZ) continue;
    const std::wstring text = AnsiToWide(texts[i]);
    std::wstring result(text.size() + 1, L'\0');
    for (;;) {
      const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), result.data(), static_cast<DWORD>(result.size()));
      if (needed == 0) {
        result.clear();
        break;
      }
      if (needed <= result.size()) {
        result.resize(needed - 1);
        break;
      }
      result.assign(needed, L'\0');
    }
    if (!result.empty() && result != text) expanded[i] = WideToAnsi(result);
  }
  return expanded;
}

namespace {

// The entries "1".."total" up to the first missing number: the checked ones and those after them.
size_t RunLength(const VersionScan& scan) {
  size_t total = scan.list.texts.size();
  if (total == static_cast<size_t>(kMaxEntries))
    while (total < scan.values.size() && scan.values[total].name == DecimalText(static_cast<long long>(total) + 1))
      ++total;
  return total;
}

size_t DroppedCount(const EntryFlags& keep) { return static_cast<size_t>(std::count(keep.begin(), keep.end(), 0)); }

}  // namespace

std::optional<std::vector<Autostart::StoredValue>> KeptValues(const VersionScan& scan, const EntryFlags& keep) {
  if (scan.list.status != ERROR_SUCCESS) return std::nullopt;
  const size_t checked = scan.list.texts.size(), total = RunLength(scan);
  std::vector<Autostart::StoredValue> wanted;
  for (size_t i = 0; i < total; ++i) {
    if (i < checked && !keep[i]) continue;
    Autostart::StoredValue v = scan.values[i];
    v.name = DecimalText(static_cast<long long>(wanted.size()) + 1);
    wanted.push_back(std::move(v));
  }
  wanted.insert(wanted.end(), scan.values.begin() + static_cast<std::ptrdiff_t>(total), scan.values.end());
  return wanted;
}

CleanOutcome Planned(const VersionScan& scan, const EntryFlags& keep) {
  CleanOutcome outcome;
  outcome.entryCount = static_cast<std::int32_t>(scan.list.texts.size());
  if (scan.list.status != ERROR_SUCCESS) {
    outcome.status = scan.list.status;
    outcome.failedValue = scan.list.failedValue;
    outcome.unreadable = true;
    return outcome;
  }
  outcome.unchecked = static_cast<std::int32_t>(RunLength(scan) - scan.list.texts.size());
  outcome.removed = static_cast<std::int32_t>(DroppedCount(keep));
  return outcome;
}

CleanOutcome Written(CleanOutcome planned, const VersionScan& scan, const EntryFlags& keep,
                     const Autostart::ListWrites& writes) {
  if (writes.status == ERROR_SUCCESS || planned.unreadable) return planned;
  planned.status = writes.status;
  planned.failedValue = writes.failedValue;
  // Each value the list held is either kept or dropped whole (an entry's state goes with its
  // text), so a dropped value is gone as often as it is missing now.
  const StoredList now = ReadStoredList(scan.version);
  std::int32_t gone = 0;
  for (size_t i = 0; i < scan.list.texts.size(); ++i) {
    if (keep[i]) continue;
    const Autostart::StoredValue& v = scan.values[i];
    const auto same = [&](const Autostart::StoredValue& w) { return w.type == v.type && w.data == v.data; };
    const auto before = std::count_if(scan.values.begin(), scan.values.end(), same);
    const auto after = std::count_if(now.values.begin(), now.values.end(), same);
    // Counted once per value, at its first dropped copy.
    bool first = true;
    for (size_t j = 0; j < i; ++j) first = first && !(keep[j] == 0 && same(scan.values[j]));
    if (first && after < before) gone += static_cast<std::int32_t>(before - after);
  }
  planned.removed = gone;
  return planned;
}

CleanOutcome RewriteList(const VersionScan& scan, const EntryFlags& keep, std::vector<std::string>& List1) {
  const CleanOutcome planned = Planned(scan, keep);
  const std::optional<std::vector<Autostart::StoredValue>> wanted = KeptValues(scan, keep);
  if (!wanted) return planned;
  for (size_t i = 0; i < scan.list.texts.size(); ++i)
    if (keep[i]) List1.push_back(scan.list.texts[i]);
  const Autostart::ListWrites writes =
      Autostart::ReplaceValues(HKEY_CURRENT_USER, Autostart::ListKeyPath(scan.version), scan.values, *wanted);
  return Written(planned, scan, keep, writes);
}

StoredList ReadStoredList(const std::string& version) {
  StoredList list;
  list.status = Autostart::ReadNumberedValues(HKEY_CURRENT_USER, Autostart::ListKeyPath(version), list.values);
  return list;
}

// What a run has learnt so far, kept across its decisions.
struct CleanRun::Findings {
  std::vector<Entry> checked;      // every entry checked so far, each once
  std::vector<PathState> states;   // of each of `checked`
  StringIndex where;               // by KeyOf: the place in `checked`
  StringIndex removeAway;          // by KeyOf, entries out of reach: the user's answer, 0 or 1

  // The state of an entry checked already; an exception for any other.
  PathState StateOf(const Entry& entry) const { return states.at(where.At(KeyOf(entry))); }

  // Checks the entries not checked yet. A place met before is not probed again: it answered when
  // an entry on it could be found or found missing, else it counts as out of reach.
  void Check(const std::vector<Entry>& entries, const ExistenceChecks& checks, const WaitPump& pump) {
    std::vector<Entry> fresh;
    for (const Entry& entry : entries)
      if (!where.Find(KeyOf(entry)) && std::find(fresh.begin(), fresh.end(), entry) == fresh.end())
        fresh.push_back(entry);
    if (fresh.empty()) return;
    ExistenceChecks known = checks;
    for (size_t i = 0; i < checked.size(); ++i) {
      const std::string place = PlaceKey(PlaceOf(checked[i].first));
      if (!place.empty()) {
        size_t& answers = known.knownPlaces[place];
        answers = answers || states[i] != PathState::Unreachable;
      }
    }
    std::vector<std::string> paths, alternatives;
    for (const Entry& entry : fresh) {
      paths.push_back(entry.first);
      alternatives.push_back(entry.second);
    }
    const std::vector<PathState> found = CheckPaths(paths, known, pump, alternatives);
    for (size_t i = 0; i < fresh.size(); ++i) {
      where.Emplace(KeyOf(fresh[i]), checked.size());
      checked.push_back(std::move(fresh[i]));
      states.push_back(found[i]);
    }
  }

  // Asks about the entries out of reach not asked about yet.
  void Decide(const std::vector<Entry>& entries, const UnreachableDecision& removeUnreachable) {
    std::vector<Entry> undecided;
    std::vector<std::string> paths;
    for (const Entry& entry : entries)
      if (StateOf(entry) == PathState::Unreachable && !removeAway.Find(KeyOf(entry))) {
        undecided.push_back(entry);
        paths.push_back(entry.first);
      }
    if (undecided.empty()) return;
    const auto places = UnreachablePlaces(paths, std::vector<PathState>(paths.size(), PathState::Unreachable));
    const bool remove = removeUnreachable && removeUnreachable(places);
    for (const Entry& entry : undecided) removeAway[KeyOf(entry)] = remove;
  }

  EntryFlags Kept(const std::vector<Entry>& entries) const {
    EntryFlags keep(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      const PathState state = StateOf(entries[i]);
      keep[i] = state == PathState::Exists || (state == PathState::Unreachable && !removeAway.At(KeyOf(entries[i])));
    }
    return keep;
  }

  // How many of the dropped entries were dropped only because their place was out of reach.
  std::int32_t DroppedAway(const std::vector<Entry>& entries, const EntryFlags& keep) const {
    std::int32_t count = 0;
    for (size_t i = 0; i < entries.size(); ++i)
      if (!keep[i] && StateOf(entries[i]) == PathState::Unreachable) ++count;
    return count;
  }
};

CleanRun::CleanRun(ExistenceChecks checks, const WaitPump& pump, const UnreachableDecision& removeUnreachable)
    : checks_(std::move(checks)), pump_(pump), removeUnreachable_(removeUnreachable), findings_(new Findings) {}

CleanRun::~CleanRun() { delete findings_; }

void CleanRun::Decide(std::array<VersionScan, 2> scans, std::array<bool, 2> versions) {
  std::vector<Entry> texts[2], entries;
  for (int l = 0; l < 2; ++l) {
    scans_[l] = std::move(scans[l]);
    versions_[l] = versions[l];
    // A list left alone is neither checked nor written.
    if (versions[l]) texts[l] = Entries(scans_[l]);
    entries.insert(entries.end(), texts[l].begin(), texts[l].end());
  }
  findings_->Check(entries, checks_, pump_);
  findings_->Decide(entries, removeUnreachable_);
  for (int l = 0; l < 2; ++l) {
    keep_[l] = findings_->Kept(texts[l]);
    away_[l] = findings_->DroppedAway(texts[l], keep_[l]);
  }
}

std::optional<std::vector<Autostart::StoredValue>> CleanRun::Wanted(int list) const {
  if (!versions_[list] || !DropsAny(keep_[list])) return std::nullopt;
  return KeptValues(scans_[list], keep_[list]);
}

CleanOutcome CleanRun::Outcome(int list, const Autostart::ListWrites& writes) const {
  if (!versions_[list]) return {};
  CleanOutcome outcome = Written(Planned(scans_[list], keep_[list]), scans_[list], keep_[list], writes);
  // A list whose rewriting stopped half-way cannot tell which of its dropped entries are gone.
  if (outcome.status == ERROR_SUCCESS) outcome.removedUnreachable = away_[list];
  return outcome;
}

CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1,
                           const ExistenceChecks& checks) {
  const VersionScan scan = ScanVersion(version);
  const std::vector<PathState> states = CheckPaths(Checked(scan), checks, {}, ExpandedTexts(scan));
  return RewriteList(scan, Kept(states, 0, states.size(), false), List1);
}
