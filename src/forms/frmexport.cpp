#include "forms/frmexport.h"

#include "common/error.h"
#include "common/messages.h"
#include "common/textfile.h"
#include "forms/ids.h"
#include "listfile/listfile.h"

namespace {

using forms::ControlDef;
using forms::Kind;
namespace id = ids::frmexport;

constexpr ControlDef kControls[] = {
    {L"Frame1", id::Frame1, Kind::Frame, 0, L"Podaj nazwę listy", 120, 120, 4455, 735, 0},
    {L"Text1", id::Text1, Kind::TextBox, id::Frame1, L"", 120, 240, 4215, 285, 1},
    {L"Frame2", id::Frame2, Kind::Frame, 0, L"Eksport dotyczy VB w wesji", 120, 960, 4455, 615, 2},
    {L"Check1", id::Check1, Kind::CheckBox, id::Frame2, L"Visual Basic 5.0", 240, 240, 1575, 255, 3},
    {L"Check2", id::Check2, Kind::CheckBox, id::Frame2, L"Visual Basic 6.0", 2400, 240, 1815, 255, 4},
    {L"Command1", id::Command1, Kind::Button, 0, L"OK", 120, 1800, 1575, 375, 5},
    {L"Command2", id::Command2, Kind::Button, 0, L"Anuluj", 3000, 1800, 1575, 375, 6},
};
constexpr forms::FormDef kForm{ids::kFrmExportClass, L"Eksportuj listę", 4680, 2310, kControls,
                               id::Command1, id::Command2, true};

}  // namespace

FrmExport::FrmExport() : forms::Form(kForm) {}

void FrmExport::ApplyLanguageLine(int line, const std::wstring& text) {
  Load();  // created hidden when a language file first touches it
  switch (line) {
    case 10: SetCaption(text); break;
    case 11: SetControlText(id::Frame1, text); break;
    case 12: SetControlText(id::Frame2, text); break;
    case 13: SetControlText(id::Command2, text); break;
    default: break;
  }
}

void FrmExport::OnActivate() {
  SetControlText(id::Text1, L"");
  EnableControl(id::Command1, false);
}

void FrmExport::OnCommand(int controlId, int notification) {
  if (controlId == id::Text1 && notification == EN_CHANGE) {
    EnableControl(id::Command1, GetWindowTextLengthW(Control(id::Text1)) > 0);
  } else if (controlId == id::Command1 && notification == BN_CLICKED) {
    ExportList();
  } else if (controlId == id::Command2 && notification == BN_CLICKED) {
    Hide();
  }
}

void FrmExport::ExportList() {
  const bool with50 = SendMessageW(Control(id::Check1), BM_GETCHECK, 0, 0) == BST_CHECKED;
  const bool with60 = SendMessageW(Control(id::Check2), BM_GETCHECK, 0, 0) == BST_CHECKED;
  try {
    // Read while no other copy changes the lists, so the file holds them as they were at one time.
    ListsLock lock;
    if (!forms::TakeLists(lock)) return;
    listfile::WriteListFile(ProgramFolder(), ControlText(id::Text1), with50, with60);
  } catch (const AppError& e) {
    // Nothing was written: say so and stay open, so the name can be corrected.
    forms::MsgBox(std::wstring(Say(L"Nie udało się zapisać listy.\r\n\r\n",
                                   L"The list could not be written.\r\n\r\n")) +
                      e.description(),
                  MB_OK | MB_ICONWARNING);
    HWND name = Control(id::Text1);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
    return;
  }
  forms::MsgBox(L"OK");
  Hide();
}
