#include "win32/form_window.h"

#include "ui/form_events.h"
#include "win32/form_host.h"
#include "win32/owned.h"
#include "win32/win32_screen.h"
#include "win32/win32_text.h"

namespace skylet::win32 {

namespace {

constexpr wchar_t kClassName[] = L"SkyletForm";
constexpr UINT_PTR kTimerId = 1;
// Menu entries: their place on the menu bar from here on.
constexpr int kFirstMenuId = 1000;
// Skylet's own system menu entries. Windows keeps the low four bits of a
// system command for itself, so the entries lie 16 apart, below the
// system's own commands (0xF000 and up).
constexpr UINT kFirstSystemMenuId = 0x1000;
constexpr UINT kSystemMenuIdStep = 0x10;

double PixelsToTwips(int pixels, int dpi) { return pixels * 1440.0 / dpi; }

// The shift state as the keyboard handlers take it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

struct FrameStyle {
  DWORD style;
  DWORD exStyle;
};

FrameStyle StyleOf(ui::FormBorder border) {
  switch (border) {
    case ui::FormBorder::FixedToolWindow:
      return {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW};
    case ui::FormBorder::FixedSingle:
      break;
  }
  // Fixed single border, no maximise button.
  return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0};
}

bool RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
  // Registered with the first window, unregistered when the program ends.
  static const WindowClass registered = [&] {
    WNDCLASSEXW wc = FormClass(instance, kClassName, proc);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    return WindowClass(wc);
  }();
  return static_cast<bool>(registered);
}

Menu BuildMenuBar(std::span<const ui::MenuRow> menus) {
  if (menus.empty()) return {};
  Menu bar(CreateMenu());
  if (!bar) return {};
  for (size_t i = 0; i < menus.size(); ++i) {
    AppendMenuW(bar.Get(), MF_STRING, kFirstMenuId + i, Wide(menus[i].caption).c_str());
  }
  return bar;
}

// Below a separator, after the system's own entries; the window owns its
// copy of the system menu and destroys it with itself.
void AddSystemMenuEntries(HWND window, std::span<const ui::MenuRow> entries) {
  if (entries.empty()) return;
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (size_t i = 0; i < entries.size(); ++i) {
    AppendMenuW(menu, MF_STRING, kFirstSystemMenuId + i * kSystemMenuIdStep,
                Wide(entries[i].caption).c_str());
  }
}

}  // namespace

FormWindow::~FormWindow() { Destroy(); }

bool FormWindow::Create(HINSTANCE instance, HWND owner) {
  if (!RegisterFormClass(instance, &FormWindow::Proc)) return false;
  const FrameStyle frame = StyleOf(table_.border);
  Menu menu = BuildMenuBar(table_.menus);
  RECT r{0, 0, TwipsToPixels(table_.clientWidth, ScreenDpiX()),
         TwipsToPixels(table_.clientHeight, ScreenDpiY())};
  AdjustWindowRectEx(&r, frame.style, menu ? TRUE : FALSE, frame.exStyle);
  hwnd_ = CreateWindowExW(frame.exStyle, kClassName, L"", frame.style, CW_USEDEFAULT,
                          CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner, menu.Get(),
                          instance, this);
  if (!hwnd_) return false;
  // The window destroys its menu bar with itself.
  menu.Release();
  AddSystemMenuEntries(hwnd_, table_.systemMenu);
  if (!controls_.Create(hwnd_, instance, table_.controls, st_)) return false;
  FitClientArea();
  return true;
}

void FormWindow::Destroy() {
  if (!hwnd_) return;
  controls_.Clear();
  HWND gone = hwnd_;
  hwnd_ = nullptr;  // no more events reach the form from here on
  SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
  DestroyWindow(gone);
  shown_ = placed_ = timerRunning_ = false;
  caption_.clear();
  focus_.clear();
}

