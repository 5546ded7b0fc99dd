#pragma once
// Language files: lang\<name>.txt in the program folder, text in the ANSI code page, or UTF-8 when
// the file starts with the UTF-8 byte-order mark. Its first 23 lines give texts by their place
// (settings/text_table.h names the line of each); after them it may give any other text as a
// Name=Text line, and a line starting with ';' is a comment.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "common/function_ref.h"
#include "settings/settings_errors.h"

// A language file holds this many lines, one per replaceable text.
inline constexpr std::size_t kLanguageLineCount = 23;

// The lines of a language file that each part of the program takes.
struct LineRange {
  int first, last;
  constexpr bool Holds(int line) const { return line >= first && line <= last; }
  constexpr int size() const { return last - first + 1; }
};
inline constexpr LineRange kMainWindowLines{1, 9};     // four buttons, the frame, four paragraphs
inline constexpr LineRange kExportWindowLines{10, 13};  // title, two frames, the cancel button
inline constexpr LineRange kImportWindowLines{14, 17};  // title, the frame, two buttons
inline constexpr LineRange kSummaryLines{18, 23};       // the six pieces of the cleaning summary
static_assert(kMainWindowLines.first == 1 && kExportWindowLines.first == kMainWindowLines.last + 1 &&
                  kImportWindowLines.first == kExportWindowLines.last + 1 &&
                  kSummaryLines.first == kImportWindowLines.last + 1 &&
                  kSummaryLines.last == static_cast<int>(kLanguageLineCount),
              "every line of a language file has exactly one place");

// What one language file gives.
struct LanguageLines {
  std::wstring path;               // the file read
  std::vector<std::string> lines;  // its first lines, at most 23, verbatim (blanks kept)
  bool overlong = false;           // reading stopped at a line longer than 32,767 characters
  // The lines after the 23rd that name a text given by name, verbatim (Name=Text), the last one
  // of each name only. Comments, lines of no known name and lines longer than 32,767 characters
  // are left out; none of them ends the lines after it.
  std::vector<std::string> named;
  unsigned codePage = 0;           // CP_ACP, or CP_UTF8 for a file with the byte-order mark (not kept in lines)

  // True when the file holds all 23 lines.
  bool complete() const { return lines.size() == kLanguageLineCount; }
  // The failure for a file that ends before line 23: the description names the file and the
  // number of lines it holds (SettingsProblem::TooFewLines), or the line that is
  // too long ("..., line 10 is longer than 32767 characters").
  AppError IncompleteError() const;
};

// Reads the language file at `path` (every line of it, up to kMaxTextFileBytes); nothing past a
// line longer than 32,767 characters among the first 23 (the lines before it are kept). Throws
// AppError naming the file when it cannot be opened or read. A short file is no failure here:
// check complete() (the windows assign the lines that are there before failing).
LanguageLines ReadLanguageLines(const std::wstring& path);

// Called with each line number (1 to 23) and the line's text, in order.
using LanguageLineTarget = FunctionRef<void(int number, const std::wstring& text)>;

// Applies the language of the program folder `folder` named `language`: for "#" does nothing
// and opens no file. Otherwise reads lang\<language>.txt, gives its named lines to
// CurrentTexts() and calls `assign` for line 1, 2, ... in order; a file that ends before line 23 has its available lines assigned and then fails
// with IncompleteError(). A file that cannot be opened fails before any line is assigned.
void ApplyLanguage(const std::wstring& folder, std::string_view language,
                   const LanguageLineTarget& assign);

// ApplyLanguage into the texts in use: the file's lines and named texts go to CurrentTexts().
void UseLanguageFile(const std::wstring& folder, std::string_view language);
