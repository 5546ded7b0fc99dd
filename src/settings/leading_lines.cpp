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

FileHandle OpenTextFileForReading(const std::wstring& path) {
  if (path.find(L'\0') != std::wstring::npos)
    ThrowError(ERROR_INVALID_NAME, L"Cannot open the file " + Printable(path) +
                                       L": the name holds a NUL character");
  if (NamesDevice(path))
    ThrowError(ERROR_INVALID_NAME,
               L"Cannot open the file " + path + L": the name is reserved for a device");
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError(L"Cannot open the file " + path);
  return file;
}

std::vector<std::string> ReadLeadingLines(const std::wstring& path, std::size_t count) {
  FileHandle file = OpenTextFileForReading(path);
  // Every line but the file's last ends at a CR, so once `count` CRs are in, so are the lines.
  std::string bytes;
  std::size_t carriage_returns = 0;
  char buffer[8192];
  while (carriage_returns < count) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
      ThrowLastError(L"Cannot read the file " + path);
    if (read == 0) break;
    carriage_returns += static_cast<std::size_t>(std::count(buffer, buffer + read, '\r'));
    bytes.append(buffer, read);
  }
  std::vector<std::string> lines;
  LineReader reader(bytes);
  std::string line;
  while (lines.size() < count && reader.Next(line)) lines.push_back(line);
  return lines;
}
