// Unattended runs: the exe started with arguments, its exit code, its log and the lists it
// leaves, with no window shown.
#include <windows.h>

#include <string>
#include <vector>

#include "common/listslock.h"
#include "common/text.h"
#include "driver/app_test.h"
#include "support/scratch_registry.h"

namespace {

using namespace ui;

class CommandLineTest : public AppTest {
 protected:
  void TearDown() override {
    StopStandIn();
    AppTest::TearDown();
  }

  void StopStandIn() {
    for (PROCESS_INFORMATION& standIn : standIns_) {
      TerminateProcess(standIn.hProcess, 1);
      WaitForSingleObject(standIn.hProcess, 5000);
      CloseHandle(standIn.hProcess);
      CloseHandle(standIn.hThread);
    }
    standIns_.clear();
    if (never_) CloseHandle(never_);
    never_ = nullptr;
  }

  // A stand-in for the Visual Basic IDE `name` (VB5.EXE or VB6.EXE) that stays open until it is ended.
  void StartStandIn(const wchar_t* name) {
    const std::wstring exe = ideFolder_ / name;
    ASSERT_TRUE(CopyFileW(UnixToWindowsPath(Utf8(EnvVar(L"BRUSHWICK_STANDIN"))).c_str(), exe.c_str(), FALSE));
    const std::wstring event = L"Brushwick.Test.NeverSet." + std::to_wstring(GetCurrentProcessId());
    if (!never_) never_ = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    ASSERT_NE(never_, nullptr);
    std::wstring command = L"\"" + exe + L"\" " + event;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION standIn{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               ideFolder_.path().c_str(), &startup, &standIn));
    standIns_.push_back(standIn);
  }

  // The lines of a UTF-8 file, each ended by CR LF.
  static std::vector<std::wstring> FileLines(const std::wstring& path) {
    if (!FileExists(path)) return {};
    const std::string bytes = ReadBytes(path);
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                        text.data(), static_cast<int>(text.size()))));
    std::vector<std::wstring> lines;
    for (size_t start = 0; start < text.size();) {
      size_t end = text.find(L"\r\n", start);
      if (end == std::wstring::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  // The log's lines without their date and time, which each must start with.
  std::vector<std::wstring> LogLines() {
    std::vector<std::wstring> lines = FileLines(folder() / L"run.log");
    for (std::wstring& line : lines) {
      const bool stamped = line.size() > 20 && line[4] == L'-' && line[7] == L'-' && line[10] == L' ' &&
                           line[13] == L':' && line[16] == L':' && line[19] == L' ';
      EXPECT_TRUE(stamped) << "no date and time: " << Utf8(line);
      if (stamped) line = line.substr(20);
    }
    return lines;
  }

  // A file the program's standard output or error can be given.
  HANDLE StreamFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    return file;
  }

  TempFolder ideFolder_, files_;
  std::vector<PROCESS_INFORMATION> standIns_;
  HANDLE never_ = nullptr;  // the stand-ins wait for it, and so stay open
};

std::wstring Counts(const wchar_t* vb, int count, int removed) {
  return std::wstring(L"Recently used files for ") + vb + L": " + std::to_wstring(count) + L" of which " +
         std::to_wstring(removed) + L" dead entries were removed";
}

