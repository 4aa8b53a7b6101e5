#include "win32/form_renderer.h"

#include <cmath>
#include <cwchar>
#include <initializer_list>

#include "win32/services.h"
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
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(instance, kPictureClass, &wc)) return true;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &PictureProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPictureClass;
  return RegisterClassExW(&wc) != 0;
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
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &lf, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
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

COLORREF ToColorRef(uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Names the control for programs outside. Looked up before it is added, so
// a name that already has its atom does not raise the atom's count again
// with every start of the program.
void SetName(HWND hwnd, const char* name) {
  const std::wstring wide = Wide(name);
  ATOM atom = GlobalFindAtomW(wide.c_str());
  if (!atom) atom = GlobalAddAtomW(wide.c_str());
  if (atom) SetPropW(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

}  // namespace

int TwipsToPixels(double twips, int dpi) {
  return MulDiv(static_cast<int>(std::lround(twips)), dpi, 1440);
}

FormRenderer::~FormRenderer() {
  for (const Item& item : items_) {
    if (IsWindow(item.hwnd)) RemovePropW(item.hwnd, kNameProperty);
  }
  for (auto& [style, font] : fonts_) DeleteObject(font);
  for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

bool FormRenderer::Create(HWND parent, HINSTANCE instance,
                          std::span<const ui::ControlLayout> layout) {
  if (!RegisterPictureClass(instance)) return false;
  const int dpiX = ScreenDpiX();
  const int dpiY = ScreenDpiY();
  items_.reserve(layout.size());
  for (const ui::ControlLayout& row : layout) {
    int left = row.left;
    int top = row.top;
    for (const ui::ControlLayout& holder : layout) {
      if (row.container != 0 && holder.id == row.container) {
        left += holder.left;
        top += holder.top;
      }
    }
    // Both edges from twips, so neighbours do not drift apart by rounding.
    const int x = TwipsToPixels(left, dpiX);
    const int y = TwipsToPixels(top, dpiY);
    const int cx = TwipsToPixels(left + row.width, dpiX) - x;
    const int cy = TwipsToPixels(top + row.height, dpiY) - y;

    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (row.visible ? WS_VISIBLE : 0) |
                  (row.tabStop ? WS_TABSTOP : 0) |
                  (row.border == ui::Border::Single ? WS_BORDER : 0);
    const DWORD exStyle = row.border == ui::Border::Sunken ? WS_EX_CLIENTEDGE : 0;
    const wchar_t* cls = L"Static";
    switch (row.kind) {
      case ui::ControlKind::Frame:
        cls = L"Button";
        style |= BS_GROUPBOX;
        break;
      case ui::ControlKind::Label:
        style |= SS_LEFT | SS_NOTIFY | SS_NOPREFIX;
        break;
      case ui::ControlKind::TextBox:
        // The boxes only show what the program found; typing into them
        // would change nothing but the picture.
        cls = L"Edit";
        style |= ES_LEFT | ES_AUTOHSCROLL | ES_READONLY;
        break;
      case ui::ControlKind::PictureBox:
        cls = kPictureClass;
        break;
    }
    const std::wstring caption = Wide(row.caption);
    HWND hwnd = CreateWindowExW(exStyle, cls, caption.c_str(), style, x, y, cx, cy, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance,
                                nullptr);
    if (!hwnd) return false;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(row.font, dpiY)), FALSE);
    SetName(hwnd, row.name);
    items_.push_back({&row, hwnd, row.caption, row.visible, true});
  }
  // A frame lies beneath what it holds, so it never paints over them. Each
  // new control goes below the earlier ones, hence only now.
  for (const Item& item : items_) {
    if (item.layout->kind == ui::ControlKind::Frame) {
      SetWindowPos(item.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  return true;
}

void FormRenderer::Push(const std::function<ui::ControlState(int id)>& stateOf) {
  for (Item& item : items_) {
    const ui::ControlState state = stateOf(item.layout->id);
    if (state.text && *state.text != item.text) {
      item.text = *state.text;
      SetWindowTextW(item.hwnd, Wide(item.text).c_str());
    }
    if (state.visible != item.visible) {
      item.visible = state.visible;
      ShowWindow(item.hwnd, item.visible ? SW_SHOWNA : SW_HIDE);
    }
    if (state.enabled != item.enabled) {
      item.enabled = state.enabled;
      EnableWindow(item.hwnd, item.enabled);
    }
  }
}

HWND FormRenderer::Control(int id) const {
  for (const Item& item : items_) {
    if (item.layout->id == id) return item.hwnd;
  }
  return nullptr;
}

HBRUSH FormRenderer::Colours(HWND control, HDC dc) {
  const Item* item = Find(control);
  if (!item) return nullptr;
  const ui::ControlLayout& row = *item->layout;
  // A box is white unless the table says otherwise, also while it is
  // read-only (the system would paint it like a label).
  const bool box = row.kind == ui::ControlKind::TextBox;
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
  if (it != fonts_.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(style->points * dpi / 72.0));
  lf.lfWeight = style->bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily =
      static_cast<BYTE>(style->fixedPitch ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS));
  const std::wstring face = ChooseFace(*style);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_[style] = font;
  return font;
}

HBRUSH FormRenderer::Brush(COLORREF colour) {
  auto it = brushes_.find(colour);
  if (it != brushes_.end()) return it->second;
  HBRUSH brush = CreateSolidBrush(colour);
  brushes_[colour] = brush;
  return brush;
}

const FormRenderer::Item* FormRenderer::Find(HWND control) const {
  for (const Item& item : items_) {
    if (item.hwnd == control) return &item;
  }
  return nullptr;
}

}  // namespace skylet::win32
