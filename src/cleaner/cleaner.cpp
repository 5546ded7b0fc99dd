#include "cleaner/cleaner.h"

#include <windows.h>

#include "common/text.h"

namespace {

constexpr int kMaxEntries = 1000;

}  // namespace

bool CzyIstnieje(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

CleanOutcome ClearOldFiles(const std::string& version, std::vector<std::string>& List1) {
  CleanOutcome outcome;
  const std::string keyPath = Autostart::ListKeyPath(version);
  const size_t firstSurvivor = List1.size();

  // Scan: read every entry up to the end of the list, then test them.
  const Autostart::ListScan scan = Autostart::ScanList(HKEY_CURRENT_USER, keyPath, kMaxEntries);
  outcome.entryCount = static_cast<std::int32_t>(scan.texts.size());
  if (scan.status != ERROR_SUCCESS) {
    outcome.status = scan.status;
    outcome.failedValue = scan.failedValue;
    outcome.unreadable = true;
    return outcome;
  }
  std::vector<bool> dead;  // by position, 0-based
  for (const std::string& text : scan.texts) {
    const bool exists = CzyIstnieje(text);
    if (exists) List1.push_back(text);
    dead.push_back(!exists);
  }

  // Rewrite: survivor j goes to "j+1". Whatever stood there was dead or has already been copied
  // to a lower number, so no survivor is ever missing from the list.
  const size_t survivors = List1.size() - firstSurvivor;
  size_t position = 0;  // positions below this one hold their final value
  for (; position < survivors; ++position) {
    const std::string name = DecimalText(static_cast<long long>(position) + 1);
    const std::string& survivor = List1[firstSurvivor + position];
    const bool inPlace = scan.types[position] == REG_SZ && scan.texts[position] == survivor;
    const Autostart::Status status =
        inPlace ? ERROR_SUCCESS
                : Autostart::SetValue(HKEY_CURRENT_USER, keyPath, name, survivor, REG_SZ);
    if (status != ERROR_SUCCESS) {
      outcome.status = status;
      outcome.failedValue = name;
      break;
    }
    if (dead[position]) ++outcome.removed;
  }
  if (outcome.status != ERROR_SUCCESS) return outcome;

  // Drop the values that are now past the end of the list.
  for (; position < dead.size(); ++position) {
    const std::string name = DecimalText(static_cast<long long>(position) + 1);
    const Autostart::Status status = Autostart::DeleteValue(HKEY_CURRENT_USER, keyPath, name);
    // A value that is already gone (another program removed it) is what the run wanted.
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      outcome.status = status;
      outcome.failedValue = name;
      break;
    }
    if (dead[position]) ++outcome.removed;
  }
  return outcome;
}
