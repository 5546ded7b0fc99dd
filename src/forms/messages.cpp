#include "forms/messages.h"

#include <windows.h>

#include "common/text.h"
#include "settings/leading_lines.h"

namespace {
bool g_polish = false;  // until the start decides, messages are English
}  // namespace

void SetMessagesInPolish(bool polish) { g_polish = polish; }
bool MessagesInPolish() { return g_polish; }
const wchar_t* Say(const wchar_t* polish, const wchar_t* english) { return g_polish ? polish : english; }

namespace {

const wchar_t* Doing(Action action) {
  switch (action) {
    case Action::OpenFile: return Say(L"Nie można otworzyć pliku ", L"Cannot open the file ");
    case Action::ReadFile: return Say(L"Nie można odczytać pliku ", L"Cannot read the file ");
    case Action::WriteFile: return Say(L"Nie można zapisać pliku ", L"Cannot write the file ");
    case Action::FindProgramFolder: return Say(L"Nie można ustalić folderu programu", L"Cannot find the program's folder");
    case Action::ListFolder: return Say(L"Nie można odczytać zawartości folderu ", L"Cannot list the folder ");
    case Action::WriteListFile: return Say(L"Nie można zapisać pliku listy ", L"Cannot write the list file ");
    case Action::ImportListFile: return Say(L"Nie można zaimportować pliku listy ", L"Cannot import the list file ");
    case Action::ReadOptionsFile: return Say(L"Nie można odczytać pliku opcji ", L"Cannot read the options file ");
    case Action::ApplyLanguageFile: return Say(L"Niepełny plik języka: ", L"Incomplete language file: ");
    case Action::CreateWindow: return Say(L"Nie można utworzyć okna ", L"Cannot create the window ");
    case Action::CreateControl: return Say(L"Nie można utworzyć kontrolki ", L"Cannot create the control ");
    case Action::SaveUndo:
      return Say(L"Nie można zapisać danych do cofnięcia zmiany", L"Cannot save the data to undo the change");
    case Action::UseUndoFile: return Say(L"Nie można użyć pliku cofania ", L"Cannot use the undo file ");
  }
  return L"";
}

std::wstring VersionName(const std::string& version) { return version == "5.0" ? L"VB5" : L"VB6"; }

// What is wrong, after the subject.
std::wstring Wrong(const AppError& e) {
  const bool polish = MessagesInPolish();
  switch (e.problem) {
    case Problem::None: return L"";
    case Problem::DeviceName:
      return Say(L": ta nazwa oznacza urządzenie, nie plik", L": the name is reserved for a device");
    case Problem::NulInName: return Say(L": nazwa zawiera znak NUL", L": the name holds a NUL character");
    case Problem::ForbiddenCharacter:
      return Say(L": nazwa pliku nie może zawierać '", L": file names cannot hold '") + e.detail + L"'";
    case Problem::ControlCharacter:
      return Say(L": nazwa pliku nie może zawierać znaku sterującego", L": file names cannot hold a control character");
    case Problem::NameTooLong: return Say(L": nazwa jest za długa", L": the name is too long");
    case Problem::EndsBeforeFlags:
      return Say(L": plik kończy się przed dwoma wierszami znaczników", L": it ends before its two flag lines");
    case Problem::FlagNotNumber:
      return polish ? L": wiersz " + DecimalTextW(e.number) + L" (znacznik wersji " + AnsiToWide(e.version) +
                          L") nie jest liczbą całkowitą: " + e.detail
                    : L": line " + DecimalTextW(e.number) + L" (the " + AnsiToWide(e.version) +
                          L" flag) is not a whole number: " + e.detail;
    case Problem::EndsBeforeList:
      return Say(L": znaczniki zapowiadają listę, ale plik kończy się przed jej początkiem",
                 L": its flags announce a list, but it ends before the list begins");
    case Problem::ListNotEnded:
      return Say(L": znaczniki zapowiadają listę VB6, ale żaden wiersz \"[]\" nie kończy listy VB5",
                 L": its flags announce a VB6 list, but no \"[]\" line ends the VB5 list");
    case Problem::EntryUnreadable:
      return polish ? L": wpisu \"" + AnsiToWide(e.entry) + L"\" listy " + VersionName(e.version) +
                          L" nie da się odczytać dokładnie (błąd " + UnreadableEntryReason(e.code) + L")"
                    : L": entry \"" + AnsiToWide(e.entry) + L"\" of the " + VersionName(e.version) +
                          L" list cannot be read exactly (error " + UnreadableEntryReason(e.code) + L")";
    case Problem::LineTooLong:
      return polish ? L", wiersz " + DecimalTextW(e.number) + L" jest dłuższy niż " +
                          DecimalTextW(static_cast<long long>(kMaxLineCharacters)) + L" znaków"
                    : L", line " + DecimalTextW(e.number) + L" is longer than " +
                          DecimalTextW(static_cast<long long>(kMaxLineCharacters)) + L" characters";
    case Problem::EmptyFile: return Say(L": plik jest pusty", L": the file is empty");
    case Problem::TooFewLines:
      return polish ? L", wierszy: " + DecimalTextW(e.number)
                    : L", " + DecimalTextW(e.number) + (e.number == 1 ? L" line" : L" lines");
    case Problem::EntryNotInFormat:
      return Say(L": wpis listy zawiera znak końca wiersza lub jest wierszem \"[]\"",
                 L": a list entry holds a line break or is the line \"[]\"");
    case Problem::NulInEntry:
      return polish ? L": wiersz " + DecimalTextW(e.number) + L" zawiera bajt NUL, więc plik jest uszkodzony"
                    : L": line " + DecimalTextW(e.number) + L" holds a NUL byte, so the file is damaged";
    case Problem::LfLineEnd:
      return polish ? L": wiersz " + DecimalTextW(e.number) +
                          L" kończy się samym znakiem LF, a wiersze pliku listy kończą się znakami CR LF"
                    : L": line " + DecimalTextW(e.number) +
                          L" ends in LF alone, but the lines of a list file end in CR LF";
    case Problem::FlagOutOfRange:
      return polish ? L": wiersz " + DecimalTextW(e.number) + L" (znacznik wersji " + AnsiToWide(e.version) +
                          L") jest liczbą całkowitą spoza zakresu od -2147483648 do 2147483647: " + e.detail
                    : L": line " + DecimalTextW(e.number) + L" (the " + AnsiToWide(e.version) +
                          L" flag) is a whole number out of the range -2147483648 to 2147483647: " + e.detail;
    case Problem::ByteOrderMark:
      return polish ? L": plik zaczyna się znacznikiem kolejności bajtów " + e.detail +
                          L", jest więc tekstem Unicode, a plik listy jest tekstem w stronie kodowej ANSI"
                    : L": the file starts with a " + e.detail +
                          L" byte-order mark, so it is Unicode text, but a list file is text in the ANSI code page";
    case Problem::OutsideFolder:
      return Say(L": nazwa prowadzi poza folder programu, a okno importu pokazuje tylko pliki z tego folderu",
                 L": the name leads out of the program's folder, and the import window shows the files of that "
                 L"folder only");
    case Problem::UndoFileDamaged:
      return Say(L": plik cofania jest uszkodzony (urwany, zmieniony albo nie jest plikiem cofania)",
                 L": the undo file is damaged (cut short, edited, or not an undo file)");
    case Problem::ListUnreadable:
      return polish ? L": nie można odczytać listy " + VersionName(e.version)
                    : L": the " + VersionName(e.version) + L" list cannot be read";
    case Problem::ValueTooLarge:
      return polish ? L": wpis \"" + AnsiToWide(e.entry) + L"\" listy " + VersionName(e.version) +
                          L" jest większy niż 32 KB"
                    : L": entry \"" + AnsiToWide(e.entry) + L"\" of the " + VersionName(e.version) +
                          L" list is larger than 32 KB";
    case Problem::NewContentLeftIn:
      return Say(L"; nowa treść jest w pliku ", L"; the new content is in ") + e.detail;
  }
  return L"";
}

}  // namespace

