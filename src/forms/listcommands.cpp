#include "forms/listcommands.h"

#include <optional>
#include <vector>

#include "common/error.h"
#include "common/text.h"
#include "forms/messages.h"
#include "common/textfile.h"
#include "forms/form.h"
#include "forms/form1.h"
#include "forms/frmclear.h"
#include "forms/frmide.h"
#include "forms/frmreview.h"
#include "forms/ids.h"
#include "forms/program_windows.h"

namespace listcommands {
namespace {

namespace menu = ids::form1menu;

struct Item {
  UINT id;
  const wchar_t* polish;
  const wchar_t* english;
};
constexpr Item kItems[] = {
    {menu::Review, L"Przejrzyj &listy...", L"Re&view the lists..."},
    {menu::Undo, L"C&ofnij ostatnią zmianę", L"&Undo the last change"},
    {menu::Clear, L"W&yczyść listę...", L"C&lear a list..."},
};

// The access keys of the system's own items of the window menu, in Polish as Windows and Wine
// show them (Przywróć, Przenieś, Rozmiar, Minimalizuj, Maksymalizuj, Zamknij, "Wine -
// informacje") and in English (Restore, Move, Size, Minimize, Maximize, Close, About Wine).
constexpr const wchar_t* kSystemKeysPolish = L"preamnkz";
constexpr const wchar_t* kSystemKeysEnglish = L"rmsnxca";

constexpr wchar_t AccessKey(const wchar_t* text) {
  for (; *text; ++text)
    if (text[0] == L'&' && text[1] != L'&' && text[1]) return text[1] >= L'A' && text[1] <= L'Z' ? text[1] - L'A' + L'a' : text[1];
  return 0;
}
constexpr bool Holds(const wchar_t* keys, wchar_t key) {
  for (; *keys; ++keys)
    if (*keys == key) return true;
  return false;
}
// Each item has a key of its own in each language, taken by none of the system's items.
constexpr bool KeysApart() {
  for (const Item& item : kItems) {
    const wchar_t polish = AccessKey(item.polish), english = AccessKey(item.english);
    if (!polish || !english || Holds(kSystemKeysPolish, polish) || Holds(kSystemKeysEnglish, english)) return false;
    for (const Item& other : kItems)
      if (&other != &item && (AccessKey(other.polish) == polish || AccessKey(other.english) == english)) return false;
  }
  return true;
}
static_assert(KeysApart(), "an access key of the window menu is taken twice");

bool AskGoOnWithoutUndo(const AppError& e) {
  const std::wstring text =
      Describe(e) + Say(L"\r\n\r\nCzy mimo to wprowadzić zmianę bez możliwości jej cofnięcia?",
                            L"\r\n\r\nMake the change anyway, without a way to undo it?");
  return forms::MsgBox(text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void RefreshMainMenu() {
  if (MainWindow().IsLoaded()) UpdateWindowMenu(GetSystemMenu(MainWindow().hwnd(), FALSE));
}

}  // namespace

void AddToWindowMenu(HWND window) {
  HMENU system = GetSystemMenu(window, FALSE);
  if (!system) return;
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  for (const Item& item : kItems) AppendMenuW(system, MF_STRING, item.id, Say(item.polish, item.english));
  UpdateWindowMenu(system);
}

void UpdateWindowMenu(HMENU system) {
  if (!system) return;
  for (const Item& item : kItems)
    ModifyMenuW(system, item.id, MF_BYCOMMAND | MF_STRING, item.id, Say(item.polish, item.english));
  EnableMenuItem(system, menu::Undo,
                 MF_BYCOMMAND | (listfile::UndoAvailable(ProgramFolder()) ? MF_ENABLED : MF_GRAYED));
}

bool Run(UINT command) {
  switch (command) {
    case menu::Review:
      ReviewWindow().ShowModal();
      break;
    case menu::Undo:
      UndoLastChange();
      break;
    case menu::Clear:
      ClearWindow().ShowModal();
      break;
    default:
      return false;
  }
  RefreshMainMenu();
  return true;
}

namespace {

// The change begun by SaveUndoOrAsk, until FinishChange.
std::optional<listfile::UndoRecord> g_begun;

const wchar_t* KindText(listfile::ChangeKind kind) {
  switch (kind) {
    case listfile::ChangeKind::Clean: return Say(L"czyszczenie przyciskiem Start", L"cleaning with Start");
    case listfile::ChangeKind::Review: return Say(L"usunięcie zaznaczonych wpisów", L"removing the checked entries");
    case listfile::ChangeKind::Import: return Say(L"import listy", L"importing a list");
    case listfile::ChangeKind::Clear: return Say(L"wyczyszczenie listy", L"clearing a list");
    case listfile::ChangeKind::Undo: return Say(L"cofnięcie zmiany", L"undoing a change");
  }
  return L"";
}

// Which list, which entry and why, one line each.
std::wstring FailureLines(const std::vector<listfile::RestoreFailure>& failures) {
  std::wstring text;
  for (const listfile::RestoreFailure& f : failures) {
    const std::wstring vb = f.version == "5.0" ? L"VB5" : L"VB6";
    if (f.keyMissing)
      text += std::wstring(Say(L"lista ", L"the ")) + vb + Say(L" nie istnieje już w rejestrze", L" list no longer exists in the registry");
    else if (f.entry.empty())
      text += std::wstring(Say(L"lista ", L"the ")) + vb + Say(L": błąd odczytu ", L" list: reading failed with error ") +
              StatusText(static_cast<DWORD>(f.status));
    else
      text += std::wstring(Say(L"lista ", L"the ")) + vb + Say(L", wpis \"", L" list, entry \"") + AnsiToWide(f.entry) +
              Say(L"\": błąd ", L"\": error ") + StatusText(static_cast<DWORD>(f.status));
    text += L"\r\n";
  }
  return text;
}

void TellPartly(const std::vector<listfile::RestoreFailure>& failures) {
  forms::MsgBox(std::wstring(Say(L"Nie wszystkie wpisy udało się przywrócić:\r\n\r\n", L"Not every entry could be put back:\r\n\r\n")) +
                    FailureLines(failures) +
                    Say(L"\r\nListy sprzed cofania także są zachowane. Wybierz ponownie \"Cofnij ostatnią "
                        L"zmianę\", aby dokończyć przywracanie.",
                        L"\r\nThe lists as they were before are kept as well. Choose \"Undo the last change\" "
                        L"again to finish putting them back."),
                MB_OK | MB_ICONWARNING);
}

void TellNothingUndone(const AppError& e) {
  forms::MsgBox(Say(L"Nie cofnięto zmiany; listy pozostały bez zmian.\r\n\r\n",
                    L"Nothing was undone; the lists are unchanged.\r\n\r\n") + Describe(e),
                MB_OK | MB_ICONWARNING);
}

bool AskChangedSince(const listfile::ChangedSince& since) {
  const std::wstring text =
      std::wstring(Say(L"Listy zmieniły się od ostatniej zmiany (zapisał je Visual Basic albo inny program).\r\n\r\n"
          L"Wpisy obecne teraz, które cofnięcie usunie: ",
          L"The lists have changed since the last change (Visual Basic or another program wrote them).\r\n\r\n"
          L"Entries there now that the undo would remove: ")) +
      DecimalTextW(static_cast<long long>(since.goneAfterUndo)) + Say(L"\r\nw tym dodane po tej zmianie: ",
                                                                      L"\r\nof them added after that change: ") +
      DecimalTextW(static_cast<long long>(since.addedSince)) +
      Say(L"\r\n\r\nCzy mimo to cofnąć ostatnią zmianę?", L"\r\n\r\nUndo the last change anyway?");
  return forms::MsgBox(text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// A change found begun and not done: named, and putting the lists back offered (default Yes,
// since they may be half changed). The lists are held by the caller.
void ResolveInterrupted(const listfile::UndoRecord& pending) {
  const std::wstring folder = ProgramFolder();
  bool putBack = true;
  if (!pending.after) {
    const std::wstring when = AnsiToWide(pending.when);
    const std::wstring text =
        pending.kind == listfile::ChangeKind::Undo
            ? std::wstring(Say(L"Cofanie ostatniej zmiany (rozpoczęte ", L"Undoing the last change (begun ")) + when +
                  Say(L") zostało przerwane przed końcem: listy mogą być przywrócone tylko w części.\r\n\r\n"
                      L"Czy dokończyć przywracanie list?\r\n\r\nNie: listy pozostaną takie, jakie są teraz; "
                      L"\"Cofnij ostatnią zmianę\" przywróci je wtedy do stanu sprzed cofania.",
                      L") was interrupted before it was done: the lists may be only partly put back.\r\n\r\n"
                      L"Finish putting the lists back?\r\n\r\nNo: the lists stay as they are now; \"Undo the "
                      L"last change\" then returns them to how they were before the undo.")
            : std::wstring(Say(L"Ostatnia zmiana list (", L"The last change to the lists (")) + KindText(pending.kind) +
                  Say(L", rozpoczęta ", L", begun ") + when +
                  Say(L") została przerwana przed końcem: listy mogą być zmienione tylko w części.\r\n\r\n"
                      L"Czy przywrócić listy sprzed tej zmiany?\r\n\r\nNie: listy pozostaną takie, jakie są "
                      L"teraz; \"Cofnij ostatnią zmianę\" przywróci je później.",
                      L") was interrupted before it was done: the lists may be only partly changed.\r\n\r\n"
                      L"Put the lists back as they were before it?\r\n\r\nNo: the lists stay as they are now; "
                      L"\"Undo the last change\" puts them back later.");
    putBack = forms::MsgBox(text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON1) == IDYES;
  }
  std::vector<listfile::RestoreFailure> failures;
  try {
    forms::BusyScope busy(MainWindow().IsLoaded() ? MainWindow().hwnd() : nullptr);
    failures = listfile::FinishInterrupted(folder, pending, putBack, [&busy] { busy.KeepAnswering(); });
  } catch (const AppError& e) {
    TellNothingUndone(e);
    return;
  }
  if (!failures.empty()) {
    TellPartly(failures);
  } else if (putBack && !pending.after) {
    forms::MsgBox(pending.kind == listfile::ChangeKind::Undo
                      ? Say(L"Przywrócono listy sprzed ostatniej zmiany.",
                            L"The lists are back as they were before the last change.")
                      : Say(L"Przywrócono listy sprzed przerwanej zmiany.",
                            L"The lists are back as they were before the interrupted change."));
  }
}

// The change left unfinished, if any; a damaged one is told about when `tell`, and otherwise
// replaced by the next change.
std::optional<listfile::UndoRecord> Pending(bool tell) {
  try {
    return listfile::ReadPending(ProgramFolder());
  } catch (const AppError& e) {
    if (tell)
      forms::MsgBox(Describe(e) + Say(L"\r\n\r\nPlik pozostawiono bez zmian; następna zmiana list go zastąpi.",
                                      L"\r\n\r\nThe file is left as it is; the next change to the lists replaces it."),
                    MB_OK | MB_ICONWARNING);
    return std::nullopt;
  }
}

}  // namespace

bool SaveUndoOrAsk(listfile::ChangeKind kind) {
  // Begun again by the same command before it wrote anything (the lists changed after the first
  // snapshot): its own new file is no interrupted change, and the fresh snapshot replaces it.
  const bool again = g_begun.has_value();
  g_begun.reset();
  if (again) DeleteFileW(listfile::PendingFilePath(ProgramFolder()).c_str());
  if (const std::optional<listfile::UndoRecord> pending = again ? std::nullopt : Pending(false)) {
    // The lists may be half changed: that is settled first, and the command starts afresh.
    ResolveInterrupted(*pending);
    RefreshMainMenu();
    return false;
  }
  try {
    g_begun = listfile::BeginChange(ProgramFolder(), kind);
  } catch (const AppError& e) {
    return AskGoOnWithoutUndo(e);
  }
  RefreshMainMenu();
  return true;
}

void FinishChange() {
  if (!g_begun) return;
  listfile::UndoRecord begun = std::move(*g_begun);
  g_begun.reset();
  try {
    listfile::FinishChange(ProgramFolder(), std::move(begun));
  } catch (const AppError& e) {
    forms::MsgBox(std::wstring(Say(L"Nie udało się uaktualnić pliku cofania.\r\n\r\n", L"The undo file could not be brought up to date.\r\n\r\n")) +
                      Describe(e) +
                      Say(L"\r\n\r\nPrzy następnym uruchomieniu program zaproponuje przywrócenie list sprzed tej zmiany.",
                          L"\r\n\r\nAt the next start Brushwick offers to put the lists back as they were before this change."),
                  MB_OK | MB_ICONWARNING);
  }
  RefreshMainMenu();
}

void UndoLastChange() {
  // A restore keeps the windows answering; a second undo posted meanwhile must not start inside it.
  static bool running = false;
  if (running) return;
  running = true;
  struct Done {
    ~Done() { running = false; }
  } done;
  const std::wstring folder = ProgramFolder();
  // Greyed out then, but the command may still arrive from elsewhere.
  if (!listfile::UndoAvailable(folder)) {
    forms::MsgBox(Say(L"Nie ma zmiany do cofnięcia.", L"There is no change to undo."));
    return;
  }
  const frmide::Answer ide = frmide::AskAboutOpenIdes(true, true);
  if (!ide) return;
  ListsLock lock;
  if (!forms::TakeLists(lock)) return;
  if (const std::optional<listfile::UndoRecord> pending = Pending(true)) {
    ResolveInterrupted(*pending);
    return;
  }
  if (GetFileAttributesW(listfile::UndoFilePath(folder).c_str()) == INVALID_FILE_ATTRIBUTES) {
    forms::MsgBox(Say(L"Nie ma zmiany do cofnięcia.", L"There is no change to undo."));
    return;
  }
  listfile::UndoOutcome outcome;
  try {
    forms::BusyScope busy(MainWindow().hwnd());
    outcome = listfile::UndoLastChange(folder, AskChangedSince, AskGoOnWithoutUndo, [&busy] { busy.KeepAnswering(); });
  } catch (const AppError& e) {
    TellNothingUndone(e);
    return;
  }
  switch (outcome.status) {
    case listfile::UndoStatus::Declined:
      return;
    case listfile::UndoStatus::Restored:
      forms::MsgBox(ide.Noted(Say(L"Przywrócono listy sprzed ostatniej zmiany.",
                                  L"The lists are back as they were before the last change.")));
      return;
    case listfile::UndoStatus::Partly:
      TellPartly(outcome.failures);
      return;
  }
}

void OfferToFinishInterruptedChange() {
  static bool checked = false;
  if (checked) return;
  checked = true;
  if (!listfile::PendingExists(ProgramFolder())) return;
  // Another copy in the middle of a change holds the lists and finishes that change itself.
  ListsLock lock;
  if (!lock.Acquire(kListsLockWaitMs, forms::DoEvents)) return;
  if (const std::optional<listfile::UndoRecord> pending = Pending(true)) ResolveInterrupted(*pending);
  RefreshMainMenu();
}

}  // namespace listcommands
