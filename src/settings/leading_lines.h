#pragma once
// Reading the first lines of the options file and of a language file. Both are read only as far
// as the lines wanted, and no line longer than a path, so a large file costs no more than its head.
#include <cstddef>
#include <string>
#include <vector>

#include "common/function_ref.h"
#include "common/handles.h"

// Opens a text file for reading. Throws AppError naming the file when it cannot be opened, when
// the path holds a NUL character (the system would silently open a shorter name) or when its
// last part names a device (CON, NUL, COM1, ...), which could block the program while reading.
KernelHandle OpenTextFileForReading(const std::wstring& path);

// No line of the options file or of a language file may be longer than any Windows path can be:
// a longer first line of opcje.dat cannot name a language file, and a longer line of a language
// file is no caption or paragraph. Reading stops there, so no such line is ever held whole.
inline constexpr std::size_t kMaxLineCharacters = 32767;

// A text file is read no further than this, as ReadFileBytes reads no larger file.
inline constexpr unsigned long long kMaxTextFileBytes = 0x7FFFFFFF;

// A line of kMaxLineCharacters characters takes at most this many bytes in the ANSI code page or
// UTF-8 (three bytes for each UTF-16 unit at most); a line of more bytes is too long to be one.
inline constexpr std::size_t kMaxLineBytes = 3 * kMaxLineCharacters;

// The number of UTF-16 characters `line` makes in the code page.
std::size_t CharacterCount(const std::string& line, unsigned codePage);

// Hands each line of the open `file` (read from where it stands, no more than kMaxTextFileBytes)
// to `take` in order, without its terminator (CR LF or a lone CR; a lone LF stays in the line);
// the last line may end at the end of the file, and an empty file holds no line. A line of more
// than kMaxLineBytes bytes is handed over as soon as it grows past them, with `tooLong` set and
// its bytes so far; the rest of it is skipped. `take` returns false to stop reading. Throws
// AppError naming `path` when the file cannot be read.
using LineSink = FunctionRef<bool(std::string& line, bool tooLong)>;
void ReadLinesOf(const KernelHandle& file, const std::wstring& path, const LineSink& take);

struct LeadingLines {
  std::vector<std::string> lines;  // the lines read, verbatim, without their terminators
  bool overlong = false;           // the line after them holds more than kMaxLineCharacters
};

// The first `count` lines of the file, fewer when the file holds fewer or a line is too long:
// the lines as the file holds them, without their terminators (CR LF or a lone CR; a lone LF
// stays in the line). An empty file holds no line. Reads no further than it needs. Throws
// AppError naming the file when it cannot be opened or read.
LeadingLines ReadLeadingLines(const std::wstring& path, std::size_t count);
