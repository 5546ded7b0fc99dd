// Every text the program shows, once: X(Name, line, Polish, English[, note]), and before each group
// of texts G(note). The notes are for translators: lang/English.txt is written from this table
// with each note as a comment, and a text that holds {1}, {2}, ... needs a note saying what they
// are (tests/settings/texts_test.cpp checks both). No note reaches the exe.
//
// `line` is the language-file line (1 to 23) that gives the text, or 0 for a text that a language
// file gives after its 23 lines as Name=Text. {1}, {2}, ... stand for what the program puts in
// (a number, a name, a path), so a translation may put them in its own order. A text ends
// without a line break: the program adds the breaks between the pieces it puts together.
//
// The texts are UTF-8 here, half the size of wide literals in the exe; the program widens each
// once, the first time it is shown. Included only by settings/texts.h.
#define BRUSHWICK_TEXTS(X, G)                                                                                         \
  G(u8"Lines 1 to 9, the main window: its buttons Start, Import list, Export list and WWW (the web page), "          \
      u8"the caption of its frame, and the four paragraphs of its description.")                                     \
  X(MainStart, 1, u8"Start", u8"Start")                                                                              \
  X(MainImport, 2, u8"Importuj listę", u8"Import list")                                                              \
  X(MainExport, 3, u8"Eksportuj listę", u8"Export list")                                                             \
  X(MainHomePage, 4, u8"WWW", u8"WWW")                                                                               \
  X(MainFrame, 5, u8"Informacja o programie", u8"About this program")                                                \
  X(MainAbout1, 6,                                                                                                 \
    u8"VB5 i VB6 tworzy listę ostatnio używanych plików. Program ten analizuje owe listy, czy nie ma odwołań do "   \
    u8"nieistniejących plików i jeśli są, to je usuwa. Program obsługuje VB5 i VB6",                               \
    u8"VB5 and VB6 keep lists of recently used files. This program finds the entries whose files no longer exist " \
    u8"and removes them, for both VB5 and VB6.")                                                                    \
  X(MainAbout2, 7, u8"Aby rozpocząć usuwanie martwych wpisów, kliknij w przycisk Start",                            \
    u8"To start removing dead entries, click the Start button.")                                                    \
  X(MainAbout3, 8, u8"Autorem programu jest Kadrin. Program jest w 100% darmowy",                                  \
    u8"The author of this program is Kadrin. The program is 100% free.")                                           \
  X(MainAbout4, 9,                                                                                                 \
    u8"UWAGA: Przed kliknięciem w przycisk Go zamknij wszystkie otwarte kopie VB, w przeciwnym wypadku podczas "   \
    u8"zamykania VB zostanie przywrócona stara lista !!",                                                          \
    u8"NOTE: Close every open copy of VB before you click Start, or VB will bring back its old list when it "      \
    u8"closes!")                                                                                                    \
  G(u8"Lines 10 to 13, the export window: its title, the captions of its two frames (the name of the list; "         \
      u8"the versions to export) and its Cancel button.")                                                            \
  X(ExportTitle, 10, u8"Eksportuj listę", u8"Export list")                                                           \
  X(ExportNameFrame, 11, u8"Podaj nazwę listy", u8"Name of the list")                                                \
  X(ExportVersionFrame, 12, u8"Eksport dotyczy VB w wesji", u8"Export the list of VB version")                       \
  X(ExportCancel, 13, u8"Anuluj", u8"Cancel")                                                                        \
  G(u8"Lines 14 to 17, the import window: its title, the caption of its frame, its Import and Cancel buttons.")      \
  X(ImportTitle, 14, u8"Importuj listę", u8"Import list")                                                            \
  X(ImportFrame, 15, u8"Wybierz listę", u8"Choose a list")                                                           \
  X(ImportButton, 16, u8"Importuj", u8"Import")                                                                      \
  X(ImportCancel, 17, u8"Anuluj", u8"Cancel")                                                                        \
  G(u8"Lines 18 to 23, the summary after a cleaning run, blanks included: VB5's count of entries follows "           \
      u8"line 18, the count removed follows line 19 and line 20 follows it; lines 21 to 23 do the same for "         \
      u8"VB6.")                                                                                                      \
  X(Summary1, 18, u8"Liczba ostatnio używanych plików dla VB5: ", u8"Recently used files for VB5: ")                 \
  X(Summary2, 19, u8"z czego usunięto ", u8"of which ")                                                              \
  X(Summary3, 20, u8" martwych wpisów", u8" dead entries were removed")                                              \
  X(Summary4, 21, u8"Liczba ostatnio używanych plików dla VB6: ", u8"Recently used files for VB6: ")                 \
  X(Summary5, 22, u8"z czego usunięto ", u8"of which ")                                                              \
  X(Summary6, 23, u8" martwych wpisów", u8" dead entries were removed")                                              \
  G(u8"Shared by several windows.")                                                                                  \
  X(ProgramName, 0, u8"Brushwick", u8"Brushwick")                                                                    \
  X(Cancel, 0, u8"Anuluj", u8"Cancel")                                                                               \
  X(Done, 0, u8"OK", u8"OK")                                                                                         \
  X(VisualBasic50, 0, u8"Visual Basic 5.0", u8"Visual Basic 5.0")                                                    \
  X(VisualBasic60, 0, u8"Visual Basic 6.0", u8"Visual Basic 6.0")                                                    \
  G(u8"The language picker, shown before any language is chosen.")                                                   \
  X(LangTitle, 0, u8"Wybierz język", u8"Select Language")                                                            \
  X(LangOk, 0, u8"OK", u8"OK")                                                                                       \
  X(LangRefused, 0, u8"Tego języka nie można użyć. Wybierz inny.\r\n\r\n{1}",                                        \
    u8"This language cannot be used. Please choose another one.\r\n\r\n{1}",                                         \
    u8"{1}: why, the description of a failure (the texts under \"Failures\" put together)")                          \
  X(LanguageNotStored, 0,                                                                                          \
    u8"Nie udało się zapisać języka w pliku opcji; pozostaje on w użyciu do zamknięcia programu.\r\n\r\n{1}",      \
    u8"The language could not be stored in the options file; it stays in use until Brushwick is closed.\r\n\r\n{1}", \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  G(u8"The export window's own texts.")                                                                              \
  X(ExportButton, 0, u8"OK", u8"OK")                                                                                 \
  X(ExportFailed, 0, u8"Nie udało się zapisać listy.\r\n\r\n{1}", u8"The list could not be written.\r\n\r\n{1}",     \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  G(u8"The import's reports.")                                                                                       \
  X(ImportNothingImported, 0, u8"Nie zaimportowano listy; rejestr pozostał bez zmian.\r\n\r\n{1}",                  \
    u8"Nothing was imported; the registry is unchanged.\r\n\r\n{1}",                                                 \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  X(ImportNoList, 0, u8"Ten plik nie zawiera żadnej listy; nic nie zaimportowano.",                                 \
    u8"This file holds no list; nothing was imported.")                                                             \
  X(ImportInPart, 0, u8"Lista została zaimportowana tylko częściowo.\r\n\r\n{1}",                                   \
    u8"The list was imported only in part.\r\n\r\n{1}",                                                              \
    u8"{1}: one line for each list, ImportKeyMissing or ImportStoredInPart")                                         \
  X(ImportKeyMissing, 0, u8"Lista {1} nie istnieje w rejestrze; pominięto ją.",                                     \
    u8"There is no {1} list in the registry; it was skipped.",                                                       \
    u8"{1}: the list, VB5 or VB6")                                                                                   \
  X(ImportStoredInPart, 0, u8"Lista {1}: zapisano {2} z {3} wpisów (błąd {4}).",                                     \
    u8"The {1} list: {2} of {3} entries stored (error {4}).",                                                        \
    u8"{1}: the list, VB5 or VB6; {2}: how many entries were stored; {3}: how many the file holds; {4}: the "        \
    u8"error's number and name")                                                                                     \
  G(u8"The notes under the cleaning summary, and the question about places out of reach.")                           \
  X(NoteLeftUnreadable, 0, u8"Listę {1} pozostawiono bez zmian: wpisu \"{2}\" nie da się odczytać dokładnie (błąd {3}).", \
    u8"The {1} list was left as it was: entry \"{2}\" cannot be read exactly (error {3}).",                          \
    u8"{1}: the list, VB5 or VB6; {2}: the entry's number in it; {3}: why, one of the Reason texts")                 \
  X(NoteNotChanged, 0,                                                                                             \
    u8"Nie udało się zmienić listy {1} (wpis \"{2}\", błąd {3}). Żaden istniejący wpis nie został utracony.",       \
    u8"The {1} list could not be changed (entry \"{2}\", error {3}). No existing entry was lost.",                   \
    u8"{1}: the list, VB5 or VB6; {2}: the entry's number in it; {3}: the error's number and name")                  \
  X(NoteUnchecked, 0,                                                                                              \
    u8"Lista {1} zawiera więcej wpisów niż sprawdzone {2}: pozostałych {3} nie sprawdzono i zachowano je bez "      \
    u8"zmian, w ich kolejności.",                                                                                   \
    u8"The {1} list holds more entries than the {2} checked: the other {3} were not checked and were kept as "      \
    u8"they are, in their order.",                                                                                   \
    u8"{1}: the list, VB5 or VB6; {2}: how many entries were checked; {3}: how many were not")                       \
  X(NoteUnreachableRemoved, 0,                                                                                     \
    u8"Usunięto też, zgodnie z odpowiedzią Tak, wpisy z miejsc, które były niedostępne: VB5: {1}, VB6: {2}.",       \
    u8"Also removed, as answered Yes, entries on places that could not be reached: VB5: {1}, VB6: {2}.",             \
    u8"{1} and {2}: how many entries were removed from the VB5 and the VB6 list")                                    \
  X(UnreachableCount, 0, u8"Liczba wpisów wskazujących miejsca, które są teraz niedostępne: {1}",                   \
    u8"Entries that point to places that cannot be reached now: {1}",                                                \
    u8"{1}: how many entries; the places and their counts follow on lines of their own")                             \
  X(UnreachableAsk, 0,                                                                                             \
    u8"Ich pliki mogą nadal istnieć (na przykład na odłączonym dysku lub serwerze). Czy usunąć także te "           \
    u8"wpisy?\r\n\r\nNie: wpisy pozostaną na listach.",                                                             \
    u8"Their files may still exist (on a drive or server that is not connected, for example). Remove these "       \
    u8"entries as well?\r\n\r\nNo: the entries stay in the lists.")                                                 \
  X(ListsChangedMeanwhile, 0,                                                                                      \
    u8"Listy zmieniały się, gdy Brushwick nad nimi pracował (na przykład zamykany Visual Basic zapisywał swoją "    \
    u8"listę). Nic nie zostało zmienione; spróbuj ponownie.",                                                       \
    u8"The lists changed while Brushwick was working on them (a closing Visual Basic writing its list back, for "  \
    u8"example). Nothing was changed; try again.")                                                                  \
  G(u8"The window menu's commands (the icon at the left of the title bar). & marks the access key: give "            \
      u8"each command a letter of its own.")                                                                         \
  X(MenuReview, 0, u8"Przejrzyj &listy...", u8"Re&view the lists...")                                                \
  X(MenuUndo, 0, u8"C&ofnij ostatnią zmianę", u8"&Undo the last change")                                             \
  X(MenuClear, 0, u8"W&yczyść listę...", u8"C&lear a list...")                                                       \
  G(u8"The review window: both lists, one row per entry, with check boxes.")                                         \
  X(ReviewTitle, 0, u8"Przejrzyj listy", u8"Review the lists")                                                       \
  X(ReviewRemove, 0, u8"Usuń zaznaczone", u8"Remove checked")                                                        \
  X(ReviewColumnVersion, 0, u8"Wersja", u8"Version")                                                                 \
  X(ReviewColumnNumber, 0, u8"Nr", u8"Number")                                                                       \
  X(ReviewColumnPath, 0, u8"Ścieżka", u8"Path")                                                                      \
  X(ReviewColumnState, 0, u8"Stan", u8"State")                                                                       \
  X(ReviewExists, 0, u8"istnieje", u8"exists")                                                                       \
  X(ReviewGone, 0, u8"nie istnieje", u8"gone")                                                                       \
  X(ReviewUnreachable, 0, u8"teraz niedostępny", u8"cannot be reached now")                                          \
  X(ReviewUnreadable, 0, u8"nie da się odczytać dokładnie", u8"cannot be read exactly")                              \
  X(ReviewChangedSinceShown, 0,                                                                                    \
    u8"Listy zmieniły się od chwili ich wyświetlenia. Nic nie zostało usunięte; sprawdź je ponownie.",              \
    u8"The lists have changed since they were shown. Nothing was removed; check them again.")                       \
  X(RemovalReport, 0, u8"Lista {1}: usunięto {2} z {3} wpisów.", u8"The {1} list: {2} of {3} entries removed.",      \
    u8"{1}: the list, VB5 or VB6; {2}: how many entries were removed; {3}: how many it held")                        \
  G(u8"The clear window, and its question.")                                                                         \
  X(ClearTitle, 0, u8"Wyczyść listę", u8"Clear a list")                                                              \
  X(ClearFrame, 0, u8"Którą listę wyczyścić?", u8"Which list to clear?")                                             \
  X(ClearButton, 0, u8"Wyczyść", u8"Clear")                                                                          \
  X(ClearChoiceBoth, 0, u8"Visual Basic 5.0 i 6.0", u8"Visual Basic 5.0 and 6.0")                                    \
  X(ClearWhich50, 0, u8"listy VB5", u8"the VB5 list")                                                                \
  X(ClearWhich60, 0, u8"listy VB6", u8"the VB6 list")                                                                \
  X(ClearWhichBoth, 0, u8"list VB5 i VB6", u8"the VB5 and VB6 lists")                                                \
  X(ClearQuestion, 0,                                                                                              \
    u8"Usunąć wszystkie wpisy {1}?\r\n\r\nLiczba wpisów: {2}.\r\n\r\nZmianę można cofnąć poleceniem \"Cofnij "     \
    u8"ostatnią zmianę\" w menu okna.",                                                                             \
    u8"Remove every entry of {1}?\r\n\r\nEntries: {2}.\r\n\r\nThe change can be undone with \"Undo the last "       \
    u8"change\" in the window menu.",                                                                                \
    u8"{1}: ClearWhich50, ClearWhich60 or ClearWhichBoth; {2}: the counts, as \"VB5: 12, VB6: 3\"")                  \
  X(ClearAskedAgain, 0, u8"Listy zmieniły się, gdy czekało poprzednie pytanie.",                                    \
    u8"The lists changed while the previous question was waiting.")                                                 \
  G(u8"Undo and the changes it undoes. The Kind texts name a change inside other texts.")                            \
  X(KindClean, 0, u8"czyszczenie przyciskiem Start", u8"cleaning with Start")                                        \
  X(KindReview, 0, u8"usunięcie zaznaczonych wpisów", u8"removing the checked entries")                              \
  X(KindImport, 0, u8"import listy", u8"importing a list")                                                           \
  X(KindClear, 0, u8"wyczyszczenie listy", u8"clearing a list")                                                      \
  X(KindUndo, 0, u8"cofnięcie zmiany", u8"undoing a change")                                                         \
  X(GoOnWithoutUndo, 0, u8"{1}\r\n\r\nCzy mimo to wprowadzić zmianę bez możliwości jej cofnięcia?",                 \
    u8"{1}\r\n\r\nMake the change anyway, without a way to undo it?",                                                \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  X(UndoFileNotUpdated, 0,                                                                                         \
    u8"Nie udało się uaktualnić pliku cofania.\r\n\r\n{1}\r\n\r\nPrzy następnym uruchomieniu program zaproponuje "  \
    u8"przywrócenie list sprzed tej zmiany.",                                                                       \
    u8"The undo file could not be brought up to date.\r\n\r\n{1}\r\n\r\nAt the next start Brushwick offers to put " \
    u8"the lists back as they were before this change.",                                                             \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  X(UndoFileNotReplaced, 0,                                                                                         \
    u8"Zmiana została wprowadzona, ale nie udało się zastąpić pliku cofania cofnij.dat.\r\n\r\n{1}\r\n\r\n"         \
    u8"\"Cofnij ostatnią zmianę\" nadal ją cofnie (z pliku cofnij.new) aż do następnej zmiany.",                    \
    u8"The change is made, but the undo file cofnij.dat could not be replaced.\r\n\r\n{1}\r\n\r\n"                  \
    u8"\"Undo the last change\" still undoes it (from cofnij.new) until the next change.",                          \
    u8"{1}: the description of the failure")                                                                        \
  X(NothingToUndo, 0, u8"Nie ma zmiany do cofnięcia.", u8"There is no change to undo.")                              \
  X(NothingUndone, 0, u8"Nie cofnięto zmiany; listy pozostały bez zmian.\r\n\r\n{1}",                               \
    u8"Nothing was undone; the lists are unchanged.\r\n\r\n{1}",                                                     \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  X(UndoChangedSince, 0,                                                                                           \
    u8"Listy zmieniły się od ostatniej zmiany (zapisał je Visual Basic albo inny program).\r\n\r\nWpisy obecne "    \
    u8"teraz, które cofnięcie usunie: {1}\r\nw tym dodane po tej zmianie: {2}\r\n\r\nCzy mimo to cofnąć ostatnią "  \
    u8"zmianę?",                                                                                                    \
    u8"The lists have changed since the last change (Visual Basic or another program wrote them).\r\n\r\nEntries "  \
    u8"there now that the undo would remove: {1}\r\nof them added after that change: {2}\r\n\r\nUndo the last "     \
    u8"change anyway?",                                                                                              \
    u8"{1}: how many entries there now the undo would remove; {2}: how many of them were added after the "           \
    u8"last change")                                                                                                 \
  X(UndoPartly, 0,                                                                                                 \
    u8"Nie wszystkie wpisy udało się przywrócić:\r\n\r\n{1}\r\nListy sprzed cofania także są zachowane. Wybierz "   \
    u8"ponownie \"Cofnij ostatnią zmianę\", aby dokończyć przywracanie.",                                           \
    u8"Not every entry could be put back:\r\n\r\n{1}\r\nThe lists as they were before are kept as well. Choose "     \
    u8"\"Undo the last change\" again to finish putting them back.",                                                 \
    u8"{1}: one line for each failure, RestoreKeyMissing, RestoreReadFailed or RestoreEntryFailed")                  \
  X(RestoreKeyMissing, 0, u8"lista {1} nie istnieje już w rejestrze", u8"the {1} list no longer exists in the registry", \
    u8"{1}: the list, VB5 or VB6")                                                                                   \
  X(RestoreReadFailed, 0, u8"lista {1}: błąd odczytu {2}", u8"the {1} list: reading failed with error {2}",          \
    u8"{1}: the list, VB5 or VB6; {2}: the error's number and name")                                                 \
  X(RestoreEntryFailed, 0, u8"lista {1}, wpis \"{2}\": błąd {3}", u8"the {1} list, entry \"{2}\": error {3}",        \
    u8"{1}: the list, VB5 or VB6; {2}: the entry's number in it; {3}: the error's number and name")                  \
  X(InterruptedUndo, 0,                                                                                            \
    u8"Cofanie ostatniej zmiany (rozpoczęte {1}) zostało przerwane przed końcem: listy mogą być przywrócone tylko " \
    u8"w części.\r\n\r\nCzy dokończyć przywracanie list?\r\n\r\nNie: listy pozostaną takie, jakie są teraz; "       \
    u8"\"Cofnij ostatnią zmianę\" przywróci je wtedy do stanu sprzed cofania.",                                     \
    u8"Undoing the last change (begun {1}) was interrupted before it was done: the lists may be only partly put "   \
    u8"back.\r\n\r\nFinish putting the lists back?\r\n\r\nNo: the lists stay as they are now; \"Undo the last "     \
    u8"change\" then returns them to how they were before the undo.",                                                \
    u8"{1}: the date and time the undo began")                                                                       \
  X(InterruptedChange, 0,                                                                                          \
    u8"Ostatnia zmiana list ({1}, rozpoczęta {2}) została przerwana przed końcem: listy mogą być zmienione tylko "  \
    u8"w części.\r\n\r\nCzy przywrócić listy sprzed tej zmiany?\r\n\r\nNie: listy pozostaną takie, jakie są "       \
    u8"teraz; \"Cofnij ostatnią zmianę\" przywróci je później.",                                                    \
    u8"The last change to the lists ({1}, begun {2}) was interrupted before it was done: the lists may be only "    \
    u8"partly changed.\r\n\r\nPut the lists back as they were before it?\r\n\r\nNo: the lists stay as they are "    \
    u8"now; \"Undo the last change\" puts them back later.",                                                         \
    u8"{1}: what the change was, one of the Kind texts; {2}: the date and time it began")                            \
  X(PutBackRemovesNew, 0,                                                                                           \
    u8"Wpisy obecne teraz na listach, których nie było przed tą zmianą: {1}. Przywrócenie list je usunie; "         \
    u8"\"Cofnij ostatnią zmianę\" przywróci je potem.",                                                             \
    u8"Entries on the lists now that were not there before that change: {1}. Putting the lists back removes "       \
    u8"them; \"Undo the last change\" brings them back afterwards.",                                                \
    u8"{1}: a count of entries; a paragraph after the question about the interrupted change")                       \
  X(RestoredLast, 0, u8"Przywrócono listy sprzed ostatniej zmiany.",                                                \
    u8"The lists are back as they were before the last change.")                                                    \
  X(RestoredInterrupted, 0, u8"Przywrócono listy sprzed przerwanej zmiany.",                                        \
    u8"The lists are back as they were before the interrupted change.")                                             \
  X(PendingLeftAsItIs, 0, u8"{1}\r\n\r\nPlik pozostawiono bez zmian; następna zmiana list go zastąpi.",             \
    u8"{1}\r\n\r\nThe file is left as it is; the next change to the lists replaces it.",                             \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  G(u8"Long work: the small window that shows how far it has got, once it has run a second. The Progress "            \
    u8"texts say what is being done.")                                                                                \
  X(ProgressClean, 0, u8"Czyszczenie list przyciskiem Start", u8"Cleaning the lists with Start")                      \
  X(ProgressReview, 0, u8"Usuwanie zaznaczonych wpisów", u8"Removing the checked entries")                            \
  X(ProgressImport, 0, u8"Importowanie listy", u8"Importing a list")                                                  \
  X(ProgressClear, 0, u8"Czyszczenie całej listy", u8"Clearing a list")                                               \
  X(ProgressUndo, 0, u8"Cofanie ostatniej zmiany", u8"Undoing the last change")                                       \
  X(ProgressPutBack, 0, u8"Przywracanie list sprzed przerwanej zmiany",                                               \
    u8"Putting back the lists as they were before the interrupted change")                                            \
  X(ProgressExport, 0, u8"Eksportowanie listy", u8"Exporting a list")                                                 \
  X(ProgressCount, 0, u8"{1} z {2} wpisów", u8"{1} of {2} entries",                                                   \
    u8"{1}: how many entries are written or removed so far; {2}: how many there are to write or remove in all")       \
  G(u8"Another copy at work on the lists, and the end of the program after an unexpected failure.")                  \
  X(WaitingForOtherCopy, 0,                                                                                        \
    u8"Inna kopia programu Brushwick pracuje teraz na listach ostatnio używanych plików. Brushwick czeka, aż "      \
    u8"skończy; Anuluj rezygnuje z polecenia.",                                                                     \
    u8"Another copy of Brushwick is working on the recent-files lists. Brushwick waits for it to finish; Cancel "   \
    u8"gives up the command.")                                                                                      \
  X(OtherCopyBusy, 0,                                                                                              \
    u8"Inna kopia programu Brushwick pracuje teraz na listach ostatnio używanych plików. Nic nie zostało "          \
    u8"zmienione; spróbuj ponownie za chwilę.",                                                                     \
    u8"Another copy of Brushwick is working on the recent-files lists. Nothing was changed; try again in a "        \
    u8"moment.")                                                                                                    \
  X(Fatal, 0, u8"Wystąpił nieoczekiwany błąd i program zostanie zamknięty.\r\n\r\nBłąd {1}: {2}",                    \
    u8"An unexpected error occurred and Brushwick will close.\r\n\r\nError {1}: {2}",                                \
    u8"{1}: the error's number; {2}: its description")                                                               \
  X(FatalOutOfMemory, 0, u8"Brak pamięci", u8"Out of memory")                                                        \
  X(FatalUnknown, 0, u8"Nieznany błąd", u8"Unknown failure")                                                         \
  G(u8"An open Visual Basic IDE: the question before a change, its buttons, and the wait.")                          \
  X(Ide50, 0, u8"Visual Basic 5.0 (VB5.EXE)", u8"Visual Basic 5.0 (VB5.EXE)")                                        \
  X(Ide60, 0, u8"Visual Basic 6.0 (VB6.EXE)", u8"Visual Basic 6.0 (VB6.EXE)")                                        \
  X(IdeBoth, 0, u8"Visual Basic 5.0 (VB5.EXE), Visual Basic 6.0 (VB6.EXE)",                                         \
    u8"Visual Basic 5.0 (VB5.EXE), Visual Basic 6.0 (VB6.EXE)")                                                     \
  X(IdeQuestion, 0,                                                                                                \
    u8"Otwarty jest teraz {1}.\r\n\r\nZamykany Visual Basic zapisuje z powrotem swoją starą listę ostatnio "        \
    u8"używanych plików, więc zmiana jego listy zostałaby wtedy cofnięta.\r\n\r\nCzekaj: Brushwick poczeka, aż "    \
    u8"Visual Basic zostanie zamknięty, i zmieni listę, którą on zapisze.",                                         \
    u8"Open now: {1}.\r\n\r\nA closing Visual Basic writes its old recent-files list back, which would then undo "  \
    u8"the change to its list.\r\n\r\nWait: Brushwick waits until Visual Basic has closed, then changes the list "  \
    u8"it wrote.",                                                                                                   \
    u8"{1}: the open IDEs, Ide50, Ide60 or IdeBoth")                                                                 \
  X(IdeWait, 0, u8"Czekaj", u8"Wait")                                                                                \
  X(IdeGoOn, 0, u8"Kontynuuj teraz", u8"Go on now")                                                                  \
  X(IdeWaiting, 0, u8"Brushwick czeka na zamknięcie: {1}. Anuluj rezygnuje z polecenia.",                           \
    u8"Brushwick waits for this to close: {1}. Cancel gives up the command.",                                        \
    u8"{1}: the open IDEs, Ide50, Ide60 or IdeBoth")                                                                 \
  X(IdeNote, 0, u8"Podczas zmiany otwarty był {1}; zamykany może zapisać z powrotem swoją starą listę.",            \
    u8"Open during the change: {1}; when it closes it may write its old list back.",                                 \
    u8"{1}: the open IDEs, Ide50, Ide60 or IdeBoth")                                                                 \
  G(u8"Failures. A failure reads as one of these texts (what could not be done), the file or folder "                \
      u8"concerned, then one of the Wrong texts below.")                                                             \
  X(DoingOpenFile, 0, u8"Nie można otworzyć pliku ", u8"Cannot open the file ")                                      \
  X(DoingReadFile, 0, u8"Nie można odczytać pliku ", u8"Cannot read the file ")                                      \
  X(DoingWriteFile, 0, u8"Nie można zapisać pliku ", u8"Cannot write the file ")                                     \
  X(DoingFindProgramFolder, 0, u8"Nie można ustalić folderu programu", u8"Cannot find the program's folder")        \
  X(DoingListFolder, 0, u8"Nie można odczytać zawartości folderu ", u8"Cannot list the folder ")                     \
  X(DoingWriteListFile, 0, u8"Nie można zapisać pliku listy ", u8"Cannot write the list file ")                      \
  X(DoingImportListFile, 0, u8"Nie można zaimportować pliku listy ", u8"Cannot import the list file ")               \
  X(DoingReadOptionsFile, 0, u8"Nie można odczytać pliku opcji ", u8"Cannot read the options file ")                 \
  X(DoingApplyLanguageFile, 0, u8"Niepełny plik języka: ", u8"Incomplete language file: ")                           \
  X(DoingCreateWindow, 0, u8"Nie można utworzyć okna ", u8"Cannot create the window ")                               \
  X(DoingCreateControl, 0, u8"Nie można utworzyć kontrolki ", u8"Cannot create the control ")                        \
  X(DoingSaveUndo, 0, u8"Nie można zapisać danych do cofnięcia zmiany", u8"Cannot save the data to undo the change") \
  X(DoingUseUndoFile, 0, u8"Nie można użyć pliku cofania ", u8"Cannot use the undo file ")                           \
  G(u8"What is wrong, after the file's name: so these start with a colon, comma or semicolon.")                      \
  X(WrongDeviceName, 0, u8": ta nazwa oznacza urządzenie, nie plik", u8": the name is reserved for a device")        \
  X(WrongNulInName, 0, u8": nazwa zawiera znak NUL", u8": the name holds a NUL character")                            \
  X(WrongForbiddenCharacter, 0, u8": nazwa pliku nie może zawierać '{1}'", u8": file names cannot hold '{1}'",       \
    u8"{1}: the character")                                                                                          \
  X(WrongControlCharacter, 0, u8": nazwa pliku nie może zawierać znaku sterującego",                                \
    u8": file names cannot hold a control character")                                                               \
  X(WrongNameTooLong, 0, u8": nazwa jest za długa", u8": the name is too long")                                      \
  X(WrongEndsBeforeFlags, 0, u8": plik kończy się przed dwoma wierszami znaczników",                                \
    u8": it ends before its two flag lines")                                                                        \
  X(WrongFlagNotNumber, 0, u8": wiersz {1} (znacznik wersji {2}) nie jest liczbą całkowitą: {3}",                   \
    u8": line {1} (the {2} flag) is not a whole number: {3}",                                                        \
    u8"{1}: the line's number; {2}: the version, 5.0 or 6.0; {3}: the line as it stands")                            \
  X(WrongEndsBeforeList, 0, u8": znaczniki zapowiadają listę, ale plik kończy się przed jej początkiem",            \
    u8": its flags announce a list, but it ends before the list begins")                                            \
  X(WrongListNotEnded, 0, u8": znaczniki zapowiadają listę VB6, ale żaden wiersz \"[]\" nie kończy listy VB5",     \
    u8": its flags announce a VB6 list, but no \"[]\" line ends the VB5 list")                                      \
  X(WrongEntryUnreadable, 0, u8": wpisu \"{1}\" listy {2} nie da się odczytać dokładnie (błąd {3})",                \
    u8": entry \"{1}\" of the {2} list cannot be read exactly (error {3})",                                          \
    u8"{1}: the entry's number; {2}: the list, VB5 or VB6; {3}: why, one of the Reason texts")                       \
  X(WrongLineTooLong, 0, u8", wiersz {1} jest dłuższy niż {2} znaków", u8", line {1} is longer than {2} characters", \
    u8"{1}: the line's number; {2}: the most characters a line may hold (32767)")                                    \
  X(WrongEmptyFile, 0, u8": plik jest pusty", u8": the file is empty")                                               \
  X(WrongOneLine, 0, u8", wierszy: 1", u8", 1 line")                                                                 \
  X(WrongTooFewLines, 0, u8", wierszy: {1}", u8", {1} lines",                                                        \
    u8"{1}: how many lines the file holds (0, or 2 and more; WrongOneLine says 1)")                                  \
  X(WrongEntryNotInFormat, 0, u8": wpis listy zawiera znak końca wiersza lub jest wierszem \"[]\"",                 \
    u8": a list entry holds a line break or is the line \"[]\"")                                                    \
  X(WrongNulInEntry, 0, u8": wiersz {1} zawiera bajt NUL, więc plik jest uszkodzony",                               \
    u8": line {1} holds a NUL byte, so the file is damaged",                                                         \
    u8"{1}: the line's number")                                                                                      \
  X(WrongLfLineEnd, 0, u8": wiersz {1} kończy się samym znakiem LF, a wiersze pliku listy kończą się znakami CR LF", \
    u8": line {1} ends in LF alone, but the lines of a list file end in CR LF",                                      \
    u8"{1}: the line's number")                                                                                      \
  X(WrongFlagOutOfRange, 0,                                                                                        \
    u8": wiersz {1} (znacznik wersji {2}) jest liczbą całkowitą spoza zakresu od -2147483648 do 2147483647: {3}",   \
    u8": line {1} (the {2} flag) is a whole number out of the range -2147483648 to 2147483647: {3}",                 \
    u8"{1}: the line's number; {2}: the version, 5.0 or 6.0; {3}: the line as it stands")                            \
  X(WrongByteOrderMark, 0,                                                                                         \
    u8": plik zaczyna się znacznikiem kolejności bajtów {1}, jest więc tekstem Unicode, a plik listy jest tekstem " \
    u8"w stronie kodowej ANSI",                                                                                     \
    u8": the file starts with a {1} byte-order mark, so it is Unicode text, but a list file is text in the ANSI "   \
    u8"code page",                                                                                                   \
    u8"{1}: the kind of Unicode, as UTF-8 or UTF-16 LE")                                                             \
  X(WrongOutsideFolder, 0,                                                                                         \
    u8": nazwa prowadzi poza folder programu, a okno importu pokazuje tylko pliki z tego folderu",                  \
    u8": the name leads out of the program's folder, and the import window shows the files of that folder only")   \
  X(WrongNoListName, 0, u8": nazwa listy jest pusta albo kończy się separatorem folderów, więc nie wskazuje pliku", \
    u8": the name of the list is blank or ends in a folder separator, so it names no file")                         \
  X(WrongUndoFileDamaged, 0, u8": plik cofania jest uszkodzony (urwany, zmieniony albo nie jest plikiem cofania)",  \
    u8": the undo file is damaged (cut short, edited, or not an undo file)")                                        \
  X(WrongListUnreadable, 0, u8": nie można odczytać listy {1}", u8": the {1} list cannot be read",                   \
    u8"{1}: the list, VB5 or VB6")                                                                                   \
  X(WrongUndoFileTooLarge, 0, u8": listy są zbyt duże dla pliku cofania (ponad 64 MB)",                             \
    u8": the lists are too large for the undo file (over 64 MB)")                                                   \
  X(WrongValueTooLarge, 0, u8": wpis \"{1}\" listy {2} jest większy niż 32 KB",                                      \
    u8": entry \"{1}\" of the {2} list is larger than 32 KB",                                                        \
    u8"{1}: the entry's number; {2}: the list, VB5 or VB6")                                                          \
  X(WrongNewContentLeftIn, 0, u8"; nowa treść jest w pliku {1}", u8"; the new content is in {1}",                    \
    u8"{1}: the path of the file that holds the new content")                                                        \
  G(u8"Why a list entry cannot be read exactly.")                                                                    \
  X(ReasonTooLong, 0, u8"tekst jest dłuższy niż 254 znaki", u8"the text is longer than 254 characters")              \
  X(ReasonNoRight, 0, u8"brak prawa odczytu", u8"no right to read it")                                               \
  X(ReasonKeptChanging, 0, u8"lista zmieniała się podczas odczytu", u8"the list kept changing while it was read")   \
  X(ReasonNotAnsi, 0, u8"tekst zawiera znaki spoza strony kodowej ANSI systemu",                                    \
    u8"the text holds characters outside the system's ANSI code page")                                                    \
  G(u8"The command line: the usage, and the lines it writes to the console or a file.")                              \
  X(CmdUsage, 0,                                                                                                         \
    u8"Użycie: brushwick.exe POLECENIE [OPCJE]",                                                                         \
    u8"Usage: brushwick.exe COMMAND [OPTIONS]")                                                                          \
  X(CmdUsageClean, 0,                                                                                                    \
    u8"czyści obie listy",                                                                                               \
    u8"cleans both lists")                                                                                               \
  X(CmdUsageExport, 0,                                                                                                   \
    u8"zapisuje listy w pliku NAZWA.rec (obie, gdy nie wybrano żadnej)",                                                 \
    u8"saves the lists in NAME.rec (both when neither is named)")                                                        \
  X(CmdUsageImport, 0,                                                                                                   \
    u8"zastępuje listy tymi z pliku NAZWA.rec",                                                                          \
    u8"replaces the lists with those of NAME.rec")                                                                       \
  X(CmdUsageUndo, 0,                                                                                                     \
    u8"cofa ostatnią zmianę",                                                                                            \
    u8"undoes the last change")                                                                                          \
  X(CmdUsageHelp, 0,                                                                                                     \
    u8"pokazuje ten tekst",                                                                                              \
    u8"shows this text")                                                                                                 \
  X(CmdUsageRemoveUnreachable, 0,                                                                                        \
    u8"usuwa także wpisy z miejsc, których nie można teraz osiągnąć",                                                    \
    u8"removes the entries on places out of reach as well")                                                              \
  X(CmdUsageVb5, 0,                                                                                                      \
    u8"zapisuje listę VB5",                                                                                              \
    u8"saves the VB5 list")                                                                                              \
  X(CmdUsageVb6, 0,                                                                                                      \
    u8"zapisuje listę VB6",                                                                                              \
    u8"saves the VB6 list")                                                                                              \
  X(CmdUsageWait, 0,                                                                                                     \
    u8"czeka na zamknięcie otwartego Visual Basica, zamiast pozostawić jego listę bez zmian",                            \
    u8"waits for an open Visual Basic to close instead of leaving its list alone")                                       \
  X(CmdUsageForce, 0,                                                                                                    \
    u8"cofa także wtedy, gdy listy zmieniły się od ostatniej zmiany",                                                    \
    u8"undoes even when the lists have changed since the last change")                                                   \
  X(CmdUsageLog, 0,                                                                                                      \
    u8"z każdym poleceniem: dopisuje każdy wiersz wyjścia do pliku PLIK, z datą i godziną",                              \
    u8"with any command: appends each line of the output to FILE, with the date and time")                               \
  X(CmdUsageEnd, 0,                                                                                                      \
    u8"Bez argumentów otwiera się okno programu. Błędy w argumentach trafiają na standardowe wyjście błędów. "           \
    u8"Kody wyjścia: 0 wykonano, 1 wykonano częściowo, 2 nic nie zmieniono (błąd lub zły argument), 3 nic nie "          \
    u8"zmieniono (listy zajmowała inna kopia lub otwarty Visual Basic).",                                                \
    u8"Without arguments the program's window opens. Errors in the arguments go to standard error. Exit "                \
    u8"codes: 0 done, 1 done in part, 2 nothing changed (a failure or a bad argument), 3 nothing changed "               \
    u8"(another copy or an open Visual Basic held the lists).")                                                          \
  X(CmdValueName, 0,                                                                                                     \
    u8"NAZWA",                                                                                                           \
    u8"NAME")                                                                                                            \
  X(CmdValueFile, 0,                                                                                                     \
    u8"PLIK",                                                                                                            \
    u8"FILE")                                                                                                            \
  X(CmdUnknownArgument, 0,                                                                                               \
    u8"Niezrozumiały argument: {1}",                                                                                     \
    u8"Argument not understood: {1}",                                                                               \
    u8"{1}: the argument as given")                                                                                 \
  X(CmdMissingValue, 0,                                                                                                  \
    u8"Brak wartości: po {1} musi następować {2}.",                                                                      \
    u8"Value missing: {1} must be followed by {2}.",                                                                \
    u8"{1}: the switch as given; {2}: what must follow it (NAME or FILE)")                                          \
  X(CmdGivenTwice, 0,                                                                                                    \
    u8"{1} podano dwa razy.",                                                                                            \
    u8"{1} is given twice.",                                                                                        \
    u8"{1}: the switch as given")                                                                                   \
  X(CmdTwoCommands, 0,                                                                                                   \
    u8"Tylko jedno polecenie naraz: podano {1} i {2}.",                                                                  \
    u8"One command at a time: both {1} and {2} are given.",                                                         \
    u8"{1}, {2}: the two commands as given")                                                                        \
  X(CmdNotWithCommand, 0,                                                                                                \
    u8"{1} nie pasuje do polecenia {2}; pasuje tylko do: {3}.",                                                          \
    u8"{1} does not go with {2}; it goes with {3} only.",                                                           \
    u8"{1}: the switch as given; {2}: the command; {3}: the commands it goes with")                                 \
  X(CmdNoCommand, 0,                                                                                                     \
    u8"Brak polecenia: podaj jedno z: {1}.",                                                                             \
    u8"No command: give one of {1}.",                                                                               \
    u8"{1}: the commands, separated by commas")                                                                     \
  X(CmdIdeLeftAlone, 0,                                                                                                  \
    u8"Listę {1} pozostawiono bez zmian: otwarty jest {2}; /wait czeka na jego zamknięcie.",                              \
    u8"The {1} list was left alone: open now: {2}; /wait waits for it to close.",                                    \
    u8"{1}: the list, VB5 or VB6; {2}: its IDE, Ide50 or Ide60")                                                     \
  X(CmdInterrupted, 0,                                                                                                   \
    u8"Ostatnia zmiana list ({1}, rozpoczęta {2}) została przerwana przed końcem. Nic nie zostało zmienione; "            \
    u8"uruchom Brushwick bez argumentów, aby ją rozstrzygnąć.",                                                           \
    u8"The last change to the lists ({1}, begun {2}) was interrupted before it was done. Nothing was changed; "           \
    u8"start Brushwick without arguments to settle it.",                                                             \
    u8"{1}: what the change was, one of the Kind texts; {2}: the date and time it began")                            \
  X(CmdNoUndoNoChange, 0,                                                                                                \
    u8"{1}\r\nNic nie zostało zmienione: z wiersza poleceń Brushwick nie zmienia list bez możliwości cofnięcia.",         \
    u8"{1}\r\nNothing was changed: from the command line Brushwick makes no change that cannot be undone.",          \
    u8"{1}: the description of a failure (the texts under \"Failures\" put together)")                               \
  X(CmdExported, 0,                                                                                                      \
    u8"Lista {1}: zapisano w pliku {2}.",                                                                            \
    u8"The {1} list: saved in {2}.",                                                                                 \
    u8"{1}: the list, VB5 or VB6; {2}: the path of the file written")                                                \
  X(CmdImported, 0,                                                                                                      \
    u8"Lista {1}: zaimportowano wpisów: {2}.",                                                                       \
    u8"The {1} list: {2} entries imported.",                                                                         \
    u8"{1}: the list, VB5 or VB6; {2}: how many entries were imported")                                              \
  X(CmdUndoChangedSince, 0,                                                                                              \
    u8"Listy zmieniły się od ostatniej zmiany: wpisy obecne teraz, które cofnięcie usunie: {1}, w tym dodane po tej "     \
    u8"zmianie: {2}. Nic nie zostało cofnięte; /force cofa mimo to.",                                                     \
    u8"The lists have changed since the last change: entries there now that the undo would remove: {1}, of them "         \
    u8"added after that change: {2}. Nothing was undone; /force undoes anyway.",                                     \
    u8"{1}: how many entries there now the undo would remove; {2}: how many of them were added after the "           \
    u8"last change")
