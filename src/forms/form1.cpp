#include "forms/form1.h"

#include <shellapi.h>

#include <optional>

#include "common/error.h"
#include "forms/messages.h"
#include "common/text.h"
#include "common/textfile.h"
#include "forms/frmclear.h"
#include "forms/frmexport.h"
#include "forms/frmide.h"
#include "forms/frmimport.h"
#include "forms/frmlang.h"
#include "forms/ids.h"
#include "forms/listcommands.h"
#include "forms/program_windows.h"
#include "settings/language.h"
#include "settings/options.h"

namespace {

using forms::ControlDef;
using forms::Form;
using forms::Kind;
namespace id = ids::form1;

Form1& Self(Form& form) { return static_cast<Form1&>(form); }

// The description, Start, and the buttons in a row below; List1 is plain data, not a control.
constexpr ControlDef kControls[] = {
    {L"Frame1", id::Frame1, Kind::Frame, 0, L"Informacja o programie", 120, 120, 6855, 2295, 5, 5},
    {L"Label1", id::Label1, Kind::Label, id::Frame1,
     L"VB5 i VB6 tworzy listę ostatnio używanych plików. Program ten analizuje owe listy, czy nie "
     L"ma odwołań do nieistniejących plików i jeśli są, to je usuwa. Program obsługuje VB5 i VB6\r\n"
     L"Aby rozpocząć usuwanie martwych wpisów, kliknij w przycisk Start\r\n"
     L"\r\n"
     L"Autorem programu jest Kadrin. Program jest w 100% darmowy\r\n"
     L"\r\n"
     L"UWAGA: Przed kliknięciem w przycisk Go zamknij wszystkie otwarte kopie VB, w przeciwnym "
     L"wypadku podczas zamykania VB zostanie przywrócona stara lista !!\r\n",
     180, 240, 6495, 1995, 6, 6, 4},
    {L"Command1", id::Command1, Kind::Button, 0, L"Start", 120, 2640, 1455, 375, 0, 1, 1,
     [](Form& f) { Self(f).CleaningRun(); }},
    {L"Command4", id::Command4, Kind::Button, 0, L"Importuj listę", 1800, 2640, 1575, 375, 3, 2, 1,
     [](Form&) { ImportWindow().ShowModal(); }},
    {L"Command5", id::Command5, Kind::Button, 0, L"Eksportuj listę", 3600, 2640, 1575, 375, 4, 3, 1,
     [](Form&) { ExportWindow().ShowModal(); }},
    {L"Command3", id::Command3, Kind::Button, 0, L"WWW", 5400, 2640, 1575, 375, 2, 4, 1,
     [](Form& f) { ShellExecuteW(f.hwnd(), L"open", HomePageAddress(CurrentLanguage), L"", L"", SW_SHOWNORMAL); }},
};
constexpr forms::FormDef kForm{ids::kForm1Class, L"Brushwick", 7065, 3135, kControls};
static_assert(forms::TakesEachLineOnce(kForm, kMainWindowLines.first, kMainWindowLines.last));
static_assert(std::tuple_size_v<decltype(Form1::SummaryText)> == kSummaryLines.size());

}  // namespace

constexpr std::array<std::wstring_view, 6> Form1::kBuiltInSummaryText = {
    L"Liczba ostatnio używanych plików dla VB5: ",
    L"z czego usunięto ",
    L" martwych wpisów",
    L"Liczba ostatnio używanych plików dla VB6: ",
    L"z czego usunięto ",
    L" martwych wpisów",
};

const wchar_t* HomePageAddress(const std::string& language) {
  return language == "#" ? L"https://brushwick.example/pl/" : L"https://brushwick.example/en/";
}

