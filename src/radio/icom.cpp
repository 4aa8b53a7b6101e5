// What an Icom radio gets over the serial port (CI-V), model by model.
//
// Take-up (TakeUp, the Icom part of OpenCatLink): the port at the baud rate
// of "IcomPar.SQF" in binary mode; the IC-910H into satellite mode; a CAT
// wait. Frequencies (SendCatFreq -> SendIcomFreq -> SendBcdFreq, the BCD
// bytes by PutBcdPair): the receive buffer emptied, the band select before
// the downlink frame, the band select before the uplink frame, the
// downlink's band selected again at the end; after each frequency frame the
// wait for the radio's answer. Modes (SetCatMode): each side's band select
// and mode frame at that side's address. Quit: the IC-910H out of satellite
// mode, then a CAT wait for every model.
#include "radio/icom.h"

#include "radio/bytes.h"
#include "radio/digits.h"
#include "radio/driver.h"
#include "radio/link_health.h"
#include "settings/readers.h"
#include "station/station.h"

namespace skylet::radio::icom {

namespace {

enum class Radio { Downlink, Uplink };

// A band select: whose address it goes to, and which band it selects.
struct Select {
  Radio at;
  uint8_t band;
};

struct Model {
  std::string_view name;
  Select beforeDownlink;
  Select beforeUplink;
  // Switched into satellite mode at take-up and out of it at quit.
  bool satelliteSwitch;
};

constexpr size_t kAddressByte = 2;
// After a frequency frame the radio's echo of it and its FB answer are 17
// bytes: more than this many waiting means the radio has answered.
constexpr int kAnswerBytes = 16;

bool FitsCommand(double kHz) { return TenDigits(kHz).has_value(); }

void EmptyReceiveBuffer(Station& st) { st.os.MSCat.DiscardInput(); }

// The radio echoes each CI-V frame and answers it; its answer is awaited for
// up to three CAT waits, then whatever came is thrown away unread.
void AwaitIcomAnswer(Station& st) {
  platform::Clock& clock = st.os.clock;
  const double deadline = clock.MonotonicSeconds() + 3 * st.radio.CatDelay;
  while (st.os.MSCat.InBufferCount() <= kAnswerBytes && clock.MonotonicSeconds() <= deadline) {
    clock.SleepMs(1);
  }
  EmptyReceiveBuffer(st);
}

// The frequency bytes go into CatBytes entries 6 to 10, the address is
// already in the frequency prefix.
bool SendBcdFreq(Station& st, double CatFreq) {
  RadioState& r = st.radio;
  if (!PutFrequency(r.CatBytes, CatFreq)) return false;
  if (!WriteCat(st, FrequencyFrame(r.IcomFreqPrefix, r.CatBytes))) return false;
  AwaitIcomAnswer(st);
  return true;
}

class Icom final : public SerialDriver {
 public:
  explicit constexpr Icom(Model m) : m_(m) {}
  bool Named(std::string_view model) const { return m_.name == model; }

  void BuildCommands(Station& st) const override {
    RadioState& r = st.radio;
    const auto select = [&](Select s) {
      return SelectBand(s.at == Radio::Downlink ? r.IcomRxAddr : r.IcomTxAddr, s.band);
    };
    r.CmdSelectRx = select(m_.beforeDownlink);
    r.CmdSelectTx = select(m_.beforeUplink);
    const uint8_t a = r.IcomCmdAddr;
    r.CmdMode = ModeCommand(a, kModeFm);
    r.IcomModePrefix = Prefix(a, kSetMode);
    r.IcomFreqPrefix = Prefix(a, kSetFrequency);
    r.CmdIcomSatOn = SatelliteMode(a, true);
    r.CmdIcomSatOff = SatelliteMode(a, false);
  }

