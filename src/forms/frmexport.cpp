#include "forms/frmexport.h"

#include "common/error.h"
#include "forms/messages.h"
#include "common/textfile.h"
#include "forms/ids.h"
#include "listfile/listfile.h"
#include "settings/language.h"

namespace {

using forms::ControlDef;
using forms::Form;
using forms::Kind;
namespace id = ids::frmexport;

FrmExport& Self(Form& form) { return static_cast<FrmExport&>(form); }

constexpr ControlDef kControls[] = {
    {L"Frame1", id::Frame1, Kind::Frame, 0, L"Podaj nazwę listy", 120, 120, 4455, 735, 0, 11},
    {L"Text1", id::Text1, Kind::TextBox, id::Frame1, L"", 120, 240, 4215, 285, 1, 0, 1,
     [](Form& f) { Self(f).NameChanged(); }},
    {L"Frame2", id::Frame2, Kind::Frame, 0, L"Eksport dotyczy VB w wesji", 120, 960, 4455, 615, 2, 12},
    {L"Check1", id::Check1, Kind::CheckBox, id::Frame2, L"Visual Basic 5.0", 240, 240, 1575, 255, 3},
    {L"Check2", id::Check2, Kind::CheckBox, id::Frame2, L"Visual Basic 6.0", 2400, 240, 1815, 255, 4},
    {L"Command1", id::Command1, Kind::Button, 0, L"OK", 120, 1800, 1575, 375, 5, 0, 1,
     [](Form& f) { Self(f).ExportList(); }},
    {L"Command2", id::Command2, Kind::Button, 0, L"Anuluj", 3000, 1800, 1575, 375, 6, 13, 1,
     [](Form& f) { f.Hide(); }},
};
constexpr forms::FormDef kForm{ids::kFrmExportClass, L"Eksportuj listę", 4680, 2310, kControls,
                               id::Command1, id::Command2, true, 10};
static_assert(forms::TakesEachLineOnce(kForm, kExportWindowLines.first, kExportWindowLines.last));

}  // namespace

FrmExport::FrmExport() : forms::Form(kForm) {}

void FrmExport::OnActivate() {
  SetControlText(id::Text1, L"");
  EnableControl(id::Command1, false);
}

void FrmExport::NameChanged() {
  EnableControl(id::Command1, GetWindowTextLengthW(Control(id::Text1)) > 0);
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
                      Describe(e),
                  MB_OK | MB_ICONWARNING);
    HWND name = Control(id::Text1);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
    return;
  }
  forms::MsgBox(L"OK");
  Hide();
}
