#include "rotor/park.h"

#include <algorithm>
#include <cstdint>

#include "rotor/positioning.h"
#include "station/station.h"

namespace skylet::rotor {

void ParkStep(Station& st) {
  RotorState& rot = st.rotor;
  if (rot.ParkOn != "+" || rot.ParkCount >= rot.ParkDelay) return;
  // Held at the 16-bit limit: with ParkDelay 32767 the step from 32766
  // would wrap to a negative count, and the park position would go out
  // again within the same no-satellite period.
  rot.ParkCount = static_cast<int16_t>(std::min(rot.ParkCount + 2, 32767));
  if (rot.ParkCount < rot.ParkDelay) return;
  rot.RotEl = rot.ParkEl;
  rot.RotAz = rot.ParkAz;
  rot.RotElLast = rot.ParkEl;
  rot.RotAzLast = rot.ParkAz;
  RotOutput(st);
}

}  // namespace skylet::rotor
