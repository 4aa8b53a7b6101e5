#pragma once
// Builds a form's controls from its table and keeps them in step with the
// model: after each event only what changed is pushed to the windows, so a
// record a second that changes nothing redraws nothing.
#include <windows.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "ui/form_events.h"
#include "ui/form_table.h"
#include "win32/owned.h"

namespace skylet::win32 {

// A picture box tells its form through WM_COMMAND with the notification
// code an edit box uses when it gets the focus, so both arrive alike.
inline constexpr WORD kNotifyGotFocus = EN_SETFOCUS;
// A picture box's key: wParam the virtual key, lParam the control id.
inline constexpr UINT kMsgPictureKeyDown = WM_APP + 1;

// The property each control carries with its documented name as a global
// atom, so a program outside (the test driver) can tell the controls apart.
inline constexpr wchar_t kNameProperty[] = L"SkyletName";

// Control ids: the row's place in the table from here on.
inline constexpr int kFirstControlId = 100;

int TwipsToPixels(double twips, int dpi);
// A font of the style at the screen's resolution, in the nearest face
// installed.
HFONT MakeFont(const ui::FontSpec& style, int dpi);
// Names a control for programs outside: the property below, a global atom.
void SetName(HWND hwnd, const char* name);

// A class for the forms' own windows: the arrow cursor over the button
// face, as a dialog of the system looks.
WNDCLASSEXW FormClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc);

class FormRenderer {
 public:
  FormRenderer() = default;
  ~FormRenderer() { Clear(); }
  FormRenderer(const FormRenderer&) = delete;
  FormRenderer& operator=(const FormRenderer&) = delete;

  // Creates every control of the table as a child of `parent`, in table
  // order, which is the tab order, showing the model's state.
  bool Create(HWND parent, HINSTANCE instance, std::span<const ui::ControlRow> rows, Station& st);
  // Forgets the controls (they go with their parent window).
  void Clear();

  // Pushes every text, state and value that differs from what the controls
  // show. Edit boxes report a pushed text as a change; Pushing() tells.
  void Push(Station& st);
  bool Pushing() const { return pushing_; }

  HWND Control(const std::string& name) const;
  // The row of a control window, or null.
  const ui::ControlRow* RowOf(HWND control) const;

  // Answers WM_CTLCOLOR* for one of the controls: the brush to paint with,
  // or null when the system colours stay.
  HBRUSH Colours(HWND control, HDC dc);

 private:
  struct Item {
    const ui::ControlRow* row;
    ui::ControlKind kind;
    HWND hwnd;
    // What the control shows now.
    std::string text;
    bool visible = true;
    bool enabled = true;
    int value = 0;
    std::vector<std::string> items;
  };

  void PushOne(Item& item, const ui::ControlView& view);
  HFONT Font(const ui::FontSpec* style, int dpi);
  HBRUSH Brush(COLORREF colour);
  const Item* Find(HWND control) const;

  std::vector<Item> items_;
  bool pushing_ = false;
  // Empty where the font could not be made: the stock one stands in.
  std::map<const ui::FontSpec*, Gdi<HFONT>> fonts_;
  std::map<COLORREF, Gdi<HBRUSH>> brushes_;
};

}  // namespace skylet::win32
