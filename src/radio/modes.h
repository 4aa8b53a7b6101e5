#pragma once
// The operating modes of a newly tracked satellite, sent to the radio.
namespace skylet {
struct Station;
}

namespace skylet::radio {

// Sends the satellite's DownMode to the receive side and UpMode to the
// transmit side of the radio, or both names to the CAT server; called once
// when a satellite is taken up, whether CAT is on or off. A mode name the
// radio has no mode for sends the previous mode command again. A CAT server
// that refuses the modes ends the program after its message.
// Modes that did not reach the serial radio at the take-up (a failed write)
// are due.
void SetCatMode(Station& st);

// Sends the modes when they are due, and then lets the frequencies go out at
// once whatever the step. True when no modes are due any more.
bool SetDueModes(Station& st);

}  // namespace skylet::radio
