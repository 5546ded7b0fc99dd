#include "forms/listcommands.h"

#include "common/error.h"
#include "forms/messages.h"
#include "common/textfile.h"
#include "forms/form.h"
#include "forms/form1.h"
#include "forms/frmclear.h"
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

bool SaveUndoOrAsk(listfile::Replaced replaced) {
  try {
    listfile::SaveUndo(ProgramFolder(), replaced);
  } catch (const AppError& e) {
    return AskGoOnWithoutUndo(e);
  }
  RefreshMainMenu();
  return true;
}

void UndoLastChange() {
  // Greyed out then, but the command may still arrive from elsewhere.
  if (!listfile::UndoAvailable(ProgramFolder())) {
    forms::MsgBox(Say(L"Nie ma zmiany do cofnięcia.", L"There is no change to undo."));
    return;
  }
  listfile::RestoreResult result;
  try {
    ListsLock lock;
    if (!forms::TakeLists(lock)) return;
    forms::BusyScope busy(MainWindow().hwnd());
    result = listfile::RestoreUndo(ProgramFolder(), AskGoOnWithoutUndo);
  } catch (const AppError& e) {
    forms::MsgBox(Say(L"Nie cofnięto zmiany; listy pozostały bez zmian.\r\n\r\n",
                      L"Nothing was undone; the lists are unchanged.\r\n\r\n") + Describe(e),
                  MB_OK | MB_ICONWARNING);
    return;
  }
  switch (result) {
    case listfile::RestoreResult::Declined:
      return;
    case listfile::RestoreResult::Restored:
      forms::MsgBox(Say(L"Przywrócono listy sprzed ostatniej zmiany.",
                        L"The lists are back as they were before the last change."));
      return;
    case listfile::RestoreResult::Partly:
      forms::MsgBox(Say(L"Nie wszystkie wpisy udało się przywrócić: rejestr odmówił zapisu albo lista "
                        L"już nie istnieje.",
                        L"Not every entry could be put back: the registry refused a write, or a list no "
                        L"longer exists."),
                    MB_OK | MB_ICONWARNING);
      return;
  }
}

}  // namespace listcommands
