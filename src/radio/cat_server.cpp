// What the CAT server gets: the switch as "RaOpen"/"RaClose", the
// frequencies (SendCatFreq) as one "SF" command after a CAT wait and before
// another, the modes (SetCatMode) as one "SM" command and a CAT wait. The
// serial port, when one is open, stays the family's: its take-up and quit.
#include "radio/cat_server.h"

#include "radio/digits.h"
#include "radio/driver.h"
#include "radio/link_health.h"
#include "station/station.h"
#include "text/format.h"

namespace skylet::radio::cat_server {

namespace {

// The command is text: 10 GHz and more simply has more digits
// (SF10489550.000 2400050.000).
std::optional<std::string> Frequency(double kHz, std::string_view separator) {
  if (!HzDigits(kHz)) return std::nullopt;
  std::string text = text::Format(kHz, "0000000.000");
  text.replace(text.size() - 4, 1, separator);
  return text;
}

class CatServer final : public Driver {
 public:
  // The switch's refusal is the caller's to tell.
  bool CatOn(Station& st) const override { return st.os.CatClientConv.Execute(kSwitchOn); }
  bool CatOff(Station& st) const override { return st.os.CatClientConv.Execute(kSwitchOff); }

  void SendFrequencies(Station& st, double dn, double up) const override {
    const double CatRefFreq = dn > up ? dn : up;
    if (!StepReached(st, CatRefFreq)) return;
    Wait(st);
    if (SendServerFreq(st, dn, up)) st.radio.LastCatFreq = CatRefFreq;
  }

  // Modes the CAT server refuses cannot be put right by sending them again.
  void SendModes(Station& st) const override {
    if (!st.os.CatClientConv.Execute(ModeCommand(st.tracking.DownMode, st.tracking.UpMode))) {
      st.os.alerts.ShowMessage(kModeFailure, kProgramName);
      st.os.process.End();
    }
    Wait(st);
  }

 private:
  static bool SendServerFreq(Station& st, double dn, double up) {
    const RadioState& r = st.radio;
    const std::optional<std::string> command = FrequencyCommand(
        WithOffset(dn, r.RxOffset), WithOffset(up, r.TxOffset), st.os.locale.DecimalSeparator());
    if (!command) {
      CatLinkFailed(st, "Die Frequenzen " + text::DecimalText(dn) + " und " + text::DecimalText(up) +
                            " kHz passen nicht in den Befehl an den Catserver.");
      return false;
    }
    if (!ExecuteCat(st, *command)) return false;
    Wait(st);
    return true;
  }
};

const CatServer kDriver{};

}  // namespace

const Driver& TheDriver() { return kDriver; }

std::optional<std::string> FrequencyCommand(double downKHz, double upKHz,
                                            std::string_view separator) {
  const std::optional<std::string> down = Frequency(downKHz, separator);
  const std::optional<std::string> up = Frequency(upKHz, separator);
  if (!down || !up) return std::nullopt;
  return "SF" + *down + " " + *up;
}

std::string ModeCommand(std::string_view down, std::string_view up) {
  return "SM" + std::string(down) + " " + std::string(up);
}

}  // namespace skylet::radio::cat_server
