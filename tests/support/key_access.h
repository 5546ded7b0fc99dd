#pragma once
// Access rules on registry keys for fault tests (no GoogleTest). Wine keeps such rules only while
// it runs, so tests set them inside the running test.
#include <windows.h>

#include <string>

// Sets the key's DACL to deny `denied` to the current user and allow everything to everyone
// else; `denied` 0 gives the key back to everyone. Returns the status of the first failing call.
LONG DenyToCurrentUser(HKEY root, const std::wstring& keyPath, DWORD denied);
