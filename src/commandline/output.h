#pragma once
// Where the command line speaks: the console it was started from, or the file or pipe its
// output goes to, and a log file when one is named.
#include <windows.h>

#include <string>

namespace commandline {

class Output {
 public:
  Output();
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Appends every later line to `path`, each with the date and time. Throws AppError when the
  // file cannot be opened.
  void OpenLog(const std::wstring& path);
  // Each line of `text` (lines end at CR LF) on a line of its own; empty lines are left out.
  void Text(const std::wstring& text);

 private:
  void Line(const std::wstring& line);
  HANDLE out_ = nullptr;
  bool console_ = false;
  HANDLE log_ = INVALID_HANDLE_VALUE;
};

}  // namespace commandline
