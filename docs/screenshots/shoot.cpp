// Takes the pictures of docs/screenshots for scripts/screenshots.sh: drives brushwick.exe, in the
// language chosen, through the language picker, the main window, a cleaning run with its summary,
// the export and import windows, the review and clear windows of the window menu, the wait for
// another copy, the question about an open Visual Basic IDE and the progress of a long import, and
// saves each window as it
// stands on the screen (title bar and frame included) as <name><suffix>.bmp.
//
// shoot <brushwick.exe> <folder for the pictures> <stand-in IDE exe> <picker entry> <suffix>
// (Windows paths; under Wine only: it seeds the prefix's own recent-files lists)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/ui_driver.h"
#include "forms/ids.h"
#include "support/registry_lists.h"

namespace {

using namespace ui;

HWND Need(HWND window, const char* what) {
  if (!window) throw std::runtime_error(std::string("no ") + what);
  return window;
}

std::wstring g_suffix;

void Shoot(HWND window, const std::wstring& folder, const wchar_t* name) {
  const std::wstring path = SaveScreenshot(window, folder, name + g_suffix);
  std::printf("shoot: %s\n", Utf8(path).c_str());
}

// Presses OK on the next message box, after taking its picture when a name is given.
void CloseNextBox(const AppProcess& app, const std::wstring& folder, const wchar_t* name = nullptr) {
  const auto box = WaitForMessageBox(app);
  if (!box) throw std::runtime_error("no message box");
  if (name) Shoot(box->window, folder, name);
  if (!CloseMessageBox(box->window)) throw std::runtime_error("the message box stays");
}

// Opens a window of the window menu and takes its picture; `close` is the button that closes it.
void ShootMenuWindow(const AppProcess& app, HWND main, UINT command, const wchar_t* window_class, int close,
                     const std::wstring& shots, const wchar_t* name) {
  PostMessageW(main, WM_SYSCOMMAND, command, 0);
  HWND window = Need(WaitForWindow(app, window_class, nullptr, Visibility::Visible), "window-menu window");
  Sync(window);
  Sleep(300);  // the review checks its entries before it draws them all
  Shoot(window, shots, name);
  Click(Control(window, close));
  if (!WaitForWindowGone(window, kTimeout, true)) throw std::runtime_error("a window-menu window stays");
}

void Run(const std::wstring& exe, const std::wstring& shots, const std::wstring& standin, const std::wstring& entry) {
  if (!RunningUnderWine()) throw std::runtime_error("this changes the recent-files lists: run it under Wine only");

  // Lists as a user might have them: some projects still there, others long gone.
  const std::wstring projects = L"C:\\Projekty";
  for (const wchar_t* file : {L"\\Faktury\\Faktury.vbp", L"\\Magazyn\\Magazyn.vbp", L"\\Kadry\\Kadry.vbp"}) {
    const std::wstring path = projects + file;
    MakeFolders(path.substr(0, path.find_last_of(L'\\')));
    WriteFileBytes(path, "Type=Exe\r\n");
  }
  SeedList("5.0", {"C:\\Projekty\\Faktury\\Faktury.vbp", "C:\\Projekty\\Stare\\Ksiegowosc.vbp",
                   "C:\\Projekty\\Magazyn\\Magazyn.vbp", "C:\\Projekty\\Magazyn\\Magazyn_kopia.vbp"});
  SeedList("6.0", {"C:\\Projekty\\Kadry\\Kadry.vbp", "C:\\Temp\\Projekt1.vbp", "C:\\Projekty\\Faktury\\Faktury.vbp",
                   "C:\\Projekty\\Usuniety\\Usuniety.vbp", "C:\\Projekty\\Stare\\Raporty.vbg"});

  // A fresh program folder with the shipped languages and no opcje.dat: the picker comes first.
  AppFolder folder(exe);
  folder.CopyLanguages();
  AppProcess app = AppProcess::Start(folder.exe(), folder.working_folder());

  HWND picker = Need(WaitForWindow(app, ids::kFrmLangClass, nullptr, Visibility::Visible), "language picker");
  const std::vector<std::wstring> entries = ItemTexts(Control(picker, ids::frmlang::List1));
  int index = -1;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == entry) index = static_cast<int>(i);
  if (index < 0) throw std::runtime_error("no such language in the picker");
  SelectItem(Control(picker, ids::frmlang::List1), index);
  Shoot(picker, shots, L"picker");
  Click(Control(picker, ids::frmlang::Command1));

  HWND main = Need(WaitForWindow(app, ids::kForm1Class, nullptr, Visibility::Visible), "main window");
  Shoot(main, shots, L"main");
  // Before the cleaning, so that the review shows the gone entries checked.
  ShootMenuWindow(app, main, ids::form1menu::Review, ids::kFrmReviewClass, ids::frmreview::Command2, shots, L"review");
  Click(Control(main, ids::form1::Command1));
  CloseNextBox(app, shots, L"summary");

