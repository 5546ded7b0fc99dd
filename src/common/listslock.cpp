#include "common/listslock.h"

#include <cwchar>
#include <vector>

namespace {

// The locks this process holds now, by name; shared by every thread (tests take the lock from
// several), so guarded. Each entry keeps its own thread, so that an entry left by a thread that
// ended while holding the lock (its lock object gone with its stack) is never looked into.
struct Holder {
  const wchar_t* name;
  const ListsLock* lock;
  DWORD thread;
};
struct Holders {
  CRITICAL_SECTION guard;
  std::vector<Holder> held;
  Holders() { InitializeCriticalSection(&guard); }
};
// Made before the program starts, as threads of the tests may take their first lock at once.
Holders holders;
Holders& TheHolders() { return holders; }

class Guard {
 public:
  Guard() { EnterCriticalSection(&TheHolders().guard); }
  ~Guard() { LeaveCriticalSection(&TheHolders().guard); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;
};

bool SameName(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

}  // namespace

ListsLock::~ListsLock() {
  if (held_) {
    Unregister();
    ReleaseMutex(mutex_.get());
  }
}

void ListsLock::Register() {
  Guard guard;
  auto& held = TheHolders().held;
  // The mutex is ours alone now: any other entry of this name is left by a thread that ended
  // while holding it.
  std::erase_if(held, [&](const Holder& entry) { return SameName(entry.name, name_); });
  held.push_back({name_, this, thread_});
}

void ListsLock::Unregister() {
  Guard guard;
  std::erase_if(TheHolders().held, [&](const Holder& entry) { return entry.lock == this; });
}

bool ListsLock::HeldByThisThread() {
  Guard guard;
  for (const auto& entry : TheHolders().held)
    if (entry.thread == GetCurrentThreadId()) return true;
  return false;
}

ListsLock::Outcome ListsLock::Take(const FunctionRef<bool(HANDLE mutex)>& wait) {
  if (held_) return Outcome::Taken;
  {
    Guard guard;
    for (const Holder& entry : TheHolders().held)
      if (SameName(entry.name, name_) && entry.thread == GetCurrentThreadId()) return Outcome::Refused;
  }
  if (!mutex_) mutex_.reset(CreateMutexW(nullptr, FALSE, name_));
  if (!mutex_) return Outcome::NotTaken;
  const DWORD now = WaitForSingleObject(mutex_.get(), 0);
  // Abandoned: a copy ended while it held the lists. It is ours now, and the lists are worked on
  // as that copy left them.
  const bool taken = now == WAIT_OBJECT_0 || now == WAIT_ABANDONED || (now == WAIT_TIMEOUT && wait && wait(mutex_.get()));
  if (!taken) return Outcome::NotTaken;
  held_ = true;
  thread_ = GetCurrentThreadId();
  Register();
  return Outcome::Taken;
}

bool ListsLock::Acquire(DWORD timeoutMs, void (*pump)()) {
  return Take([&](HANDLE mutex) {
           const DWORD start = GetTickCount();  // wraps, but differences stay right
           for (;;) {
             const DWORD elapsed = GetTickCount() - start;
             const DWORD left = elapsed < timeoutMs ? timeoutMs - elapsed : 0;
             const DWORD result = pump ? MsgWaitForMultipleObjectsEx(1, &mutex, left, QS_ALLINPUT,
                                                                     MWMO_INPUTAVAILABLE)
                                       : WaitForSingleObject(mutex, left);
             if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) return true;
             if (pump && result == WAIT_OBJECT_0 + 1 && left > 0) {
               pump();
               continue;
             }
             return false;  // timed out or failed
           }
         }) == Outcome::Taken;
}
