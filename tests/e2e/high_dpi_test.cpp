// The program on a 144 DPI screen (150 %): every window is one and a half times its 96 DPI size,
// its text grows with it and none of it is cut off (driver/screen_dpi.h says how the DPI is set).
#include <windows.h>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/listslock.h"
#include "driver/app_test.h"
#include "driver/screen_dpi.h"
#include "forms/ids.h"

namespace {

using namespace ui;
namespace f1 = ids::form1;
namespace lang = ids::frmlang;
namespace ex = ids::frmexport;
namespace im = ids::frmimport;
namespace rv = ids::frmreview;
namespace cl = ids::frmclear;

constexpr int kHighDpi = 144;

struct Placed {
  int id;
  int inside;  // frame id, 0 for the window
  Shows shows;
  int left, top, width, height;  // twips
};

// The window's client area and every control sit where their twips put them at 144 DPI, one and
// a half times their 96 DPI place, and every text fits its control.
void ExpectScaledLayout(HWND window, int client_width, int client_height, const std::vector<Placed>& controls) {
  ASSERT_NE(window, nullptr);
  const SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, MulDiv(client_width, kHighDpi, 1440));
  EXPECT_EQ(client.cy, MulDiv(client_height, kHighDpi, 1440));
  EXPECT_LE(std::abs(client.cx - 1.5 * MulDiv(client_width, 96, 1440)), 1.0) << "the 96 DPI width x 1.5";
  EXPECT_LE(std::abs(client.cy - 1.5 * MulDiv(client_height, 96, 1440)), 1.0) << "the 96 DPI height x 1.5";

  for (const Placed& c : controls) {
    HWND control = Control(window, c.id);
    ASSERT_NE(control, nullptr) << "no control " << c.id;
    SCOPED_TRACE("control " + std::to_string(c.id) + " \"" + Utf8(Text(control)) + "\"");
    RECT actual = RectIn(control, c.inside ? Control(window, c.inside) : window);
    const RECT expected = TwipsRect(c.left, c.top, c.width, c.height, kHighDpi);
    // A drop-down list's own field may differ by the pixel the system rounds.
    if (ClassOf(control) == L"ComboBox" && std::abs(actual.bottom - expected.bottom) <= 1)
      actual.bottom = expected.bottom;
    EXPECT_TRUE(EqualRect(&actual, &expected)) << "is " << Show(actual) << ", expected " << Show(expected);
    ExpectTextFits(control, c.shows, kHighDpi);
  }
}

const std::vector<Placed> kMainControls = {
    {f1::Frame1, 0, Shows::Frame, 120, 120, 6855, 2295},
    {f1::Label1, f1::Frame1, Shows::Wrapped, 180, 240, 6495, 1995},
    {f1::Command1, 0, Shows::Caption, 120, 2640, 1455, 375},
    {f1::Command4, 0, Shows::Caption, 1800, 2640, 1575, 375},
    {f1::Command5, 0, Shows::Caption, 3600, 2640, 1575, 375},
    {f1::Command3, 0, Shows::Caption, 5400, 2640, 1575, 375},
};

class HighDpiTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    dpi_.emplace();
  }

  void TearDown() override {
    AppTest::TearDown();  // the program ends before the setting goes back
    dpi_.reset();
  }

  void SetScreenDpi(DWORD dpi) { dpi_->Set(dpi); }

  HWND OpenMain() {
    folder().WriteOptions("#\r\n");
    Launch();
    const std::wstring title = L"Brushwick";
    return WaitForWindow(app(), ids::kForm1Class, &title, Visibility::Visible);
  }

  HWND ShowFromMain(HWND main, int button, const wchar_t* window_class) {
    Click(Control(main, button));
    return WaitForWindow(app(), window_class, nullptr, Visibility::Visible);
  }

 private:
  std::optional<ScreenDpi> dpi_;
};

