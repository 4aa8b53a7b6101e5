#include "win32/traffic_window.h"

#include <algorithm>
#include <climits>
#include <string>

#include "settings/writers.h"
#include "ui/form_table.h"
#include "win32/form_renderer.h"
#include "win32/win32_screen.h"
#include "win32/win32_text.h"

namespace skylet::win32 {

namespace {

constexpr wchar_t kClassName[] = L"SkyletVerkehr";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTakeEveryMs = 1000;  // a record comes once a second
constexpr ULONGLONG kBarLagMs = 30000;
constexpr int kListId = 100, kBarId = 101, kFirstLinkId = 110, kCopyId = 120, kClearId = 121;
constexpr const char* kLinkNames[traffic::kLinks] = {"chkAvor",    "chkFunkgeraet", "chkRotor", "chkCatServer",
                                                     "chkRigctld", "chkRotctld",    "chkSkylet"};
// At 96 dots per inch: the row of switches and buttons above the list.
constexpr int kMargin = 6, kRow = 22, kCheckWidth = 86, kButtonWidth = 72;

int Scaled(int pixels) { return MulDiv(pixels, ScreenDpiX(), 96); }
double Twips(int pixels, int dpi) { return pixels * 1440.0 / dpi; }

HWND Child(HWND parent, const wchar_t* cls, const std::string& text, DWORD style, int id, const char* name,
           HFONT font) {
  HWND hwnd = CreateWindowExW(0, cls, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 10, 10,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SetName(hwnd, name);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

}  // namespace

void TrafficWindow::Sync(HWND owner) {
  const forms::Verkehr& v = st_.verkehr;
  if (v.visible && !hwnd_ && !Create(owner)) {
    st_.verkehr.visible = false;
    return;
  }
  if (!hwnd_ || v.visible == (IsWindowVisible(hwnd_) != 0)) return;
  if (v.visible) {
    Refill();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetTimer(hwnd_, kTimerId, kTakeEveryMs, nullptr);
  } else {
    // Closed, the window costs nothing: no timer, no lines taken.
    KillTimer(hwnd_, kTimerId);
    ShowWindow(hwnd_, SW_HIDE);
  }
}

bool TrafficWindow::Create(HWND owner) {
  static const WindowClass registered(FormClass(instance_, kClassName, &Proc));
  if (!registered) return false;
  const forms::Verkehr& v = st_.verkehr;
  const int dx = ScreenDpiX(), dy = ScreenDpiY();
  RECT main{};
  GetWindowRect(owner, &main);
  // Never placed before: beside the main window.
  const int left = v.placed ? TwipsToPixels(v.Left, dx) : main.right + Scaled(8);
  const int top = v.placed ? TwipsToPixels(v.Top, dy) : main.top;
  hwnd_ = CreateWindowExW(0, kClassName, Wide(v.caption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top,
                          TwipsToPixels(v.Width, dx), TwipsToPixels(v.Height, dy), owner, nullptr, instance_, this);
  if (!hwnd_) return false;
  font_ = Gdi<HFONT>(MakeFont(ui::kStandardFont, dy));
  fixed_ = Gdi<HFONT>(MakeFont(ui::kCourierNew9, dy));
  for (int i = 0; i < traffic::kLinks; ++i) {
    links_[i] = Child(hwnd_, L"Button", std::string(traffic::LinkName(static_cast<traffic::Link>(i))),
                      BS_AUTOCHECKBOX, kFirstLinkId + i, kLinkNames[i], font_.Get());
    SendMessageW(links_[i], BM_SETCHECK, v.shown[i] ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  copy_ = Child(hwnd_, L"Button", "&Kopieren", BS_PUSHBUTTON, kCopyId, "cmdKopieren", font_.Get());
  clear_ = Child(hwnd_, L"Button", "&Leeren", BS_PUSHBUTTON, kClearId, "cmdLeeren", font_.Get());
  // No scroll bars of the list's own (see bar_); a line wider than the window is cut in view, whole
  // in a copy and in the log file.
  list_ = Child(hwnd_, L"ListBox", "", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_BORDER, kListId,
                "lstVerkehr", fixed_.Get());
  bar_ = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 10, 10, hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBarId)), nullptr, nullptr);
  Layout();
  return true;
}

void TrafficWindow::Layout() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  int x = Scaled(kMargin);
  const int y = Scaled(kMargin), h = Scaled(kRow);
  for (HWND box : links_) {
    MoveWindow(box, x, y, Scaled(kCheckWidth), h, TRUE);
    x += Scaled(kCheckWidth);
  }
  for (HWND button : {copy_, clear_}) {
    MoveWindow(button, x + Scaled(kMargin), y, Scaled(kButtonWidth), h, TRUE);
    x += Scaled(kButtonWidth + kMargin);
  }
  const int listTop = y + h + Scaled(kMargin), barWidth = GetSystemMetrics(SM_CXVSCROLL);
  const int listHeight = std::max(0, static_cast<int>(client.bottom) - listTop);
  MoveWindow(list_, 0, listTop, std::max(0, static_cast<int>(client.right) - barWidth), listHeight, TRUE);
  MoveWindow(bar_, std::max(0, static_cast<int>(client.right) - barWidth), listTop, barWidth, listHeight, TRUE);
  SyncBar(true);
}

int TrafficWindow::Rows() const {
  RECT box{};
  GetClientRect(list_, &box);
  const LRESULT rowHeight = std::max<LRESULT>(1, SendMessageW(list_, LB_GETITEMHEIGHT, 0, 0));
  return std::max(1, static_cast<int>(box.bottom / rowHeight));
}

void TrafficWindow::SyncBar(bool always) {
  const int count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
  const int top = static_cast<int>(SendMessageW(list_, LB_GETTOPINDEX, 0, 0)), rows = Rows();
  RECT box{};
  GetClientRect(bar_, &box);
  const int track = std::max(1, static_cast<int>(box.bottom) - 2 * GetSystemMetrics(SM_CYVSCROLL));
  const int thumb = count > rows ? std::max(GetSystemMetrics(SM_CYVTHUMB), MulDiv(track, rows, count)) : track;
  const int at = count > rows ? MulDiv(track - thumb, top, count - rows) : 0;
  if (!always && thumb == barThumb_ && at == barAt_) return;
  // While the list follows the end the bar may lag a little; an operator who scrolled sees it at once.
  const bool following = top + rows >= count;
  if (!always && following && GetTickCount64() - barSetAt_ < kBarLagMs) return;
  barSetAt_ = GetTickCount64();
  barThumb_ = thumb;
  barAt_ = at;
  SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, std::max(0, count - 1), static_cast<UINT>(rows),
                  top, 0};
  SetScrollInfo(bar_, SB_CTL, &info, TRUE);
}

void TrafficWindow::Scroll(WPARAM request) {
  const int top = static_cast<int>(SendMessageW(list_, LB_GETTOPINDEX, 0, 0)), rows = Rows();
  int to = top;
  switch (LOWORD(request)) {
    case SB_LINEUP: to = top - 1; break;
    case SB_LINEDOWN: to = top + 1; break;
    case SB_PAGEUP: to = top - rows; break;
    case SB_PAGEDOWN: to = top + rows; break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = INT_MAX / 2; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(bar_, SB_CTL, &info);
      to = info.nTrackPos;
      break;
    }
    default: return;
  }
  const int last = std::max(0, static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)) - rows);
  SendMessageW(list_, LB_SETTOPINDEX, std::clamp(to, 0, last), 0);
  SyncBar(true);
}

