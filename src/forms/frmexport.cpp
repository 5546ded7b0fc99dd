#include "forms/frmexport.h"

#include "common/error.h"
#include "forms/messages.h"
#include "common/textfile.h"
#include "forms/ids.h"
#include "forms/listcommands.h"
#include "listfile/listfile.h"
#include "settings/language.h"

namespace {

using forms::ControlDef;
using forms::Form;
using forms::Kind;
namespace id = ids::frmexport;

constexpr ControlDef kControls[] = {
    {.name = L"Frame1", .id = id::Frame1, .kind = Kind::Frame, .text = Text::ExportNameFrame,
     .twips = {120, 120, 4455, 735}, .tabIndex = 0},
    {.name = L"Text1", .id = id::Text1, .kind = Kind::TextBox, .container = id::Frame1,
     .twips = {120, 240, 4215, 285}, .tabIndex = 1, .onClick = forms::Bind<&FrmExport::NameChanged>},
    {.name = L"Frame2", .id = id::Frame2, .kind = Kind::Frame, .text = Text::ExportVersionFrame,
     .twips = {120, 960, 4455, 615}, .tabIndex = 2},
    {.name = L"Check1", .id = id::Check1, .kind = Kind::CheckBox, .container = id::Frame2,
     .text = Text::VisualBasic50, .twips = {240, 240, 1575, 255}, .tabIndex = 3},
    {.name = L"Check2", .id = id::Check2, .kind = Kind::CheckBox, .container = id::Frame2,
     .text = Text::VisualBasic60, .twips = {2400, 240, 1815, 255}, .tabIndex = 4},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .text = Text::ExportButton,
     .twips = {120, 1800, 1575, 375}, .tabIndex = 5, .onClick = forms::Bind<&FrmExport::ExportList>},
    {.name = L"Command2", .id = id::Command2, .kind = Kind::Button, .text = Text::ExportCancel,
     .twips = {3000, 1800, 1575, 375}, .tabIndex = 6, .onClick = forms::Bind<&Form::Hide>},
};
constexpr forms::FormDef kForm{.className = ids::kFrmExportClass, .caption = Text::ExportTitle, .clientWidth = 4680,
                               .clientHeight = 2310, .controls = kControls, .defaultButton = id::Command1,
                               .cancelButton = id::Command2, .hidesUntilTagged = true};
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
    listcommands::WindowAnswers answers(hwnd());
    const std::wstring name = ControlText(id::Text1);
    if (!change::ReadUnderLock(answers, [&] { listfile::WriteListFile(ProgramFolder(), name, with50, with60); }))
      return;
  } catch (const AppError& e) {
    // Nothing was written: say so and stay open, so the name can be corrected.
    forms::MsgBox(Tr(Text::ExportFailed, {Describe(e)}), MB_OK | MB_ICONWARNING);
    HWND name = Control(id::Text1);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
    return;
  }
  forms::MsgBox(Tr(Text::Done));
  Hide();
}
