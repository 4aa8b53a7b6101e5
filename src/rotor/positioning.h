#pragma once
// When and where the rotor turns.
namespace skylet {
struct Station;
}

namespace skylet::rotor {

// Decides from the satellite position of the last record, by time or by
// angle change, whether the rotor gets a new target, and sends it.
void RotDecide(Station& st);

// Sends the target RotAz/RotEl with offsets and corrections to the rotor
// server or Arswin; nothing before a first position was meant to be sent.
void RotOutput(Station& st);

}  // namespace skylet::rotor
