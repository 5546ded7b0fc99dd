#pragma once
// Folder listing as a hidden file-list control does it: the bare names of the ordinary,
// read-only and archive files of one folder whose own extension matches, without hidden or
// system files and sub-folders, sorted by name without regard to case.
#include <string>
#include <vector>

// `extension` includes the dot (".txt", ".rec"). A folder that does not exist lists as empty.
// Throws AppError when the folder exists but cannot be listed.
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& extension);