TEST_F(CommandLineTest, EachCommandEndsWithItsCodeLogAndLists) {
  WriteBytes(files_ / L"alive.vbp", "");
  const std::string alive = WideToAnsi(files_ / L"alive.vbp"), gone = WideToAnsi(files_ / L"gone.vbp");
  const std::string away = "Q:\\Projekty\\away.vbp";  // a drive that is not there
  const std::wstring rec = folder() / L"zapas.rec";
  const std::wstring busy = L"Another copy of Brushwick is working on the recent-files lists. Nothing was "
                            L"changed; try again in a moment.";
  enum class Around { Nothing, Polish, OtherCopy, OpenIde, OpenBothIdes };
  struct Run {
    std::wstring args;
    DWORD exit;
    std::vector<std::string> added5 = {};  // entries Visual Basic adds to the 5.0 list before the run
  };
  // Where the lines are said; the other stream stays empty.
  enum class Said { Out, Err, NotChecked };
  struct Case {
    const char* name;
    Around around;
    std::vector<std::string> vb5, vb6;
    std::vector<Run> runs;
    std::vector<std::string> after5, after6;
    std::vector<std::wstring> log;  // the first lines; all of them unless `more`
    bool more = false;
    Said said = Said::Out;
    bool logged = true;  // false: no log file could be named, and none is written
  };
  const std::wstring usage = L"Usage: brushwick.exe COMMAND [OPTIONS]";
  const std::wstring noFile = L": the name of the list is blank or ends in a folder separator, so it names no file (123)";
  const Case cases[] = {
      {"clean", Around::Nothing, {gone, alive}, {alive}, {{L"/clean", 0}}, {alive}, {alive},
       {Counts(L"VB5", 2, 1), Counts(L"VB6", 1, 0)}},
      {"clean in the language of the windows", Around::Polish, {gone}, {}, {{L"/clean", 0}}, {}, {},
       {L"Liczba ostatnio używanych plików dla VB5: 1 z czego usunięto 1 martwych wpisów",
        L"Liczba ostatnio używanych plików dla VB6: 0 z czego usunięto 0 martwych wpisów"}},
      {"an entry out of reach stays", Around::Nothing, {away, gone}, {}, {{L"/clean", 0}}, {away}, {},
       {Counts(L"VB5", 2, 1), Counts(L"VB6", 0, 0), L"Entries that point to places that cannot be reached now: 1",
        L"    Q:\\   1"}},
      {"export, clean, import back", Around::Nothing, {alive, gone}, {gone},
       {{L"/export zapas", 0}, {L"/clean", 0}, {L"/import zapas", 0}}, {alive, gone}, {gone},
       {L"The VB5 list: saved in " + rec + L".", L"The VB6 list: saved in " + rec + L".", Counts(L"VB5", 2, 1),
        Counts(L"VB6", 1, 1), L"The VB5 list: 2 entries imported.", L"The VB6 list: 1 entries imported."}},
      {"undo", Around::Nothing, {gone, alive}, {}, {{L"/clean", 0}, {L"/undo", 0}}, {gone, alive}, {},
       {Counts(L"VB5", 2, 1), Counts(L"VB6", 0, 0), L"The lists are back as they were before the last change."}},
      {"an option of another command", Around::Nothing, {gone}, {}, {{L"/clean /vb5", 2}}, {gone}, {},
       {L"/vb5 does not go with /clean; it goes with /export only.", usage}, true, Said::Err},
      {"a command without its value", Around::Nothing, {gone}, {}, {{L"/export", 2}}, {gone}, {},
       {L"Value missing: /export must be followed by NAME.", usage}, true, Said::Err},
      {"a log without its file", Around::Nothing, {gone}, {}, {{L"/clean /log", 2}}, {gone}, {},
       {L"Value missing: /log must be followed by FILE.", usage}, true, Said::Err, false},
      {"list names that name no file", Around::Nothing, {alive}, {}, {{L"/export sub\\", 2}, {L"/export \" \"", 2}},
       {alive}, {},
       {L"The list could not be written.", L"Cannot write the list file " + (folder() / L"sub\\.rec") + noFile,
        L"The list could not be written.", L"Cannot write the list file " + (folder() / L" .rec") + noFile},
       false, Said::NotChecked},
      {"another copy busy", Around::OtherCopy, {gone}, {}, {{L"/clean", 3}}, {gone}, {}, {busy}, false, Said::NotChecked},
      {"IDE open", Around::OpenIde, {gone, alive}, {gone}, {{L"/clean", 1}, {L"/import zapas", 3}}, {alive}, {gone},
       {Counts(L"VB5", 2, 1),
        L"The VB6 list was left alone: open now: Visual Basic 6.0 (VB6.EXE); /wait waits for it to close.",
        L"The VB6 list was left alone: open now: Visual Basic 6.0 (VB6.EXE); /wait waits for it to close."},
       false, Said::NotChecked},  // the counts on standard output, the lists left alone on standard error
      {"both IDEs open", Around::OpenBothIdes, {gone, alive}, {gone}, {{L"/clean", 3}}, {gone, alive}, {gone},
       {L"The VB5 list was left alone: open now: Visual Basic 5.0 (VB5.EXE); /wait waits for it to close.",
        L"The VB6 list was left alone: open now: Visual Basic 6.0 (VB6.EXE); /wait waits for it to close."},
       false, Said::Err},
      {"nothing to undo", Around::Nothing, {gone}, {}, {{L"/undo", 0}}, {gone}, {}, {L"There is no change to undo."}},
      {"export of one list", Around::Nothing, {alive, gone}, {gone},
       {{L"/export zapas /vb5", 0}, {L"/clean", 0}, {L"/import zapas", 0}}, {alive, gone}, {},
       {L"The VB5 list: saved in " + rec + L".", Counts(L"VB5", 2, 1), Counts(L"VB6", 1, 1),
        L"The VB5 list: 2 entries imported."}},
      // The undo would remove the imported entry, there right after the import, and the one added since.
      {"undo over changes since, without /force", Around::Nothing, {gone}, {},
       {{L"/export zapas /vb5", 0}, {L"/clean", 0}, {L"/import zapas", 0}, {L"/undo", 2, {"C:\\added.vbp"}}},
       {gone, "C:\\added.vbp"}, {},
       {L"The VB5 list: saved in " + rec + L".", Counts(L"VB5", 1, 1), Counts(L"VB6", 0, 0),
        L"The VB5 list: 1 entries imported.",
        L"The lists have changed since the last change: entries there now that the undo would remove: 2, of them "
        L"added after that change: 1. Nothing was undone; /force undoes anyway."},
       false, Said::NotChecked},
  };
  ASSERT_TRUE(CreateDirectoryW((folder() / L"sub").c_str(), nullptr));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SeedList("5.0", c.vb5);
    SeedList("6.0", c.vb6);
    const std::wstring outPath = files_ / L"out.txt", errPath = files_ / L"err.txt";
    HANDLE out = StreamFile(outPath), err = StreamFile(errPath);
    for (const wchar_t* file : {L"run.log", L"opcje.dat", L"cofnij.dat", L"cofnij.new", L"zapas.rec"})
      DeleteFileW((folder() / file).c_str());
    if (c.around == Around::Polish) folder().WriteOptions("#\r\n");
    if (c.around == Around::OpenIde) WriteFileBytes(rec, " 0 \r\n 1 \r\n[]\r\nC:\\x.vbp\r\n");
    if (c.around == Around::OpenBothIdes) StartStandIn(L"VB5.EXE");
    if (c.around == Around::OpenIde || c.around == Around::OpenBothIdes) StartStandIn(L"VB6.EXE");
    if (HasFatalFailure()) return;
    {
      ListsLock otherCopy;
      if (c.around == Around::OtherCopy) {
        ASSERT_TRUE(otherCopy.Acquire(0));
      }
      for (const Run& run : c.runs) {
        if (!run.added5.empty()) {
          std::vector<std::string> list = ReadList("5.0");
          list.insert(list.end(), run.added5.begin(), run.added5.end());
          SeedList("5.0", list);
        }
        Launch(run.args + L" /log \"" + (folder() / L"run.log") + L"\"", out, err);
        // Waits until the program ends, or shows a box it must not.
        EXPECT_EQ(WaitForWindow(app(), kMessageBoxClass, nullptr, Visibility::Visible, Millis(30000)), nullptr)
            << "a message box showed";
        EXPECT_EQ(app().WaitForExit(Millis(30000)), std::optional<DWORD>(run.exit)) << Utf8(run.args);
      }
    }
    StopStandIn();
    CloseHandle(out);
    CloseHandle(err);
    EXPECT_EQ(ReadList("5.0"), c.after5);
    EXPECT_EQ(ReadList("6.0"), c.after6);
    const auto first = [&](std::vector<std::wstring> lines) {
      if (c.more && lines.size() > c.log.size()) lines.resize(c.log.size());
      return lines;
    };
    EXPECT_EQ(first(LogLines()), c.logged ? c.log : std::vector<std::wstring>{});
    if (c.said != Said::NotChecked) {
      EXPECT_EQ(first(FileLines(c.said == Said::Out ? outPath : errPath)), c.log);
      EXPECT_EQ(FileLines(c.said == Said::Out ? errPath : outPath), std::vector<std::wstring>{});
    }
    // Never asked, never stored: a run in these modes leaves the options file as it found it.
    EXPECT_EQ(FileExists(folder() / L"opcje.dat"), c.around == Around::Polish);
    EXPECT_TRUE(ListsFree());
  }
  EXPECT_FALSE(FileExists(folder() / L"sub\\.rec"));
  EXPECT_FALSE(FileExists(folder() / L" .rec"));
}

}  // namespace
