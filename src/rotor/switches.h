#pragma once
// The rotor-tracking and park switches of the main window.
namespace skylet {
struct Station;
}

namespace skylet::rotor {

void RotorSwitchOn(Station& st);
void RotorSwitchOff(Station& st);
void ParkSwitchOn(Station& st);
void ParkSwitchOff(Station& st);

}  // namespace skylet::rotor
