#pragma once
// Ending the program at once: after a fatal message the program stops
// without its quit sequence, writing nothing more.
#include <cstdlib>

namespace skylet::platform {

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  [[noreturn]] void End() {
    EndNow();
    std::abort();  // an implementation that returned would be a fault
  }

 protected:
  virtual void EndNow() = 0;
};

}  // namespace skylet::platform
