#pragma once
// Message boxes and the beep.
#include <windows.h>

#include <deque>
#include <string>

#include "platform/alerts.h"

namespace skylet::win32 {

// Posted to the owner window: show the notices waiting.
inline constexpr UINT kMsgShowNotices = WM_APP + 2;

class Alerts : public platform::Alerts {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override;
  // Queued and shown from the message loop, where the timer goes on ticking
  // while the box waits for the operator.
  void Notify(const std::string& text, const std::string& title) override;
  void Beep() override;
  // Message boxes belong to the window in front once one is shown.
  void SetOwner(HWND owner) { owner_ = owner; }
  // Shows the notices waiting, one after the other.
  void ShowNotices();

 private:
  struct Notice {
    std::string text, title;
  };
  HWND owner_ = nullptr;
  std::deque<Notice> notices_;
  bool showing_ = false;
};

}  // namespace skylet::win32
