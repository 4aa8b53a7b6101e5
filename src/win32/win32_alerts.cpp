#include "win32/win32_alerts.h"

#include "win32/win32_text.h"

namespace skylet::win32 {

void Alerts::ShowMessage(const std::string& text, const std::string& title) {
  const HWND owner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
  MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(),
              MB_OK | (owner ? 0u : static_cast<UINT>(MB_TASKMODAL | MB_SETFOREGROUND)));
}

void Alerts::Beep() { MessageBeep(MB_OK); }

}  // namespace skylet::win32
