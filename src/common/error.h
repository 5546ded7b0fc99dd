#pragma once
// Failures of file access and the like travel as AppError: what the program was doing, the
// Windows error number, the file (or folder or window) concerned and the facts that say what is
// wrong. Nothing below the windows words a failure: forms::Describe does, one way for every
// message about the same failure. No exception ever crosses a window procedure.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>

// What the program was doing.
enum class Action {
  OpenFile,
  ReadFile,
  WriteFile,
  FindProgramFolder,
  ListFolder,
  WriteListFile,
  ImportListFile,
  ReadOptionsFile,
  ApplyLanguageFile,
  CreateWindow,
  CreateControl,
  SaveUndo,
  UseUndoFile,
};

// What is wrong beyond what the error number says; None when the number says it all.
enum class Problem {
  None,
  DeviceName,          // the name is one of a device (CON, NUL, COM1, ...)
  NulInName,           // the name holds a NUL character
  ForbiddenCharacter,  // `detail`: the character file names cannot hold
  ControlCharacter,
  NameTooLong,
  EndsBeforeFlags,     // a list file ends before its two flag lines
  FlagNotNumber,       // `number`: the line, `version`, `detail`: the line's text
  EndsBeforeList,      // the flags announce a list, but the file ends before it
  ListNotEnded,        // the flags announce a 6.0 list, but no "[]" ends the 5.0 list
  EntryUnreadable,     // `version`, `entry`: a list entry that cannot be read exactly
  LineTooLong,         // `number`: the line longer than any text the program takes
  EmptyFile,
  TooFewLines,         // `number`: how many lines the file holds
  NewContentLeftIn,    // `detail`: the file that holds the new content
  EntryNotInFormat,    // a list entry holds a line break, or a 5.0 entry is the line "[]"
  NulInEntry,          // `number`: the list file's entry line that holds a NUL byte
  LfLineEnd,           // `number`: a list file's flag line that ends in LF alone, not CR LF
  FlagOutOfRange,      // as FlagNotNumber, for a whole number outside the 32-bit range
  ByteOrderMark,       // `detail`: "UTF-8" or "UTF-16", the mark a list file starts with
  OutsideFolder,       // a list file name that leads out of the program folder ("..\x")
  UndoFileDamaged,     // the undo file is cut short, edited or no undo file at all
  ListUnreadable,      // `version`: a list that cannot be read at all
  ValueTooLarge,       // `version`, `entry`: a value larger than any list entry
};

// A plain std::exception: std::runtime_error's copy brings libstdc++'s whole reference-counted
// string along, a sixth of the exe.
class AppError : public std::exception {
 public:
  AppError(Action action, DWORD code, std::wstring subject, Problem problem = Problem::None);
  // "Brushwick error <code>", for a handler that knows only std::exception.
  const char* what() const noexcept override { return summary_; }

  Action action;
  DWORD code;
  std::wstring subject;  // the file, folder, window or control concerned
  Problem problem;
  long long number = 0;
  std::string version;  // "5.0" or "6.0"
  std::string entry;    // a list entry's number
  std::wstring detail;
  // The larger step this failure stopped, when it is not the action itself.
  std::optional<Action> during;

  AppError& WithNumber(long long value) { number = value; return *this; }
  AppError& WithEntry(std::string listVersion, std::string entryName) {
    version = std::move(listVersion);
    entry = std::move(entryName);
    return *this;
  }
  AppError& WithDetail(std::wstring text) { detail = std::move(text); return *this; }

 private:
  char summary_[32];
};

// The system's own text for an error code, without the trailing line break ("" if none).
std::wstring SystemErrorText(DWORD code);
// The symbolic name of the registry statuses the program meets, or "" for others.
std::wstring StatusName(DWORD code);
[[noreturn]] void ThrowError(Action action, DWORD code, const std::wstring& subject,
                             Problem problem = Problem::None);
// With GetLastError() as the code.
[[noreturn]] void ThrowLastError(Action action, const std::wstring& subject);