std::wstring ChangeFailureNote(const std::string& version, const CleanOutcome& outcome, bool polish) {
  if (outcome.status == ERROR_SUCCESS) return L"";
  const std::wstring vb = version == "5.0" ? L"VB5" : L"VB6";
  const DWORD code = static_cast<DWORD>(outcome.status);
  if (outcome.unreadable) {
    const std::wstring entry = AnsiToWide(outcome.failedValue), reason = UnreadableEntryReason(code);
    if (polish)
      return L"Listę " + vb + L" pozostawiono bez zmian: wpisu \"" + entry +
             L"\" nie da się odczytać dokładnie (błąd " + reason + L").\r\n";
    return L"The " + vb + L" list was left as it was: entry \"" + entry +
           L"\" cannot be read exactly (error " + reason + L").\r\n";
  }
  const std::wstring reason = StatusText(code);
  const std::wstring value = AnsiToWide(outcome.failedValue);
  if (polish)
    return L"Nie udało się zmienić listy " + vb + L" (wpis \"" + value + L"\", błąd " + reason +
           L"). Żaden istniejący wpis nie został utracony.\r\n";
  return L"The " + vb + L" list could not be changed (entry \"" + value + L"\", error " + reason +
         L"). No existing entry was lost.\r\n";
}

std::wstring UncheckedEntriesNote(const std::string& version, const CleanOutcome& outcome, bool polish) {
  if (outcome.unchecked <= 0) return L"";
  const std::wstring vb = version == "5.0" ? L"VB5" : L"VB6";
  const std::wstring checked = DecimalTextW(outcome.entryCount), rest = DecimalTextW(outcome.unchecked);
  if (polish)
    return L"Lista " + vb + L" zawiera więcej wpisów niż sprawdzone " + checked + L": pozostałych " + rest +
           L" nie sprawdzono i zachowano je bez zmian, w ich kolejności.\r\n";
  return L"The " + vb + L" list holds more entries than the " + checked + L" checked: the other " + rest +
         L" were not checked and were kept as they are, in their order.\r\n";
}

std::wstring UnreachableRemovedNote(std::int32_t vb5, std::int32_t vb6, bool polish) {
  if (vb5 == 0 && vb6 == 0) return L"";
  const std::wstring counts = L"VB5: " + DecimalTextW(vb5) + L", VB6: " + DecimalTextW(vb6) + L".\r\n";
  return (polish ? L"Usunięto też, zgodnie z odpowiedzią Tak, wpisy z miejsc, które były niedostępne: "
                 : L"Also removed, as answered Yes, entries on places that could not be reached: ") +
         counts;
}

Form1::Form1() : forms::Form(kForm) {}

void Form1::OnLoad() {
  for (size_t i = 0; i < SummaryText.size(); ++i) SummaryText[i] = kBuiltInSummaryText[i];
  LangWindow().Unload();
  Language();
  listcommands::AddToWindowMenu(hwnd());
}

void Form1::OnSystemMenu(HMENU menu) { listcommands::UpdateWindowMenu(menu); }

bool Form1::OnSystemCommand(UINT command) { return listcommands::Run(command); }

void Form1::Language() {
  // Each line goes to its place as soon as it is read, so a short file leaves the texts before
  // the missing line translated and the rest built in.
  ApplyLanguage(ProgramFolder(), CurrentLanguage, [this](int line, const std::string& ansi) {
    const std::wstring text = AnsiToWide(ansi);
    if (ApplyLanguageLine(line, text) || ExportWindow().ApplyLanguageLine(line, text) ||
        ImportWindow().ApplyLanguageLine(line, text))
      return;
    if (kSummaryLines.Holds(line)) SummaryText[static_cast<size_t>(line - kSummaryLines.first)] = text;
  });
}

std::wstring Form1::Summary(const CleanOutcome& vb5, const CleanOutcome& vb6) const {
  return SummaryText[0] + DecimalTextW(vb5.entryCount) + L"\r\n" + SummaryText[1] +
         DecimalTextW(vb5.removed) + SummaryText[2] + L"\r\n\r\n" + SummaryText[3] +
         DecimalTextW(vb6.entryCount) + L"\r\n" + SummaryText[4] + DecimalTextW(vb6.removed) +
         SummaryText[5] + L"\r\n";
}

