#include "win32/win32_alerts.h"

#include "win32/win32_text.h"

namespace skylet::win32 {

namespace {

// The box takes a NUL-terminated text: a NUL that came in with a file's or a
// partner's bytes would end the message there and hide the rest of it.
std::wstring Shown(const std::string& text) {
  std::wstring wide = Wide(text);
  for (wchar_t& c : wide) {
    if (c == L'\0') c = L'?';
  }
  return wide;
}

}  // namespace

void Alerts::ShowMessage(const std::string& text, const std::string& title) {
  const HWND owner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
  MessageBoxW(owner, Shown(text).c_str(), Shown(title).c_str(),
              MB_OK | (owner ? 0u : static_cast<UINT>(MB_TASKMODAL | MB_SETFOREGROUND)));
}

void Alerts::Notify(const std::string& text, const std::string& title) {
  notices_.push_back({text, title});
  // Before a window is up there is no loop to show it from later.
  if (!owner_ || !PostMessageW(owner_, kMsgShowNotices, 0, 0)) ShowNotices();
}

void Alerts::ShowNotices() {
  if (showing_) return;  // the box on the screen takes the next one after it
  showing_ = true;
  while (!notices_.empty()) {
    const Notice notice = notices_.front();
    notices_.pop_front();
    ShowMessage(notice.text, notice.title);
  }
  showing_ = false;
}

void Alerts::Beep() { MessageBeep(MB_OK); }

}  // namespace skylet::win32
