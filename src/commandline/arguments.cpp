#include "commandline/arguments.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "settings/texts.h"

namespace commandline {
namespace {

// The commands a switch goes with, one bit each.
using Commands = unsigned;
constexpr Commands Of(Command command) { return 1u << static_cast<unsigned>(command); }
constexpr Commands kEveryCommand =
    Of(Command::Usage) | Of(Command::Clean) | Of(Command::Export) | Of(Command::Import) | Of(Command::Undo);

struct Switch {
  const wchar_t* name;                     // in lower case; typed in any case
  Command command = Command::None;         // the command it gives; None for an option
  Commands with = 0;                       // an option's commands
  std::wstring Request::*value = nullptr;  // where the value after it goes; none: it takes none
  Text valueName = Text::None;             // what the value is, in the usage and the errors
  bool Request::*flag = nullptr;           // what an option without a value sets
  Text usage = Text::None;                 // its line of the usage
};

// The commands first, in the order the usage shows them.
constexpr Switch kSwitches[] = {
    {.name = L"/clean", .command = Command::Clean, .usage = Text::CmdUsageClean},
    {.name = L"/export", .command = Command::Export, .value = &Request::name, .valueName = Text::CmdValueName,
     .usage = Text::CmdUsageExport},
    {.name = L"/import", .command = Command::Import, .value = &Request::name, .valueName = Text::CmdValueName,
     .usage = Text::CmdUsageImport},
    {.name = L"/undo", .command = Command::Undo, .usage = Text::CmdUsageUndo},
    {.name = L"/?", .command = Command::Usage, .usage = Text::CmdUsageHelp},
    {.name = L"/remove-unreachable", .with = Of(Command::Clean), .flag = &Request::removeUnreachable,
     .usage = Text::CmdUsageRemoveUnreachable},
    {.name = L"/vb5", .with = Of(Command::Export), .flag = &Request::vb5, .usage = Text::CmdUsageVb5},
    {.name = L"/vb6", .with = Of(Command::Export), .flag = &Request::vb6, .usage = Text::CmdUsageVb6},
    {.name = L"/wait", .with = Of(Command::Clean) | Of(Command::Import) | Of(Command::Undo), .flag = &Request::wait,
     .usage = Text::CmdUsageWait},
    {.name = L"/force", .with = Of(Command::Undo), .flag = &Request::force, .usage = Text::CmdUsageForce},
    {.name = L"/log", .with = kEveryCommand, .value = &Request::log, .valueName = Text::CmdValueFile,
     .usage = Text::CmdUsageLog},
};
constexpr std::size_t kNone = SIZE_MAX;

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameName(const std::wstring& typed, const wchar_t* name) {
  std::size_t i = 0;
  for (; i < typed.size() && name[i]; ++i)
    if (Lower(typed[i]) != name[i]) return false;
  return i == typed.size() && !name[i];
}

const Switch* Find(const std::wstring& typed) {
  for (const Switch& s : kSwitches)
    if (SameName(typed, s.name)) return &s;
  return nullptr;
}

// A value is there when the next argument is not empty and is no switch.
bool ValueFollows(const std::vector<std::wstring>& args, std::size_t i) {
  return i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != L'/';
}

// The switch as the usage shows it: its name, and its value's name when it takes one.
std::wstring Shown(const Switch& s) {
  std::wstring text = s.name;
  if (s.value) text += std::wstring(L" ") + Tr(s.valueName);
  return text;
}

// "/clean, /import, /undo": the commands in `commands`, in the table's order.
std::wstring CommandNames(Commands commands) {
  std::wstring names;
  for (const Switch& s : kSwitches) {
    if (s.command == Command::None || !(commands & Of(s.command))) continue;
    if (!names.empty()) names += L", ";
    names += s.name;
  }
  return names;
}

}  // namespace

Request Parse(const std::vector<std::wstring>& args) {
  Request r;
  std::size_t errorAt = kNone;
  const auto fail = [&](std::size_t at, ArgumentError error) {
    if (at >= errorAt) return;
    errorAt = at;
    r.error = std::move(error);
  };
  std::array<std::size_t, std::size(kSwitches)> givenAt;  // by row: the argument that gave it
  givenAt.fill(kNone);
  std::size_t commandAt = kNone;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::size_t at = i;
    const Switch* s = Find(args[at]);
    if (!s) {
      fail(at, {ArgumentProblem::Unknown, args[at], {}});
      continue;
    }
    std::size_t& given = givenAt[static_cast<std::size_t>(s - kSwitches)];
    if (given != kNone) {
      if (s->value && ValueFollows(args, i)) ++i;  // its value is no argument of its own
      fail(at, {ArgumentProblem::GivenTwice, args[at], {}});
      continue;
    }
    given = at;
    if (s->command != Command::None) {
      if (r.command == Command::None) {
        r.command = s->command;
        commandAt = at;
      } else {
        fail(at, {ArgumentProblem::TwoCommands, args[at], args[commandAt]});
      }
    }
    if (s->flag) r.*(s->flag) = true;
    if (s->value) {
      if (ValueFollows(args, i))
        r.*(s->value) = args[++i];
      else
        fail(at, {ArgumentProblem::MissingValue, args[at], {}});
    }
  }
  if (r.command == Command::None) {
    fail(args.size(), {ArgumentProblem::NoCommand, {}, {}});
    return r;
  }
  for (std::size_t row = 0; row < std::size(kSwitches); ++row) {
    const Switch& s = kSwitches[row];
    if (givenAt[row] != kNone && s.command == Command::None && !(s.with & Of(r.command)))
      fail(givenAt[row], {ArgumentProblem::NotWithCommand, args[givenAt[row]], args[commandAt]});
  }
  return r;
}

std::wstring ErrorText(const ArgumentError& error) {
  const Switch* s = Find(error.argument);
  switch (error.problem) {
    case ArgumentProblem::Unknown: return Tr(Text::CmdUnknownArgument, {error.argument});
    case ArgumentProblem::MissingValue:
      return Tr(Text::CmdMissingValue, {error.argument, s ? Tr(s->valueName) : L""});
    case ArgumentProblem::GivenTwice: return Tr(Text::CmdGivenTwice, {error.argument});
    case ArgumentProblem::TwoCommands: return Tr(Text::CmdTwoCommands, {error.other, error.argument});
    case ArgumentProblem::NotWithCommand:
      return Tr(Text::CmdNotWithCommand, {error.argument, error.other, CommandNames(s ? s->with : 0)});
    case ArgumentProblem::NoCommand: return Tr(Text::CmdNoCommand, {CommandNames(kEveryCommand)});
  }
  return Tr(Text::CmdUnknownArgument, {error.argument});
}

std::wstring UsageText() {
  // Each command with the options that go with some commands only; each option on its own.
  std::vector<std::wstring> left;
  for (const Switch& s : kSwitches) {
    std::wstring line = Shown(s);
    if (s.command != Command::None)
      for (const Switch& option : kSwitches)
        if (option.command == Command::None && option.with != kEveryCommand && (option.with & Of(s.command)))
          line += L" [" + Shown(option) + L"]";
    left.push_back(std::move(line));
  }
  std::size_t width = 0;
  for (const std::wstring& line : left) width = line.size() > width ? line.size() : width;
  std::wstring text = Tr(Text::CmdUsage);
  for (std::size_t row = 0; row < std::size(kSwitches); ++row)
    text += L"\r\n  " + left[row] + std::wstring(width - left[row].size() + 3, L' ') + Tr(kSwitches[row].usage);
  return text + L"\r\n" + Tr(Text::CmdUsageEnd);
}

}  // namespace commandline
