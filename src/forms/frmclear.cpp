#include "forms/frmclear.h"

#include "cleaner/cleaner.h"
#include "forms/messages.h"
#include "common/text.h"
#include "forms/form1.h"
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

void FrmClear::ClearChosen() {
  const LRESULT selected = SendMessageW(Control(id::Combo1), CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= std::size(kChoices)) return;
  const Choice& choice = kChoices[selected];
  const bool polish = MessagesInPolish();
  const std::wstring which = choice.v50 && choice.v60 ? (polish ? L"list VB5 i VB6" : L"the VB5 and VB6 lists")
                             : choice.v50            ? (polish ? L"listy VB5" : L"the VB5 list")
                                                     : (polish ? L"listy VB6" : L"the VB6 list");
  const std::wstring question =
      polish ? L"Usunąć wszystkie wpisy " + which +
                   L"?\r\n\r\nZmianę można cofnąć poleceniem \"Cofnij ostatnią zmianę\" w menu okna."
             : L"Remove every entry of " + which +
                   L"?\r\n\r\nThe change can be undone with \"Undo the last change\" in the window menu.";
  if (forms::MsgBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;

  std::wstring report;
  bool failed = false;
  {
    ListsLock lock;
    if (!forms::TakeLists(lock)) return;
    std::vector<VersionScan> scans;
    if (choice.v50) scans.push_back(ScanVersion("5.0"));
    if (choice.v60) scans.push_back(ScanVersion("6.0"));
    bool anything = false;
    for (const VersionScan& scan : scans) anything = anything || (scan.list.status == 0 && !scan.list.texts.empty());
    if (anything && !listcommands::SaveUndoOrAsk(listfile::ChangeKind::Clear)) return;
    for (const VersionScan& scan : scans) {
      std::vector<std::string> survivors;
      const CleanOutcome outcome = RewriteList(scan, std::vector<bool>(scan.list.texts.size(), false), survivors);
      const std::wstring vb = scan.version == "5.0" ? L"VB5" : L"VB6";
      report += (polish ? L"Lista " + vb + L": usunięto " + DecimalTextW(outcome.removed) + L" z " +
                              DecimalTextW(outcome.entryCount) + L" wpisów.\r\n"
                        : L"The " + vb + L" list: " + DecimalTextW(outcome.removed) + L" of " +
                              DecimalTextW(outcome.entryCount) + L" entries removed.\r\n");
      const std::wstring note = ChangeFailureNote(scan.version, outcome, polish);
      if (!note.empty()) {
        failed = true;
        report += note;
      }
    }
    listcommands::FinishChange();
  }
  forms::MsgBox(report, MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
  Hide();
}
