#pragma once
// The rotor dialog "Rotorsteuerung": standard directions, the 1-degree
// corrections and the park position. It exists from the start (hidden),
// because the start-up fills its list of standard directions, and its
// buttons only hide it, so the spin buttons keep their values.
#include "forms/controls.h"

namespace skylet::forms {

struct Rotor : FormState {
  Rotor() {
    caption = "Rotorsteuerung";
    loaded = true;
  }

  Label lblStandR{"Standardrichtungen"};
  ListBox lstStandR;
  Label lbl1GradKorr{"1-Grad-Korrektur"};
  Label lblAzK{"Azimut"};
  Label lblElK{"Elevation"};
  Label lblAZwert;  // the azimuth correction
  Label lblElWert;  // the elevation correction
  ScrollBar ScrollAz;
  ScrollBar ScrollEl;
  Label lblParkPos{"Parkposition"};
  Label lblAzP{"Azimut"};
  Label lblElP{"Elevation"};
  Label lblSek{"Delay"};
  TextBox edAzP;
  TextBox edElP;
  TextBox edZeitP;
  CommandButton cmdOK{"P.-Pos ok"};
  CommandButton cmdCancel{"weiter"};
};

}  // namespace skylet::forms
