// The form runtime on its own, linked without the windows: rows call their window's members, a
// row's control is subclassed for the window, window menus follow what is available, and the
// progress of long work shows as it should.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "forms/form.h"
#include "forms/form_ids.h"

namespace {

using forms::ControlDef;
using forms::Kind;

enum : int { kButton = 101, kEdit = 102 };

class Probe : public forms::Form {
 public:
  explicit Probe(std::span<const forms::MenuCommandDef> menu = {});
  int clicks = 0, changes = 0;
  std::wstring seen;  // the characters the edit's row saw first
  void Clicked() { ++clicks; }
  void Changed() { ++changes; }
  // Takes 'x' away from the edit; everything else goes on to it.
  bool EditMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_CHAR) return false;
    seen += static_cast<wchar_t>(wParam);
    return wParam == L'x';
  }
};

constexpr ControlDef kRows[] = {
    {.name = L"Command1", .id = kButton, .kind = Kind::Button, .text = Text::Cancel, .twips = {120, 120, 1200, 375},
     .onClick = forms::Bind<&Probe::Clicked>},
    {.name = L"Text1", .id = kEdit, .kind = Kind::TextBox, .twips = {120, 600, 2400, 285}, .tabIndex = 1,
     .onClick = forms::Bind<&Probe::Changed>, .onMessage = forms::Bind<&Probe::EditMessage>},
};
constexpr forms::FormDef kProbe{.className = L"Brushwick.Test.Probe", .caption = Text::ProgramName,
                                .clientWidth = 2700, .clientHeight = 1020, .controls = kRows};

Probe::Probe(std::span<const forms::MenuCommandDef> menu) : forms::Form(kProbe, menu) {}

bool available = true;
void Nothing(forms::Form&) {}
constexpr forms::MenuCommandDef kMenu[] = {
    {.id = 0x0110, .text = Text::MenuUndo, .run = &Nothing, .available = [] { return available; }}};

UINT MenuState(const forms::Form& form) {
  return GetMenuState(GetSystemMenu(form.hwnd(), FALSE), kMenu[0].id, MF_BYCOMMAND);
}

TEST(FormRuntime, RowsCallTheMembersTheyBind) {
  Probe probe;
  probe.Load();
  SendMessageW(probe.Control(kButton), BM_CLICK, 0, 0);
  SendMessageW(probe.Control(kButton), BM_CLICK, 0, 0);
  EXPECT_EQ(probe.clicks, 2);
  const int changesBefore = probe.changes;
  probe.SetControlText(kEdit, L"abc");
  EXPECT_EQ(probe.changes, changesBefore + 1);
  EXPECT_EQ(probe.clicks, 2);
}

TEST(FormRuntime, ARowsControlShowsTheWindowItsMessagesFirstEachTimeItIsBuilt) {
  Probe probe;
  for (int load = 0; load < 2; ++load) {
    SCOPED_TRACE(load);
    probe.seen.clear();
    probe.Load();
    HWND edit = probe.Control(kEdit);
    for (wchar_t c : std::wstring(L"axbx")) SendMessageW(edit, WM_CHAR, c, 1);
    EXPECT_EQ(probe.seen, L"axbx");
    EXPECT_EQ(probe.ControlText(kEdit), L"ab");
    // Discarded, the window goes with its controls; the next load subclasses anew.
    probe.Discard();
    EXPECT_FALSE(IsWindow(edit));
  }
}

TEST(FormRuntime, RefreshMenusGreysOutWhatIsNotAvailable) {
  Probe probe(kMenu);
  available = true;
  probe.Load();
  EXPECT_EQ(MenuState(probe) & MF_GRAYED, 0u);
  available = false;
  forms::RefreshMenus();
  EXPECT_NE(MenuState(probe) & MF_GRAYED, 0u);
  available = true;
  forms::RefreshMenus();
  EXPECT_EQ(MenuState(probe) & MF_GRAYED, 0u);
}

// The progress shows once its work has run a second, over its owner, which it disables; it runs
// to and fro while the work cannot count, then shows the part done and the count; it goes with
// its owner given back.
TEST(FormRuntime, AProgressShowsAfterASecondAndCountsOnceTheWorkCan) {
  namespace pid = forms::progresswindow;
  Probe owner;
  owner.Show();
  {
    forms::ProgressShown progress(owner.hwnd(), L"Working");
    Sleep(1100);
    progress.Tick();
    HWND window = FindWindowW(pid::kClass, nullptr);
    ASSERT_NE(window, nullptr) << "no progress after a second";
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), owner.hwnd());
    EXPECT_FALSE(IsWindowEnabled(owner.hwnd()));
    HWND bar = GetDlgItem(window, pid::ProgressBar1);
    wchar_t text[64] = {};
    GetDlgItemTextW(window, pid::Label1, text, 64);
    EXPECT_STREQ(text, L"Working");
    EXPECT_NE(GetWindowLongW(bar, GWL_STYLE) & PBS_MARQUEE, 0) << "no count yet: the bar runs to and fro";
    EXPECT_EQ(GetDlgItemTextW(window, pid::Label2, text, 64), 0) << "a count before the work counts";
    Sleep(150);  // past the tenth of a second between two changes
    progress.Update(500, 2000);
    EXPECT_EQ(GetWindowLongW(bar, GWL_STYLE) & PBS_MARQUEE, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 250) << "a quarter, in thousandths";
    GetDlgItemTextW(window, pid::Label2, text, 64);
    EXPECT_EQ(std::wstring(text).rfind(L"500 ", 0), 0u) << text;
  }
  EXPECT_EQ(FindWindowW(pid::kClass, nullptr), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

}  // namespace
