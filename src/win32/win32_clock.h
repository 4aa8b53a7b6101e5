#pragma once
// The program's clocks and its sleep.
#include "platform/clock.h"

namespace skylet::win32 {

class Clock : public platform::Clock {
 public:
  Clock();
  double MonotonicSeconds() override;
  double SecondsSinceMidnight() override;
  std::string Today() override;
  void SleepMs(int milliseconds) override;

 private:
  double ticksPerSecond_ = 1;
};

}  // namespace skylet::win32
