#include "commandline/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using commandline::ArgumentError;
using commandline::Command;
using commandline::Parse;
using commandline::Request;
using Problem = commandline::ArgumentProblem;

std::string Utf8(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The options a request sets, by name, in one text.
std::string Flags(const Request& r) {
  std::string flags;
  for (const auto& [set, name] : {std::pair{r.vb5, "vb5"}, {r.vb6, "vb6"}, {r.removeUnreachable, "remove-unreachable"},
                                  {r.wait, "wait"}, {r.force, "force"}})
    if (set) flags += flags.empty() ? name : std::string(" ") + name;
  return flags;
}

TEST(Arguments, EachListGivesItsCommandOrItsFirstError) {
  struct Case {
    std::vector<std::wstring> args;
    Command command;
    std::wstring name, log;
    std::string flags;
    std::optional<ArgumentError> error;
  };
  const Case cases[] = {
      {{L"/clean"}, Command::Clean, L"", L"", "", {}},
      {{L"/CLEAN", L"/Remove-Unreachable", L"/wait"}, Command::Clean, L"", L"", "remove-unreachable wait", {}},
      {{L"/export", L"zapas", L"/vb6"}, Command::Export, L"zapas", L"", "vb6", {}},
      {{L"/vb5", L"/vb6", L"/export", L"a b"}, Command::Export, L"a b", L"", "vb5 vb6", {}},
      {{L"/import", L"x", L"/wait", L"/log", L"C:\\run.log"}, Command::Import, L"x", L"C:\\run.log", "wait", {}},
      {{L"/undo", L"/force"}, Command::Undo, L"", L"", "force", {}},
      {{L"/log", L"run.log", L"/?"}, Command::Usage, L"", L"run.log", "", {}},
      // A value is missing when nothing, an empty argument or a switch follows.
      {{L"/export"}, Command::Export, L"", L"", "", ArgumentError{Problem::MissingValue, L"/export", L""}},
      {{L"/export", L""}, Command::Export, L"", L"", "", ArgumentError{Problem::MissingValue, L"/export", L""}},
      {{L"/export", L"/vb5"}, Command::Export, L"", L"", "vb5", ArgumentError{Problem::MissingValue, L"/export", L""}},
      {{L"/log"}, Command::None, L"", L"", "", ArgumentError{Problem::MissingValue, L"/log", L""}},
      {{L"/clean", L"/log"}, Command::Clean, L"", L"", "", ArgumentError{Problem::MissingValue, L"/log", L""}},
      // Options that do not go with the command, named as typed.
      {{L"/clean", L"/vb5"}, Command::Clean, L"", L"", "vb5", ArgumentError{Problem::NotWithCommand, L"/vb5", L"/clean"}},
      {{L"/Undo", L"/VB6"}, Command::Undo, L"", L"", "vb6", ArgumentError{Problem::NotWithCommand, L"/VB6", L"/Undo"}},
      {{L"/export", L"x", L"/wait"}, Command::Export, L"x", L"", "wait",
       ArgumentError{Problem::NotWithCommand, L"/wait", L"/export"}},
      {{L"/?", L"/force"}, Command::Usage, L"", L"", "force", ArgumentError{Problem::NotWithCommand, L"/force", L"/?"}},
      // Twice, and two commands; a value given twice is not taken for an argument of its own.
      {{L"/clean", L"/wait", L"/WAIT"}, Command::Clean, L"", L"", "wait", ArgumentError{Problem::GivenTwice, L"/WAIT", L""}},
      {{L"/export", L"a", L"/export", L"b"}, Command::Export, L"a", L"", "",
       ArgumentError{Problem::GivenTwice, L"/export", L""}},
      {{L"/clean", L"/undo"}, Command::Clean, L"", L"", "", ArgumentError{Problem::TwoCommands, L"/undo", L"/clean"}},
      {{L"/clean", L"/import", L"x"}, Command::Clean, L"x", L"", "",
       ArgumentError{Problem::TwoCommands, L"/import", L"/clean"}},
      // Unknown, and none at all.
      {{L"/clean", L"/frobnicate"}, Command::Clean, L"", L"", "", ArgumentError{Problem::Unknown, L"/frobnicate", L""}},
      {{L"zapas"}, Command::None, L"", L"", "", ArgumentError{Problem::Unknown, L"zapas", L""}},
      {{L"/clean", L"-wait"}, Command::Clean, L"", L"", "", ArgumentError{Problem::Unknown, L"-wait", L""}},
      {{L"/vb5"}, Command::None, L"", L"", "vb5", ArgumentError{Problem::NoCommand, L"", L""}},
      {{L"/wait", L"/log", L"run.log"}, Command::None, L"", L"run.log", "wait", ArgumentError{Problem::NoCommand, L"", L""}},
      // The first error in the order of the arguments; the log named after it still counts.
      {{L"/vb5", L"/clean", L"/x"}, Command::Clean, L"", L"", "vb5", ArgumentError{Problem::NotWithCommand, L"/vb5", L"/clean"}},
      {{L"/clean", L"/x", L"/vb5"}, Command::Clean, L"", L"", "vb5", ArgumentError{Problem::Unknown, L"/x", L""}},
      {{L"/import", L"/clean"}, Command::Import, L"", L"", "", ArgumentError{Problem::MissingValue, L"/import", L""}},
      {{L"/clean", L"/x", L"/log", L"run.log"}, Command::Clean, L"", L"run.log", "", ArgumentError{Problem::Unknown, L"/x", L""}},
  };
  for (const Case& c : cases) {
    std::wstring shown;
    for (const std::wstring& a : c.args) shown += L"[" + a + L"]";
    SCOPED_TRACE(Utf8(shown));
    const Request r = Parse(c.args);
    EXPECT_EQ(r.command, c.command);
    EXPECT_EQ(r.name, c.name);
    EXPECT_EQ(r.log, c.log);
    EXPECT_EQ(Flags(r), c.flags);
    ASSERT_EQ(r.error.has_value(), c.error.has_value());
    if (!c.error) continue;
    EXPECT_EQ(r.error->problem, c.error->problem);
    EXPECT_EQ(Utf8(r.error->argument), Utf8(c.error->argument));
    EXPECT_EQ(Utf8(r.error->other), Utf8(c.error->other));
  }
}

// The words name what is wrong, with what the table knows: the value's name, the commands.
TEST(Arguments, EachErrorSaysWhatIsWrong) {
  const std::pair<std::vector<std::wstring>, std::wstring> cases[] = {
      {{L"/export"}, L"Value missing: /export must be followed by NAME."},
      {{L"/clean", L"/log"}, L"Value missing: /log must be followed by FILE."},
      {{L"/clean", L"/vb5"}, L"/vb5 does not go with /clean; it goes with /export only."},
      {{L"/export", L"x", L"/wait"}, L"/wait does not go with /export; it goes with /clean, /import, /undo only."},
      {{L"/clean", L"/Wait", L"/wait"}, L"/wait is given twice."},
      {{L"/undo", L"/clean"}, L"One command at a time: both /undo and /clean are given."},
      {{L"/clean", L"/x"}, L"Argument not understood: /x"},
      {{L"/force"}, L"No command: give one of /clean, /export, /import, /undo, /?."},
  };
  for (const auto& [args, words] : cases) {
    const Request r = Parse(args);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(Utf8(commandline::ErrorText(*r.error)), Utf8(words));
  }
}

// One line per switch, each command with the options that go with it, the texts in one column.
TEST(Arguments, TheUsageShowsEverySwitchInOneColumn) {
  std::vector<std::wstring> lines;
  const std::wstring usage = commandline::UsageText();
  for (size_t start = 0; start <= usage.size();) {
    size_t end = usage.find(L"\r\n", start);
    if (end == std::wstring::npos) end = usage.size();
    lines.push_back(usage.substr(start, end - start));
    start = end + 2;
  }
  const std::wstring starts[] = {L"  /clean [/remove-unreachable] [/wait] ", L"  /export NAME [/vb5] [/vb6] ",
                                 L"  /import NAME [/wait] ", L"  /undo [/wait] [/force] ", L"  /? ",
                                 L"  /remove-unreachable ", L"  /vb5 ", L"  /vb6 ", L"  /wait ", L"  /force ",
                                 L"  /log FILE "};
  ASSERT_EQ(lines.size(), std::size(starts) + 2) << Utf8(usage);
  EXPECT_EQ(Utf8(lines.front()), "Usage: brushwick.exe COMMAND [OPTIONS]");
  size_t column = 0;
  for (size_t i = 0; i < std::size(starts); ++i) {
    const std::wstring& line = lines[i + 1];
    EXPECT_EQ(Utf8(line.substr(0, starts[i].size())), Utf8(starts[i]));
    const size_t text = line.find_first_not_of(L' ', line.find(L"   "));
    if (i == 0) column = text;
    EXPECT_EQ(text, column) << Utf8(line);
  }
  EXPECT_EQ(lines.back().rfind(L"Without arguments", 0), 0u);
}

}  // namespace
