#include "cleaner/cleaner.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>

#include "common/text.h"

namespace {

constexpr int kMaxEntries = 1000;

// Which entries stay: those that exist, and those out of reach unless they are to go as well.
std::vector<bool> Kept(const std::vector<PathState>& states, size_t first, size_t count, bool removeUnreachable) {
  std::vector<bool> keep(count);
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

// Places compare without regard to case, as Windows names them.
std::string PlaceKey(std::string place) {
  if (!place.empty()) CharUpperBuffA(place.data(), static_cast<DWORD>(place.size()));
  return place;
}

bool DropsAny(const std::vector<bool>& keep) {
  for (bool kept : keep)
    if (!kept) return true;
  return false;
}

// What a run has learnt so far, kept across its decisions.
struct Findings {
  std::map<std::string, PathState> states;  // by path
  std::map<std::string, bool> removeAway;   // entries out of reach: the user's answer, by path

  // Checks the paths not checked yet. A place met before is not probed again: it answered when
  // an entry on it could be found or found missing, else it counts as out of reach.
  void Check(const std::vector<std::string>& paths, const ExistenceChecks& checks, const WaitPump& pump) {
    std::vector<std::string> fresh;
    for (const std::string& path : paths)
      if (!states.count(path) && std::find(fresh.begin(), fresh.end(), path) == fresh.end()) fresh.push_back(path);
    if (fresh.empty()) return;
    auto answered = std::make_shared<std::map<std::string, bool>>();
    for (const auto& [path, state] : states) {
      const std::string place = PlaceKey(PlaceOf(path));
      if (!place.empty()) (*answered)[place] = (*answered)[place] || state != PathState::Unreachable;
    }
    ExistenceChecks known = checks;
    // Copied into the probes, which may outlive this call.
    known.placeAnswers = [answered, probe = checks.placeAnswers](const std::string& place) {
      const auto it = answered->find(PlaceKey(place));
      return it != answered->end() ? it->second : probe(place);
    };
    const std::vector<PathState> found = CheckPaths(fresh, known, pump);
    for (size_t i = 0; i < fresh.size(); ++i) states[fresh[i]] = found[i];
  }

  // Asks about the entries out of reach not asked about yet.
  void Decide(const std::vector<std::string>& paths, const UnreachableDecision& removeUnreachable) {
    std::vector<std::string> undecided;
    for (const std::string& path : paths)
      if (states.at(path) == PathState::Unreachable && !removeAway.count(path)) undecided.push_back(path);
    if (undecided.empty()) return;
    const auto places = UnreachablePlaces(undecided, std::vector<PathState>(undecided.size(), PathState::Unreachable));
    const bool remove = removeUnreachable && removeUnreachable(places);
    for (const std::string& path : undecided) removeAway[path] = remove;
  }

  std::vector<bool> Kept(const std::vector<std::string>& texts) const {
    std::vector<bool> keep(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      const PathState state = states.at(texts[i]);
      keep[i] = state == PathState::Exists || (state == PathState::Unreachable && !removeAway.at(texts[i]));
    }
    return keep;
  }

  // How many of the dropped entries were dropped only because their place was out of reach.
  std::int32_t DroppedAway(const std::vector<std::string>& texts, const std::vector<bool>& keep) const {
    std::int32_t count = 0;
    for (size_t i = 0; i < texts.size(); ++i)
      if (!keep[i] && states.at(texts[i]) == PathState::Unreachable) ++count;
    return count;
  }
};

}  // namespace

bool CzyIstnieje(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

VersionScan ScanVersion(const std::string& version) {
  return {version, Autostart::ScanList(HKEY_CURRENT_USER, Autostart::ListKeyPath(version), kMaxEntries)};
}

CleanOutcome RewriteList(const VersionScan& scan, const std::vector<bool>& keep, std::vector<std::string>& List1) {
  CleanOutcome outcome;
  const Autostart::ListScan& list = scan.list;
  outcome.entryCount = static_cast<std::int32_t>(list.texts.size());
  if (list.status != ERROR_SUCCESS) {
    outcome.status = list.status;
    outcome.failedValue = list.failedValue;
    outcome.unreadable = true;
    return outcome;
  }
  const std::string keyPath = Autostart::ListKeyPath(scan.version);
  const size_t firstSurvivor = List1.size();
  std::vector<bool> dropped;  // by position, 0-based
  for (size_t i = 0; i < list.texts.size(); ++i) {
    if (keep[i]) List1.push_back(list.texts[i]);
    dropped.push_back(!keep[i]);
  }

  // Survivor j goes to "j+1". Whatever stood there was dropped or has already been copied to a
  // lower number, so no survivor is ever missing from the list.
  const size_t survivors = List1.size() - firstSurvivor;
  size_t position = 0;  // positions below this one hold their final value
  for (; position < survivors; ++position) {
    const std::string name = DecimalText(static_cast<long long>(position) + 1);
    const std::string& survivor = List1[firstSurvivor + position];
    const bool inPlace = list.types[position] == REG_SZ && list.texts[position] == survivor;
    const Autostart::Status status =
        inPlace ? ERROR_SUCCESS : Autostart::SetValue(HKEY_CURRENT_USER, keyPath, name, survivor, REG_SZ);
    if (status != ERROR_SUCCESS) {
      outcome.status = status;
      outcome.failedValue = name;
      break;
    }
    if (dropped[position]) ++outcome.removed;
  }
  if (outcome.status != ERROR_SUCCESS) return outcome;

  // Drop the values that are now past the end of the list.
  for (; position < dropped.size(); ++position) {
    const std::string name = DecimalText(static_cast<long long>(position) + 1);
    const Autostart::Status status = Autostart::DeleteValue(HKEY_CURRENT_USER, keyPath, name);
    // A value that is already gone (another program removed it) is what the run wanted.
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      outcome.status = status;
      outcome.failedValue = name;
      break;
    }
    if (dropped[position]) ++outcome.removed;
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
                            const BeforeChange& beforeChange) {
  BothOutcomes outcomes;
  Findings findings;
  Reading reading = ReadBoth();
  for (int decision = 0; decision < kDecisionTries; ++decision) {
    const std::vector<std::string>& texts5 = Checked(reading.vb5);
    const std::vector<std::string>& texts6 = Checked(reading.vb6);
    std::vector<std::string> paths = texts5;
    paths.insert(paths.end(), texts6.begin(), texts6.end());
    findings.Check(paths, checks, pump);
    findings.Decide(paths, removeUnreachable);
    const std::vector<bool> keep5 = findings.Kept(texts5), keep6 = findings.Kept(texts6);

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
    outcomes.vb5 = RewriteList(reading.vb5, keep5, List1);
    List1.clear();
    outcomes.vb6 = RewriteList(reading.vb6, keep6, List1);
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
  const std::vector<PathState> states = CheckPaths(Checked(scan), checks);
  return RewriteList(scan, Kept(states, 0, states.size(), false), List1);
}
