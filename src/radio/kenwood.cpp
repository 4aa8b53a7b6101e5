// What a Kenwood radio gets over the serial port, model by model.
//
// Take-up (TakeUp, the Kenwood part of OpenCatLink): the port at the baud
// rate of "KenwoodPar.SQF" (two stop bits only at 4800 baud), then the
// model's set-up: the TS-790 at 4800 baud whatever the file says, each side
// selected and initialised; the TS-2000 put into satellite mode.
// Frequencies (SendCatFreq -> SendKenwoodFreq): the downlink on VFO A, the
// uplink on the model's uplink VFO, a CAT wait before, between and after;
// the TS-790 selects each side before its frequency and is left on its
// receive side. Modes (SetCatMode): each side selected, its mode, and the
// automatic reports switched off. Quit: the TS-2000 out of satellite mode
// before the port is given back.
#include "radio/kenwood.h"

#include <utility>

#include "radio/digits.h"
#include "radio/driver.h"
#include "radio/link_health.h"
#include "settings/readers.h"
#include "station/station.h"

namespace skylet::radio::kenwood {

namespace {

// '#' in a command stands for the satellite-mode parameter of
// "KenwoodPar.SQF". An empty command is one the model does not have.
struct Model {
  std::string_view name = {};
  std::string_view selectRx = {};  // before downlink commands
  std::string_view selectTx = {};  // before uplink commands
  std::string_view init = {};      // after each select at take-up
  std::string_view satInit = {};   // once at take-up
  std::string_view uplinkVfo = "FA";
  // The sides are selected around each frequency, receive side last.
  bool selectsAroundFrequencies = false;
  // Port settings that do not follow the file's baud rate.
  std::string_view fixedPort = {};
  std::string_view quit = {};  // before the port is given back
};

std::string Fill(std::string_view pattern, std::string_view satPar) {
  std::string out;
  for (char c : pattern) {
    if (c == '#') {
      out += satPar;
    } else {
      out += c;
    }
  }
  return out;
}

// A model without a command keeps whatever the string held before.
void SetIfGiven(std::string& command, std::string text) {
  if (!text.empty()) command = std::move(text);
}

bool FitsCommand(double kHz) { return ElevenDigits(kHz).has_value(); }

class Kenwood final : public SerialDriver {
 public:
  explicit constexpr Kenwood(Model m) : m_(m) {}
  bool Named(std::string_view model) const { return m_.name == model; }

  void BuildCommands(Station& st) const override {
    RadioState& r = st.radio;
    SetIfGiven(r.CmdSelectRx, Fill(m_.selectRx, r.KenwoodSatPar));
    SetIfGiven(r.CmdSelectTx, Fill(m_.selectTx, r.KenwoodSatPar));
    SetIfGiven(r.CmdInit, Fill(m_.init, r.KenwoodSatPar));
    SetIfGiven(r.CmdKenwoodSatInit, Fill(m_.satInit, r.KenwoodSatPar));
    r.CmdMode = kModeFm;
  }

  void TakeUp(Station& st) const override {
    RadioState& r = st.radio;
    platform::SerialPort& port = st.os.MSCat;
    port.SetCommPort(r.CatPort);
    port.SetRThreshold(0);
    if (m_.fixedPort.empty()) {
      CheckBaud(st, r.KenwoodBaud, settings::kKenwoodParFile);
      port.SetSettings(r.KenwoodBaud == "4800" ? "4800,N,8,2" : r.KenwoodBaud + ",N,8,1");
    } else {
      port.SetSettings(std::string(m_.fixedPort));
    }
    OpenPort(st);
    if (!m_.init.empty()) {
      for (const std::string* select : {&r.CmdSelectTx, &r.CmdSelectRx}) {
        WriteAndWait(st, *select);
        WriteAndWait(st, r.CmdInit);
      }
    }
    if (!m_.satInit.empty()) WriteAndWait(st, r.CmdKenwoodSatInit);
  }

  void Release(Station& st) const override {
    if (!m_.quit.empty()) st.os.MSCat.Output(std::string(m_.quit));
  }

  // The downlink's VFO A, read back with the receive side selected (the
  // TS-790 is left on it after every pair).
  bool ReadsDial(const Station&) const override { return true; }
  std::optional<double> ReadDial(Station& st) const override {
    return AskRadio(st, std::string(kReadVfoA), &FrequencyAnswer);
  }

