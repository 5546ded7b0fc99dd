#include "forms/form1.h"

#include <gtest/gtest.h>

#include "forms/frmexport.h"
#include "forms/frmimport.h"
#include "forms/frmlang.h"
#include "forms/messages.h"

namespace {

TEST(Form1Summary, BuiltInTextMatchesTheExampleByteForByte) {
  Form1 form;
  for (size_t i = 0; i < 6; ++i)
    form.SummaryText[i] = BuiltInText(static_cast<Text>(static_cast<size_t>(Text::Summary1) + i), true);
  CleanOutcome vb5{12, 3, 0, ""}, vb6{};
  EXPECT_EQ(form.Summary(vb5, vb6),
            L"Liczba ostatnio używanych plików dla VB5: 12\r\n"
            L"z czego usunięto 3 martwych wpisów\r\n"
            L"\r\n"
            L"Liczba ostatnio używanych plików dla VB6: 0\r\n"
            L"z czego usunięto 0 martwych wpisów\r\n");
}

TEST(Form1Summary, PiecesAreUsedExactlyAsGiven) {
  Form1 form;
  form.SummaryText = {L"A", L"", L"b ", L" C:", L"d", L""};
  EXPECT_EQ(form.Summary({1000, 999, 0, ""}, {7, 0, 0, ""}), L"A1000\r\n999b \r\n\r\n C:7\r\nd0\r\n");
}

TEST(Form1HomePage, OnlyTheBuiltInTextsGetThePolishPage) {
  const std::wstring polish = HomePageAddress("#");
  EXPECT_NE(polish, HomePageAddress("English"));
  EXPECT_EQ(HomePageAddress("English"), HomePageAddress(""));
  EXPECT_EQ(HomePageAddress("English"), HomePageAddress("# "));
  EXPECT_EQ(HomePageAddress("English"), HomePageAddress("Polski"));
  EXPECT_TRUE(polish.starts_with(L"https://"));
}

TEST(Form1FailureNote, NamesTheVersionTheEntryAndTheStatus) {
  CurrentTexts().Reset(true);
  EXPECT_EQ(ChangeFailureNote("6.0", CleanOutcome{3, 1, 0, ""}), L"");
  const std::wstring polish = ChangeFailureNote("6.0", CleanOutcome{3, 0, ERROR_ACCESS_DENIED, "2"});
  const std::wstring polishUnchecked = UncheckedEntriesNote("6.0", CleanOutcome{1000, 0, 0, "", false, 4000});
  EXPECT_NE(polish.find(L"VB6"), std::wstring::npos);
  EXPECT_NE(polish.find(L"\"2\""), std::wstring::npos);
  EXPECT_NE(polish.find(L"5 ERROR_ACCESS_DENIED"), std::wstring::npos);
  CurrentTexts().Reset(false);
  const std::wstring english = ChangeFailureNote("5.0", CleanOutcome{3, 0, ERROR_ACCESS_DENIED, "1"});
  EXPECT_NE(english.find(L"The VB5 list could not be changed"), std::wstring::npos);

  CleanOutcome longList{1000, 500, 0, ""};
  EXPECT_EQ(UncheckedEntriesNote("5.0", longList), L"");
  longList.unchecked = 4000;
  EXPECT_EQ(UncheckedEntriesNote("5.0", longList),
            L"The VB5 list holds more entries than the 1000 checked: the other 4000 were not checked and "
            L"were kept as they are, in their order.\r\n");
  EXPECT_NE(polishUnchecked.find(L"Lista VB6 zawiera więcej wpisów"), std::wstring::npos);
}

TEST(BuiltInTexts, PolishLettersSurviveTheSourceEncoding) {
  // Spelled with escapes here, so a compiler reading the source in the wrong code page fails.
  EXPECT_EQ(std::wstring_view(BuiltInText(Text::Summary1, true)), L"Liczba ostatnio u\u017cywanych plik\u00f3w dla VB5: ");
  EXPECT_EQ(std::wstring_view(BuiltInText(Text::Summary3, true)), L" martwych wpis\u00f3w");
  EXPECT_EQ(std::wstring_view(BuiltInText(Text::MainImport, true)), L"Importuj list\u0119");
  for (std::size_t i = 0; i < std::size(kTexts); ++i)
    for (bool polish : {true, false})
      for (wchar_t c : std::wstring_view(BuiltInText(static_cast<Text>(i), polish)))
        EXPECT_TRUE((c >= 0x20 || c == L'\r' || c == L'\n') && c != 0xFFFD) << kTexts[i].name;
}

TEST(FormRuntime, TwipsBecomePixelsForTheDpi) {
  EXPECT_EQ(forms::TwipsToPixels(7065, 96), 471);
  EXPECT_EQ(forms::TwipsToPixels(3135, 96), 209);
  EXPECT_EQ(forms::TwipsToPixels(7065, 144), 707);  // 706.5 rounds up
  EXPECT_EQ(forms::TwipsToPixels(15, 192), 2);
}

TEST(FormRuntime, AnchoredControlsFollowTheEdgesTheyHold) {
  using forms::Anchor;
  const forms::PixelRect designed{8, 8, 100, 50};
  const struct {
    Anchor anchor;
    forms::PixelRect placed;
  } cases[] = {
      {forms::kStayTopLeft, {8, 8, 100, 50}},
      {forms::kFollowAllEdges, {8, 8, 130, 70}},
      {forms::kFollowBottomRight, {38, 28, 100, 50}},
      {Anchor::Left | Anchor::Right | Anchor::Bottom, {8, 28, 130, 50}},
      {Anchor::Top | Anchor::Bottom, {8, 8, 100, 70}},
  };
  for (const auto& c : cases) EXPECT_TRUE(forms::FollowEdges(designed, c.anchor, 30, 20) == c.placed);
}

}  // namespace
