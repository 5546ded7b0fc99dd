#include "common/handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpen(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != FALSE;
}

// Calls that open kernel objects fail with null or with INVALID_HANDLE_VALUE: the owner holds
// neither, and closes every handle it was given once.
TEST(KernelHandle, HoldsNeitherFailureValueAndClosesWhatItHoldsOnce) {
  for (HANDLE failed : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
    const KernelHandle none(failed);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), nullptr);
  }

  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(IsOpen(event));
  {
    KernelHandle first(event);
    EXPECT_TRUE(first);
    first.reset(event);  // the same handle again: kept, not closed
    EXPECT_TRUE(IsOpen(event));
    KernelHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), event);
    EXPECT_TRUE(IsOpen(event));
  }
  EXPECT_FALSE(IsOpen(event)) << "not closed when its owner went";

  HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
  KernelHandle owner(mutex);
  owner.reset(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(IsOpen(mutex));
  EXPECT_FALSE(owner);
}

}  // namespace
