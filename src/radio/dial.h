#pragma once
// Following the radio's dial on a linear transponder (Skylet's own option
// "Dem Drehknopf folgen"): once per record, right before the frequencies are
// decided, the receive VFO is read back. A reading away from what Skylet last
// set there is the operator's turn of the knob; its difference becomes the
// pass's dial offset, which the record's downlink and uplink then carry.
//
// What keeps a reading from being taken for a turn when it is none: only the
// receive VFO is read (radios in satellite mode move their uplink
// themselves); a reading within the radio's resolution and a small tolerance
// of what was set is no turn; a difference beyond the widest passband is a
// reading of something else (the transmit frequency of a radio that reads
// its current VFO while it transmits, the other band); and a turn is taken
// only when a second reading right after the first says the same, so a knob
// still moving or an answer that raced the program's own write waits for the
// next record.
namespace skylet {
struct Station;
}

namespace skylet::radio {

inline constexpr double kDialToleranceHz = 10;
inline constexpr double kDialReachHz = 250000;

// Whether the record in view is followed: the option on, CAT on, a downlink
// mode that is not FM, and a send of this pass already on the VFO.
bool DialFollowed(const Station& st);
// Reads the dial and takes a turn into the offset (the record's send then
// goes out whatever the step). False while the knob is still turning: the
// record sends nothing over it. A radio that does not answer is told once
// per outage; a way to the radio without a read once a run.
bool FollowDial(Station& st);

}  // namespace skylet::radio
