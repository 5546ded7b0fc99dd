#include "registry/autostart.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/handles.h"
#include "common/text.h"

namespace Autostart {
namespace {

// The one key handle shared by every routine; no key stays open between two operations.
KeyHandle g_key;
FaultInjector g_faults;

Status Injected(Operation op, const std::string& valueName) {
  return g_faults ? g_faults(op, valueName) : ERROR_SUCCESS;
}

bool IsTextWay(std::int32_t type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_BINARY || type == REG_LINK ||
         type == REG_MULTI_SZ;
}

}  // namespace

Status OpenKey(HKEY root, const std::string& keyPath, REGSAM access) {
  HKEY key = nullptr;
  const Status status = RegOpenKeyExA(root, keyPath.c_str(), 0, access, &key);
  // The routines never nest, so nothing is open here; a failed open leaves no key.
  g_key.reset(status == ERROR_SUCCESS ? key : nullptr);
  return status;
}

Status CloseKey() {
  if (!g_key) return ERROR_INVALID_HANDLE;  // a failed open left nothing to close
  return RegCloseKey(g_key.release());
}

bool HoldsOpenKey() { return static_cast<bool>(g_key); }

namespace {

// The one platform read of QueryValue, on the key the module holds.
Status QueryOpenKey(const std::string& valueName, QueryResult& result, std::int32_t& valueType) {
  DWORD type = static_cast<DWORD>(valueType);
  Status status;
  if (IsTextWay(valueType)) {
    char area[kTextAreaBytes] = {};
    DWORD size = sizeof area;
    status = RegQueryValueExA(g_key.get(), valueName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(area), &size);
    if (status == ERROR_SUCCESS) {
      const void* end = std::memchr(area, 0, sizeof area);
      if (!end) {
        // Data that fills the whole area with no terminator is treated like a text too long
        // to read, so list scans stop there and leave the value alone.
        status = ERROR_MORE_DATA;
      } else {
        result = std::string(area, static_cast<size_t>(static_cast<const char*>(end) - area));
      }
    }
  } else {
    std::int32_t number = 0;
    DWORD size = sizeof number;
    status = RegQueryValueExA(g_key.get(), valueName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(&number), &size);
    if (status == ERROR_SUCCESS) result = number;
  }
  valueType = static_cast<std::int32_t>(type);
  return status;
}

// The registry keeps string values in UTF-16 and the ANSI read converts them, replacing what
// the code page cannot hold. True when the stored text, read wide, is the ANSI text read.
bool ReadsBackUnchanged(const std::string& valueName, const std::string& ansi) {
  const std::wstring name = AnsiToWide(valueName);
  // A text that fits the ANSI area fits here too; only a long REG_MULTI_SZ needs a second try.
  std::wstring stored(kTextAreaBytes + 1, L'\0');
  DWORD size = static_cast<DWORD>(stored.size() * sizeof(wchar_t));
  Status status = RegQueryValueExW(g_key.get(), name.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(stored.data()), &size);
  if (status == ERROR_MORE_DATA) {
    stored.assign(size / sizeof(wchar_t) + 1, L'\0');
    status = RegQueryValueExW(g_key.get(), name.c_str(), nullptr, nullptr,
                              reinterpret_cast<BYTE*>(stored.data()), &size);
  }
  if (status != ERROR_SUCCESS) return false;  // changed in between: not read exactly
  stored.resize(size / sizeof(wchar_t));
  if (const size_t end = stored.find(L'\0'); end != std::wstring::npos) stored.resize(end);
  return stored == AnsiToWide(ansi);
}

}  // namespace

Status QueryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                  QueryResult& result, std::int32_t& valueType) {
  Status status = OpenKey(root, keyPath, kQueryAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Query, valueName);
  if (status == ERROR_SUCCESS && g_key) status = QueryOpenKey(valueName, result, valueType);
  CloseKey();
  return status;
}

Status ReadEntry(HKEY root, const std::string& keyPath, const std::string& valueName,
                 std::string& text, std::int32_t& valueType) {
  Status status = OpenKey(root, keyPath, kQueryAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Query, valueName);
  if (status == ERROR_SUCCESS && g_key) {
    QueryResult result = text;
    status = QueryOpenKey(valueName, result, valueType);
    auto* read = std::get_if<std::string>(&result);
    // Only the string types are converted on the way; other data comes as stored.
    const bool converted =
        valueType == REG_SZ || valueType == REG_EXPAND_SZ || valueType == REG_MULTI_SZ;
    if (status == ERROR_SUCCESS && read && converted && !ReadsBackUnchanged(valueName, *read))
      status = ERROR_NO_UNICODE_TRANSLATION;
    if (status == ERROR_SUCCESS && read) text = std::move(*read);
  }
  CloseKey();
  return status;
}