std::wstring Describe(const AppError& e) {
  std::wstring text = (e.during ? Doing(*e.during) + std::wstring(L": ") : std::wstring()) + Doing(e.action) +
                     e.subject + Wrong(e);
  // The reason is in the text already where the facts say it; the system's own words and the
  // number follow.
  const bool worded = e.problem == Problem::EntryUnreadable || e.problem == Problem::TooFewLines ||
                      e.problem == Problem::LineTooLong || e.problem == Problem::EntryNotInFormat ||
                      e.problem == Problem::UndoFileDamaged || e.problem == Problem::ValueTooLarge;
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
      meaning = Say(L"tekst jest dłuższy niż 254 znaki", L"the text is longer than 254 characters");
      break;
    case ERROR_ACCESS_DENIED:
      meaning = Say(L"brak prawa odczytu", L"no right to read it");
      break;
    case ERROR_INVALID_DATA:  // the two readings of a list (as text and as stored) kept differing
      meaning = Say(L"lista zmieniała się podczas odczytu", L"the list kept changing while it was read");
      break;
    case ERROR_NO_UNICODE_TRANSLATION:
      meaning = Say(L"tekst zawiera znaki spoza strony kodowej ANSI systemu",
                    L"the text holds characters outside the system's ANSI code page");
      break;
    default:
      meaning = SystemErrorText(code);
  }
  if (!meaning.empty()) reason += L": " + meaning;
  return reason;
}
