#include "support/registry_lists.h"

#include <sddl.h>

#include <stdexcept>

#include "common/handles.h"
#include "registry/autostart.h"

namespace {

bool g_scratchActive = false;

[[noreturn]] void Fail(const std::string& what, LONG status) {
  throw std::runtime_error(what + " (status " + std::to_string(status) + ")");
}

std::string KeyPath(const std::string& version) {
  if (!g_scratchActive && !RunningUnderWine())
    throw std::runtime_error(
        "registry lists: refused outside Wine without a scratch key, where HKEY_CURRENT_USER holds "
        "a real user's lists");
  return Autostart::ListKeyPath(version);
}

// The list key, or an empty handle when it is missing and not to be created.
KeyHandle OpenList(const std::string& version, REGSAM access, bool create) {
  const std::string path = KeyPath(version);
  HKEY key = nullptr;
  const LONG status = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, access,
                                               nullptr, &key, nullptr)
                             : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key);
  if (status == ERROR_FILE_NOT_FOUND && !create) return KeyHandle();
  if (status != ERROR_SUCCESS) Fail("cannot open " + path, status);
  return KeyHandle(key);
}

std::optional<RegValue> ValueOf(HKEY key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  RegValue value{type, std::string(size, '\0')};
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.bytes.data()),
                       &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.bytes.resize(size);
  return value;
}

}  // namespace

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void SetScratchUserKeyActive(bool active) { g_scratchActive = active; }

void CreateListKey(const std::string& version) { OpenList(version, KEY_ALL_ACCESS, true); }

bool ListKeyExists(const std::string& version) {
  return static_cast<bool>(OpenList(version, KEY_READ, false));
}

void RemoveListKey(const std::string& version) {
  const std::string path = KeyPath(version);
  const LONG status = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) Fail("cannot empty " + path, status);
  RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
  if (ListKeyExists(version)) throw std::runtime_error("the key " + path + " is still there");
}

void ResetLists() {
  RemoveListKey("5.0");
  RemoveListKey("6.0");
}

void PutRawValue(const std::string& version, const std::string& name, DWORD type, const std::string& bytes) {
  const KeyHandle key = OpenList(version, KEY_ALL_ACCESS, true);
  const LONG status = RegSetValueExA(key.get(), name.c_str(), 0, type,
                                     reinterpret_cast<const BYTE*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size()));
  if (status != ERROR_SUCCESS) Fail("cannot write the value " + name, status);
}

void PutStoredValues(const std::string& version, const std::map<std::string, RegValue>& values) {
  const KeyHandle key = OpenList(version, KEY_ALL_ACCESS, true);
  for (const auto& [name, value] : values) {
    const std::wstring wide(name.begin(), name.end());
    const LONG status = RegSetValueExW(key.get(), wide.c_str(), 0, value.type,
                                       reinterpret_cast<const BYTE*>(value.bytes.data()),
                                       static_cast<DWORD>(value.bytes.size()));
    if (status != ERROR_SUCCESS) Fail("cannot write the value " + name, status);
  }
}

void PutStoredValue(const std::string& version, const std::string& name, DWORD type, const std::string& bytes) {
  const KeyHandle key = OpenList(version, KEY_ALL_ACCESS, true);
  const std::wstring wide(name.begin(), name.end());
  const LONG status = RegSetValueExW(key.get(), wide.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size()));
  if (status != ERROR_SUCCESS) Fail("cannot write the value " + name, status);
}

void PutListValue(const std::string& version, const std::string& name, const std::string& text, DWORD type) {
  PutRawValue(version, name, type, text + '\0');
}

void SeedList(const std::string& version, const std::vector<std::string>& texts) {
  RemoveListKey(version);
  CreateListKey(version);
  for (size_t i = 0; i < texts.size(); ++i) PutListValue(version, std::to_string(i + 1), texts[i]);
}

std::optional<RegValue> GetListValue(const std::string& version, const std::string& name) {
  const KeyHandle key = OpenList(version, KEY_READ, false);
  return key ? ValueOf(key.get(), name) : std::nullopt;
}

std::map<std::string, RegValue> ListValues(const std::string& version) {
  std::map<std::string, RegValue> values;
  const KeyHandle key = OpenList(version, KEY_READ, false);
  if (!key) return values;
  std::vector<std::string> names;
  for (DWORD i = 0;; ++i) {
    char name[512];
    DWORD length = sizeof name;
    if (RegEnumValueA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  for (const auto& name : names)
    if (auto value = ValueOf(key.get(), name)) values[name] = *value;
  return values;
}

std::vector<std::string> ReadList(const std::string& version) {
  std::vector<std::string> texts;
  const KeyHandle key = OpenList(version, KEY_READ, false);
  if (!key) return texts;
  for (int i = 1;; ++i) {
    auto value = ValueOf(key.get(), std::to_string(i));
    if (!value) break;
    std::string text = value->bytes;
    if (const size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
    texts.push_back(text);
  }
  return texts;
}

void SetListKeySecurity(const std::string& version, const std::wstring& sddl) {
  const KeyHandle key = OpenList(version, WRITE_DAC, false);
  if (!key) throw std::runtime_error("no list key " + version);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
    Fail("cannot build a security descriptor", static_cast<LONG>(GetLastError()));
  const LONG status = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  if (status != ERROR_SUCCESS) Fail("cannot set the list key's DACL", status);
}

namespace {

std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    Fail("cannot open the process token", static_cast<LONG>(GetLastError()));
  const KernelHandle owner(token);
  BYTE buffer[256];
  DWORD size = sizeof buffer;
  wchar_t* sid = nullptr;
  if (!GetTokenInformation(token, TokenUser, buffer, size, &size) ||
      !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid))
    Fail("cannot read the user's SID", static_cast<LONG>(GetLastError()));
  std::wstring text = sid;
  LocalFree(sid);
  return text;
}

}  // namespace

void DenyOnListKey(const std::string& version, DWORD denied) {
  std::wstring sddl = L"D:";
  if (denied) {
    wchar_t mask[16];
    wsprintfW(mask, L"0x%lX", denied);
    sddl += L"(D;;" + std::wstring(mask) + L";;;" + CurrentUserSid() + L")";
  }
  SetListKeySecurity(version, sddl + L"(A;;KA;;;WD)");
}

void MakeReadOnly(const std::string& version) { DenyOnListKey(version, KEY_SET_VALUE | KEY_CREATE_SUB_KEY); }

void PutWideListValue(const std::string& version, const std::string& name, const std::wstring& text) {
  const KeyHandle key = OpenList(version, KEY_ALL_ACCESS, true);
  const std::wstring wideName(name.begin(), name.end());
  const LONG status = RegSetValueExW(key.get(), wideName.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) Fail("cannot write the value " + name, status);
}

std::map<std::string, RegValue> StoredListValues(const std::string& version) {
  std::map<std::string, RegValue> values;
  const KeyHandle key = OpenList(version, KEY_READ, false);
  if (!key) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD length = 512, type = 0, size = 0;
    if (RegEnumValueW(key.get(), i, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    RegValue value{type, std::string(size, '\0')};
    DWORD read = size;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value.bytes.data()), &read) !=
        ERROR_SUCCESS)
      Fail("cannot read a value", 0);
    value.bytes.resize(read);
    values[std::string(name, name + length)] = value;
  }
  return values;
}
