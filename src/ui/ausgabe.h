#pragma once
// The main window: a small fixed panel with the tracked satellite, its
// frequencies, modes and position, and the three click-switches.
#include "ui/controls.h"

namespace skylet::ui {

struct AusGabe {
  static constexpr int kClientWidthTwips = 3180;
  static constexpr int kClientHeightTwips = 3435;

  std::string caption;
  double Top = 0;   // twips
  double Left = 0;  // twips
  WindowState windowState = WindowState::Normal;

  // Design captions until the start options set the switches.
  Label lblRotor{" R+"};
  Label lblCat{" C+"};
  Label lblPark{" P-"};
  Label lblIntV{" 100"};
  TextBox lblKorr;

  bool Timer1Enabled = false;  // the one-second record pull
};

}  // namespace skylet::ui
