#include "forms/form1.h"

#include <shellapi.h>

#include <optional>

#include "common/error.h"
#include "forms/messages.h"
#include "common/text.h"
#include "common/textfile.h"
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

// The description, Start, and the buttons in a row below; List1 is plain data, not a control.
constexpr ControlDef kControls[] = {
    {.name = L"Frame1", .id = id::Frame1, .kind = Kind::Frame, .text = Text::MainFrame,
     .twips = {120, 120, 6855, 2295}, .tabIndex = 5},
    {.name = L"Label1", .id = id::Label1, .kind = Kind::Label, .container = id::Frame1, .text = Text::MainAbout1,
     .paragraphs = 4, .twips = {180, 240, 6495, 1995}, .tabIndex = 6},
    {.name = L"Command1", .id = id::Command1, .kind = Kind::Button, .text = Text::MainStart,
     .twips = {120, 2640, 1455, 375}, .tabIndex = 0, .onClick = forms::Bind<&Form1::CleaningRun>},
    {.name = L"Command4", .id = id::Command4, .kind = Kind::Button, .text = Text::MainImport,
     .twips = {1800, 2640, 1575, 375}, .tabIndex = 3, .onClick = [](Form&) { ImportWindow().ShowModal(); }},
    {.name = L"Command5", .id = id::Command5, .kind = Kind::Button, .text = Text::MainExport,
     .twips = {3600, 2640, 1575, 375}, .tabIndex = 4, .onClick = [](Form&) { ExportWindow().ShowModal(); }},
    {.name = L"Command3", .id = id::Command3, .kind = Kind::Button, .text = Text::MainHomePage,
     .twips = {5400, 2640, 1575, 375}, .tabIndex = 2, .onClick = forms::Bind<&Form1::OpenHomePage>},
};
constexpr forms::FormDef kForm{.className = ids::kForm1Class, .caption = Text::ProgramName, .clientWidth = 7065,
                               .clientHeight = 3135, .controls = kControls};
static_assert(forms::TakesEachLineOnce(kForm, kMainWindowLines.first, kMainWindowLines.last));
static_assert(std::tuple_size_v<decltype(Form1::SummaryText)> == kSummaryLines.size());
static_assert(TextOfLine(kSummaryLines.first) == Text::Summary1 && TextOfLine(kSummaryLines.last) == Text::Summary6);

}  // namespace

const wchar_t* HomePageAddress(const std::string& language) {
  return language == "#" ? L"https://brushwick.example/pl/" : L"https://brushwick.example/en/";
}

CleanOutcome DeadOnly(CleanOutcome outcome) {
  outcome.removed -= outcome.removedUnreachable;
  return outcome;
}

std::wstring CleaningNotes(const BothOutcomes& run) {
  return UnreachableRemovedNote(run.vb5.removedUnreachable, run.vb6.removedUnreachable) +
         ChangeFailureNote("5.0", run.vb5) + ChangeFailureNote("6.0", run.vb6) + UncheckedEntriesNote("5.0", run.vb5) +
         UncheckedEntriesNote("6.0", run.vb6);
}

Form1::Form1(std::span<const forms::MenuCommandDef> menu) : forms::Form(kForm, menu) {}

void Form1::OnLoad() { Language(); }

void Form1::OpenHomePage() {
  ShellExecuteW(hwnd(), L"open", HomePageAddress(CurrentLanguage), L"", L"", SW_SHOWNORMAL);
}

void Form1::Language() {
  UseLanguageFile(ProgramFolder(), CurrentLanguage);
  ApplyTexts();
}

void Form1::OnTexts() {
  for (size_t i = 0; i < SummaryText.size(); ++i)
    SummaryText[i] = Tr(static_cast<Text>(static_cast<size_t>(Text::Summary1) + i));
  // The built-in description keeps its first two lines together.
  if (CurrentTexts().polish())
    SetControlText(id::Label1, std::wstring(Tr(Text::MainAbout1)) + L"\r\n" + Tr(Text::MainAbout2) + L"\r\n\r\n" +
                                   Tr(Text::MainAbout3) + L"\r\n\r\n" + Tr(Text::MainAbout4) + L"\r\n");
}

std::wstring Form1::Summary(const CleanOutcome& vb5, const CleanOutcome& vb6) const {
  return SummaryText[0] + DecimalTextW(vb5.entryCount) + L"\r\n" + SummaryText[1] +
         DecimalTextW(vb5.removed) + SummaryText[2] + L"\r\n\r\n" + SummaryText[3] +
         DecimalTextW(vb6.entryCount) + L"\r\n" + SummaryText[4] + DecimalTextW(vb6.removed) +
         SummaryText[5] + L"\r\n";
}

change::Wanted DecideClean(CleanRun& run, const listfile::ListsReading& now, std::array<bool, 2> concerned) {
  std::array<VersionScan, 2> scans;
  for (int l = 0; l < 2; ++l)
    scans[l] = ScanOf(listfile::kListVersions[l], now.status[l], now.state.lists[l].values);
  run.Decide(std::move(scans), concerned);
  change::Wanted wanted;
  for (int l = 0; l < 2; ++l) wanted.lists[l] = run.Wanted(l);
  return wanted;
}

BothOutcomes CleanOutcomes(const CleanRun& run, const change::Outcome& out) {
  return {run.Outcome(0, out.writes[0]), run.Outcome(1, out.writes[1])};
}

void Form1::CleaningRun() {
  listcommands::WindowAnswers answers(hwnd());
  const auto ask = [&](const std::vector<std::pair<std::string, int>>& places) {
    return forms::MsgBox(UnreachableQuestion(places), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  };
  const auto pump = [&] { answers.KeepAnswering(); };
  CleanRun run(ExistenceChecks::System(), pump, ask);
  const auto decide = [&](const listfile::ListsReading& now, std::array<bool, 2> concerned) {
    return DecideClean(run, now, concerned);
  };
  const change::Outcome out = change::Run(ProgramFolder(), listfile::ChangeKind::Clean, {true, true}, decide, answers);
  answers.Idle();
  forms::DoEvents();
  if (!listcommands::Settle(out, hwnd())) return;
  const BothOutcomes outcomes = CleanOutcomes(run, out);
  std::wstring text = Summary(DeadOnly(outcomes.vb5), DeadOnly(outcomes.vb6));
  const std::wstring notes = CleaningNotes(outcomes);
  if (!notes.empty()) text += L"\r\n" + notes;
  const bool failed = outcomes.vb5.status != ERROR_SUCCESS || outcomes.vb6.status != ERROR_SUCCESS;
  forms::MsgBox(answers.Noted(text), MB_OK | (failed ? MB_ICONWARNING : MB_ICONINFORMATION));
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
