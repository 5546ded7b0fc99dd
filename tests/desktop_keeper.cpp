// Holds Wine's desktop for a whole test session. Wine starts its desktop process (explorer.exe)
// from the first program that needs it, and that process inherits the program's output pipes: a
// test that happened to start it would look unfinished to CTest until the desktop closed again.
// Started first, with its output going nowhere, this keeper makes sure no test starts it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  GetDesktopWindow();
  Sleep(INFINITE);  // ended by the session's `wineserver -k`
  return 0;
}
