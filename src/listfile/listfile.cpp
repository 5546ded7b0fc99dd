#include "listfile/listfile.h"

#include <windows.h>

#include <limits>
#include <utility>

#include "common/error.h"
#include "common/text.h"
#include "common/textfile.h"

namespace listfile {
namespace {

constexpr char kSeparator[] = "[]";
constexpr char kLineEnd[] = "\r\n";

std::string KeyPath(const std::string& version) { return Autostart::ListKeyPath(version); }

// Refuses names that cannot name a file of the program folder's own: device names, which would
// send the list to a device, characters that Windows file names cannot hold (':' would even
// write into a hidden stream of another file), and names with no file name of their own.
void CheckName(const std::wstring& name, const std::wstring& path, Action action) {
  if (NamesDevice(path)) ThrowError(action, ERROR_INVALID_NAME, path, Problem::DeviceName);
  for (wchar_t c : name) {
    if (c < 0x20) ThrowError(action, ERROR_INVALID_NAME, path, Problem::ControlCharacter);
    if (std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos)
      throw AppError(action, ERROR_INVALID_NAME, path, Problem::ForbiddenCharacter).WithDetail(std::wstring(1, c));
  }
  // The name's last part is the file's own name before ".rec": blank, or nothing after a
  // separator, it names none (" .rec", "sub\.rec").
  const size_t separator = name.find_last_of(L"\\/");
  const std::wstring_view own = std::wstring_view(name).substr(separator == std::wstring::npos ? 0 : separator + 1);
  if (own.find_first_not_of(L' ') == std::wstring_view::npos)
    ThrowError(action, ERROR_INVALID_NAME, path, ListProblem::NoListName);
  // A ".." that climbs above the program folder: the import window, which lists that folder,
  // could never offer the file. The last part gets ".rec" and so is never "..".
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != L'\\' && name[i] != L'/') continue;
    const std::wstring_view part(name.data() + start, i - start);
    start = i + 1;
    if (part == L"..") {
      if (--depth < 0) ThrowError(action, ERROR_INVALID_NAME, path, ListProblem::OutsideFolder);
    } else if (!part.empty() && part != L".") {
      ++depth;
    }
  }
}

[[noreturn]] void ThrowDamaged(DWORD code, const std::wstring& path, Problem problem) {
  ThrowError(ListAction::ImportListFile, code, path, problem);
}

// A flag line as it may be quoted in a message: short, and shown in the ANSI code page.
std::wstring Quoted(std::string_view line) {
  constexpr size_t kShown = 40;
  std::wstring text = AnsiToWide(line.substr(0, kShown));
  for (wchar_t& c : text)
    if (c < 0x20) c = L'?';
  return L"\"" + text + (line.size() > kShown ? L"...\"" : L"\"");
}

// Blanks, an optional sign and digits: a whole number, whatever its size.
bool IsWholeNumberText(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t"), last = line.find_last_not_of(" \t");
  if (first == std::string_view::npos) return false;
  line = line.substr(first, last - first + 1);
  if (line.front() == '+' || line.front() == '-') line.remove_prefix(1);
  return !line.empty() && line.find_first_not_of("0123456789") == std::string_view::npos;
}

std::int32_t ReadFlag(std::string_view line, int number, const char* version,
                      const std::wstring& path) {
  if (line.find('\n') != std::string_view::npos)
    throw AppError(ListAction::ImportListFile, ERROR_INVALID_DATA, path, ListProblem::LfLineEnd).WithNumber(number);
  std::int32_t value = 0;
  if (!ParseFlag(line, value))
    throw AppError(ListAction::ImportListFile, ERROR_INVALID_DATA, path,
                   IsWholeNumberText(line) ? ListProblem::FlagOutOfRange : ListProblem::FlagNotNumber)
        .WithNumber(number)
        .WithEntry(version, "")
        .WithDetail(Quoted(line));
  return value;
}

