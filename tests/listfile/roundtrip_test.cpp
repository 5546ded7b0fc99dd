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
  EXPECT_TRUE(listfile::ReadListFile(folder_.path(), L"saved").Complete());
  EXPECT_EQ(ListValues("5.0"), old50);
  EXPECT_EQ(ListValues("6.0"), old60);

  listfile::WriteListFile(folder_.path(), L"again", true, true);
  EXPECT_EQ(FileBytes(L"again"), saved);
}

// An exported list file holds only lists it gives back exactly: an entry the format would turn
// into other entries, or one that cannot be read exactly, stops the export. The undo file holds
// every list exactly, whatever its entries, types and numbers, and undoing twice returns.
TEST_F(ListFileTest, UndoGivesBackEveryListExactlyAndExportOnlyWhatItCan) {
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
  const std::wstring undoFile = listfile::UndoFilePath(folder_.path());
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
    const listfile::UndoRecord begun = listfile::BeginChange(folder_.path(), listfile::ChangeKind::Import);
    PutListValue("6.0", "1", "changed");
    EXPECT_TRUE(listfile::FinishChange(folder_.path(), begun));
    EXPECT_FALSE(listfile::PendingExists(folder_.path()));
    const ValueMap changed50 = StoredListValues("5.0"), changed60 = StoredListValues("6.0");
    EXPECT_EQ(listfile::UndoLastChange(folder_.path(), {}, {}).status, listfile::UndoStatus::Restored);
    EXPECT_EQ(StoredListValues("5.0"), old50);
    EXPECT_EQ(StoredListValues("6.0"), old60);
    // Undoing again returns to the change.
    EXPECT_EQ(listfile::UndoLastChange(folder_.path(), {}, {}).status, listfile::UndoStatus::Restored);
    EXPECT_EQ(StoredListValues("5.0"), changed50);
    EXPECT_EQ(StoredListValues("6.0"), changed60);
    // A change that changes nothing keeps the undo file byte for byte.
    const std::string kept = ReadBytes(undoFile);
    EXPECT_FALSE(listfile::FinishChange(folder_.path(), listfile::BeginChange(folder_.path(), listfile::ChangeKind::Clean)));
    EXPECT_EQ(ReadBytes(undoFile), kept);
    EXPECT_FALSE(listfile::PendingExists(folder_.path()));
  }
}

// An undo file that is not exactly as the program wrote it is refused whole: the registry and
// the file stay as they are.
TEST_F(ListFileTest, DamagedUndoFilesAreRefusedBeforeAnythingChanges) {
  SeedList("5.0", {"a", "b"});
  PutRawValue("6.0", "1", REG_DWORD, std::string("\x05\0\0\0", 4));
  const listfile::UndoRecord begun = listfile::BeginChange(folder_.path(), listfile::ChangeKind::Clear);
  SeedList("5.0", {});
  ASSERT_TRUE(listfile::FinishChange(folder_.path(), begun));
  const std::wstring undoFile = listfile::UndoFilePath(folder_.path());
  const std::string sound = ReadBytes(undoFile);
  listfile::UndoRecord record = listfile::ParseUndoFile(sound, undoFile);
  auto withValue = [&](size_t bytes) {
    listfile::UndoRecord r = record;
    r.before.lists[0].values[0].data.assign(bytes, 'v');
    return listfile::UndoFileText(r);
  };
  auto edited = [&](const std::string& from, const std::string& to) {
    std::string bytes = sound;
    const size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? bytes : bytes.replace(at, from.size(), to);
  };
  std::vector<std::pair<std::string, std::string>> damaged = {
      {"empty", ""},
      {"the list-file layout", " 0 \r\n 0 \r\n"},
      {"a hex digit changed", edited("610", "620")},
      {"a value's type changed", edited("1 4 05", "1 1 05")},
      {"a NUL in a line", edited("list 6.0", std::string("list\0006.0", 8))},
      {"a count changed", edited("list 5.0 1 2", "list 5.0 1 3")},
      {"a byte more", sound + " "},
      {"LF line ends", edited("\r\n", "\n")},
      {"a value larger than 32 KB", withValue(listfile::kMaxValueBytes + 1)},
  };
  for (size_t cut = 0; cut < sound.size(); cut += 7) damaged.push_back({"cut", sound.substr(0, cut)});
  // The largest value the file takes is taken.
  EXPECT_EQ(listfile::ParseUndoFile(withValue(listfile::kMaxValueBytes), undoFile).before.lists[0].values[0].data.size(),
            listfile::kMaxValueBytes);
  const ValueMap now50 = StoredListValues("5.0"), now60 = StoredListValues("6.0");
  for (const auto& [what, bytes] : damaged) {
    SCOPED_TRACE(what + ": " + testing::PrintToString(bytes.substr(0, 80)));
    WriteBytes(undoFile, bytes);
    try {
      (void)listfile::UndoLastChange(folder_.path(), {}, {});
      ADD_FAILURE() << "taken";
    } catch (const AppError& e) {
      EXPECT_EQ(e.problem, ListProblem::UndoFileDamaged);
      EXPECT_EQ(e.subject, undoFile);
    }
    EXPECT_EQ(ReadBytes(undoFile), bytes);
    EXPECT_FALSE(listfile::PendingExists(folder_.path()));
    EXPECT_EQ(StoredListValues("5.0"), now50);
    EXPECT_EQ(StoredListValues("6.0"), now60);
  }
}

