#pragma once
// The languages that the language picker offers, and what its OK stores for each of them.
#include <string>
#include <string_view>
#include <vector>

// The picker's entry for the built-in Polish texts; always the first entry.
inline constexpr std::wstring_view kPolishEntry = L"Polski";

// "Polski", then one entry per language file of folder\lang in the listing's order (sorted by
// name without regard to case): the file name without its last four characters (".txt"), in
// proper case. A name that the ANSI code page cannot hold is left out, since the choice is
// stored in that code page and could never find its file again. A missing or unreadable lang
// folder offers "Polski" alone.
std::vector<std::wstring> LanguagePickerEntries(const std::wstring& folder);

// The CurrentLanguage value that the picker's OK stores for an entry: "#" for exactly "Polski"
// (case-sensitive), the entry in the ANSI code page otherwise.
std::string LanguageOfEntry(std::wstring_view entry);
