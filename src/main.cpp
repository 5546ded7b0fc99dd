#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Brushwick", L"Brushwick", MB_OK);
  return 0;
}
