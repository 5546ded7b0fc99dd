#pragma once
// Failures of file access and the like travel as AppError: an error number (a Windows error code)
// and a description that names what failed. No exception ever crosses a window procedure.
#include <windows.h>

#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
 public:
  AppError(DWORD code, std::wstring description);
  DWORD code() const noexcept { return code_; }
  const std::wstring& description() const noexcept { return description_; }

 private:
  DWORD code_;
  std::wstring description_;
};

// The system's own text for an error code, without the trailing line break ("" if none).
std::wstring SystemErrorText(DWORD code);
// The symbolic name of the registry statuses the program meets, or "" for others.
std::wstring StatusName(DWORD code);
// Why a list entry that exists cannot be read exactly, for the user: the status, its name and
// what it means for the entry ("234 ERROR_MORE_DATA: the text is longer than 254 characters").
std::wstring UnreadableEntryReason(DWORD code, bool polish);
// "what: <system text> (error N)" built from GetLastError() or a given code, then thrown.
[[noreturn]] void ThrowError(DWORD code, const std::wstring& what);
[[noreturn]] void ThrowLastError(const std::wstring& what);
