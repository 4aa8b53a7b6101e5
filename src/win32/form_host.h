#pragma once
// Every form's window, kept in line with the station after each event. A
// dialog shown from the main window is modal to the operator: while one is
// visible the main window takes no clicks or keys, but its timer goes on,
// so tracking records keep arriving and being processed underneath.
#include <windows.h>

#include <memory>
#include <vector>

#include "win32/win32_alerts.h"
#include "win32/form_window.h"
#include "win32/traffic_window.h"

namespace skylet::win32 {

class FormHost {
 public:
  FormHost(Station& st, Alerts& alerts, HINSTANCE instance);
  // Creates the main window and every form that is loaded, all hidden.
  bool Create();
  HWND MainWindow() const;
  // After every handler: creates, shows, hides and destroys the windows as
  // the models say, pushes what changed, and keeps the main window disabled
  // while a dialog is up.
  void SyncAll();
  // Tab and arrow keys move between the controls of the form the message
  // is for; true when the message was used so.
  bool PreTranslate(MSG& msg);
  // The notices waiting for the operator, shown while the station goes on.
  void ShowNotices();

 private:
  Station& st_;
  Alerts& alerts_;
  HINSTANCE instance_;
  std::vector<std::unique_ptr<FormWindow>> windows_;  // the main window first
  TrafficWindow traffic_;  // not a dialog: apart from the forms
  bool syncing_ = false;
  bool dialogUp_ = false;
};

}  // namespace skylet::win32
