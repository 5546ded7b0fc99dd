// The form runtime's DPI and layout: fonts, control places and window sizes for a DPI.
#include "forms/form.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "forms/form_parts.h"

namespace forms {
namespace {

constexpr wchar_t kFontFace[] = L"Tahoma";
constexpr int kFontPoints = 8;

// DPI functions of newer Windows versions, looked up once so the program still starts on older ones.
struct DpiApi {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  DpiApi() {
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
      getDpiForWindow = reinterpret_cast<decltype(getDpiForWindow)>(
          reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
      adjustWindowRectExForDpi = reinterpret_cast<decltype(adjustWindowRectExForDpi)>(
          reinterpret_cast<void*>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
    }
  }
};
const DpiApi& Dpi() {
  static const DpiApi api;
  return api;
}

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Clipping the children keeps the window's own background from painting over controls that moved.
constexpr DWORD kResizableStyle = kStyle | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

namespace parts {

UINT WindowDpi(HWND hwnd) {
  if (Dpi().getDpiForWindow) {
    if (UINT dpi = Dpi().getDpiForWindow(hwnd)) return dpi;
  }
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

DWORD StyleOf(const FormDef& def) { return def.resizable ? kResizableStyle : kStyle; }

RECT WindowRectFor(int clientWidth, int clientHeight, UINT dpi, DWORD style) {
  RECT rect{0, 0, clientWidth, clientHeight};
  if (Dpi().adjustWindowRectExForDpi) {
    Dpi().adjustWindowRectExForDpi(&rect, style, FALSE, kExStyle, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, kExStyle);
  }
  return rect;
}

}  // namespace parts

using parts::StyleOf;
using parts::WindowRectFor;

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

void Form::ApplyLayout(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  GdiObject font = DialogFont(dpi);
  FitTexts(dpi, static_cast<HFONT>(font.get()));
  PlaceControls(dpi, static_cast<HFONT>(font.get()));
  font_ = std::move(font);  // the old font goes only once no control uses it
  PlaceWindow(dpi, suggested);
}

GdiObject Form::DialogFont(UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(kFontPoints, static_cast<int>(dpi), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  static_assert(std::size(kFontFace) <= LF_FACESIZE);
  std::wmemcpy(lf.lfFaceName, kFontFace, std::size(kFontFace));
  return GdiObject(CreateFontIndirectW(&lf));
}

PixelRect Form::PlaceOf(const ControlDef& c, UINT dpi, int dx, int dy) const {
  int left = c.twips.left, top = c.twips.top;
  if (c.container) {
    for (const ControlDef& frame : def_.controls) {
      if (frame.id == c.container) {
        left += frame.twips.left;
        top += frame.twips.top;
      }
    }
  }
  PixelRect designed{TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(c.twips.width, dpi),
                     TwipsToPixels(c.twips.height, dpi)};
  const std::size_t row = static_cast<std::size_t>(&c - def_.controls.data());
  if (row < fit_.size()) {
    designed.left += fit_[row].left;
    designed.top += fit_[row].top;
    designed.width += fit_[row].width;
    designed.height += fit_[row].height;
  }
  return FollowEdges(designed, c.anchor, dx, dy);
}

namespace {

// A drop-down list's window height includes the list that drops below its field.
int WindowHeightOf(const ControlDef& c, int height, UINT dpi) {
  return c.kind == Kind::DropDownList ? height + TwipsToPixels(2400, dpi) : height;
}

}  // namespace

void Form::PlaceControls(UINT dpi, HFONT font) {
  for (const ControlDef& c : def_.controls) {
    HWND control = Control(c.id);
    const PixelRect place = PlaceOf(c, dpi, 0, 0);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetWindowPos(control, nullptr, place.left, place.top, place.width, WindowHeightOf(c, place.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (c.kind == Kind::DropDownList) FitDropDownField(control, place.height);
  }
}

void Form::FollowClientSize(int width, int height) {
  const int dx = width - TwipsToPixels(def_.clientWidth, dpi_), dy = height - TwipsToPixels(def_.clientHeight, dpi_);
  // Drawn afresh where they land: bits copied from where they stood may be stale after a resize.
  constexpr UINT kMove = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
  for (const ControlDef& c : def_.controls) {
    if (c.anchor == kStayTopLeft) continue;
    const PixelRect place = PlaceOf(c, dpi_, dx, dy);
    SetWindowPos(Control(c.id), nullptr, place.left, place.top, place.width, WindowHeightOf(c, place.height, dpi_),
                 kMove);
  }
}

void Form::FitDropDownField(HWND control, int height) {
  // The field's height follows its item height plus borders whose size the system decides:
  // set it, measure, and correct by what is left over.
  LRESULT item = height - 6;
  for (int attempt = 0; attempt < 2; ++attempt) {
    SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    RECT field;
    GetWindowRect(control, &field);
    const int off = (field.bottom - field.top) - height;
    if (off == 0) break;
    item -= off;
  }
}

void Form::FitTexts(UINT dpi, HFONT font) {
  fit_.assign(def_.controls.size(), PixelRect{});
  fitWidth_ = fitHeight_ = 0;
  if (!def_.fitsTexts || def_.resizable || !hwnd_) return;
  const std::size_t count = def_.controls.size();
  std::vector<PixelRect> place(count);
  for (std::size_t i = 0; i < count; ++i) place[i] = PlaceOf(def_.controls[i], dpi, 0, 0);
  const int clientWidth = TwipsToPixels(def_.clientWidth, dpi), clientHeight = TwipsToPixels(def_.clientHeight, dpi);
  // The room there is: the monitor's work area less the window's frame.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner_ ? owner_ : hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const RECT frame = WindowRectFor(clientWidth, clientHeight, dpi, StyleOf(def_));
  const int roomWidth = (work.right - work.left) - (frame.right - frame.left - clientWidth) - clientWidth;
  const int roomHeight = (work.bottom - work.top) - (frame.bottom - frame.top - clientHeight) - clientHeight;

  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font);
  auto measure = [&](std::size_t i, int wrapWidth) {
    HWND control = Control(def_.controls[i].id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    RECT r{0, 0, wrapWidth, 0};
    const UINT prefix = (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) && def_.controls[i].kind == Kind::Label
                            ? DT_NOPREFIX
                            : 0;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | prefix | (wrapWidth ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE));
    return SIZE{r.right - r.left, r.bottom - r.top};
  };

  // Buttons: each as wide as the widest caption needs, those further right moving along.
  int grow = 0, buttons = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (def_.controls[i].kind != Kind::Button) continue;
    ++buttons;
    grow = std::max(grow, static_cast<int>(measure(i, 0).cx) + MulDiv(12, static_cast<int>(dpi), 96) - place[i].width);
  }
  if (buttons > 0 && grow > 0) {
    grow = std::min(grow, std::max(0, roomWidth) / buttons);
    fitWidth_ = grow * buttons;
    for (std::size_t i = 0; i < count; ++i) {
      if (def_.controls[i].kind == Kind::Button) {
        int before = 0;  // buttons to its left
        for (std::size_t k = 0; k < count; ++k)
          if (def_.controls[k].kind == Kind::Button && place[k].left < place[i].left) ++before;
        fit_[i].left = before * grow;
        fit_[i].width = grow;
      } else if (place[i].left + place[i].width >= clientWidth - TwipsToPixels(300, dpi)) {
        fit_[i].width = fitWidth_;  // spans the window
      }
    }
  }

  // Labels: as tall as their text wrapped at their width; what lies below moves down.
  for (std::size_t i = 0; i < count; ++i) {
    if (def_.controls[i].kind != Kind::Label) continue;
    const int width = place[i].width + fit_[i].width;
    const int more = std::min(static_cast<int>(measure(i, width).cy) + 2 - place[i].height, roomHeight - fitHeight_);
    if (more <= 0) continue;
    const int bottom = place[i].top + place[i].height;
    fit_[i].height += more;
    for (std::size_t k = 0; k < count; ++k)
      if (k != i && place[k].top >= bottom) fit_[k].top += more;
    fitHeight_ += more;
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
}

void Form::PlaceWindow(UINT dpi, const RECT* suggested) {
  const int clientWidth = TwipsToPixels(def_.clientWidth, dpi) + fitWidth_;
  const int clientHeight = TwipsToPixels(def_.clientHeight, dpi) + fitHeight_;
  const RECT frame = WindowRectFor(clientWidth, clientHeight, dpi, StyleOf(def_));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x, y;
  if (suggested) {
    x = suggested->left;
    y = suggested->top;
  } else {
    // Centred on the monitor's work area.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    x = work.left + (work.right - work.left - width) / 2;
    y = work.top + (work.bottom - work.top - height) / 2;
  }
  SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame's size may differ from the estimate (menus, themes): make the client area exact.
  RECT client;
  GetClientRect(hwnd_, &client);
  const int dx = clientWidth - client.right, dy = clientHeight - client.bottom;
  if (dx || dy)
    SetWindowPos(hwnd_, nullptr, 0, 0, width + dx, height + dy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace forms
