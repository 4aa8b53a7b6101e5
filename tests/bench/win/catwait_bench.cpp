// catwait_bench COUNT MS: runs COUNT CAT waits of MS milliseconds on the
// program's own clock, as skylet.exe does (1 ms scheduler tick), and prints
// how far each wait ended from its duration, and the CPU the process used.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "radio/cat_wait.h"
#include "win32/win32_clock.h"

namespace {

double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 600;
  const double seconds = (argc > 2 ? std::atof(argv[2]) : 50) / 1000.0;
  timeBeginPeriod(1);
  skylet::win32::Clock clock;
  std::vector<double> lateMs;
  const double cpu0 = CpuSeconds(), wall0 = clock.MonotonicSeconds();
  for (int i = 0; i < count; ++i) {
    const double start = clock.MonotonicSeconds();
    skylet::radio::CatWait(clock, seconds);
    lateMs.push_back((clock.MonotonicSeconds() - start - seconds) * 1000.0);
  }
  const double cpu = CpuSeconds() - cpu0, wall = clock.MonotonicSeconds() - wall0;
  timeEndPeriod(1);
  std::sort(lateMs.begin(), lateMs.end());
  const auto at = [&](double q) { return lateMs[static_cast<size_t>(q * (lateMs.size() - 1))]; };
  const long early = std::count_if(lateMs.begin(), lateMs.end(), [](double ms) { return ms < 0; });
  std::printf("waits %d of %.0f ms: early %ld, late p50 %.2f ms, p99 %.2f ms, max %.2f ms; "
              "within 2 ms late %.1f %%; CPU %.2f %% of a core\n",
              count, seconds * 1000, early, at(0.5), at(0.99), lateMs.back(),
              100.0 * std::count_if(lateMs.begin(), lateMs.end(), [](double ms) { return ms <= 2; }) /
                  lateMs.size(),
              100.0 * cpu / wall);
  return 0;
}
