#include "registry/autostart.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/handles.h"
#include "common/stop_points.h"
#include "common/string_index.h"
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
    stop_points::Passed();
  }
  CloseKey();
  return status;
}

Status DeleteValue(HKEY root, const std::string& keyPath, const std::string& valueName) {
  Status status = OpenKey(root, keyPath, kWriteAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Delete, valueName);
  if (status == ERROR_SUCCESS && g_key) {
    status = RegDeleteValueA(g_key.get(), valueName.c_str());
    stop_points::Passed();
  }
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

Status ReadKeyStamp(HKEY root, const std::string& keyPath, FILETIME& lastWrite, DWORD& valueCount) {
  Status status = OpenKey(root, keyPath, kQueryAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Query, "");
  if (status == ERROR_SUCCESS && g_key)
    status = RegQueryInfoKeyW(g_key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr,
                              nullptr, nullptr, &lastWrite);
  CloseKey();
  return status;
}

Status ReadNumberedValues(HKEY root, const std::string& keyPath, std::vector<StoredValue>& values,
                          FILETIME* lastWrite) {
  values.clear();
  Status status = OpenKey(root, keyPath, kQueryAccess);
  if (status == ERROR_SUCCESS) status = Injected(Operation::Query, "");
  if (status == ERROR_SUCCESS && g_key) {
    // Each value comes with its name, type and data in one call, into areas as large as the
    // longest name and value; a value that grew meanwhile has them sized again.
    DWORD longestName = 0, longestData = 0;
    FILETIME written{};
    status = RegQueryInfoKeyW(g_key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              &longestName, &longestData, nullptr, &written);
    if (lastWrite) *lastWrite = written;
    std::wstring name(longestName + 1, L'\0');
    std::string data(longestData, '\0');
    for (DWORD index = 0; status == ERROR_SUCCESS;) {
      DWORD length = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = REG_NONE;
      const Status e = RegEnumValueW(g_key.get(), index, name.data(), &length, nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size);
      if (e == ERROR_NO_MORE_ITEMS) break;
      if (e == ERROR_MORE_DATA) {
        name.assign(name.size() * 2 + 256, L'\0');
        data.assign(std::max<size_t>(data.size() * 2, size), '\0');
        continue;
      }
      status = e;
      ++index;
      if (status != ERROR_SUCCESS) break;
      std::string narrow;
      bool ascii = true;
      for (DWORD i = 0; i < length; ++i) {
        ascii = ascii && name[i] < 0x80;
        narrow += static_cast<char>(name[i]);
      }
      if (ascii && IsListNumber(narrow)) values.push_back({std::move(narrow), type, data.substr(0, size)});
    }
    std::sort(values.begin(), values.end(),
              [](const StoredValue& a, const StoredValue& b) { return ListNumberLess(a.name, b.name); });
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
    stop_points::Passed();
  }
  CloseKey();
  return status;
}

namespace {

// The writes that make a list holding `now` hold `wanted`: the indexes into `wanted` to write, in
// the order to write them, and how many values of `now` go.
struct WritePlan {
  std::vector<size_t> order;
  size_t deletes = 0;
  size_t inPlace = 0;
};

WritePlan PlanWrites(const std::vector<StoredValue>& now, const std::vector<StoredValue>& wanted, StringIndex& kept) {
  WritePlan plan;
  StringIndex current;  // by name: the place in `now`, which comes in number order
  for (size_t n = 0; n < now.size(); ++n) current.Emplace(now[n].name, n);
  // The order of the writes: first the new numbers, from the lowest up, so that no value stands
  // behind a gap; then the numbers written over, from the highest down when the list grows (its
  // entries move up) and from the lowest up otherwise (they move down), so that an entry reaches
  // its new number before its old one is written over.
  std::vector<size_t> over;
  for (size_t i = 0; i < wanted.size(); ++i) {
    kept.Emplace(wanted[i].name, 0);
    const size_t* at = current.Find(wanted[i].name);
    if (!at) plan.order.push_back(i);
    else if (!(now[*at] == wanted[i])) over.push_back(i);
  }
  plan.inPlace = wanted.size() - plan.order.size() - over.size();
  if (wanted.size() > now.size()) std::reverse(over.begin(), over.end());
  plan.order.insert(plan.order.end(), over.begin(), over.end());
  for (const StoredValue& v : now)
    if (!kept.Find(v.name)) ++plan.deletes;
  return plan;
}

}  // namespace

size_t WritesNeeded(const std::vector<StoredValue>& now, const std::vector<StoredValue>& wanted) {
  if (now == wanted) return 0;
  StringIndex kept;
  const WritePlan plan = PlanWrites(now, wanted, kept);
  return plan.order.size() + plan.deletes;
}

ListWrites ReplaceValues(HKEY root, const std::string& keyPath, const std::vector<StoredValue>& now,
                         const std::vector<StoredValue>& wanted, const Progress& progress) {
  ListWrites writes;
  // A list already as wanted needs no write access.
  if (now == wanted) {
    writes.inPlace = wanted.size();
    return writes;
  }
  writes.changed = true;
  Status status = OpenKey(root, keyPath, kWriteAccess);
  if (status == ERROR_FILE_NOT_FOUND) {
    writes.keyMissing = true;
    return writes;
  }
  const auto fail = [&](Status s, const std::string& name) {
    writes.status = s;
    writes.failedValue = name;
  };
  if (status != ERROR_SUCCESS) {
    fail(status, wanted.empty() ? std::string() : wanted.front().name);
    return writes;
  }
  StringIndex kept;
  const WritePlan plan = PlanWrites(now, wanted, kept);
  writes.inPlace = plan.inPlace;
  const size_t total = plan.order.size() + plan.deletes;
  size_t calls = 0;
  const auto step = [&] {
    if (progress && ++calls % kProgressEvery == 0) progress(calls, total);
  };
  for (size_t i : plan.order) {
    const StoredValue& v = wanted[i];
    step();
    status = Injected(Operation::Set, v.name);
    if (status == ERROR_SUCCESS) {
      status = RegSetValueExW(g_key.get(), WideName(v.name).c_str(), 0, v.type,
                              reinterpret_cast<const BYTE*>(v.data.data()), static_cast<DWORD>(v.data.size()));
      stop_points::Passed();
    }
    if (status != ERROR_SUCCESS) {
      fail(status, v.name);
      CloseKey();
      return writes;
    }
    ++writes.inPlace;
  }
  // From the highest number down, so that the list never has a gap.
  for (auto v = now.rbegin(); v != now.rend(); ++v) {
    if (kept.Find(v->name)) continue;
    step();
    status = Injected(Operation::Delete, v->name);
    if (status == ERROR_SUCCESS) {
      status = RegDeleteValueW(g_key.get(), WideName(v->name).c_str());
      stop_points::Passed();
    }
    if (status == ERROR_SUCCESS) {
      ++writes.deleted;
    } else if (status != ERROR_FILE_NOT_FOUND) {  // gone already: what the change wanted
      fail(status, v->name);
      break;
    }
  }
  CloseKey();
  return writes;
}

Status EntryOf(const StoredValue& value, std::string& text) {
  const bool converted = value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
  // What the ANSI read puts in its area: the string types converted whole, other data as stored.
  std::string area;
  std::wstring wide;
  if (converted) {
    wide.assign(value.data.size() / sizeof(wchar_t), L'\0');
    if (!wide.empty()) std::memcpy(wide.data(), value.data.data(), wide.size() * sizeof(wchar_t));
    area = WideToAnsi(wide);
  } else {
    area = value.data;
  }
  if (area.size() > kTextAreaBytes) return ERROR_MORE_DATA;
  const size_t end = area.find('\0');
  // Data that fills the whole area with no terminator reads as a text too long.
  if (end == std::string::npos && area.size() == kTextAreaBytes) return ERROR_MORE_DATA;
  std::string read = area.substr(0, end);
  if (converted) {
    wide.resize(std::min(wide.size(), wide.find(L'\0')));
    if (wide != AnsiToWide(read)) return ERROR_NO_UNICODE_TRANSLATION;
  }
  text = std::move(read);
  return ERROR_SUCCESS;
}

ListScan ScanStored(const std::vector<StoredValue>& values, int maxEntries) {
  ListScan scan;
  for (int n = 1; n <= maxEntries && static_cast<size_t>(n) <= values.size(); ++n) {
    const StoredValue& value = values[static_cast<size_t>(n) - 1];
    if (value.name != DecimalText(n)) break;  // the first missing number ends the list
    std::string text;
    const Status status = EntryOf(value, text);
    if (status != ERROR_SUCCESS) {
      scan.status = status;
      scan.failedValue = value.name;
      break;
    }
    scan.texts.push_back(std::move(text));
    scan.types.push_back(static_cast<std::int32_t>(value.type));
  }
  return scan;
}

void SetFaultInjectorForTesting(FaultInjector injector) { g_faults = std::move(injector); }

}  // namespace Autostart
