// Writing list files: the bytes of each layout, the reading of the registry lists, and names that
// cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "common/error.h"
#include "listfile_fixture.h"

namespace listfile_test {
namespace {

using listfile::WriteListFile;

class ExportTest : public ListFileTest {
 protected:
  std::string Export(bool with50, bool with60) {
    WriteListFile(folder_.path(), L"list", with50, with60);
    EXPECT_FALSE(Autostart::HoldsOpenKey());
    return FileBytes(L"list");
  }
};

TEST_F(ExportTest, FlagsAndSectionsFollowTheChoice) {
  SeedList("5.0", {"C:\\a.vbp", "C:\\b.vbp"});
  SeedList("6.0", {"D:\\c.vbp"});
  EXPECT_EQ(Export(false, false), " 0 \r\n 0 \r\n");
  EXPECT_EQ(Export(true, false), " 1 \r\n 0 \r\n[]\r\nC:\\a.vbp\r\nC:\\b.vbp\r\n");
  EXPECT_EQ(Export(false, true), " 0 \r\n 1 \r\n[]\r\nD:\\c.vbp\r\n");
  EXPECT_EQ(Export(true, true),
            " 1 \r\n 1 \r\n[]\r\nC:\\a.vbp\r\nC:\\b.vbp\r\n[]\r\nD:\\c.vbp\r\n");
}

TEST_F(ExportTest, AnEmptyListOrAMissingKeyGivesTheSeparatorAlone) {
  CreateListKey("5.0");  // 6.0 has no key at all
  EXPECT_EQ(Export(true, true), " 1 \r\n 1 \r\n[]\r\n[]\r\n");
  EXPECT_FALSE(ListKeyExists("6.0"));
}

TEST_F(ExportTest, SectionEndsAtTheFirstMissingNumber) {
  SeedList("5.0", {"one", "", std::string(254, 'x')});  // "" is an empty entry, not an end
  PutListValue("5.0", "5", "behind a gap");
  EXPECT_EQ(Export(true, false), " 1 \r\n 0 \r\n[]\r\none\r\n\r\n" + std::string(254, 'x') + "\r\n");
}

// A section cut short or altered would, once imported, cost the user the entries it lacks.
TEST_F(ExportTest, AnEntryThatCannotBeReadExactlyWritesNoFileAndSaysWhich) {
  WriteFile(L"list", "old bytes");
  SeedList("5.0", {"C:\\a.vbp"});
  const std::tuple<const char*, DWORD, const char*> cases[] = {
      {"too long", ERROR_MORE_DATA, "2"},
      {"outside the code page", ERROR_NO_UNICODE_TRANSLATION, "2"},
      {"no right to read", ERROR_ACCESS_DENIED, "1"}};
  for (const auto& [what, code, entry] : cases) {
    SCOPED_TRACE(what);
    SeedList("6.0", {"first"});
    if (code == ERROR_MORE_DATA) PutListValue("6.0", "2", std::string(255, 'y'));
    if (code == ERROR_NO_UNICODE_TRANSLATION) PutWideListValue("6.0", "2", L"C:\\\u0416\u05D0\u0100.vbp");
    PutListValue("6.0", "3", "after it");
    if (code == ERROR_ACCESS_DENIED) DenyOnListKey("6.0", KEY_QUERY_VALUE);
    try {
      WriteListFile(folder_.path(), L"list", true, true);
      ADD_FAILURE() << "no failure reported";
    } catch (const AppError& error) {
      EXPECT_EQ(error.code, code);
      EXPECT_EQ(error.problem, Problem::EntryUnreadable);
      EXPECT_EQ(error.subject, Path(L"list"));
      EXPECT_EQ(error.version, "6.0");
      EXPECT_EQ(error.entry, entry);
    }
    DenyOnListKey("6.0", 0);
    EXPECT_FALSE(Autostart::HoldsOpenKey());
    EXPECT_EQ(FileBytes(L"list"), "old bytes");
  }
}

TEST_F(ExportTest, EveryValueIsReadAsATextWhateverTheTypeBeforeIt) {
  // A stored DWORD reports type 4; were that kept for the next read, "2" would be read as an
  // integer and its text lost.
  PutRawValue("6.0", "1", REG_DWORD, std::string("AB\0\0", 4));
  PutListValue("6.0", "2", "C:\\after.vbp");
  PutListValue("6.0", "3", "%ROOT%\\x.vbp", REG_EXPAND_SZ);
  EXPECT_EQ(Export(false, true), " 0 \r\n 1 \r\n[]\r\nAB\r\nC:\\after.vbp\r\n%ROOT%\\x.vbp\r\n");
}

TEST_F(ExportTest, NeverMoreThan1000EntriesInASection) {
  Entries many;
  for (int i = 1; i <= 1003; ++i) many.push_back("e" + std::to_string(i));
  SeedList("5.0", many);
  std::string expected = " 1 \r\n 0 \r\n[]\r\n";
  for (int i = 0; i < 1000; ++i) expected += many[i] + "\r\n";
  EXPECT_EQ(Export(true, false), expected);
}

TEST_F(ExportTest, ReplacesAnExistingFileWholeAndLeavesNothingElse) {
  WriteFile(L"list", std::string(5000, 'o'));
  SeedList("5.0", {"new"});
  EXPECT_EQ(Export(true, false), " 1 \r\n 0 \r\n[]\r\nnew\r\n");
  EXPECT_EQ(FolderNames(), std::vector<std::wstring>{L"list.rec"});

  // The file replaced stays the file it was: hidden stays hidden, and another name of the same
  // file (a hard link) sees the new content.
  ASSERT_TRUE(SetFileAttributesW(Path(L"list").c_str(), FILE_ATTRIBUTE_HIDDEN));
  SeedList("5.0", {"hidden"});
  EXPECT_EQ(Export(true, false), " 1 \r\n 0 \r\n[]\r\nhidden\r\n");
  EXPECT_EQ(GetFileAttributesW(Path(L"list").c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
  ASSERT_TRUE(CreateHardLinkW(Path(L"other").c_str(), Path(L"list").c_str(), nullptr));
  SeedList("5.0", {"linked"});
  EXPECT_EQ(Export(true, false), " 1 \r\n 0 \r\n[]\r\nlinked\r\n");
  EXPECT_EQ(FileBytes(L"other"), " 1 \r\n 0 \r\n[]\r\nlinked\r\n");
  EXPECT_EQ(FolderNames(), (std::vector<std::wstring>{L"list.rec", L"other.rec"}));
}

TEST_F(ExportTest, EveryNameThatFitsAPathIsWrittenAndALongerOneIsTooLong) {
  // The longest name whose file fits in MAX_PATH - 1 characters, and at most 255 for the name.
  const size_t fits = std::min<size_t>(251, MAX_PATH - 1 - folder_.path().size() - 1 - 4);
  ASSERT_GT(fits, 200u) << "the temporary folder's path is too long for this test";
  const std::wstring longest(fits, L'n');
  for (int round = 0; round < 2; ++round) {  // created, then replaced
    WriteListFile(folder_.path(), longest, false, false);
    EXPECT_EQ(FileBytes(longest), " 0 \r\n 0 \r\n");
  }
  for (const std::wstring& name : {std::wstring(fits + 1, L'n'), std::wstring(252, L'm')}) {
    try {
      WriteListFile(folder_.path(), name, false, false);
      ADD_FAILURE() << "a name of " << name.size() << " characters was written";
    } catch (const AppError& error) {
      EXPECT_EQ(error.code, DWORD{ERROR_FILENAME_EXCED_RANGE});
      EXPECT_EQ(error.problem, Problem::NameTooLong) << name.size();
    }
  }
  EXPECT_EQ(FolderNames(), std::vector<std::wstring>{longest + L".rec"});
}

TEST_F(ExportTest, ABackslashInTheNameWritesIntoAnExistingSubfolder) {
  ASSERT_TRUE(CreateDirectoryW((folder_ / L"sub").c_str(), nullptr));
  WriteListFile(folder_.path(), L"sub\\Moja lista", false, false);
  EXPECT_EQ(ReadBytes(folder_ / L"sub\\Moja lista.rec"), " 0 \r\n 0 \r\n");
}

TEST_F(ExportTest, NamesThatCannotBeWrittenFailLoudlyAndWriteNothing) {
  SeedList("5.0", {"C:\\a.vbp"});
  WriteFile(L"kept", "old bytes");
  ASSERT_TRUE(SetFileAttributesW(Path(L"kept").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(CreateDirectoryW(Path(L"folder").c_str(), nullptr));
  const auto before = FolderNames();

  const std::wstring names[] = {
      L"CON",
      L"nul",
      L"Aux",
      L"prn",
      L"COM1",
      L"com9",
      L"LPT1",
      L"lpt9",
      L"con.rec",
      L"Nul",
      L"aux.txt",
      L"CON ",
      L"sub\\con",  // devices
      L"a?b",
      L"a*b",
      L"a:b",
      L"a|b",
      L"a<b",
      L"a>b",
      L"a\"b",
      L"a\tb",                   // forbidden characters
      std::wstring(L"a\0b", 3),  // would cut the path
      L"missing\\x",             // no such subfolder
      L"folder",                 // a folder of that name
      L"kept",                   // read-only file
      L"..\\brushwick-outside",    // out of the folder, where the import never looks
      L"sub/../../brushwick-outside",
  };
  for (const auto& name : names) {
    SCOPED_TRACE(testing::Message() << "name: \"" << name.c_str() << "\" (" << name.size() << ")");
    try {
      WriteListFile(folder_.path(), name, true, false);
      ADD_FAILURE() << "no failure reported";
    } catch (const AppError& error) {
      EXPECT_NE(error.code, 0u);
      // The failure names the file being written.
      EXPECT_EQ(error.subject.rfind(folder_.path(), 0), 0u) << error.subject.c_str();
    }
    EXPECT_EQ(FolderNames(), before);
  }
  EXPECT_EQ(FileBytes(L"kept"), "old bytes");
  EXPECT_EQ(GetFileAttributesW((folder_ / L"..\\brushwick-outside.rec").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace listfile_test
