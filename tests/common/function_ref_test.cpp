#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/function_ref.h"

namespace {

int Twice(int value) { return 2 * value; }

// Callers test a FunctionRef for emptiness before calling it, as they did a std::function.
TEST(FunctionRefTest, EmptyOnlyWhenNothingCallableWasGiven) {
  EXPECT_FALSE(FunctionRef<void()>());
  EXPECT_FALSE(FunctionRef<void()>(nullptr));
  EXPECT_FALSE(FunctionRef<int(int)>(static_cast<int (*)(int)>(nullptr)));
  const std::function<void()> none;
  EXPECT_FALSE(FunctionRef<void()>(none));
  const auto lambda = [] {};
  EXPECT_TRUE(FunctionRef<void()>(lambda));
}

TEST(FunctionRefTest, CallsTheCallableItRefersTo) {
  EXPECT_EQ(FunctionRef<int(int)>(Twice)(21), 42);
  int calls = 0;
  auto count = [&calls](const std::string& text) { calls += static_cast<int>(text.size()); };
  const FunctionRef<void(const std::string&)> ref(count);
  ref("abc");
  ref("de");
  EXPECT_EQ(calls, 5);
  const std::function<int(int)> wrapped = [](int value) { return value + 1; };
  EXPECT_EQ(FunctionRef<int(int)>(wrapped)(1), 2);
}

}  // namespace
