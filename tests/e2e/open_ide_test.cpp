// Start while a Visual Basic IDE is open: a stand-in copied as VB6.EXE holds its 6.0 list and
// writes it back when told to, then exits, as the IDE does when it closes.
#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "driver/app_test.h"
#include "forms/ids.h"
#include "support/scratch_registry.h"

namespace {

using namespace ui;
namespace ide = ids::frmide;

const std::wstring kTitle = L"Brushwick";

std::wstring Summary(int vb5_count, int vb5_removed, int vb6_count, int vb6_removed) {
  return L"Liczba ostatnio używanych plików dla VB5: " + std::to_wstring(vb5_count) + L"\r\n" +
         L"z czego usunięto " + std::to_wstring(vb5_removed) + L" martwych wpisów\r\n\r\n" +
         L"Liczba ostatnio używanych plików dla VB6: " + std::to_wstring(vb6_count) + L"\r\n" +
         L"z czego usunięto " + std::to_wstring(vb6_removed) + L" martwych wpisów\r\n";
}

struct Case {
  const char* name;
  int button;
  std::wstring summary;  // empty: no summary, nothing changes
  std::vector<int> vb6After;  // indexes into the entries below
};

class IdeTest : public AppTest {
 protected:
  void TearDown() override {
    if (standIn_.hProcess) {
      TerminateProcess(standIn_.hProcess, 1);
      WaitForSingleObject(standIn_.hProcess, 5000);
      CloseHandle(standIn_.hProcess);
      CloseHandle(standIn_.hThread);
    }
    if (go_) CloseHandle(go_);
    AppTest::TearDown();
  }

  // The stand-in, started from a folder of its own as VB6.EXE, to write `entries` when told.
  void StartStandIn(const std::vector<std::string>& entries) {
    const std::wstring exe = ideFolder_ / L"VB6.EXE";
    ASSERT_TRUE(CopyFileW(EnvVarPath().c_str(), exe.c_str(), FALSE)) << "no stand-in IDE";
    const std::string event = "Brushwick.Test.StandIn." + std::to_string(GetCurrentProcessId());
    go_ = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    ASSERT_NE(go_, nullptr);
    std::wstring command = L"\"" + exe + L"\" " + AnsiToWide(event);
    for (const std::string& e : entries) command += L" \"" + AnsiToWide(e) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               ideFolder_.path().c_str(), &startup, &standIn_));
  }
  static std::wstring EnvVarPath() { return UnixToWindowsPath(Utf8(EnvVar(L"BRUSHWICK_STANDIN"))); }

  TempFolder ideFolder_, files_;
  HANDLE go_ = nullptr;
  PROCESS_INFORMATION standIn_{};
};

class OpenIdeTest : public IdeTest, public ::testing::WithParamInterface<Case> {};

