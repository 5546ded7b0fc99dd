#pragma once
// The interface language chosen for this run and the options file opcje.dat that remembers it.
// Every function takes the program folder (no trailing separator); paths are that folder, "\"
// and the file's name, with no check for a separator already at the folder's end.
#include <optional>
#include <string>
#include <string_view>

#include "common/error.h"
#include "settings/settings_errors.h"

// The language of this run in the ANSI code page: "#" for the built-in Polish texts, any other
// value the base name of a language file, used in its path exactly as stored. Empty while none
// is chosen (the picker speaks English). Set it with SetCurrentLanguage.
extern std::string CurrentLanguage;

// The value that stands for the built-in Polish texts. Comparisons with it are exact.
inline constexpr std::string_view kBuiltInLanguage = "#";

// Makes `language` the language of this run and puts its built-in texts in use (CurrentTexts():
// Polish for "#", English for any other), dropping what a language file gave; applying its file
// lays the file's texts over them. The one way the name and the texts change, so they agree.
void SetCurrentLanguage(std::string language);

// folder + "\opcje.dat"
std::wstring OptionsFilePath(const std::wstring& folder);
// folder + "\lang\" + language + ".txt"; the language is converted from the ANSI code page.
std::wstring LanguageFilePath(const std::wstring& folder, std::string_view language);

// The first line of the options file: the bytes up to the first CR LF or lone CR (a lone LF
// stays in the line), or up to the end of the file. Throws AppError naming the file when it is
// missing or unreadable, when it is empty (an empty file has no first line), and when the line
// is longer than 32,767 characters, which no file name can be; nothing after that is read.
std::string ReadOptionsFile(const std::wstring& folder);

// Replaces the options file with the one line `language` + CR LF, creating it when missing. The
// file is never left half written. Throws AppError naming the file and the reason on failure,
// leaving any former file as it was.
void WriteOptionsFile(const std::wstring& folder, std::string_view language);

// Opens the language file for reading and closes it at once: proves that it exists and can be
// opened. Throws AppError naming the file otherwise (also for device names such as "NUL").
void ProbeLanguageFile(const std::wstring& folder, std::string_view language);

// The checks of a start: sets CurrentLanguage to the options file's first line
// (SetCurrentLanguage) and, unless that is "#", probes its language file. True when the main
// window can be opened directly; false on any failure, and the language picker is to be shown
// instead. CurrentLanguage keeps what was read even when the probe fails. Never throws.
//
// Storing the choice again is a separate step (SaveCurrentLanguage): a start whose only
// problem is that opcje.dat cannot be rewritten still opens the main window.
bool LoadStoredLanguage(const std::wstring& folder) noexcept;

// Stores CurrentLanguage in the options file. A file that holds exactly that line is left
// alone. Returns the failure instead of throwing it, so that the caller can go on and tell the
// user that the language could not be stored; the error's description names the file and the
// reason, its `code` the Windows error number. A failed rewrite of a file whose first line
// already names CurrentLanguage is no failure: the choice is stored all the same.
std::optional<AppError> SaveCurrentLanguage(const std::wstring& folder);
