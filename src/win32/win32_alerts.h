#pragma once
// Message boxes and the beep.
#include <windows.h>

#include <string>

#include "platform/alerts.h"

namespace skylet::win32 {

class Alerts : public platform::Alerts {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override;
  void Beep() override;
  // Message boxes belong to the main window once it is shown.
  void SetOwner(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
};

}  // namespace skylet::win32
