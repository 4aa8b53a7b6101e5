#pragma once
// The satellite state: what the last tracking records said, the satellites
// seen since start and their live frequency corrections.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace skylet::tracking {

// The corrections remembered across runs ("SkyletKorr.SQF"), while the
// option is on. A satellite may carry an FM repeater and a linear (SSB/CW)
// transponder with different oscillator errors, so the key is the name with
// the kind of transponder: 'F' for an FM downlink, 'L' for every other.
using KorrKey = std::pair<std::string, char>;

struct KorrEntry {
  double korr = 0;  // Hz
  // How the uplink follows a turn of the dial on a linear transponder: '*'
  // from the record's modes, 'i' inverting, 'n' not inverting.
  char sense = '*';
  bool operator==(const KorrEntry&) const = default;
};

struct RememberedKorr {
  std::map<KorrKey, KorrEntry> entries;
  bool loaded = false;    // the file was read this run
  // The file could not be read, or a bad one could not be kept aside: it is
  // never replaced during this run.
  bool keepFile = false;
  // A change not yet written goes out at this monotonic time, so a run of
  // key presses costs one write.
  bool due = false;
  double dueAt = 0;
  bool writeFailTold = false;  // a failed write is told once per outage
  bool operator==(const RememberedKorr&) const = default;
};

struct TrackingState {
  static constexpr int kLastSatEntry = 300;  // table entries 0..300; 0 is never filled

  std::string RecTag;      // first two characters of the last record
  int16_t SatActive = 0;   // 1 once a satellite was set up; 0 after "**"
  int16_t NoSatShown = 0;  // 1 once the display was blanked for this no-satellite period
  std::string SatName;     // as shown in edSat: leading blank, name, separator

  // Satellites seen since start; the index selects the correction slot, so
  // a satellite that comes back gets its own correction back.
  std::array<std::string, kLastSatEntry + 1> SatNames{};
  int16_t SatCount = 0;  // highest entry in use
  int16_t SatIdx = 0;    // entry of the current satellite

  double SatAz = 0;  // degrees
  double SatEl = 0;
  double DownFreq = 0;    // kHz, corrected
  double UpFreq = 0;      // kHz, corrected
  double UpFreqPrev = 0;  // UpFreq after the previous satellite record, without the dial's share
  double DialUpKHz = 0;   // the dial offset's share in UpFreq (Skylet's own option)
  std::string DownMode;
  std::string UpMode;

  // Per-satellite correction, kept here for the correction dialog, which
  // changes it; SatKorrKHz is always SatKorr / 1000.
  std::array<double, kLastSatEntry + 1> SatKorr{};     // Hz
  std::array<double, kLastSatEntry + 1> SatKorrKHz{};  // kHz

  RememberedKorr remembered;

  bool operator==(const TrackingState&) const = default;
};

}  // namespace skylet::tracking
