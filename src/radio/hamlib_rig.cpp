// What rigctld gets: in the split way "S 1 VFOB" once per conversation,
// the uplink with "I" and the downlink with "F", the modes with "X" and "M";
// otherwise "V Sub" before the uplink's "F" or "M", "V Main" before the
// downlink's. Modes still due (the daemon was away at the take-up, or came
// back) go out before the next frequencies.
#include "radio/hamlib_rig.h"

#include <vector>

#include "hamlib/daemon.h"
#include "radio/digits.h"
#include "radio/driver.h"
#include "station/station.h"

namespace skylet::radio::hamlib_rig {

namespace {

bool Split(const Station& st) { return st.hamlib.live.UplinkWay == "I"; }

// A new conversation may find a radio that was restarted meanwhile: in the
// split way it is told again to transmit on VFO B, and the modes of the
// satellite in view go out again.
bool Ready(Station& st) {
  const hamlib::Conversation rig = hamlib::Rig(st);
  if (!hamlib::Connected(st, rig)) return false;
  if (!rig.daemon.fresh) return true;
  if (Split(st) && !hamlib::Command(st, rig, "S 1 VFOB")) return false;
  rig.daemon.fresh = false;
  if (st.tracking.SatActive > 0) st.hamlib.modesDue = true;
  return true;
}

bool Run(Station& st, const std::vector<std::string>& commands) {
  for (const std::string& command : commands) {
    if (!hamlib::Command(st, hamlib::Rig(st), command)) return false;
  }
  return true;
}

bool SetModes(Station& st);

bool FitsCommand(double kHz) { return HzDigits(kHz).has_value(); }

// Downlink to the receive side, uplink (when there is one) to the transmit
// side, in the way the settings choose; the receive side is set last.
bool Tune(Station& st, double downKHz, std::optional<double> upKHz) {
  const std::optional<std::string> down = FrequencyCommand("F", downKHz);
  if (!down || !Ready(st)) return false;
  if (st.hamlib.modesDue && !SetModes(st)) return false;
  const bool split = Split(st);
  std::vector<std::string> commands;
  if (upKHz) {
    const std::optional<std::string> up = FrequencyCommand(split ? "I" : "F", *upKHz);
    if (!up) return false;
    if (!split) commands.push_back("V Sub");
    commands.push_back(*up);
  }
  if (!split) commands.push_back("V Main");
  commands.push_back(*down);
  return Run(st, commands);
}

// When a command fails, the modes stay due and go out again before the next
// frequencies.
bool SetModes(Station& st) {
  st.hamlib.modesDue = true;
  if (!Ready(st)) return false;
  const std::optional<std::string> down = ModeName(st.tracking.DownMode);
  const std::optional<std::string> up = ModeName(st.tracking.UpMode);
  std::vector<std::string> commands;
  if (Split(st)) {
    if (up) commands.push_back("X " + *up + " 0");
    if (down) commands.push_back("M " + *down + " 0");
  } else {
    if (up) commands.insert(commands.end(), {"V Sub", "M " + *up + " 0"});
    commands.push_back("V Main");
    if (down) commands.push_back("M " + *down + " 0");
  }
  if (!Run(st, commands)) return false;
  st.hamlib.modesDue = false;
  return true;
}

class Rigctld final : public Driver {
 public:
  bool CatOn(Station&) const override { return true; }
  bool CatOff(Station&) const override { return true; }

  void SendFrequencies(Station& st, double dn, double up) const override {
    RadioState& r = st.radio;
    // Modes still due go out with the next record, and the frequencies with
    // them whatever the step. Without a link nothing is known to be on the
    // radio: every record looks for the daemon (as often as it may be looked
    // for), and the radio found again gets the frequencies at once.
    if (st.hamlib.modesDue || !st.os.rigNet.IsOpen()) r.LastCatFreq = 0;
    const double CatRefFreq = dn > up ? dn : up;
    if (!StepReached(st, CatRefFreq)) return;
    const double down = WithOffset(dn, r.RxOffset);
    const double upl = WithOffset(up, r.TxOffset);
    // Its commands are text, which carries any number of digits.
    if (!FrequenciesFit(st, down, up, upl, &FitsCommand)) return;
    const std::optional<double> uplink = up == 0 ? std::nullopt : std::optional<double>(upl);
    if (Tune(st, down, uplink)) r.LastCatFreq = CatRefFreq;
  }

  void SendModes(Station& st) const override { SetModes(st); }
};

const Rigctld kDriver{};

}  // namespace

std::optional<std::string> FrequencyCommand(std::string_view letter, double kHz) {
  const std::optional<std::string> digits = HzDigits(kHz);
  if (!digits) return std::nullopt;
  const size_t first = digits->find_first_not_of('0');
  return std::string(letter) + " " + (first == std::string::npos ? "0" : digits->substr(first));
}

std::optional<std::string> ModeName(std::string_view mode) {
  struct Row {
    std::string_view mode, name;
  };
  // The tracking program's narrow and wide variants are the plain mode to
  // Hamlib, whose default passband then applies.
  static constexpr Row kModes[] = {
      {"FM", "FM"},   {"FM-N", "FM"},   {"FM-W", "FM"},   {"USB", "USB"},   {"LSB", "LSB"},
      {"CW", "CW"},   {"CW-N", "CW"},   {"CWN", "CW"},    {"CWR", "CWR"},   {"AM", "AM"},
      {"WFM", "WFM"}, {"PKTUSB", "PKTUSB"}, {"PKTLSB", "PKTLSB"}, {"PKTFM", "PKTFM"},
      {"RTTY", "RTTY"}, {"RTTYR", "RTTYR"}, {"DSB", "DSB"}};
  for (const Row& row : kModes) {
    if (row.mode == mode) return std::string(row.name);
  }
  return std::nullopt;
}

const Driver& TheDriver() { return kDriver; }

}  // namespace skylet::radio::hamlib_rig
