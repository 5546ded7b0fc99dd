#include "settings/leading_lines.h"

#include <windows.h>

#include <algorithm>

#include "common/error.h"
#include "common/textfile.h"

namespace {

// The path as it can be shown in a message: an embedded NUL would cut the text short.
std::wstring Printable(std::wstring path) {
  std::replace(path.begin(), path.end(), L'\0', L'?');
  return path;
}

}  // namespace

KernelHandle OpenTextFileForReading(const std::wstring& path) {
  if (path.find(L'\0') != std::wstring::npos)
    ThrowError(Action::OpenFile, ERROR_INVALID_NAME, Printable(path), Problem::NulInName);
  if (NamesDevice(path))
    ThrowError(Action::OpenFile, ERROR_INVALID_NAME, path, Problem::DeviceName);
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError(Action::OpenFile, path);
  return file;
}

LeadingLines ReadLeadingLines(const std::wstring& path, std::size_t count) {
  KernelHandle file = OpenTextFileForReading(path);
  // A line of 32,767 characters takes at most twice as many bytes in any ANSI code page; more
  // bytes than that before its end cannot be a line short enough.
  constexpr std::size_t kMaxLineBytes = 2 * kMaxLineCharacters;
  LeadingLines result;
  std::string pending;  // the bytes of the line being read
  char buffer[8192];
  bool carriage_return = false;  // the last byte was a CR: an LF right after it is skipped
  auto finish = [&] {
    if (MultiByteToWideChar(CP_ACP, 0, pending.data(), static_cast<int>(pending.size()), nullptr, 0) >
        static_cast<int>(kMaxLineCharacters)) {
      result.overlong = true;
      return false;
    }
    result.lines.push_back(std::move(pending));
    pending.clear();
    return result.lines.size() < count;
  };
  if (count == 0) return result;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
      ThrowLastError(Action::ReadFile, path);
    if (read == 0) break;
    for (DWORD i = 0; i < read; ++i) {
      const char c = buffer[i];
      if (carriage_return) {
        carriage_return = false;
        if (c == '\n') continue;
      }
      if (c == '\r') {
        carriage_return = true;
        if (!finish()) return result;
        continue;
      }
      pending += c;
      if (pending.size() > kMaxLineBytes) {
        result.overlong = true;
        return result;
      }
    }
  }
  // The last line may end at the end of the file.
  if (!pending.empty()) finish();
  return result;
}
