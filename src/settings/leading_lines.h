#pragma once
// Reading the first lines of the options file and of a language file. Both are read only as far
// as the lines wanted, and no line longer than a path, so a large file costs no more than its head.
#include <cstddef>
#include <string>
#include <vector>

#include "common/handles.h"

// Opens a text file for reading. Throws AppError naming the file when it cannot be opened, when
// the path holds a NUL character (the system would silently open a shorter name) or when its
// last part names a device (CON, NUL, COM1, ...), which could block the program while reading.
KernelHandle OpenTextFileForReading(const std::wstring& path);

// No line of the options file or of a language file may be longer than any Windows path can be:
// a longer first line of opcje.dat cannot name a language file, and a longer line of a language
// file is no caption or paragraph. Reading stops there, so no such line is ever held whole.
inline constexpr std::size_t kMaxLineCharacters = 32767;

struct LeadingLines {
  std::vector<std::string> lines;  // the lines read, verbatim, without their terminators
  bool overlong = false;           // the line after them holds more than kMaxLineCharacters
};

// The first `count` lines of the file, fewer when the file holds fewer or a line is too long:
// the lines as the file holds them, without their terminators (CR LF or a lone CR; a lone LF
// stays in the line). An empty file holds no line. Reads no further than it needs. Throws
// AppError naming the file when it cannot be opened or read.
LeadingLines ReadLeadingLines(const std::wstring& path, std::size_t count);
