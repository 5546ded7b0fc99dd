#include "forms/frmimport.h"

#include <array>

#include "common/folderlist.h"
#include "common/propercase.h"
#include "common/textfile.h"
#include "common/error.h"
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
    {.name = L"Frame1", .id = id::Frame1, .kind = Kind::Frame, .text = Text::ImportFrame,
     .twips = {120, 120, 4695, 735}, .tabIndex = 0},
    {.name = L"Combo1", .id = id::Combo1, .kind = Kind::DropDownList, .container = id::Frame1,
     .twips = {120, 240, 4455, 315}, .tabIndex = 1},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .text = Text::ImportButton,
     .twips = {120, 1080, 1695, 375}, .tabIndex = 2, .onClick = forms::Bind<&FrmImport::ImportList>},
    {.name = L"Command2", .id = id::Command2, .kind = Kind::Button, .text = Text::ImportCancel,
     .twips = {3120, 1080, 1695, 375}, .tabIndex = 3, .onClick = forms::Bind<&Form::Hide>},
};
constexpr forms::FormDef kForm{.className = ids::kFrmImportClass, .caption = Text::ImportTitle, .clientWidth = 4920,
                               .clientHeight = 1560, .controls = kControls, .defaultButton = id::Command1,
                               .cancelButton = id::Command2, .hidesUntilTagged = true};
static_assert(forms::TakesEachLineOnce(kForm, kImportWindowLines.first, kImportWindowLines.last));

}  // namespace

FrmImport::FrmImport(forms::Form& main) : forms::Form(kForm), main_(main) {}

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

ImportReport ReportImport(const listfile::ImportResult& result) {
  if (result.NothingHeld()) return {ImportReport::End::Nothing, Tr(Text::ImportNoList)};
  const std::wstring problems =
      ImportProblem(listfile::kVersion50, result.v50) + ImportProblem(listfile::kVersion60, result.v60);
  // Like a file that cannot be read: the registry is as it was.
  if (result.NothingImported()) return {ImportReport::End::Nothing, Tr(Text::ImportNothingImported, {problems})};
  if (!problems.empty()) return {ImportReport::End::InPart, Tr(Text::ImportInPart, {problems})};
  return {ImportReport::End::Done, Tr(Text::Done)};
}

listfile::ImportResult ImportResultOf(const listfile::ListFileContent& content, const change::Outcome& out) {
  listfile::ImportResult result;
  if (content.has50) result.v50 = listfile::ImportOf(content.entries50.size(), out.writes[0]);
  if (content.has60) result.v60 = listfile::ImportOf(content.entries60.size(), out.writes[1]);
  return result;
}

change::Wanted DecideImport(const listfile::ListFileContent& content, const listfile::ListsReading& now) {
  change::Wanted wanted;
  if (content.has50) wanted.lists[0] = listfile::ImportedValues(content.entries50, now.state.lists[0].values);
  if (content.has60) wanted.lists[1] = listfile::ImportedValues(content.entries60, now.state.lists[1].values);
  return wanted;
}

void FrmImport::ImportList() {
  const LRESULT selected = SendMessageW(Control(id::Combo1), CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= files_.size()) return;
  // The offered name is only the display form; the file is opened under its own name, which
  // also works where file names match with their case.
  const std::wstring& file = files_[static_cast<size_t>(selected)];
  const std::wstring name = file.substr(0, file.size() - 4);
  // The whole file is read and checked before anything else: one that cannot be read changes
  // nothing, and the import says why.
  listfile::ListFileContent content;
  try {
    content = listfile::ReadListFileContent(ProgramFolder(), name);
  } catch (const AppError& e) {
    forms::MsgBox(Tr(Text::ImportNothingImported, {Describe(e)}), MB_OK | MB_ICONWARNING);
    return;
  }
  listcommands::WindowAnswers answers(hwnd());
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2>) { return DecideImport(content, now); };
  const change::Outcome out =
      change::Run(ProgramFolder(), listfile::ChangeKind::Import, {content.has50, content.has60}, decide, answers);
  answers.Idle();
  if (!listcommands::Settle(out, main_.hwnd())) return;
  const ImportReport report = ReportImport(ImportResultOf(content, out));
  if (report.end == ImportReport::End::Nothing) {
    // The registry is as it was, and the window stays open.
    forms::MsgBox(report.text, MB_OK | MB_ICONWARNING);
    return;
  }
  if (report.end == ImportReport::End::Done) {
    forms::MsgBox(answers.Noted(report.text));
  } else {
    forms::MsgBox(report.text, MB_OK | MB_ICONWARNING);
  }
  Hide();
}
