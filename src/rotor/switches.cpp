#include "rotor/switches.h"

#include "app/station.h"

namespace skylet::rotor {

void RotorSwitchOn(app::Station& st) {
  st.main.lblRotor.caption = " R+";
  st.rotor.RotorOn = "+";
  // A fresh start of the angle test: the next position is taken as the first.
  st.rotor.RotCount = 0;
}

void RotorSwitchOff(app::Station& st) {
  st.main.lblRotor.caption = " R-";
  st.rotor.RotorOn = "-";
}

void ParkSwitchOn(app::Station& st) {
  st.main.lblPark.caption = " P+";
  st.rotor.ParkOn = "+";
}

void ParkSwitchOff(app::Station& st) {
  st.main.lblPark.caption = " P-";
  st.rotor.ParkOn = "-";
}

}  // namespace skylet::rotor
