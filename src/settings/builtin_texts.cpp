#include "settings/builtin_texts.h"

// Defined constexpr (the header's extern declarations keep them external) so that they are
// constant-initialised and safe to use from any other static initialiser.
constexpr std::array<std::wstring_view, kLanguageLineCount> kBuiltInLanguageTexts = {
    // Main window: Command1, Command4, Command5, Command3, Frame1.
    L"Start",
    L"Importuj listę",
    L"Eksportuj listę",
    L"WWW",
    L"Informacja o programie",
    // Main window: the four paragraphs of Label1.
    L"VB5 i VB6 tworzy listę ostatnio używanych plików. Program ten analizuje owe listy, czy nie "
    L"ma odwołań do nieistniejących plików i jeśli są, to je usuwa. Program obsługuje VB5 i VB6",
    L"Aby rozpocząć usuwanie martwych wpisów, kliknij w przycisk Start",
    L"Autorem programu jest Kadrin. Program jest w 100% darmowy",
    L"UWAGA: Przed kliknięciem w przycisk Go zamknij wszystkie otwarte kopie VB, w przeciwnym "
    L"wypadku podczas zamykania VB zostanie przywrócona stara lista !!",
    // Export window: title, Frame1, Frame2, Command2.
    L"Eksportuj listę",
    L"Podaj nazwę listy",
    L"Eksport dotyczy VB w wesji",
    L"Anuluj",
    // Import window: title, Frame1, Command1, Command2.
    L"Importuj listę",
    L"Wybierz listę",
    L"Importuj",
    L"Anuluj",
    // SummaryText pieces 1 to 6.
    L"Liczba ostatnio używanych plików dla VB5: ",
    L"z czego usunięto ",
    L" martwych wpisów",
    L"Liczba ostatnio używanych plików dla VB6: ",
    L"z czego usunięto ",
    L" martwych wpisów",
};

constexpr std::wstring_view kBuiltInDescription =
    L"VB5 i VB6 tworzy listę ostatnio używanych plików. Program ten analizuje owe listy, czy nie "
    L"ma odwołań do nieistniejących plików i jeśli są, to je usuwa. Program obsługuje VB5 i VB6\r\n"
    L"Aby rozpocząć usuwanie martwych wpisów, kliknij w przycisk Start\r\n"
    L"\r\n"
    L"Autorem programu jest Kadrin. Program jest w 100% darmowy\r\n"
    L"\r\n"
    L"UWAGA: Przed kliknięciem w przycisk Go zamknij wszystkie otwarte kopie VB, w przeciwnym "
    L"wypadku podczas zamykania VB zostanie przywrócona stara lista !!\r\n";

constexpr std::array<std::wstring_view, 6> kBuiltInSummaryText = {
    kBuiltInLanguageTexts[17], kBuiltInLanguageTexts[18], kBuiltInLanguageTexts[19],
    kBuiltInLanguageTexts[20], kBuiltInLanguageTexts[21], kBuiltInLanguageTexts[22],
};
