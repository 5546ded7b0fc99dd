#include "cleaner/cleaner.h"

#include <windows.h>

#include <cstring>

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

CleanOutcome RewriteList(const VersionScan& scan, const std::vector<bool>& keep, std::vector<std::string>& List1) {
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

BothOutcomes CleanBothLists(std::vector<std::string>& List1, const ExistenceChecks& checks,
                            const WaitPump& pump, const UnreachableDecision& removeUnreachable,
                            const BeforeChange& beforeChange) {
  const VersionScan vb5 = ScanVersion("5.0"), vb6 = ScanVersion("6.0");
  std::vector<std::string> paths = Checked(vb5);
  const size_t first6 = paths.size();
  paths.insert(paths.end(), Checked(vb6).begin(), Checked(vb6).end());
  std::vector<std::string> expanded = ExpandedTexts(vb5);
  const std::vector<std::string> expanded6 = ExpandedTexts(vb6);
  expanded.insert(expanded.end(), expanded6.begin(), expanded6.end());
  const std::vector<PathState> states = CheckPaths(paths, checks, pump, expanded);
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
  const std::vector<PathState> states = CheckPaths(Checked(scan), checks, {}, ExpandedTexts(scan));
  return RewriteList(scan, Kept(states, 0, states.size(), false), List1);
}
