#include <gtest/gtest.h>

#include <exception>
#include <string>

#include "common/error.h"

namespace {

// what() is worded by hand, digit by digit, so the edges of a DWORD are where it can go wrong.
TEST(AppErrorTest, WhatNamesTheErrorNumber) {
  EXPECT_STREQ(AppError(Action::OpenFile, 0, L"a.txt").what(), "Brushwick error 0");
  EXPECT_STREQ(AppError(Action::OpenFile, 1230, L"a.txt").what(), "Brushwick error 1230");
  EXPECT_STREQ(AppError(Action::OpenFile, 4294967295u, L"a.txt").what(), "Brushwick error 4294967295");
}

TEST(AppErrorTest, ACaughtCopyKeepsItsFactsAndWhat) {
  try {
    ThrowError(Action::WriteFile, ERROR_ACCESS_DENIED, L"x.rec", Problem::NameTooLong);
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const AppError*>(&e);
    ASSERT_NE(error, nullptr);
    const AppError copy = *error;
    EXPECT_STREQ(copy.what(), "Brushwick error 5");
    EXPECT_EQ(copy.subject, L"x.rec");
    EXPECT_EQ(copy.problem, Problem::NameTooLong);
    return;
  }
  FAIL() << "ThrowError did not throw";
}

}  // namespace
