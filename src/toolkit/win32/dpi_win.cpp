#include "toolkit/win32/dpi_win.h"

namespace {

template <typename F>
F* User32Function(const char* name) {
  return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

} // namespace

int DpiOf(HWND window) {
  static const auto getDpiForWindow = User32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

LOGFONTW DesktopFont(int dpi, bool iconTitle) {
  static const auto forDpi = User32Function<BOOL WINAPI(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
  LOGFONTW font{};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  void* data = iconTitle ? static_cast<void*>(&font) : static_cast<void*>(&metrics);
  const UINT action = iconTitle ? SPI_GETICONTITLELOGFONT : SPI_GETNONCLIENTMETRICS;
  const UINT size = iconTitle ? sizeof(font) : sizeof(metrics);
  if (forDpi && forDpi(action, size, data, 0, static_cast<UINT>(dpi))) {
    return iconTitle ? font : metrics.lfMessageFont;
  }
  // Older systems give the font at the system's DPI: it is scaled to the window's.
  if (!SystemParametersInfoW(action, size, data, 0)) {
    font = LOGFONTW{};
    font.lfHeight = -12;
    lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
    return font;
  }
  LOGFONTW result = iconTitle ? font : metrics.lfMessageFont;
  result.lfHeight = MulDiv(result.lfHeight, dpi, SystemDpi());
  return result;
}
