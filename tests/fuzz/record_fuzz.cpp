// Tracking records of any shape: the cutter on the whole input, then the
// input split at line feeds as a run of records through one station. No
// record may crash, read out of bounds or leave the satellite state
// inconsistent.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fakes/fakes.h"
#include "fuzz_check.h"
#include "tracking/parse_record.h"
#include "tracking/record.h"

namespace {

using skylet::tracking::TrackingState;

void CheckCut(std::string_view input) {
  const auto r = skylet::tracking::CutRecord(input);
  if (!r) return;
  // Every field is a piece of the record (the point forms add one "." each).
  const size_t pieces = r->name.size() + r->az.size() + r->el.size() + r->up.size() + r->um.size() +
                        r->dn.size() + r->dm.size() + (r->hasMa ? r->ma.size() : 0);
  FUZZ_CHECK(pieces <= input.size() + 2);
  FUZZ_CHECK(r->up.size() >= 4 && r->dn.size() >= 4);
  FUZZ_CHECK(r->hasMa || r->ma == "---");
  FUZZ_CHECK(std::isfinite(r->azDeg) && std::isfinite(r->elDeg));
  FUZZ_CHECK(std::isfinite(r->upKHz) && std::isfinite(r->dnKHz));
}

void CheckState(const skylet::Station& st) {
  const TrackingState& t = st.tracking;
  FUZZ_CHECK(t.RecTag.size() <= 2);
  FUZZ_CHECK(t.SatCount >= 0 && t.SatCount <= TrackingState::kLastSatEntry);
  FUZZ_CHECK(t.SatIdx >= 0 && t.SatIdx <= t.SatCount);
  FUZZ_CHECK(t.SatActive == 0 || t.SatActive == 1);
  FUZZ_CHECK(t.NoSatShown == 0 || t.NoSatShown == 1);
  if (t.SatActive == 1) {
    FUZZ_CHECK(t.SatIdx >= 1);
    FUZZ_CHECK(t.SatNames[t.SatIdx] == t.SatName);
  }
  FUZZ_CHECK(std::isfinite(t.DownFreq) && std::isfinite(t.UpFreq) && std::isfinite(t.UpFreqPrev));
  FUZZ_CHECK(std::isfinite(t.SatAz) && std::isfinite(t.SatEl));
  FUZZ_CHECK(st.rotor.ParkCount >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckCut(input);

  skylet::fakes::FakeStation fs;
  skylet::Station& st = fs.st;
  // A station as it runs: radio and park on, a step of 100 Hz and
  // corrections of both signs, so every path of the intake can be reached.
  st.radio.CatOn = "+";
  st.radio.IntV = 100;
  st.rotor.ParkOn = "+";
  st.rotor.ParkDelay = 5;
  for (int i = 0; i <= TrackingState::kLastSatEntry; ++i) {
    st.tracking.SatKorr[i] = (i % 7 - 3) * 100.0;
    st.tracking.SatKorrKHz[i] = st.tracking.SatKorr[i] / 1000;
  }

  size_t start = 0;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    skylet::tracking::ParseRecord(st, std::string(input.substr(start, end - start)));
    CheckState(st);
    start = end + 1;
  }
  return 0;
}
