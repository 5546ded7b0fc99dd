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
    {L"Frame1", id::Frame1, Kind::Frame, 0, L"Którą listę wyczyścić?", 120, 120, 4695, 735, 0},
    {L"Combo1", id::Combo1, Kind::DropDownList, id::Frame1, nullptr, 120, 240, 4455, 315, 1},
    {L"Command1", id::Command1, Kind::Button, 0, L"Wyczyść", 120, 1080, 1695, 375, 2, 0, 1,
     [](Form& f) { static_cast<FrmClear&>(f).ClearChosen(); }},
    {L"Command2", id::Command2, Kind::Button, 0, L"Anuluj", 3120, 1080, 1695, 375, 3, 0, 1,
     [](Form& f) { f.Hide(); }},
};
constexpr forms::FormDef kForm{ids::kFrmClearClass, L"Wyczyść listę", 4920, 1560, kControls,
                               id::Command1, id::Command2};

// The choices of the drop-down list, in its order.
struct Choice {
  bool v50, v60;
  const wchar_t* polish;
  const wchar_t* english;
};
constexpr Choice kChoices[] = {
    {true, false, L"Visual Basic 5.0", L"Visual Basic 5.0"},
    {false, true, L"Visual Basic 6.0", L"Visual Basic 6.0"},
    {true, true, L"Visual Basic 5.0 i 6.0", L"Visual Basic 5.0 and 6.0"},
};

}  // namespace

FrmClear::FrmClear() : forms::Form(kForm) {}

void FrmClear::OnActivate() {
  SetCaption(Say(L"Wyczyść listę", L"Clear a list"));
  SetControlText(id::Frame1, Say(L"Którą listę wyczyścić?", L"Which list to clear?"));
  SetControlText(id::Command1, Say(L"Wyczyść", L"Clear"));
  SetControlText(id::Command2, Say(L"Anuluj", L"Cancel"));
  HWND combo = Control(id::Combo1);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const Choice& c : kChoices)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Say(c.polish, c.english)));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

namespace {

// Removes every numbered value of the list as read, the highest number first, so that if the
// program is stopped half-way the entries left still start at "1" without a gap. Stops at the
// first value that cannot be removed.
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

const char* VersionOf(size_t index) { return index == 0 ? "5.0" : "6.0"; }
std::wstring VbName(const std::string& version) { return version == "5.0" ? L"VB5" : L"VB6"; }

}  // namespace

std::wstring RemovalReport(const std::string& version, const CleanOutcome& outcome, bool polish) {
  const std::wstring vb = VbName(version);
  return (polish ? L"Lista " + vb + L": usunięto " + DecimalTextW(outcome.removed) + L" z " +
                       DecimalTextW(outcome.entryCount) + L" wpisów.\r\n"
                 : L"The " + vb + L" list: " + DecimalTextW(outcome.removed) + L" of " +
                       DecimalTextW(outcome.entryCount) + L" entries removed.\r\n") +
         ChangeFailureNote(version, outcome, polish);
}

void ReportListsChangedMeanwhile() {
  forms::MsgBox(Say(L"Listy zmieniały się, gdy Brushwick nad nimi pracował (na przykład zamykany Visual "
                    L"Basic zapisywał swoją listę). Nic nie zostało zmienione; spróbuj ponownie.",
                    L"The lists changed while Brushwick was working on them (a closing Visual Basic "
                    L"writing its list back, for example). Nothing was changed; try again."),
                MB_OK | MB_ICONWARNING);
}

void FrmClear::ClearChosen() {
  const LRESULT selected = SendMessageW(Control(id::Combo1), CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= std::size(kChoices)) return;
  const Choice& choice = kChoices[selected];
  const bool chosen[2] = {choice.v50, choice.v60};
  const bool polish = MessagesInPolish();
  const std::wstring which = choice.v50 && choice.v60 ? (polish ? L"list VB5 i VB6" : L"the VB5 and VB6 lists")
                             : choice.v50            ? (polish ? L"listy VB5" : L"the VB5 list")
                                                     : (polish ? L"listy VB6" : L"the VB6 list");
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
      std::wstring question =
          polish ? L"Usunąć wszystkie wpisy " + which + L"?\r\n\r\nLiczba wpisów: " + counts +
                       L".\r\n\r\nZmianę można cofnąć poleceniem \"Cofnij ostatnią zmianę\" w menu okna."
                 : L"Remove every entry of " + which + L"?\r\n\r\nEntries: " + counts +
                       L".\r\n\r\nThe change can be undone with \"Undo the last change\" in the window menu.";
      if (decision > 0)
        question += polish ? L"\r\n\r\nListy zmieniły się, gdy czekało poprzednie pytanie."
                           : L"\r\n\r\nThe lists changed while the previous question was waiting.";
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
      report += RemovalReport(VersionOf(l), outcome, polish);
      failed = failed || outcome.status != ERROR_SUCCESS;
    }
    listcommands::FinishChange();
  }
  forms::MsgBox(ide.Noted(report), MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
  Hide();
}