LRESULT CALLBACK FormWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT FormWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp != kTimerId || !table_.timer) break;
      table_.timer->Timer(st_);
      host_.SyncAll();
      return 0;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) host_.SyncAll();
      return 0;
    case WM_SYSCOMMAND: {
      const UINT id = static_cast<UINT>(wp) & 0xFFF0;
      const UINT entry = (id - kFirstSystemMenuId) / kSystemMenuIdStep;
      if (id < kFirstSystemMenuId || entry >= table_.systemMenu.size()) break;
      ui::MenuClick(st_, table_.systemMenu[entry]);
      host_.SyncAll();
      return 0;
    }
    case WM_VSCROLL:
      if (OnScroll(reinterpret_cast<HWND>(lp), LOWORD(wp))) host_.SyncAll();
      return 0;
    case kMsgPictureKeyDown:
      if (const ui::ControlRow* row = controls_.RowOf(GetDlgItem(hwnd_, static_cast<int>(lp)))) {
        ui::KeyDown(st_, *row, static_cast<int>(wp), ShiftState());
        host_.SyncAll();
      }
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = controls_.Colours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_ACTIVATE:
      // Coming back to the window gives the keys back to the control that
      // had them, not to the bare window.
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
        RestoreFocus();
        return 0;
      }
      break;
    case WM_MOVE:
    case WM_SIZE:
      // The dialogs open relative to where the main window is now.
      if (shown_) PullPlace();
      break;
    case kMsgListClicked: {
      const HWND list = reinterpret_cast<HWND>(lp);
      const bool unchanged = list == pressedList_ && !pressChangedSelection_;
      pressedList_ = nullptr;
      const ui::ControlRow* row = controls_.RowOf(list);
      if (!unchanged || !row) return 0;
      ui::SelectItem(st_, *row, static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
      host_.SyncAll();
      return 0;
    }
    case kMsgShowNotices:
      host_.ShowNotices();
      return 0;
    case WM_CLOSE:
      ui::CloseBox(st_, table_);
      host_.SyncAll();
      return 0;
    case WM_QUERYENDSESSION:
      // Windows shutting down closes the window like its close box.
      ui::CloseBox(st_, table_);
      host_.SyncAll();
      return TRUE;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool FormWindow::OnCommand(int id, WORD code, HWND control) {
  using K = ui::ControlKind;
  if (!control) {
    const int menu = id - kFirstMenuId;
    if (code != 0 || menu < 0 || menu >= static_cast<int>(table_.menus.size())) return false;
    ui::MenuClick(st_, table_.menus[menu]);
    return true;
  }
  const ui::ControlRow* row = controls_.RowOf(control);
  if (!row) return false;
  // Where the keys are now; a GotFocus handler may send them on.
  const auto gotFocus = [&] {
    focus_ = row->name;
    ui::GotFocus(st_, table_, *row);
    return true;
  };
  // Notification codes mean different things for each class of control.
  switch (ui::KindOf((*row->control)(st_))) {
    case K::Label:
      if (code != STN_CLICKED) return false;
      ui::Click(st_, table_, *row);
      return true;
    case K::TextBox:
      if (code == EN_SETFOCUS) return gotFocus();
      // A text the program pushed is no typing.
      if (code != EN_CHANGE || controls_.Pushing()) return false;
      {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        ui::Type(st_, *row, Narrow(text));
      }
      return true;
    case K::PictureBox:
      return code == kNotifyGotFocus && gotFocus();
    case K::CommandButton:
    case K::CheckBox:
    case K::OptionButton:
      if (code == BN_SETFOCUS) return gotFocus();
      if (code != BN_CLICKED) return false;
      ui::Click(st_, table_, *row);
      return true;
    case K::ListBox:
      if (code == LBN_SETFOCUS) return gotFocus();
      if (code != LBN_SELCHANGE) return false;
      if (control == pressedList_) pressChangedSelection_ = true;
      ui::SelectItem(st_, *row, static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0)));
      return true;
    case K::Frame:
    case K::ScrollBar:
      break;
  }
  return false;
}

bool FormWindow::OnScroll(HWND control, WORD request) {
  const ui::ControlRow* row = controls_.RowOf(control);
  if (!row) return false;
  // The up arrow raises the value; a click on the bar itself counts as one
  // step too. Nothing else moves a spin button.
  switch (request) {
    case SB_LINEUP:
    case SB_PAGEUP: ui::Spin(st_, *row, +1); return true;
    case SB_LINEDOWN:
    case SB_PAGEDOWN: ui::Spin(st_, *row, -1); return true;
    default: return false;
  }
}

void FormWindow::Sync() {
  if (!hwnd_) return;
  const forms::FormState& form = (*table_.state)(st_);
  controls_.Push(st_);
  if (!hwnd_) return;  // a pushed state ran a handler that unloaded the form
  if (form.caption != caption_) {
    caption_ = form.caption;
    SetWindowTextW(hwnd_, Wide(caption_).c_str());
  }
  if (table_.timer) {
    const bool wanted = table_.timer->enabled(st_);
    if (wanted != timerRunning_) {
      timerRunning_ = wanted;
      if (wanted) {
        SetTimer(hwnd_, kTimerId, static_cast<UINT>(table_.timer->intervalMs), nullptr);
      } else {
        KillTimer(hwnd_, kTimerId);
      }
    }
  }
  if (!placed_ || form.Left != left_ || form.Top != top_) PushPlace();
  if (form.visible && !shown_) {
    shown_ = true;
    ShowWindow(hwnd_, table_.menus.empty() ? SW_SHOW : SW_SHOWNORMAL);
    FitClientArea();
    UpdateWindow(hwnd_);
    focus_ = form.focus;
    RestoreFocus();
  } else if (!form.visible && shown_) {
    shown_ = false;
    ShowWindow(hwnd_, SW_HIDE);
  }
  if (form.focus != focus_) {
    // Noted first: the control reports its new focus back while it takes it.
    focus_ = form.focus;
    if (shown_) RestoreFocus();
  }
}

void FormWindow::ListPressed(HWND list) {
  pressedList_ = controls_.RowOf(list) ? list : nullptr;
  pressChangedSelection_ = false;
}

void FormWindow::RestoreFocus() {
  if (!hwnd_ || !shown_) return;
  HWND control = controls_.Control(focus_);
  if (!control) control = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (control) SetFocus(control);
}

void FormWindow::FitClientArea() {
  RECT client{}, outer{};
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &outer);
  const int dx = TwipsToPixels(table_.clientWidth, ScreenDpiX()) - client.right;
  const int dy = TwipsToPixels(table_.clientHeight, ScreenDpiY()) - client.bottom;
  if (dx == 0 && dy == 0) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::PullPlace() {
  forms::FormState& form = (*table_.state)(st_);
  if (IsIconic(hwnd_)) {
    form.windowState = forms::WindowState::Minimized;
  } else if (IsZoomed(hwnd_)) {
    form.windowState = forms::WindowState::Maximized;
  } else {
    form.windowState = forms::WindowState::Normal;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    form.Left = left_ = PixelsToTwips(r.left, ScreenDpiX());
    form.Top = top_ = PixelsToTwips(r.top, ScreenDpiY());
  }
}

void FormWindow::PushPlace() {
  const forms::FormState& form = (*table_.state)(st_);
  left_ = form.Left;
  top_ = form.Top;
  placed_ = true;
  SetWindowPos(hwnd_, nullptr, TwipsToPixels(left_, ScreenDpiX()), TwipsToPixels(top_, ScreenDpiY()),
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace skylet::win32
