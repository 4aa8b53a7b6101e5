#pragma once
// The Win32 window of the main form AusGabe: created hidden, shown after the
// load handler with the caption and position the start-up set, and closed
// only through the quit sequence.
#include <windows.h>

#include "app/station.h"
#include "platform/win32/services.h"

namespace skylet::win32 {

class MainWindow {
 public:
  MainWindow(app::Station& st, Alerts& alerts) : st_(st), alerts_(alerts) {}
  bool Create(HINSTANCE instance);
  // Pushes caption and position from the form and shows the window.
  void Show();
  HWND Handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  // Takes the window's place and state into the form before it is stored.
  void PullPosition();
  void Quit();

  app::Station& st_;
  Alerts& alerts_;
  HWND hwnd_ = nullptr;
  bool quitting_ = false;
};

}  // namespace skylet::win32
