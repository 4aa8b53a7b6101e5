// The wait between radio commands: on time, asleep, and across midnight.
#include <gtest/gtest.h>

#include <cmath>

#include "fakes/fakes.h"
#include "radio/cat_wait.h"

namespace skylet::radio {
namespace {

TEST(CatWait, EndsAfterItsDurationWhateverTheSleepsDo) {
  struct Row {
    int oversleepMs, undersleepMs;
  };
  for (Row row : {Row{0, 0}, Row{15, 0}, Row{0, 7}}) {
    fakes::FakeClock clock;
    clock.oversleepMs = row.oversleepMs;
    clock.undersleepMs = row.undersleepMs;
    const double start = clock.monotonic;
    CatWait(clock, 0.05);
    const double waited = clock.monotonic - start;
    EXPECT_GE(waited, 0.05 - 1e-9) << row.oversleepMs << "/" << row.undersleepMs;
    // At most a millisecond of rounding beyond what the sleeps overshoot.
    EXPECT_LE(waited, 0.05 + row.oversleepMs / 1000.0 + 0.0011);
    // It sleeps: a handful of sleeps, not a spin.
    EXPECT_LE(clock.sleeps.size(), 10u);
  }
}

TEST(CatWait, AWaitAcrossMidnightEndsOnTime) {
  fakes::FakeClock clock;
  clock.timeOfDay = 86399.9;  // 23:59:59.9
  const double start = clock.monotonic;
  CatWait(clock, 1.0);
  EXPECT_NEAR(clock.monotonic - start, 1.0, 1e-9);
  EXPECT_NEAR(clock.SecondsSinceMidnight(), 0.9, 1e-6);
}

TEST(CatWait, NothingToWaitReturnsAtOnce) {
  fakes::FakeClock clock;
  for (double s : {0.0, -1.0, std::nan("")}) CatWait(clock, s);
  EXPECT_TRUE(clock.sleeps.empty());
}

}  // namespace
}  // namespace skylet::radio
