#pragma once
// Ending the program at once: after the quit sequence, or after a fatal
// message without it. Nothing runs after it.
#include <cstdlib>

namespace skylet::platform {

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Exit code 0 after the quit sequence, 1 after a fatal message.
  [[noreturn]] void End(int exitCode = 1) {
    EndNow(exitCode);
    std::abort();  // an implementation that returned would be a fault
  }

 protected:
  virtual void EndNow(int exitCode) = 0;
};

}  // namespace skylet::platform
