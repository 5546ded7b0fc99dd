// Stands in for a Visual Basic IDE in the end-to-end tests, copied as VB6.EXE: waits for the
// named event in argv[1], then, as the IDE does when it closes, writes the 6.0 list (the other
// arguments, from "1" on) and exits.
#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, argv[1]);
  if (!go || WaitForSingleObject(go, 60000) != WAIT_OBJECT_0) return 3;
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 4;
  for (int i = 2; i < argc; ++i) {
    const std::string name = std::to_string(i - 1);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[i]),
                   static_cast<DWORD>(std::strlen(argv[i]) + 1));
  }
  RegCloseKey(key);
  return 0;
}
