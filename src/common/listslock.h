#pragma once
// The recent-files lists belong to one copy of the program at a time: a cleaning run, an import
// and the reading for an export each hold this lock, a mutex named for the user's session, so two
// copies never interleave their reads and writes of the same list. Within a copy the lock is
// never taken twice: a mutex lets its own thread in again, which would let a second command
// interleave with the first.
#include <windows.h>

#include "common/function_ref.h"
#include "common/handles.h"

// "Local\": one lock per logon session, whatever the user's rights.
inline constexpr wchar_t kListsLockName[] = L"Local\\Brushwick.RecentFilesLists";

class ListsLock {
 public:
  // Another name gives a lock of its own (for tests, which must not share the program's).
  explicit ListsLock(const wchar_t* name = kListsLockName) : name_(name) {}
  ~ListsLock();
  ListsLock(const ListsLock&) = delete;
  ListsLock& operator=(const ListsLock&) = delete;

  enum class Outcome { Taken, Refused, NotTaken };
  // Takes the lock at once when it is free. Otherwise `wait` is given the mutex to wait for on
  // this thread; it returns true once its wait acquired it (a copy that ended while holding the
  // lock leaves it to the next one). Refused, without waiting, while another lock of this name
  // is held by this thread. Taking it again through the same object while held succeeds at once.
  Outcome Take(const FunctionRef<bool(HANDLE mutex)>& wait);
  // Take() with a plain wait of at most `timeoutMs`; while it waits, `pump` (when given) is
  // called whenever window messages arrive. True once held.
  bool Acquire(DWORD timeoutMs, void (*pump)() = nullptr);
  bool Held() const { return held_; }
  // True while this thread holds a lock of any name: a command of this copy is at work.
  static bool HeldByThisThread();

 private:
  void Register();
  void Unregister();

  const wchar_t* name_;
  KernelHandle mutex_;
  bool held_ = false;
  DWORD thread_ = 0;
};
