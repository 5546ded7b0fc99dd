// Lists exported and imported again come back byte for byte; thousands of generated and damaged
// list files never crash the reader, never change the registry when refused, and otherwise leave
// exactly the lists that the file holds.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>

#include "common/error.h"
#include "listfile/undo.h"
#include "registry/autostart.h"
#include "listfile_fixture.h"

namespace listfile_test {
namespace {

using listfile::ListFileContent;
using listfile::ParseListFile;

TEST_F(ListFileTest, ExportedListsComeBackByteForByte) {
  const Entries list50 = {
      "C:\\Projekty\\\xA3\xF3"
      "d\xBC\\gra.vbp",
      "", std::string(254, 'z'), "D:\\a b\\c.vbp", "\xE9\xE8\xF1\xC6\xD8"};
  const Entries list60 = {"[]", "", "E:\\x.vbg", ""};
  SeedList("5.0", list50);
  SeedList("6.0", list60);
  const ValueMap old50 = ListValues("5.0"), old60 = ListValues("6.0");
  listfile::WriteListFile(folder_.path(), L"saved", true, true);
  const std::string saved = FileBytes(L"saved");

  // Different lists in between: longer for 5.0, shorter for 6.0.
  SeedList("5.0", Entries(8, "other"));
  SeedList("6.0", {"other"});
  EXPECT_TRUE(ReadListFile(folder_.path(), L"saved").Complete());
  EXPECT_EQ(ListValues("5.0"), old50);
  EXPECT_EQ(ListValues("6.0"), old60);

  listfile::WriteListFile(folder_.path(), L"again", true, true);
  EXPECT_EQ(FileBytes(L"again"), saved);
}

// An exported list file holds only lists it gives back exactly: an entry the format would turn
// into other entries, or one that cannot be read exactly, stops the export. The undo file holds
// every list exactly, whatever its entries, types and numbers.
TEST_F(ListFileTest, TheUndoFileHoldsEveryListExactlyAndExportOnlyWhatItCan) {
  const std::string tooLong(300, 'x');
  const std::wstring nonAnsi = L"C:\\\u0416\u4E2D\\\u00E9.vbp";
  struct Case {
    const char* what;
    Entries list50, list60;
    bool exported;
    bool typed = false;  // also values of other types, past a gap, past 1000, outside ANSI
  };
  const Case cases[] = {
      {"\"[]\" ends a 6.0 list only", {"a", ""}, {"[]", "b"}, true},
      {"\"[]\" in the 5.0 list", {"a", "[]"}, {"b"}, false},
      {"a line break in an entry", {"a\rb"}, {}, false},
      {"a 5.0 list not read exactly", {"a", tooLong}, {"b"}, false},
      {"every type and place", {"a"}, {"b"}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeedList("5.0", c.list50);
    SeedList("6.0", c.list60);
    if (c.typed) {
      PutRawValue("5.0", "2", REG_DWORD, std::string("\x01\x02\x03\x04", 4));
      PutRawValue("5.0", "3", REG_EXPAND_SZ, std::string("%\0T\0%\0\0\0", 8));
      PutRawValue("5.0", "4", REG_BINARY, std::string("\0\xFF\x7F", 3));
      PutRawValue("5.0", "5", REG_NONE, "");
      PutRawValue("5.0", "7", REG_MULTI_SZ, std::string("a\0b\0\0", 5));  // after a gap; odd size
      PutWideListValue("6.0", "2", nonAnsi);
      PutWideListValue("6.0", "1001", std::wstring(400, L'\u0105'));
      PutRawValue("6.0", "name", REG_SZ, "not numbered");
    }
    const ValueMap old50 = StoredListValues("5.0"), old60 = StoredListValues("6.0");
    RemoveTree(Path(L"list"));
    try {
      listfile::WriteListFile(folder_.path(), L"list", true, true);
      EXPECT_TRUE(c.exported) << "exported a list the file cannot give back";
    } catch (const AppError& error) {
      EXPECT_FALSE(c.exported) << "export refused";
      EXPECT_FALSE(FileExists(Path(L"list")));
    }
    // The undo file's layout holds every list exactly.
    listfile::UndoRecord record;
    record.when = "2026-01-02 03:04:05";
    record.before = listfile::ReadLists();
    const std::string text = listfile::UndoFileText(record);
    EXPECT_EQ(listfile::ParseUndoFile(text, L"x"), record);
    EXPECT_EQ(StoredListValues("5.0"), old50);
    EXPECT_EQ(StoredListValues("6.0"), old60);
  }
}

// ---- Generated list files ----

using Rng = std::mt19937;

size_t Pick(Rng& rng, size_t n) { return static_cast<size_t>(rng() % n); }

// A list entry: path-like text with the bytes that matter to the format, never a CR.
std::string RandomEntry(Rng& rng, bool separatorAllowed) {
  static const char kAlphabet[] = "ab\\:. []\n\xE9\xA3\t01+-";
  for (;;) {
    std::string entry;
    if (Pick(rng, 8) == 0) {
      entry = "[]";
    } else {
      for (size_t n = Pick(rng, 10); n > 0; --n)
        entry += kAlphabet[Pick(rng, sizeof kAlphabet - 1)];
    }
    if (separatorAllowed || entry != "[]") return entry;
  }
}

std::string RandomFlag(Rng& rng, std::int32_t& value) {
  static const std::int32_t kValues[] = {0, 1, 1, 1, 2, -1};
  value = kValues[Pick(rng, std::size(kValues))];
  const std::string digits = std::to_string(value);
  switch (Pick(rng, 5)) {
    case 0:
      return digits;
    case 1:
      return value >= 0 ? "+" + digits : digits;
    case 2:
      return "\t" + digits + "  ";
    case 3:
      return value >= 0 ? "00" + digits : digits;
    default:
      return " " + digits + " ";
  }
}

// Joins lines with CR LF or lone CR ends; the last line may lack its end.
std::string JoinLines(Rng& rng, const std::vector<std::string>& lines) {
  std::string bytes;
  for (size_t i = 0; i < lines.size(); ++i) {
    bytes += lines[i];
    const bool last = i + 1 == lines.size();
    if (last && !lines[i].empty() && Pick(rng, 3) == 0) break;
    // A lone CR before a line that starts with LF would read as CR LF.
    const bool nextStartsWithLf = !last && !lines[i + 1].empty() && lines[i + 1][0] == '\n';
    bytes += Pick(rng, 4) == 0 && !nextStartsWithLf ? "\r" : "\r\n";
  }
  return bytes;
}

// A well-formed list file and what it holds.
std::string RandomListFile(Rng& rng, ListFileContent& holds) {
  std::int32_t flag50 = 0, flag60 = 0;
  std::vector<std::string> lines = {RandomFlag(rng, flag50), RandomFlag(rng, flag60)};
  holds = {};
  holds.has50 = flag50 == 1;
  holds.has60 = flag60 == 1;
  if (holds.has50 || holds.has60) lines.push_back(Pick(rng, 6) == 0 ? "anything" : "[]");
  if (holds.has50)
    for (size_t n = Pick(rng, 6); n > 0; --n) holds.entries50.push_back(RandomEntry(rng, false));
  if (holds.has60)
    for (size_t n = Pick(rng, 6); n > 0; --n) holds.entries60.push_back(RandomEntry(rng, true));
  lines.insert(lines.end(), holds.entries50.begin(), holds.entries50.end());
  if (holds.has50 && holds.has60) lines.push_back("[]");
  lines.insert(lines.end(), holds.entries60.begin(), holds.entries60.end());
  if (!holds.has60 && Pick(rng, 3) == 0) {
    // Lines that no section reads.
    if (holds.has50) lines.push_back("[]");
    lines.push_back(RandomEntry(rng, true));
  }
  return JoinLines(rng, lines);
}

// Damages a file: changed, inserted and deleted bytes, cut ends, repeated pieces.
std::string Mutate(Rng& rng, std::string bytes) {
  static const char kBytes[] = "\r\n\r\n 01[]x-+\t\xFF";
  for (size_t n = 1 + Pick(rng, 3); n > 0; --n) {
    const size_t at = bytes.empty() ? 0 : Pick(rng, bytes.size() + 1);
    const char c = Pick(rng, 10) == 0 ? '\0' : kBytes[Pick(rng, sizeof kBytes - 1)];
    switch (Pick(rng, 5)) {
      case 0:
        if (at < bytes.size()) bytes[at] = c;
        break;
      case 1:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), c);
        break;
      case 2:
        if (at < bytes.size()) bytes.erase(at, 1);
        break;
      case 3:
        bytes.resize(at);
        break;
      default:
        bytes += bytes.substr(at, 8);
        break;
    }
  }
  return bytes;
}

std::string Canonical(const ListFileContent& content) {
  std::string bytes = content.has50 ? " 1 \r\n" : " 0 \r\n";
  bytes += content.has60 ? " 1 \r\n" : " 0 \r\n";
  for (const auto& [chosen, entries] : {std::pair{content.has50, &content.entries50},
                                        std::pair{content.has60, &content.entries60}}) {
    if (!chosen) continue;
    bytes += "[]\r\n";
    for (const auto& e : *entries) bytes += e + "\r\n";
  }
  return bytes;
}

TEST(ListFileParseFuzzTest, GeneratedFilesReadAsWrittenAndDamagedOnesNeverMislead) {
  Rng rng(20240611);
  int refused = 0, accepted = 0;
  for (int i = 0; i < 30000 && !HasFailure(); ++i) {
    ListFileContent holds;
    std::string bytes = RandomListFile(rng, holds);
    const bool damaged = i % 4 != 0;
    if (damaged) bytes = Mutate(rng, bytes);
    SCOPED_TRACE(testing::PrintToString(bytes));
    ListFileContent content;
    try {
      content = ParseListFile(bytes, L"fuzz.rec");
    } catch (const AppError& error) {
      EXPECT_TRUE(damaged);
      EXPECT_TRUE(error.code == ERROR_HANDLE_EOF || error.code == ERROR_INVALID_DATA)
          << error.code;
      ++refused;
      continue;
    }
    ++accepted;
    if (!damaged) {
      EXPECT_EQ(content, holds);
    }
    // Whatever was accepted keeps its meaning when written out the way the program writes it.
    EXPECT_EQ(ParseListFile(Canonical(content), L"fuzz.rec"), content);
    for (const auto& e : content.entries50) EXPECT_NE(e, "[]");
  }
  EXPECT_GT(refused, 1000);
  EXPECT_GT(accepted, 10000);
}

class ListFileImportFuzzTest : public ListFileTest {
 protected:
  // Values at a random choice of the numbers 1 to 7, so gaps come in every place; sometimes
  // no key at all.
  void RandomOldList(Rng& rng, const std::string& version) {
    RemoveListKey(version);
    if (Pick(rng, 6) == 0) return;
    CreateListKey(version);
    for (int n = 1; n <= 7; ++n)
      if (Pick(rng, 4) != 0) PutListValue(version, std::to_string(n), "old" + std::to_string(n));
  }
};

TEST_F(ListFileImportFuzzTest, TheRegistryChangesOnlyAsAnAcceptedFileSays) {
  Rng rng(77);
  int refused = 0, imported = 0;
  for (int i = 0; i < 120 && !HasFailure(); ++i) {
    RandomOldList(rng, "5.0");
    RandomOldList(rng, "6.0");
    const bool key50 = ListKeyExists("5.0"), key60 = ListKeyExists("6.0");
    const ValueMap old50 = ListValues("5.0"), old60 = ListValues("6.0");
    ListFileContent holds;
    std::string bytes = RandomListFile(rng, holds);
    const bool damaged = i % 2 != 0;
    if (damaged) bytes = Mutate(rng, bytes);
    WriteFile(L"fuzz", bytes);
    SCOPED_TRACE(testing::PrintToString(bytes));

    listfile::ImportResult result;
    try {
      result = ReadListFile(folder_.path(), L"fuzz");
    } catch (const AppError&) {
      ++refused;
      EXPECT_TRUE(damaged);
      EXPECT_EQ(ListValues("5.0"), old50);
      EXPECT_EQ(ListValues("6.0"), old60);
      EXPECT_EQ(ListKeyExists("5.0"), key50);
      EXPECT_EQ(ListKeyExists("6.0"), key60);
      continue;
    }
    ++imported;
    // What the file holds: known by construction, or as read when the file was damaged.
    if (damaged) holds = ParseListFile(bytes, L"fuzz.rec");
    EXPECT_EQ(ListValues("5.0"), holds.has50 ? AfterImport(old50, key50, holds.entries50) : old50);
    EXPECT_EQ(ListValues("6.0"), holds.has60 ? AfterImport(old60, key60, holds.entries60) : old60);
    EXPECT_EQ(ListKeyExists("5.0"), key50);
    EXPECT_EQ(ListKeyExists("6.0"), key60);
    EXPECT_EQ(result.v50.keyMissing, holds.has50 && !key50);
    EXPECT_EQ(result.v60.keyMissing, holds.has60 && !key60);
    EXPECT_EQ(result.Complete(), (!holds.has50 || key50 || holds.entries50.empty()) &&
                                     (!holds.has60 || key60 || holds.entries60.empty()));
  }
  EXPECT_GT(refused, 5);
  EXPECT_GT(imported, 60);
}

}  // namespace
}  // namespace listfile_test
