#pragma once
// The program's own text files (options, language and list files): 8-bit text in the ANSI code
// page, lines ended by CR LF when written. Paths are wide so that any program folder works.
#include <string>
#include <string_view>

// The whole file as bytes. Throws AppError (naming the file) when it cannot be opened or read.
std::string ReadFileBytes(const std::wstring& path);

// Replaces the file with the given bytes so that it is never left half written: the bytes go to
// a temporary file beside it (its name no longer than the file's), which then takes the file's
// place keeping its attributes. A file with other names (reached through a link, or hard-linked)
// is written in place, so every name sees the new content; so is an existing file whose folder
// allows no new files. Throws AppError on failure, leaving any former file as it was: for device
// names (CON, NUL, COM1, ...), read-only files and folders, and names too long for a path
// (ERROR_FILENAME_EXCED_RANGE: more than 255 characters, or MAX_PATH or more in all).
void WriteFileReplacing(const std::wstring& path, std::string_view bytes);

// True when the last component of the path names a DOS device rather than a file, whatever
// its case or extension ("con", "NUL.rec", "com1.txt").
bool NamesDevice(std::wstring_view path);

// Splits text into lines: a line ends at CR LF or at a lone CR; a lone LF stays in the line; the
// last line may end at the end of the text. Empty text holds no line at all.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // Reads the next line into `line`; false (and `line` untouched) at the end of the text.
  bool Next(std::string& line);
  bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The folder that holds the running exe, without a trailing separator.
std::wstring ProgramFolder();