void TrafficWindow::Refill() {
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  const traffic::Ring& ring = st_.os.traffic.ring();
  taken_ = ring.Added() - ring.Size();
  TakeNew();
  SendMessageW(list_, LB_SETTOPINDEX, std::max<LRESULT>(0, SendMessageW(list_, LB_GETCOUNT, 0, 0) - 1), 0);
  SyncBar(true);
}

void TrafficWindow::TakeNew() {
  const traffic::Ring& ring = st_.os.traffic.ring();
  const uint64_t fresh = std::min<uint64_t>(ring.Added() - taken_, ring.Size());
  taken_ = ring.Added();
  // The keys and the wheel scroll the list itself: the bar follows.
  SyncBar(false);
  if (fresh == 0) return;
  // The list follows the end unless the operator scrolled up to read.
  const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
  const bool atEnd = SendMessageW(list_, LB_GETTOPINDEX, 0, 0) + Rows() >= count;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  bool added = false;
  for (size_t i = ring.Size() - static_cast<size_t>(fresh); i < ring.Size(); ++i) {
    const traffic::Line& line = ring.At(i);
    if (!st_.verkehr.shown[static_cast<size_t>(line.link)]) continue;
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(traffic::Format(line)).c_str()));
    added = true;
  }
  // No more lines than the record holds: the oldest go.
  while (SendMessageW(list_, LB_GETCOUNT, 0, 0) > static_cast<LRESULT>(traffic::kRingLines)) {
    SendMessageW(list_, LB_DELETESTRING, 0, 0);
  }
  if (atEnd) SendMessageW(list_, LB_SETTOPINDEX, SendMessageW(list_, LB_GETCOUNT, 0, 0) - 1, 0);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  if (!added) return;
  // Every row paints its whole width; only the lines cleared (Leeren, a link switched) leave
  // ground to erase, and the list box erases that itself.
  InvalidateRect(list_, nullptr, FALSE);
  SyncBar(false);
}

