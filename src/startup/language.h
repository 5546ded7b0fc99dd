#pragma once
// Language files: lang\<name>.txt in the program folder, 23 lines in the ANSI code page whose
// positions say what they replace (see kBuiltInLanguageTexts). The windows apply the lines; this
// reads them, in order, and builds the description label from lines 6 to 9.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "startup/builtin_texts.h"

// The head of one language file.
struct LanguageLines {
  std::wstring path;               // the file read
  std::vector<std::string> lines;  // its first lines, at most 23, verbatim (blanks kept)
  bool overlong = false;           // reading stopped at a line longer than 32,767 characters

  // True when the file holds all 23 lines.
  bool complete() const { return lines.size() == kLanguageLineCount; }
  // The failure for a file that ends before line 23: the description names the file and the
  // number of lines it holds ("Incomplete language file: <path>, 9 lines"), or the line that is
  // too long ("..., line 10 is longer than 32767 characters").
  AppError IncompleteError() const;
};

// Reads up to 23 lines of the file at `path`; lines after the 23rd are never read, nor anything
// past a line longer than 32,767 characters (the lines before it are kept). Throws
// AppError naming the file when it cannot be opened or read. A short file is no failure here:
// check complete() (the windows assign the lines that are there before failing).
LanguageLines ReadLanguageLines(const std::wstring& path);

// Called with each line number (1 to 23) and the line's text, in order.
using LanguageLineTarget = std::function<void(int number, const std::string& text)>;

// Applies the language of the program folder `folder` named `language`: for "#" does nothing
// and opens no file. Otherwise reads lang\<language>.txt and calls `assign` for line 1, 2, ...
// in order; a file that ends before line 23 has its available lines assigned and then fails
// with IncompleteError(). A file that cannot be opened fails before any line is assigned.
void ApplyLanguage(const std::wstring& folder, std::string_view language,
                   const LanguageLineTarget& assign);

// The part of the description label that line 6, 7, 8 or 9 gives, converted from the ANSI code
// page: the line followed by two CR LF (lines 6 to 8) or by one CR LF (line 9). Line 6 replaces
// the label's text, lines 7 to 9 are appended to it.
std::wstring DescriptionParagraph(int number, std::string_view line);

// The whole description label of a language file: line6 CR LF CR LF line7 CR LF CR LF line8
// CR LF CR LF line9 CR LF.
std::wstring DescriptionLabelText(std::string_view line6, std::string_view line7,
                                  std::string_view line8, std::string_view line9);
