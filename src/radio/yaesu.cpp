// What a Yaesu radio gets over the serial port, model by model.
//
// Take-up (TakeUp, the Yaesu part of OpenCatLink): the port at the baud rate
// of "YaesuPar.SQF" with two stop bits; CAT off, CAT on, satellite mode on,
// a CAT wait after each. Frequencies (SendCatFreq -> SendBcdFreq, the BCD
// bytes by PutBcdPair): the downlink frame with the receive opcode of
// "YaesuPar.SQF", the uplink frame with its transmit opcode, a CAT wait
// before, between and after. Modes (SetCatMode): the mode frames of both
// sides, their frequency bytes those the last frequency frame left. The CAT
// switch: CAT on and satellite on, or CAT off.
#include "radio/yaesu.h"

#include "radio/digits.h"
#include "radio/driver.h"
#include "radio/link_health.h"
#include "settings/readers.h"
#include "station/station.h"

namespace skylet::radio::yaesu {

namespace {

struct Model {
  std::string_view name;
  uint8_t satelliteOn;  // opcode of the satellite-on frame
  bool readsFrequency;  // has the read of a side's frequency
};

bool FitsCommand(double kHz) { return TenDigits(kHz).has_value(); }

// The opcode stands in CatBytes entry 5.
bool SendBcdFreq(Station& st, double CatFreq) {
  RadioState& r = st.radio;
  return PutFrequency(r.CatBytes, CatFreq) && WriteCat(st, FrameOf(r.CatBytes));
}

class Yaesu final : public SerialDriver {
 public:
  explicit constexpr Yaesu(Model m) : m_(m) {}
  bool Named(std::string_view model) const { return m_.name == model; }

  void BuildCommands(Station& st) const override {
    RadioState& r = st.radio;
    r.CmdCatOn = yaesu::CatOn();
    r.CmdSatOn = Frame({0, 0, 0, 0}, m_.satelliteOn);
    r.CmdCatOff = yaesu::CatOff();
  }

  void TakeUp(Station& st) const override {
    RadioState& r = st.radio;
    platform::SerialPort& port = st.os.MSCat;
    CheckBaud(st, r.YaesuBaud, settings::kYaesuParFile);
    port.SetCommPort(r.CatPort);
    port.SetSettings(r.YaesuBaud + ",N,8,2");
    OpenPort(st);
    WriteAndWait(st, r.CmdCatOff);
    WriteAndWait(st, r.CmdCatOn);
    WriteAndWait(st, r.CmdSatOn);
  }

  // The side the downlink is set on is read back: opcode x1 sets it, x3
  // reads it (03 the main VFO, 13 the satellite receive side).
  bool ReadsDial(const Station&) const override { return m_.readsFrequency; }
  std::optional<double> ReadDial(Station& st) const override {
    const uint8_t read = static_cast<uint8_t>((st.radio.YaesuRxCmd & 0xF0) | 0x03);
    return AskRadio(st, Frame({0, 0, 0, 0}, read), &FrequencyAnswer);
  }
  double DialResolutionHz() const override { return 10; }

 protected:
  // The frequency bytes of the mode frames are those the last frequency
  // frame left in CatBytes.
  bool SetModes(Station& st, const std::string& down, const std::string& up) const override {
    RadioState& r = st.radio;
    if (std::optional<uint8_t> mode = ModeByte(down)) r.CatBytes[1] = *mode;
    r.CatBytes[5] = kModeRx;
    Wait(st);
    if (!WriteCat(st, FrameOf(r.CatBytes))) return false;
    Wait(st);
    if (std::optional<uint8_t> mode = ModeByte(up)) r.CatBytes[1] = *mode;
    r.CatBytes[5] = kModeTx;
    if (!WriteCat(st, FrameOf(r.CatBytes))) return false;
    Wait(st);
    return true;
  }

 private:
  bool SendPair(Station& st, double down, double up, double upl) const override {
    RadioState& r = st.radio;
    if (!FrequenciesFit(st, down, up, upl, &FitsCommand)) return false;
    r.CatBytes[5] = r.YaesuRxCmd;
    if (!SendBcdFreq(st, down)) return false;
    Wait(st);
    if (up == 0) return true;
    r.CatBytes[5] = r.YaesuTxCmd;
    if (!SendBcdFreq(st, upl)) return false;
    Wait(st);
    return true;
  }

  Model m_;
};

const Yaesu kModels[] = {
    // The FT-736R has no read.
    Yaesu({"FT-736R", 0x0E, false}),
};

// Satellite mode on is 4E unless the model's row says otherwise.
const Yaesu kOtherModel({"", 0x4E, true});

}  // namespace

std::string Frame(const std::array<uint8_t, 4>& data, uint8_t opcode) {
  std::string s(data.begin(), data.end());
  s += static_cast<char>(opcode);
  return s;
}

// The CAT off frame repeats its opcode in the data bytes.
std::string CatOn() { return Frame({0, 0, 0, 0}, kCatOn); }
std::string CatOff() { return Frame({kCatOff, kCatOff, kCatOff, kCatOff}, kCatOff); }

bool PutFrequency(CatBytes& bytes, double kHz) {
  std::optional<std::string> digits = TenDigits(kHz);
  if (!digits) return false;
  if (kHz > 1000000) digits->replace(0, 2, "0C");
  PutBcdPair(bytes, 1, *digits, 2);
  PutBcdPair(bytes, 2, *digits, 4);
  PutBcdPair(bytes, 3, *digits, 6);
  PutBcdPair(bytes, 4, *digits, 8);
  return true;
}

std::optional<double> FrequencyAnswer(std::string_view got) {
  if (got.size() < 5) return std::nullopt;
  double tensOfHz = 0;
  for (size_t i = 0; i < 4; ++i) {
    const auto b = static_cast<uint8_t>(got[i]);
    const int hi = b >> 4, lo = b & 15;
    const bool gigahertz = i == 0 && hi == 0xC;
    if ((hi > 9 && !gigahertz) || lo > 9) return std::nullopt;
    tensOfHz = tensOfHz * 100 + (gigahertz ? 120 : hi * 10) + lo;
  }
  return tensOfHz / 100;
}

std::string FrameOf(const CatBytes& bytes) { return Frame({bytes[1], bytes[2], bytes[3], bytes[4]}, bytes[5]); }

std::optional<uint8_t> ModeByte(std::string_view name) {
  struct Row {
    std::string_view name;
    uint8_t mode;
  };
  static constexpr Row kModes[] = {{"FM-N", 0x88}, {"FM-W", 0x08}, {"FM", 0x08}, {"USB", 0x01},
                                   {"LSB", 0x00},  {"CW", 0x02},   {"CW-N", 0x82}};
  for (const Row& row : kModes) {
    if (row.name == name) return row.mode;
  }
  return std::nullopt;
}

const Driver& DriverFor(std::string_view model) { return DriverNamed(kModels, kOtherModel, model); }

}  // namespace skylet::radio::yaesu