  // Export both lists as "Moje projekty", then offer that file for import.
  Click(Control(main, ids::form1::Command5));
  HWND exp = Need(WaitForWindow(app, ids::kFrmExportClass, nullptr, Visibility::Visible), "export window");
  // Ticked without a click, so that the focus stays in the name box.
  Send(Control(exp, ids::frmexport::Check1), BM_SETCHECK, BST_CHECKED);
  Send(Control(exp, ids::frmexport::Check2), BM_SETCHECK, BST_CHECKED);
  SetText(Control(exp, ids::frmexport::Text1), L"Moje projekty");
  Sync(exp);
  Shoot(exp, shots, L"export");
  Click(Control(exp, ids::frmexport::Command1));
  CloseNextBox(app, shots);
  if (!WaitForWindowGone(exp, kTimeout, true)) throw std::runtime_error("the export window stays");

  Click(Control(main, ids::form1::Command4));
  HWND imp = Need(WaitForWindow(app, ids::kFrmImportClass, nullptr, Visibility::Visible), "import window");
  Shoot(imp, shots, L"import");
  Click(Control(imp, ids::frmimport::Command2));
  if (!WaitForWindowGone(imp, kTimeout, true)) throw std::runtime_error("the import window stays");

  ShootMenuWindow(app, main, ids::form1menu::Clear, ids::kFrmClearClass, ids::frmclear::Command2, shots, L"clear");

  // Another copy holds the lists: Start waits for it in a window of its own.
  HANDLE lock = CreateMutexW(nullptr, TRUE, L"Local\\Brushwick.RecentFilesLists");
  Click(Control(main, ids::form1::Command1));
  HWND wait = Need(WaitForWindow(app, ids::kFrmWaitClass, nullptr, Visibility::Visible), "wait window");
  Sync(wait);
  Shoot(wait, shots, L"wait");
  Click(Control(wait, ids::frmwait::Command1));
  if (!WaitForWindowGone(wait, kTimeout, true)) throw std::runtime_error("the wait window stays");
  ReleaseMutex(lock);
  CloseHandle(lock);

  // A long import (30,000 entries into each list) shows how far it has got.
  std::string rec = " 1 \r\n 1 \r\n";
  for (int list = 0; list < 2; ++list) {
    rec += "[]\r\n";
    for (int i = 1; i <= 30000; ++i) rec += "D:\\Projekty\\Archiwum\\Projekt" + std::to_string(i) + ".vbp\r\n";
  }
  WriteFileBytes(folder / L"Archiwum.rec", rec);
  Click(Control(main, ids::form1::Command4));
  imp = Need(WaitForWindow(app, ids::kFrmImportClass, nullptr, Visibility::Visible), "import window");
  HWND names = Control(imp, ids::frmimport::Combo1);
  const std::vector<std::wstring> files = ItemTexts(names);
  for (size_t i = 0; i < files.size(); ++i)
    if (files[i] == L"Archiwum") SelectItem(names, static_cast<int>(i));
  Click(Control(imp, ids::frmimport::Command1));
  // Held still once it writes, so that a fast machine shows the progress too.
  for (int i = 0; i < 10000 && !GetListValue("5.0", "300"); ++i) Sleep(1);
  app.Pause(Millis(1500));
  HWND progress = Need(WaitForWindow(app, ids::kFrmProgressClass, nullptr, Visibility::Visible), "progress window");
  // A third of the way, for the picture.
  HWND bar = Control(progress, ids::frmprogress::ProgressBar1);
  for (int i = 0; i < 1000 && Send(bar, PBM_GETPOS) < 333; ++i) Sleep(5);
  Shoot(progress, shots, L"progress");
  CloseNextBox(app, shots);

  // An open Visual Basic 6.0: a stand-in copied as VB6.EXE, which ends when its event never comes.
  const std::wstring ide = folder.working_folder() + L"\\VB6.EXE";
  if (!CopyFileW(standin.c_str(), ide.c_str(), FALSE)) throw std::runtime_error("no stand-in IDE");
  std::wstring command = L"\"" + ide + L"\" Brushwick.Shots.NoSuchEvent";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, L"Brushwick.Shots.NoSuchEvent");
  if (!CreateProcessW(ide.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    throw std::runtime_error("the stand-in IDE does not start");
  Click(Control(main, ids::form1::Command1));
  HWND question = Need(WaitForWindow(app, ids::kFrmIdeClass, nullptr, Visibility::Visible), "IDE question");
  Sync(question);
  Shoot(question, shots, L"ide");
  Click(Control(question, ids::frmide::Command3));
  if (!WaitForWindowGone(question, kTimeout, true)) throw std::runtime_error("the IDE question stays");
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(go);

  PostMessageW(main, WM_CLOSE, 0, 0);
  if (!app.WaitForExit()) throw std::runtime_error("the program does not end");
  ResetLists();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: shoot <brushwick.exe> <folder for the pictures> <stand-in IDE> <picker entry> <suffix>\n");
    return 2;
  }
  try {
    g_suffix = argv[5];
    Run(argv[1], argv[2], argv[3], argv[4]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "shoot: %s\n", e.what());
    try {
      ResetLists();
    } catch (const std::exception&) {
    }
    return 1;
  }
  return 0;
}
