// Time per tracking record: one arrives every second, so anything in the
// microseconds leaves the program idle.
#include <benchmark/benchmark.h>

#include <string>

#include "fakes/fakes.h"
#include "tracking/parse_record.h"
#include "tracking/record.h"

namespace {

using skylet::tracking::ParseRecord;

// Two consecutive records of one pass, so the values change as in a pass.
const std::string kPass[] = {
    "SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r",
    "SNAO-7 AZ123.9 EL12.6 UP145950120 UMUSB DN435799640 DMLSB MA129\r",
};

// A satellite being tracked with CAT on and a correction: every step of the
// intake runs (the radio and rotor hand-overs as they stand).
void BM_ParseRecordTracking(benchmark::State& state) {
  skylet::fakes::FakeStation fs;
  skylet::Station& st = fs.st;
  st.radio.CatOn = "+";
  st.radio.IntV = 100;
  st.tracking.SatKorr[1] = 100;
  st.tracking.SatKorrKHz[1] = 0.1;
  ParseRecord(st, kPass[0]);  // takes the satellite up
  size_t i = 0;
  for (auto _ : state) {
    ParseRecord(st, kPass[++i & 1]);
    benchmark::DoNotOptimize(st.tracking.UpFreq);
  }
}
BENCHMARK(BM_ParseRecordTracking);

void BM_ParseRecordNoSatellite(benchmark::State& state) {
  skylet::fakes::FakeStation fs;
  fs.st.rotor.ParkOn = "+";
  fs.st.rotor.ParkDelay = 5;
  const std::string record = "**\r";
  for (auto _ : state) {
    ParseRecord(fs.st, record);
    benchmark::DoNotOptimize(fs.st.rotor.ParkCount);
  }
}
BENCHMARK(BM_ParseRecordNoSatellite);

void BM_CutRecord(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(skylet::tracking::CutRecord(kPass[0]));
}
BENCHMARK(BM_CutRecord);

}  // namespace

BENCHMARK_MAIN();
