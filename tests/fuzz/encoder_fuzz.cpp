// Frequencies of any value, with any converter offsets, through a whole send
// to each family's radio. A frame is either not built (and then nothing
// reaches the radio, and the operator is told) or it reads back, as the radio
// reads it, as the frequency to the family's resolution: a wrong frame would
// tune the radio somewhere else.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "fuzz_check.h"
#include "radio/frequency_output.h"
#include "radio/icom.h"

namespace {

namespace radio = skylet::radio;
using Hz = std::optional<double>;

// kHz: around 1 GHz, the 1.2 GHz band, the ten- and eleven-digit limits.
constexpr double kEdges[] = {0, 1e6, 1.2e6, 1.3e6, 1e7, 1e8};

double Frequency(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: {  // any double: negative, NaN, infinite, tiny
      const uint64_t bits = in.ConsumeIntegral<uint64_t>();
      double kHz;
      std::memcpy(&kHz, &bits, sizeof kHz);
      return kHz;
    }
    case 1:  // within 3.3 kHz of an edge, in tenths of a Hz
      return in.PickValueInArray(kEdges) + in.ConsumeIntegral<int16_t>() * 1e-4;
    default:  // tenths of a Hz up to 100 GHz
      return static_cast<double>(in.ConsumeIntegralInRange<uint64_t>(0, 1000000000000)) * 1e-4;
  }
}

// Decimal digits as the radio reads them; nothing if any is not a digit.
Hz DigitsHz(const std::string& s) {
  double v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// Packed BCD, most significant byte first; a Yaesu high nibble C reads "12".
Hz BcdHz(const std::vector<uint8_t>& bytes, double unitHz, bool twelve) {
  double v = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int hi = twelve && i == 0 && bytes[i] >> 4 == 0xC ? 12 : bytes[i] >> 4;
    const int lo = bytes[i] & 15;
    if ((hi > 9 && hi != 12) || lo > 9) return std::nullopt;
    v = v * 100 + hi * 10 + lo;
  }
  return v * unitHz;
}

enum class Family { Kenwood, Icom, Yaesu, Server };

// The CAT server's command is text and carries any frequency at or above 0.
bool InRange(Family f, double kHz) {
  if (f == Family::Server) return kHz >= 0 && std::isfinite(kHz);
  const double limitHz = f == Family::Kenwood ? 1e11 : 1e10;
  return kHz >= 0 && kHz * 1000 <= limitHz - 1;
}

// The Yaesu set carries the 100 MHz digit down to 10 Hz, and C for "12": not
// 1 GHz (nor a frequency whose whole Hz round to it), nor 1.0..1.2 or
// 1.3..10 GHz, a limit of the command set the program keeps.
bool YaesuCarries(double kHz) {
  const double hz = kHz * 1000;
  return hz < 1e9 - 1 || (hz >= 1.2e9 && hz < 1.3e9 - 1);
}

// A frame sent must read back as `kHz`.
void Check(Family f, double kHz, Hz read) {
  FUZZ_CHECK(read.has_value());
  if (f == Family::Yaesu && !YaesuCarries(kHz)) return;
  // At the edge of the double range the text may round past it when read.
  if (f == Family::Server && kHz > 1e300) return;
  // The CAT server's text is read back in kHz: its digits may pass the
  // double range in Hz. Far beyond 2^53 the digits carry the double's own
  // rounding.
  const double perKHz = f == Family::Server ? 1 : 1000;
  const double error = std::fabs(*read - kHz * perKHz);
  const double slack = std::max(0.501 * perKHz / 1000, kHz * perKHz * 1e-12);
  FUZZ_CHECK(f == Family::Yaesu ? error < 10 : error <= slack);
}

// "0435800.000" with `sep` for the point, as the CAT server reads it, in
// kHz; more whole digits from 10 GHz on.
Hz ServerKHz(const std::string& s, char sep) {
  if (s.size() < 11 || s[s.size() - 4] != sep) return std::nullopt;
  std::string digits = s;
  digits[s.size() - 4] = '.';
  if (!DigitsHz(s.substr(0, s.size() - 4)) || !DigitsHz(s.substr(s.size() - 3))) return std::nullopt;
  return std::strtod(digits.c_str(), nullptr);  // rounded once, as the server's reading would be
}