  void TakeUp(Station& st) const override {
    RadioState& r = st.radio;
    platform::SerialPort& port = st.os.MSCat;
    CheckBaud(st, r.IcomBaud, settings::kIcomParFile);
    port.SetCommPort(r.CatPort);
    port.SetSettings(r.IcomBaud + ",N,8,1");
    port.SetRThreshold(0);
    port.SetInputModeBinary(true);
    OpenPort(st);
    if (m_.satelliteSwitch) WriteOrEnd(st, r.CmdIcomSatOn);
    Wait(st);
  }

  void SendFrequencies(Station& st, double dn, double up) const override { SendIcomFreq(st, dn, up); }

  // Every Icom gets the wait, with or without a frame: the radio has its
  // CAT delay to finish the last command before the port goes.
  void Leave(Station& st) const override {
    if (m_.satelliteSwitch) st.os.MSCat.Output(st.radio.CmdIcomSatOff);
    Wait(st);
  }

  // Asked at the receive address, whose band every pair leaves selected.
  bool ReadsDial(const Station&) const override { return true; }
  std::optional<double> ReadDial(Station& st) const override {
    const uint8_t from = st.radio.IcomRxAddr;
    return AskRadio(st, Frame(from, Bytes({kReadFrequency})),
                    [from](std::string_view got) { return FrequencyAnswer(got, from); });
  }

 protected:
  bool SetModes(Station& st, const std::string& down, const std::string& up) const override {
    RadioState& r = st.radio;
    ApplyMode(r.CmdMode, r.IcomModePrefix, down);
    SetAddress(r.CmdMode, r.IcomRxAddr);
    Wait(st);
    if (!WriteCat(st, r.CmdSelectRx)) return false;
    Wait(st);
    if (!WriteCat(st, r.CmdMode)) return false;
    Wait(st);
    if (!WriteCat(st, r.CmdSelectTx)) return false;
    ApplyMode(r.CmdMode, r.IcomModePrefix, up);
    SetAddress(r.CmdMode, r.IcomTxAddr);
    Wait(st);
    if (!WriteCat(st, r.CmdMode)) return false;
    Wait(st);
    if (!WriteCat(st, r.CmdSelectRx)) return false;
    // No answer is awaited after a mode command; what came is thrown away.
    EmptyReceiveBuffer(st);
    Wait(st);
    return true;
  }

 private:
  // The receive buffer is emptied before the step test, and the pair goes
  // out without a CAT wait before it.
  void SendIcomFreq(Station& st, double dn, double up) const {
    RadioState& r = st.radio;
    if (r.CatPort < 1) return;
    EmptyReceiveBuffer(st);
    const double CatRefFreq = dn > up ? dn : up;
    if (!StepReached(st, CatRefFreq)) return;
    if (SendPair(st, WithOffset(dn, r.RxOffset), up, WithOffset(up, r.TxOffset))) Sent(st, CatRefFreq, dn);
  }

  bool SendPair(Station& st, double down, double up, double upl) const override {
    RadioState& r = st.radio;
    if (!FrequenciesFit(st, down, up, upl, &FitsCommand)) return false;
    EmptyReceiveBuffer(st);
    if (!WriteCat(st, r.CmdSelectRx)) return false;
    Wait(st);
    EmptyReceiveBuffer(st);
    SetAddress(r.IcomFreqPrefix, r.IcomRxAddr);
    if (!SendBcdFreq(st, down)) return false;
    if (up != 0) {
      if (!WriteCat(st, r.CmdSelectTx)) return false;
      Wait(st);
      EmptyReceiveBuffer(st);
      SetAddress(r.IcomFreqPrefix, r.IcomTxAddr);
      if (!SendBcdFreq(st, upl)) return false;
    }
    if (!WriteCat(st, r.CmdSelectRx)) return false;
    Wait(st);
    EmptyReceiveBuffer(st);
    return true;
  }

