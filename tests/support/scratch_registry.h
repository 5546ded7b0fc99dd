#pragma once
// A scratch key that stands in for HKEY_CURRENT_USER inside the test process, so that registry
// tests never touch the real user's lists, under Wine or on Windows; and temporary folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/files.h"
#include "support/registry_lists.h"

// Held by a test fixture: Override() (in SetUp, inside ASSERT_NO_FATAL_FAILURE) puts a fresh
// scratch key in place of HKEY_CURRENT_USER for this process; the destructor puts the real key
// back, deletes the scratch key and clears the registry routines' test fault injector.
class RegistryOverride {
 public:
  RegistryOverride() = default;
  ~RegistryOverride();
  RegistryOverride(const RegistryOverride&) = delete;
  RegistryOverride& operator=(const RegistryOverride&) = delete;
  void Override();

 private:
  std::wstring path_;  // under the real HKEY_CURRENT_USER; empty until Override()
};

// A fixture whose tests run against a scratch HKEY_CURRENT_USER.
class ScratchRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(registry_override_.Override()); }
  RegistryOverride registry_override_;
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
