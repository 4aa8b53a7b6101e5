#include "win32/main_window.h"

#include "app/main_window_handlers.h"
#include "app/shutdown.h"
#include "win32/win32_text.h"
#include "ui/ausgabe_layout.h"

namespace skylet::win32 {

namespace {

constexpr wchar_t kClassName[] = L"SkyletAusGabe";
// Fixed single border, no maximise button.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1IntervalMs = 1000;

double PixelsToTwips(int pixels, int dpi) { return pixels * 1440.0 / dpi; }

// The shift state as the keyboard handler takes it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

HMENU BuildMenuBar() {
  HMENU bar = CreateMenu();
  if (!bar) return nullptr;
  for (const ui::MenuLayout& item : ui::AusGabeMenus()) {
    AppendMenuW(bar, MF_STRING, static_cast<UINT_PTR>(item.id), Wide(item.caption).c_str());
  }
  return bar;
}

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

  HMENU menu = BuildMenuBar();
  RECT r{0, 0, TwipsToPixels(ui::AusGabe::kClientWidthTwips, ScreenDpiX()),
         TwipsToPixels(ui::AusGabe::kClientHeightTwips, ScreenDpiY())};
  AdjustWindowRectEx(&r, kStyle, menu != nullptr, kExStyle);
  hwnd_ = CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          r.right - r.left, r.bottom - r.top, nullptr, menu, instance, this);
  if (!hwnd_) return false;
  if (!controls_.Create(hwnd_, instance, ui::AusGabeLayout())) return false;
  FitClientArea();
  return true;
}

void MainWindow::Show() {
  Sync();
  SetWindowPos(hwnd_, nullptr, TwipsToPixels(st_.main.Left, ScreenDpiX()),
               TwipsToPixels(st_.main.Top, ScreenDpiY()), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  FitClientArea();
  UpdateWindow(hwnd_);
  shown_ = true;
  alerts_.SetOwner(hwnd_);
  SetFocus(controls_.Control(static_cast<int>(focus_)));
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
    case WM_TIMER:
      if (wp != kTimer1) break;
      app::Timer1_Timer(st_);
      Sync();
      return 0;
    case WM_COMMAND:
      // The boxes also report their own text changes here; only a handler
      // can have changed the form.
      if (OnCommand(LOWORD(wp), lp ? HIWORD(wp) : 0)) Sync();
      return 0;
    case kMsgPictureKeyDown:
      app::picFocus_KeyDown(st_, static_cast<int>(wp), ShiftState());
      Sync();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = controls_.Colours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_ACTIVATE:
      // Coming back to the window gives the keys back to the control that
      // had them, not to the bare window.
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
        if (HWND control = controls_.Control(static_cast<int>(focus_))) SetFocus(control);
        return 0;
      }
      break;
    case WM_MOVE:
    case WM_SIZE:
      // The dialogs open relative to where the window is now.
      if (shown_) PullPosition();
      break;
    case WM_CLOSE:  // any closing of the main window runs the quit sequence
    case WM_QUERYENDSESSION:
      Quit();
      return msg == WM_QUERYENDSESSION ? TRUE : 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool MainWindow::OnCommand(int id, WORD code) {
  using C = ui::AusGabeCtl;
  using M = ui::AusGabeMenu;
  if (code == kNotifyGotFocus) {
    focus_ = static_cast<C>(id);  // where the focus is now
    app::GotFocus(st_, focus_);
    return true;
  }
  // Label clicks and menu choices both come with code 0; their ids differ.
  if (code != STN_CLICKED) return false;
  switch (static_cast<C>(id)) {
    case C::lblRotor: app::lblRotor_Click(st_); return true;
    case C::lblCat: app::lblCat_Click(st_); return true;
    case C::lblPark: app::lblPark_Click(st_); return true;
    default: break;
  }
  switch (static_cast<M>(id)) {
    case M::MenCat: app::MenCat_Click(st_); return true;
    case M::menRot: app::menRot_Click(st_); return true;
    case M::menMode: app::menMode_Click(st_); return true;
    case M::menOpt: app::menOpt_Click(st_); return true;
    case M::menQuit: Quit(); return true;
    case M::menHelp: app::menHelp_Click(st_); return true;
  }
  return false;
}

void MainWindow::Sync() {
  controls_.Push([this](int id) { return st_.main.State(id); });
  if (st_.main.caption != caption_) {
    caption_ = st_.main.caption;
    SetWindowTextW(hwnd_, Wide(caption_).c_str());
  }
  if (st_.main.Timer1Enabled != timerRunning_) {
    timerRunning_ = st_.main.Timer1Enabled;
    if (timerRunning_) {
      SetTimer(hwnd_, kTimer1, kTimer1IntervalMs, nullptr);
    } else {
      KillTimer(hwnd_, kTimer1);
    }
  }
  if (st_.main.focus != focus_) {
    // Noted first: the control reports its new focus back while it takes it.
    focus_ = st_.main.focus;
    if (HWND control = controls_.Control(static_cast<int>(focus_))) SetFocus(control);
  }
}

void MainWindow::FitClientArea() {
  RECT client{}, outer{};
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &outer);
  const int dx = TwipsToPixels(ui::AusGabe::kClientWidthTwips, ScreenDpiX()) - client.right;
  const int dy = TwipsToPixels(ui::AusGabe::kClientHeightTwips, ScreenDpiY()) - client.bottom;
  if (dx == 0 && dy == 0) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
