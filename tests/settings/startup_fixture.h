#pragma once
// A temporary program folder for the startup tests, with CurrentLanguage reset for each test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/options.h"
#include "support/scratch_registry.h"

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { CurrentLanguage.clear(); }
  void TearDown() override { CurrentLanguage.clear(); }

  const std::wstring& folder() const { return folder_.path(); }
  std::wstring options_path() const { return OptionsFilePath(folder_.path()); }
  void WriteOptions(const std::string& bytes) { WriteBytes(options_path(), bytes); }
  std::string ReadOptions() const { return ReadBytes(options_path()); }
  // Creates folder\lang when needed and the file `name` in it.
  void AddLanguageFile(const std::wstring& name, const std::string& bytes = "") {
    CreateDirectoryW((folder_ / L"lang").c_str(), nullptr);
    WriteBytes(folder_ / (L"lang\\" + name), bytes);
  }

 private:
  TempFolder folder_;
};