TEST_P(OpenIdeTest, StartAsksAndDoesWhatTheAnswerSays) {
  const Case& c = GetParam();
  WriteBytes(files_ / L"alive.vbp", "");
  const std::vector<std::string> e = {WideToAnsi(files_ / L"alive.vbp"), WideToAnsi(files_ / L"gone.vbp"),
                                      WideToAnsi(files_ / L"gone2.vbp")};
  SeedList("5.0", {e[1]});
  SeedList("6.0", {e[1], e[0]});
  // What the IDE writes when it closes: two more entries, one of them dead.
  StartStandIn({e[0], e[2], e[1], e[0]});
  folder().WriteOptions("#\r\n");
  Launch();
  HWND main = WaitForWindow(app(), ids::kForm1Class, &kTitle, Visibility::Visible);
  ASSERT_NE(main, nullptr);

  Click(Control(main, ids::form1::Command1));
  HWND question = WaitForWindow(app(), ids::kFrmIdeClass, nullptr, Visibility::Visible);
  ASSERT_NE(question, nullptr) << "no question about the open IDE";
  EXPECT_NE(Text(Control(question, ide::Label1)).find(L"Visual Basic 6.0 (VB6.EXE)"), std::wstring::npos);
  EXPECT_TRUE(MeasureWrappedText(Control(question, ide::Label1)).fits());
  Shoot(question, L"question");
  Click(Control(question, c.button));

  if (c.button == ide::Command1) {
    HWND wait = WaitForWindow(app(), ids::kFrmWaitClass, nullptr, Visibility::Visible);
    ASSERT_NE(wait, nullptr) << "no wait window";
    EXPECT_NE(Text(Control(wait, ids::frmwait::Label1)).find(L"VB6.EXE"), std::wstring::npos);
    EXPECT_FALSE(MessageBoxAppears(app(), Millis(700))) << "Wait did not wait";
    EXPECT_EQ(ReadList("6.0"), (std::vector<std::string>{e[1], e[0]}));
    // The IDE closes: it writes its list and exits, and the change is made on what it wrote.
    ASSERT_TRUE(SetEvent(go_));
  }
  if (c.summary.empty()) {
    EXPECT_FALSE(MessageBoxAppears(app(), Millis(700)));
    EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{e[1]});
    EXPECT_TRUE(ListsFree());
  } else {
    auto box = WaitForMessageBox(app());
    ASSERT_TRUE(box) << "no summary";
    EXPECT_EQ(box->text, c.summary);
    EXPECT_TRUE(CloseMessageBox(box->window));
    EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{});
  }
  // Otherwise the IDE closes only now, and writes its old list back over any change.
  ASSERT_TRUE(SetEvent(go_));
  EXPECT_EQ(WaitForSingleObject(standIn_.hProcess, 10000), WAIT_OBJECT_0);
  std::vector<std::string> after;
  for (int i : c.vb6After) after.push_back(e[static_cast<size_t>(i)]);
  EXPECT_EQ(ReadList("6.0"), after);
}

// Wait cleans what the IDE wrote; Go on now cleans the list of the moment, which the IDE then
// writes back; Cancel changes nothing.
INSTANTIATE_TEST_SUITE_P(
    Answers, OpenIdeTest,
    ::testing::Values(
        Case{"Wait", ide::Command1, Summary(1, 1, 4, 2), {0, 0}},
        Case{"GoOnNow", ide::Command2,
             Summary(1, 1, 2, 1) + L"\r\nPodczas zmiany otwarty był Visual Basic 6.0 (VB6.EXE); zamykany może "
                                   L"zapisać z powrotem swoją starą listę.\r\n",
             {0, 2, 1, 0}},
        Case{"Cancel", ide::Command3, L"", {0, 2, 1, 0}}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

// With only VB6.EXE open, an import of a 5.0 list and the undo of it change the 5.0 list alone:
// neither asks about the IDE.
TEST_F(IdeTest, ChangesToTheOtherListGoOnWithoutAsking) {
  SeedList("5.0", {"C:\\old.vbp"});
  SeedList("6.0", {"C:\\six.vbp"});
  WriteFileBytes(folder() / L"piec.rec", " 1 \r\n 0 \r\n[]\r\nC:\\new.vbp\r\n");
  StartStandIn({"C:\\six.vbp"});
  folder().WriteOptions("#\r\n");
  Launch();
  HWND main = WaitForWindow(app(), ids::kForm1Class, &kTitle, Visibility::Visible);
  ASSERT_NE(main, nullptr);

  Click(Control(main, ids::form1::Command4));
  HWND import = WaitForWindow(app(), ids::kFrmImportClass, nullptr, Visibility::Visible);
  ASSERT_NE(import, nullptr);
  Click(Control(import, ids::frmimport::Command1));
  auto box = WaitForMessageBox(app());
  ASSERT_TRUE(box) << "the import asked about the open IDE or said nothing";
  EXPECT_EQ(box->text, L"OK");
  EXPECT_TRUE(CloseMessageBox(box->window));
  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{"C:\\new.vbp"});

  PostMessageW(main, WM_SYSCOMMAND, ids::form1menu::Undo, 0);
  box = WaitForMessageBox(app());
  ASSERT_TRUE(box) << "the undo asked about the open IDE or said nothing";
  EXPECT_EQ(box->text, L"Przywrócono listy sprzed ostatniej zmiany.");
  EXPECT_TRUE(CloseMessageBox(box->window));
  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{"C:\\old.vbp"});
}

}  // namespace
