#include "common/status_window.h"

namespace partners {
namespace {

constexpr char kClassName[] = "SkyletPartnerWindow";
constexpr size_t kLinesShown = 6;
constexpr int kWidth = 480;
constexpr int kHeight = 150;
// Carries a heap-held std::function<void()> in its LPARAM.
constexpr UINT kRunTask = WM_APP + 1;

}  // namespace

bool StatusWindow::Create(HINSTANCE instance, const std::string& caption, int show, int slot) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExA(&wc)) return false;
  const int left = GetSystemMetrics(SM_CXSCREEN) - kWidth;
  window_ = CreateWindowExA(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, left > 0 ? left : 0,
                            slot * kHeight, kWidth, kHeight, nullptr, nullptr, instance, this);
  if (!window_) return false;
  ShowWindow(window_, show);
  return true;
}

StatusWindow::~StatusWindow() {
  if (window_) DestroyWindow(window_);
}

void StatusWindow::Add(const std::string& line) {
  lines_.push_back(line);
  while (lines_.size() > kLinesShown) lines_.pop_front();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void StatusWindow::SetHeader(std::vector<std::string> lines) {
  header_ = std::move(lines);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void StatusWindow::SetPanel(int width, std::function<void(HDC, const RECT&)> paint) {
  panelWidth_ = width;
  panel_ = std::move(paint);
  Redraw();
}

void StatusWindow::Redraw() {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void StatusWindow::SetInput(std::function<bool(UINT, WPARAM, LPARAM)> input) {
  input_ = std::move(input);
}

bool StatusWindow::Post(std::function<void()> task) {
  auto* held = new std::function<void()>(std::move(task));
  if (window_ && PostMessageA(window_, kRunTask, 0, reinterpret_cast<LPARAM>(held))) return true;
  delete held;
  return false;
}

void StatusWindow::Close() {
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
}

int StatusWindow::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

void StatusWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  RECT panel;
  GetClientRect(window_, &panel);
  panel.left = panel.right - panelWidth_;
  const int saved = SaveDC(dc);
  // A long event is cut at the panel rather than drawn over it.
  if (panel_) ExcludeClipRect(dc, panel.left, panel.top, panel.right, panel.bottom);
  int y = 4;
  const auto draw = [&](const std::string& line) {
    TextOutA(dc, 6, y, line.c_str(), static_cast<int>(line.size()));
    y += metrics.tmHeight;
  };
  for (const std::string& line : header_) draw(line);
  const size_t room = kLinesShown > header_.size() ? kLinesShown - header_.size() : 0;
  for (size_t i = lines_.size() > room ? lines_.size() - room : 0; i < lines_.size(); ++i) {
    draw(lines_[i]);
  }
  RestoreDC(dc, saved);
  if (panel_) panel_(dc, panel);
  EndPaint(window_, &ps);
}

LRESULT CALLBACK StatusWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* self = static_cast<StatusWindow*>(create->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<StatusWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      if (self) {
        self->Paint();
        return 0;
      }
      break;
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL:
      if (self && self->input_ && self->input_(message, wParam, lParam)) return 0;
      break;
    case kRunTask: {
      auto* task = reinterpret_cast<std::function<void()>*>(lParam);
      (*task)();
      delete task;
      return 0;
    }
    case WM_CLOSE:
      // Ends the loop with the window still there: the program ends its DDE
      // conversations first. Destroying a shown window can take Wine 2 s
      // without a window manager (it waits for the X server to confirm),
      // and a quitting server should not keep its clients waiting that long.
      PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
        if (self) self->window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace partners
