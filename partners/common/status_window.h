#pragma once
// The small window a partner shows: its name as caption and its last few
// events, so a person watching the demo (or a screenshot) sees what it got.
// Closing it ends the program.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

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
  // Lines that stay at the top, above the last events (which then get the
  // rest of the room): a partner's current state.
  void SetHeader(std::vector<std::string> lines);
  // A picture at the right edge of the window, `width` pixels wide, drawn by
  // `paint` into the rectangle it gets; the events keep the room left of it.
  void SetPanel(int width, std::function<void(HDC, const RECT&)> paint);
  // Draws the window again: the panel's picture has changed.
  void Redraw();
  // Keys pressed and the mouse wheel turned while the window has the focus:
  // `input` gets each WM_KEYDOWN and WM_MOUSEWHEEL with its parameters and
  // says whether it took it (else the window does what it does by default).
  void SetInput(std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> input);
  // Runs `task` on the window's thread, from any thread: a partner that
  // reads a device on a worker thread shows what it got this way. False
  // (and the task dropped) when the window is gone.
  bool Post(std::function<void()> task);
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
  std::vector<std::string> header_;
  int panelWidth_ = 0;
  std::function<void(HDC, const RECT&)> panel_;
  std::function<bool(UINT, WPARAM, LPARAM)> input_;
};

}  // namespace partners
