#include "common/listslock.h"

#include <gtest/gtest.h>

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

}  // namespace
