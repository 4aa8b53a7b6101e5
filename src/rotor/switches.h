#pragma once
// The rotor-tracking and park switches of the main window.
namespace skylet::app {
struct Station;
}

namespace skylet::rotor {

void RotorSwitchOn(app::Station& st);
void RotorSwitchOff(app::Station& st);
void ParkSwitchOn(app::Station& st);
void ParkSwitchOff(app::Station& st);

}  // namespace skylet::rotor
