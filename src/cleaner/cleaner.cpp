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

}  // namespace

bool CzyIstnieje(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ListScan ScanList(const std::string& version) {
  ListScan scan{version, {}};
  const std::string keyPath = Autostart::ListKeyPath(version);
  for (int i = 1; i <= kMaxEntries; ++i) {
    std::string text;
    std::int32_t type = REG_SZ;
    if (Autostart::QueryValue(HKEY_CURRENT_USER, keyPath, DecimalText(i), text, type) != ERROR_SUCCESS)
      break;
    scan.entries.push_back(std::move(text));
  }
  return scan;
}

CleanOutcome RewriteList(const ListScan& scan, const std::vector<bool>& keep, std::vector<std::string>& List1) {
  CleanOutcome outcome;
  outcome.entryCount = static_cast<std::int32_t>(scan.entries.size());
  const std::string keyPath = Autostart::ListKeyPath(scan.version);
  const size_t firstSurvivor = List1.size();
  std::vector<bool> dropped;  // by position, 0-based
  for (size_t i = 0; i < scan.entries.size(); ++i) {
    if (keep[i]) List1.push_back(scan.entries[i]);
    dropped.push_back(!keep[i]);
  }

  // Survivor j goes to "j+1". Whatever stood there was dropped or has already been copied to a
  // lower number, so no survivor is ever missing from the list.
  const size_t survivors = List1.size() - firstSurvivor;
  size_t position = 0;  // positions below this one hold their final value
  for (; position < survivors; ++position) {
    const std::string name = DecimalText(static_cast<long long>(position) + 1);
    const Autostart::Status status =
        Autostart::SetValue(HKEY_CURRENT_USER, keyPath, name, List1[firstSurvivor + position], REG_SZ);
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
                            const WaitPump& pump, const UnreachableDecision& removeUnreachable) {
  const ListScan vb5 = ScanList("5.0"), vb6 = ScanList("6.0");
  std::vector<std::string> paths = vb5.entries;
  paths.insert(paths.end(), vb6.entries.begin(), vb6.entries.end());
  const std::vector<PathState> states = CheckPaths(paths, checks, pump);
  const auto places = UnreachablePlaces(paths, states);
  const bool removeThem = !places.empty() && removeUnreachable && removeUnreachable(places);

  BothOutcomes outcomes;
  outcomes.vb5 = RewriteList(vb5, Kept(states, 0, vb5.entries.size(), removeThem), List1);
  List1.clear();
  outcomes.vb6 = RewriteList(vb6, Kept(states, vb5.entries.size(), vb6.entries.size(), removeThem), List1);
  List1.clear();
  return outcomes;
}

CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1,
                           const ExistenceChecks& checks) {
  const ListScan scan = ScanList(version);
  const std::vector<PathState> states = CheckPaths(scan.entries, checks);
  return RewriteList(scan, Kept(states, 0, scan.entries.size(), false), List1);
}
