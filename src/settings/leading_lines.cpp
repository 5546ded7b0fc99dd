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

std::size_t CharacterCount(const std::string& line, unsigned codePage) {
  return static_cast<std::size_t>(
      MultiByteToWideChar(codePage, 0, line.data(), static_cast<int>(line.size()), nullptr, 0));
}

void ReadLinesOf(const KernelHandle& file, const std::wstring& path, const LineSink& take) {
  std::string pending;  // the bytes of the line being read
  char buffer[16384];
  bool carriage_return = false;  // the last byte was a CR: an LF right after it is skipped
  bool skipping = false;         // in the rest of a line already handed over as too long
  unsigned long long total = 0;
  auto finish = [&] {
    if (skipping) {
      skipping = false;
      return true;
    }
    const bool go_on = take(pending, false);
    pending.clear();
    return go_on;
  };
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) ThrowLastError(Action::ReadFile, path);
    if (read == 0) break;
    if (read > kMaxTextFileBytes - total) read = static_cast<DWORD>(kMaxTextFileBytes - total);
    total += read;
    for (DWORD i = 0; i < read; ++i) {
      const char c = buffer[i];
      if (carriage_return) {
        carriage_return = false;
        if (c == '\n') continue;
      }
      if (c == '\r') {
        carriage_return = true;
        if (!finish()) return;
        continue;
      }
      if (skipping) continue;
      pending += c;
      if (pending.size() > kMaxLineBytes) {
        if (!take(pending, true)) return;
        pending.clear();
        skipping = true;
      }
    }
    if (total == kMaxTextFileBytes) break;
  }
  // The last line may end at the end of the file.
  if (!pending.empty()) (void)finish();
}

LeadingLines ReadLeadingLines(const std::wstring& path, std::size_t count) {
  LeadingLines result;
  if (count == 0) return result;
  KernelHandle file = OpenTextFileForReading(path);
  ReadLinesOf(file, path, [&](std::string& line, bool tooLong) {
    if (tooLong || CharacterCount(line, CP_ACP) > kMaxLineCharacters) {
      result.overlong = true;
      return false;
    }
    result.lines.push_back(std::move(line));
    return result.lines.size() < count;
  });
  return result;
}
