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

bool SameScan(const Autostart::ListScan& a, const Autostart::ListScan& b) {
  return a.status == b.status && a.texts == b.texts && a.types == b.types && a.failedValue == b.failedValue;
}

// Both lists as a run decides on them: the scans it cleans by, and all that is stored, so that
// a change anywhere (past a gap too) counts.
struct Reading {
  VersionScan vb5, vb6;
  StoredList stored5, stored6;
  bool Same(const Reading& other) const {
    return SameScan(vb5.list, other.vb5.list) && SameScan(vb6.list, other.vb6.list) && stored5 == other.stored5 &&
           stored6 == other.stored6;
  }
};
Reading ReadBoth() { return {ScanVersion("5.0"), ScanVersion("6.0"), ReadStoredList("5.0"), ReadStoredList("6.0")}; }

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

// What a run has learnt so far, kept across its decisions.
struct Findings {
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

}  // namespace

bool DropsAny(const EntryFlags& keep) { return std::find(keep.begin(), keep.end(), 0) != keep.end(); }

namespace {

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// A string value's text, up to its first terminator.
std::wstring StoredText(const Autostart::StoredValue& value) {
  std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), value.data.data(), text.size() * sizeof(wchar_t));
  if (const size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
  return text;
}

// True when the stored value is the entry the scan read as `text` of `type`: the string types
// are read converted up to their first terminator, other data as it is up to its first 0 byte.
bool IsEntryRead(const Autostart::StoredValue& value, const std::string& name, const std::string& text,
                 std::int32_t type) {
  if (value.name != name || value.type != static_cast<DWORD>(type)) return false;
  if (IsStringType(value.type)) return StoredText(value) == AnsiToWide(text);
  return value.data.substr(0, value.data.find('\0')) == text;
}

// The scanned entries as stored, then those after them up to the first missing number (only a
// scan that reached its limit has any). Not 0 when they cannot be read, or do not match the scan
// (the list changed in between); `failed` then names the entry.
Autostart::Status ReadStoredEntries(const std::string& keyPath, const Autostart::ListScan& list,
                                    std::vector<Autostart::StoredValue>& stored, std::string& failed) {
  stored.clear();
  std::vector<Autostart::StoredValue> all;
  const Autostart::Status status = Autostart::ReadNumberedValues(HKEY_CURRENT_USER, keyPath, all);
  if (status == ERROR_FILE_NOT_FOUND && list.texts.empty()) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) {
    failed = "1";
    return status;
  }
  for (size_t i = 0; i < list.texts.size(); ++i) {
    const std::string name = DecimalText(static_cast<long long>(i) + 1);
    if (i >= all.size() || !IsEntryRead(all[i], name, list.texts[i], list.types[i])) {
      failed = name;
      return ERROR_INVALID_DATA;
    }
  }
  size_t end = list.texts.size();
  if (end == static_cast<size_t>(kMaxEntries)) {
    while (end < all.size() && all[end].name == DecimalText(static_cast<long long>(end) + 1)) ++end;
  }
  all.resize(end);
  stored = std::move(all);
  return ERROR_SUCCESS;
}

}  // namespace

