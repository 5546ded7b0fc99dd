// Writing list files: the bytes of each layout, the reading of the registry lists, and names that
// cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "common/error.h"
#include "listfile_fixture.h"

namespace listfile_test {
namespace {

using listfile::WriteListFile;

// The longest name one folder entry can carry.
constexpr size_t kMaxName = 255;

// The names that appear in a folder while it is watched (files created in it or renamed into
// it), as the system reports them: so a test sees the temporary files a save makes and drops.
class NamesAppearing {
 public:
  explicit NamesAppearing(const std::wstring& folder)
      : folder_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)) {
    overlapped_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_NE(folder_, INVALID_HANDLE_VALUE) << "cannot watch the folder (error " << GetLastError() << ")";
    Ask();
  }
  ~NamesAppearing() {
    if (asked_) {
      CancelIo(folder_);
      DWORD bytes = 0;
      GetOverlappedResult(folder_, &overlapped_, &bytes, TRUE);
    }
    if (folder_ != INVALID_HANDLE_VALUE) CloseHandle(folder_);
    CloseHandle(overlapped_.hEvent);
  }
  NamesAppearing(const NamesAppearing&) = delete;
  NamesAppearing& operator=(const NamesAppearing&) = delete;

  // The names that appeared since the last call, once `last` is among them (5 s at most).
  std::vector<std::wstring> Until(const std::wstring& last) {
    std::vector<std::wstring> names;
    const DWORD start = GetTickCount();
    while (asked_ && std::find(names.begin(), names.end(), last) == names.end()) {
      const DWORD waited = GetTickCount() - start;
      if (waited >= 5000 || WaitForSingleObject(overlapped_.hEvent, 5000 - waited) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the folder watch did not report \"" << last.c_str() << "\"";
        break;
      }
      DWORD bytes = 0;
      asked_ = false;
      if (GetOverlappedResult(folder_, &overlapped_, &bytes, FALSE)) Collect(bytes, names);
      Ask();
    }
    return names;
  }

 private:
  void Ask() {
    ResetEvent(overlapped_.hEvent);
    asked_ = folder_ != INVALID_HANDLE_VALUE &&
             ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                                   nullptr, &overlapped_, nullptr);
    EXPECT_TRUE(asked_) << "cannot watch the folder (error " << GetLastError() << ")";
  }
  void Collect(DWORD bytes, std::vector<std::wstring>& names) const {
    for (DWORD at = 0; bytes != 0 && at < bytes;) {
      const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
      if (record->Action == FILE_ACTION_ADDED || record->Action == FILE_ACTION_RENAMED_NEW_NAME)
        names.emplace_back(record->FileName, record->FileNameLength / sizeof(wchar_t));
      if (record->NextEntryOffset == 0) break;
      at += record->NextEntryOffset;
    }
  }

  HANDLE folder_;
  OVERLAPPED overlapped_{};
  bool asked_ = false;
  alignas(DWORD) BYTE buffer_[65536];
};

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
      EXPECT_EQ(error.problem, ListProblem::EntryUnreadable);
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

// A folder where files may be changed but none added (a shared folder with such rights) still
// has its existing files saved: in place, since no temporary file can go beside them. Only a
// process without the right to add files there can show it, so tests/no_new_files.sh runs this
// test as such a process, naming the folder in BRUSHWICK_NO_NEW_FILES_FOLDER; it holds list.rec.
TEST_F(ExportTest, AFolderThatTakesNoNewFilesStillHasItsFilesSaved) {
  wchar_t given[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"BRUSHWICK_NO_NEW_FILES_FOLDER", given, MAX_PATH) == 0)
    GTEST_SKIP() << "needs a folder this process cannot add files to (tests/no_new_files.sh)";
  const std::wstring folder = given;
  HANDLE probe = CreateFileW((folder + L"\\probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD refused = GetLastError();
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    DeleteFileW((folder + L"\\probe").c_str());
  }
  ASSERT_EQ(probe, INVALID_HANDLE_VALUE) << "the folder takes new files: nothing to show here";
  ASSERT_EQ(refused, DWORD{ERROR_ACCESS_DENIED});

  SeedList("5.0", {"C:\\a.vbp"});
  try {
    WriteListFile(folder, L"list", true, false);
  } catch (const AppError& error) {
    ADD_FAILURE() << "list.rec was not saved (error " << error.code << ")";
  }
  EXPECT_EQ(ReadBytes(folder + L"\\list.rec"), " 1 \r\n 0 \r\n[]\r\nC:\\a.vbp\r\n");
  try {
    WriteListFile(folder, L"new", true, false);
    ADD_FAILURE() << "a new file was reported written";
  } catch (const AppError& error) {
    EXPECT_EQ(error.code, DWORD{ERROR_ACCESS_DENIED});
  }
  EXPECT_FALSE(FileExists(folder + L"\\new.rec"));
}

TEST_F(ExportTest, EveryNameThatFitsAPathIsWrittenAndALongerOneIsTooLong) {
  // The longest name whose file fits in MAX_PATH - 1 characters, and at most 255 for the name.
  const size_t fits = std::min<size_t>(251, MAX_PATH - 1 - folder_.path().size() - 1 - 4);
  ASSERT_GT(fits, 200u) << "the temporary folder's path is too long for this test";
  const std::wstring longest(fits, L'n');
  NamesAppearing appearing(folder_.path());
  for (int round = 0; round < 2; ++round) {  // created, then replaced
    SCOPED_TRACE(round == 0 ? "created" : "replaced");
    WriteListFile(folder_.path(), longest, false, false);
    EXPECT_EQ(FileBytes(longest), " 0 \r\n 0 \r\n");
    // Wine takes longer paths than Windows does, so the temporary file's own path is checked:
    // on Windows a longer one could not be created, and the name would not save.
    const std::vector<std::wstring> names = appearing.Until(longest + L".rec");
    EXPECT_GE(names.size(), 2u) << "no temporary file seen";
    for (const std::wstring& name : names) {
      EXPECT_LE(name.size(), kMaxName) << "\"" << name.c_str() << "\"";
      EXPECT_LT(folder_.path().size() + 1 + name.size(), size_t{MAX_PATH}) << "\"" << name.c_str() << "\"";
    }
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
  ASSERT_TRUE(CreateDirectoryW((folder_ / L"sub").c_str(), nullptr));
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
      L" ",                        // no file name of its own: " .rec", "sub\.rec"
      L"   ",
      L"sub\\",
      L"sub/",
      L"sub\\ ",
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
  EXPECT_EQ(GetFileAttributesW((folder_ / L"sub\\.rec").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((folder_ / L"sub\\ .rec").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace listfile_test
