#pragma once
// The main window: a small fixed panel with the tracked satellite, its
// frequencies, modes and position, and the three click-switches. The
// hidden link labels, the timer and the serial port of the window are the
// station's services (see app/station.h); this holds what is shown.
#include "ui/controls.h"

namespace skylet::ui {

struct AusGabe {
  static constexpr int kClientWidthTwips = 3180;
  static constexpr int kClientHeightTwips = 3435;

  std::string caption;
  double Top = 0;   // twips
  double Left = 0;  // twips
  WindowState windowState = WindowState::Normal;

  // The three switches, with their design captions until the start options
  // set them.
  Label lblRotor{" R+"};
  Label lblCat{" C+"};
  Label lblPark{" P-"};

  Label lblUebIntV{"IntV: u/d"};
  Label lblIntV{" 100"};  // the frequency step in Hz
  Label lblUebKorr{"Korr: r/l"};
  TextBox lblKorr;  // correction of the current satellite in Hz

  Label lblSat{"Satellit"};
  TextBox edSat;
  Label lblDwnl{"Downlink"};
  TextBox edRX;
  TextBox edDM;
  Label lblUpl{"Uplink"};
  TextBox edTX;
  TextBox edUM;
  Label lblAz{"Azimut"};
  TextBox edAZ;
  Label lblEl{"Elevation"};
  TextBox edEL;
  TextBox edUeMA{"MA-Wert"};
  TextBox edMA;

  bool Timer1Enabled = false;  // the one-second record pull
};

}  // namespace skylet::ui