TEST_F(HighDpiTest, TheMainWindowAndItsSummaryGrowByHalf) {
  SetScreenDpi(kHighDpi);
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr) << "no main window";
  ExpectScaledLayout(main, 7065, 3135, kMainControls);
  Shoot(main, L"main");

  Click(Control(main, f1::Command1));
  const auto box = WaitForMessageBox(app());
  ASSERT_TRUE(box) << "no summary after Start";
  // The box sizes itself to its text: four lines of 144 DPI text, none cut off.
  HWND text = Control(box->window, 0xFFFF);
  ASSERT_NE(text, nullptr);
  const RECT ink = InkBounds(text);
  EXPECT_FALSE(IsRectEmpty(&ink));
  EXPECT_LT(ink.right, ClientSize(text).cx) << "the summary is cut off at the right";
  EXPECT_LE(ink.bottom, ClientSize(text).cy) << "the summary is cut off at the bottom";
  EXPECT_GE(ClientSize(text).cy, 4 * MulDiv(13, kHighDpi, 96)) << "four lines of 144 DPI text";
  Shoot(box->window, L"summary");
  EXPECT_TRUE(CloseMessageBox(box->window));
}

TEST_F(HighDpiTest, ThePickerGrowsByHalf) {
  SetScreenDpi(kHighDpi);
  folder().CopyLanguages();
  Launch();  // no options file: the picker comes first
  HWND picker = WaitForWindow(app(), ids::kFrmLangClass, nullptr, Visibility::Visible);
  ASSERT_NE(picker, nullptr) << "no picker";
  ExpectScaledLayout(picker, 2610, 2505,
                     {{lang::List1, 0, Shows::Nothing, 120, 120, 2415, 1815},
                      {lang::Command1, 0, Shows::Caption, 120, 2040, 2415, 375}});
  // The entries are one line of the 144 DPI font each.
  HWND list = Control(picker, lang::List1);
  EXPECT_EQ(ItemTexts(list), (std::vector<std::wstring>{L"Polski", L"Deutsch", L"English", L"Espanol", L"Francais",
                                                         L"Italiano", L"Portugues", L"Russkiy"}));
  EXPECT_GE(Send(list, LB_GETITEMHEIGHT, 0), ProgramTextExtent(L"Polski", kHighDpi).cy);
  Shoot(picker, L"picker");
}

TEST_F(HighDpiTest, TheExportAndImportWindowsGrowByHalf) {
  SetScreenDpi(kHighDpi);
  WriteFileBytes(folder() / L"lista.rec", " 0 \r\n 0 \r\n");
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr) << "no main window";

  HWND exp = ShowFromMain(main, f1::Command5, ids::kFrmExportClass);
  ExpectScaledLayout(exp, 4680, 2310,
                     {{ex::Frame1, 0, Shows::Frame, 120, 120, 4455, 735},
                      {ex::Text1, ex::Frame1, Shows::Nothing, 120, 240, 4215, 285},
                      {ex::Frame2, 0, Shows::Frame, 120, 960, 4455, 615},
                      {ex::Check1, ex::Frame2, Shows::CheckBox, 240, 240, 1575, 255},
                      {ex::Check2, ex::Frame2, Shows::CheckBox, 2400, 240, 1815, 255},
                      {ex::Command1, 0, Shows::Caption, 120, 1800, 1575, 375},
                      {ex::Command2, 0, Shows::Caption, 3000, 1800, 1575, 375}});
  // A typed name is one line of the 144 DPI font inside the box.
  SetText(Control(exp, ex::Text1), L"Moja lista");
  EXPECT_GE(ClientSize(Control(exp, ex::Text1)).cy, ProgramTextExtent(L"Moja lista", kHighDpi).cy);
  Shoot(exp, L"export");
  Click(Control(exp, ex::Command2));
  ASSERT_TRUE(WaitForWindowGone(exp, kTimeout, true)) << "the export window stays";

  HWND imp = ShowFromMain(main, f1::Command4, ids::kFrmImportClass);
  ExpectScaledLayout(imp, 4920, 1560,
                     {{im::Frame1, 0, Shows::Frame, 120, 120, 4695, 735},
                      {im::Combo1, im::Frame1, Shows::Nothing, 120, 240, 4455, 315},
                      {im::Command1, 0, Shows::Caption, 120, 1080, 1695, 375},
                      {im::Command2, 0, Shows::Caption, 3120, 1080, 1695, 375}});
  HWND combo = Control(imp, im::Combo1);
  EXPECT_EQ(ItemTexts(combo), std::vector<std::wstring>{L"Lista"});
  EXPECT_GE(Send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), ProgramTextExtent(L"Lista", kHighDpi).cy)
      << "the chosen name does not fit the field";
  Shoot(imp, L"import");
  Click(Control(imp, im::Command2));
  EXPECT_TRUE(WaitForWindowGone(imp, kTimeout, true)) << "the import window stays";
}

