#include "win32/form_renderer.h"

#include <climits>
#include <cmath>
#include <cwchar>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "ui/form_events.h"

#include "win32/win32_screen.h"
#include "win32/win32_text.h"

namespace skylet::win32 {

namespace {

constexpr wchar_t kPictureClass[] = L"SkyletPictureBox";

// A picture box: no look of its own, but it takes the focus and every key,
// and tells its form about both.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const HWND parent = GetParent(hwnd);
  const int id = GetDlgCtrlID(hwnd);
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, kNotifyGotFocus),
                   reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_KEYDOWN:
      SendMessageW(parent, kMsgPictureKeyDown, wp, id);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

bool RegisterPictureClass(HINSTANCE instance) {
  // Registered with the first form, unregistered when the program ends.
  static const WindowClass registered(FormClass(instance, kPictureClass, &PictureProc));
  return static_cast<bool>(registered);
}

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool FaceInstalled(const std::wstring& face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  bool found = false;
  const ScreenDc dc;
  EnumFontFamiliesExW(dc.Get(), &lf, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// The face asked for, or the nearest one installed: Wine, for one, comes
// without Courier New. A fixed-pitch face is replaced by a fixed-pitch one,
// so columns of digits stay aligned.
std::wstring ChooseFace(const ui::FontSpec& style) {
  const std::wstring wanted = Wide(style.face);
  if (FaceInstalled(wanted)) return wanted;
  const auto fixed = {L"Courier New", L"Liberation Mono", L"DejaVu Sans Mono", L"Courier",
                      L"Lucida Console"};
  // Narrow faces first: the captions were measured for MS Sans Serif.
  const auto proportional = {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma", L"Arial",
                             L"Liberation Sans", L"DejaVu Sans Condensed", L"DejaVu Sans"};
  for (const wchar_t* face : style.fixedPitch ? fixed : proportional) {
    if (FaceInstalled(face)) return face;
  }
  return L"";  // the font mapper's choice for the pitch and family below
}

}  // namespace

HFONT MakeFont(const ui::FontSpec& style, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(style.points * dpi / 72.0));
  lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily =
      static_cast<BYTE>(style.fixedPitch ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS));
  const std::wstring face = ChooseFace(style);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

namespace {

COLORREF ToColorRef(uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

// Names the control for programs outside. Looked up before it is added, so
// a name that already has its atom does not raise the atom's count again
// with every start of the program.
void SetName(HWND hwnd, const char* name) {
  const std::wstring wide = Wide(name);
  ATOM atom = GlobalFindAtomW(wide.c_str());
  if (!atom) atom = GlobalAddAtomW(wide.c_str());
  if (atom) SetPropW(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

int TwipsToPixels(double twips, int dpi) {
  return MulDiv(static_cast<int>(std::lround(twips)), dpi, 1440);
}

WNDCLASSEXW FormClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return wc;
}

void FormRenderer::Clear() {
  for (const Item& item : items_) {
    if (IsWindow(item.hwnd)) RemovePropW(item.hwnd, kNameProperty);
  }
  items_.clear();
}

namespace {

struct WindowKind {
  const wchar_t* cls;
  DWORD style;
};

// The Windows control that plays each kind. Check and option buttons are
// not the automatic ones: the model decides what they show.
WindowKind KindStyle(ui::ControlKind kind, const ui::ControlRow& row) {
  using K = ui::ControlKind;
  switch (kind) {
    case K::Frame: return {L"Button", BS_GROUPBOX};
    // A caption too long for its label is cut, not wrapped onto a line
    // that the label has no room for.
    case K::Label: return {L"Static", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX};
    case K::TextBox:
      // The display boxes only show what the program found; typing into
      // them would change nothing but the picture.
      return {L"Edit", static_cast<DWORD>(ES_LEFT | ES_AUTOHSCROLL | (row.readOnly ? ES_READONLY : 0))};
    case K::PictureBox: return {kPictureClass, 0};
    case K::CommandButton: return {L"Button", BS_PUSHBUTTON | BS_NOTIFY};
    case K::CheckBox: return {L"Button", BS_CHECKBOX | BS_NOTIFY};
    case K::OptionButton: return {L"Button", BS_RADIOBUTTON | BS_NOTIFY};
    case K::ListBox:
      return {L"ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL};
    case K::ScrollBar: return {L"ScrollBar", SBS_VERT};
  }
  return {L"Static", 0};
}

// A spin button's up arrow raises the value; Windows counts positions from
// the top, so the bar shows the value turned round.
int ScrollPosition(int value) { return -value; }

}  // namespace

bool FormRenderer::Create(HWND parent, HINSTANCE instance, std::span<const ui::ControlRow> rows,
                          Station& st) {
  if (!RegisterPictureClass(instance)) return false;
  const int dpiX = ScreenDpiX();
  const int dpiY = ScreenDpiY();
  items_.reserve(rows.size());
  for (const ui::ControlRow& row : rows) {
    int left = row.left;
    int top = row.top;
    if (row.container) {
      for (const ui::ControlRow& holder : rows) {
        if (std::string_view(holder.name) == row.container) {
          left += holder.left;
          top += holder.top;
        }
      }
    }
    // Both edges from twips, so neighbours do not drift apart by rounding.
    const int x = TwipsToPixels(left, dpiX);
    const int y = TwipsToPixels(top, dpiY);
    const int cx = TwipsToPixels(left + row.width, dpiX) - x;
    const int cy = TwipsToPixels(top + row.height, dpiY) - y;

    const ui::ControlView view = ui::View((*row.control)(st));
    const WindowKind kind = KindStyle(view.kind, row);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style | (row.tabStop ? WS_TABSTOP : 0) |
                        (row.border == ui::Border::Single ? WS_BORDER : 0);
    const DWORD exStyle = row.border == ui::Border::Sunken ? WS_EX_CLIENTEDGE : 0;
    const int id = kFirstControlId + static_cast<int>(&row - rows.data());
    HWND hwnd = CreateWindowExW(exStyle, kind.cls, L"", style, x, y, cx, cy, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                nullptr);
    if (!hwnd) return false;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(row.font, dpiY)), FALSE);
    if (view.kind == ui::ControlKind::ScrollBar) {
      SetScrollRange(hwnd, SB_CTL, ScrollPosition(forms::ScrollBar::kMax),
                     ScrollPosition(forms::ScrollBar::kMin), FALSE);
    }
    SetName(hwnd, row.name);
    // Marked as showing nothing, so the first push sets every state.
    Item item{&row, view.kind, hwnd, {}, false, true, 0, {}};
    item.value = INT_MIN;
    items_.push_back(std::move(item));
  }
  // A frame lies beneath what it holds, so it never paints over them. Each
  // new control goes below the earlier ones, hence only now.
  for (const Item& item : items_) {
    if (item.kind == ui::ControlKind::Frame) {
      SetWindowPos(item.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  Push(st);
  return true;
}

void FormRenderer::Push(Station& st) {
  pushing_ = true;
  for (Item& item : items_) PushOne(item, ui::View((*item.row->control)(st)));
  pushing_ = false;
}

void FormRenderer::PushOne(Item& item, const ui::ControlView& view) {
  using K = ui::ControlKind;
  if (view.items && *view.items != item.items) {
    item.items = *view.items;
    SendMessageW(item.hwnd, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : item.items) {
      SendMessageW(item.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
    }
    item.value = -1;  // the selection went with the rows
  }
  if (view.text && item.kind != K::ListBox && *view.text != item.text) {
    item.text = *view.text;
    SetWindowTextW(item.hwnd, Wide(item.text).c_str());
  }
  if (view.value != item.value) {
    item.value = view.value;
    switch (item.kind) {
      case K::CheckBox:
      case K::OptionButton:
        SendMessageW(item.hwnd, BM_SETCHECK, item.value ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case K::ListBox: SendMessageW(item.hwnd, LB_SETCURSEL, item.value, 0); break;
      case K::ScrollBar: SetScrollPos(item.hwnd, SB_CTL, ScrollPosition(item.value), TRUE); break;
      default: break;
    }
  }
  if (view.visible != item.visible) {
    item.visible = view.visible;
    ShowWindow(item.hwnd, item.visible ? SW_SHOWNA : SW_HIDE);
  }
  if (view.enabled != item.enabled) {
    item.enabled = view.enabled;
    EnableWindow(item.hwnd, item.enabled);
  }
}

HWND FormRenderer::Control(const std::string& name) const {
  for (const Item& item : items_) {
    if (item.row->index < 0 && name == item.row->name) return item.hwnd;
  }
  return nullptr;
}

const ui::ControlRow* FormRenderer::RowOf(HWND control) const {
  const Item* item = Find(control);
  return item ? item->row : nullptr;
}

HBRUSH FormRenderer::Colours(HWND control, HDC dc) {
  const Item* item = Find(control);
  if (!item) return nullptr;
  const ui::ControlRow& row = *item->row;
  // A box is white unless the table says otherwise, also while it is
  // read-only (the system would paint it like a label).
  const bool box = item->kind == ui::ControlKind::TextBox;
  if (!box && row.foreColour == ui::kSystemColour && row.backColour == ui::kSystemColour) {
    return nullptr;
  }
  const COLORREF fore = row.foreColour != ui::kSystemColour
                            ? ToColorRef(row.foreColour)
                            : GetSysColor(box ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
  const COLORREF back = row.backColour != ui::kSystemColour
                            ? ToColorRef(row.backColour)
                            : GetSysColor(box ? COLOR_WINDOW : COLOR_BTNFACE);
  SetTextColor(dc, fore);
  SetBkColor(dc, back);
  return Brush(back);
}

HFONT FormRenderer::Font(const ui::FontSpec* style, int dpi) {
  if (!style) style = &ui::kStandardFont;
  auto it = fonts_.find(style);
  if (it == fonts_.end()) it = fonts_.emplace(style, MakeFont(*style, dpi)).first;
  // A font that could not be made leaves the control with the stock GUI
  // font. That one is the system's and must never be deleted, so it is not
  // kept among the fonts owned here.
  return it->second ? it->second.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH FormRenderer::Brush(COLORREF colour) {
  auto it = brushes_.find(colour);
  if (it == brushes_.end()) it = brushes_.emplace(colour, CreateSolidBrush(colour)).first;
  return it->second.Get();
}

const FormRenderer::Item* FormRenderer::Find(HWND control) const {
  for (const Item& item : items_) {
    if (item.hwnd == control) return &item;
  }
  return nullptr;
}

}  // namespace skylet::win32
