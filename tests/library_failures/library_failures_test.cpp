#include <gtest/gtest.h>

#include <exception>
#include <new>
#include <string>
#include <vector>

// This exe links src/library_failures.cpp, as the shipped one does.
namespace {

std::string WhatOf(void (*body)()) {
  try {
    body();
  } catch (const std::bad_alloc&) {
    return "bad_alloc";
  } catch (const std::exception& e) {
    return e.what();
  }
  return "nothing thrown";
}

// The texts are worded from the library's formats by hand: numbers and %s are where it can go wrong.
TEST(LibraryFailuresTest, OutOfRangeTextsNameTheFigures) {
  EXPECT_EQ(WhatOf([] { (void)std::string("abc").substr(10); }),
            "basic_string::substr: __pos (which is 10) > this->size() (which is 3)");
  EXPECT_EQ(WhatOf([] { (void)std::vector<int>(2).at(4294967295u); }),
            "vector::_M_range_check: __n (which is 4294967295) >= this->size() (which is 2)");
}

TEST(LibraryFailuresTest, OtherFailuresKeepTheLibraryTextOrType) {
  EXPECT_EQ(WhatOf([] { (void)std::string(static_cast<const char*>(nullptr)); }),
            "basic_string: construction from null is not valid");
  EXPECT_EQ(WhatOf([] { std::string().reserve(std::string().max_size() + 1); }), "basic_string::_M_create");
  EXPECT_EQ(WhatOf([] { std::__throw_bad_alloc(); }), "bad_alloc");
}

}  // namespace
