// traffic_memory: what the record of the station's traffic costs in memory
// as lines keep coming, for tools/soak --traffic-bench. A real station adds a
// few lines a second, so 100 000 would take a night; here they come at once,
// through the same record, ring and line formatting Skylet uses, and the
// process's private bytes (PagefileUsage, which Wine fills) are printed after
// each count:
//   traffic_memory            "lines<TAB>private bytes" at 0, 10^4, 10^5, 10^6
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "traffic/traffic.h"

namespace {

using skylet::traffic::Line;
using skylet::traffic::Link;
using skylet::traffic::Way;

class StepClock final : public skylet::platform::Clock {
 public:
  double MonotonicSeconds() override { return now_; }
  double SecondsSinceMidnight() override { return now_ += 0.25; }
  std::string Today() override { return "2026-12-09"; }
  void SleepMs(int) override {}

 private:
  double now_ = 0;
};

// Formats each line as the window and the log file do, and keeps nothing.
class Formatting final : public skylet::traffic::LineSink {
 public:
  void Take(const Line& line) override { bytes += skylet::traffic::Format(line).size(); }
  size_t bytes = 0;
};

long long PrivateBytes() {
  PROCESS_MEMORY_COUNTERS memory{};
  return GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory) ? static_cast<long long>(memory.PagefileUsage)
                                                                            : -1;
}

// A record's worth of a TS-2000 pass: Avor's record, the frequency pair.
void OneRecord(skylet::traffic::Traffic& traffic, long n) {
  switch (n % 3) {
    case 0:
      traffic.Record(Link::Avor, Way::In,
                     skylet::traffic::Text("SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r"));
      break;
    case 1:
      traffic.Record(Link::Radio, Way::Out, skylet::traffic::Content("FA00435800" + std::to_string(n % 1000) + ";"));
      break;
    default:
      traffic.Record(Link::Radio, Way::Out, skylet::traffic::Content("FB00145950" + std::to_string(n % 1000) + ";"));
  }
}

}  // namespace

int main() {
  StepClock clock;
  Formatting sink;
  skylet::traffic::Traffic traffic(clock);
  traffic.SetSink(&sink);
  long added = 0;
  std::printf("lines\tprivate bytes\n0\t%lld\n", PrivateBytes());
  for (long count : {10'000L, 100'000L, 1'000'000L}) {
    for (; added < count; ++added) OneRecord(traffic, added);
    std::printf("%ld\t%lld\n", count, PrivateBytes());
  }
  std::printf("kept\t%zu\n", traffic.ring().Size());
  return sink.bytes > 0 ? 0 : 1;
}
