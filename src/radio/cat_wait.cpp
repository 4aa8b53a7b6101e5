#include "radio/cat_wait.h"

#include <cmath>

#include "platform/clock.h"

namespace skylet::radio {

void CatWait(platform::Clock& clock, double seconds) {
  if (!(seconds > 0) || !std::isfinite(seconds)) return;
  const double end = clock.MonotonicSeconds() + seconds;
  for (;;) {
    const double remaining = end - clock.MonotonicSeconds();
    if (remaining <= 0) return;
    // Sleep the whole remainder; a wake-up a little early goes round once
    // more for what is left.
    clock.SleepMs(static_cast<int>(std::ceil(remaining * 1000.0)));
  }
}

}  // namespace skylet::radio
