// Takes the pictures of docs/screenshots for scripts/screenshots.sh: drives brushwick.exe, in
// Polish, through the language picker, the main window, a cleaning run with its summary, the
// export window and the import window, and saves each window as it stands on the screen (title
// bar and frame included) as <name>.bmp.
//
// shoot <brushwick.exe> <folder for the pictures>   (Windows paths; under Wine only: it seeds
// the prefix's own recent-files lists)
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/ui_driver.h"
#include "forms/ids.h"

namespace {

using namespace ui;

HWND Need(HWND window, const char* what) {
  if (!window) throw std::runtime_error(std::string("no ") + what);
  return window;
}

void Shoot(HWND window, const std::wstring& folder, const wchar_t* name) {
  const std::wstring path = SaveScreenshot(window, folder, name);
  std::printf("shoot: %s\n", Utf8(path).c_str());
}

// Presses OK on the next message box, after taking its picture when a name is given.
void CloseNextBox(const AppProcess& app, const std::wstring& folder, const wchar_t* name = nullptr) {
  const auto box = WaitForMessageBox(app);
  if (!box) throw std::runtime_error("no message box");
  if (name) Shoot(box->window, folder, name);
  if (!CloseMessageBox(box->window)) throw std::runtime_error("the message box stays");
}

void Run(const std::wstring& exe, const std::wstring& shots) {
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
  SelectItem(Control(picker, ids::frmlang::List1), 0);  // Polski
  Shoot(picker, shots, L"picker");
  Click(Control(picker, ids::frmlang::Command1));

  HWND main = Need(WaitForWindow(app, ids::kForm1Class, nullptr, Visibility::Visible), "main window");
  Shoot(main, shots, L"main");
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

  PostMessageW(main, WM_CLOSE, 0, 0);
  if (!app.WaitForExit()) throw std::runtime_error("the program does not end");
  ResetLists();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: shoot <brushwick.exe> <folder for the pictures>\n");
    return 2;
  }
  try {
    Run(argv[1], argv[2]);
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
