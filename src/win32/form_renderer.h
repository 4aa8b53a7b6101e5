#pragma once
// Builds a form's controls from its layout table and keeps them in step
// with the portable model: after each event only what changed is pushed to
// the windows, so a record a second that changes nothing redraws nothing.
#include <windows.h>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "ui/form_layout.h"

namespace skylet::win32 {

// A picture box tells its form through WM_COMMAND with the notification
// code an edit box uses when it gets the focus, so both arrive alike.
inline constexpr WORD kNotifyGotFocus = EN_SETFOCUS;
// A picture box's key: wParam the virtual key, lParam the control id.
inline constexpr UINT kMsgPictureKeyDown = WM_APP + 1;

// The property each control carries with its documented name as a global
// atom, so a program outside (the test driver) can tell the controls apart.
inline constexpr wchar_t kNameProperty[] = L"SkyletName";

int TwipsToPixels(double twips, int dpi);

class FormRenderer {
 public:
  FormRenderer() = default;
  ~FormRenderer();
  FormRenderer(const FormRenderer&) = delete;
  FormRenderer& operator=(const FormRenderer&) = delete;

  // Creates every control of the table as a child of `parent`, in table
  // order, which is the tab order.
  bool Create(HWND parent, HINSTANCE instance, std::span<const ui::ControlLayout> layout);

  // Pushes every text, visibility and enabled state that differs from what
  // the controls show.
  void Push(const std::function<ui::ControlState(int id)>& stateOf);

  HWND Control(int id) const;

  // Answers WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC for one of the controls:
  // the brush to paint with, or null when the system colours stay.
  HBRUSH Colours(HWND control, HDC dc);

 private:
  struct Item {
    const ui::ControlLayout* layout;
    HWND hwnd;
    // What the control shows now.
    std::string text;
    bool visible;
    bool enabled;
  };

  HFONT Font(const ui::FontSpec* style, int dpi);
  HBRUSH Brush(COLORREF colour);
  const Item* Find(HWND control) const;

  std::vector<Item> items_;
  std::map<const ui::FontSpec*, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace skylet::win32
