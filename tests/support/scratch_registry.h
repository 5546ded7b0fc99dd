#pragma once
// A scratch key that stands in for HKEY_CURRENT_USER inside the test process, so that registry
// tests never touch the real user's lists, under Wine or on Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/files.h"

struct StoredValue {
  DWORD type = 0;
  std::string bytes;  // raw data as stored, terminator included for strings
  bool operator==(const StoredValue&) const = default;
};

class ScratchRegistry : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates SOFTWARE\Microsoft\Visual Basic\<version>\RecentFiles under the scratch root.
  void CreateListKey(const std::string& version);
  bool ListKeyExists(const std::string& version);
  // Stores a value with raw data (no terminator added).
  void PutRaw(const std::string& version, const std::string& name, DWORD type, const std::string& bytes);
  // Stores a REG_SZ (or other text type) value with its terminating 0 byte.
  void PutText(const std::string& version, const std::string& name, const std::string& text,
               DWORD type = REG_SZ);
  // Stores "1".."n" as REG_SZ from the texts.
  void PutList(const std::string& version, const std::vector<std::string>& texts);
  std::optional<StoredValue> Get(const std::string& version, const std::string& name);
  // All values of the list key by name; empty when the key is missing.
  std::map<std::string, StoredValue> Values(const std::string& version);
  // The texts of "1", "2", ... up to the first missing number (terminator stripped).
  std::vector<std::string> ReadList(const std::string& version);
  // Denies setting values to the current user on the list key (reads still work).
  void MakeReadOnly(const std::string& version);
  // Denies exactly these rights to the current user on the list key; 0 allows everything again.
  void DenyOnListKey(const std::string& version, DWORD denied);
  // Stores a REG_SZ value through the wide API, so it may hold what the ANSI code page cannot.
  void PutWideText(const std::string& version, const std::string& name, const std::wstring& text);

  std::wstring scratch_path_;  // under the real HKEY_CURRENT_USER
};

// A temporary folder, removed with all it holds.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

void WriteBytes(const std::wstring& path, const std::string& bytes);
