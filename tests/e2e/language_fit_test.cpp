// Every shipped language at 96 and 144 DPI: each window of the program opens in it, and each
// control's text fits the control, in the font the program gives it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/listslock.h"
#include "common/text.h"
#include "driver/app_test.h"
#include "driver/screen_dpi.h"
#include "forms/ids.h"
#include "support/registry_lists.h"
#include "support/scratch_registry.h"

namespace {

using namespace ui;
namespace f1 = ids::form1;
namespace ex = ids::frmexport;
namespace im = ids::frmimport;
namespace rv = ids::frmreview;
namespace cl = ids::frmclear;
namespace ide = ids::frmide;
namespace wt = ids::frmwait;

struct FitCase {
  const wchar_t* language;  // a file of lang, or Polski for the built-in texts
  int dpi;
};

class LanguageFitTest : public AppTest, public ::testing::WithParamInterface<FitCase> {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    dpi_.emplace();
    dpi_->Set(static_cast<DWORD>(GetParam().dpi));
  }

  void TearDown() override {
    if (standIn_.hProcess) {
      TerminateProcess(standIn_.hProcess, 1);
      WaitForSingleObject(standIn_.hProcess, 5000);
      CloseHandle(standIn_.hProcess);
      CloseHandle(standIn_.hThread);
    }
    if (go_) CloseHandle(go_);
    AppTest::TearDown();  // the program ends before the setting goes back
    dpi_.reset();
  }

  struct Shown {
    int id;
    Shows shows;
  };
  void ExpectFits(HWND window, const std::vector<Shown>& controls) {
    ASSERT_NE(window, nullptr);
    for (const Shown& c : controls) {
      HWND control = Control(window, c.id);
      ASSERT_NE(control, nullptr) << "no control " << c.id;
      SCOPED_TRACE("control " + std::to_string(c.id) + " \"" + Utf8(Text(control)) + "\"");
      ExpectTextFits(control, c.shows, GetParam().dpi);
    }
  }

  HWND FromMenu(HWND main, UINT command, const wchar_t* window_class) {
    PostMessageW(main, WM_SYSCOMMAND, command, 0);
    return WaitForWindow(app(), window_class, nullptr, Visibility::Visible);
  }
  HWND FromButton(HWND main, int button, const wchar_t* window_class) {
    Click(Control(main, button));
    return WaitForWindow(app(), window_class, nullptr, Visibility::Visible);
  }
  void Close(HWND window, int cancel) {
    Click(Control(window, cancel));
    EXPECT_TRUE(WaitForWindowGone(window, kTimeout, true)) << "the window stays open";
    if (const auto box = WaitForMessageBox(app(), Millis(300))) CloseMessageBox(box->window);
  }
  std::wstring ShotOf(const wchar_t* window) const {
    return std::wstring(window) + L"-" + GetParam().language + L"-" + std::to_wstring(GetParam().dpi);
  }

  // A stand-in for Visual Basic 6.0, running as VB6.EXE until the test ends.
  void StartStandIn() {
    const std::wstring exe = ideFolder_ / L"VB6.EXE";
    ASSERT_TRUE(CopyFileW(UnixToWindowsPath(Utf8(EnvVar(L"BRUSHWICK_STANDIN"))).c_str(), exe.c_str(), FALSE));
    // It runs until the event it waits for is set, which this test never does.
    const std::wstring event = L"Brushwick.Test.FitStandIn." + std::to_wstring(GetCurrentProcessId());
    go_ = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    ASSERT_NE(go_, nullptr);
    std::wstring command = L"\"" + exe + L"\" " + event;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               ideFolder_.path().c_str(), &startup, &standIn_));
  }

 private:
  std::optional<ScreenDpi> dpi_;
  TempFolder ideFolder_;
  PROCESS_INFORMATION standIn_{};
  HANDLE go_ = nullptr;
};