// An undo stopped after any number of registry calls (as when the program is killed) leaves
// every entry of both states in the registry or in a file, and finishing it at the next start
// puts the lists back exactly, with the way back to where the user was.
TEST_F(ListFileTest, UndoStoppedAtEveryStepLosesNothingAndIsFinishedAtTheNextStart) {
  const auto seedA = [] {
    SeedList("5.0", {"a1", "a2", "a3"});
    PutRawValue("5.0", "2", REG_EXPAND_SZ, std::string("%\0A\0%\0\0\0", 8));
    SeedList("6.0", {"a1", "b"});
  };
  const auto seedB = [] {
    SeedList("5.0", {"b1", "a1", "b3", "b4", "b5"});
    PutRawValue("5.0", "1002", REG_SZ, "far");
    SeedList("6.0", {"b"});
  };
  seedA();
  const ValueMap a50 = StoredListValues("5.0"), a60 = StoredListValues("6.0");
  const listfile::UndoRecord begun = listfile::BeginChange(folder_.path(), listfile::ChangeKind::Import);
  seedB();
  ASSERT_TRUE(listfile::FinishChange(folder_.path(), begun));
  const ValueMap b50 = StoredListValues("5.0"), b60 = StoredListValues("6.0");
  const std::string undoBytes = ReadBytes(listfile::UndoFilePath(folder_.path()));

  // Every (type, bytes) of the registry and of both files.
  const auto everywhere = [&] {
    std::multiset<std::pair<DWORD, std::string>> held;
    for (const char* v : {"5.0", "6.0"})
      for (const auto& [name, value] : StoredListValues(v)) held.insert({value.type, value.bytes});
    for (const std::wstring& file : {listfile::UndoFilePath(folder_.path()), listfile::PendingFilePath(folder_.path())}) {
      if (!FileExists(file)) continue;
      const listfile::UndoRecord r = listfile::ReadUndoFile(file);
      for (const listfile::ListsState* s : {&r.before, r.after ? &*r.after : nullptr})
        for (int i = 0; s && i < 2; ++i)
          for (const auto& v : s->lists[i].values) held.insert({v.type, v.data});
    }
    return held;
  };
  bool finished = false;
  for (int k = 0; !finished && k < 100; ++k) {
    SCOPED_TRACE("stopped after " + std::to_string(k) + " registry calls");
    seedB();
    WriteBytes(listfile::UndoFilePath(folder_.path()), undoBytes);
    int calls = 0;
    Autostart::SetFaultInjectorForTesting([&](Autostart::Operation, const std::string&) {
      return ++calls > k ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
    });
    try {
      finished = listfile::UndoLastChange(folder_.path(), {}, {}).status == listfile::UndoStatus::Restored;
    } catch (const AppError&) {
      // Stopped before it began: nothing changed.
    }
    finished = finished && calls <= k;
    Autostart::SetFaultInjectorForTesting({});
    const auto held = everywhere();
    for (const ValueMap* state : {&a50, &a60, &b50, &b60})
      for (const auto& [name, value] : *state) EXPECT_GT(held.count({value.type, value.bytes}), 0u) << name;
    // The next start finishes the undo; Undo then returns to the lists as the stop left them.
    ValueMap back50 = b50, back60 = b60;
    if (const std::optional<listfile::UndoRecord> pending = listfile::ReadPending(folder_.path())) {
      EXPECT_EQ(pending->kind, listfile::ChangeKind::Undo);
      back50 = StoredListValues("5.0");
      back60 = StoredListValues("6.0");
      EXPECT_EQ(listfile::FinishInterrupted(folder_.path(), *pending, true, {}).status, listfile::UndoStatus::Restored);
    }
    EXPECT_FALSE(listfile::PendingExists(folder_.path()));
    if (StoredListValues("5.0") == b50 && StoredListValues("6.0") == b60) {
      EXPECT_EQ(ReadBytes(listfile::UndoFilePath(folder_.path())), undoBytes) << "stopped before it began";
      continue;
    }
    EXPECT_EQ(StoredListValues("5.0"), a50);
    EXPECT_EQ(StoredListValues("6.0"), a60);
    EXPECT_EQ(listfile::UndoLastChange(folder_.path(), {}, {}).status, listfile::UndoStatus::Restored);
    EXPECT_EQ(StoredListValues("5.0"), back50);
    EXPECT_EQ(StoredListValues("6.0"), back60);
  }
  EXPECT_TRUE(finished);
}

