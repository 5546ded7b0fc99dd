#include "cleaner/cleaner.h"

#include <windows.h>

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

BothOutcomes CleanBothLists(std::vector<std::string>& List1, const ExistenceChecks& checks,
                            const WaitPump& pump, const UnreachableDecision& removeUnreachable,
                            const BeforeChange& beforeChange) {
  const VersionScan vb5 = ScanVersion("5.0"), vb6 = ScanVersion("6.0");
  std::vector<std::string> paths = Checked(vb5);
  const size_t first6 = paths.size();
  paths.insert(paths.end(), Checked(vb6).begin(), Checked(vb6).end());
  const std::vector<PathState> states = CheckPaths(paths, checks, pump);
  const auto places = UnreachablePlaces(paths, states);
  const bool removeThem = !places.empty() && removeUnreachable && removeUnreachable(places);

  const std::vector<bool> keep5 = Kept(states, 0, first6, removeThem);
  const std::vector<bool> keep6 = Kept(states, first6, paths.size() - first6, removeThem);
  BothOutcomes outcomes;
  const auto dropsAny = [](const std::vector<bool>& keep) {
    for (bool kept : keep)
      if (!kept) return true;
    return false;
  };
  if (beforeChange && (dropsAny(keep5) || dropsAny(keep6)) && !beforeChange()) {
    outcomes.declined = true;
    return outcomes;
  }
  outcomes.vb5 = RewriteList(vb5, keep5, List1);
  List1.clear();
  outcomes.vb6 = RewriteList(vb6, keep6, List1);
  List1.clear();
  return outcomes;
}

CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1,
                           const ExistenceChecks& checks) {
  const VersionScan scan = ScanVersion(version);
  const std::vector<PathState> states = CheckPaths(Checked(scan), checks);
  return RewriteList(scan, Kept(states, 0, states.size(), false), List1);
}
