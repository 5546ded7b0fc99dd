#pragma once
// Whether the files of a list are gone, or only out of reach: an entry on a drive that is not
// there or a network share that does not answer may still name a file that exists, so it must
// not be dropped as dead. Each place (drive or \\server\share) is probed once, all in parallel,
// and a place that does not answer within the deadline costs no more than the deadline.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

enum class PathState { Exists, Gone, Unreachable };

// The place a path lives on: "E:\" for a drive path, "\\server\share" for a network path (also
// through the "\\?\" forms), "" when the path names no place of its own (relative paths, the
// current drive, device paths), whose entries are queried directly.
std::string PlaceOf(const std::string& path);

struct ExistenceChecks {
  // True when the place answers: its root exists and can be read. Runs on a worker thread and
  // may block; it is given up on at the deadline.
  std::function<bool(const std::string& place)> placeAnswers;
  // The state of one path on a place that answered (or of a path without a place).
  std::function<PathState(const std::string& path)> query;
  // How long the probes of all places may take together.
  DWORD deadlineMs = 2000;

  // The checks made on the real file system.
  static ExistenceChecks System();
};

// Called while probes are out, whenever window messages arrive (and at least every 100 ms).
using WaitPump = std::function<void()>;

// The state of each path, in the order given.
std::vector<PathState> CheckPaths(const std::vector<std::string>& paths, const ExistenceChecks& checks,
                                  const WaitPump& pump = {});

// The places of the unreachable paths with how many paths each holds, in the order first met.
std::vector<std::pair<std::string, int>> UnreachablePlaces(const std::vector<std::string>& paths,
                                                           const std::vector<PathState>& states);
