#include "common/error.h"

#include <utility>

#include "common/text.h"

AppError::AppError(DWORD code, std::wstring description)
    : std::runtime_error("Brushwick error " + std::to_string(code)),
      code_(code),
      description_(std::move(description)) {}

std::wstring SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.'))
    text.pop_back();
  return text;
}

std::wstring StatusName(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND: return L"ERROR_FILE_NOT_FOUND";
    case ERROR_PATH_NOT_FOUND: return L"ERROR_PATH_NOT_FOUND";
    case ERROR_ACCESS_DENIED: return L"ERROR_ACCESS_DENIED";
    case ERROR_INVALID_HANDLE: return L"ERROR_INVALID_HANDLE";
    case ERROR_NOT_ENOUGH_MEMORY: return L"ERROR_NOT_ENOUGH_MEMORY";
    case ERROR_WRITE_PROTECT: return L"ERROR_WRITE_PROTECT";
    case ERROR_SHARING_VIOLATION: return L"ERROR_SHARING_VIOLATION";
    case ERROR_INVALID_PARAMETER: return L"ERROR_INVALID_PARAMETER";
    case ERROR_MORE_DATA: return L"ERROR_MORE_DATA";
    case ERROR_KEY_DELETED: return L"ERROR_KEY_DELETED";
    case ERROR_REGISTRY_IO_FAILED: return L"ERROR_REGISTRY_IO_FAILED";
    case ERROR_NO_SYSTEM_RESOURCES: return L"ERROR_NO_SYSTEM_RESOURCES";
    case ERROR_NO_UNICODE_TRANSLATION: return L"ERROR_NO_UNICODE_TRANSLATION";
    default: return L"";
  }
}

std::wstring UnreadableEntryReason(DWORD code, bool polish) {
  std::wstring reason = DecimalTextW(code);
  const std::wstring name = StatusName(code);
  if (!name.empty()) reason += L" " + name;
  std::wstring meaning;
  switch (code) {
    case ERROR_MORE_DATA:
      meaning = polish ? L"tekst jest dłuższy niż 254 znaki" : L"the text is longer than 254 characters";
      break;
    case ERROR_ACCESS_DENIED:
      meaning = polish ? L"brak prawa odczytu" : L"no right to read it";
      break;
    case ERROR_NO_UNICODE_TRANSLATION:
      meaning = polish ? L"tekst zawiera znaki spoza strony kodowej ANSI systemu"
                       : L"the text holds characters outside the system's ANSI code page";
      break;
    default:
      meaning = SystemErrorText(code);
  }
  if (!meaning.empty()) reason += L": " + meaning;
  return reason;
}

void ThrowError(DWORD code, const std::wstring& what) {
  std::wstring description = what;
  const std::wstring system = SystemErrorText(code);
  if (!system.empty()) description += L": " + system;
  description += L" (" + DecimalTextW(code) + L")";
  throw AppError(code, std::move(description));
}

void ThrowLastError(const std::wstring& what) { ThrowError(GetLastError(), what); }
