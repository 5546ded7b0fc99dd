#include "common/listslock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

namespace {

// A lock of this test's own: the program's is shared with every test running at the same time.
const std::wstring kName = L"Local\\BrushwickListsLockTest." + std::to_wstring(GetCurrentProcessId());

// Another holder keeps the lock from us; a holder that ends without giving it back leaves it to
// the next one, which then owns it (and must give it back in turn); its holder cannot take it a
// second time.
TEST(ListsLockTest, WaitsForAnotherHolderAndTakesOverAnAbandonedOne) {
  HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE end = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  auto* left = new ListsLock(kName.c_str());  // never destroyed: its thread ends holding the lock
  std::thread holder([&] {
    EXPECT_TRUE(left->Acquire(0));
    SetEvent(taken);
    WaitForSingleObject(end, INFINITE);
  });
  WaitForSingleObject(taken, INFINITE);
  {
    ListsLock waiting(kName.c_str());
    EXPECT_FALSE(waiting.Acquire(50));
    EXPECT_FALSE(waiting.Held());
  }
  SetEvent(end);
  holder.join();
  {
    ListsLock next(kName.c_str());
    EXPECT_TRUE(next.Acquire(0));
    EXPECT_TRUE(next.Acquire(0)) << "taking it again while held";
    // A second command of the same copy must not get in between.
    ListsLock nested(kName.c_str());
    EXPECT_FALSE(nested.Acquire(50)) << "the thread that holds it took it a second time";
  }
  std::thread([] {
    ListsLock after(kName.c_str());
    EXPECT_TRUE(after.Acquire(0)) << "the lock was not given back";
  }).join();
  CloseHandle(taken);
  CloseHandle(end);
}

// A holder that fails (an exception leaves the scope that took the lock) gives the lock to the
// copy already waiting for it at once, though the failed holder's thread lives on.
TEST(ListsLockTest, AHolderThatFailsGivesTheLockToTheOneWaiting) {
  HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr), waiting = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE end = CreateEventW(nullptr, TRUE, FALSE, nullptr), nextDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread failing([&] {
    try {
      ListsLock lock(kName.c_str());
      EXPECT_TRUE(lock.Acquire(0));
      SetEvent(taken);
      WaitForSingleObject(waiting, INFINITE);
      throw std::runtime_error("the command failed");
    } catch (const std::runtime_error&) {
    }
    WaitForSingleObject(end, INFINITE);  // the copy lives on after its failure
  });
  WaitForSingleObject(taken, INFINITE);
  bool got = false;
  std::thread next([&] {
    ListsLock lock(kName.c_str());
    got = lock.Take([&](HANDLE mutex) {
      SetEvent(waiting);
      const DWORD result = WaitForSingleObject(mutex, 60000);
      return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }) == ListsLock::Outcome::Taken;
    SetEvent(nextDone);
  });
  // Bounded only against a hang: the lock is free as soon as the holder has failed.
  EXPECT_EQ(WaitForSingleObject(nextDone, 20000), WAIT_OBJECT_0) << "the waiting copy was shut out";
  SetEvent(end);
  next.join();
  failing.join();
  EXPECT_TRUE(got);
  for (HANDLE event : {taken, waiting, end, nextDone}) CloseHandle(event);
}

}  // namespace
