#pragma once
// The recent-files lists belong to one copy of the program at a time: a cleaning run, an import
// and the reading for an export each hold this lock, a mutex named for the user's session, so two
// copies never interleave their reads and writes of the same list.
#include <windows.h>

// How long a copy waits for another one to finish before it gives up.
inline constexpr DWORD kListsLockWaitMs = 10000;
// "Local\": one lock per logon session, whatever the user's rights.
inline constexpr wchar_t kListsLockName[] = L"Local\\Brushwick.RecentFilesLists";

class ListsLock {
 public:
  // Another name gives a lock of its own (for tests, which must not share the program's).
  explicit ListsLock(const wchar_t* name = kListsLockName) : name_(name) {}
  ~ListsLock();
  ListsLock(const ListsLock&) = delete;
  ListsLock& operator=(const ListsLock&) = delete;

  // Waits at most `timeoutMs` for the lists. While it waits, `pump` (when given) is called
  // whenever window messages arrive, so the caller's windows stay responsive. True once held;
  // a copy that ended while holding the lock leaves it to the next one. Taking it again on the
  // same thread while held (a nested run) succeeds at once.
  bool Acquire(DWORD timeoutMs, void (*pump)() = nullptr);
  bool Held() const { return held_; }

 private:
  const wchar_t* name_;
  HANDLE mutex_ = nullptr;
  bool held_ = false;
};
