// Every text the program shows, once: X(Name, line, Polish, English).
//
// `line` is the language-file line (1 to 23) that gives the text, or 0 for a text that a language
// file gives after its 23 lines as Name=Text. {1}, {2}, ... stand for what the program puts in
// (a number, a name, a path), so a translation may put them in its own order. A text ends
// without a line break: the program adds the breaks between the pieces it puts together.
//
// Included only by settings/texts.h.
#define BRUSHWICK_TEXTS(X)                                                                                         \
  /* The main window (lines 1 to 9). */                                                                            \
  X(MainStart, 1, L"Start", L"Start")                                                                              \
  X(MainImport, 2, L"Importuj listę", L"Import list")                                                              \
  X(MainExport, 3, L"Eksportuj listę", L"Export list")                                                             \
  X(MainHomePage, 4, L"WWW", L"WWW")                                                                               \
  X(MainFrame, 5, L"Informacja o programie", L"About this program")                                                \
  X(MainAbout1, 6,                                                                                                 \
    L"VB5 i VB6 tworzy listę ostatnio używanych plików. Program ten analizuje owe listy, czy nie ma odwołań do "   \
    L"nieistniejących plików i jeśli są, to je usuwa. Program obsługuje VB5 i VB6",                               \
    L"VB5 and VB6 keep lists of recently used files. This program finds the entries whose files no longer exist " \
    L"and removes them, for both VB5 and VB6.")                                                                    \
  X(MainAbout2, 7, L"Aby rozpocząć usuwanie martwych wpisów, kliknij w przycisk Start",                            \
    L"To start removing dead entries, click the Start button.")                                                    \
  X(MainAbout3, 8, L"Autorem programu jest Kadrin. Program jest w 100% darmowy",                                  \
    L"The author of this program is Kadrin. The program is 100% free.")                                           \
  X(MainAbout4, 9,                                                                                                 \
    L"UWAGA: Przed kliknięciem w przycisk Go zamknij wszystkie otwarte kopie VB, w przeciwnym wypadku podczas "   \
    L"zamykania VB zostanie przywrócona stara lista !!",                                                          \
    L"NOTE: Close every open copy of VB before you click Start, or VB will bring back its old list when it "      \
    L"closes!")                                                                                                    \
  /* The export window (lines 10 to 13). */                                                                        \
  X(ExportTitle, 10, L"Eksportuj listę", L"Export list")                                                           \
  X(ExportNameFrame, 11, L"Podaj nazwę listy", L"Name of the list")                                                \
  X(ExportVersionFrame, 12, L"Eksport dotyczy VB w wesji", L"Export the list of VB version")                       \
  X(ExportCancel, 13, L"Anuluj", L"Cancel")                                                                        \
  /* The import window (lines 14 to 17). */                                                                        \
  X(ImportTitle, 14, L"Importuj listę", L"Import list")                                                            \
  X(ImportFrame, 15, L"Wybierz listę", L"Choose a list")                                                           \
  X(ImportButton, 16, L"Importuj", L"Import")                                                                      \
  X(ImportCancel, 17, L"Anuluj", L"Cancel")                                                                        \
  /* The six pieces of the cleaning summary (lines 18 to 23). */                                                   \
  X(Summary1, 18, L"Liczba ostatnio używanych plików dla VB5: ", L"Recently used files for VB5: ")                 \
  X(Summary2, 19, L"z czego usunięto ", L"of which ")                                                              \
  X(Summary3, 20, L" martwych wpisów", L" dead entries were removed")                                              \
  X(Summary4, 21, L"Liczba ostatnio używanych plików dla VB6: ", L"Recently used files for VB6: ")                 \
  X(Summary5, 22, L"z czego usunięto ", L"of which ")                                                              \
  X(Summary6, 23, L" martwych wpisów", L" dead entries were removed")                                              \
  /* Shared by several windows. */                                                                                 \
  X(ProgramName, 0, L"Brushwick", L"Brushwick")                                                                    \
  X(Cancel, 0, L"Anuluj", L"Cancel")                                                                               \
  X(Done, 0, L"OK", L"OK")                                                                                         \
  X(VisualBasic50, 0, L"Visual Basic 5.0", L"Visual Basic 5.0")                                                    \
  X(VisualBasic60, 0, L"Visual Basic 6.0", L"Visual Basic 6.0")                                                    \
  /* The language picker, shown before any language is chosen. */                                                  \
  X(LangTitle, 0, L"Wybierz język", L"Select Language")                                                            \
  X(LangOk, 0, L"OK", L"OK")                                                                                       \
  X(LangRefused, 0, L"Tego języka nie można użyć. Wybierz inny.\r\n\r\n{1}",                                        \
    L"This language cannot be used. Please choose another one.\r\n\r\n{1}")                                        \
  X(LanguageNotStored, 0,                                                                                          \
    L"Nie udało się zapisać języka w pliku opcji; pozostaje on w użyciu do zamknięcia programu.\r\n\r\n{1}",      \
    L"The language could not be stored in the options file; it stays in use until Brushwick is closed.\r\n\r\n{1}") \
  /* The export window's own texts. */                                                                             \
  X(ExportButton, 0, L"OK", L"OK")                                                                                 \
  X(ExportFailed, 0, L"Nie udało się zapisać listy.\r\n\r\n{1}", L"The list could not be written.\r\n\r\n{1}")      \
  /* The import's reports. */                                                                                      \
  X(ImportNothingImported, 0, L"Nie zaimportowano listy; rejestr pozostał bez zmian.\r\n\r\n{1}",                  \
    L"Nothing was imported; the registry is unchanged.\r\n\r\n{1}")                                                \
  X(ImportNoList, 0, L"Ten plik nie zawiera żadnej listy; nic nie zaimportowano.",                                 \
    L"This file holds no list; nothing was imported.")                                                             \
  X(ImportInPart, 0, L"Lista została zaimportowana tylko częściowo.\r\n\r\n{1}",                                   \
    L"The list was imported only in part.\r\n\r\n{1}")                                                             \
  X(ImportKeyMissing, 0, L"Lista {1} nie istnieje w rejestrze; pominięto ją.",                                     \
    L"There is no {1} list in the registry; it was skipped.")                                                      \
  X(ImportStoredInPart, 0, L"Lista {1}: zapisano {2} z {3} wpisów (błąd {4}).",                                     \
    L"The {1} list: {2} of {3} entries stored (error {4}).")                                                       \
  /* The notes under the cleaning summary, and the question about places out of reach. */                          \
  X(NoteLeftUnreadable, 0, L"Listę {1} pozostawiono bez zmian: wpisu \"{2}\" nie da się odczytać dokładnie (błąd {3}).", \
    L"The {1} list was left as it was: entry \"{2}\" cannot be read exactly (error {3}).")                         \
  X(NoteNotChanged, 0,                                                                                             \
    L"Nie udało się zmienić listy {1} (wpis \"{2}\", błąd {3}). Żaden istniejący wpis nie został utracony.",       \
    L"The {1} list could not be changed (entry \"{2}\", error {3}). No existing entry was lost.")                  \
  X(NoteUnchecked, 0,                                                                                              \
    L"Lista {1} zawiera więcej wpisów niż sprawdzone {2}: pozostałych {3} nie sprawdzono i zachowano je bez "      \
    L"zmian, w ich kolejności.",                                                                                   \
    L"The {1} list holds more entries than the {2} checked: the other {3} were not checked and were kept as "      \
    L"they are, in their order.")                                                                                  \
  X(NoteUnreachableRemoved, 0,                                                                                     \
    L"Usunięto też, zgodnie z odpowiedzią Tak, wpisy z miejsc, które były niedostępne: VB5: {1}, VB6: {2}.",       \
    L"Also removed, as answered Yes, entries on places that could not be reached: VB5: {1}, VB6: {2}.")            \
  X(UnreachableCount, 0, L"Liczba wpisów wskazujących miejsca, które są teraz niedostępne: {1}",                   \
    L"Entries that point to places that cannot be reached now: {1}")                                               \
  X(UnreachableAsk, 0,                                                                                             \
    L"Ich pliki mogą nadal istnieć (na przykład na odłączonym dysku lub serwerze). Czy usunąć także te "           \
    L"wpisy?\r\n\r\nNie: wpisy pozostaną na listach.",                                                             \
    L"Their files may still exist (on a drive or server that is not connected, for example). Remove these "       \
    L"entries as well?\r\n\r\nNo: the entries stay in the lists.")                                                 \
  X(ListsChangedMeanwhile, 0,                                                                                      \
    L"Listy zmieniały się, gdy Brushwick nad nimi pracował (na przykład zamykany Visual Basic zapisywał swoją "    \
    L"listę). Nic nie zostało zmienione; spróbuj ponownie.",                                                       \
    L"The lists changed while Brushwick was working on them (a closing Visual Basic writing its list back, for "  \
    L"example). Nothing was changed; try again.")                                                                  \
  /* The window menu's commands; & marks the access key. */                                                        \
  X(MenuReview, 0, L"Przejrzyj &listy...", L"Re&view the lists...")                                                \
  X(MenuUndo, 0, L"C&ofnij ostatnią zmianę", L"&Undo the last change")                                             \
  X(MenuClear, 0, L"W&yczyść listę...", L"C&lear a list...")                                                       \
  /* The review window. */                                                                                         \
  X(ReviewTitle, 0, L"Przejrzyj listy", L"Review the lists")                                                       \
  X(ReviewRemove, 0, L"Usuń zaznaczone", L"Remove checked")                                                        \
  X(ReviewColumnVersion, 0, L"Wersja", L"Version")                                                                 \
  X(ReviewColumnNumber, 0, L"Nr", L"Number")                                                                       \
  X(ReviewColumnPath, 0, L"Ścieżka", L"Path")                                                                      \
  X(ReviewColumnState, 0, L"Stan", L"State")                                                                       \
  X(ReviewExists, 0, L"istnieje", L"exists")                                                                       \
  X(ReviewGone, 0, L"nie istnieje", L"gone")                                                                       \
  X(ReviewUnreachable, 0, L"teraz niedostępny", L"cannot be reached now")                                          \
  X(ReviewUnreadable, 0, L"nie da się odczytać dokładnie", L"cannot be read exactly")                              \
  X(ReviewChangedSinceShown, 0,                                                                                    \
    L"Listy zmieniły się od chwili ich wyświetlenia. Nic nie zostało usunięte; sprawdź je ponownie.",              \
    L"The lists have changed since they were shown. Nothing was removed; check them again.")                       \
  X(RemovalReport, 0, L"Lista {1}: usunięto {2} z {3} wpisów.", L"The {1} list: {2} of {3} entries removed.")      \
  /* The clear window. */                                                                                          \
  X(ClearTitle, 0, L"Wyczyść listę", L"Clear a list")                                                              \
  X(ClearFrame, 0, L"Którą listę wyczyścić?", L"Which list to clear?")                                             \
  X(ClearButton, 0, L"Wyczyść", L"Clear")                                                                          \
  X(ClearChoiceBoth, 0, L"Visual Basic 5.0 i 6.0", L"Visual Basic 5.0 and 6.0")                                    \
  X(ClearWhich50, 0, L"listy VB5", L"the VB5 list")                                                                \
  X(ClearWhich60, 0, L"listy VB6", L"the VB6 list")                                                                \
  X(ClearWhichBoth, 0, L"list VB5 i VB6", L"the VB5 and VB6 lists")                                                \
  X(ClearQuestion, 0,                                                                                              \
    L"Usunąć wszystkie wpisy {1}?\r\n\r\nLiczba wpisów: {2}.\r\n\r\nZmianę można cofnąć poleceniem \"Cofnij "     \
    L"ostatnią zmianę\" w menu okna.",                                                                             \
    L"Remove every entry of {1}?\r\n\r\nEntries: {2}.\r\n\r\nThe change can be undone with \"Undo the last "       \
    L"change\" in the window menu.")                                                                               \
  X(ClearAskedAgain, 0, L"Listy zmieniły się, gdy czekało poprzednie pytanie.",                                    \
    L"The lists changed while the previous question was waiting.")                                                 \
  /* Undo and the changes it undoes. */                                                                            \
  X(KindClean, 0, L"czyszczenie przyciskiem Start", L"cleaning with Start")                                        \
  X(KindReview, 0, L"usunięcie zaznaczonych wpisów", L"removing the checked entries")                              \
  X(KindImport, 0, L"import listy", L"importing a list")                                                           \
  X(KindClear, 0, L"wyczyszczenie listy", L"clearing a list")                                                      \
  X(KindUndo, 0, L"cofnięcie zmiany", L"undoing a change")                                                         \
  X(GoOnWithoutUndo, 0, L"{1}\r\n\r\nCzy mimo to wprowadzić zmianę bez możliwości jej cofnięcia?",                 \
    L"{1}\r\n\r\nMake the change anyway, without a way to undo it?")                                               \
  X(UndoFileNotUpdated, 0,                                                                                         \
    L"Nie udało się uaktualnić pliku cofania.\r\n\r\n{1}\r\n\r\nPrzy następnym uruchomieniu program zaproponuje "  \
    L"przywrócenie list sprzed tej zmiany.",                                                                       \
    L"The undo file could not be brought up to date.\r\n\r\n{1}\r\n\r\nAt the next start Brushwick offers to put " \
    L"the lists back as they were before this change.")                                                            \
  X(NothingToUndo, 0, L"Nie ma zmiany do cofnięcia.", L"There is no change to undo.")                              \
  X(NothingUndone, 0, L"Nie cofnięto zmiany; listy pozostały bez zmian.\r\n\r\n{1}",                               \
    L"Nothing was undone; the lists are unchanged.\r\n\r\n{1}")                                                    \
  X(UndoChangedSince, 0,                                                                                           \
    L"Listy zmieniły się od ostatniej zmiany (zapisał je Visual Basic albo inny program).\r\n\r\nWpisy obecne "    \
    L"teraz, które cofnięcie usunie: {1}\r\nw tym dodane po tej zmianie: {2}\r\n\r\nCzy mimo to cofnąć ostatnią "  \
    L"zmianę?",                                                                                                    \
    L"The lists have changed since the last change (Visual Basic or another program wrote them).\r\n\r\nEntries "  \
    L"there now that the undo would remove: {1}\r\nof them added after that change: {2}\r\n\r\nUndo the last "     \
    L"change anyway?")                                                                                             \
  X(UndoPartly, 0,                                                                                                 \
    L"Nie wszystkie wpisy udało się przywrócić:\r\n\r\n{1}\r\nListy sprzed cofania także są zachowane. Wybierz "   \
    L"ponownie \"Cofnij ostatnią zmianę\", aby dokończyć przywracanie.",                                           \
    L"Not every entry could be put back:\r\n\r\n{1}\r\nThe lists as they were before are kept as well. Choose "     \
    L"\"Undo the last change\" again to finish putting them back.")                                                \
  X(RestoreKeyMissing, 0, L"lista {1} nie istnieje już w rejestrze", L"the {1} list no longer exists in the registry") \
  X(RestoreReadFailed, 0, L"lista {1}: błąd odczytu {2}", L"the {1} list: reading failed with error {2}")          \
  X(RestoreEntryFailed, 0, L"lista {1}, wpis \"{2}\": błąd {3}", L"the {1} list, entry \"{2}\": error {3}")         \
  X(InterruptedUndo, 0,                                                                                            \
    L"Cofanie ostatniej zmiany (rozpoczęte {1}) zostało przerwane przed końcem: listy mogą być przywrócone tylko " \
    L"w części.\r\n\r\nCzy dokończyć przywracanie list?\r\n\r\nNie: listy pozostaną takie, jakie są teraz; "       \
    L"\"Cofnij ostatnią zmianę\" przywróci je wtedy do stanu sprzed cofania.",                                     \
    L"Undoing the last change (begun {1}) was interrupted before it was done: the lists may be only partly put "   \
    L"back.\r\n\r\nFinish putting the lists back?\r\n\r\nNo: the lists stay as they are now; \"Undo the last "     \
    L"change\" then returns them to how they were before the undo.")                                               \
  X(InterruptedChange, 0,                                                                                          \
    L"Ostatnia zmiana list ({1}, rozpoczęta {2}) została przerwana przed końcem: listy mogą być zmienione tylko "  \
    L"w części.\r\n\r\nCzy przywrócić listy sprzed tej zmiany?\r\n\r\nNie: listy pozostaną takie, jakie są "       \
    L"teraz; \"Cofnij ostatnią zmianę\" przywróci je później.",                                                    \
    L"The last change to the lists ({1}, begun {2}) was interrupted before it was done: the lists may be only "    \
    L"partly changed.\r\n\r\nPut the lists back as they were before it?\r\n\r\nNo: the lists stay as they are "    \
    L"now; \"Undo the last change\" puts them back later.")                                                        \
  X(RestoredLast, 0, L"Przywrócono listy sprzed ostatniej zmiany.",                                                \
    L"The lists are back as they were before the last change.")                                                    \
  X(RestoredInterrupted, 0, L"Przywrócono listy sprzed przerwanej zmiany.",                                        \
    L"The lists are back as they were before the interrupted change.")                                             \
  X(PendingLeftAsItIs, 0, L"{1}\r\n\r\nPlik pozostawiono bez zmian; następna zmiana list go zastąpi.",             \
    L"{1}\r\n\r\nThe file is left as it is; the next change to the lists replaces it.")                            \
  /* Another copy at work on the lists, and the end of the program after an unexpected failure. */                 \
  X(WaitingForOtherCopy, 0,                                                                                        \
    L"Inna kopia programu Brushwick pracuje teraz na listach ostatnio używanych plików. Brushwick czeka, aż "      \
    L"skończy; Anuluj rezygnuje z polecenia.",                                                                     \
    L"Another copy of Brushwick is working on the recent-files lists. Brushwick waits for it to finish; Cancel "   \
    L"gives up the command.")                                                                                      \
  X(OtherCopyBusy, 0,                                                                                              \
    L"Inna kopia programu Brushwick pracuje teraz na listach ostatnio używanych plików. Nic nie zostało "          \
    L"zmienione; spróbuj ponownie za chwilę.",                                                                     \
    L"Another copy of Brushwick is working on the recent-files lists. Nothing was changed; try again in a "        \
    L"moment.")                                                                                                    \
  X(Fatal, 0, L"Wystąpił nieoczekiwany błąd i program zostanie zamknięty.\r\n\r\nBłąd {1}: {2}",                   \
    L"An unexpected error occurred and Brushwick will close.\r\n\r\nError {1}: {2}")                               \
  X(FatalOutOfMemory, 0, L"Brak pamięci", L"Out of memory")                                                        \
  X(FatalUnknown, 0, L"Nieznany błąd", L"Unknown failure")                                                         \
  /* An open Visual Basic IDE. */                                                                                  \
  X(Ide50, 0, L"Visual Basic 5.0 (VB5.EXE)", L"Visual Basic 5.0 (VB5.EXE)")                                        \
  X(Ide60, 0, L"Visual Basic 6.0 (VB6.EXE)", L"Visual Basic 6.0 (VB6.EXE)")                                        \
  X(IdeBoth, 0, L"Visual Basic 5.0 (VB5.EXE), Visual Basic 6.0 (VB6.EXE)",                                         \
    L"Visual Basic 5.0 (VB5.EXE), Visual Basic 6.0 (VB6.EXE)")                                                     \
  X(IdeQuestion, 0,                                                                                                \
    L"Otwarty jest teraz {1}.\r\n\r\nZamykany Visual Basic zapisuje z powrotem swoją starą listę ostatnio "        \
    L"używanych plików, więc zmiana jego listy zostałaby wtedy cofnięta.\r\n\r\nCzekaj: Brushwick poczeka, aż "    \
    L"Visual Basic zostanie zamknięty, i zmieni listę, którą on zapisze.",                                         \
    L"Open now: {1}.\r\n\r\nA closing Visual Basic writes its old recent-files list back, which would then undo "  \
    L"the change to its list.\r\n\r\nWait: Brushwick waits until Visual Basic has closed, then changes the list "  \
    L"it wrote.")                                                                                                  \
  X(IdeWait, 0, L"Czekaj", L"Wait")                                                                                \
  X(IdeGoOn, 0, L"Kontynuuj teraz", L"Go on now")                                                                  \
  X(IdeWaiting, 0, L"Brushwick czeka na zamknięcie: {1}. Anuluj rezygnuje z polecenia.",                           \
    L"Brushwick waits for this to close: {1}. Cancel gives up the command.")                                       \
  X(IdeNote, 0, L"Podczas zmiany otwarty był {1}; zamykany może zapisać z powrotem swoją starą listę.",            \
    L"Open during the change: {1}; when it closes it may write its old list back.")                                \
  /* Failures: what could not be done (followed by the file or folder concerned)... */                             \
  X(DoingOpenFile, 0, L"Nie można otworzyć pliku ", L"Cannot open the file ")                                      \
  X(DoingReadFile, 0, L"Nie można odczytać pliku ", L"Cannot read the file ")                                      \
  X(DoingWriteFile, 0, L"Nie można zapisać pliku ", L"Cannot write the file ")                                     \
  X(DoingFindProgramFolder, 0, L"Nie można ustalić folderu programu", L"Cannot find the program's folder")        \
  X(DoingListFolder, 0, L"Nie można odczytać zawartości folderu ", L"Cannot list the folder ")                     \
  X(DoingWriteListFile, 0, L"Nie można zapisać pliku listy ", L"Cannot write the list file ")                      \
  X(DoingImportListFile, 0, L"Nie można zaimportować pliku listy ", L"Cannot import the list file ")               \
  X(DoingReadOptionsFile, 0, L"Nie można odczytać pliku opcji ", L"Cannot read the options file ")                 \
  X(DoingApplyLanguageFile, 0, L"Niepełny plik języka: ", L"Incomplete language file: ")                           \
  X(DoingCreateWindow, 0, L"Nie można utworzyć okna ", L"Cannot create the window ")                               \
  X(DoingCreateControl, 0, L"Nie można utworzyć kontrolki ", L"Cannot create the control ")                        \
  X(DoingSaveUndo, 0, L"Nie można zapisać danych do cofnięcia zmiany", L"Cannot save the data to undo the change") \
  X(DoingUseUndoFile, 0, L"Nie można użyć pliku cofania ", L"Cannot use the undo file ")                           \
  /* ... and what is wrong (following the file's name). */                                                         \
  X(WrongDeviceName, 0, L": ta nazwa oznacza urządzenie, nie plik", L": the name is reserved for a device")        \
  X(WrongNulInName, 0, L": nazwa zawiera znak NUL", L": the name holds a NUL character")                           \
  X(WrongForbiddenCharacter, 0, L": nazwa pliku nie może zawierać '{1}'", L": file names cannot hold '{1}'")       \
  X(WrongControlCharacter, 0, L": nazwa pliku nie może zawierać znaku sterującego",                                \
    L": file names cannot hold a control character")                                                               \
  X(WrongNameTooLong, 0, L": nazwa jest za długa", L": the name is too long")                                      \
  X(WrongEndsBeforeFlags, 0, L": plik kończy się przed dwoma wierszami znaczników",                                \
    L": it ends before its two flag lines")                                                                        \
  X(WrongFlagNotNumber, 0, L": wiersz {1} (znacznik wersji {2}) nie jest liczbą całkowitą: {3}",                   \
    L": line {1} (the {2} flag) is not a whole number: {3}")                                                       \
  X(WrongEndsBeforeList, 0, L": znaczniki zapowiadają listę, ale plik kończy się przed jej początkiem",            \
    L": its flags announce a list, but it ends before the list begins")                                            \
  X(WrongListNotEnded, 0, L": znaczniki zapowiadają listę VB6, ale żaden wiersz \"[]\" nie kończy listy VB5",     \
    L": its flags announce a VB6 list, but no \"[]\" line ends the VB5 list")                                      \
  X(WrongEntryUnreadable, 0, L": wpisu \"{1}\" listy {2} nie da się odczytać dokładnie (błąd {3})",                \
    L": entry \"{1}\" of the {2} list cannot be read exactly (error {3})")                                         \
  X(WrongLineTooLong, 0, L", wiersz {1} jest dłuższy niż {2} znaków", L", line {1} is longer than {2} characters") \
  X(WrongEmptyFile, 0, L": plik jest pusty", L": the file is empty")                                               \
  X(WrongOneLine, 0, L", wierszy: 1", L", 1 line")                                                                 \
  X(WrongTooFewLines, 0, L", wierszy: {1}", L", {1} lines")                                                        \
  X(WrongEntryNotInFormat, 0, L": wpis listy zawiera znak końca wiersza lub jest wierszem \"[]\"",                 \
    L": a list entry holds a line break or is the line \"[]\"")                                                    \
  X(WrongNulInEntry, 0, L": wiersz {1} zawiera bajt NUL, więc plik jest uszkodzony",                               \
    L": line {1} holds a NUL byte, so the file is damaged")                                                        \
  X(WrongLfLineEnd, 0, L": wiersz {1} kończy się samym znakiem LF, a wiersze pliku listy kończą się znakami CR LF", \
    L": line {1} ends in LF alone, but the lines of a list file end in CR LF")                                     \
  X(WrongFlagOutOfRange, 0,                                                                                        \
    L": wiersz {1} (znacznik wersji {2}) jest liczbą całkowitą spoza zakresu od -2147483648 do 2147483647: {3}",   \
    L": line {1} (the {2} flag) is a whole number out of the range -2147483648 to 2147483647: {3}")                \
  X(WrongByteOrderMark, 0,                                                                                         \
    L": plik zaczyna się znacznikiem kolejności bajtów {1}, jest więc tekstem Unicode, a plik listy jest tekstem " \
    L"w stronie kodowej ANSI",                                                                                     \
    L": the file starts with a {1} byte-order mark, so it is Unicode text, but a list file is text in the ANSI "   \
    L"code page")                                                                                                  \
  X(WrongOutsideFolder, 0,                                                                                         \
    L": nazwa prowadzi poza folder programu, a okno importu pokazuje tylko pliki z tego folderu",                  \
    L": the name leads out of the program's folder, and the import window shows the files of that folder only")   \
  X(WrongUndoFileDamaged, 0, L": plik cofania jest uszkodzony (urwany, zmieniony albo nie jest plikiem cofania)",  \
    L": the undo file is damaged (cut short, edited, or not an undo file)")                                        \
  X(WrongListUnreadable, 0, L": nie można odczytać listy {1}", L": the {1} list cannot be read")                   \
  X(WrongValueTooLarge, 0, L": wpis \"{1}\" listy {2} jest większy niż 32 KB",                                      \
    L": entry \"{1}\" of the {2} list is larger than 32 KB")                                                       \
  X(WrongNewContentLeftIn, 0, L"; nowa treść jest w pliku {1}", L"; the new content is in {1}")                    \
  /* Why a list entry cannot be read exactly. */                                                                   \
  X(ReasonTooLong, 0, L"tekst jest dłuższy niż 254 znaki", L"the text is longer than 254 characters")              \
  X(ReasonNoRight, 0, L"brak prawa odczytu", L"no right to read it")                                               \
  X(ReasonKeptChanging, 0, L"lista zmieniała się podczas odczytu", L"the list kept changing while it was read")   \
  X(ReasonNotAnsi, 0, L"tekst zawiera znaki spoza strony kodowej ANSI systemu",                                    \
    L"the text holds characters outside the system's ANSI code page")                                                    \
  /* The command line. */                                                                                                \
  X(CmdUsage, 0,                                                                                                         \
    L"Użycie: brushwick.exe POLECENIE [/log PLIK]\r\n"                                                                   \
    L"  /clean [/remove-unreachable] [/wait]   czyści obie listy\r\n"                                                    \
    L"  /export NAZWA [/vb5] [/vb6]            zapisuje listy w pliku NAZWA.rec (obie, gdy nie wybrano żadnej)\r\n"      \
    L"  /import NAZWA [/wait]                  zastępuje listy tymi z pliku NAZWA.rec\r\n"                               \
    L"  /undo [/force] [/wait]                 cofa ostatnią zmianę\r\n"                                                 \
    L"  /?                                     pokazuje ten tekst\r\n"                                                   \
    L"Bez argumentów otwiera się okno programu. Kody wyjścia: 0 wykonano, 1 wykonano częściowo, 2 nic nie "              \
    L"zmieniono (błąd lub zły argument), 3 nic nie zmieniono (listy zajmowała inna kopia lub otwarty Visual Basic).",    \
    L"Usage: brushwick.exe COMMAND [/log FILE]\r\n"                                                                      \
    L"  /clean [/remove-unreachable] [/wait]   cleans both lists\r\n"                                                    \
    L"  /export NAME [/vb5] [/vb6]             saves the lists in NAME.rec (both when neither is named)\r\n"             \
    L"  /import NAME [/wait]                   replaces the lists with those of NAME.rec\r\n"                            \
    L"  /undo [/force] [/wait]                 undoes the last change\r\n"                                               \
    L"  /?                                     shows this text\r\n"                                                      \
    L"Without arguments the program's window opens. Exit codes: 0 done, 1 done in part, 2 nothing changed (a "           \
    L"failure or a bad argument), 3 nothing changed (another copy or an open Visual Basic held the lists).")             \
  X(CmdBadArgument, 0,                                                                                                   \
    L"Niezrozumiały argument: {1}",                                                                                      \
    L"Argument not understood: {1}")                                                                                     \
  X(CmdIdeLeftAlone, 0,                                                                                                  \
    L"Listę {1} pozostawiono bez zmian: otwarty jest {2}; /wait czeka na jego zamknięcie.",                              \
    L"The {1} list was left alone: open now: {2}; /wait waits for it to close.")                                         \
  X(CmdInterrupted, 0,                                                                                                   \
    L"Ostatnia zmiana list ({1}, rozpoczęta {2}) została przerwana przed końcem. Nic nie zostało zmienione; "            \
    L"uruchom Brushwick bez argumentów, aby ją rozstrzygnąć.",                                                           \
    L"The last change to the lists ({1}, begun {2}) was interrupted before it was done. Nothing was changed; "           \
    L"start Brushwick without arguments to settle it.")                                                                  \
  X(CmdNoUndoNoChange, 0,                                                                                                \
    L"{1}\r\nNic nie zostało zmienione: z wiersza poleceń Brushwick nie zmienia list bez możliwości cofnięcia.",         \
    L"{1}\r\nNothing was changed: from the command line Brushwick makes no change that cannot be undone.")               \
  X(CmdExported, 0,                                                                                                      \
    L"Lista {1}: zapisano w pliku {2}.",                                                                                 \
    L"The {1} list: saved in {2}.")                                                                                      \
  X(CmdImported, 0,                                                                                                      \
    L"Lista {1}: zaimportowano wpisów: {2}.",                                                                            \
    L"The {1} list: {2} entries imported.")                                                                              \
  X(CmdUndoChangedSince, 0,                                                                                              \
    L"Listy zmieniły się od ostatniej zmiany: wpisy obecne teraz, które cofnięcie usunie: {1}, w tym dodane po tej "     \
    L"zmianie: {2}. Nic nie zostało cofnięte; /force cofa mimo to.",                                                     \
    L"The lists have changed since the last change: entries there now that the undo would remove: {1}, of them "         \
    L"added after that change: {2}. Nothing was undone; /force undoes anyway.")
