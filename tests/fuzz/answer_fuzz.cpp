// Any bytes as the radio's answer to the read of its receive VFO, for a
// Kenwood, a CI-V and a Yaesu radio following the dial through a pass: the program
// never hangs, and what it then sends is either the record's downlink or the
// record's downlink moved by a turn the answer really said (within a
// passband's reach of what was set): never a frequency made up from noise.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <string>

#include "fakes/fakes.h"
#include "fuzz_check.h"
#include "radio/dial.h"
#include "radio/icom.h"
#include "radio/kenwood.h"
#include "radio/yaesu.h"
#include "tracking/parse_record.h"

namespace {

namespace radio = skylet::radio;

// The answer's frequency must stand in the bytes as the radio writes it.
void CheckReader(const std::string& got) {
  if (const auto kHz = radio::kenwood::FrequencyAnswer(got)) {
    const auto frame = radio::kenwood::FrequencyCommand("FA", *kHz);
    FUZZ_CHECK(frame && got.find(*frame) != std::string::npos);
  }
  if (const auto kHz = radio::icom::FrequencyAnswer(got, 0x60)) {
    radio::CatBytes bytes{};
    FUZZ_CHECK(radio::icom::PutFrequency(bytes, *kHz));
    std::string frame("\xFE\xFE\xE0\x60\x03", 5);
    for (int i = 6; i <= 10; ++i) frame += static_cast<char>(bytes[i]);
    FUZZ_CHECK(got.find(frame + "\xFD") != std::string::npos);
  }
  if (const auto kHz = radio::yaesu::FrequencyAnswer(got)) {
    radio::CatBytes bytes{};
    FUZZ_CHECK(radio::yaesu::PutFrequency(bytes, *kHz));
    FUZZ_CHECK(got.compare(0, 4, std::string(bytes.begin() + 1, bytes.begin() + 5)) == 0);
  }
}

std::optional<double> Said(int family, const std::string& got) {
  switch (family) {
    case 0: return radio::kenwood::FrequencyAnswer(got);
    case 1: return radio::icom::FrequencyAnswer(got, 0x60);
    default: return radio::yaesu::FrequencyAnswer(got);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int family = in.ConsumeIntegralInRange(0, 2);
  const std::string first = in.ConsumeRandomLengthString(64);
  const std::string second = in.ConsumeRemainingBytesAsString();
  CheckReader(first);
  CheckReader(second);

  skylet::fakes::FakeStation f;
  int reads = 0;
  f.port.farEnd = [&](const std::string& w) {
    const bool query = w == "FA;" || (w.size() == 6 && w[4] == radio::icom::kReadFrequency) ||
                       (w.size() == 5 && w[4] == '\x13');
    return query ? (reads++ % 2 == 0 ? first : second) : "";
  };
  const char* const families[] = {"Kenwood", "Icom", "Yaesu"};
  const char* const models[] = {"TS-2000", "IC-910H", "FT-847"};
  f.SerialRadio(families[family], models[family]);
  f.st.radio.CatOn = "+";
  f.st.radio.IntV = 100;
  f.st.options.DialFolgen = "+";
  const std::string pass = "SNAO-7 AZ10 EL5 UP145950000 UMUSB DN435800000 DMLSB MA1\r";
  skylet::tracking::ParseRecord(f.st, pass);
  const double set = f.st.radio.dial.lastRxKHz;
  const double before = f.clock.monotonic;
  skylet::tracking::ParseRecord(f.st, pass);
  // Two reads at most, each within its reply wait, and the CAT waits of one send.
  FUZZ_CHECK(f.clock.monotonic - before < 1.5);
  const double turn = f.st.radio.dial.offsetHz;
  FUZZ_CHECK(std::fabs(turn) <= radio::kDialReachHz);
  if (turn != 0) {
    const auto said = Said(family, second);
    FUZZ_CHECK(said && std::round((*said - set) * 1000) == turn);
    FUZZ_CHECK(std::fabs(f.st.radio.dial.lastRxKHz - (set + turn / 1000)) < 1e-6);
  }
  return 0;
}