TEST_P(LanguageFitTest, EveryWindowsTextsFitTheirControls) {
  const std::wstring language = GetParam().language;
  folder().CopyLanguages();
  folder().WriteOptions(language == L"Polski" ? "#\r\n" : Utf8(language) + "\r\n");
  SeedList("5.0", {WideToAnsi(folder().path()), WideToAnsi(folder() / L"gone.vbp")});
  Launch();
  const std::wstring title = L"Brushwick";
  HWND main = WaitForWindow(app(), ids::kForm1Class, &title, Visibility::Visible);
  ASSERT_NE(main, nullptr) << "no main window";
  ASSERT_FALSE(BoxOpen(main)) << "the language did not apply";
  if (language != L"Polski") {
    EXPECT_EQ(Text(Control(main, f1::Command4)), ReadShippedLanguage(language).lines[1]);
  }
  ExpectFits(main, {{f1::Frame1, Shows::Frame},
                    {f1::Label1, Shows::Wrapped},
                    {f1::Command1, Shows::Caption},
                    {f1::Command4, Shows::Caption},
                    {f1::Command5, Shows::Caption},
                    {f1::Command3, Shows::Caption}});
  Shoot(main, ShotOf(L"main"));

  HWND w = FromButton(main, f1::Command5, ids::kFrmExportClass);
  ExpectFits(w, {{ex::Frame1, Shows::Frame},
                 {ex::Frame2, Shows::Frame},
                 {ex::Check1, Shows::CheckBox},
                 {ex::Check2, Shows::CheckBox},
                 {ex::Command1, Shows::Caption},
                 {ex::Command2, Shows::Caption}});
  Shoot(w, ShotOf(L"export"));
  Close(w, ex::Command2);

  w = FromButton(main, f1::Command4, ids::kFrmImportClass);
  ExpectFits(w, {{im::Frame1, Shows::Frame}, {im::Command1, Shows::Caption}, {im::Command2, Shows::Caption}});
  Shoot(w, ShotOf(L"import"));
  Close(w, im::Command2);

  w = FromMenu(main, ids::form1menu::Review, ids::kFrmReviewClass);
  ExpectFits(w, {{rv::Command1, Shows::Caption}, {rv::Command2, Shows::Caption}});
  Shoot(w, ShotOf(L"review"));
  Close(w, rv::Command2);

  w = FromMenu(main, ids::form1menu::Clear, ids::kFrmClearClass);
  ExpectFits(w, {{cl::Frame1, Shows::Frame}, {cl::Command1, Shows::Caption}, {cl::Command2, Shows::Caption}});
  Shoot(w, ShotOf(L"clear"));
  Close(w, cl::Command2);

  {
    ListsLock other_copy;
    ASSERT_TRUE(other_copy.Acquire(0));
    w = FromButton(main, f1::Command1, ids::kFrmWaitClass);
    ExpectFits(w, {{wt::Label1, Shows::Wrapped}, {wt::Command1, Shows::Caption}});
    Shoot(w, ShotOf(L"wait"));
    Close(w, wt::Command1);
  }

  StartStandIn();
  w = FromButton(main, f1::Command1, ids::kFrmIdeClass);
  ExpectFits(w, {{ide::Label1, Shows::Wrapped},
                 {ide::Command1, Shows::Caption},
                 {ide::Command2, Shows::Caption},
                 {ide::Command3, Shows::Caption}});
  Shoot(w, ShotOf(L"ide"));
  Close(w, ide::Command3);
}

// The windows whose texts a language makes long stay on the screen: the IDE question and the
// wait grow to their texts up to the screen's size, and a question of 200 line breaks is cut to it.
class LongTextTest : public LanguageFitTest {};

