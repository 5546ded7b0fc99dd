#include "common/error.h"

#include <utility>


AppError::AppError(Action what, DWORD errorCode, std::wstring concerned, Problem wrong)
    : action(what),
      code(errorCode),
      subject(std::move(concerned)),
      problem(wrong) {
  static constexpr char prefix[] = "Brushwick error ";
  char* end = summary_;
  for (const char* p = prefix; *p; ++p) *end++ = *p;
  char digits[10];  // a DWORD has at most ten
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + errorCode % 10);
    errorCode /= 10;
  } while (errorCode != 0);
  while (count > 0) *end++ = digits[--count];
  *end = '\0';
}

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

void ThrowError(Action action, DWORD code, const std::wstring& subject, Problem problem) {
  throw AppError(action, code, subject, problem);
}

void ThrowLastError(Action action, const std::wstring& subject) { ThrowError(action, GetLastError(), subject); }
