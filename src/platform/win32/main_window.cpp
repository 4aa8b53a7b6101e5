#include "platform/win32/main_window.h"

#include "app/shutdown.h"
#include "platform/win32/win32_text.h"

namespace skylet::win32 {

namespace {

constexpr wchar_t kClassName[] = L"SkyletAusGabe";
// Fixed single border, no maximise button.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;

int TwipsToPixels(double twips, int dpi) {
  return MulDiv(static_cast<int>(twips < 0 ? twips - 0.5 : twips + 0.5), dpi, 1440);
}

double PixelsToTwips(int pixels, int dpi) { return pixels * 1440.0 / dpi; }

}  // namespace

bool MainWindow::Create(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &MainWindow::Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return false;

  RECT r{0, 0, TwipsToPixels(ui::AusGabe::kClientWidthTwips, ScreenDpiX()),
         TwipsToPixels(ui::AusGabe::kClientHeightTwips, ScreenDpiY())};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  hwnd_ = CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, this);
  return hwnd_ != nullptr;
}

void MainWindow::Show() {
  SetWindowTextW(hwnd_, Wide(st_.main.caption).c_str());
  SetWindowPos(hwnd_, nullptr, TwipsToPixels(st_.main.Left, ScreenDpiX()),
               TwipsToPixels(st_.main.Top, ScreenDpiY()), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  alerts_.SetOwner(hwnd_);
}

LRESULT CALLBACK MainWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:  // any closing of the main window runs the quit sequence
    case WM_QUERYENDSESSION:
      Quit();
      return msg == WM_QUERYENDSESSION ? TRUE : 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

void MainWindow::PullPosition() {
  if (IsIconic(hwnd_)) {
    st_.main.windowState = ui::WindowState::Minimized;
  } else if (IsZoomed(hwnd_)) {
    st_.main.windowState = ui::WindowState::Maximized;
  } else {
    st_.main.windowState = ui::WindowState::Normal;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    st_.main.Left = PixelsToTwips(r.left, ScreenDpiX());
    st_.main.Top = PixelsToTwips(r.top, ScreenDpiY());
  }
}

void MainWindow::Quit() {
  if (quitting_) return;  // the sequence runs at most once
  quitting_ = true;
  PullPosition();
  app::menQuit_Click(st_);  // ends the program
}

}  // namespace skylet::win32
