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

#include "common/function_ref.h"
#include "common/string_index.h"

enum class PathState { Exists, Gone, Unreachable };

// True when the path names an existing file or folder (any attributes count). The path is used
// as it stands: not trimmed, not expanded. When it does not, `outOfReach` (if given) tells
// whether the system could not say (access refused, a device not ready, a network error) rather
// than that nothing has that name. This is the checks' query on the real file system.
bool CzyIstnieje(const std::string& path, bool* outOfReach = nullptr);

// The place a path lives on: "E:\" for a drive path, "\\server\share" for a network path (also
// through the "\\?\" forms), "" when the path names no place of its own (relative paths, the
// current drive, device paths, "\\server"), whose entries are queried without a probe.
std::string PlaceOf(const std::string& path);
// Places compare without regard to case, as Windows names them: the key a place is known by.
std::string PlaceKey(std::string place);

// Both functions run on worker threads and may block; a call not back by the deadline is given
// up on (its thread is left to finish by itself, after CheckPaths has returned), so they must
// not refer to anything that may be gone by then.
struct ExistenceChecks {
  // True when the place answers: its root exists and can be read.
  std::function<bool(const std::string& place)> placeAnswers;
  // The state of one path on a place that answered (or of a path without a place).
  std::function<PathState(const std::string& path)> query;
  // Places whose answer is known already, by their name in capitals: 1 when the place answers,
  // 0 when it does not. They are not probed again.
  StringIndex knownPlaces;
  // How long a probe, or one query, may take. Each place is probed and then its paths are
  // queried one after the other on a thread of its own, all places at once; a place whose probe
  // or current query has been out this long is given up on, and so is every check still out
  // after ten times this long in all.
  DWORD deadlineMs = 2000;

  // The checks made on the real file system.
  static ExistenceChecks System();
};

// Called while checks are out, whenever window messages arrive (and at least every 100 ms).
using WaitPump = FunctionRef<void()>;

// The state of each path, in the order given; a path whose check did not come back in time is
// Unreachable. `alternatives`, when given, holds for each path another text that names the same
// entry ("" for none): the path then exists when either exists, and is Unreachable when neither
// exists and either cannot be checked.
std::vector<PathState> CheckPaths(const std::vector<std::string>& paths, const ExistenceChecks& checks,
                                  const WaitPump& pump = {},
                                  const std::vector<std::string>& alternatives = {});

// The places of the unreachable paths with how many paths each holds, in the order first met.
std::vector<std::pair<std::string, int>> UnreachablePlaces(const std::vector<std::string>& paths,
                                                           const std::vector<PathState>& states);
