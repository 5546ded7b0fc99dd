#pragma once
// The screen's DPI for the programs a test starts, and whether a control's text fits it in the
// font the form runtime gives every control.
//
// Wine 8 takes the screen's DPI from HKCU\Control Panel\Desktop\LogPixels (else from
// HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts\LogPixels), once per
// process, the first time the process needs it. So the setting is changed before the program is
// started and put back afterwards, even when a test fails; the end-to-end tests share the Wine
// prefix and run one at a time. The test process keeps whatever DPI it first read, so the checks
// never ask it for the program's DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "driver/ui_driver.h"

namespace ui {

// Changes the screen's DPI for programs started from now on; the destructor restores it.
class ScreenDpi {
 public:
  ScreenDpi();
  ~ScreenDpi();
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;

  void Set(DWORD dpi);
};

// The text measured in the program's control font, Tahoma 8 pt at `dpi`: one line, or wrapped
// at `wrap_width` pixels.
SIZE ProgramTextExtent(const std::wstring& text, int dpi, int wrap_width = 0);

enum class Shows {
  Nothing,
  Caption,   // one line in a push button
  Frame,     // one line between the corners of a frame
  CheckBox,  // a box and one line beside it
  Wrapped,   // several lines, wrapped at the width
};

std::string Show(const RECT& r);

// The control's text, shown as `shows`, fits the control at `dpi`.
void ExpectTextFits(HWND control, Shows shows, int dpi);

}  // namespace ui
