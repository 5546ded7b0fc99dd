#pragma once
// Autostart: the program's only way into the registry. Each value operation opens the list key,
// makes its one platform call, closes the key and returns the platform status unchanged
// (0 success, 2 missing, 5 access denied, 234 too large for the read area). Nothing here throws,
// shows anything or creates a key.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/function_ref.h"

namespace Autostart {

using Status = std::int32_t;

// What QueryValue reads: a text for the text types (1, 2, 3, 6, 7), a 32-bit integer otherwise.
using QueryResult = std::variant<std::string, std::int32_t>;

// Size of the text read area, terminating 0 byte included: texts of 254 bytes are the longest.
inline constexpr DWORD kTextAreaBytes = 255;

inline constexpr REGSAM kQueryAccess = KEY_QUERY_VALUE;  // 1
// Every key right and READ_CONTROL, but not DELETE, WRITE_DAC or WRITE_OWNER (KEY_ALL_ACCESS,
// 0xF003F, asks for those too), so a key locked down only against them can still be written.
inline constexpr REGSAM kWriteAccess = 0x2003F;

Status OpenKey(HKEY root, const std::string& keyPath, REGSAM access);
Status CloseKey();

// valueType is in and out: the caller's type picks the text or the integer way, and the stored
// type is reported back through it. On a non-zero status the result is left as it was.
Status QueryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                  QueryResult& result, std::int32_t& valueType);
// The same for callers that only ever read texts.
Status QueryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                  std::string& text, std::int32_t& valueType);
Status SetValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                const std::string& text, std::int32_t valueType);
Status DeleteValue(HKEY root, const std::string& keyPath, const std::string& valueName);

// One entry of a list, read the way QueryValue reads a text (valueType is in and out as there),
// and checked to be exact. The status says what the entry is:
//   0                             `text` is exactly what the value holds;
//   ERROR_FILE_NOT_FOUND          no such value, or no such key: the list ends before it;
//   any other                     the value exists (or the key cannot be opened to read it) but
//                                 its text cannot be read exactly: ERROR_MORE_DATA (too long for
//                                 the read area), ERROR_ACCESS_DENIED, or
//                                 ERROR_NO_UNICODE_TRANSLATION (the stored text holds characters
//                                 that the ANSI code page cannot hold, so the ANSI read altered it).
Status ReadEntry(HKEY root, const std::string& keyPath, const std::string& valueName,
                 std::string& text, std::int32_t& valueType);

// A list read from "1" up, as the cleaner and the export see it.
struct ListScan {
  std::vector<std::string> texts;    // "1", "2", ... each read exactly, at most maxEntries
  std::vector<std::int32_t> types;   // the stored type of each
  // 0 when the list was read to its end (the first missing number, or maxEntries); otherwise
  // the status of the first entry that exists but cannot be read exactly, named by failedValue.
  Status status = 0;
  std::string failedValue;
};
ListScan ScanList(HKEY root, const std::string& keyPath, int maxEntries);

// ---- Values as stored ----
// The undo file and the renumbering of entries carry values exactly as the registry holds them:
// the name, the type and the data byte for byte, read and written through the wide-character
// calls with an area as large as the value (the ANSI read converts texts, cuts them at 254
// characters and cannot tell what the code page lost).
struct StoredValue {
  std::string name;       // a list number: "1", "2", ...
  DWORD type = REG_NONE;
  std::string data;       // as stored: UTF-16 for the string types, terminator included if stored
  bool operator==(const StoredValue&) const = default;
};

// True for a list number: decimal digits without sign, blank or leading zero ("1", "1000").
bool IsListNumber(std::string_view name);
// Orders list numbers by value, however long they are.
bool ListNumberLess(std::string_view a, std::string_view b);

// Every value of the key whose name is a list number, in number order, whatever its type, its
// size or its place (after a gap, past 1000). ERROR_FILE_NOT_FOUND when there is no such key;
// `values` is then empty.
Status ReadNumberedValues(HKEY root, const std::string& keyPath, std::vector<StoredValue>& values,
                          FILETIME* lastWrite = nullptr);
// When the key was last written, and how many values it holds: one call.
Status ReadKeyStamp(HKEY root, const std::string& keyPath, FILETIME& lastWrite, DWORD& valueCount);
// One value as stored; ERROR_FILE_NOT_FOUND when it (or the key) does not exist.
Status ReadStoredValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                       StoredValue& value);
// Stores the value under its own name with its own type and data, exactly.
Status WriteStoredValue(HKEY root, const std::string& keyPath, const StoredValue& value);

// Entry "n" of a list as ReadEntry would read it, worked out from the value as stored: the same
// text and status, without a call.
Status EntryOf(const StoredValue& value, std::string& text);
// ScanList worked out from a list's numbered values as ReadNumberedValues gives them.
ListScan ScanStored(const std::vector<StoredValue>& values, int maxEntries);

// How one list was made to hold the values wanted.
struct ListWrites {
  bool changed = false;          // the list was to change
  bool keyMissing = false;       // its key does not exist: nothing written or created
  std::size_t inPlace = 0;       // wanted values in place when the writes ended
  std::size_t deleted = 0;       // values removed
  Status status = 0;             // the first refusal, which stopped the list; 0 when none
  std::string failedValue;
  bool operator==(const ListWrites&) const = default;
};
// Makes the list key hold exactly `wanted` (each value its own name, type and bytes), `now` being
// what it holds: every value that differs is written, new numbers first and then the others in the
// direction the entries move (the commands keep their entries' order), and only then is every
// value that `wanted` lacks deleted, from the highest number down; so each wanted entry stands
// under some number at every moment, and no value is left behind a gap. One key handle for it
// all; the first refusal stops it. A key that does not exist is neither created nor written.
// `progress` is told, every kProgressEvery values, how many of the writes and deletes are done and
// how many there are in all (WritesNeeded).
inline constexpr std::size_t kProgressEvery = 256;
using Progress = FunctionRef<void(std::size_t done, std::size_t total)>;
ListWrites ReplaceValues(HKEY root, const std::string& keyPath, const std::vector<StoredValue>& now,
                         const std::vector<StoredValue>& wanted, const Progress& progress = {});
// How many values ReplaceValues writes and deletes to make `now` hold `wanted`.
std::size_t WritesNeeded(const std::vector<StoredValue>& now, const std::vector<StoredValue>& wanted);

// True while the module holds an open key (it never should between two operations).
bool HoldsOpenKey();

// The key path of one Visual Basic version's recent-files list ("5.0" or "6.0").
inline std::string ListKeyPath(const std::string& version) {
  return "SOFTWARE\\Microsoft\\Visual Basic\\" + version + "\\RecentFiles";
}

// Fault injection for tests: when set, it is asked before each value operation's platform call
// (after a successful open); a non-zero answer is returned as that call's status instead.
// Reading every numbered value of a key is one Query, with an empty value name.
enum class Operation { Query, Set, Delete };
using FaultInjector = std::function<Status(Operation op, const std::string& valueName)>;
void SetFaultInjectorForTesting(FaultInjector injector);

}  // namespace Autostart
