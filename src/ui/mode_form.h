#pragma once
// The Icom address and transverter-offset dialog. It exists from the start
// (hidden), because the start-up fills its two lists.
#include "ui/controls.h"

namespace skylet::ui {

struct ModeForm {
  ListBox lstAdress;
  ListBox lstTransverter;
};

}  // namespace skylet::ui
