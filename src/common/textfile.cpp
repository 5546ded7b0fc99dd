#include "common/textfile.h"

#include <windows.h>

#include <array>
#include <cwctype>

#include "common/error.h"
#include "common/messages.h"
#include "common/handles.h"

namespace {

const wchar_t* CannotOpen() { return Say(L"Nie można otworzyć pliku ", L"Cannot open the file "); }
const wchar_t* CannotWrite() { return Say(L"Nie można zapisać pliku ", L"Cannot write the file "); }

FileHandle OpenForReading(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError(CannotOpen() + path);
  return file;
}

}  // namespace

std::string ReadFileBytes(const std::wstring& path) {
  FileHandle file = OpenForReading(path);
  std::string bytes;
  char buffer[16384];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
      ThrowLastError(Say(L"Nie można odczytać pliku ", L"Cannot read the file ") + path);
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  return bytes;
}

bool NamesDevice(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/:");
  std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  // Windows ignores everything from the first dot, and trailing blanks, for device names.
  name = name.substr(0, name.find(L'.'));
  while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
  std::wstring upper;
  for (wchar_t c : name) upper += static_cast<wchar_t>(std::towupper(c));
  static constexpr std::array<std::wstring_view, 6> kPlain = {L"CON", L"PRN", L"AUX", L"NUL",
                                                              L"CONIN$", L"CONOUT$"};
  for (auto device : kPlain)
    if (upper == device) return true;
  if (upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
      upper[3] >= L'1' && upper[3] <= L'9')
    return true;
  return false;
}

void WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
  if (NamesDevice(path))
    ThrowError(ERROR_INVALID_NAME, CannotWrite() + path + Say(L": ta nazwa oznacza urządzenie, nie plik",
                                                              L": the name is reserved for a device"));
  // A read-only file refuses to be replaced, as it refuses to be overwritten; Wine's MoveFileEx
  // would replace it all the same.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    ThrowError(ERROR_ACCESS_DENIED, CannotWrite() + path);
  const std::wstring temporary = path + L".tmp~";
  {
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError(CannotWrite() + path);
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file.get());
    if (!ok) {
      const DWORD code = GetLastError();
      file.reset();
      DeleteFileW(temporary.c_str());
      ThrowError(code, CannotWrite() + path);
    }
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = GetLastError();
    DeleteFileW(temporary.c_str());
    ThrowError(code, CannotWrite() + path);
  }
}

bool LineReader::Next(std::string& line) {
  if (pos_ >= text_.size()) return false;
  const size_t cr = text_.find('\r', pos_);
  if (cr == std::string_view::npos) {
    line.assign(text_.substr(pos_));
    pos_ = text_.size();
    return true;
  }
  line.assign(text_.substr(pos_, cr - pos_));
  pos_ = cr + 1;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return true;
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) ThrowLastError(Say(L"Nie można ustalić folderu programu", L"Cannot find the program's folder"));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}
