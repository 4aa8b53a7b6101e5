#pragma once
// Time for the program's waits. Waits run on a monotonic clock, so a wait
// that spans midnight (or a change of the time of day) still ends after its
// duration.
#include <string>

namespace skylet::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds on a monotonic clock with an arbitrary origin.
  virtual double MonotonicSeconds() = 0;
  // Seconds since local midnight (the time of day).
  virtual double SecondsSinceMidnight() = 0;
  // The local date, "2026-12-09".
  virtual std::string Today() = 0;
  // Blocks the thread; may wake early or late by a scheduler tick.
  virtual void SleepMs(int milliseconds) = 0;
};

}  // namespace skylet::platform
