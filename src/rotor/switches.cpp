#include "rotor/switches.h"

#include "station/station.h"

namespace skylet::rotor {

void RotorSwitchOn(Station& st) {
  st.main.lblRotor.caption = " R+";
  st.rotor.RotorOn = "+";
  // A fresh start of the angle test: the next position is taken as the first.
  st.rotor.RotCount = 0;
}

void RotorSwitchOff(Station& st) {
  st.main.lblRotor.caption = " R-";
  st.rotor.RotorOn = "-";
}

void ParkSwitchOn(Station& st) {
  st.main.lblPark.caption = " P+";
  st.rotor.ParkOn = "+";
}

void ParkSwitchOff(Station& st) {
  st.main.lblPark.caption = " P-";
  st.rotor.ParkOn = "-";
}

}  // namespace skylet::rotor
