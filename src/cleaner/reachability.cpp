#include "cleaner/reachability.h"

#include <map>
#include <memory>

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

// Places compare without regard to case, as Windows names them.
std::string PlaceKey(std::string place) {
  if (!place.empty()) CharUpperBuffA(place.data(), static_cast<DWORD>(place.size()));
  return place;
}

// One run's probes. Worker threads that miss the deadline still hold a reference, so whatever
// finishes last frees it; the caller never waits for them.
struct ProbeBatch {
  std::function<bool(const std::string&)> probe;
  std::vector<std::string> places;
  std::unique_ptr<volatile LONG[]> answered;  // 1 answered, 0 not (or not yet)
  volatile LONG pending = 0;
  volatile LONG refs = 1;
  HANDLE allDone = nullptr;

  void Release() {
    if (InterlockedDecrement(&refs) == 0) {
      CloseHandle(allDone);
      delete this;
    }
  }
};

struct ProbeJob {
  ProbeBatch* batch;
  size_t index;
};

DWORD WINAPI RunProbe(LPVOID parameter) {
  std::unique_ptr<ProbeJob> job(static_cast<ProbeJob*>(parameter));
  ProbeBatch* batch = job->batch;
  bool answers = false;
  try {
    answers = batch->probe(batch->places[job->index]);
  } catch (...) {
    // A probe that fails says nothing about the place: it counts as not answering.
  }
  InterlockedExchange(&batch->answered[job->index], answers ? 1 : 0);
  if (InterlockedDecrement(&batch->pending) == 0) SetEvent(batch->allDone);
  batch->Release();
  return 0;
}

void WaitForProbes(ProbeBatch& batch, DWORD deadlineMs, const WaitPump& pump) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= deadlineMs) return;
    const DWORD remaining = deadlineMs - elapsed;
    if (!pump) {
      WaitForSingleObject(batch.allDone, remaining);
      return;
    }
    const DWORD woke = MsgWaitForMultipleObjects(1, &batch.allDone, FALSE,
                                                 remaining < 100 ? remaining : 100, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) return;
    if (woke == WAIT_FAILED) {
      WaitForSingleObject(batch.allDone, remaining);
      return;
    }
    pump();
  }
}

// Probes every place at once; true for those that answered within the deadline.
std::vector<bool> ProbePlaces(const std::vector<std::string>& places, const ExistenceChecks& checks,
                              const WaitPump& pump) {
  std::vector<bool> result(places.size(), false);
  if (places.empty()) return result;
  auto* batch = new ProbeBatch;
  batch->probe = checks.placeAnswers;
  batch->places = places;
  batch->answered.reset(new volatile LONG[places.size()]());
  batch->allDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!batch->allDone) {
    batch->Release();
    return result;  // nothing can be probed: every place counts as out of reach
  }
  batch->pending = static_cast<LONG>(places.size());
  for (size_t i = 0; i < places.size(); ++i) {
    InterlockedIncrement(&batch->refs);
    auto* job = new ProbeJob{batch, i};
    // A small stack: a probe makes one file-system call.
    HANDLE thread = CreateThread(nullptr, 64 * 1024, &RunProbe, job,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread) {
      CloseHandle(thread);
    } else {
      delete job;  // the place stays unanswered
      if (InterlockedDecrement(&batch->pending) == 0) SetEvent(batch->allDone);
      batch->Release();
    }
  }
  WaitForProbes(*batch, checks.deadlineMs, pump);
  for (size_t i = 0; i < places.size(); ++i)
    result[i] = InterlockedCompareExchange(&batch->answered[i], 0, 0) == 1;
  batch->Release();
  return result;
}

bool SystemPlaceAnswers(const std::string& place) {
  // The root exists and can be listed; an empty root lists as "no files", which is an answer too.
  const std::string pattern = place + (IsSeparator(place.back()) ? "*" : "\\*");
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    FindClose(find);
    return true;
  }
  const DWORD code = GetLastError();
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES;
}

PathState SystemQuery(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return PathState::Exists;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:   // not a valid path: no file can have it
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
      return PathState::Gone;
    default:
      // Access refused, a device not ready, a network error: nothing says the file is absent.
      return PathState::Unreachable;
  }
}

}  // namespace

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
                                  const WaitPump& pump) {
  // Each distinct place once.
  std::vector<std::string> places;
  std::map<std::string, size_t> placeIndex;
  std::vector<size_t> pathPlace(paths.size(), SIZE_MAX);
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string place = PlaceOf(paths[i]);
    if (place.empty()) continue;
    const auto [it, added] = placeIndex.emplace(PlaceKey(place), places.size());
    if (added) places.push_back(place);
    pathPlace[i] = it->second;
  }
  const std::vector<bool> answered = ProbePlaces(places, checks, pump);

  std::vector<PathState> states(paths.size(), PathState::Unreachable);
  for (size_t i = 0; i < paths.size(); ++i) {
    if (pathPlace[i] == SIZE_MAX || answered[pathPlace[i]]) states[i] = checks.query(paths[i]);
  }
  return states;
}

std::vector<std::pair<std::string, int>> UnreachablePlaces(const std::vector<std::string>& paths,
                                                           const std::vector<PathState>& states) {
  std::vector<std::pair<std::string, int>> places;
  std::map<std::string, size_t> index;
  for (size_t i = 0; i < paths.size() && i < states.size(); ++i) {
    if (states[i] != PathState::Unreachable) continue;
    std::string place = PlaceOf(paths[i]);
    if (place.empty()) place = paths[i];  // no place of its own: the entry itself is named
    const auto [it, added] = index.emplace(PlaceKey(place), places.size());
    if (added) places.emplace_back(place, 0);
    ++places[it->second].second;
  }
  return places;
}
