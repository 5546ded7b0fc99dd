#include "driver/screen_dpi.h"

#include <stdexcept>

namespace ui {

namespace {

// ---- The DPI setting of the Wine prefix -----------------------------------------------------

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
// While a test runs at another DPI the replaced setting waits here, so that the next run puts it
// back if this one was killed before it could.
constexpr wchar_t kBackupKey[] = L"Software\\Brushwick tests\\Saved LogPixels";

std::optional<DWORD> ReadDword(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, &type, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void WriteDword(const wchar_t* key, const wchar_t* name, DWORD value) {
  const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
  if (status != ERROR_SUCCESS)
    throw std::runtime_error("cannot write HKCU\\" + Utf8(key) + "\\" + Utf8(name) + ": " + std::to_string(status));
}

void DeleteValueIfAny(const wchar_t* key, const wchar_t* name) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name);
}

// Puts the setting back as the backup says: the value it had, or none.
void RestoreFromBackup() {
  const std::optional<DWORD> had = ReadDword(kBackupKey, L"Present");
  if (!had) return;
  if (*had) {
    WriteDword(kDesktopKey, kLogPixels, ReadDword(kBackupKey, L"Value").value_or(96));
  } else {
    DeleteValueIfAny(kDesktopKey, kLogPixels);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brushwick tests");
}

}  // namespace

ScreenDpi::ScreenDpi() {
  RestoreFromBackup();
  const std::optional<DWORD> current = ReadDword(kDesktopKey, kLogPixels);
  WriteDword(kBackupKey, L"Value", current.value_or(0));
  WriteDword(kBackupKey, L"Present", current ? 1 : 0);
}

ScreenDpi::~ScreenDpi() {
  try {
    RestoreFromBackup();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "the DPI setting could not be restored: " << e.what();
  }
}

void ScreenDpi::Set(DWORD dpi) { WriteDword(kDesktopKey, kLogPixels, dpi); }

// ---- Layout checks ------------------------------------------------------------------------

// The text of a control measured in the font the form runtime gives every control, Tahoma 8 pt
// at the window's DPI. (A font cannot be asked of a control in another process under Wine, and
// this process's own DPI is whatever Wine read when it first asked.)
SIZE ProgramTextExtent(const std::wstring& text, int dpi, int wrap_width) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(8, dpi, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(lf.lfFaceName, L"Tahoma");
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, wrap_width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOPREFIX | (wrap_width ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return {r.right - r.left, r.bottom - r.top};
}

std::string Show(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
         "x" + std::to_string(r.bottom - r.top) + ")";
}

void ExpectTextFits(HWND control, Shows shows, int dpi) {
  const std::wstring text = Text(control);
  const SIZE client = ClientSize(control);
  switch (shows) {
    case Shows::Nothing:
      break;
    case Shows::Caption:
    case Shows::Frame: {
      // A button's caption keeps clear of its edges, a frame's of its corners.
      const int margin = MulDiv(shows == Shows::Frame ? 8 : 3, dpi, 96);
      const SIZE needed = ProgramTextExtent(text, dpi);
      EXPECT_LE(needed.cx, client.cx - 2 * margin) << "\"" << Utf8(text) << "\" is clipped";
      EXPECT_LE(needed.cy, client.cy) << "\"" << Utf8(text) << "\" is too tall";
      break;
    }
    case Shows::CheckBox: {
      // What is drawn, box and caption, ends before the control's right edge.
      const RECT ink = InkBounds(control);
      EXPECT_FALSE(IsRectEmpty(&ink)) << "nothing drawn";
      EXPECT_LT(ink.right, client.cx - 1) << "\"" << Utf8(text) << "\" runs into the edge";
      EXPECT_GT(ink.top, 0) << "\"" << Utf8(text) << "\" is cut at the top";
      EXPECT_LT(ink.bottom, client.cy) << "\"" << Utf8(text) << "\" is cut at the bottom";
      break;
    }
    case Shows::Wrapped: {
      const SIZE needed = ProgramTextExtent(text, dpi, client.cx);
      EXPECT_LE(needed.cy, client.cy) << "the text needs " << needed.cy << " px, the control has " << client.cy;
      // Whatever the font really drawn: the last line keeps clear of the bottom edge.
      const RECT ink = InkBounds(control);
      EXPECT_FALSE(IsRectEmpty(&ink)) << "nothing drawn";
      EXPECT_LT(ink.bottom, client.cy - 1) << "the text reaches the bottom edge";
      break;
    }
  }
}


}  // namespace ui
