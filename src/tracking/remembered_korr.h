#pragma once
// The corrections remembered across runs, while the option "Korrektur je
// Satellit merken" is on: a satellite taken up gets the correction last set
// for its name and kind of transponder, and every change is written to
// "SkyletKorr.SQF" a moment later, one write for a run of key presses.
#include <optional>
#include <string>

namespace skylet {
struct Station;
}

namespace skylet::tracking {

// Seconds from a change to its write: at most this much is lost when the
// program is killed.
inline constexpr double kKorrStoreDelaySeconds = 2.0;

// 'F' for an FM downlink ("FM", "FM-N" ...), 'L' for every other mode.
char TransponderKind(const std::string& downMode);

// At the take-up, once the satellite's slot and downlink mode are known: its
// remembered correction becomes the slot's.
void TakeRememberedKorr(Station& st);
// After the operator stepped the tracked satellite's correction.
void KorrChanged(Station& st);
// The tracked satellite's kept sense of the uplink ('*', 'i', 'n'), or
// nothing when none can be kept for it (the option off, no satellite, a name
// the file cannot hold).
std::optional<char> DialSense(const Station& st);
// Keeps a new sense for the tracked satellite, written like a correction.
void SetDialSense(Station& st, char sense);
// With every tick: writes a change once its delay has passed.
void StoreDueKorr(Station& st);
// At the quit: writes a change still waiting.
void StoreKorrNow(Station& st);
// Whether the uplink moves against a turn of the dial: as the satellite's
// remembered entry says, else unless both modes are the same sideband.
bool DialInverting(const Station& st);
// The option switched in the dialog: on, the file is read if this run has
// not read it; off, a change still waiting is not written.
void KorrMerkenChanged(Station& st);

}  // namespace skylet::tracking
