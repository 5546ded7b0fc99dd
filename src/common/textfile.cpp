#include "common/textfile.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <vector>

#include "common/error.h"
#include "common/handles.h"
#include "common/text.h"

namespace {

KernelHandle OpenForReading(const std::wstring& path) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError(Action::OpenFile, path);
  return file;
}

constexpr size_t kMaxComponent = 255;  // the longest name one folder entry can carry

// Paths without the \\?\ prefix stop at MAX_PATH - 1 characters, and one name within a path at
// 255; the system would report a longer name only as "file not found".
void CheckLength(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const size_t name = slash == std::wstring::npos ? path.size() : path.size() - slash - 1;
  if (path.size() >= MAX_PATH || name > kMaxComponent)
    ThrowError(Action::WriteFile, ERROR_FILENAME_EXCED_RANGE, path, Problem::NameTooLong);
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// True when the open file is not simply the entry `path` names: it has further names (hard
// links), or it was reached through a symbolic link or junction, so that the file's own name
// differs from the path. Such a file is written in place, so every name keeps seeing it; a new
// file put in its place would cut it off from its other names. The file's own name comes from
// NtQueryInformationFile, which every Windows since NT has.
bool ReachedThroughLink(HANDLE file, const std::wstring& path) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file, &info) && info.nNumberOfLinks > 1) return true;
  using Query = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, int);
  constexpr int kFileNameInformation = 9;
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  if (!query) return false;
  std::vector<ULONG> buffer(16384);  // ULONGs: room for a name of 32,767 characters
  ULONG_PTR status_block[2] = {};
  if (query(file, status_block, buffer.data(), static_cast<ULONG>(buffer.size() * sizeof(ULONG)),
            kFileNameInformation) != 0)
    return false;
  const std::wstring_view own(reinterpret_cast<const wchar_t*>(buffer.data() + 1), buffer[0] / sizeof(wchar_t));
  // The file's own name starts at the root of its volume: "\folder\name" for "C:\folder\name".
  std::wstring full(32768, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return false;
  full.resize(length);
  std::wstring_view given(full);
  if (given.size() >= 2 && given[1] == L':') given.remove_prefix(2);
  else if (given.starts_with(L"\\\\")) given.remove_prefix(1);  // "\\server\share\..." is "\server\share\..."
  return !SameText(given, own);
}

// Writes the bytes over the file's own content: its attributes, security, links and other
// names stay as they are. Room for the new content is claimed before the old is overwritten, so
// a full disk leaves the old content whole.
void WriteInPlace(const std::wstring& path, std::string_view bytes) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError(Action::WriteFile, path);
  LARGE_INTEGER old_size{}, new_size{}, zero{};
  new_size.QuadPart = static_cast<LONGLONG>(bytes.size());
  if (!GetFileSizeEx(file.get(), &old_size)) ThrowLastError(Action::WriteFile, path);
  if (new_size.QuadPart > old_size.QuadPart &&
      (!SetFilePointerEx(file.get(), new_size, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))) {
    const DWORD code = GetLastError();
    if (SetFilePointerEx(file.get(), old_size, nullptr, FILE_BEGIN)) SetEndOfFile(file.get());
    ThrowError(Action::WriteFile, code, path);
  }
  DWORD written = 0;
  if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_BEGIN) ||
      !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size() || !SetEndOfFile(file.get()) || !FlushFileBuffers(file.get()))
    ThrowLastError(Action::WriteFile, path);
}

