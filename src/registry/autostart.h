#pragma once
// Autostart: the program's only way into the registry. Each value operation opens the list key,
// makes its one platform call, closes the key and returns the platform status unchanged
// (0 success, 2 missing, 5 access denied, 234 too large for the read area). Nothing here throws,
// shows anything or creates a key.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

namespace Autostart {

using Status = std::int32_t;

// What QueryValue reads: a text for the text types (1, 2, 3, 6, 7), a 32-bit integer otherwise.
using QueryResult = std::variant<std::string, std::int32_t>;

// Size of the text read area, terminating 0 byte included: texts of 254 bytes are the longest.
inline constexpr DWORD kTextAreaBytes = 255;

inline constexpr REGSAM kQueryAccess = KEY_QUERY_VALUE;  // 1
inline constexpr REGSAM kWriteAccess = KEY_ALL_ACCESS;   // 0x2003F

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

// True while the module holds an open key (it never should between two operations).
bool HoldsOpenKey();

// The key path of one Visual Basic version's recent-files list ("5.0" or "6.0").
std::string ListKeyPath(const std::string& version);

// Fault injection for tests: when set, it is asked before each value operation's platform call
// (after a successful open); a non-zero answer is returned as that call's status instead.
enum class Operation { Query, Set, Delete };
using FaultInjector = std::function<Status(Operation op, const std::string& valueName)>;
void SetFaultInjector(FaultInjector injector);

}  // namespace Autostart
