// The change object: undo round trips, damaged and oversized undo files, the put-back of an
// interrupted change, an undo file that cannot be replaced, and lists that keep changing.
#include <gtest/gtest.h>

#include "change_fixture.h"
#include "cleaner/cleaner.h"
#include "common/error.h"
#include "common/text.h"
#include "listfile/list_errors.h"

namespace change_test {
namespace {

// Every type and place of value comes back exactly, undoing twice returns to the change, and a
// change that changes nothing leaves the undo file as it was.
TEST_F(ChangeTest, UndoGivesBackEveryListExactlyAndUndoesItself) {
  SeedList("5.0", {"a"});
  SeedList("6.0", {"b"});
  PutRawValue("5.0", "2", REG_DWORD, std::string("\x01\x02\x03\x04", 4));
  PutRawValue("5.0", "3", REG_EXPAND_SZ, std::string("%\0T\0%\0\0\0", 8));
  PutRawValue("5.0", "4", REG_BINARY, std::string("\0\xFF\x7F", 3));
  PutRawValue("5.0", "5", REG_NONE, "");
  PutRawValue("5.0", "7", REG_MULTI_SZ, std::string("a\0b\0\0", 5));  // after a gap; odd size
  PutWideListValue("6.0", "2", L"C:\\\u0416\u4E2D\\\u00E9.vbp");
  PutWideListValue("6.0", "1001", std::wstring(400, L'\u0105'));
  PutRawValue("6.0", "name", REG_SZ, "not numbered");
  const Lists old = StoredLists();
  EXPECT_EQ(Change(listfile::ChangeKind::Import, [] { PutListValue("6.0", "1", "changed"); }).end, change::End::Done);
  EXPECT_FALSE(listfile::PendingExists(folder()));
  const Lists changed = StoredLists();
  ASSERT_NE(changed, old);
  EXPECT_EQ(Undo().end, change::End::Done);
  EXPECT_EQ(StoredLists(), old);
  EXPECT_EQ(Undo().end, change::End::Done);
  EXPECT_EQ(StoredLists(), changed);
  const std::string kept = ReadBytes(UndoFile());
  EXPECT_EQ(Change(listfile::ChangeKind::Clean, [] {}).end, change::End::Unchanged);
  EXPECT_EQ(ReadBytes(UndoFile()), kept);
  EXPECT_FALSE(listfile::PendingExists(folder()));
}

// An undo file that is not exactly as the program wrote it, or larger than any it writes, is
// refused whole before anything changes; the oversized one without being read.
TEST_F(ChangeTest, DamagedOrOversizedUndoFilesAreRefusedBeforeAnythingChanges) {
  SeedList("5.0", {"a", "b"});
  PutRawValue("6.0", "1", REG_DWORD, std::string("\x05\0\0\0", 4));
  ASSERT_EQ(Change(listfile::ChangeKind::Clear, [] { SeedList("5.0", {}); }).end, change::End::Done);
  const std::string sound = ReadBytes(UndoFile());
  const listfile::UndoRecord record = listfile::ParseUndoFile(sound, UndoFile());
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
      {"never marked done", listfile::UndoFileText({record.kind, record.when, record.before, std::nullopt})},
      {"1 GiB less a byte", ""},
  };
  for (size_t cut = 0; cut < sound.size(); cut += 7) damaged.push_back({"cut", sound.substr(0, cut)});
  // The largest value the file takes is taken.
  EXPECT_EQ(listfile::ParseUndoFile(withValue(listfile::kMaxValueBytes), UndoFile()).before.lists[0].values[0].data.size(),
            listfile::kMaxValueBytes);
  const Lists now = StoredLists();
  for (const auto& [what, bytes] : damaged) {
    SCOPED_TRACE(what + ": " + testing::PrintToString(bytes.substr(0, 80)));
    WriteBytes(UndoFile(), bytes);
    if (what.starts_with("1 GiB")) {
      // Sparse: the size is set, nothing is written.
      HANDLE file = CreateFileW(UndoFile().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      LARGE_INTEGER size{};
      size.QuadPart = (1ll << 30) - 1;
      EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
      CloseHandle(file);
    }
    try {
      (void)Undo();
      ADD_FAILURE() << "taken";
    } catch (const AppError& e) {
      EXPECT_EQ(e.problem, ListProblem::UndoFileDamaged);
      EXPECT_EQ(e.subject, UndoFile());
    }
    if (!what.starts_with("1 GiB")) {
      EXPECT_EQ(ReadBytes(UndoFile()), bytes);
    }
    EXPECT_FALSE(listfile::PendingExists(folder()));
    EXPECT_EQ(StoredLists(), now);
  }
}

// Putting back a change that was interrupted keeps the way back to the lists as they were at the
// put-back, entries added after the interruption included, whether the new file was left by that
// change or is an old one; answered No, the lists stay and Undo puts them back later.
TEST_F(ChangeTest, PuttingBackAnInterruptedChangeCanBeUndone) {
  for (const bool putBack : {true, false}) {
    SCOPED_TRACE(putBack ? "put back" : "left as it is");
    SeedList("5.0", {"a1", "a2", "a3"});
    SeedList("6.0", {"b1"});
    const Lists before = StoredLists();
    listfile::UndoRecord begun{listfile::ChangeKind::Clean, "2026-01-02 03:04:05", listfile::ReadLists(), std::nullopt};
    WriteBytes(PendingFile(), listfile::UndoFileText(begun));
    // Stopped half-way, then an IDE added two projects.
    SeedList("5.0", {"a1", "a3", "a3", "new1"});
    PutRawValue("6.0", "2", REG_SZ, std::string("n\0e\0w\0" "2\0\0\0", 10));
    const Lists stopped = StoredLists();
    size_t asked = 0;
    const change::PutBackOutcome result =
        change::PutBack(Where(), answers_, [&](const listfile::UndoRecord& pending, size_t added) {
          EXPECT_EQ(pending, begun);
          asked = added;
          return putBack;
        });
    EXPECT_EQ(asked, 2u) << "the duplicate of a3 was there before; new1 and new2 were not";
    EXPECT_EQ(answers_.holding.back(), (std::pair<bool, change::Work>{false, change::Work::PutBack}));
    EXPECT_EQ(result.change.end, change::End::Done);
    EXPECT_EQ(StoredLists(), putBack ? before : stopped);
    EXPECT_FALSE(listfile::PendingExists(folder()));
    EXPECT_EQ(Undo().end, change::End::Done);
    EXPECT_EQ(StoredLists(), putBack ? stopped : before);
    RemoveTree(UndoFile());
  }
}

// The writes of both lists count as one piece of work: its progress runs from 0 to the writes of
// both, the second list going on from where the first ended, and the lists are held for the work
// the command named.
TEST_F(ChangeTest, TheWritesOfBothListsShowOneProgress) {
  const change::Outcome out = Change(listfile::ChangeKind::Import, [] {
    std::vector<std::string> five(600, "C:\\a.vbp"), six(300, "C:\\b.vbp");
    SeedList("5.0", five);
    SeedList("6.0", six);
  });
  EXPECT_EQ(out.end, change::End::Done);
  using Steps = std::vector<std::pair<std::size_t, std::size_t>>;
  EXPECT_EQ(answers_.progress, (Steps{{0, 900}, {256, 900}, {512, 900}, {600 + 256, 900}}));
  using Held = std::vector<std::pair<bool, change::Work>>;
  EXPECT_EQ(answers_.holding, (Held{{true, change::Work::Import}, {false, change::Work::Import}}));
  answers_ = {};
  EXPECT_EQ(Undo().end, change::End::Done);
  EXPECT_EQ(answers_.progress.front(), (std::pair<std::size_t, std::size_t>{0, 900})) << "900 values removed";
  EXPECT_EQ(answers_.holding.front(), (std::pair<bool, change::Work>{true, change::Work::Undo}));
}

// A put-back that fails part-way (a value it cannot write) keeps the way back to the lists as
// they were at the put-back, whichever change was interrupted.
TEST_F(ChangeTest, APutBackThatFailsPartWayKeepsTheWayBack) {
  using listfile::ChangeKind;
  for (const auto& [kind, name] : {std::pair{ChangeKind::Clean, "clean"}, {ChangeKind::Review, "review"},
                                   {ChangeKind::Import, "import"}, {ChangeKind::Clear, "clear"}}) {
    SCOPED_TRACE(name);
    RemoveTree(UndoFile());
    SeedList("5.0", {"a1", "a2", "a3"});
    SeedList("6.0", {"b1"});
    const listfile::UndoRecord begun{kind, "2026-01-02 03:04:05", listfile::ReadLists(), std::nullopt};
    WriteBytes(PendingFile(), listfile::UndoFileText(begun));
    SeedList("5.0", {"half1", "half2", "a3"});  // stopped half-way
    const Lists stopped = StoredLists();
    int sets = 0;
    Autostart::SetFaultInjectorForTesting([&](Autostart::Operation op, const std::string&) {
      return op == Autostart::Operation::Set && ++sets == 2 ? Autostart::Status{ERROR_ACCESS_DENIED}
                                                            : Autostart::Status{ERROR_SUCCESS};
    });
    const change::PutBackOutcome result =
        change::PutBack(Where(), answers_, [](const listfile::UndoRecord&, size_t) { return true; });
    Autostart::SetFaultInjectorForTesting(nullptr);
    EXPECT_TRUE(result.change.Failed());
    ASSERT_NE(StoredLists(), stopped) << "the put-back failed before it changed anything";
    EXPECT_EQ(Undo().end, change::End::Done);
    EXPECT_EQ(StoredLists(), stopped);
  }
}

// When cofnij.new cannot become cofnij.dat (a folder of that name, or a file held open), the
// change is made and said so once; the new file marked done stays the way back, and the next
// commands work.
TEST_F(ChangeTest, AnUndoFileThatCannotBeReplacedLeavesNoCommandStuck) {
  SeedList("5.0", {"a", "b"});
  const Lists before = StoredLists();
  ASSERT_TRUE(CreateDirectoryW(UndoFile().c_str(), nullptr));
  const change::Outcome first = Change(listfile::ChangeKind::Clean, [] { SeedList("5.0", {"b"}); });
  EXPECT_EQ(first.end, change::End::Done);
  ASSERT_TRUE(first.undoNotKept);
  EXPECT_TRUE(first.undoMarkedDone);
  const Lists after = StoredLists();
  // The next command is no interrupted change, and the next start offers nothing.
  const change::Outcome second = Change(listfile::ChangeKind::Clean, [] {});
  EXPECT_EQ(second.end, change::End::Unchanged);
  bool offered = false;
  (void)change::PutBack(Where(), answers_, [&](const listfile::UndoRecord&, size_t) { return offered = true; });
  EXPECT_FALSE(offered);
  EXPECT_EQ(Undo().end, change::End::Done);
  EXPECT_EQ(StoredLists(), before);
  EXPECT_EQ(Undo().end, change::End::Done);
  EXPECT_EQ(StoredLists(), after);
}

// A reading of lists whose keys were last written well before it is known to stand, with no
// second reading, until either key is written again; a reading made right after a write is not.
TEST_F(ChangeTest, ListsUntouchedSinceAReadingAreKnownWithoutReadingThemAgain) {
  SeedList("5.0", {"a", "b"});
  SeedList("6.0", {"c"});
  EXPECT_FALSE(listfile::ListsUntouchedSince(listfile::ReadListsNow())) << "written just before the reading";
  // A reading as if made three seconds after the last write.
  const auto quiet = [] {
    listfile::ListsReading reading = listfile::ReadListsNow();
    ULARGE_INTEGER at{.LowPart = reading.readAt.dwLowDateTime, .HighPart = reading.readAt.dwHighDateTime};
    at.QuadPart += 30000000;
    reading.readAt = {at.LowPart, at.HighPart};
    return reading;
  };
  EXPECT_TRUE(listfile::ListsUntouchedSince(quiet()));
  for (const char* version : {"5.0", "6.0"}) {
    SCOPED_TRACE(version);
    const listfile::ListsReading reading = quiet();
    ASSERT_TRUE(listfile::ListsUntouchedSince(reading));
    PutListValue(version, "9", "x");
    EXPECT_FALSE(listfile::ListsUntouchedSince(reading));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, Autostart::ListKeyPath(version).c_str(), "9");
    EXPECT_FALSE(listfile::ListsUntouchedSince(reading)) << "a value added and taken away again";
  }
}

volatile LONG g_probes = 0;

// Lists that change while a run decides (an IDE writes back while the question is open) are
// decided on again, each new entry out of reach asked about alone and no place probed twice;
// lists that keep changing are left as they are, the run says so, and no snapshot is left.
TEST_F(ChangeTest, ListsThatKeepChangingWhileTheRunDecidesAreLeftAlone) {
  TempFolder files;
  const std::wstring alive = files / L"a.vbp";
  WriteBytes(alive, "x");
  std::vector<std::string> list = {WideToAnsi(alive), WideToAnsi(files / L"gone.vbp"), "Q:\\a.vbp"};
  SeedList("5.0", list);
  ExistenceChecks checks = ExistenceChecks::System();
  checks.placeAnswers = [system = checks.placeAnswers](const std::string& place) {
    InterlockedIncrement(&g_probes);
    return system(place);
  };
  std::vector<std::vector<std::pair<std::string, int>>> asked;
  const auto ask = [&](const std::vector<std::pair<std::string, int>>& places) {
    asked.push_back(places);
    list.insert(list.begin(), "Q:\\new" + std::to_string(asked.size()) + ".vbp");
    SeedList("5.0", list);
    return true;
  };
  CleanRun run(checks, {}, ask);
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2> concerned) {
    return CleanDecision(run, now, concerned);
  };
  const change::Outcome out = change::Run(Where(), listfile::ChangeKind::Clean, {true, true}, decide, answers_);
  EXPECT_EQ(out.end, change::End::ChangedMeanwhile);
  EXPECT_EQ(asked, (std::vector<std::vector<std::pair<std::string, int>>>(change::kDecisionTries, {{"Q:\\", 1}})));
  EXPECT_EQ(g_probes, 2) << "the folder's drive and Q:, each once";
  EXPECT_FALSE(listfile::PendingExists(folder())) << "a snapshot left for a change never made";
  EXPECT_EQ(ReadList("5.0"), list);
}

}  // namespace
}  // namespace change_test
