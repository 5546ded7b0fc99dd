#include <gtest/gtest.h>

#include <string>

#include "common/propercase.h"

namespace {

TEST(ProperCaseTest, PolishLettersFollowTheLocaleCaseRules) {
  EXPECT_EQ(ProperCase(L"żółw źdźbło"), L"Żółw Źdźbło");
  EXPECT_EQ(ProperCase(L"ŁÓDŹ"), L"Łódź");
  EXPECT_EQ(ProperCase(L"ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż"), L"Ąćęłńóśźż Ąćęłńóśźż");
}

TEST(ProperCaseTest, OnlyTheFirstLetterOfAWordIsACapital) {
  EXPECT_EQ(ProperCase(L"ENGLISH"), L"English");
  EXPECT_EQ(ProperCase(L"new zealand"), L"New Zealand");
  EXPECT_EQ(ProperCase(L"nEW ZEALAND"), L"New Zealand");
}

TEST(ProperCaseTest, SignsAndDigitsStartNoWord) {
  EXPECT_EQ(ProperCase(L"jean-luc"), L"Jean-luc");
  EXPECT_EQ(ProperCase(L"2nd"), L"2nd");
  EXPECT_EQ(ProperCase(L"st.john"), L"St.john");
  EXPECT_EQ(ProperCase(L"new_zealand"), L"New_zealand");
  EXPECT_EQ(ProperCase(L"(abc)"), L"(abc)");
}

TEST(ProperCaseTest, BlanksAndControlCharactersStartWords) {
  EXPECT_EQ(ProperCase(L"a  b   c"), L"A  B   C");
  EXPECT_EQ(ProperCase(L" lead"), L" Lead");
  EXPECT_EQ(ProperCase(L"a\tb\rc\nd\ve\ff"), L"A\tB\rC\nD\vE\fF");
  EXPECT_EQ(ProperCase(std::wstring(L"a\0b", 3)), std::wstring(L"A\0B", 3));
}

TEST(ProperCaseTest, EmptyTextStaysEmpty) { EXPECT_EQ(ProperCase(L""), L""); }

}  // namespace
