// Drives one whole cleaning run of brushwick.exe on a machine without a screen, for
// scripts/run.sh: shows the lists before, presses Start, shows the summary, shows the lists after,
// saves screenshots of the main window and of the summary, and closes the program.
//
// demo_driver <program folder> <screenshot folder>   (Windows or unix paths)
// Works only under Wine: it reads and the program changes the prefix's own lists.
#include <windows.h>

#include <string>

#include "driver/ui_driver.h"
#include "forms/ids.h"

namespace {

// UTF-8 to a file or pipe; through the console's own wide output when there is a console.
void Out(const std::wstring& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    const std::string bytes = ui::Utf8(text);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

std::wstring Wide(const std::string& text, UINT code_page = CP_ACP) {
  const int length = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::wstring AsWindowsPath(const std::wstring& path) {
  return !path.empty() && path[0] == L'/' ? ui::UnixToWindowsPath(ui::Utf8(path)) : path;
}

void ShowLists(const wchar_t* when) {
  for (const char* version : {"5.0", "6.0"}) {
    const auto entries = ::ReadList(version);
    Out(std::wstring(L"VB ") + Wide(version) + L" list " + when + L": " + std::to_wstring(entries.size()) +
        L" entries\n");
    for (size_t i = 0; i < entries.size(); ++i) {
      const bool exists = GetFileAttributesA(entries[i].c_str()) != INVALID_FILE_ATTRIBUTES;
      Out(L"  " + std::to_wstring(i + 1) + L" = " + Wide(entries[i]) + (exists ? L"" : L"   (gone)") + L"\n");
    }
  }
}

// Shows the text with its line breaks visible as the box shows them, indented.
std::wstring Indented(const std::wstring& text) {
  std::wstring result = L"  | ";
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    result += text[i];
    if (text[i] == L'\n' && i + 1 < text.size()) result += L"  | ";
  }
  if (result.empty() || result.back() != L'\n') result += L'\n';
  return result;
}

int Run(const std::wstring& folder, const std::wstring& shots) {
  const std::wstring exe = folder + L"\\brushwick.exe";
  if (!FileExists(exe)) {
    Out(L"demo: no brushwick.exe in " + folder + L"\n");
    return 2;
  }
  Out(L"demo: writing opcje.dat \"#\" (built-in Polish texts), so the main window opens directly "
      L"instead of the language picker\n");
  ui::WriteFileBytes(folder + L"\\opcje.dat", "#\r\n");

  ShowLists(L"before");

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  Out(L"demo: starting " + exe + L"\n");
  ui::AppProcess app = ui::AppProcess::Start(exe, temp);
  const std::wstring title = L"Brushwick";
  HWND main = ui::WaitForWindow(app, ids::kForm1Class, &title, ui::Visibility::Visible, ui::Millis(30000));
  if (!main) {
    Out(L"demo: the main window did not open\n");
    return 1;
  }
  Out(L"demo: screenshot " + ui::SaveScreenshot(main, shots, L"main-window") + L"\n");

  Out(L"demo: pressing Start\n");
  ui::Click(ui::Control(main, ids::form1::Command1));
  const auto box = ui::WaitForMessageBox(app);
  if (!box) {
    Out(L"demo: no summary appeared\n");
    return 1;
  }
  Out(L"demo: the summary box \"" + box->caption + L"\" (" + Wide(ui::IconName(box->icon)) + L" icon) says:\n" +
      Indented(box->text));
  Out(L"demo: screenshot " + ui::SaveScreenshot(box->window, shots, L"summary") + L"\n");
  if (!ui::CloseMessageBox(box->window)) {
    Out(L"demo: the summary did not close\n");
    return 1;
  }

  ShowLists(L"after");

  Out(L"demo: closing the main window\n");
  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto code = app.WaitForExit();
  if (!code) {
    Out(L"demo: the program did not end\n");
    return 1;
  }
  Out(L"demo: the program ended with exit code " + std::to_wstring(*code) + L"\n");
  return *code == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    Out(L"usage: demo_driver <program folder> <screenshot folder>\n");
    return 2;
  }
  if (!::RunningUnderWine()) {
    Out(L"demo: runs only under Wine; here the program would clean the real user's lists\n");
    return 2;
  }
  try {
    return Run(AsWindowsPath(argv[1]), AsWindowsPath(argv[2]));
  } catch (const std::exception& e) {
    Out(L"demo: " + Wide(e.what(), CP_UTF8) + L"\n");
    return 1;
  }
}
