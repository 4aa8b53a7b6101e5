#pragma once
// The Win32 window of the main form AusGabe: created hidden with all its
// controls and its menu bar, shown after the load handler with the caption
// and position the start-up set, and closed only through the quit sequence.
// It turns clicks, focus changes, keys, menu choices and timer ticks into
// the form's handlers and pushes what they changed back to the controls.
#include <windows.h>

#include "station/station.h"
#include "win32/form_renderer.h"
#include "win32/services.h"

namespace skylet::win32 {

class MainWindow {
 public:
  MainWindow(Station& st, Alerts& alerts) : st_(st), alerts_(alerts) {}
  bool Create(HINSTANCE instance);
  // Pushes the form's state, shows the window and gives picFocus the keys.
  void Show();
  HWND Handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  // Runs the handler of a click, menu choice or focus change; false when
  // the command was none of these.
  bool OnCommand(int id, WORD code);
  // Pushes what the last handler changed: control states, caption, timer,
  // focus.
  void Sync();
  // The client area is fixed in twips; a menu bar that needs two lines on
  // a narrow window takes its room from the window, not from the client.
  void FitClientArea();
  // Takes the window's place and state into the form.
  void PullPosition();
  void Quit();

  Station& st_;
  Alerts& alerts_;
  HWND hwnd_ = nullptr;
  FormRenderer controls_;
  bool shown_ = false;
  bool quitting_ = false;
  // What the window shows now.
  std::string caption_;
  bool timerRunning_ = false;
  ui::AusGabeCtl focus_ = ui::AusGabeCtl::picFocus;
};

}  // namespace skylet::win32
