#include "forms/frmclear.h"

#include <array>

#include "cleaner/cleaner.h"
#include "forms/messages.h"
#include "common/text.h"
#include "forms/form1.h"
#include "forms/frmide.h"
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
     .onClick = [](Form& f) { static_cast<FrmClear&>(f).ClearChosen(); }},
    {.name = L"Command2", .id = id::Command2, .kind = Kind::Button, .text = Text::Cancel,
     .twips = {3120, 1080, 1695, 375}, .tabIndex = 3, .onClick = [](Form& f) { f.Hide(); }},
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

namespace {

const char* VersionOf(size_t index) { return index == 0 ? "5.0" : "6.0"; }

}  // namespace

CleanOutcome ClearValues(const std::string& version, const StoredList& list) {
  CleanOutcome outcome;
  outcome.entryCount = static_cast<std::int32_t>(list.values.size());
  if (list.status != ERROR_SUCCESS && list.status != ERROR_FILE_NOT_FOUND) {
    outcome.status = list.status;
    return outcome;
  }
  const std::string keyPath = Autostart::ListKeyPath(version);
  for (auto value = list.values.rbegin(); value != list.values.rend(); ++value) {
    const Autostart::Status status = Autostart::DeleteValue(HKEY_CURRENT_USER, keyPath, value->name);
    if (status == ERROR_SUCCESS) {
      ++outcome.removed;
    } else if (status != ERROR_FILE_NOT_FOUND) {  // gone already: what clearing wanted
      outcome.status = status;
      outcome.failedValue = value->name;
      break;
    }
  }
  return outcome;
}

void ReportListsChangedMeanwhile() { forms::MsgBox(Tr(Text::ListsChangedMeanwhile), MB_OK | MB_ICONWARNING); }

void FrmClear::ClearChosen() {
  const LRESULT selected = SendMessageW(Control(id::Combo1), CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= std::size(kClearChoices)) return;
  const ClearChoice& choice = kClearChoices[selected];
  const bool chosen[2] = {choice.v50, choice.v60};
  const auto read = [&] {
    std::array<StoredList, 2> lists;
    for (size_t l = 0; l < 2; ++l)
      if (chosen[l]) lists[l] = ReadStoredList(VersionOf(l));
    return lists;
  };

  const frmide::Answer ide = frmide::AskAboutOpenIdes(chosen[0], chosen[1]);
  if (!ide) return;
  std::wstring report;
  bool failed = false;
  {
    // Held from the reading that the question shows to the last removal.
    ListsLock lock;
    if (!forms::TakeLists(lock)) return;
    std::array<StoredList, 2> lists = read();
    for (int decision = 0;; ++decision) {
      if (decision == kDecisionTries) {
        // A snapshot taken in an earlier round is given up: nothing was changed.
        listcommands::FinishChange();
        ReportListsChangedMeanwhile();
        return;
      }
      std::wstring counts;
      for (size_t l = 0; l < 2; ++l)
        if (chosen[l])
          counts += (counts.empty() ? L"" : L", ") + VbName(VersionOf(l)) + L": " +
                    DecimalTextW(static_cast<long long>(lists[l].values.size()));
      std::wstring question = Tr(Text::ClearQuestion, {Tr(choice.which), counts});
      if (decision > 0) question += std::wstring(L"\r\n\r\n") + Tr(Text::ClearAskedAgain);
      if (forms::MsgBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        listcommands::FinishChange();
        return;
      }
      // The question was a wait: only what it showed is removed.
      std::array<StoredList, 2> now = read();
      if (now != lists) {
        lists = std::move(now);
        continue;
      }
      const bool anything = !lists[0].values.empty() || !lists[1].values.empty();
      // Clearing replaces the chosen lists whatever they hold.
      if (anything && !listcommands::SaveUndoOrAsk(listfile::ChangeKind::Clear)) return;
      now = read();
      if (now != lists) {
        lists = std::move(now);
        continue;
      }
      break;
    }
    for (size_t l = 0; l < 2; ++l) {
      if (!chosen[l]) continue;
      const CleanOutcome outcome = ClearValues(VersionOf(l), lists[l]);
      report += RemovalReport(VersionOf(l), outcome);
      failed = failed || outcome.status != ERROR_SUCCESS;
    }
    listcommands::FinishChange();
  }
  forms::MsgBox(ide.Noted(report), MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
  Hide();
}
