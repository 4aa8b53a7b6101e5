#include "rotor/positioning.h"

#include "app/station.h"

namespace skylet::rotor {

void RotDecide(app::Station&) {
  // The time and angle criteria of the rotor join here.
}

void RotOutput(app::Station&) {
  // The position output to the rotor server or Arswin joins here.
}

}  // namespace skylet::rotor
