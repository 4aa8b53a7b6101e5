#pragma once
// The screen's size, and its pixels per inch for turning twips into pixels.
#include "platform/screen.h"

namespace skylet::win32 {

class Screen : public platform::Screen {
 public:
  int WidthTwips() override;
  int HeightTwips() override;
};

// Pixels per inch of the screen, horizontally and vertically.
int ScreenDpiX();
int ScreenDpiY();

}  // namespace skylet::win32