TEST_F(HighDpiTest, TheReviewClearAndWaitWindowsGrowByHalf) {
  SetScreenDpi(kHighDpi);
  SeedList("5.0", {"C:\\nie\\ma\\takiego\\projektu.vbp"});
  HWND main = OpenMain();
  ASSERT_NE(main, nullptr) << "no main window";
  PostMessageW(main, WM_SYSCOMMAND, ids::form1menu::Review, 0);
  HWND review = WaitForWindow(app(), ids::kFrmReviewClass, nullptr, Visibility::Visible);
  ExpectScaledLayout(review, 9600, 5400,
                     {{rv::ListView1, 0, Shows::Nothing, 120, 120, 9360, 4650},
                      {rv::Command1, 0, Shows::Caption, 5460, 4890, 1950, 390},
                      {rv::Command2, 0, Shows::Caption, 7530, 4890, 1950, 390}});
  Shoot(review, L"review");
  Click(Control(review, rv::Command2));
  ASSERT_TRUE(WaitForWindowGone(review, kTimeout, true)) << "the review window stays";

  PostMessageW(main, WM_SYSCOMMAND, ids::form1menu::Clear, 0);
  HWND clear = WaitForWindow(app(), ids::kFrmClearClass, nullptr, Visibility::Visible);
  ExpectScaledLayout(clear, 4920, 1560,
                     {{cl::Frame1, 0, Shows::Frame, 120, 120, 4695, 735},
                      {cl::Combo1, cl::Frame1, Shows::Nothing, 120, 240, 4455, 315},
                      {cl::Command1, 0, Shows::Caption, 120, 1080, 1695, 375},
                      {cl::Command2, 0, Shows::Caption, 3120, 1080, 1695, 375}});
  Shoot(clear, L"clear");
  Click(Control(clear, cl::Command2));
  EXPECT_TRUE(WaitForWindowGone(clear, kTimeout, true)) << "the clear window stays";

  // The window of a command that waits for another copy.
  ListsLock other_copy;
  ASSERT_TRUE(other_copy.Acquire(0));
  Click(Control(main, f1::Command1));
  HWND wait = WaitForWindow(app(), ids::kFrmWaitClass, nullptr, Visibility::Visible);
  ExpectScaledLayout(wait, 5400, 1470,
                     {{ids::frmwait::Label1, 0, Shows::Wrapped, 120, 120, 5160, 735},
                      {ids::frmwait::Command1, 0, Shows::Caption, 3585, 975, 1695, 375}});
  Shoot(wait, L"wait");
  PressKey(Control(wait, ids::frmwait::Command1), VK_ESCAPE);
  EXPECT_TRUE(WaitForWindowGone(wait)) << "the wait window stays";
}

// The description, drawn at 96 and then at 144 DPI: the text itself grows by half, it is not the
// same small text in a bigger window.
TEST_F(HighDpiTest, TheTextGrowsWithTheWindow) {
  RECT ink[2] = {};
  const DWORD dpis[2] = {96, kHighDpi};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE("at " + std::to_string(dpis[i]) + " DPI");
    SetScreenDpi(dpis[i]);
    HWND main = OpenMain();
    ASSERT_NE(main, nullptr) << "no main window";
    ASSERT_EQ(ClientSize(main).cx, MulDiv(7065, static_cast<int>(dpis[i]), 1440));
    ink[i] = InkBounds(Control(main, f1::Label1));
    ASSERT_FALSE(IsRectEmpty(&ink[i])) << "nothing drawn in the description";
    app().Kill();
  }
  // The lines grow as the font does (8 pt: 11 px at 96 DPI, 16 px at 144). The block grows less
  // than the lines: with the 96 DPI font rounded up, the first paragraph there wraps once more.
  const double wider = double(ink[1].right - ink[1].left) / (ink[0].right - ink[0].left);
  const double taller = double(ink[1].bottom - ink[1].top) / (ink[0].bottom - ink[0].top);
  EXPECT_NEAR(wider, 1.5, 0.1) << Show(ink[0]) << " at 96 DPI, " << Show(ink[1]) << " at 144";
  EXPECT_GT(taller, 1.2) << Show(ink[0]) << " at 96 DPI, " << Show(ink[1]) << " at 144";
}

}  // namespace
