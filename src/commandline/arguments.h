#pragma once
// The arguments of an unattended run: which command, with which switches, or what is wrong with
// them. Every switch is one row of a table (see arguments.cpp): its name, whether a value
// follows it, the commands it goes with and its line of the usage, so a new switch is one row.
#include <optional>
#include <string>
#include <vector>

namespace commandline {

enum class Command { None, Usage, Clean, Export, Import, Undo };

enum class ArgumentProblem {
  Unknown,         // `argument` is no switch at all
  MissingValue,    // `argument` needs a value after it, and none follows
  GivenTwice,      // `argument` was given before
  TwoCommands,     // `argument` is a second command, after `other`
  NotWithCommand,  // `argument` does not go with the command `other`
  NoCommand,       // switches, but none of them a command
};

struct ArgumentError {
  ArgumentProblem problem = ArgumentProblem::Unknown;
  std::wstring argument;  // as typed
  std::wstring other;     // the command as typed, for TwoCommands and NotWithCommand
  bool operator==(const ArgumentError&) const = default;
};

struct Request {
  Command command = Command::None;
  std::wstring name;  // of the list file
  std::wstring log;   // the log file; empty for none
  bool vb5 = false, vb6 = false, removeUnreachable = false, wait = false, force = false;
  // The first thing wrong, in the order of the arguments; nothing is done then. The rest is
  // read all the same, so that the log named anywhere can record the error.
  std::optional<ArgumentError> error;
};

// Reads the arguments (those after the program's name). Switches are known in any case and in
// any order; a value is the next argument, which must not be empty or start with '/'.
Request Parse(const std::vector<std::wstring>& args);

// The error in the words of the language in use.
std::wstring ErrorText(const ArgumentError& error);
// The usage: the commands with their switches, each switch's line, and the exit codes.
std::wstring UsageText();

}  // namespace commandline
