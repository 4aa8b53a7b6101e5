// What rigctld gets. Other programs (a logger, a digital-mode program) often
// share the daemon, and its current VFO is one for all of them: another
// client's "V Main" between Skylet's "V Sub" and "F" would put the uplink on
// the receive VFO. So each connection begins with "\set_vfo_opt 1", and a
// daemon that then answers "\chk_vfo" with 1 gets every command with its VFO
// in it, whole: "F Sub 145950000", "M Main LSB 0"; in the split way
// "S VFOA 1 VFOB" once per conversation, "X VFOA", "M VFOA", "I VFOA" and
// "F VFOA". A daemon without that mode (answer 0) gets the plain commands:
// "V Sub" before the uplink's "F" or "M", "V Main" before the downlink's, or
// in the split way "S 1 VFOB", the uplink with "I" and "X", the downlink with
// "F" and "M" on the current VFO. Modes still due (the daemon was away at the
// take-up, or came back) go out before the next frequencies. Following the
// dial, the receive side is read back with "f" ("f Main" in the VFO mode).
#include "radio/hamlib_rig.h"

#include <string_view>
#include <vector>

#include "hamlib/daemon.h"
#include "radio/digits.h"
#include "radio/driver.h"
#include "station/station.h"
#include "text/format.h"

namespace skylet::radio::hamlib_rig {

namespace {

bool Split(const Station& st) { return st.hamlib.live.UplinkWay == "I"; }

// The uplink's VFO and its frequency and mode letters; the downlink's are
// "F" and "M". In the split way both sides are VFO A's: it receives, and
// transmits on its split partner VFO B.
struct Uplink {
  std::string_view vfo, frequency, mode;
};
Uplink UplinkOf(const Station& st) { return Split(st) ? Uplink{"VFOA", "I", "X"} : Uplink{"Sub", "F", "M"}; }
std::string_view DownlinkVfo(const Station& st) { return Split(st) ? "VFOA" : "Main"; }

// `command` ("F 145950000") as the daemon takes it for `vfo`.
std::string For(const Station& st, std::string_view vfo, std::string command) {
  if (st.hamlib.rigVfos) command.insert(1, " " + std::string(vfo));
  return command;
}

// One setting of `vfo`: a whole command, or in the two-VFO way without the
// VFO mode the VFO chosen first.
void Put(const Station& st, std::vector<std::string>& commands, std::string_view vfo,
         const std::string& command) {
  if (!st.hamlib.rigVfos && !Split(st)) commands.push_back("V " + std::string(vfo));
  commands.push_back(For(st, vfo, command));
}

// Hamlib 4.5 answers the switch with "RPRT -11" and makes it all the same:
// any report will do, and "\chk_vfo" tells whether it took. Its answer,
// though, is a flag of the whole daemon that each client's command sets to
// its own connection's mode: while another program's commands go on beside
// ours it may be that program's 0. The mode itself holds per connection, and
// a daemon without it never answers 1, so the question is put again until it
// does (each answer comes at once: the radio is not asked). A report there is
// a daemon that does not know the question. Where no 1 came, the switch is
// turned off again, so the plain commands are read as such whichever answer
// was wrong.
constexpr int kVfoQuestions = 10;

bool VfoAnswer(std::string_view answer) {
  return answer == "0" || answer == "1" || hamlib::IsReport(answer);
}

bool AskForVfos(Station& st, const hamlib::Conversation& rig) {
  if (!hamlib::Ask(st, rig, "\\set_vfo_opt 1", &hamlib::IsReport, "RPRT")) return false;
  st.hamlib.rigVfos = false;
  for (int asked = 0; asked < kVfoQuestions && !st.hamlib.rigVfos; ++asked) {
    const std::optional<std::string> on = hamlib::Ask(st, rig, "\\chk_vfo", &VfoAnswer, "0 oder 1");
    if (!on) return false;
    if (hamlib::IsReport(*on)) break;
    st.hamlib.rigVfos = *on == "1";
  }
  return st.hamlib.rigVfos || hamlib::Ask(st, rig, "\\set_vfo_opt 0", &hamlib::IsReport, "RPRT");
}

// A new conversation may find a radio that was restarted meanwhile, or
// another daemon: the VFO mode is asked for again (the daemon keeps it per
// connection), in the split way the radio is told again to transmit on VFO B,
// and the modes of the satellite in view go out again.
bool Ready(Station& st) {
  const hamlib::Conversation rig = hamlib::Rig(st);
  if (!hamlib::Connected(st, rig)) return false;
  if (!rig.daemon.fresh) return true;
  if (!AskForVfos(st, rig)) return false;
  if (Split(st) && !hamlib::Command(st, rig, For(st, "VFOA", "S 1 VFOB"))) return false;
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
  std::vector<std::string> commands;
  if (upKHz) {
    const Uplink side = UplinkOf(st);
    const std::optional<std::string> up = FrequencyCommand(side.frequency, *upKHz);
    if (!up) return false;
    Put(st, commands, side.vfo, *up);
  }
  Put(st, commands, DownlinkVfo(st), *down);
  return Run(st, commands);
}

// When a command fails, the modes stay due and go out again before the next
// frequencies.
bool SetModes(Station& st) {
  st.hamlib.modesDue = true;
  if (!Ready(st)) return false;
  const std::optional<std::string> down = ModeName(st.tracking.DownMode);
  const std::optional<std::string> up = ModeName(st.tracking.UpMode);
  const Uplink side = UplinkOf(st);
  std::vector<std::string> commands;
  if (up) Put(st, commands, side.vfo, std::string(side.mode) + " " + *up + " 0");
  if (down) {
    Put(st, commands, DownlinkVfo(st), "M " + *down + " 0");
  } else if (!st.hamlib.rigVfos && !Split(st)) {
    commands.push_back("V Main");  // the receive VFO left current, as after the frequencies
  }
  if (!Run(st, commands)) return false;
  st.hamlib.modesDue = false;
  return true;
}

// The frequency line of "f": whole Hz, or with decimals.
bool IsFrequency(std::string_view line) {
  const size_t point = line.find('.');
  const std::string_view whole = line.substr(0, point);
  const std::string_view decimals = point == std::string_view::npos ? "" : line.substr(point + 1);
  return !whole.empty() && whole.find_first_not_of("0123456789") == std::string_view::npos &&
         decimals.find_first_not_of("0123456789") == std::string_view::npos;
}

// The receive side's frequency: "f Main" whole in the VFO mode (the split
// way's VFO A), else with the receive VFO chosen first in the two-VFO way.
std::optional<double> ReadReceive(Station& st) {
  if (!Ready(st)) return std::nullopt;
  if (!st.hamlib.rigVfos && !Split(st) && !hamlib::Command(st, hamlib::Rig(st), "V Main")) return std::nullopt;
  const std::optional<std::string> hz =
      hamlib::Ask(st, hamlib::Rig(st), For(st, DownlinkVfo(st), "f"), &IsFrequency, "Frequenz in Hz");
  const std::optional<double> value = hz ? text::ParseNumber(*hz) : std::nullopt;
  return value ? std::optional<double>(*value / 1000) : std::nullopt;
}

class Rigctld final : public Driver {
 public:
  bool ReadsDial(const Station&) const override { return true; }
  std::optional<double> ReadDial(Station& st) const override { return ReadReceive(st); }

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
    if (Tune(st, down, uplink)) Sent(st, CatRefFreq, dn);
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