// A file saved as Unicode text: its lines would be read as other bytes.
void RefuseByteOrderMark(std::string_view bytes, const std::wstring& path) {
  const wchar_t* mark = nullptr;
  if (bytes.starts_with("\xEF\xBB\xBF")) mark = L"UTF-8";
  else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) mark = L"UTF-16";
  if (mark)
    throw AppError(ListAction::ImportListFile, ERROR_INVALID_DATA, path, ListProblem::ByteOrderMark).WithDetail(mark);
}

}  // namespace

std::wstring ListFilePath(const std::wstring& folder, const std::wstring& name) {
  return folder + L"\\" + name + L".rec";
}

namespace {

// The entries the export writes for a version: "1", "2", ... up to the first missing number.
std::vector<std::string> ExportedEntries(const std::string& version) {
  std::vector<Autostart::StoredValue> values;
  const Autostart::Status read = Autostart::ReadNumberedValues(HKEY_CURRENT_USER, KeyPath(version), values);
  Autostart::ListScan scan = Autostart::ScanStored(values, kMaxListed);
  if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND) {
    scan.status = read;
    scan.failedValue = "1";
  }
  if (scan.status != ERROR_SUCCESS) {
    // A section cut short or altered here would, once imported, cost the entries it lacks. The
    // file is named by the caller.
    throw AppError(ListAction::WriteListFile, static_cast<DWORD>(scan.status), L"", ListProblem::EntryUnreadable)
        .WithEntry(version, scan.failedValue);
  }
  return std::move(scan.texts);
}

ListFileContent ExportedContent(bool with50, bool with60) {
  ListFileContent content;
  content.has50 = with50;
  content.has60 = with60;
  if (with50) content.entries50 = ExportedEntries(kVersion50);
  if (with60) content.entries60 = ExportedEntries(kVersion60);
  return content;
}

}  // namespace

void Eksportuj(const std::string& version, std::string& fileBytes) {
  for (const std::string& text : ExportedEntries(version)) {
    fileBytes += text;
    fileBytes += kLineEnd;
  }
}

std::string ListFileBytes(bool with50, bool with60) { return ListFileText(ExportedContent(with50, with60)); }

void WriteListFile(const std::wstring& folder, const std::wstring& name, bool with50, bool with60) {
  const std::wstring path = ListFilePath(folder, name);
  CheckName(name, path, ListAction::WriteListFile);
  // Built whole first, so a failure never leaves a half-written or truncated file behind.
  ListFileContent content;
  try {
    content = ExportedContent(with50, with60);
  } catch (AppError& e) {
    e.subject = path;
    throw;
  }
  const std::string bytes = ListFileText(content);
  // An entry holding a line break, or a 5.0 entry that is the line "[]", would come back from the
  // file as other entries: such a list is not saved rather than saved wrong.
  if (ParseListFile(bytes, path) != content)
    ThrowError(ListAction::WriteListFile, ERROR_INVALID_DATA, path, ListProblem::EntryNotInFormat);
  WriteFileReplacing(path, bytes);
}

std::string ListFileText(const ListFileContent& content) {
  std::string bytes = content.has50 ? " 1 \r\n" : " 0 \r\n";
  bytes += content.has60 ? " 1 \r\n" : " 0 \r\n";
  for (auto [held, entries] : {std::pair{content.has50, &content.entries50}, std::pair{content.has60, &content.entries60}}) {
    if (!held) continue;
    bytes += kSeparator;
    bytes += kLineEnd;
    for (const std::string& text : *entries) {
      bytes += text;
      bytes += kLineEnd;
    }
  }
  return bytes;
}

bool ParseFlag(std::string_view line, std::int32_t& value) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  bool negative = false;
  if (!line.empty() && (line.front() == '+' || line.front() == '-')) {
    negative = line.front() == '-';
    line.remove_prefix(1);
  }
  if (line.empty()) return false;
  // Accumulated as a negative number, whose range reaches INT32_MIN.
  std::int64_t number = 0;
  for (char c : line) {
    if (c < '0' || c > '9') return false;
    number = number * 10 - (c - '0');
    if (number < std::numeric_limits<std::int32_t>::min()) return false;
  }
  if (!negative) {
    if (number < -std::int64_t{std::numeric_limits<std::int32_t>::max()}) return false;
    number = -number;
  }
  value = static_cast<std::int32_t>(number);
  return true;
}