  Model m_;
};

const Icom kModels[] = {
    // The IC-910H selects the band at the other side's address: band D0 at the
    // uplink address before downlink commands, band D1 at the downlink
    // address before uplink commands.
    Icom({"IC-910H", {Radio::Uplink, 0xD0}, {Radio::Downlink, 0xD1}, true}),
};

const Icom kOtherModel({"", {Radio::Downlink, 0xD1}, {Radio::Uplink, 0xD0}, false});

}  // namespace

std::optional<double> FrequencyAnswer(std::string_view got, uint8_t from) {
  constexpr size_t kFrame = 11;  // FE FE E0 from 03, five BCD bytes, FD
  for (size_t at = got.find("\xFE\xFE"); at != std::string_view::npos; at = got.find("\xFE\xFE", at + 1)) {
    const std::string_view f = got.substr(at, kFrame);
    if (f.size() < kFrame) return std::nullopt;
    const auto byte = [&f](size_t i) { return static_cast<uint8_t>(f[i]); };
    if (byte(2) != kController || byte(3) != from || byte(4) != kReadFrequency || byte(10) != 0xFD) continue;
    // Least significant pair of digits first: 00 00 80 35 04 is 435800000 Hz.
    double hz = 0;
    bool digits = true;
    for (size_t i = 9; i >= 5; --i) {
      const uint8_t b = byte(i);
      digits = digits && (b >> 4) <= 9 && (b & 15) <= 9;
      hz = hz * 100 + (b >> 4) * 10 + (b & 15);
    }
    if (digits) return hz / 1000;
  }
  return std::nullopt;
}

std::string Frame(uint8_t to, std::string_view payload) {
  return Bytes({0xFE, 0xFE, to, kController}) + std::string(payload) + Bytes({0xFD});
}

std::string Prefix(uint8_t to, uint8_t command) {
  return Bytes({0xFE, 0xFE, to, kController, command});
}

std::string SelectBand(uint8_t to, uint8_t band) { return Frame(to, Bytes({kSelectBand, band})); }

std::string ModeCommand(uint8_t to, uint8_t mode) { return Frame(to, Bytes({kSetMode, mode})); }

std::string SatelliteMode(uint8_t to, bool on) {
  return Frame(to, Bytes({kSettings, 0x07, static_cast<uint8_t>(on ? 0x01 : 0x00)}));
}

bool PutFrequency(CatBytes& bytes, double kHz) {
  const std::optional<std::string> digits = TenDigits(kHz);
  if (!digits) return false;
  PutBcdPair(bytes, 6, *digits, 9);
  PutBcdPair(bytes, 7, *digits, 7);
  PutBcdPair(bytes, 8, *digits, 5);
  PutBcdPair(bytes, 9, *digits, 3);
  PutBcdPair(bytes, 10, *digits, 1);
  return true;
}

std::string FrequencyFrame(std::string_view prefix, const CatBytes& bytes) {
  return std::string(prefix) + Bytes({bytes[6], bytes[7], bytes[8], bytes[9], bytes[10], 0xFD});
}

void ApplyMode(std::string& command, std::string_view modePrefix, std::string_view name) {
  if (name == "CW" || name == "CW-N") {
    command = std::string(modePrefix) + Bytes({0x03, 0x01, 0xFD});
    return;
  }
  struct Row {
    std::string_view name;
    uint8_t mode;
  };
  static constexpr Row kModes[] = {
      {"FM-N", kModeFm}, {"FM-W", kModeFm}, {"FM", kModeFm}, {"USB", 0x01}, {"LSB", 0x00}};
  constexpr size_t kModeByte = 5;
  for (const Row& row : kModes) {
    if (row.name == name && command.size() > kModeByte) {
      command[kModeByte] = static_cast<char>(row.mode);
      return;
    }
  }
}

void SetAddress(std::string& frame, uint8_t address) {
  if (frame.size() > kAddressByte) frame[kAddressByte] = static_cast<char>(address);
}

const Driver& DriverFor(std::string_view model) { return DriverNamed(kModels, kOtherModel, model); }

}  // namespace skylet::radio::icom
