#include "support/scratch_registry.h"

#include <aclapi.h>
#include <sddl.h>

#include <atomic>

#include "registry/autostart.h"

namespace {

const wchar_t kScratchParent[] = L"Software\\BrushwickTests";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::wstring ListPath(const std::string& version) {
  return Wide(Autostart::ListKeyPath(version));
}

// Removes scratch keys left by test processes that no longer run.
void SweepLeftovers() {
  HKEY parent = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kScratchParent, 0, KEY_ALL_ACCESS, &parent) != ERROR_SUCCESS)
    return;
  std::vector<std::wstring> stale;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(parent, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    const DWORD pid = wcstoul(name, nullptr, 10);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process) {
      CloseHandle(process);
    } else {
      stale.push_back(name);
    }
  }
  for (const auto& key : stale) RegDeleteTreeW(parent, key.c_str()), RegDeleteKeyW(parent, key.c_str());
  RegCloseKey(parent);
}

}  // namespace

void ScratchRegistry::SetUp() {
  static std::atomic<int> counter{0};
  SweepLeftovers();
  scratch_path_ = std::wstring(kScratchParent) + L"\\" + std::to_wstring(GetCurrentProcessId()) +
                  L"-" + std::to_wstring(++counter);
  HKEY scratch = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, scratch_path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &scratch, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), ERROR_SUCCESS);
  RegCloseKey(scratch);
}

void ScratchRegistry::TearDown() {
  Autostart::SetFaultInjector(nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegDeleteTreeW(HKEY_CURRENT_USER, scratch_path_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, scratch_path_.c_str());
}

void ScratchRegistry::CreateListKey(const std::string& version) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ListPath(version).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

bool ScratchRegistry::ListKeyExists(const std::string& version) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ListPath(version).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

void ScratchRegistry::PutRaw(const std::string& version, const std::string& name, DWORD type,
                             const std::string& bytes) {
  CreateListKey(version);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, ListPath(version).c_str(), 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void ScratchRegistry::PutText(const std::string& version, const std::string& name,
                              const std::string& text, DWORD type) {
  PutRaw(version, name, type, text + std::string(1, '\0'));
}

void ScratchRegistry::PutList(const std::string& version, const std::vector<std::string>& texts) {
  CreateListKey(version);
  for (size_t i = 0; i < texts.size(); ++i) PutText(version, std::to_string(i + 1), texts[i]);
}

std::optional<StoredValue> ScratchRegistry::Get(const std::string& version, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ListPath(version).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, size = 0;
  std::optional<StoredValue> result;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    StoredValue value;
    value.type = type;
    value.bytes.resize(size);
    RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.bytes.data()), &size);
    value.bytes.resize(size);
    result = value;
  }
  RegCloseKey(key);
  return result;
}

std::map<std::string, StoredValue> ScratchRegistry::Values(const std::string& version) {
  std::map<std::string, StoredValue> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ListPath(version).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return values;
  std::vector<std::string> names;
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const auto& n : names) {
    if (auto value = Get(version, n)) values[n] = *value;
  }
  return values;
}

std::vector<std::string> ScratchRegistry::ReadList(const std::string& version) {
  std::vector<std::string> texts;
  for (int i = 1;; ++i) {
    auto value = Get(version, std::to_string(i));
    if (!value) break;
    std::string text = value->bytes;
    if (!text.empty() && text.back() == '\0') text.pop_back();
    texts.push_back(text);
  }
  return texts;
}

void ScratchRegistry::MakeReadOnly(const std::string& version) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, ListPath(version).c_str(), 0,
                          KEY_ALL_ACCESS | WRITE_DAC, &key),
            ERROR_SUCCESS);
  // Deny set-value and create-subkey to the current user; everyone may still read.
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  BYTE buffer[256];
  DWORD size = sizeof buffer;
  GetTokenInformation(token, TokenUser, buffer, size, &size);
  CloseHandle(token);
  wchar_t* sid = nullptr;
  ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid);
  const std::wstring sddl = L"D:(D;;0x6;;;" + std::wstring(sid) + L")(A;;KA;;;WD)";
  LocalFree(sid);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                   &descriptor, nullptr));
  ASSERT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
  LocalFree(descriptor);
  RegCloseKey(key);
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  path_ = std::wstring(base) + L"brushwick-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}



