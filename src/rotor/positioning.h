#pragma once
// When and where the rotor turns, and the position output.

namespace skylet {
struct Station;
}

namespace skylet::rotor {

inline constexpr const char* kRotorOutputFailure =
    "Fehler bei der Ausgabe an den Rotorserver,\rstarten Sie Skylet neu.";

// After every satellite record: by time (a position at the second record of
// each cycle of RotIntV + 1 records) or by angle change, whether the rotor
// gets a new target, and sends it.
void RotDecide(Station& st);
// The time criterion: the satellite's position as it is.
void RotTimeStep(Station& st);
// The angle criterion: an axis whose change since its reference exceeds its
// threshold gets a target half a threshold ahead of the satellite.
void RotAngleStep(Station& st);
// The horizontal threshold: constant MinWin, or growing with the elevation.
void RotAzConst(Station& st);
void RotAzGain(Station& st);

// Sends the target RotAz/RotEl with offsets and corrections, the azimuth
// folded once into 0..360 and the elevation floored at 0, in whole degrees:
// "A E" to the rotor server, or the pokes "GA:A" and "GE:E" to Arswin.
// Nothing before a first position was meant to be sent, nothing with RotType
// 0. A rotor link that fails ends the program after its message.
void RotOutput(Station& st);

}  // namespace skylet::rotor
