#pragma once
// File helpers shared by the unit tests, the end-to-end tests and the demo driver (no GoogleTest).
#include <string>

// Removes a file or a folder with everything in it; read-only attributes do not stop it.
void RemoveTree(const std::wstring& path);
// The file's bytes, or "" when it cannot be read.
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
