#include "listfile/undo.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/error.h"
#include "common/handles.h"
#include "common/stop_points.h"
#include "common/string_index.h"
#include "common/text.h"
#include "common/textfile.h"

namespace listfile {
namespace {

constexpr char kHeader[] = "Brushwick undo 1";
constexpr char kLineEnd[] = "\r\n";

constexpr std::pair<ChangeKind, const char*> kKindNames[] = {
    {ChangeKind::Clean, "clean"},   {ChangeKind::Review, "review"}, {ChangeKind::Import, "import"},
    {ChangeKind::Clear, "clear"},   {ChangeKind::Undo, "undo"},
};

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

const char kHexDigits[] = "0123456789abcdef";

std::string Hex(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    text += kHexDigits[c >> 4];
    text += kHexDigits[c & 15];
  }
  return text;
}

std::string Hex64(std::uint64_t value) {
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kHexDigits[value & 15];
  return text;
}

void AppendList(std::string& text, size_t& lines, const char* version, const ListState& list) {
  text += std::string("list ") + version + (list.keyExists ? " 1 " : " 0 ") +
          DecimalText(static_cast<long long>(list.values.size())) + kLineEnd;
  ++lines;
  for (const Autostart::StoredValue& v : list.values) {
    text += v.name + " " + DecimalText(v.type) + " " + Hex(v.data) + kLineEnd;
    ++lines;
  }
}

// ---- Reading, strictly: the file must be exactly as UndoFileText writes it ----

[[noreturn]] void Damaged(const std::wstring& path) {
  ThrowError(ListAction::UseUndoFile, ERROR_INVALID_DATA, path, ListProblem::UndoFileDamaged);
}

class Reader {
 public:
  Reader(std::string_view bytes, const std::wstring& path) : bytes_(bytes), path_(path) {}

  std::string_view Line() {
    const size_t end = bytes_.find(kLineEnd, pos_);
    if (end == std::string_view::npos) Damaged(path_);
    const std::string_view line = bytes_.substr(pos_, end - pos_);
    pos_ = end + 2;
    ++lines_;
    return line;
  }
  // The next line without taking it; "" at the end.
  std::string_view Peek() const {
    const size_t end = bytes_.find(kLineEnd, pos_);
    return end == std::string_view::npos ? std::string_view() : bytes_.substr(pos_, end - pos_);
  }
  size_t Position() const { return pos_; }
  size_t Lines() const { return lines_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }
  const std::wstring& Path() const { return path_; }

 private:
  std::string_view bytes_;
  const std::wstring& path_;
  size_t pos_ = 0;
  size_t lines_ = 0;
};

// Splits at single spaces.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t space = line.find(' ', start);
    fields.push_back(line.substr(start, space - start));
    if (space == std::string_view::npos) return fields;
    start = space + 1;
  }
}

// A decimal number written the way DecimalText writes it, at most `max`.
bool Number(std::string_view text, unsigned long long max, unsigned long long& value) {
  if (text.empty() || text.size() > 20 || (text.size() > 1 && text[0] == '0')) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const unsigned long long digit = static_cast<unsigned long long>(c - '0');
    if (value > (max - digit) / 10) return false;
    value = value * 10 + digit;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

ListState ReadList(Reader& in, const char* version) {
  const std::vector<std::string_view> head = Fields(in.Line());
  unsigned long long count = 0;
  if (head.size() != 4 || head[0] != "list" || head[1] != version || (head[2] != "0" && head[2] != "1") ||
      !Number(head[3], 100000000, count))
    Damaged(in.Path());
  ListState list;
  list.keyExists = head[2] == "1";
  if (!list.keyExists && count != 0) Damaged(in.Path());
  for (unsigned long long i = 0; i < count; ++i) {
    const std::vector<std::string_view> f = Fields(in.Line());
    unsigned long long type = 0;
    if (f.size() != 3 || !Autostart::IsListNumber(f[0]) || !Number(f[1], 0xFFFFFFFFull, type) ||
        f[2].size() % 2 != 0 || f[2].size() / 2 > kMaxValueBytes)
      Damaged(in.Path());
    if (!list.values.empty() && !Autostart::ListNumberLess(list.values.back().name, f[0])) Damaged(in.Path());
    std::string data(f[2].size() / 2, '\0');
    for (size_t b = 0; b < data.size(); ++b) {
      const int high = HexValue(f[2][2 * b]), low = HexValue(f[2][2 * b + 1]);
      if (high < 0 || low < 0) Damaged(in.Path());
      data[b] = static_cast<char>(high * 16 + low);
    }
    list.values.push_back({std::string(f[0]), static_cast<DWORD>(type), std::move(data)});
  }
  return list;
}

ListsState ReadBoth(Reader& in) {
  ListsState state;
  for (int i = 0; i < 2; ++i) state.lists[i] = ReadList(in, kListVersions[i]);
  return state;
}

[[noreturn]] void ThrowSaving(DWORD code, const std::wstring& path) {
  AppError e(Action::WriteFile, code, path);
  e.during = ListAction::SaveUndo;
  throw e;
}

bool Exists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A value's type and data as one key: the type's four bytes, then the data.
std::string BagKey(const Autostart::StoredValue& v) {
  std::string key(reinterpret_cast<const char*>(&v.type), sizeof v.type);
  return key += v.data;
}
// How many entries of each type and data a list holds. A list may hold thousands: their keys are
// sorted first, so that each new one goes in at the end.
using Bag = StringIndex;
Bag BagOf(const ListState& list) {
  std::vector<std::string> keys;
  keys.reserve(list.values.size());
  for (const Autostart::StoredValue& v : list.values) keys.push_back(BagKey(v));
  std::sort(keys.begin(), keys.end(), &StringIndex::Before);
  Bag bag;
  for (std::string& key : keys) ++bag[std::move(key)];
  return bag;
}
// Takes one of the entry from the bag; false when the bag has none.
bool Take(Bag& bag, const Autostart::StoredValue& v) {
  size_t* count = bag.Find(BagKey(v));
  if (!count || *count == 0) return false;
  --*count;
  return true;
}

}  // namespace

