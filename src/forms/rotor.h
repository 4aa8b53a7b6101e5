#pragma once
// The rotor dialog "Rotorsteuerung". It exists from the start (hidden),
// because the start-up fills its list of standard directions.
#include "forms/controls.h"

namespace skylet::forms {

struct Rotor : FormState {
  Rotor() {
    caption = "Rotorsteuerung";
    loaded = true;
  }

  ListBox lstStandR;
};

}  // namespace skylet::forms
