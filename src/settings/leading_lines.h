#pragma once
// Reading the first lines of the options file and of a language file. Both are read only as far
// as the lines wanted, so a large file costs no more than its head.
#include <cstddef>
#include <string>
#include <vector>

#include "common/handles.h"

// Opens a text file for reading. Throws AppError naming the file when it cannot be opened, when
// the path holds a NUL character (the system would silently open a shorter name) or when its
// last part names a device (CON, NUL, COM1, ...), which could block the program while reading.
FileHandle OpenTextFileForReading(const std::wstring& path);

// The first `count` lines of the file, fewer when the file holds fewer: the lines as the file
// holds them, without their terminators (CR LF or a lone CR; a lone LF stays in the line). An
// empty file holds no line. Throws AppError naming the file when it cannot be opened or read.
std::vector<std::string> ReadLeadingLines(const std::wstring& path, std::size_t count);
