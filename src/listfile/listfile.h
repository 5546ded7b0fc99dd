#pragma once
// List files: the recent-files lists of Visual Basic 5.0 and 6.0 saved as text (`<name>.rec` in
// the program folder) and put back into the registry.
//
// Layout, 8-bit ANSI text, every line ended by CR LF when written:
//   line 1  " 1 " or " 0 "   the 5.0 flag: 1 when a 5.0 section follows
//   line 2  " 1 " or " 0 "   the 6.0 flag
//   then for each flagged version, 5.0 first: a line "[]", then one line per list entry,
//   the texts of the values "1", "2", ... exactly as the registry holds them.
// The 5.0 section ends at a line that is exactly "[]" (the 6.0 separator) or at the end of the
// file; the 6.0 section runs to the end of the file, so there "[]" is an ordinary entry.
//
// Reading takes a line to end at CR LF or at a lone CR; a lone LF stays in an entry line (a flag
// line holding one is refused: the file's lines end in LF alone), and the last line may end at the
// end of the file. A file that starts with a UTF-8 or UTF-16 byte-order mark is Unicode text, not
// ANSI, and is refused; so is an entry line holding a NUL byte, which no registry text can hold. A flag line is a signed 32-bit whole number with optional
// blanks (spaces, tabs) around it: " 1 ", "1", "+1", "01" are 1; "-0" is 0; only 1 means present.
// Empty lines, signs without digits, other characters ("1x", "1.0", "0x1", "1 1") and numbers
// outside the 32-bit range are not whole numbers, and such a file is refused as damaged.
//
// Errors: file and format failures throw AppError (common/error.h), whose description names the
// file and what is wrong. Registry failures never throw; the import reports them in its result.
// Nothing here shows anything: the export and import windows decide what the user is told.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/function_ref.h"
#include "listfile/list_errors.h"
#include "registry/autostart.h"

namespace listfile {

inline constexpr char kVersion50[] = "5.0";
inline constexpr char kVersion60[] = "6.0";
// The export visits at most the values "1" to "1000"; an import writes every entry of its file,
// numbered past 1000 when the file holds more, and replaces the whole old list, however long, so
// that none of it is left behind a gap.
inline constexpr int kMaxListed = 1000;

// folder + "\" + name + ".rec". The name is used as given: a backslash in it names a subfolder.
// Writing and reading refuse a name whose ".." parts lead out of the folder.
std::wstring ListFilePath(const std::wstring& folder, const std::wstring& name);

// ---- Writing ----

// Appends the version's list to `fileBytes` as entry lines (text + CR LF): the values "1", "2", ...
// read as REG_SZ up to the first missing number (no key: no entries) and "1000" at the latest.
// Throws AppError, naming the version, the entry and the reason, when an entry exists that
// cannot be read exactly (too long, access denied, characters outside the ANSI code page).
void Eksportuj(const std::string& version, std::string& fileBytes);

// The whole list file for the chosen versions, as it would be written. Throws as Eksportuj.
std::string ListFileBytes(bool with50, bool with60);

// Writes ListFileBytes to ListFilePath(folder, name), replacing any file of that name whole.
// Throws AppError, leaving any former file untouched and writing nothing, when the name is a
// device name (CON, NUL, COM1, ...; any case, any extension), holds a character that file names
// cannot hold (< > : " | ? * or a control character), is blank or ends in a separator (it names
// no file of its own: " ", "sub\"), or the file cannot be created or written
// (missing subfolder, folder not writable, a folder of that name), or when a chosen list has an
// entry that cannot be read exactly.
void WriteListFile(const std::wstring& folder, const std::wstring& name, bool with50, bool with60);

// ---- Reading ----

// What a list file says, checked whole before anything is changed.
struct ListFileContent {
  bool has50 = false;  // the 5.0 flag is 1
  bool has60 = false;  // the 6.0 flag is 1
  std::vector<std::string> entries50;
  std::vector<std::string> entries60;
  bool operator==(const ListFileContent&) const = default;
};

// The list file that holds `content`, as the writer lays it out.
std::string ListFileText(const ListFileContent& content);

// Reads one flag line; false when it is not a whole number as described above.
bool ParseFlag(std::string_view line, std::int32_t& value);

// Parses the bytes of a list file; `path` only names the file in error descriptions.
// Throws AppError when the file starts with a byte-order mark, ends before its two flag lines,
// when a flag line ends in LF alone or is not a whole number (or one out of the 32-bit range),
// when an entry line holds a NUL byte, when a flag announces a section but the file ends before
// its third line, or when both flags are 1 but no "[]" line ends the 5.0 section (a cut file: its
// 6.0 list is missing).
// A file whose flags announce nothing (as written with no version chosen) parses to an empty
// content, whatever follows. The third line is skipped unexamined.
ListFileContent ParseListFile(std::string_view bytes, const std::wstring& path);

// The lists (5.0, 6.0) that the list file at `path` carries, as its flags say; none when it is a
// device or cannot be read or parsed (the import then says why). Never throws.
std::array<bool, 2> ListsCarried(const std::wstring& path);

// How one version's list was replaced.
struct VersionImport {
  bool present = false;     // the file carries this version; nothing else applies otherwise
  bool keyMissing = false;  // the version's list key does not exist: nothing written or created
  std::size_t entries = 0;  // entry lines in the file's section
  std::size_t written = 0;  // of those, how many were stored
  std::size_t deleted = 0;  // old values removed
  // The first failing registry status among the writes and the deletions of the old list's
  // surplus values; 0 when all succeeded.
  Autostart::Status firstFailure = 0;
  // The list is as the file says. With no key and an empty section there is no list, as the
  // file says too.
  bool Complete() const {
    if (!present) return true;
    if (keyMissing) return entries == 0;
    return firstFailure == 0 && written == entries;
  }
  // Neither as the file says nor changed in any way.
  bool Untouched() const { return present && !Complete() && written == 0 && deleted == 0; }
};

struct ImportResult {
  VersionImport v50;
  VersionImport v60;
  // The file's flags announced no version (a file written with neither chosen): nothing changed.
  bool NothingHeld() const { return !v50.present && !v60.present; }
  bool Complete() const { return v50.Complete() && v60.Complete(); }
  // No version the file carries was imported even in part (no keys, or keys refusing every
  // change): the registry is as it was.
  bool NothingImported() const {
    return !NothingHeld() && (!v50.present || v50.Untouched()) && (!v60.present || v60.Untouched());
  }
};

// Reads ListFilePath(folder, name) whole and checks it (ParseListFile). Throws AppError when the
// name is a device name or leads out of the folder, or the file cannot be opened, read or parsed.
ListFileContent ReadListFileContent(const std::wstring& folder, const std::wstring& name);

// The list an import leaves, the list being `now` (every numbered value as stored): the entries
// as "1".."n" (REG_SZ, in the ANSI code page as the registry converts it), the old list from "1"
// up to its first missing number gone, and any old value behind that gap, past the new entries,
// left as it is.
std::vector<Autostart::StoredValue> ImportedValues(const std::vector<std::string>& entries,
                                                   const std::vector<Autostart::StoredValue>& now);

// How the import of one version's section went, from its list's writes.
VersionImport ImportOf(std::size_t entries, const Autostart::ListWrites& writes);

}  // namespace listfile