std::wstring UndoFilePath(const std::wstring& folder) { return folder + L"\\" + kUndoFileName; }
std::wstring PendingFilePath(const std::wstring& folder) { return folder + L"\\" + kPendingFileName; }

bool PendingExists(const std::wstring& folder) { return Exists(PendingFilePath(folder)); }
bool UndoAvailable(const std::wstring& folder) { return Exists(UndoFilePath(folder)) || PendingExists(folder); }

ListsReading ReadListsNow() {
  ListsReading reading;
  GetSystemTimeAsFileTime(&reading.readAt);
  for (int i = 0; i < 2; ++i) {
    ListState& list = reading.state.lists[i];
    const Autostart::Status status = Autostart::ReadNumberedValues(
        HKEY_CURRENT_USER, Autostart::ListKeyPath(kListVersions[i]), list.values, &reading.written[i]);
    list.keyExists = status == ERROR_SUCCESS;
    if (status != ERROR_FILE_NOT_FOUND) reading.status[i] = status;
  }
  return reading;
}

namespace {
unsigned long long Ticks(const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
// Well apart from any write that comes after it, whatever the clock's resolution.
constexpr unsigned long long kQuietTicks = 2ull * 10000000;  // 2 s in 100 ns units
}  // namespace

bool ListsUntouchedSince(const ListsReading& reading) {
  for (int i = 0; i < 2; ++i) {
    const ListState& list = reading.state.lists[i];
    if (reading.status[i] != ERROR_SUCCESS) return false;
    FILETIME written{};
    DWORD count = 0;
    const Autostart::Status status =
        Autostart::ReadKeyStamp(HKEY_CURRENT_USER, Autostart::ListKeyPath(kListVersions[i]), written, count);
    if (!list.keyExists) {
      if (status != ERROR_FILE_NOT_FOUND) return false;
      continue;
    }
    if (status != ERROR_SUCCESS || Ticks(written) != Ticks(reading.written[i]) ||
        Ticks(written) + kQuietTicks > Ticks(reading.readAt))
      return false;
  }
  return true;
}

ListsState ReadLists() {
  ListsReading reading = ReadListsNow();
  for (int i = 0; i < 2; ++i)
    if (reading.status[i] != ERROR_SUCCESS)
      throw AppError(ListAction::SaveUndo, static_cast<DWORD>(reading.status[i]), L"", ListProblem::ListUnreadable)
          .WithEntry(kListVersions[i], "");
  return std::move(reading.state);
}

std::string UndoFileText(const UndoRecord& record) {
  const char* kind = "clean";
  for (const auto& [k, name] : kKindNames)
    if (k == record.kind) kind = name;
  std::string text = std::string(kHeader) + kLineEnd + "begun " + kind + " " + record.when + kLineEnd;
  size_t lines = 2;
  for (int i = 0; i < 2; ++i) AppendList(text, lines, kListVersions[i], record.before.lists[i]);
  if (record.after) {
    text += std::string("done") + kLineEnd;
    ++lines;
    for (int i = 0; i < 2; ++i) AppendList(text, lines, kListVersions[i], record.after->lists[i]);
  }
  const std::uint64_t sum = Fnv1a(text);
  text += "end " + DecimalText(static_cast<long long>(lines)) + " " + Hex64(sum) + kLineEnd;
  return text;
}

UndoRecord ParseUndoFile(std::string_view bytes, const std::wstring& path) {
  Reader in(bytes, path);
  UndoRecord record;
  if (in.Line() != kHeader) Damaged(path);
  const std::string_view begun = in.Line();
  if (!begun.starts_with("begun ")) Damaged(path);
  const std::string_view rest = begun.substr(6);
  const size_t space = rest.find(' ');
  if (space == std::string_view::npos) Damaged(path);
  bool known = false;
  for (const auto& [k, name] : kKindNames) {
    if (rest.substr(0, space) == name) {
      record.kind = k;
      known = true;
    }
  }
  record.when = std::string(rest.substr(space + 1));
  if (!known || record.when.size() != 19) Damaged(path);
  record.before = ReadBoth(in);
  if (in.Peek() == "done") {
    in.Line();
    record.after = ReadBoth(in);
  }
  const size_t sumEnd = in.Position(), lines = in.Lines();
  const std::vector<std::string_view> end = Fields(in.Line());
  unsigned long long counted = 0;
  if (end.size() != 3 || end[0] != "end" || !Number(end[1], 0xFFFFFFFFFFull, counted) || counted != lines ||
      end[2] != Hex64(Fnv1a(bytes.substr(0, sumEnd))) || !in.AtEnd())
    Damaged(path);
  // Whatever the checks above let through, the file must be the one this record is written as.
  if (UndoFileText(record) != bytes) Damaged(path);
  return record;
}

UndoRecord ReadUndoFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
      ((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > kMaxUndoFileBytes)
    Damaged(path);
  return ParseUndoFile(ReadFileBytes(path), path);
}

void WritePending(const std::wstring& folder, const UndoRecord& record, unsigned long long maxBytes) {
  const std::wstring path = PendingFilePath(folder), beside = path + L"~";
  for (const ListsState* state : {&record.before, record.after ? &*record.after : nullptr})
    for (int i = 0; state && i < 2; ++i)
      for (const Autostart::StoredValue& v : state->lists[i].values)
        if (v.data.size() > kMaxValueBytes)
          throw AppError(ListAction::SaveUndo, ERROR_INVALID_DATA, L"", ListProblem::ValueTooLarge)
              .WithEntry(kListVersions[i], v.name);
  const std::string text = UndoFileText(record);
  if (text.size() > maxBytes)
    throw AppError(ListAction::SaveUndo, ERROR_FILE_TOO_LARGE, path, ListProblem::UndoFileTooLarge);
  {
    KernelHandle file(CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowSaving(GetLastError(), path);
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size() && FlushFileBuffers(file.get());
    const DWORD code = GetLastError();
    file.reset();
    stop_points::Passed();
    if (!ok) {
      DeleteFileW(beside.c_str());
      ThrowSaving(code, path);
    }
  }
  const bool moved = MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  stop_points::Passed();
  if (!moved) {
    const DWORD code = GetLastError();
    DeleteFileW(beside.c_str());
    ThrowSaving(code, path);
  }
}

void PromotePending(const std::wstring& folder) {
  const std::wstring pending = PendingFilePath(folder), undo = UndoFilePath(folder);
  const bool moved = MoveFileExW(pending.c_str(), undo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  stop_points::Passed();
  if (!moved) ThrowSaving(GetLastError(), undo);
}

void RemovePending(const std::wstring& folder) {
  DeleteFileW(PendingFilePath(folder).c_str());
  stop_points::Passed();
}

void RemoveUndoFile(const std::wstring& folder) {
  DeleteFileW(UndoFilePath(folder).c_str());
  stop_points::Passed();
}

ChangedSince CompareSince(const UndoRecord& last, const ListsState& now) {
  ChangedSince since;
  for (int i = 0; i < 2; ++i) {
    if (!last.before.lists[i].keyExists) continue;  // the undo leaves this list alone
    Bag before = BagOf(last.before.lists[i]);
    Bag after = last.after ? BagOf(last.after->lists[i]) : Bag();
    for (const Autostart::StoredValue& v : now.lists[i].values) {
      if (Take(before, v)) continue;
      ++since.goneAfterUndo;
      if (!Take(after, v)) ++since.addedSince;
    }
  }
  return since;
}

std::optional<UndoRecord> ReadPending(const std::wstring& folder) {
  if (!PendingExists(folder)) return std::nullopt;
  return ReadUndoFile(PendingFilePath(folder));
}

std::size_t NewEntries(const ListsState& target, const ListsState& now) {
  std::size_t count = 0;
  for (int i = 0; i < 2; ++i) {
    if (!target.lists[i].keyExists) continue;  // left alone
    Bag before = BagOf(target.lists[i]);
    StringIndex counted;
    for (const Autostart::StoredValue& v : now.lists[i].values) {
      const std::string key = BagKey(v);
      if (before.Find(key) || counted.Find(key)) continue;
      counted.Emplace(key, 0);
      ++count;
    }
  }
  return count;
}

}  // namespace listfile
