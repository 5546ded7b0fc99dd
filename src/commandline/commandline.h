#pragma once
// Unattended runs: the cleaning run, export, import and undo of the windows, started with
// arguments, with the same lock, undo snapshot and checks, and no window at all. Nothing is
// asked: what a window would ask about is decided by the arguments or refused.
#include <string>
#include <vector>

namespace commandline {

// The exit codes.
enum Exit : int {
  kDone = 0,       // done; nothing to do counts as done
  kPartly = 1,     // a list left alone or changed in part; the output says which and why
  kFailed = 2,     // nothing changed: a failure or a bad argument
  kHeld = 3,       // nothing changed: another copy or an open Visual Basic held the lists
};

// Runs the command the arguments (those after the program's name) give and returns its exit
// code. Never throws and never shows a window.
int Run(const std::vector<std::wstring>& args);

}  // namespace commandline
