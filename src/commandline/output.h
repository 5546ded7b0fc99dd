#pragma once
// Where the command line speaks: results on standard output, errors on standard error, each
// the console it was started from or the file or pipe it is redirected to, and both in a log
// file when one is named.
#include <windows.h>

#include <string>

#include "common/handles.h"

namespace commandline {

class Output {
 public:
  Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Appends every later line to `path`, each with the date and time. Throws AppError when the
  // file cannot be opened.
  void OpenLog(const std::wstring& path);
  // Each line of `text` (lines end at CR LF) on a line of its own, on standard output; empty
  // lines are left out.
  void Text(const std::wstring& text);
  // The same on standard error: what went wrong.
  void Error(const std::wstring& text);

 private:
  struct Stream {
    HANDLE handle = nullptr;  // not owned, unless it is console_
    bool console = false;     // written as UTF-16; a file or pipe gets UTF-8
  };
  void Lines(const Stream& stream, const std::wstring& text);
  void Line(const Stream& stream, const std::wstring& line);

  KernelHandle console_;  // the console of the program that started this one, for a stream not given
  Stream out_, err_;
  KernelHandle log_;
};

}  // namespace commandline