void TrafficWindow::Copy() {
  const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
  const LRESULT selected = SendMessageW(list_, LB_GETSELCOUNT, 0, 0);
  std::wstring text;
  // The selected lines, or all when none is selected.
  for (LRESULT i = 0; i < count; ++i) {
    if (selected > 0 && SendMessageW(list_, LB_GETSEL, i, 0) <= 0) continue;
    std::wstring line(static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(list_, LB_GETTEXTLEN, i, 0))), L'\0');
    SendMessageW(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
    text += line + L"\r\n";
  }
  if (text.empty() || !OpenClipboard(hwnd_)) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    // The clipboard owns the memory once it took it.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

void TrafficWindow::KeepPlace() {
  if (!IsWindowVisible(hwnd_) || IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
  RECT r{};
  GetWindowRect(hwnd_, &r);
  forms::Verkehr& v = st_.verkehr;
  v.Left = Twips(r.left, ScreenDpiX());
  v.Top = Twips(r.top, ScreenDpiY());
  v.Width = Twips(r.right - r.left, ScreenDpiX());
  v.Height = Twips(r.bottom - r.top, ScreenDpiY());
  v.placed = true;
}

bool TrafficWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || GetAncestor(msg.hwnd, GA_ROOT) != hwnd_) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == 'C' && GetKeyState(VK_CONTROL) < 0) {
    Copy();
    return true;
  }
  return IsDialogMessageW(hwnd_, &msg) != 0;
}

LRESULT CALLBACK TrafficWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TrafficWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<TrafficWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self && self->list_ ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT TrafficWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimerId) TakeNew();
      return 0;
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lp) == bar_) Scroll(wp);
      return 0;
    case WM_SIZE:
      Layout();
      KeepPlace();
      return 0;
    case WM_MOVE:
      KeepPlace();
      return 0;
    case WM_GETMINMAXINFO: {
      // Every switch and button stays in view.
      auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
      limits->ptMinTrackSize.x = Scaled(2 * kMargin + 7 * kCheckWidth + 2 * (kButtonWidth + kMargin) + 16);
      limits->ptMinTrackSize.y = Scaled(160);
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (HIWORD(wp) != BN_CLICKED) break;
      if (id == kCopyId) Copy();
      if (id == kClearId) {
        st_.os.traffic.Clear();
        Refill();
      }
      if (id >= kFirstLinkId && id < kFirstLinkId + traffic::kLinks) {
        st_.verkehr.shown[id - kFirstLinkId] = SendMessageW(links_[id - kFirstLinkId], BM_GETCHECK, 0, 0) == BST_CHECKED;
        Refill();
      }
      return 0;
    }
    case WM_CLOSE:
      // The close box hides it; its place and choice of links are kept.
      st_.verkehr.visible = false;
      Sync(nullptr);
      settings::WriteVerkehr(st_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace skylet::win32
