#include "win32/win32_screen.h"

#include <windows.h>

#include "win32/owned.h"

namespace skylet::win32 {

namespace {

// `axis` is LOGPIXELSX or LOGPIXELSY; 96 when the screen does not say.
int ScreenDpi(int axis) {
  const ScreenDc dc;
  const int dpi = dc ? GetDeviceCaps(dc.Get(), axis) : 96;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int ScreenDpiX() { return ScreenDpi(LOGPIXELSX); }
int ScreenDpiY() { return ScreenDpi(LOGPIXELSY); }

int Screen::WidthTwips() { return MulDiv(GetSystemMetrics(SM_CXSCREEN), 1440, ScreenDpiX()); }
int Screen::HeightTwips() { return MulDiv(GetSystemMetrics(SM_CYSCREEN), 1440, ScreenDpiY()); }

}  // namespace skylet::win32
