#include "forms/form1.h"

#include <shellapi.h>

#include "common/error.h"
#include "common/messages.h"
#include "common/text.h"
#include "common/textfile.h"
#include "forms/frmexport.h"
#include "forms/frmimport.h"
#include "forms/frmlang.h"
#include "forms/ids.h"
#include "forms/windows.h"
#include "startup/builtin_texts.h"
#include "startup/language.h"
#include "startup/options.h"

namespace {

using forms::ControlDef;
using forms::Kind;
namespace id = ids::form1;

// The description, Start, and the buttons in a row below; List1 is plain data, not a control.
constexpr ControlDef kControls[] = {
    {L"Frame1", id::Frame1, Kind::Frame, 0, L"Informacja o programie", 120, 120, 6855, 2295, 5},
    {L"Label1", id::Label1, Kind::Label, id::Frame1, L"", 180, 240, 6495, 1995, 6},
    {L"Command1", id::Command1, Kind::Button, 0, L"Start", 120, 2640, 1455, 375, 0},
    {L"Command4", id::Command4, Kind::Button, 0, L"Importuj listę", 1800, 2640, 1575, 375, 3},
    {L"Command5", id::Command5, Kind::Button, 0, L"Eksportuj listę", 3600, 2640, 1575, 375, 4},
    {L"Command3", id::Command3, Kind::Button, 0, L"WWW", 5400, 2640, 1575, 375, 2},
};
constexpr forms::FormDef kForm{ids::kForm1Class, L"Brushwick", 7065, 3135, kControls};

}  // namespace

const wchar_t* HomePageAddress(const std::string& language) {
  return language == "#" ? L"https://brushwick.example/pl/" : L"https://brushwick.example/en/";
}

std::wstring ChangeFailureNote(const std::string& version, const CleanOutcome& outcome, bool polish) {
  if (outcome.status == ERROR_SUCCESS) return L"";
  const std::wstring vb = version == "5.0" ? L"VB5" : L"VB6";
  const DWORD code = static_cast<DWORD>(outcome.status);
  if (outcome.unreadable) {
    const std::wstring entry = AnsiToWide(outcome.failedValue), reason = UnreadableEntryReason(code, polish);
    if (polish)
      return L"Listę " + vb + L" pozostawiono bez zmian: wpisu \"" + entry +
             L"\" nie da się odczytać dokładnie (błąd " + reason + L").\r\n";
    return L"The " + vb + L" list was left as it was: entry \"" + entry +
           L"\" cannot be read exactly (error " + reason + L").\r\n";
  }
  std::wstring reason = DecimalTextW(code);
  const std::wstring name = StatusName(code), system = SystemErrorText(code);
  if (!name.empty()) reason += L" " + name;
  if (!system.empty()) reason += L": " + system;
  const std::wstring value = AnsiToWide(outcome.failedValue);
  if (polish)
    return L"Nie udało się zmienić listy " + vb + L" (wpis \"" + value + L"\", błąd " + reason +
           L"). Żaden istniejący wpis nie został utracony.\r\n";
  return L"The " + vb + L" list could not be changed (entry \"" + value + L"\", error " + reason +
         L"). No existing entry was lost.\r\n";
}

Form1::Form1() : forms::Form(kForm) {}

void Form1::OnLoad() {
  for (size_t i = 0; i < SummaryText.size(); ++i) SummaryText[i] = kBuiltInSummaryText[i];
  SetControlText(id::Label1, std::wstring(kBuiltInDescription));
  LangWindow().Unload();
  Language();
}

void Form1::Language() {
  // Each line goes to its place as soon as it is read, so a short file leaves the texts before
  // the missing line translated and the rest built in.
  ApplyLanguage(ProgramFolder(), CurrentLanguage, [this](int line, const std::string& ansi) {
    const std::wstring text = AnsiToWide(ansi);
    switch (line) {
      case 1: SetControlText(id::Command1, text); break;
      case 2: SetControlText(id::Command4, text); break;
      case 3: SetControlText(id::Command5, text); break;
      case 4: SetControlText(id::Command3, text); break;
      case 5: SetControlText(id::Frame1, text); break;
      case 6: SetControlText(id::Label1, DescriptionParagraph(line, ansi)); break;
      case 7: case 8: case 9:
        SetControlText(id::Label1, ControlText(id::Label1) + DescriptionParagraph(line, ansi));
        break;
      default:
        if (line <= 13) {
          ExportWindow().ApplyLanguageLine(line, text);
        } else if (line <= 17) {
          ImportWindow().ApplyLanguageLine(line, text);
        } else {
          SummaryText[static_cast<size_t>(line - 18)] = text;
        }
    }
  });
}

std::wstring Form1::Summary(const CleanOutcome& vb5, const CleanOutcome& vb6) const {
  return SummaryText[0] + DecimalTextW(vb5.entryCount) + L"\r\n" + SummaryText[1] +
         DecimalTextW(vb5.removed) + SummaryText[2] + L"\r\n\r\n" + SummaryText[3] +
         DecimalTextW(vb6.entryCount) + L"\r\n" + SummaryText[4] + DecimalTextW(vb6.removed) +
         SummaryText[5] + L"\r\n";
}

void Form1::CleaningRun() {
  CleanOutcome vb5, vb6;
  {
    // Held for both versions, and given back before the summary waits for the user.
    ListsLock lock;
    if (!forms::TakeLists(lock)) return;
    forms::DoEvents();
    vb5 = ClearOldFiles("5.0", List1);
    List1.clear();
    forms::DoEvents();
    vb6 = ClearOldFiles("6.0", List1);
    List1.clear();
    forms::DoEvents();
  }
  std::wstring text = Summary(vb5, vb6);
  const bool polish = MessagesInPolish();
  const std::wstring notes = ChangeFailureNote("5.0", vb5, polish) + ChangeFailureNote("6.0", vb6, polish);
  if (!notes.empty()) text += L"\r\n" + notes;
  forms::MsgBox(text, MB_OK | (notes.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

void Form1::OnCommand(int controlId, int notification) {
  if (notification != BN_CLICKED) return;
  switch (controlId) {
    case id::Command1:
      CleaningRun();
      break;
    case id::Command3:
      ShellExecuteW(hwnd(), L"open", HomePageAddress(CurrentLanguage), L"", L"", SW_SHOWNORMAL);
      break;
    case id::Command4:
      ImportWindow().ShowModal();
      break;
    case id::Command5:
      ExportWindow().ShowModal();
      break;
    default:
      break;
  }
}

bool Form1::OnQueryUnload() {
  // The export and import windows only hide when asked to close, unless their tag says the
  // program is ending.
  ExportWindow().Load();
  ExportWindow().Tag = L"1";
  ImportWindow().Load();
  ImportWindow().Tag = L"1";
  ExportWindow().Unload();
  ImportWindow().Unload();
  return true;
}

void Form1::OnUnload() { ExitProcess(0); }
