#include "cleaner/reachability.h"

#include <memory>

#include "common/handles.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string DrivePlace(char letter) {
  const char upper = letter >= 'a' ? static_cast<char>(letter - 'a' + 'A') : letter;
  return std::string{upper, ':', '\\'};
}

// "server\share..." -> "\\server\share", or "" when either part is missing.
std::string SharePlace(const std::string& path, size_t start) {
  size_t serverEnd = start;
  while (serverEnd < path.size() && !IsSeparator(path[serverEnd])) ++serverEnd;
  size_t shareEnd = serverEnd + 1;
  while (shareEnd < path.size() && !IsSeparator(path[shareEnd])) ++shareEnd;
  if (serverEnd == start || serverEnd >= path.size() || shareEnd == serverEnd + 1) return "";
  return "\\\\" + path.substr(start, serverEnd - start) + "\\" +
         path.substr(serverEnd + 1, shareEnd - serverEnd - 1);
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// One place's checks: the probe (none for paths without a place), then its paths one by one.
struct PlaceChecks {
  std::string place;
  std::vector<size_t> targets;    // indexes into CheckBatch::targets
  volatile LONG lastProgress = 0;  // tick of the start or the last check that came back
  volatile LONG done = 0;
  volatile LONG abandoned = 0;     // given up on: check nothing more
};

// One run's checks. Worker threads that miss the deadline still hold a reference, so whatever
// finishes last frees it; the caller never waits for them.
struct CheckBatch {
  ExistenceChecks checks;
  std::vector<std::string> targets;
  std::unique_ptr<volatile LONG[]> states;  // a PathState, or -1 while not back
  std::unique_ptr<PlaceChecks[]> places;
  size_t placeCount = 0;
  volatile LONG pending = 0;
  volatile LONG refs = 1;
  KernelHandle allDone;

  void Release() {
    if (InterlockedDecrement(&refs) == 0) delete this;
  }
  void Finished(PlaceChecks& place) {
    InterlockedExchange(&place.done, 1);
    if (InterlockedDecrement(&pending) == 0) SetEvent(allDone.get());
  }
};

struct PlaceJob {
  CheckBatch* batch;
  size_t index;
};

LONG Now() { return static_cast<LONG>(GetTickCount()); }

DWORD WINAPI RunPlaceChecks(LPVOID parameter) {
  std::unique_ptr<PlaceJob> job(static_cast<PlaceJob*>(parameter));
  CheckBatch* batch = job->batch;
  PlaceChecks& place = batch->places[job->index];
  bool answers = true;
  if (!place.place.empty()) {
    try {
      const size_t* known = batch->checks.knownPlaces.Find(PlaceKey(place.place));
      answers = known ? *known != 0 : batch->checks.placeAnswers(place.place);
    } catch (...) {
      answers = false;  // a probe that fails says nothing about the place: it does not answer
    }
    InterlockedExchange(&place.lastProgress, Now());
  }
  for (size_t i = 0; answers && i < place.targets.size(); ++i) {
    if (InterlockedCompareExchange(&place.abandoned, 0, 0)) break;
    const size_t target = place.targets[i];
    PathState state = PathState::Unreachable;
    try {
      state = batch->checks.query(batch->targets[target]);
    } catch (...) {
      // nothing is known of the path
    }
    InterlockedExchange(&batch->states[target], static_cast<LONG>(state));
    InterlockedExchange(&place.lastProgress, Now());
  }
  batch->Finished(place);
  batch->Release();
  return 0;
}

// Waits until every place is done or given up on, serving the windows meanwhile.
void WaitForChecks(CheckBatch& batch, const WaitPump& pump) {
  const DWORD deadline = batch.checks.deadlineMs;
  const DWORD start = GetTickCount();
  const DWORD overall = deadline > MAXDWORD / 10 ? MAXDWORD : deadline * 10;
  for (;;) {
    const DWORD now = GetTickCount();
    const bool late = now - start >= overall;
    DWORD wait = late ? 0 : overall - (now - start);
    bool anyOut = false;
    for (size_t i = 0; i < batch.placeCount; ++i) {
      PlaceChecks& place = batch.places[i];
      if (InterlockedCompareExchange(&place.done, 0, 0) || InterlockedCompareExchange(&place.abandoned, 0, 0))
        continue;
      const DWORD idle = now - static_cast<DWORD>(InterlockedCompareExchange(&place.lastProgress, 0, 0));
      if (late || idle >= deadline) {
        InterlockedExchange(&place.abandoned, 1);
        continue;
      }
      anyOut = true;
      if (deadline - idle < wait) wait = deadline - idle;
    }
    if (!anyOut) return;
    HANDLE allDone = batch.allDone.get();
    if (!pump) {
      WaitForSingleObject(allDone, wait);
      continue;
    }
    const DWORD woke = MsgWaitForMultipleObjects(1, &allDone, FALSE, wait < 100 ? wait : 100, QS_ALLINPUT);
    if (woke == WAIT_FAILED) {
      WaitForSingleObject(allDone, wait);
      continue;
    }
    if (woke != WAIT_OBJECT_0) pump();
  }
}

// The group a path is checked in: its place, or for a path without one, "\\server" forms each
// on their own (they go to the network) and every other path together, unprobed.
std::string GroupKey(const std::string& path, std::string& place) {
  place = PlaceOf(path);
  if (!place.empty()) return PlaceKey(place);
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return "|" + PlaceKey(path);
  return "";
}

// Checks every target, all places at once, each state Unreachable unless its check came back.
std::vector<PathState> CheckTargets(const std::vector<std::string>& targets, const ExistenceChecks& checks,
                                    const WaitPump& pump) {
  std::vector<PathState> result(targets.size(), PathState::Unreachable);
  if (targets.empty()) return result;
  std::vector<std::string> placeNames;
  std::vector<std::vector<size_t>> members;
  StringIndex index;
  for (size_t i = 0; i < targets.size(); ++i) {
    std::string place;
    const auto [group, added] = index.Emplace(GroupKey(targets[i], place), placeNames.size());
    if (added) {
      placeNames.push_back(place);
      members.emplace_back();
    }
    members[*group].push_back(i);
  }

  auto* batch = new CheckBatch;
  batch->checks = checks;
  batch->targets = targets;
  batch->states.reset(new volatile LONG[targets.size()]);
  for (size_t i = 0; i < targets.size(); ++i) batch->states[i] = -1;
  batch->placeCount = placeNames.size();
  batch->places.reset(new PlaceChecks[placeNames.size()]);
  batch->allDone.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!batch->allDone) {
    batch->Release();
    return result;  // nothing can be checked: every path counts as out of reach
  }
  batch->pending = static_cast<LONG>(placeNames.size());
  for (size_t i = 0; i < placeNames.size(); ++i) {
    PlaceChecks& place = batch->places[i];
    place.place = std::move(placeNames[i]);
    place.targets = std::move(members[i]);
    place.lastProgress = Now();
    InterlockedIncrement(&batch->refs);
    auto* job = new PlaceJob{batch, i};
    // The thread is never waited for: its handle goes at once.
    const KernelHandle thread(
        CreateThread(nullptr, 256 * 1024, &RunPlaceChecks, job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!thread) {
      delete job;  // the place's paths stay out of reach
      batch->Finished(place);
      batch->Release();
    }
  }
  WaitForChecks(*batch, pump);
  for (size_t i = 0; i < targets.size(); ++i) {
    const LONG state = InterlockedCompareExchange(&batch->states[i], -1, -1);
    if (state >= 0) result[i] = static_cast<PathState>(state);
  }
  batch->Release();
  return result;
}

bool SystemPlaceAnswers(const std::string& place) {
  // The root exists and can be listed; an empty root lists as "no files", which is an answer too.
  const std::string pattern = place + (IsSeparator(place.back()) ? "*" : "\\*");
  WIN32_FIND_DATAA data;
  if (FindHandle(FindFirstFileA(pattern.c_str(), &data))) return true;
  const DWORD code = GetLastError();
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES;
}

PathState SystemQuery(const std::string& path) {
  bool outOfReach = false;
  if (CzyIstnieje(path, &outOfReach)) return PathState::Exists;
  return outOfReach ? PathState::Unreachable : PathState::Gone;
}

}  // namespace

