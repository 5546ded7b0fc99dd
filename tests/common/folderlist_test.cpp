#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/folderlist.h"
#include "support/scratch_registry.h"

namespace {

using Names = std::vector<std::wstring>;

TEST(ListFilesTest, MatchesTheRealExtensionWithoutRegardToCase) {
  TempFolder folder;
  WriteBytes(folder / L"a.txtx", "");  // "*.txt" finds it through its 8.3 short name
  WriteBytes(folder / L"b.TXT", "");
  WriteBytes(folder / L"c.txt", "");
  WriteBytes(folder / L"d.txt.bak", "");
  WriteBytes(folder / L"e.rec", "");
  WriteBytes(folder / L"txt", "");
  WriteBytes(folder / L".txt", "");
  EXPECT_EQ(ListFiles(folder.path(), L".txt"), (Names{L".txt", L"b.TXT", L"c.txt"}));
  EXPECT_EQ(ListFiles(folder.path(), L".rec"), (Names{L"e.rec"}));
}

TEST(ListFilesTest, ListsOrdinaryReadOnlyAndArchiveFilesOnly) {
  TempFolder folder;
  const std::pair<const wchar_t*, DWORD> files[] = {
      {L"normal.txt", FILE_ATTRIBUTE_NORMAL},     {L"readonly.txt", FILE_ATTRIBUTE_READONLY},
      {L"archive.txt", FILE_ATTRIBUTE_ARCHIVE},   {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
      {L"system.txt", FILE_ATTRIBUTE_SYSTEM},
      {L"both.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
  };
  for (const auto& [name, attributes] : files) {
    WriteBytes(folder / name, "x");
    ASSERT_TRUE(SetFileAttributesW((folder / name).c_str(), attributes)) << name;
  }
  ASSERT_TRUE(CreateDirectoryW((folder / L"x.txt").c_str(), nullptr));
  EXPECT_EQ(ListFiles(folder.path(), L".txt"),
            (Names{L"archive.txt", L"normal.txt", L"readonly.txt"}));
}

TEST(ListFilesTest, SortsByNameWithoutRegardToCase) {
  TempFolder folder;
  for (const wchar_t* name : {L"delta.txt", L"Charlie.txt", L"ALPHA.txt", L"bravo.txt"})
    WriteBytes(folder / name, "");
  EXPECT_EQ(ListFiles(folder.path(), L".txt"),
            (Names{L"ALPHA.txt", L"bravo.txt", L"Charlie.txt", L"delta.txt"}));
}

TEST(ListFilesTest, AMissingOrEmptyFolderListsNothing) {
  TempFolder folder;
  EXPECT_TRUE(ListFiles(folder / L"missing", L".txt").empty());
  EXPECT_TRUE(ListFiles(folder.path(), L".txt").empty());
}

}  // namespace
