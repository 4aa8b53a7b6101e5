#pragma once
// The rotor dialog. It exists from the start (hidden), because the start-up
// fills its list of standard directions.
#include "ui/controls.h"

namespace skylet::ui {

struct RotorForm {
  ListBox lstStandR;
};

}  // namespace skylet::ui