 protected:
  bool SetModes(Station& st, const std::string& down, const std::string& up) const override {
    RadioState& r = st.radio;
    if (std::optional<std::string> command = ModeCommand(down)) r.CmdMode = *command;
    Wait(st);
    if (!WriteCat(st, r.CmdSelectRx)) return false;
    Wait(st);
    if (!WriteCat(st, r.CmdMode)) return false;
    Wait(st);
    if (std::optional<std::string> command = ModeCommand(up)) r.CmdMode = *command;
    Wait(st);
    if (!WriteCat(st, r.CmdSelectTx)) return false;
    Wait(st);
    if (!WriteCat(st, r.CmdMode)) return false;
    Wait(st);
    return WriteCat(st, std::string(kAutoInfoOff));
  }

  bool SendPair(Station& st, double down, double up, double upl) const override {
    RadioState& r = st.radio;
    if (!FrequenciesFit(st, down, up, upl, &FitsCommand)) return false;
    if (!SendSide(st, r.CmdSelectRx, "FA", down)) return false;
    if (up == 0) return true;
    if (!SendSide(st, r.CmdSelectTx, m_.uplinkVfo, upl)) return false;
    // Left on its receive side.
    return !m_.selectsAroundFrequencies || WriteCat(st, r.CmdSelectRx);
  }

 private:
  // One side: its select where the model selects around frequencies, then
  // the frequency on its VFO, and the CAT wait.
  bool SendSide(Station& st, const std::string& select, std::string_view vfo, double kHz) const {
    if (m_.selectsAroundFrequencies) {
      if (!WriteCat(st, select)) return false;
      Wait(st);
    }
    if (!SendKenwoodFreq(st, vfo, kHz)) return false;
    Wait(st);
    return true;
  }

  static bool SendKenwoodFreq(Station& st, std::string_view KenwoodVfo, double CatFreq) {
    const std::optional<std::string> CatFrame = FrequencyCommand(KenwoodVfo, CatFreq);
    return CatFrame && WriteCat(st, *CatFrame);
  }

  Model m_;
};

const Kenwood kModels[] = {
    // The TS-790 switches between its receive and transmit side with DC.
    Kenwood({.name = "TS-790",
             .selectRx = "DC1;",
             .selectTx = "DC0;",
             .init = "FN0;",
             .selectsAroundFrequencies = true,
             .fixedPort = "4800,N,8,2"}),
    // The TS-2000 selects its sides through the satellite-mode command SA;
    // selecting the receive side also puts it into satellite mode at start.
    // Its transmit side is VFO B.
    Kenwood({.name = "TS-2000",
             .selectRx = "SA1#10000;",
             .selectTx = "SA1#11000;",
             .satInit = "SA1#10000;",
             .uplinkVfo = "FB",
             .quit = "SA0010000;"}),
};

const Kenwood kOtherModel({});

}  // namespace

std::optional<std::string> FrequencyCommand(std::string_view vfo, double kHz) {
  const std::optional<std::string> digits = ElevenDigits(kHz);
  if (!digits) return std::nullopt;
  return std::string(vfo) + *digits + ";";
}

std::optional<std::string> ModeCommand(std::string_view name) {
  struct Row {
    std::string_view name, command;
  };
  static constexpr Row kModes[] = {{"FM-N", "MD4;"}, {"FM", "MD4;"}, {"USB", "MD2;"},
                                   {"LSB", "MD1;"},  {"CW", "MD3;"}, {"CWN", "MD7;"}};
  for (const Row& row : kModes) {
    if (row.name == name) return std::string(row.command);
  }
  return std::nullopt;
}

std::optional<double> FrequencyAnswer(std::string_view got) {
  constexpr size_t kDigits = 11;
  for (size_t at = got.find("FA"); at != std::string_view::npos; at = got.find("FA", at + 1)) {
    const std::string_view digits = got.substr(at + 2, kDigits);
    if (digits.size() != kDigits || got.substr(at + 2 + kDigits, 1) != ";") continue;
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
    double hz = 0;
    for (const char c : digits) hz = hz * 10 + (c - '0');
    return hz / 1000;
  }
  return std::nullopt;
}

const Driver& DriverFor(std::string_view model) { return DriverNamed(kModels, kOtherModel, model); }

}  // namespace skylet::radio::kenwood
