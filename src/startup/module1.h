#pragma once
// The start of the program: straight to the main window when the stored language can be used,
// otherwise the language picker.

// The program's entry routine; returns once the main window or the picker shows.
void StartUp();

// Stores CurrentLanguage in opcje.dat, hides the picker and shows the main window in that
// language, whose built-in texts SetCurrentLanguage put in use. Throws when
// the main window cannot be loaded (a language file that cannot be applied); a choice that
// cannot be stored is no failure: the program goes on and tells the user once.
void SaveLanguageAndShowMain();

// The picker's OK: SaveLanguageAndShowMain, and when the chosen language cannot be applied the
// user is told and the picker stays for another choice. False in that case.
bool ChooseLanguageAndShowMain();
