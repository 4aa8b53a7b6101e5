#pragma once
// The small window a partner shows: its name as caption and its last few
// events, so a person watching the demo (or a screenshot) sees what it got.
// Closing it ends the program.
#include <windows.h>

#include <deque>
#include <string>

namespace partners {

class StatusWindow {
 public:
  StatusWindow() = default;
  ~StatusWindow();
  StatusWindow(const StatusWindow&) = delete;
  StatusWindow& operator=(const StatusWindow&) = delete;

  // `show` is WinMain's: the program that starts a partner decides whether
  // its window is shown, minimised or hidden. The windows stack at the right
  // edge of the screen, `slot` from the top, so the partners of a demo do
  // not hide each other (or Skylet, which sits at the left).
  bool Create(HINSTANCE instance, const std::string& caption, int show, int slot);
  void Add(const std::string& line);
  // Ends the message loop, as closing the window does.
  void Close();
  // The message loop; returns when the window is closed. The window itself
  // goes with this object, after the DDE server declared later has ended.
  int Run();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND window_ = nullptr;
  std::deque<std::string> lines_;
};

}  // namespace partners