void Form1::CleaningRun() {
  const bool polish = MessagesInPolish();
  // Only while probes of slow places are out: the windows are served, but nothing else may
  // start while both lists wait to be rewritten.
  std::optional<forms::BusyScope> busy;
  const auto pump = [&] {
    if (!busy) busy.emplace(hwnd());
    busy->KeepAnswering();
  };
  const auto ask = [&](const std::vector<std::pair<std::string, int>>& places) {
    return forms::MsgBox(UnreachableQuestion(places, polish), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  };
  const frmide::Answer ide = frmide::AskAboutOpenIdes(true, true);
  if (!ide) return;
  BothOutcomes run;
  {
    // Held for both versions, the question included, and given back before the summary waits
    // for the user.
    ListsLock lock;
    if (!forms::TakeLists(lock)) return;
    forms::DoEvents();
    // The lists as they were are saved for undo just before the first change.
    run = CleanBothLists(List1, ExistenceChecks::System(), pump, ask, [] { return listcommands::SaveUndoOrAsk(listfile::ChangeKind::Clean); });
    listcommands::FinishChange();
    busy.reset();
    forms::DoEvents();
  }
  if (run.declined) return;
  if (run.changedMeanwhile) {
    ReportListsChangedMeanwhile();
    return;
  }
  // Entries removed because the user said so are not dead ones: they are counted apart.
  CleanOutcome dead5 = run.vb5, dead6 = run.vb6;
  dead5.removed -= run.vb5.removedUnreachable;
  dead6.removed -= run.vb6.removedUnreachable;
  std::wstring text = Summary(dead5, dead6);
  const std::wstring notes = UnreachableRemovedNote(run.vb5.removedUnreachable, run.vb6.removedUnreachable, polish) +
                             ChangeFailureNote("5.0", run.vb5, polish) + ChangeFailureNote("6.0", run.vb6, polish) +
                             UncheckedEntriesNote("5.0", run.vb5, polish) + UncheckedEntriesNote("6.0", run.vb6, polish);
  if (!notes.empty()) text += L"\r\n" + notes;
  const bool failed = run.vb5.status != ERROR_SUCCESS || run.vb6.status != ERROR_SUCCESS;
  forms::MsgBox(ide.Noted(text), MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
}

bool Form1::OnQueryUnload() {
  // The export and import windows only hide when asked to close, unless their tag says the
  // program is ending.
  ExportWindow().Load();
  ExportWindow().Tag = L"1";
  ImportWindow().Load();
  ImportWindow().Tag = L"1";
  ExportWindow().Unload();
  ImportWindow().Unload();
  return true;
}

void Form1::OnUnload() { ExitProcess(0); }

std::wstring UnreachableQuestion(const std::vector<std::pair<std::string, int>>& places, bool polish) {
  constexpr size_t kPlacesShown = 10;
  int total = 0;
  for (const auto& place : places) total += place.second;
  std::wstring text = polish ? L"Liczba wpisów wskazujących miejsca, które są teraz niedostępne: "
                             : L"Entries that point to places that cannot be reached now: ";
  text += DecimalTextW(total) + L"\r\n\r\n";
  for (size_t i = 0; i < places.size() && i < kPlacesShown; ++i)
    text += L"    " + AnsiToWide(places[i].first) + L"   " + DecimalTextW(places[i].second) + L"\r\n";
  if (places.size() > kPlacesShown)
    text += L"    ... +" + DecimalTextW(static_cast<long long>(places.size() - kPlacesShown)) + L"\r\n";
  text += polish ? L"\r\nIch pliki mogą nadal istnieć (na przykład na odłączonym dysku lub serwerze). "
                   L"Czy usunąć także te wpisy?\r\n\r\nNie: wpisy pozostaną na listach."
                 : L"\r\nTheir files may still exist (on a drive or server that is not connected, for "
                   L"example). Remove these entries as well?\r\n\r\nNo: the entries stay in the lists.";
  return text;
}
