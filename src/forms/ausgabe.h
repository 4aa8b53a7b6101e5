#pragma once
// The main window: a small fixed panel with the tracked satellite, its
// frequencies, modes and position, and the three click-switches. The
// conversations of the hidden link labels and the serial port of the window
// are the station's services; this holds what is shown. Its look and events
// are the table in ui/ausgabe_form.cpp.
#include <cstdint>

#include "forms/controls.h"

namespace skylet::forms {

struct AusGabe : FormState {
  AusGabe() {
    loaded = true;  // the program's own window lives from start to end
    focus = "picFocus";
  }

  PictureBox picFocus;  // takes the keys of the window
  Frame frHaupt;

  // The three switches.
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

  // The invisible link labels; lblDDE's caption is the last tracking record.
  Label lblDDE{"", false};
  Label RotClientConv{"", false};
  Label CatClientConv{"", false};
  Label ArsClientConv{"", false};

  bool Timer1Enabled = false;  // the one-second record pull
  // Set while a record pull runs, so a timer tick that arrives meanwhile
  // (a message box pumps messages) does not start a second one.
  bool pullRunning = false;

  // Where the dialogs open, relative to this window's top-left corner.
  int16_t DlgOffX = 0;  // twips
  int16_t DlgOffY = 0;  // twips
};

}  // namespace skylet::forms
