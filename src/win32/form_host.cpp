#include "win32/form_host.h"

#include <string_view>

#include "ui/forms.h"

namespace skylet::win32 {

FormHost::FormHost(Station& st, Alerts& alerts, HINSTANCE instance)
    : st_(st), alerts_(alerts), instance_(instance), traffic_(st, instance) {
  for (const ui::FormTable* table : ui::AllForms()) {
    windows_.push_back(std::make_unique<FormWindow>(st_, *table, *this));
  }
}

bool FormHost::Create() {
  if (!windows_.front()->Create(instance_, nullptr)) return false;
  SyncAll();
  return true;
}

HWND FormHost::MainWindow() const { return windows_.front()->Handle(); }

void FormHost::SyncAll() {
  // A push can raise a notification whose handler syncs again; the outer
  // pass takes up whatever changed meanwhile.
  if (syncing_) return;
  syncing_ = true;
  HWND main = MainWindow();
  bool dialogUp = false;
  for (size_t i = 1; i < windows_.size(); ++i) {
    dialogUp |= (*windows_[i]->Table().state)(st_).visible;
  }
  // The main window takes input again before a dialog goes, so the
  // activation passes back to it and not to another program.
  if (!dialogUp && dialogUp_) EnableWindow(main, TRUE);
  for (auto& window : windows_) {
    const forms::FormState& form = (*window->Table().state)(st_);
    if (form.loaded && !window->Created() && !window->Create(instance_, main)) continue;
    if (!form.loaded && window->Created()) window->Destroy();
    window->Sync();
  }
  traffic_.Sync(main);
  HWND owner = (*windows_.front()->Table().state)(st_).visible ? main : nullptr;
  for (size_t i = 1; i < windows_.size(); ++i) {
    if ((*windows_[i]->Table().state)(st_).visible) owner = windows_[i]->Handle();
  }
  // A message box belongs to the window in front, so it never enables the
  // main window beneath an open dialog when it closes.
  alerts_.SetOwner(owner);
  if (dialogUp && !dialogUp_) EnableWindow(main, FALSE);
  if (!dialogUp && dialogUp_) SetActiveWindow(main);
  dialogUp_ = dialogUp;
  syncing_ = false;
}

void FormHost::ShowNotices() {
  alerts_.ShowNotices();
  SyncAll();
}

bool FormHost::PreTranslate(MSG& msg) {
  if (traffic_.PreTranslate(msg)) return true;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root) return false;
  for (auto& window : windows_) {
    if (window->Handle() != root) continue;
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONUP) {
      wchar_t cls[16] = {};
      GetClassNameW(msg.hwnd, cls, 16);
      if (std::wstring_view(cls) == L"ListBox") {
        if (msg.message == WM_LBUTTONDOWN) {
          window->ListPressed(msg.hwnd);
        } else {
          PostMessageW(root, kMsgListClicked, 0, reinterpret_cast<LPARAM>(msg.hwnd));
        }
      }
    }
    return IsDialogMessageW(root, &msg) != 0;
  }
  return false;
}

}  // namespace skylet::win32
