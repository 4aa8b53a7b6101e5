#pragma once
// Skylet's own window "Verkehr", opened from the main window's system menu:
// the station's traffic, line by line, while the pass goes on. Not a dialog:
// the main window keeps its input while it is open. Its place, size and the
// links it shows are kept in "SkyletVerkehr.SQF".
#include <array>

#include "forms/controls.h"

namespace skylet::forms {

struct Verkehr : FormState {
  Verkehr() {
    caption = "Verkehr";
    Left = Top = -1;  // never placed: beside the main window
  }
  double Width = 12900;  // twips, the window's outer size: every switch and button in view
  double Height = 4500;
  // By link: Avor, radio, rotor, CAT server, rigctld, rotctld, Skylet's own
  // notices. Avor's record comes every second; it is left out at first.
  std::array<bool, 7> shown{false, true, true, true, true, true, true};
  // Read from the file or placed: written back at the quit.
  bool placed = false;
};

}  // namespace skylet::forms
