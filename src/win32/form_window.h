#pragma once
// The Win32 window of any form table: created hidden with its controls (and
// menu bar), shown, placed, hidden and destroyed as its model says, and the
// place where clicks, typing, spins, list choices, focus changes, keys, menu
// choices, timer ticks and the close box become the table's handlers.
#include <windows.h>

#include <string>

#include "ui/form_table.h"
#include "win32/form_renderer.h"

namespace skylet::win32 {

class FormHost;

class FormWindow {
 public:
  FormWindow(Station& st, const ui::FormTable& table, FormHost& host)
      : st_(st), table_(table), host_(host) {}
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  const ui::FormTable& Table() const { return table_; }
  // Creates the window hidden; dialogs are owned by `owner`, so they stay
  // above it and out of the task bar.
  bool Create(HINSTANCE instance, HWND owner);
  void Destroy();
  bool Created() const { return hwnd_ != nullptr; }
  HWND Handle() const { return hwnd_; }

  // Brings the window in line with its model: controls, caption, place,
  // timer, visibility and the control with the keys.
  void Sync();
  // Gives the keys to the control the model names.
  void RestoreFocus();
  // The operator pressed the mouse on one of the form's list boxes. A click
  // on the row already selected changes no selection, so the list reports
  // nothing; the click itself is taken up when the button goes up.
  void ListPressed(HWND list);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  // Runs the handler of a control's or menu's notification; false when the
  // notification is none the form handles.
  bool OnCommand(int id, WORD code, HWND control);
  bool OnScroll(HWND control, WORD request);
  // The client area is fixed in twips; a menu bar that needs two lines on
  // a narrow window takes its room from the window, not from the client.
  void FitClientArea();
  // Takes the window's place and state into the model.
  void PullPlace();
  void PushPlace();

  Station& st_;
  const ui::FormTable& table_;
  FormHost& host_;
  HWND hwnd_ = nullptr;
  FormRenderer controls_;
  // What the window shows now.
  bool shown_ = false;
  std::string caption_;
  double left_ = 0, top_ = 0;  // twips, as last placed or pulled
  bool placed_ = false;
  bool timerRunning_ = false;
  std::string focus_;
  HWND pressedList_ = nullptr;
  bool pressChangedSelection_ = false;
};

// Posted to a form when the mouse button went up on its list box `lParam`.
inline constexpr UINT kMsgListClicked = WM_APP + 3;

}  // namespace skylet::win32
