#include "win32/win32_screen.h"

#include <windows.h>

namespace skylet::win32 {

int ScreenDpiX() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int ScreenDpiY() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int Screen::WidthTwips() { return MulDiv(GetSystemMetrics(SM_CXSCREEN), 1440, ScreenDpiX()); }
int Screen::HeightTwips() { return MulDiv(GetSystemMetrics(SM_CYSCREEN), 1440, ScreenDpiY()); }

}  // namespace skylet::win32
