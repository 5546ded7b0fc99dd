#pragma once
// The recent-files lists as the tests prepare and inspect them: the values of
// SOFTWARE\Microsoft\Visual Basic\<version>\RecentFiles under HKEY_CURRENT_USER. Shared by the
// unit tests (where a RegistryOverride puts a scratch key in HKEY_CURRENT_USER's place), the
// end-to-end tests and the demo driver (which work on the Wine prefix's own HKEY_CURRENT_USER).
//
// Every helper refuses to run unless HKEY_CURRENT_USER is a scratch key or the process runs
// under Wine, so a real user's lists are never touched. Failures throw std::runtime_error with a
// readable description (no GoogleTest here).
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

struct RegValue {
  DWORD type = 0;
  std::string bytes;  // as stored, terminator included for strings
  bool operator==(const RegValue&) const = default;
};

// True when ntdll exports wine_get_version, i.e. this process runs under Wine.
bool RunningUnderWine();
// Set while a RegistryOverride holds HKEY_CURRENT_USER.
void SetScratchUserKeyActive(bool active);

void CreateListKey(const std::string& version);
bool ListKeyExists(const std::string& version);
// Deletes the version's list key with every value (nothing when it is missing).
void RemoveListKey(const std::string& version);
// Removes both list keys.
void ResetLists();
// Stores one value with its text and a terminating 0 byte (the key is created when missing).
void PutListValue(const std::string& version, const std::string& name, const std::string& text,
                  DWORD type = REG_SZ);
// Stores one value with raw data, no terminator added.
void PutRawValue(const std::string& version, const std::string& name, DWORD type, const std::string& bytes);
// Replaces the list with "1".."n" = texts as REG_SZ (the key exists afterwards, also for none).
void SeedList(const std::string& version, const std::vector<std::string>& texts);
std::optional<RegValue> GetListValue(const std::string& version, const std::string& name);
// Every value of the list key by name; empty when the key is missing.
std::map<std::string, RegValue> ListValues(const std::string& version);
// The texts of "1", "2", ... up to the first missing number, each up to its first 0 byte.
std::vector<std::string> ReadList(const std::string& version);
// Sets the list key's DACL from SDDL text. Wine does not save such a DACL: it holds for this run.
void SetListKeySecurity(const std::string& version, const std::wstring& sddl);
// Denies exactly these rights on the list key to the user this process (and the program it
// starts) runs as, allowing everything to everyone else; 0 allows everything again.
void DenyOnListKey(const std::string& version, DWORD denied);
// Denies setting values and creating keys to the current user on the list key; reads still work.
void MakeReadOnly(const std::string& version);
// Stores one value exactly as StoredListValues gives it (through the wide API: texts as UTF-16).
void PutStoredValue(const std::string& version, const std::string& name, DWORD type, const std::string& bytes);
// Stores every value of the map that way, through one key handle.
void PutStoredValues(const std::string& version, const std::map<std::string, RegValue>& values);
// Stores a REG_SZ value through the wide API, so it may hold what the ANSI code page cannot.
void PutWideListValue(const std::string& version, const std::string& name, const std::wstring& text);
// Every value of the list key as stored, read through the wide API (texts as UTF-16, exactly).
std::map<std::string, RegValue> StoredListValues(const std::string& version);
