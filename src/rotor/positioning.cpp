#include "rotor/positioning.h"

#include "station/station.h"

namespace skylet::rotor {

void RotDecide(Station&) {
  // The time and angle criteria of the rotor join here.
}

void RotOutput(Station&) {
  // The position output to the rotor server or Arswin joins here.
}

}  // namespace skylet::rotor
