#include "forms/frmclear.h"

#include <array>

#include "cleaner/cleaner.h"
#include "forms/messages.h"
#include "common/text.h"
#include "common/textfile.h"
#include "forms/ids.h"
#include "forms/listcommands.h"

namespace {

using forms::ControlDef;
using forms::Form;
using forms::Kind;
namespace id = ids::frmclear;

constexpr ControlDef kControls[] = {
    {.name = L"Frame1", .id = id::Frame1, .kind = Kind::Frame, .text = Text::ClearFrame,
     .twips = {120, 120, 4695, 735}, .tabIndex = 0},
    {.name = L"Combo1", .id = id::Combo1, .kind = Kind::DropDownList, .container = id::Frame1,
     .twips = {120, 240, 4455, 315}, .tabIndex = 1},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .text = Text::ClearButton,
     .twips = {120, 1080, 1695, 375}, .tabIndex = 2,
     .onClick = forms::Bind<&FrmClear::ClearChosen>},
    {.name = L"Command2", .id = id::Command2, .kind = Kind::Button, .text = Text::Cancel,
     .twips = {3120, 1080, 1695, 375}, .tabIndex = 3, .onClick = forms::Bind<&Form::Hide>},
};
constexpr forms::FormDef kForm{.className = ids::kFrmClearClass, .caption = Text::ClearTitle, .clientWidth = 4920,
                               .clientHeight = 1560, .controls = kControls, .defaultButton = id::Command1,
                               .cancelButton = id::Command2, .fitsTexts = true};

}  // namespace

FrmClear::FrmClear() : forms::Form(kForm) {}

void FrmClear::OnActivate() {
  HWND combo = Control(id::Combo1);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const ClearChoice& c : kClearChoices)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Tr(c.text)));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void FrmClear::ClearChosen() {
  const LRESULT selected = SendMessageW(Control(id::Combo1), CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= std::size(kClearChoices)) return;
  const ClearChoice& choice = kClearChoices[selected];
  // The main window, which it is shown over.
  listcommands::WindowAnswers answers(Owner());
  // Asked with the lists held, so that only what the question showed is removed; asked again
  // when they changed before they were written.
  int asked = 0;
  std::size_t counts[2] = {0, 0};
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2> chosen) {
    change::Wanted wanted;
    std::wstring shown;
    for (size_t l = 0; l < 2; ++l) {
      if (!chosen[l]) continue;
      counts[l] = now.state.lists[l].values.size();
      shown += (shown.empty() ? L"" : L", ") + VbName(listfile::kListVersions[l]) + L": " +
               DecimalTextW(static_cast<long long>(counts[l]));
      // Clearing replaces the chosen lists whatever they hold.
      wanted.lists[l].emplace();
    }
    std::wstring question = Tr(Text::ClearQuestion, {Tr(choice.which), shown});
    if (asked++ > 0) question += std::wstring(L"\r\n\r\n") + Tr(Text::ClearAskedAgain);
    wanted.declined = forms::MsgBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES;
    return wanted;
  };
  const change::Outcome out = change::Run(ProgramFolder(), listfile::ChangeKind::Clear, {choice.v50, choice.v60}, decide, answers);
  answers.Idle();
  if (!listcommands::Settle(out, Owner())) return;
  std::wstring report;
  bool failed = false;
  for (size_t l = 0; l < 2; ++l) {
    if (!(l == 0 ? choice.v50 : choice.v60)) continue;
    const change::ListWrites& w = out.writes[l];
    CleanOutcome outcome;
    outcome.entryCount = static_cast<std::int32_t>(counts[l]);
    outcome.removed = static_cast<std::int32_t>(w.changed ? w.deleted : 0);
    outcome.status = w.status;
    outcome.failedValue = w.failedValue;
    report += RemovalReport(listfile::kListVersions[l], outcome);
    failed = failed || w.status != ERROR_SUCCESS;
  }
  forms::MsgBox(answers.Noted(report), MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
  Hide();
}