std::string PlaceKey(std::string place) {
  if (!place.empty()) CharUpperBuffA(place.data(), static_cast<DWORD>(place.size()));
  return place;
}

bool CzyIstnieje(const std::string& path, bool* outOfReach) {
  if (outOfReach) *outOfReach = false;
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:  // not a valid path: no file can have it
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
      break;
    default:
      // Access refused, a device not ready, a network error: nothing says the file is absent.
      if (outOfReach) *outOfReach = true;
  }
  return false;
}

std::string PlaceOf(const std::string& path) {
  if (StartsWith(path, "\\\\?\\UNC\\")) return SharePlace(path, 8);
  if (StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\")) {
    if (path.size() >= 6 && IsDriveLetter(path[4]) && path[5] == ':') return DrivePlace(path[4]);
    return "";
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return SharePlace(path, 2);
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') return DrivePlace(path[0]);
  return "";
}

ExistenceChecks ExistenceChecks::System() {
  ExistenceChecks checks;
  checks.placeAnswers = &SystemPlaceAnswers;
  checks.query = &SystemQuery;
  return checks;
}

std::vector<PathState> CheckPaths(const std::vector<std::string>& paths, const ExistenceChecks& checks,
                                  const WaitPump& pump, const std::vector<std::string>& alternatives) {
  std::vector<std::string> targets = paths;
  std::vector<size_t> alternativeOf(paths.size(), SIZE_MAX);
  for (size_t i = 0; i < paths.size() && i < alternatives.size(); ++i) {
    if (alternatives[i].empty() || alternatives[i] == paths[i]) continue;
    alternativeOf[i] = targets.size();
    targets.push_back(alternatives[i]);
  }
  const std::vector<PathState> checked = CheckTargets(targets, checks, pump);
  std::vector<PathState> states(checked.begin(), checked.begin() + static_cast<std::ptrdiff_t>(paths.size()));
  for (size_t i = 0; i < paths.size(); ++i) {
    if (alternativeOf[i] == SIZE_MAX || states[i] == PathState::Exists) continue;
    const PathState other = checked[alternativeOf[i]];
    if (other != PathState::Gone) states[i] = other;
  }
  return states;
}

std::vector<std::pair<std::string, int>> UnreachablePlaces(const std::vector<std::string>& paths,
                                                           const std::vector<PathState>& states) {
  std::vector<std::pair<std::string, int>> places;
  StringIndex index;
  for (size_t i = 0; i < paths.size() && i < states.size(); ++i) {
    if (states[i] != PathState::Unreachable) continue;
    std::string place = PlaceOf(paths[i]);
    if (place.empty()) place = paths[i];  // no place of its own: the entry itself is named
    const auto [at, added] = index.Emplace(PlaceKey(place), places.size());
    if (added) places.emplace_back(place, 0);
    ++places[*at].second;
  }
  return places;
}
