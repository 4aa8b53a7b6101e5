#pragma once
// The built-in demo satellite: a made-up satellite on a circular 800 km orbit,
// inclined 70 degrees, whose ground track passes 8 degrees (central angle)
// beside the station at 48.1 N, 11.6 E, so every revolution brings a pass of
// about 15 minutes rising to about 36 degrees. The Earth is a sphere and does
// not turn under the orbit, so the passes repeat; `speed` runs the orbit that
// many times faster than the clock (10: a revolution every ten minutes).
//
// Azimuth and elevation come from the satellite's position in the station's
// east-north-up frame; the frequencies carry the Doppler shift of the range
// rate v: downlink f0 * (1 - v/c), uplink f0 * (1 + v/c).
#include <string>

namespace partners {

struct PassPoint {
  double azimuth = 0;    // degrees, 0 north, 90 east
  double elevation = 0;  // degrees above the horizon
  long long uplinkHz = 0;
  long long downlinkHz = 0;
  int phase = 0;  // position in the orbit, 0..255 from the ascending node
};

class SyntheticPass {
 public:
  explicit SyntheticPass(double speed) : speed_(speed) {}
  // The satellite `seconds` of clock time after the program started; the
  // start lies shortly before a pass.
  PassPoint At(double seconds) const;

 private:
  double speed_;
};

// The record Avor sends: "**" below the horizon, otherwise
// "SN<name> AZ<az> EL<el> UP<Hz> UMUSB DN<Hz> DMLSB MA<phase>\r".
std::string PassRecord(const std::string& name, const PassPoint& point);

}  // namespace partners
