#include "radio/hamlib_rig.h"

#include <vector>

#include "hamlib/daemon.h"
#include "radio/digits.h"
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

bool SendFrequencies(Station& st, double downKHz, std::optional<double> upKHz) {
  const std::optional<std::string> down = FrequencyCommand("F", downKHz);
  if (!down || !Ready(st)) return false;
  if (st.hamlib.modesDue && !SendModes(st)) return false;
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

bool SendModes(Station& st) {
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

}  // namespace skylet::radio::hamlib_rig