ListFileContent ParseListFile(std::string_view bytes, const std::wstring& path) {
  RefuseByteOrderMark(bytes, path);
  LineReader reader(bytes);
  std::string line50, line60, line;
  ListFileContent content;
  // Each flag is looked at as soon as it is read, so a file whose lines end in LF alone (one
  // long line here) is named for that.
  if (!reader.Next(line50)) ThrowDamaged(ERROR_HANDLE_EOF, path, ListProblem::EndsBeforeFlags);
  content.has50 = ReadFlag(line50, 1, kVersion50, path) == 1;
  if (!reader.Next(line60)) ThrowDamaged(ERROR_HANDLE_EOF, path, ListProblem::EndsBeforeFlags);
  content.has60 = ReadFlag(line60, 2, kVersion60, path) == 1;
  if (!content.has50 && !content.has60) return content;
  // The third line opens the first section; it is skipped whatever it holds.
  if (!reader.Next(line))
    ThrowDamaged(ERROR_HANDLE_EOF, path, ListProblem::EndsBeforeList);
  long long number = 3;
  // An entry with a NUL byte would be stored cut or with a NUL inside: the file is damaged.
  const auto entry = [&](std::vector<std::string>& entries) {
    if (line.find('\0') != std::string::npos)
      throw AppError(ListAction::ImportListFile, ERROR_INVALID_DATA, path, ListProblem::NulInEntry).WithNumber(number);
    entries.push_back(line);
  };
  if (content.has50) {
    bool ended = false;
    while (reader.Next(line)) {
      ++number;
      if (line == kSeparator) {
        ended = true;
        break;
      }
      entry(content.entries50);
    }
    // Imported anyway, every line would go to 5.0 and the 6.0 list would be emptied.
    if (content.has60 && !ended)
      ThrowDamaged(ERROR_INVALID_DATA, path, ListProblem::ListNotEnded);
  }
  if (content.has60) {
    while (reader.Next(line)) {
      ++number;
      entry(content.entries60);
    }
  }
  return content;
}

ListFileContent ReadListFileContent(const std::wstring& folder, const std::wstring& name) {
  const std::wstring path = ListFilePath(folder, name);
  CheckName(name, path, ListAction::ImportListFile);
  return ParseListFile(ReadFileBytes(path), path);
}

std::vector<Autostart::StoredValue> ImportedValues(const std::vector<std::string>& entries,
                                                   const std::vector<Autostart::StoredValue>& now) {
  std::vector<Autostart::StoredValue> wanted;
  wanted.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    std::wstring text = AnsiToWide(entries[i]);
    text.push_back(L'\0');
    wanted.push_back({DecimalText(static_cast<long long>(i) + 1), REG_SZ,
                      std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t))});
  }
  // The old list runs from "1" to its first missing number.
  size_t old = 0;
  while (old < now.size() && now[old].name == DecimalText(static_cast<long long>(old) + 1)) ++old;
  const std::string last = DecimalText(static_cast<long long>(std::max(old, entries.size())));
  for (size_t i = old; i < now.size(); ++i)
    if (Autostart::ListNumberLess(last, now[i].name)) wanted.push_back(now[i]);
  return wanted;
}

VersionImport ImportOf(std::size_t entries, const Autostart::ListWrites& writes) {
  VersionImport result;
  result.present = true;
  result.entries = entries;
  result.keyMissing = writes.keyMissing;
  if (writes.keyMissing) return result;
  result.written = writes.changed ? std::min(writes.inPlace, entries) : entries;
  result.deleted = writes.deleted;
  result.firstFailure = writes.status;
  return result;
}

std::array<bool, 2> ListsCarried(const std::wstring& path) {
  if (NamesDevice(path)) return {false, false};
  try {
    const ListFileContent content = ParseListFile(ReadFileBytes(path), path);
    return {content.has50, content.has60};
  } catch (const AppError&) {
    return {false, false};
  }
}

}  // namespace listfile
