#include "forms/frmimport.h"

#include "common/folderlist.h"
#include "common/propercase.h"
#include "common/textfile.h"
#include "common/error.h"
#include "forms/frmide.h"
#include "forms/messages.h"
#include "common/text.h"
#include "forms/ids.h"
#include "forms/listcommands.h"
#include "listfile/listfile.h"
#include "settings/language.h"

namespace {

using forms::ControlDef;
using forms::Form;
using forms::Kind;
namespace id = ids::frmimport;

constexpr ControlDef kControls[] = {
    {L"Frame1", id::Frame1, Kind::Frame, 0, L"Wybierz listę", 120, 120, 4695, 735, 0, 15},
    {L"Combo1", id::Combo1, Kind::DropDownList, id::Frame1, nullptr, 120, 240, 4455, 315, 1},
    {L"Command1", id::Command1, Kind::Button, 0, L"Importuj", 120, 1080, 1695, 375, 2, 16, 1,
     [](Form& f) { static_cast<FrmImport&>(f).ImportList(); }},
    {L"Command2", id::Command2, Kind::Button, 0, L"Anuluj", 3120, 1080, 1695, 375, 3, 17, 1,
     [](Form& f) { f.Hide(); }},
};
constexpr forms::FormDef kForm{ids::kFrmImportClass, L"Importuj listę", 4920, 1560, kControls,
                               id::Command1, id::Command2, true, 14};
static_assert(forms::TakesEachLineOnce(kForm, kImportWindowLines.first, kImportWindowLines.last));

}  // namespace

FrmImport::FrmImport() : forms::Form(kForm) {}

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

namespace {

// What went wrong with one version's list, or "" when it was replaced whole.
std::wstring VersionProblem(const wchar_t* vb, const listfile::VersionImport& v, bool polish) {
  if (v.Complete()) return L"";
  if (v.keyMissing)
    return polish ? std::wstring(L"Lista ") + vb + L" nie istnieje w rejestrze; pominięto ją.\r\n"
                  : std::wstring(L"There is no ") + vb + L" list in the registry; it was skipped.\r\n";
  std::wstring reason = DecimalTextW(static_cast<DWORD>(v.firstFailure));
  const std::wstring name = StatusName(static_cast<DWORD>(v.firstFailure));
  if (!name.empty()) reason += L" " + name;
  return polish ? std::wstring(L"Lista ") + vb + L": zapisano " + DecimalTextW(static_cast<long long>(v.written)) +
                      L" z " + DecimalTextW(static_cast<long long>(v.entries)) + L" wpisów (błąd " + reason + L").\r\n"
                : std::wstring(L"The ") + vb + L" list: " + DecimalTextW(static_cast<long long>(v.written)) +
                      L" of " + DecimalTextW(static_cast<long long>(v.entries)) + L" entries stored (error " +
                      reason + L").\r\n";
}

}  // namespace

void FrmImport::ImportList() {
  const LRESULT selected = SendMessageW(Control(id::Combo1), CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= files_.size()) return;
  // The offered name is only the display form; the file is opened under its own name, which
  // also works where file names match with their case.
  const std::wstring& file = files_[static_cast<size_t>(selected)];
  const bool polish = MessagesInPolish();
  const frmide::Answer ide = frmide::AskAboutOpenIdes(true, true);
  if (!ide) return;
  listfile::ImportResult result;
  try {
    ListsLock lock;
    if (!forms::TakeLists(lock)) return;
    // The lists the file replaces are saved for undo first.
    const std::wstring name = file.substr(0, file.size() - 4), path = listfile::ListFilePath(ProgramFolder(), name);
    if (!NamesDevice(path)) {
      const listfile::ListFileContent content = listfile::ParseListFile(ReadFileBytes(path), path);
      if ((content.has50 || content.has60) && !listcommands::SaveUndoOrAsk(listfile::ChangeKind::Import)) return;
    }
    forms::BusyScope busy(hwnd());
    result = listfile::ReadListFile(ProgramFolder(), name,
                                    [&busy] { busy.KeepAnswering(); });
    listcommands::FinishChange();
  } catch (const AppError& e) {
    listcommands::FinishChange();
    forms::MsgBox((polish ? L"Nie zaimportowano listy; rejestr pozostał bez zmian.\r\n\r\n"
                          : L"Nothing was imported; the registry is unchanged.\r\n\r\n") +
                      Describe(e),
                  MB_OK | MB_ICONWARNING);
    return;
  }
  if (result.NothingHeld()) {
    forms::MsgBox(polish ? L"Ten plik nie zawiera żadnej listy; nic nie zaimportowano."
                         : L"This file holds no list; nothing was imported.",
                  MB_OK | MB_ICONWARNING);
    return;
  }
  const std::wstring problems =
      VersionProblem(L"VB5", result.v50, polish) + VersionProblem(L"VB6", result.v60, polish);
  if (result.NothingImported()) {
    // Like a file that cannot be read: the registry is as it was, and the window stays open.
    forms::MsgBox((polish ? L"Nie zaimportowano listy; rejestr pozostał bez zmian.\r\n\r\n"
                          : L"Nothing was imported; the registry is unchanged.\r\n\r\n") + problems,
                  MB_OK | MB_ICONWARNING);
    return;
  }
  if (problems.empty()) {
    forms::MsgBox(ide.Noted(L"OK"));
  } else {
    forms::MsgBox((polish ? L"Lista została zaimportowana tylko częściowo.\r\n\r\n"
                          : L"The list was imported only in part.\r\n\r\n") + problems,
                  MB_OK | MB_ICONWARNING);
  }
  Hide();
}
