#pragma once
// The built-in Polish interface texts. They are wide literals so that they show correctly
// whatever the system's ANSI code page is; a language file replaces them line by line.
#include <array>
#include <cstddef>
#include <string_view>

// A language file holds this many lines, one per replaceable text.
inline constexpr std::size_t kLanguageLineCount = 23;

// The built-in text that each language file line replaces; index 0 is line 1. Lines 6 to 9 are
// the four paragraphs of the main window's description, lines 18 to 23 the SummaryText pieces.
extern const std::array<std::wstring_view, kLanguageLineCount> kBuiltInLanguageTexts;

// The main window's built-in description (Label1): the same four paragraphs, but the first two
// are separated by a single CR LF where a language file's paragraphs get an empty line.
extern const std::wstring_view kBuiltInDescription;

// The six SummaryText pieces, blanks included: the numbers go between them with no separator.
extern const std::array<std::wstring_view, 6> kBuiltInSummaryText;
