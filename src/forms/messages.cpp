#include "forms/messages.h"

#include <windows.h>

#include "common/text.h"
#include "forms/form_errors.h"
#include "settings/leading_lines.h"
#include "settings/settings_errors.h"

std::wstring VbName(const std::string& version) { return version == "5.0" ? L"VB5" : L"VB6"; }

namespace {

// The layers' values live in their own headers, not in the enums: switched on as numbers.
constexpr int N(Action action) { return static_cast<int>(action); }
constexpr int N(Problem problem) { return static_cast<int>(problem); }

const wchar_t* Doing(Action action) {
  switch (N(action)) {
    case N(Action::OpenFile): return Tr(Text::DoingOpenFile);
    case N(Action::ReadFile): return Tr(Text::DoingReadFile);
    case N(Action::WriteFile): return Tr(Text::DoingWriteFile);
    case N(Action::FindProgramFolder): return Tr(Text::DoingFindProgramFolder);
    case N(Action::ListFolder): return Tr(Text::DoingListFolder);
    case N(ListAction::WriteListFile): return Tr(Text::DoingWriteListFile);
    case N(ListAction::ImportListFile): return Tr(Text::DoingImportListFile);
    case N(SettingsAction::ReadOptionsFile): return Tr(Text::DoingReadOptionsFile);
    case N(SettingsAction::ApplyLanguageFile): return Tr(Text::DoingApplyLanguageFile);
    case N(WindowAction::CreateWindow): return Tr(Text::DoingCreateWindow);
    case N(WindowAction::CreateControl): return Tr(Text::DoingCreateControl);
    case N(ListAction::SaveUndo): return Tr(Text::DoingSaveUndo);
    case N(ListAction::UseUndoFile): return Tr(Text::DoingUseUndoFile);
  }
  return L"";
}

// What is wrong, after the subject.
std::wstring Wrong(const AppError& e) {
  const std::wstring number = DecimalTextW(e.number), vb = VbName(e.version), entry = AnsiToWide(e.entry);
  switch (N(e.problem)) {
    case N(Problem::None): return L"";
    case N(Problem::DeviceName): return Tr(Text::WrongDeviceName);
    case N(Problem::NulInName): return Tr(Text::WrongNulInName);
    case N(Problem::ForbiddenCharacter): return Tr(Text::WrongForbiddenCharacter, {e.detail});
    case N(Problem::ControlCharacter): return Tr(Text::WrongControlCharacter);
    case N(Problem::NameTooLong): return Tr(Text::WrongNameTooLong);
    case N(ListProblem::EndsBeforeFlags): return Tr(Text::WrongEndsBeforeFlags);
    case N(ListProblem::FlagNotNumber): return Tr(Text::WrongFlagNotNumber, {number, AnsiToWide(e.version), e.detail});
    case N(ListProblem::EndsBeforeList): return Tr(Text::WrongEndsBeforeList);
    case N(ListProblem::ListNotEnded): return Tr(Text::WrongListNotEnded);
    case N(ListProblem::EntryUnreadable): return Tr(Text::WrongEntryUnreadable, {entry, vb, UnreadableEntryReason(e.code)});
    case N(SettingsProblem::LineTooLong):
      return Tr(Text::WrongLineTooLong, {number, DecimalTextW(static_cast<long long>(kMaxLineCharacters))});
    case N(SettingsProblem::EmptyFile): return Tr(Text::WrongEmptyFile);
    case N(SettingsProblem::TooFewLines): return e.number == 1 ? Tr(Text::WrongOneLine) : Tr(Text::WrongTooFewLines, {number});
    case N(ListProblem::EntryNotInFormat): return Tr(Text::WrongEntryNotInFormat);
    case N(ListProblem::NulInEntry): return Tr(Text::WrongNulInEntry, {number});
    case N(ListProblem::LfLineEnd): return Tr(Text::WrongLfLineEnd, {number});
    case N(ListProblem::FlagOutOfRange): return Tr(Text::WrongFlagOutOfRange, {number, AnsiToWide(e.version), e.detail});
    case N(ListProblem::ByteOrderMark): return Tr(Text::WrongByteOrderMark, {e.detail});
    case N(ListProblem::OutsideFolder): return Tr(Text::WrongOutsideFolder);
    case N(ListProblem::NoListName): return Tr(Text::WrongNoListName);
    case N(ListProblem::UndoFileDamaged): return Tr(Text::WrongUndoFileDamaged);
    case N(ListProblem::ListUnreadable): return Tr(Text::WrongListUnreadable, {vb});
    case N(ListProblem::ValueTooLarge): return Tr(Text::WrongValueTooLarge, {entry, vb});
    case N(ListProblem::UndoFileTooLarge): return Tr(Text::WrongUndoFileTooLarge);
    case N(Problem::NewContentLeftIn): return Tr(Text::WrongNewContentLeftIn, {e.detail});
  }
  return L"";
}

}  // namespace

