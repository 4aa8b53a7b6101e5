#pragma once
// Intake of one tracking record: recognise its kind, take up a new
// satellite, refresh the display and the satellite state, correct the
// frequencies and hand over to the radio and the rotor; or, with no
// satellite in view, blank the display once and drive the park step.
#include <string>

namespace skylet {
struct Station;
}

namespace skylet::tracking {

inline constexpr const char* kSatelliteTag = "SN";
inline constexpr const char* kNoSatelliteTag = "**";

// Runs for every record the tracking link delivers, also when it repeats
// the last one (the park counter counts records). A satellite record that
// cannot be cut is skipped whole: the state stays exactly as it was, RecTag
// included.
void ParseRecord(Station& st, const std::string& record);

// Finds the satellite shown in edSat in the satellite table, or adds it, and
// points SatIdx at its entry. When all 300 entries are taken, the last one
// passes to the newcomer with its correction cleared, so no satellite ever
// inherits another one's correction.
void LookupSat(Station& st);

}  // namespace skylet::tracking