VersionScan ScanVersion(const std::string& version) {
  const std::string keyPath = Autostart::ListKeyPath(version);
  VersionScan scan{version, {}, {}};
  // A list that changes between the two readings is read again.
  for (int attempt = 0;; ++attempt) {
    scan.list = Autostart::ScanList(HKEY_CURRENT_USER, keyPath, kMaxEntries);
    if (scan.list.status != ERROR_SUCCESS) return scan;
    std::string failed;
    const Autostart::Status status = ReadStoredEntries(keyPath, scan.list, scan.stored, failed);
    if (status == ERROR_SUCCESS) return scan;
    if (status != ERROR_INVALID_DATA || attempt == 2) {
      scan.list.status = status;
      scan.list.failedValue = failed;
      return scan;
    }
  }
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

CleanOutcome RewriteList(const VersionScan& scan, const EntryFlags& keep, std::vector<std::string>& List1) {
  CleanOutcome outcome;
  const Autostart::ListScan& list = scan.list;
  outcome.entryCount = static_cast<std::int32_t>(list.texts.size());
  const std::string keyPath = Autostart::ListKeyPath(scan.version);
  std::vector<Autostart::StoredValue> readNow;
  if (list.status == ERROR_SUCCESS && scan.stored.size() < list.texts.size()) {
    const Autostart::Status status = ReadStoredEntries(keyPath, list, readNow, outcome.failedValue);
    if (status != ERROR_SUCCESS) {
      outcome.status = status;
      outcome.unreadable = true;
      return outcome;
    }
  }
  if (list.status != ERROR_SUCCESS) {
    outcome.status = list.status;
    outcome.failedValue = list.failedValue;
    outcome.unreadable = true;
    return outcome;
  }
  const std::vector<Autostart::StoredValue>& stored = readNow.empty() ? scan.stored : readNow;
  const size_t checked = list.texts.size(), total = stored.size();
  outcome.unchecked = static_cast<std::int32_t>(total - checked);
  const auto dropped = [&](size_t position) { return position < checked && !keep[position]; };

  // Where each entry that stays comes from, in the new order: the kept checked ones, then
  // every unchecked one.
  std::vector<size_t> from;
  for (size_t i = 0; i < total; ++i) {
    if (dropped(i)) continue;
    from.push_back(i);
    if (i < checked) List1.push_back(list.texts[i]);
  }

  // The entry at `position` goes to "position+1". Whatever stood there was dropped or has
  // already been copied to a lower number, so no kept entry is ever missing from the list.
  for (size_t position = 0; position < from.size(); ++position) {
    const Autostart::StoredValue& entry = stored[from[position]];
    const Autostart::StoredValue& there = stored[position];  // not written over yet
    if (from[position] != position && (entry.type != there.type || entry.data != there.data)) {
      const std::string name = DecimalText(static_cast<long long>(position) + 1);
      const Autostart::Status status =
          Autostart::WriteStoredValue(HKEY_CURRENT_USER, keyPath, {name, entry.type, entry.data});
      if (status != ERROR_SUCCESS) {
        outcome.status = status;
        outcome.failedValue = name;
        return outcome;
      }
    }
    if (dropped(position)) ++outcome.removed;
  }

  // The values past the new end, from the top, so the list never has a gap.
  for (size_t position = total; position > from.size(); --position) {
    const std::string name = DecimalText(static_cast<long long>(position));
    const Autostart::Status status = Autostart::DeleteValue(HKEY_CURRENT_USER, keyPath, name);
    // A value that is already gone (another program removed it) is what the run wanted.
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      outcome.status = status;
      outcome.failedValue = name;
      break;
    }
    if (dropped(position - 1)) ++outcome.removed;
  }
  return outcome;
}

StoredList ReadStoredList(const std::string& version) {
  StoredList list;
  list.status = Autostart::ReadNumberedValues(HKEY_CURRENT_USER, Autostart::ListKeyPath(version), list.values);
  return list;
}

BothOutcomes CleanBothLists(std::vector<std::string>& List1, const ExistenceChecks& checks,
                            const WaitPump& pump, const UnreachableDecision& removeUnreachable,
                            const BeforeChange& beforeChange, std::array<bool, 2> versions) {
  BothOutcomes outcomes;
  Findings findings;
  Reading reading = ReadBoth();
  for (int decision = 0; decision < kDecisionTries; ++decision) {
    // A list left alone is neither checked nor written.
    const std::vector<Entry> texts5 = versions[0] ? Entries(reading.vb5) : std::vector<Entry>{},
                             texts6 = versions[1] ? Entries(reading.vb6) : std::vector<Entry>{};
    std::vector<Entry> entries = texts5;
    entries.insert(entries.end(), texts6.begin(), texts6.end());
    findings.Check(entries, checks, pump);
    findings.Decide(entries, removeUnreachable);
    const EntryFlags keep5 = findings.Kept(texts5), keep6 = findings.Kept(texts6);

    // The probes and the question took time: the lists are written only as they were decided on.
    Reading now = ReadBoth();
    if (!now.Same(reading)) {
      reading = std::move(now);
      continue;
    }
    if (beforeChange && (DropsAny(keep5) || DropsAny(keep6))) {
      if (!beforeChange()) {
        outcomes.declined = true;
        return outcomes;
      }
      now = ReadBoth();
      if (!now.Same(reading)) {
        reading = std::move(now);
        continue;
      }
    }
    if (versions[0]) outcomes.vb5 = RewriteList(reading.vb5, keep5, List1);
    List1.clear();
    if (versions[1]) outcomes.vb6 = RewriteList(reading.vb6, keep6, List1);
    List1.clear();
    // A list whose rewriting stopped half-way cannot tell which of its dropped entries are gone.
    if (outcomes.vb5.status == ERROR_SUCCESS) outcomes.vb5.removedUnreachable = findings.DroppedAway(texts5, keep5);
    if (outcomes.vb6.status == ERROR_SUCCESS) outcomes.vb6.removedUnreachable = findings.DroppedAway(texts6, keep6);
    return outcomes;
  }
  outcomes.changedMeanwhile = true;
  return outcomes;
}

CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1,
                           const ExistenceChecks& checks) {
  const VersionScan scan = ScanVersion(version);
  const std::vector<PathState> states = CheckPaths(Checked(scan), checks, {}, ExpandedTexts(scan));
  return RewriteList(scan, Kept(states, 0, states.size(), false), List1);
}
