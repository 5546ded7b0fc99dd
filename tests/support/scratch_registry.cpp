#include "support/scratch_registry.h"

#include <atomic>

#include "common/handles.h"
#include "registry/autostart.h"

namespace {

const wchar_t kScratchParent[] = L"Software\\BrushwickTests";

// Removes scratch keys left by test processes that no longer run.
void SweepLeftovers() {
  HKEY parent = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kScratchParent, 0, KEY_ALL_ACCESS, &parent) != ERROR_SUCCESS)
    return;
  const KeyHandle owner(parent);
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
}

}  // namespace

void RegistryOverride::Override() {
  static std::atomic<int> counter{0};
  SweepLeftovers();
  path_ = std::wstring(kScratchParent) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  HKEY scratch = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &scratch, nullptr),
            ERROR_SUCCESS);
  const KeyHandle owner(scratch);
  ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), ERROR_SUCCESS);
  SetScratchUserKeyActive(true);
}

RegistryOverride::~RegistryOverride() {
  Autostart::SetFaultInjectorForTesting(nullptr);
  if (path_.empty()) return;
  SetScratchUserKeyActive(false);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
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



