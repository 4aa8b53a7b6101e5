#pragma once
// Message boxes (OK button only) and the beep that answers refused input.
#include <string>

namespace skylet::platform {

class Alerts {
 public:
  virtual ~Alerts() = default;
  // Blocks until the operator presses OK. `text` is Windows-1252; its lines
  // are separated by a carriage return alone.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
  // Tells the operator without holding up the caller: the station goes on
  // (records are pulled and processed) while the message is on the screen.
  virtual void Notify(const std::string& text, const std::string& title) = 0;
  virtual void Beep() = 0;
};

}  // namespace skylet::platform
