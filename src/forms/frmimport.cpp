#include "forms/frmimport.h"

#include "common/folderlist.h"
#include "common/propercase.h"
#include "common/textfile.h"
#include "forms/ids.h"

namespace {

using forms::ControlDef;
using forms::Kind;
namespace id = ids::frmimport;

constexpr ControlDef kControls[] = {
    {L"Frame1", id::Frame1, Kind::Frame, 0, L"Wybierz listę", 120, 120, 4695, 735, 0},
    {L"Combo1", id::Combo1, Kind::DropDownList, id::Frame1, nullptr, 120, 240, 4455, 315, 1},
    {L"Command1", id::Command1, Kind::Button, 0, L"Importuj", 120, 1080, 1695, 375, 2},
    {L"Command2", id::Command2, Kind::Button, 0, L"Anuluj", 3120, 1080, 1695, 375, 3},
};
constexpr forms::FormDef kForm{ids::kFrmImportClass, L"Importuj listę", 4920, 1560, kControls,
                               id::Command1, id::Command2};

}  // namespace

FrmImport::FrmImport() : forms::Form(kForm) {}

void FrmImport::ApplyLanguageLine(int line, const std::wstring& text) {
  Load();
  switch (line) {
    case 14: SetCaption(text); break;
    case 15: SetControlText(id::Frame1, text); break;
    case 16: SetControlText(id::Command1, text); break;
    case 17: SetControlText(id::Command2, text); break;
    default: break;
  }
}

void FrmImport::OnActivate() {
  // Rebuilt at every showing, so lists exported in the meantime appear.
  files_ = ListFiles(ProgramFolder(), L".rec");
  HWND combo = Control(id::Combo1);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  forms::DoEvents();
  for (const std::wstring& file : files_) {
    const std::wstring shown = ProperCase(file.substr(0, file.size() - 4));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
  }
  EnableControl(id::Command1, !files_.empty());
  if (!files_.empty()) SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void FrmImport::OnCommand(int controlId, int notification) {
  if (notification != BN_CLICKED) return;
  if (controlId == id::Command1) {
    ImportList();
  } else if (controlId == id::Command2) {
    Hide();
  }
}

bool FrmImport::OnQueryUnload() {
  if (TagNumber() != 0) return true;
  Hide();
  return false;
}

void FrmImport::ImportList() {
  forms::MsgBox(L"OK");
  Hide();
}