struct Setup {
  Family family;
  const char* name;
  const char* model;
};
constexpr Setup kSetups[] = {{Family::Kenwood, "Kenwood", "TS-2000"},
                             {Family::Kenwood, "Kenwood", "TS-790"},
                             {Family::Icom, "Icom", "IC-910H"},
                             {Family::Yaesu, "Yaesu", "FT-736R"},
                             {Family::Server, "Icom", ""}};

// The frequency frames the radio or the CAT server received, read back.
std::vector<Hz> Received(skylet::fakes::FakeStation& fs, Family f, char sep) {
  std::vector<Hz> out;
  for (const std::string& line : fs.catLink.log) {
    if (line.rfind("execute SF", 0) != 0) continue;
    const size_t space = line.find(' ', 10);
    out.push_back(ServerKHz(line.substr(10, space - 10), sep));
    out.push_back(space == std::string::npos ? Hz{} : ServerKHz(line.substr(space + 1), sep));
  }
  for (const auto& w : fs.port.writes) {
    const std::vector<uint8_t> bytes(w.begin(), w.end());
    if (f == Family::Kenwood && bytes.size() == 14 && bytes[0] == 'F') {
      out.push_back(DigitsHz(w.substr(2, 11)));
    } else if (f == Family::Icom && bytes.size() == 11 && bytes[4] == radio::icom::kSetFrequency) {
      out.push_back(BcdHz({bytes[9], bytes[8], bytes[7], bytes[6], bytes[5]}, 1, false));
    } else if (f == Family::Yaesu && bytes.size() == 5) {
      out.push_back(BcdHz({bytes[0], bytes[1], bytes[2], bytes[3]}, 10, true));
    }
  }
  return out;
}

void CheckSend(const Setup& setup, double dn, double up, double rxOffset, double txOffset, char sep) {
  skylet::fakes::FakeStation fs;
  fs.SerialRadio(setup.name, setup.model);
  radio::RadioState& r = fs.st.radio;
  r.RxOffset = rxOffset;
  r.TxOffset = txOffset;
  fs.port.icomAnswer = std::string("\xFE\xFE\xE0\x60\xFB\xFD", 6);  // every frame taken
  fs.locale.separator = std::string(1, sep);
  if (setup.family == Family::Server) {
    r.DdeCat = "+";
    fs.catLink.Open({"CatServer", "CatServConv", "CatServItem", 50});
  }

  radio::SendCatFreq(fs.st, dn, up);

  // The converter offsets come off a frequency above them only.
  const auto tuned = [](double kHz, double offset) { return kHz > offset ? kHz - offset : kHz; };
  std::vector<double> want = {tuned(dn, rxOffset)};
  if (up != 0 || setup.family == Family::Server) want.push_back(tuned(up, txOffset));
  const std::vector<Hz> got = Received(fs, setup.family, sep);
  if (got.empty()) {
    // Nothing sent: only for a frequency out of range, and the operator is told.
    bool allInRange = true;
    for (double kHz : want) allInRange = allInRange && InRange(setup.family, kHz);
    FUZZ_CHECK(!allInRange);
    FUZZ_CHECK(fs.alerts.notices.size() == 1);
    return;
  }
  FUZZ_CHECK(got.size() == want.size());
  for (size_t i = 0; i < want.size(); ++i) Check(setup.family, want[i], got[i]);
  FUZZ_CHECK(r.LastCatFreq == (dn > up ? dn : up));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const Setup& setup = in.PickValueInArray(kSetups);
  const char sep = in.ConsumeBool() ? ',' : '.';
  const double dn = Frequency(in);
  const double up = in.ConsumeBool() ? 0 : Frequency(in);
  const double rxOffset = in.ConsumeBool() ? 0 : Frequency(in);
  const double txOffset = in.ConsumeBool() ? 0 : Frequency(in);
  CheckSend(setup, dn, up, rxOffset, txOffset, sep);
  return 0;
}
