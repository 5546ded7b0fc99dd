#pragma once
// Failures of file access and the like travel as AppError: what the program was doing, the
// Windows error number, the file (or folder or window) concerned and the facts that say what is
// wrong. Nothing below the windows words a failure: Describe (forms/messages.h) does, one way
// for every message about the same failure. No exception ever crosses a window procedure.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>

// What the program was doing, and what is wrong beyond what the error number says. The values
// of the common pieces are here; each layer above names its own in a header of its own
// (listfile/list_errors.h, settings/settings_errors.h, forms/form_errors.h), numbered from a
// range of its own, so that AppError carries any of them and one Describe words them all.
enum class Action : unsigned char {
  OpenFile,
  ReadFile,
  WriteFile,
  FindProgramFolder,
  ListFolder,
};

// None when the number says it all.
enum class Problem : unsigned char {
  None,
  DeviceName,          // the name is one of a device (CON, NUL, COM1, ...)
  NulInName,           // the name holds a NUL character
  ForbiddenCharacter,  // `detail`: the character file names cannot hold
  ControlCharacter,
  NameTooLong,
  NewContentLeftIn,    // `detail`: the file that holds the new content
};

// Where each layer's values of Action and Problem begin.
inline constexpr unsigned char kListFileErrors = 32, kSettingsErrors = 64, kWindowErrors = 96;

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
