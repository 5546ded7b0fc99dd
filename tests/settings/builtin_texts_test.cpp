#include <gtest/gtest.h>

#include <string>

#include "settings/builtin_texts.h"

namespace {

TEST(BuiltInTextsTest, PolishLettersSurviveTheSourceEncoding) {
  // Spelled with escapes here, so a compiler reading the source in the wrong code page fails.
  EXPECT_EQ(kBuiltInLanguageTexts[1], L"Importuj list\u0119");
  EXPECT_EQ(kBuiltInSummaryText[0], L"Liczba ostatnio u\u017cywanych plik\u00f3w dla VB5: ");
  EXPECT_EQ(kBuiltInSummaryText[2], L" martwych wpis\u00f3w");
  for (std::wstring_view text : kBuiltInLanguageTexts)
    for (wchar_t c : text) EXPECT_TRUE(c >= 0x20 && c != 0xFFFD) << std::wstring(text);
}

TEST(BuiltInTextsTest, TheDescriptionHoldsTheFourParagraphsInItsOwnLayout) {
  // One CR LF after the first paragraph, an empty line after the second and third, and a
  // final CR LF.
  std::wstring expected(kBuiltInLanguageTexts[5]);
  expected += L"\r\n";
  expected += kBuiltInLanguageTexts[6];
  expected += L"\r\n\r\n";
  expected += kBuiltInLanguageTexts[7];
  expected += L"\r\n\r\n";
  expected += kBuiltInLanguageTexts[8];
  expected += L"\r\n";
  EXPECT_EQ(kBuiltInDescription, expected);
}

}  // namespace