TEST_P(LongTextTest, TheAddedWindowsGrowToTheirTextsButStayOnTheScreen) {
  const ShippedLanguage english = ReadShippedLanguage(L"English");
  std::string file;
  for (const std::wstring& line : english.lines) file += WideToAnsi(line) + "\r\n";
  std::string breaks;
  for (int i = 0; i < 200; ++i) breaks += "\\n";
  std::string words;
  while (words.size() < 3000) words += "waiting ";
  file += "IdeGoOn=Go on now, without waiting for Visual Basic to close\r\n"
          "ClearButton=Clear the list I chose above\r\n"
          "IdeQuestion=Open: {1}." + breaks + "The end.\r\n"
          "ClearQuestion=Remove {1}? {2}" + breaks + "Really?\r\n"
          "WaitingForOtherCopy=" + words + "\r\n";
  MakeFolders(folder() / L"lang");
  WriteFileBytes(folder() / L"lang\\Long.txt", file);
  folder().WriteOptions("Long\r\n");
  SeedList("5.0", {WideToAnsi(folder() / L"gone.vbp")});
  Launch();
  const std::wstring title = L"Brushwick";
  HWND main = WaitForWindow(app(), ids::kForm1Class, &title, Visibility::Visible);
  ASSERT_NE(main, nullptr) << "no main window";
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  auto expect_on_screen = [&](HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_TRUE(r.left >= screen.left && r.top >= screen.top && r.right <= screen.right && r.bottom <= screen.bottom)
        << "the window " << Show(r) << " leaves the screen " << Show(screen);
  };

  HWND w = FromMenu(main, ids::form1menu::Clear, ids::kFrmClearClass);
  ExpectFits(w, {{cl::Frame1, Shows::Frame}, {cl::Command1, Shows::Caption}, {cl::Command2, Shows::Caption}});
  expect_on_screen(w);
  Shoot(w, ShotOf(L"clear-long"));
  Click(Control(w, cl::Command1));
  if (const auto box = WaitForMessageBox(app())) {
    expect_on_screen(box->window);
    EXPECT_EQ(box->text, L"Remove the VB5 list? VB5: 1\r\n\r\nReally?") << "empty lines shrink to one";
    Shoot(box->window, ShotOf(L"clear-question-long"));
    EXPECT_TRUE(AnswerMessageBox(box->window, IDNO));
  } else {
    ADD_FAILURE() << "no question";
  }
  if (IsWindowVisible(w)) Close(w, cl::Command2);

  {
    ListsLock other_copy;
    ASSERT_TRUE(other_copy.Acquire(0));
    w = FromButton(main, f1::Command1, ids::kFrmWaitClass);
    ExpectFits(w, {{wt::Label1, Shows::Wrapped}, {wt::Command1, Shows::Caption}});
    expect_on_screen(w);
    Shoot(w, ShotOf(L"wait-long"));
    Close(w, wt::Command1);
  }

  StartStandIn();
  w = FromButton(main, f1::Command1, ids::kFrmIdeClass);
  ExpectFits(w, {{ide::Command1, Shows::Caption}, {ide::Command2, Shows::Caption}, {ide::Command3, Shows::Caption}});
  expect_on_screen(w);
  EXPECT_GT(ClientSize(Control(w, ide::Label1)).cy, ClientSize(w).cy / 2) << "the question did not grow";
  Shoot(w, ShotOf(L"ide-long"));
  Close(w, ide::Command3);
}

INSTANTIATE_TEST_SUITE_P(Dpi, LongTextTest, ::testing::Values(FitCase{L"Long", 96}, FitCase{L"Long", 144}),
                         [](const ::testing::TestParamInfo<FitCase>& param) {
                           return std::to_string(param.param.dpi);
                         });

std::vector<FitCase> AllCases() {
  std::vector<FitCase> cases;
  for (const wchar_t* language :
       {L"Polski", L"English", L"Deutsch", L"Francais", L"Espanol", L"Portugues", L"Italiano", L"Russkiy"})
    for (int dpi : {96, 144}) cases.push_back({language, dpi});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageFitTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<FitCase>& param) {
                           return Utf8(param.param.language) + "_" + std::to_string(param.param.dpi);
                         });

}  // namespace
