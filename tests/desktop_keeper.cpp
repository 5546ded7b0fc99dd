// Holds Wine's desktop for a whole test session. Wine starts its desktop process (explorer.exe)
// from the first program that needs it, and that process inherits the program's output pipes: a
// test that happened to start it would look unfinished to CTest until the desktop closed again.
// Started before any test, with its output going nowhere, this keeper starts the desktop and then
// creates the file named by its argument, for which the test script waits before the first test.
#include <windows.h>

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (!GetDesktopWindow()) return 1;
  if (__argc > 1) {
    HANDLE ready = CreateFileW(__wargv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(ready);
  }
  Sleep(INFINITE);  // ended by the session's `wineserver -k`
  return 0;
}