ListScan ScanList(HKEY root, const std::string& keyPath, int maxEntries) {
  ListScan scan;
  for (int n = 1; n <= maxEntries; ++n) {
    std::string text;
    std::int32_t type = REG_SZ;  // set afresh: the read reports the stored type through it
    const std::string name = DecimalText(n);
    const Status status = ReadEntry(root, keyPath, name, text, type);
    if (status == ERROR_FILE_NOT_FOUND) break;
    if (status != ERROR_SUCCESS) {
      scan.status = status;
      scan.failedValue = name;
      break;
    }
    scan.texts.push_back(std::move(text));
    scan.types.push_back(type);
  }
  return scan;
}

Status QueryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                  std::string& text, std::int32_t& valueType) {
  QueryResult result = text;
  const Status status = QueryValue(root, keyPath, valueName, result, valueType);
  if (status == ERROR_SUCCESS) {
    if (auto* read = std::get_if<std::string>(&result)) text = std::move(*read);
  }
  return status;
}

Status SetValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                const std::string& text, std::int32_t valueType) {
  Status status = OpenKey(root, keyPath, kWriteAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Set, valueName);
  if (status == ERROR_SUCCESS && g_key) {
    status = RegSetValueExA(g_key.get(), valueName.c_str(), 0, static_cast<DWORD>(valueType),
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1));
  }
  CloseKey();
  return status;
}

Status DeleteValue(HKEY root, const std::string& keyPath, const std::string& valueName) {
  Status status = OpenKey(root, keyPath, kWriteAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Delete, valueName);
  if (status == ERROR_SUCCESS && g_key) status = RegDeleteValueA(g_key.get(), valueName.c_str());
  CloseKey();
  return status;
}

bool IsListNumber(std::string_view name) {
  if (name.empty() || name.front() == '0') return false;
  for (char c : name)
    if (c < '0' || c > '9') return false;
  return true;
}

bool ListNumberLess(std::string_view a, std::string_view b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

namespace {

std::wstring WideName(const std::string& name) { return std::wstring(name.begin(), name.end()); }

// The one platform read of ReadStoredValue, on the key the module holds: sized first, then read;
// a value that grows in between is sized again.
Status QueryStoredOpenKey(const std::string& valueName, StoredValue& value) {
  const std::wstring name = WideName(valueName);
  for (;;) {
    DWORD type = REG_NONE, size = 0;
    Status status = RegQueryValueExW(g_key.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::string data(size, '\0');
    status = RegQueryValueExW(g_key.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return status;
    data.resize(size);
    value = {valueName, type, std::move(data)};
    return ERROR_SUCCESS;
  }
}

}  // namespace

Status ReadStoredValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                       StoredValue& value) {
  Status status = OpenKey(root, keyPath, kQueryAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Query, valueName);
  if (status == ERROR_SUCCESS && g_key) status = QueryStoredOpenKey(valueName, value);
  CloseKey();
  return status;
}

Status ReadNumberedValues(HKEY root, const std::string& keyPath, std::vector<StoredValue>& values) {
  values.clear();
  Status status = OpenKey(root, keyPath, kQueryAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Query, "");
  std::vector<std::string> names;
  if (status == ERROR_SUCCESS && g_key) {
    // Names first, then each value read by name, so that a value resized meanwhile is read whole.
    DWORD longestName = 0;
    status = RegQueryInfoKeyW(g_key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, &longestName, nullptr, nullptr, nullptr);
    std::wstring name(longestName + 1, L'\0');
    for (DWORD index = 0; status == ERROR_SUCCESS; ++index) {
      DWORD length = static_cast<DWORD>(name.size());
      const Status e = RegEnumValueW(g_key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (e == ERROR_NO_MORE_ITEMS) break;
      if (e == ERROR_MORE_DATA) {  // a longer name was added meanwhile
        name.assign(name.size() * 2, L'\0');
        --index;
        continue;
      }
      status = e;
      std::string narrow;
      bool ascii = true;
      for (DWORD i = 0; i < length; ++i) {
        ascii = ascii && name[i] < 0x80;
        narrow += static_cast<char>(name[i]);
      }
      if (status == ERROR_SUCCESS && ascii && IsListNumber(narrow)) names.push_back(std::move(narrow));
    }
    std::sort(names.begin(), names.end(), ListNumberLess);
    for (const std::string& n : names) {
      if (status != ERROR_SUCCESS) break;
      StoredValue value;
      const Status read = QueryStoredOpenKey(n, value);
      if (read == ERROR_FILE_NOT_FOUND) continue;  // deleted meanwhile
      status = read;
      if (read == ERROR_SUCCESS) values.push_back(std::move(value));
    }
  }
  CloseKey();
  if (status != ERROR_SUCCESS) values.clear();
  return status;
}

Status WriteStoredValue(HKEY root, const std::string& keyPath, const StoredValue& value) {
  Status status = OpenKey(root, keyPath, kWriteAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Set, value.name);
  if (status == ERROR_SUCCESS && g_key) {
    status = RegSetValueExW(g_key.get(), WideName(value.name).c_str(), 0, value.type,
                            reinterpret_cast<const BYTE*>(value.data.data()),
                            static_cast<DWORD>(value.data.size()));
  }
  CloseKey();
  return status;
}

void SetFaultInjectorForTesting(FaultInjector injector) { g_faults = std::move(injector); }

}  // namespace Autostart