// Putting back a change that was interrupted keeps the way back to the lists as they were at the
// put-back, entries added after the interruption included, whether the file was left by that
// change or is an old one.
TEST_F(ListFileTest, PuttingBackAnInterruptedChangeCanBeUndone) {
  SeedList("5.0", {"a1", "a2", "a3"});
  SeedList("6.0", {"b1"});
  const ValueMap a50 = StoredListValues("5.0"), a60 = StoredListValues("6.0");
  const listfile::UndoRecord begun = listfile::BeginChange(folder_.path(), listfile::ChangeKind::Clean);
  // Stopped half-way, then an IDE added two projects.
  SeedList("5.0", {"a1", "a3", "a3", "new1"});
  PutRawValue("6.0", "2", REG_SZ, std::string("n\0e\0w\0" "2\0\0\0", 10));
  const ValueMap c50 = StoredListValues("5.0"), c60 = StoredListValues("6.0");
  const std::optional<listfile::UndoRecord> pending = listfile::ReadPending(folder_.path());
  ASSERT_TRUE(pending);
  // The duplicate of a3 was there before; new1 and new2 were not.
  EXPECT_EQ(listfile::NewEntries(listfile::PutBackTarget(folder_.path(), *pending), listfile::ReadLists()), 2u);
  EXPECT_EQ(listfile::FinishInterrupted(folder_.path(), *pending, true, {}).status, listfile::UndoStatus::Restored);
  EXPECT_EQ(StoredListValues("5.0"), a50);
  EXPECT_EQ(StoredListValues("6.0"), a60);
  EXPECT_FALSE(listfile::PendingExists(folder_.path()));
  EXPECT_EQ(listfile::UndoLastChange(folder_.path(), {}, {}).status, listfile::UndoStatus::Restored);
  EXPECT_EQ(StoredListValues("5.0"), c50);
  EXPECT_EQ(StoredListValues("6.0"), c60);
  (void)begun;
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
      result = listfile::ReadListFile(folder_.path(), L"fuzz");
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
