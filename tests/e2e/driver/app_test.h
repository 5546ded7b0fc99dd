#pragma once
// GoogleTest side of the window driver: a fixture that gives each test a fresh program folder,
// empty registry lists and a way to start the program, and names screenshots after the test.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/listslock.h"
#include "driver/ui_driver.h"
#include "forms/ids.h"

namespace ui {

// "Suite.Test-what", the file name of a screenshot of this test.
inline std::wstring ShotName(const std::wstring& what) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "shot";
  for (char& c : name)
    if (c == '/') c = '_';  // parameterised names
  return std::wstring(name.begin(), name.end()) + L"-" + what;
}

// Saves a screenshot of the window into BRUSHWICK_SHOTS, when set; returns its path or "".
inline std::wstring Shoot(HWND window, const std::wstring& what) {
  const std::wstring folder = ShotsFolder();
  if (folder.empty()) return {};
  return SaveScreenshot(window, folder, ShotName(what));
}

// A language file shipped beside the built exe, as it shows on screen: its 23 lines, and its
// named texts by name ("\n" made a line break). UTF-8 when it starts with the byte-order mark.
struct ShippedLanguage {
  std::vector<std::wstring> lines;
  std::map<std::string, std::wstring> named;
};
inline ShippedLanguage ReadShippedLanguage(const std::wstring& name) {
  const std::wstring exe = BuiltExePath();
  std::string bytes = ReadBytes(exe.substr(0, exe.find_last_of(L"\\/")) + L"\\lang\\" + name + L".txt");
  UINT code_page = CP_ACP;
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
    bytes.erase(0, 3);
    code_page = CP_UTF8;
  }
  auto wide = [code_page](const std::string& text) {
    const int length = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
  };
  ShippedLanguage language;
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 2;
    if (language.lines.size() < 23) {
      language.lines.push_back(wide(line));
      continue;
    }
    const size_t equals = line.find('=');
    if (line.empty() || line[0] == ';' || equals == std::string::npos) continue;
    for (size_t at; (at = line.find("\\n")) != std::string::npos;) line.replace(at, 2, "\r\n");
    language.named[line.substr(0, equals)] = wide(line.substr(equals + 1));
  }
  return language;
}
inline std::vector<std::wstring> ShippedEnglish() { return ReadShippedLanguage(L"English").lines; }

// Compares two rectangles, showing both when they differ.
inline ::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
  if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
  auto show = [](const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + ")";
  };
  return ::testing::AssertionFailure() << "is " << show(actual) << ", expected " << show(expected);
}

// Each test: a program folder of its own with a copy of the built exe, and no VB list in the
// registry of the Wine prefix, before and after. On Windows every test is skipped: there the
// program would work on the real user's lists.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine())
      GTEST_SKIP() << "end-to-end tests run only under Wine: the program works on the real "
                      "user's recent-files lists in HKEY_CURRENT_USER";
    const std::wstring exe = BuiltExePath();
    ASSERT_FALSE(exe.empty()) << "BRUSHWICK_EXE must name the built brushwick.exe";
    ASSERT_TRUE(FileExists(exe)) << "no exe at " << Utf8(exe);
    folder_ = std::make_unique<AppFolder>(exe);
    ResetLists();
  }

  void TearDown() override {
    app_.Kill();
    if (RunningUnderWine()) ResetLists();
    folder_.reset();
  }

  // Starts the program from its folder, in a working folder elsewhere.
  // `output` and `errors`: see AppProcess::Start.
  AppProcess& Launch(const std::wstring& arguments = L"", HANDLE output = nullptr, HANDLE errors = nullptr) {
    app_ = AppProcess::Start(folder_->exe(), folder_->working_folder(), arguments, output, errors);
    return app_;
  }

  // True when the program shows (or is about to show) a message box: after the round trip the
  // start or handler has either finished or is waiting in the box.
  bool BoxOpen(HWND window) {
    Sync(window);
    return FindTopWindow(app_.pid(), kMessageBoxClass) != nullptr;
  }

  // Selects the picker's first entry with that text and presses OK.
  void Choose(HWND picker, const std::wstring& entry) {
    HWND list = Control(picker, ids::frmlang::List1);
    const std::vector<std::wstring> items = ItemTexts(list);
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] != entry) continue;
      SelectItem(list, static_cast<int>(i));
      Click(Control(picker, ids::frmlang::Command1));
      return;
    }
    ADD_FAILURE() << "the picker does not offer " << Utf8(entry);
  }

  // True when another copy could take the lists now, as the program's would, from this process:
  // a command that failed must have given them back. A holder about to let go gets a moment.
  static bool ListsFree() {
    ListsLock probe;
    return probe.Acquire(2000);
  }

  AppFolder& folder() { return *folder_; }
  AppProcess& app() { return app_; }

 private:
  std::unique_ptr<AppFolder> folder_;
  AppProcess app_;
};

}  // namespace ui
