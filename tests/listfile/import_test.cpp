// Reading list files: the flag lines, the sections, and how the registry lists are replaced.
#include <gtest/gtest.h>

#include <climits>

#include "common/error.h"
#include "listfile_fixture.h"

namespace listfile_test {
namespace {

using namespace std::string_literals;
using listfile::ImportResult;
using listfile::ListFileContent;
using listfile::ParseListFile;

TEST(ParseFlagTest, AcceptsSigned32BitWholeNumbersWithBlanksAround) {
  const std::pair<std::string, std::int32_t> good[] = {
      {" 1 ", 1}, {"1", 1},   {"+1", 1},  {"\t01  ", 1},           {" 0 ", 0},
      {"-0", 0},  {" 2 ", 2}, {"-1", -1}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
  };
  for (const auto& [line, expected] : good) {
    std::int32_t value = 12345;
    EXPECT_TRUE(listfile::ParseFlag(line, value)) << line;
    EXPECT_EQ(value, expected) << line;
  }
  const std::string bad[] = {"",    "   ",  "1x",         "abc",         "1 1",
                             "0x1", "1.0",  "+",          "-",           "- 1",
                             "+-1", "1e0",  "2147483648", "-2147483649", "99999999999999999999",
                             "1\n", "\xB9", "1\0"s};
  for (const auto& line : bad) {
    std::int32_t value = 12345;
    EXPECT_FALSE(listfile::ParseFlag(line, value)) << line;
    EXPECT_EQ(value, 12345) << line;
  }
}

TEST(ParseListFileTest, SectionsAndLineEnds) {
  const std::tuple<const char*, std::string, ListFileContent> cases[] = {
      {"both, as written",
       " 1 \r\n 1 \r\n[]\r\na\r\nb\r\n[]\r\nc\r\n",
       {true, true, {"a", "b"}, {"c"}}},
      {"neither", " 0 \r\n 0 \r\n", {}},
      {"neither, lines after it ignored", " 0 \r\n 0 \r\n[]\r\nx\r\n", {}},
      {"flag 2 is absent", " 2 \r\n 1 \r\n[]\r\nx\r\n", {false, true, {}, {"x"}}},
      {"\"[]\" ends 5.0 early, the rest is 6.0",
       " 1 \r\n 1 \r\n[]\r\na\r\n[]\r\nb\r\n[]\r\nc\r\n",
       {true, true, {"a"}, {"b", "[]", "c"}}},
      {"only 5.0: lines after its end are not read",
       " 1 \r\n 0 \r\n[]\r\na\r\n[]\r\nb\r\n",
       {true, false, {"a"}, {}}},
      {"empty sections", " 1 \r\n 1 \r\n[]\r\n[]\r\n", {true, true, {}, {}}},
      {"empty lines are entries",
       " 0 \r\n 1 \r\n[]\r\n\r\n\r\nx\r\n",
       {false, true, {}, {"", "", "x"}}},
      {"third line skipped unexamined",
       " 1 \r\n 0 \r\nnot a separator\r\na\r\n",
       {true, false, {"a"}, {}}},
      {"lone CR ends a line, lone LF stays",
       " 0 \r 1 \r[]\ra\nb\r\n\nc\r\r\n",
       {false, true, {}, {"a\nb", "\nc", ""}}},
      {"last line without its end",
       " 1 \r\n 0 \r\n[]\r\nC:\\x.vbp",
       {true, false, {"C:\\x.vbp"}, {}}},
      {"ANSI bytes pass through",
       " 1 \r\n 0 \r\n[]\r\nC:\\\xA3\xF3"
       "d\xBC\\\xE9.vbp\r\n",
       {true,
        false,
        {"C:\\\xA3\xF3"
         "d\xBC\\\xE9.vbp"},
        {}}},
  };
  for (const auto& [what, bytes, expected] : cases)
    EXPECT_EQ(ParseListFile(bytes, L"x.rec"), expected) << what;
}

TEST(ParseListFileTest, DamagedFilesAreRefusedWithTheReason) {
  struct Case {
    std::string bytes;
    DWORD code;
    Problem problem;
    long long line;  // the line concerned
  };
  const Case cases[] = {
      {"", ERROR_HANDLE_EOF, ListProblem::EndsBeforeFlags, 0},
      {" 1 \r\n", ERROR_HANDLE_EOF, ListProblem::EndsBeforeFlags, 0},
      {" 1 \r\n 0 \r\n", ERROR_HANDLE_EOF, ListProblem::EndsBeforeList, 0},  // announces a list it lacks
      {" 0 \r\n 1 ", ERROR_HANDLE_EOF, ListProblem::EndsBeforeList, 0},
      {"x\r\n 0 \r\n[]\r\n", ERROR_INVALID_DATA, ListProblem::FlagNotNumber, 1},
      {" 1 \r\n\r\n[]\r\n", ERROR_INVALID_DATA, ListProblem::FlagNotNumber, 2},
      {" 1 \n 0 \r\n[]\r\n", ERROR_INVALID_DATA, ListProblem::LfLineEnd, 1},  // a lone LF does not end the flag
      {" 1 \n 0 \n[]\na\n", ERROR_INVALID_DATA, ListProblem::LfLineEnd, 1},      // LF line ends throughout
      {" 1 \r\n 0 \n[]\r\n", ERROR_INVALID_DATA, ListProblem::LfLineEnd, 2},
      {"2147483648\r\n 0 \r\n", ERROR_INVALID_DATA, ListProblem::FlagOutOfRange, 1},
      {" 0 \r\n -2147483649 \r\n", ERROR_INVALID_DATA, ListProblem::FlagOutOfRange, 2},
      {"\xEF\xBB\xBF 1 \r\n 0 \r\n[]\r\n", ERROR_INVALID_DATA, ListProblem::ByteOrderMark, 0},
      {"\xFF\xFE 1 \r\n", ERROR_INVALID_DATA, ListProblem::ByteOrderMark, 0},
      {" 1 \r\n 1 \r\n[]\r\na\r\n", ERROR_INVALID_DATA, ListProblem::ListNotEnded, 0},  // cut before its 6.0 list
      {std::string(" 1 \r\n 1 \r\n[]\r\na\r\nb\0c\r\n[]\r\n", 26), ERROR_INVALID_DATA, ListProblem::NulInEntry, 5},
      {std::string(" 0 \r\n 1 \r\n[]\r\n\0\r\n", 17), ERROR_INVALID_DATA, ListProblem::NulInEntry, 4},
  };
  for (const auto& [bytes, code, problem, line] : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    try {
      ParseListFile(bytes, L"C:\\prog\\name.rec");
      ADD_FAILURE() << "accepted";
    } catch (const AppError& error) {
      EXPECT_EQ(error.code, code);
      EXPECT_EQ(error.subject, L"C:\\prog\\name.rec");
      EXPECT_EQ(error.problem, problem);
      EXPECT_EQ(error.number, line);
    }
  }
}

class ImportTest : public ListFileTest {
 protected:
  void SetUp() override {
    ListFileTest::SetUp();
    SeedList("5.0", {"old5-1", "old5-2"});
    SeedList("6.0", {"old6-1", "old6-2", "old6-3"});
  }
  ImportResult Import(const std::string& bytes, const Autostart::Progress& progress = {}) {
    WriteFile(L"list", bytes);
    ImportResult result = ReadListFile(folder_.path(), L"list", progress);
    EXPECT_FALSE(Autostart::HoldsOpenKey());
    return result;
  }
};

TEST_F(ImportTest, EachFlaggedVersionIsReplacedAndTheOtherKept) {
  const ValueMap old50 = ListValues("5.0"), old60 = ListValues("6.0");

  ImportResult result = Import(" 0 \r\n 0 \r\n");
  EXPECT_TRUE(result.NothingHeld());
  EXPECT_EQ(ListValues("5.0"), old50);
  EXPECT_EQ(ListValues("6.0"), old60);

  result = Import(" 1 \r\n 0 \r\n[]\r\nnew5\r\n");
  EXPECT_FALSE(result.NothingHeld());
  EXPECT_TRUE(result.Complete());
  EXPECT_EQ(result.v50.written, 1u);
  EXPECT_FALSE(result.v60.present);
  EXPECT_EQ(ListValues("5.0"), AsValues({"new5"}));
  EXPECT_EQ(ListValues("6.0"), old60);

  result = Import(" 0 \r\n 1 \r\n[]\r\nnew6\r\n\r\n[]\r\n");
  EXPECT_EQ(ListValues("5.0"), AsValues({"new5"}));
  EXPECT_EQ(ListValues("6.0"), AsValues({"new6", "", "[]"}));

  result = Import(" 1 \r\n 1 \r\n[]\r\n[]\r\nboth6\r\n");  // empty 5.0 section empties its list
  EXPECT_TRUE(result.Complete());
  EXPECT_EQ(ListValues("5.0"), ValueMap{});
  EXPECT_EQ(ListValues("6.0"), AsValues({"both6"}));
}

TEST_F(ImportTest, OldValuesGoUpToTheFirstGapOfTheOldNumbering) {
  struct Case {
    const char* what;
    std::vector<int> old;
    Entries entries;
    int tooLong = 0;  // an old value too long to read: it is deleted all the same
  };
  const Case cases[] = {
      {"1,2,4 replaced by 2: 4 stays", {1, 2, 4}, {"a", "b"}},
      {"1..5 replaced by 3: 4 and 5 go", {1, 2, 3, 4, 5}, {"a", "b", "c"}},
      {"1..3 replaced by 5", {1, 2, 3}, {"a", "b", "c", "d", "e"}},
      {"1,2,4,5 replaced by 4: 4 overwritten, 5 stays", {1, 2, 4, 5}, {"a", "b", "c", "d"}},
      {"2,3 without 1: nothing deleted", {2, 3}, {"a"}},
      {"emptied", {1, 2, 3}, {}},
      {"1..4, 2 too long to read, replaced by 1", {1, 2, 3, 4}, {"a"}, 2},
      {"1..1002 replaced by 1: nothing left behind a gap", [] {
         std::vector<int> old(1002);
         for (int i = 0; i < 1002; ++i) old[static_cast<size_t>(i)] = i + 1;
         return old;
       }(), {"a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto putOld = [&] {
      SeedList("6.0", {});
      for (int n : c.old)
        PutListValue("6.0", std::to_string(n),
                n == c.tooLong ? std::string(300, 'x') : "old" + std::to_string(n));
    };
    putOld();
    const ValueMap old = ListValues("6.0");
    const ValueMap expected = AfterImport(old, true, c.entries);

    std::string file = " 0 \r\n 1 \r\n[]\r\n";
    for (const auto& e : c.entries) file += e + "\r\n";
    EXPECT_TRUE(Import(file).Complete());
    EXPECT_EQ(ListValues("6.0"), expected);
  }
}

TEST_F(ImportTest, MoreThan1000EntriesAreAllWritten) {
  std::string file = " 1 \r\n 0 \r\n[]\r\n";
  Entries entries;
  for (int i = 1; i <= 1002; ++i) entries.push_back("C:\\p" + std::to_string(i) + ".vbp");
  for (const auto& e : entries) file += e + "\r\n";
  // A long list reports how far it has got every 256 entries, out of every write it makes.
  const auto values = [] {
    std::vector<Autostart::StoredValue> v;
    (void)Autostart::ReadNumberedValues(HKEY_CURRENT_USER, Autostart::ListKeyPath("5.0"), v);
    return v;
  };
  const std::vector<Autostart::StoredValue> before = values();
  std::vector<std::pair<size_t, size_t>> progress;
  const ImportResult result = Import(file, [&progress](size_t done, size_t total) { progress.emplace_back(done, total); });
  EXPECT_EQ(result.v50.written, 1002u);
  EXPECT_EQ(ReadList("5.0"), entries);
  const size_t total = Autostart::WritesNeeded(before, values());
  EXPECT_GE(total, 1002u);
  EXPECT_EQ(progress, (std::vector<std::pair<size_t, size_t>>{{256, total}, {512, total}, {768, total}}));
}

TEST_F(ImportTest, FilesThatCannotBeReadChangeNothing) {
  const ValueMap old50 = ListValues("5.0"), old60 = ListValues("6.0");
  WriteFile(L"damaged", " 1 \r\n 1x\r\n[]\r\na\r\n");
  WriteFile(L"short", " 1 \r\n 1 \r\n");
  WriteFile(L"zero", std::string(" 1 \r\n 0 \r\n[]\r\na\r\nb\0\r\n", 21));
  ASSERT_TRUE(CreateDirectoryW(Path(L"folder").c_str(), nullptr));
  // Whole list files, but under names that name no file of their own.
  ASSERT_TRUE(CreateDirectoryW((folder_.path() + L"\\sub").c_str(), nullptr));
  WriteFile(L" ", " 1 \r\n 0 \r\n[]\r\na\r\n");
  WriteFile(L"sub\\", " 1 \r\n 0 \r\n[]\r\na\r\n");
  const std::pair<const wchar_t*, DWORD> cases[] = {
      {L"missing", ERROR_FILE_NOT_FOUND}, {L"damaged", ERROR_INVALID_DATA},
      {L"short", ERROR_HANDLE_EOF},       {L"folder", ERROR_ACCESS_DENIED},
      {L"zero", ERROR_INVALID_DATA},      {L"..\\list", ERROR_INVALID_NAME},
      {L"NUL", ERROR_INVALID_NAME},       {L"com1", ERROR_INVALID_NAME},
      {L"a:b", ERROR_INVALID_NAME},       {L"a?b", ERROR_INVALID_NAME},
      {L" ", ERROR_INVALID_NAME},         {L"sub\\", ERROR_INVALID_NAME},
  };
  for (const auto& [name, code] : cases) {
    SCOPED_TRACE(testing::Message() << name);
    try {
      ReadListFile(folder_.path(), name);
      ADD_FAILURE() << "no failure reported";
    } catch (const AppError& error) {
      EXPECT_EQ(error.code, code);
      EXPECT_EQ(error.subject, Path(name));
    }
    EXPECT_EQ(ListValues("5.0"), old50);
    EXPECT_EQ(ListValues("6.0"), old60);
  }
}

TEST_F(ImportTest, AMissingKeyIsNeitherCreatedNorWritten) {
  RemoveListKey("6.0");
  ASSERT_FALSE(ListKeyExists("6.0"));
  const ImportResult result = Import(" 1 \r\n 1 \r\n[]\r\nfive\r\n[]\r\nsix\r\n");
  EXPECT_EQ(ListValues("5.0"), AsValues({"five"}));
  EXPECT_TRUE(result.v50.Complete());
  EXPECT_TRUE(result.v60.keyMissing);
  EXPECT_EQ(result.v60.written, 0u);
  EXPECT_FALSE(result.Complete());
  EXPECT_FALSE(result.NothingImported());
  EXPECT_FALSE(ListKeyExists("6.0"));

  // No list, and the file holds none for it either: that is as the file says.
  EXPECT_TRUE(Import(" 1 \r\n 1 \r\n[]\r\nfive\r\n[]\r\n").Complete());
  // No key to take any of the file's entries: nothing was imported, not a part.
  RemoveListKey("5.0");
  const ImportResult none = Import(" 1 \r\n 1 \r\n[]\r\nfive\r\n[]\r\nsix\r\n");
  EXPECT_TRUE(none.NothingImported());
  EXPECT_FALSE(ListKeyExists("5.0"));
  EXPECT_FALSE(ListKeyExists("6.0"));
}

// The first refusal stops a list: nothing is deleted before its new entries are in, so every old
// entry is still there; deletions go from the highest number down, so no gap opens.
TEST_F(ImportTest, AFailedWriteStopsTheListWithNoEntryLostAndIsReported) {
  SeedList("6.0", {"o1", "o2", "o3", "o4"});
  const ValueMap old = ListValues("6.0");
  Autostart::SetFaultInjectorForTesting([](Autostart::Operation op, const std::string& name) {
    return op == Autostart::Operation::Set && name == "2" ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
  });
  const ImportResult result = Import(" 0 \r\n 1 \r\n[]\r\na\r\nb\r\nc\r\n");
  Autostart::SetFaultInjectorForTesting(nullptr);
  EXPECT_EQ(result.v60.entries, 3u);
  EXPECT_EQ(result.v60.written, 1u);
  EXPECT_EQ(result.v60.firstFailure, ERROR_ACCESS_DENIED);
  EXPECT_FALSE(result.Complete());
  EXPECT_EQ(ListValues("6.0"), (ValueMap{{"1", Sz("a")}, {"2", old.at("2")}, {"3", old.at("3")}, {"4", old.at("4")}}));

  // A surplus old value that cannot be deleted stays, and is reported; those above it are gone.
  SeedList("6.0", {"o1", "o2", "o3", "o4"});
  Autostart::SetFaultInjectorForTesting([](Autostart::Operation op, const std::string& name) {
    return op == Autostart::Operation::Delete && name == "3" ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
  });
  const ImportResult surplus = Import(" 0 \r\n 1 \r\n[]\r\na\r\nb\r\n");
  Autostart::SetFaultInjectorForTesting(nullptr);
  EXPECT_EQ(surplus.v60.written, 2u);
  EXPECT_EQ(surplus.v60.firstFailure, ERROR_ACCESS_DENIED);
  EXPECT_EQ(ListValues("6.0"), (ValueMap{{"1", Sz("a")}, {"2", Sz("b")}, {"3", old.at("3")}}));
}

TEST_F(ImportTest, AKeyThatRefusesWritesKeepsItsListAndSaysSo) {
  const ValueMap old60 = ListValues("6.0");
  MakeReadOnly("6.0");
  const ImportResult result = Import(" 1 \r\n 1 \r\n[]\r\nfive\r\n[]\r\nx\r\ny\r\n");
  EXPECT_TRUE(result.v50.Complete());
  EXPECT_EQ(result.v60.written, 0u);
  EXPECT_EQ(result.v60.firstFailure, ERROR_ACCESS_DENIED);
  EXPECT_FALSE(result.NothingImported());
  EXPECT_EQ(ListValues("6.0"), old60);
  EXPECT_TRUE(Import(" 0 \r\n 1 \r\n[]\r\nx\r\n").NothingImported());
  EXPECT_EQ(ListValues("6.0"), old60);
}

TEST_F(ImportTest, TheListIsNeverEmptyWhileItIsReplaced) {
  SeedList("5.0", {"o1", "o2", "o3", "o4", "o5"});
  int emptySeen = 0, calls = 0;
  Autostart::SetFaultInjectorForTesting([&](Autostart::Operation op, const std::string&) {
    if (op != Autostart::Operation::Query) {
      ++calls;
      if (!GetListValue("5.0", "1")) ++emptySeen;
    }
    return ERROR_SUCCESS;
  });
  Import(" 1 \r\n 0 \r\n[]\r\nn1\r\nn2\r\n");
  Autostart::SetFaultInjectorForTesting(nullptr);
  EXPECT_EQ(calls, 5);  // two writes, three deletions of the surplus
  EXPECT_EQ(emptySeen, 0);
  EXPECT_EQ(ListValues("5.0"), AsValues({"n1", "n2"}));
}

}  // namespace
}  // namespace listfile_test
