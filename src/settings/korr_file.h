#pragma once
// "SkyletKorr.SQF" in Skylet's data folder: the corrections remembered
// across runs, one line per satellite and kind of transponder,
//
//   L,300,*,AO-7
//
// the kind ('F' FM, 'L' linear), the correction in whole Hz, how the uplink
// follows the dial ('*' from the modes, 'i' inverting, 'n' not inverting),
// and the name as the tracking program sends it (the rest of the line, so a
// name may hold commas). A line without a correction and with the sense
// taken from the modes is not written. Comment lines start with ";".
#include <optional>
#include <string>
#include <string_view>

#include "station/tracking_state.h"

namespace skylet {
struct Station;
}

namespace skylet::settings {

inline constexpr const char* kKorrFile = "SkyletKorr.SQF";
// A file that could not be read as corrections is kept under this name
// before a new one takes its place.
inline constexpr const char* kKorrKeptFile = "SkyletKorr-defekt.SQF";

// The widest a correction can get by the operator's steps from one the file
// may hold: a step is taken from within -10001..10001 and is 1000 Hz at most.
inline constexpr double kKorrLimit = 11001;

using KorrEntries = std::map<tracking::KorrKey, tracking::KorrEntry>;

struct KorrParse {
  KorrEntries entries;
  int badLine = 0;  // 1-based; 0: every line was read
  std::string badText;
};
KorrParse ParseKorrFile(std::string_view bytes);
std::string KorrFileBytes(const KorrEntries& entries);

// Whether a name can be kept in the file: not empty, no control characters
// (a line end inside it would split its line).
bool KorrNameFits(std::string_view name);

// Reads the file into the remembered corrections. A missing file is no
// problem; an unreadable or bad one is told in the start's gathered message,
// every correction starts at 0, and the file is not replaced unless a bad
// one could be kept aside first.
void ReadKorrFile(Station& st);
// Replaces the file with the remembered corrections. A failure is told once
// until a write works again; a file kept from this run is not touched.
bool WriteKorrFile(Station& st);

}  // namespace skylet::settings