std::wstring Describe(const AppError& e) {
  std::wstring text = (e.during ? Doing(*e.during) + std::wstring(L": ") : std::wstring()) + Doing(e.action) +
                     e.subject + Wrong(e);
  // The reason is in the text already where the facts say it; the system's own words and the
  // number follow.
  const bool worded = e.problem == ListProblem::EntryUnreadable || e.problem == SettingsProblem::TooFewLines ||
                      e.problem == SettingsProblem::LineTooLong || e.problem == ListProblem::EntryNotInFormat ||
                      e.problem == ListProblem::UndoFileDamaged || e.problem == ListProblem::ValueTooLarge ||
                      e.problem == ListProblem::UndoFileTooLarge;
  if (!worded && e.code != 0) {
    const std::wstring system = e.problem == Problem::None || e.problem == Problem::NewContentLeftIn
                                    ? SystemErrorText(e.code)
                                    : std::wstring();
    if (!system.empty()) text += L": " + system;
    text += L" (" + DecimalTextW(static_cast<long long>(e.code)) + L")";
  }
  return text;
}

std::wstring StatusText(DWORD code) {
  std::wstring text = DecimalTextW(static_cast<long long>(code));
  const std::wstring name = StatusName(code), system = SystemErrorText(code);
  if (!name.empty()) text += L" " + name;
  if (!system.empty()) text += L": " + system;
  return text;
}

std::wstring UnreadableEntryReason(DWORD code) {
  std::wstring reason = DecimalTextW(static_cast<long long>(code));
  const std::wstring name = StatusName(code);
  if (!name.empty()) reason += L" " + name;
  std::wstring meaning;
  switch (code) {
    case ERROR_MORE_DATA:
      meaning = Tr(Text::ReasonTooLong);
      break;
    case ERROR_ACCESS_DENIED:
      meaning = Tr(Text::ReasonNoRight);
      break;
    case ERROR_INVALID_DATA:  // the two readings of a list (as text and as stored) kept differing
      meaning = Tr(Text::ReasonKeptChanging);
      break;
    case ERROR_NO_UNICODE_TRANSLATION:
      meaning = Tr(Text::ReasonNotAnsi);
      break;
    default:
      meaning = SystemErrorText(code);
  }
  if (!meaning.empty()) reason += L": " + meaning;
  return reason;
}

std::wstring ChangeFailureNote(const std::string& version, const CleanOutcome& outcome) {
  if (outcome.status == ERROR_SUCCESS) return L"";
  const DWORD code = static_cast<DWORD>(outcome.status);
  const std::wstring entry = AnsiToWide(outcome.failedValue);
  if (outcome.unreadable)
    return Tr(Text::NoteLeftUnreadable, {VbName(version), entry, UnreadableEntryReason(code)}) + L"\r\n";
  return Tr(Text::NoteNotChanged, {VbName(version), entry, StatusText(code)}) + L"\r\n";
}

std::wstring UncheckedEntriesNote(const std::string& version, const CleanOutcome& outcome) {
  if (outcome.unchecked <= 0) return L"";
  return Tr(Text::NoteUnchecked, {VbName(version), DecimalTextW(outcome.entryCount), DecimalTextW(outcome.unchecked)}) +
         L"\r\n";
}

std::wstring UnreachableRemovedNote(std::int32_t vb5, std::int32_t vb6) {
  if (vb5 == 0 && vb6 == 0) return L"";
  return Tr(Text::NoteUnreachableRemoved, {DecimalTextW(vb5), DecimalTextW(vb6)}) + L"\r\n";
}

std::wstring UnreachableQuestion(const std::vector<std::pair<std::string, int>>& places) {
  constexpr size_t kPlacesShown = 10;
  int total = 0;
  for (const auto& place : places) total += place.second;
  std::wstring text = Tr(Text::UnreachableCount, {DecimalTextW(total)}) + L"\r\n\r\n";
  for (size_t i = 0; i < places.size() && i < kPlacesShown; ++i)
    text += L"    " + AnsiToWide(places[i].first) + L"   " + DecimalTextW(places[i].second) + L"\r\n";
  if (places.size() > kPlacesShown)
    text += L"    ... +" + DecimalTextW(static_cast<long long>(places.size() - kPlacesShown)) + L"\r\n";
  return text + L"\r\n" + Tr(Text::UnreachableAsk);
}

std::wstring RemovalReport(const std::string& version, const CleanOutcome& outcome) {
  return Tr(Text::RemovalReport, {VbName(version), DecimalTextW(outcome.removed), DecimalTextW(outcome.entryCount)}) +
         L"\r\n" + ChangeFailureNote(version, outcome);
}

std::wstring ImportProblem(const std::string& version, const listfile::VersionImport& v) {
  if (v.Complete()) return L"";
  const std::wstring vb = VbName(version);
  if (v.keyMissing) return Tr(Text::ImportKeyMissing, {vb}) + L"\r\n";
  std::wstring reason = DecimalTextW(static_cast<DWORD>(v.firstFailure));
  const std::wstring name = StatusName(static_cast<DWORD>(v.firstFailure));
  if (!name.empty()) reason += L" " + name;
  return Tr(Text::ImportStoredInPart, {vb, DecimalTextW(static_cast<long long>(v.written)),
                                      DecimalTextW(static_cast<long long>(v.entries)), reason}) +
         L"\r\n";
}