// A free name for the temporary file in the target's folder, no longer than the target's own
// name, so that any name that fits the folder fits for the temporary file too: the target's
// name with its last characters replaced by "~" and a number. Creates the file and returns it.
KernelHandle CreateTemporaryBeside(const std::wstring& path, std::wstring& temporary, DWORD& error) {
  const size_t slash = path.find_last_of(L"\\/");
  const size_t start = slash == std::wstring::npos ? 0 : slash + 1;
  const size_t name = path.size() - start;
  const size_t tail = std::min<size_t>(name, 4);
  error = ERROR_FILE_EXISTS;
  if (tail == 0) return KernelHandle();
  int variants = 1;
  for (size_t i = 1; i < tail; ++i) variants *= 10;
  for (int n = 0; n < variants && n < 100; ++n) {
    std::wstring suffix = L"~";
    if (tail > 1) {
      const std::wstring digits = DecimalTextW(n);
      suffix += std::wstring(tail - 1 - digits.size(), L'0') + digits;
    }
    temporary = path.substr(0, path.size() - tail) + suffix;
    KernelHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return KernelHandle();
}

// True when the existing file at `path` has other names than this path (see ReachedThroughLink).
bool HasOtherNames(const std::wstring& path) {
  const KernelHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && ReachedThroughLink(file.get(), path);
}

// Creates a temporary file beside `path` (CreateTemporaryBeside) and writes the bytes to it.
// False when none could be created, `create_error` saying why; throws, leaving none behind, when
// the bytes cannot be written.
bool WriteTemporaryBeside(const std::wstring& path, std::string_view bytes, std::wstring& temporary,
                          DWORD& create_error) {
  KernelHandle file = CreateTemporaryBeside(path, temporary, create_error);
  if (!file) return false;
  DWORD written = 0;
  if (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size() && FlushFileBuffers(file.get()))
    return true;
  const DWORD code = GetLastError();
  file.reset();
  DeleteFileW(temporary.c_str());
  ThrowError(Action::WriteFile, code, path);
}

// The written temporary file becomes `path`, where no file was.
void MoveTemporaryInto(const std::wstring& path, const std::wstring& temporary) {
  if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return;
  const DWORD code = GetLastError();
  DeleteFileW(temporary.c_str());
  ThrowError(Action::WriteFile, code, path);
}

// The written temporary file takes the place of the file at `path`, which had `attributes`.
void ReplaceWithTemporary(const std::wstring& path, const std::wstring& temporary, DWORD attributes,
                          std::string_view bytes) {
  // ReplaceFile keeps the replaced file's security and creation time, and on Windows its
  // attributes; Wine's drops them, so they are put back where they did not survive.
  if (ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr)) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD now = GetFileAttributesW(path.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (attributes & kKept)) {
      const DWORD wanted = (now & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (attributes & kKept);
      SetFileAttributesW(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
    }
    return;
  }
  const DWORD code = GetLastError();
  if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
    // The old file is gone and the new one still under the temporary name: finish the move.
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return;
    throw AppError(Action::WriteFile, GetLastError(), path, Problem::NewContentLeftIn).WithDetail(temporary);
  }
  if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    throw AppError(Action::WriteFile, code, path, Problem::NewContentLeftIn).WithDetail(temporary);
  DeleteFileW(temporary.c_str());
  // Any other failure leaves the old file untouched. It may still be written where it cannot be
  // replaced (it may be written but not read or removed, or another program holds it open):
  // write it in place, which fails with its own reason otherwise.
  WriteInPlace(path, bytes);
}

}  // namespace

std::string ReadFileBytes(const std::wstring& path) {
  KernelHandle file = OpenForReading(path);
  // Sized once from the file, so a large file costs its own size and no more.
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size))
    ThrowLastError(Action::ReadFile, path);
  if (static_cast<unsigned long long>(size.QuadPart) > std::string().max_size() ||
      size.QuadPart > 0x7FFFFFFF)
    ThrowError(Action::ReadFile, ERROR_NOT_ENOUGH_MEMORY, path);
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(filled + 16384);  // the file grew meanwhile
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr))
      ThrowLastError(Action::ReadFile, path);
    if (read == 0) break;
    filled += read;
  }
  bytes.resize(filled);
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
    ThrowError(Action::WriteFile, ERROR_INVALID_NAME, path, Problem::DeviceName);
  CheckLength(path);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // A read-only file refuses to be replaced, as it refuses to be overwritten; Wine's
  // ReplaceFile would replace it all the same.
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    ThrowError(Action::WriteFile, ERROR_ACCESS_DENIED, path);
  if (exists && HasOtherNames(path)) {
    WriteInPlace(path, bytes);
    return;
  }
  // The new content goes to a temporary file beside the target first, which then takes its
  // place whole, so a failure never leaves the file half written.
  std::wstring temporary;
  DWORD create_error = 0;
  if (!WriteTemporaryBeside(path, bytes, temporary, create_error)) {
    // A folder where new files cannot be created may still hold a file that can be written.
    if (exists) {
      WriteInPlace(path, bytes);
      return;
    }
    ThrowError(Action::WriteFile, create_error, path);
  }
  if (exists)
    ReplaceWithTemporary(path, temporary, attributes, bytes);
  else
    MoveTemporaryInto(path, temporary);
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
    if (length == 0) ThrowLastError(Action::FindProgramFolder, L"");
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}
