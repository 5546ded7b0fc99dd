#include "common/listslock.h"

ListsLock::~ListsLock() {
  if (held_) ReleaseMutex(mutex_);
  if (mutex_) CloseHandle(mutex_);
}

bool ListsLock::Acquire(DWORD timeoutMs, void (*pump)()) {
  if (held_) return true;
  if (!mutex_) mutex_ = CreateMutexW(nullptr, FALSE, name_);
  if (!mutex_) return false;
  const DWORD start = GetTickCount();  // wraps, but differences stay right
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    const DWORD left = elapsed < timeoutMs ? timeoutMs - elapsed : 0;
    const DWORD result = pump ? MsgWaitForMultipleObjectsEx(1, &mutex_, left, QS_ALLINPUT,
                                                            MWMO_INPUTAVAILABLE)
                              : WaitForSingleObject(mutex_, left);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
      // Abandoned: a copy ended while it held the lists. It is ours now, and the lists are
      // worked on as that copy left them.
      held_ = true;
      return true;
    }
    if (pump && result == WAIT_OBJECT_0 + 1 && left > 0) {
      pump();
      continue;
    }
    return false;  // timed out or failed
  }
}
