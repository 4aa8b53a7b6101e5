#pragma once
// A form as one table. Each row names one control: its documented name, the
// model member it shows (which also fixes its kind), its place and size in
// twips, font, colours and border, and the handlers of the events it
// raises. Adding a control is one member in the form's model (forms/) and
// one row here; the Windows layer renders any table and dispatches every
// notification through it, and the tests drive the same rows headless.
#include <cstdint>
#include <span>
#include <variant>

#include "forms/controls.h"
#include "station/station.h"

namespace skylet::ui {

// The control a row shows, reached in the running station.
using ControlRef =
    std::variant<forms::Frame*, forms::Label*, forms::TextBox*, forms::PictureBox*,
                 forms::CommandButton*, forms::CheckBox*, forms::OptionButton*, forms::ListBox*,
                 forms::ScrollBar*>;

// In the order of the alternatives above.
enum class ControlKind {
  Frame,          // a group frame; the controls it holds are placed inside it
  Label,          // static text; reports clicks
  TextBox,        // one line of text
  PictureBox,     // takes the keyboard focus and the keys
  CommandButton,
  CheckBox,
  OptionButton,   // grouped by the frame (or form) that holds it
  ListBox,
  ScrollBar,      // vertical, used as a spin button
};

inline ControlKind KindOf(const ControlRef& control) {
  return static_cast<ControlKind>(control.index());
}

// Binds a row to `member` of the form `form` of the station, or to element
// `index` of a control array.
template <auto form, auto member>
ControlRef Bind(Station& st) {
  return &((st.*form).*member);
}
template <auto form, auto array, int index>
ControlRef BindAt(Station& st) {
  return &((st.*form).*array)[index];
}

enum class Border {
  None,
  Single,  // a thin flat line
  Sunken,  // the three-dimensional edge of an input box
};

struct FontSpec {
  const char* face;
  double points;
  bool bold;
  bool fixedPitch;  // a stand-in must be fixed-pitch too
};

// Colours as 0xRRGGBB; kSystemColour leaves the system's colour for the kind.
inline constexpr uint32_t kSystemColour = 0xFFFFFFFFu;
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kGreen = 0x00FF00;
inline constexpr uint32_t kYellow = 0xFFFF00;
inline constexpr uint32_t kLightGrey = 0xC0C0C0;

// The forms' standard font, and those the forms set on purpose.
inline constexpr FontSpec kStandardFont{"MS Sans Serif", 8, false, false};
inline constexpr FontSpec kFixedsys9{"Fixedsys", 9, false, true};
inline constexpr FontSpec kCourierNew10Bold{"Courier New", 10.5, true, true};
inline constexpr FontSpec kCourierNew9{"Courier New", 9.75, false, true};

// The handlers a control's events run; null: the event does nothing.
struct Events {
  void (*Click)(Station&) = nullptr;
  // Click of an element of a control array, with its index.
  void (*IndexClick)(Station&, int index) = nullptr;
  // Text typed into a box, or a spin button moved; the model holds the new
  // value when the handler runs.
  void (*Change)(Station&) = nullptr;
  void (*GotFocus)(Station&) = nullptr;
  // Key code as Windows gives it; shift state 1 Shift, 2 Ctrl, 4 Alt.
  void (*KeyDown)(Station&, int keyCode, int shift) = nullptr;
};

struct ControlRow {
  const char* name;
  int index;  // element of a control array; -1 for a single control
  ControlRef (*control)(Station&);
  int left, top, width, height;  // twips, inside the container
  const char* container;  // name of the frame that holds it; null: the form
  const FontSpec* font;
  uint32_t foreColour = kSystemColour;
  uint32_t backColour = kSystemColour;
  Border border = Border::None;
  bool tabStop = false;
  bool readOnly = false;  // a text box that only shows what the program found
  Events on = {};
};

struct MenuRow {
  const char* name;
  const char* caption;  // "&" marks the access key
  void (*Click)(Station&);
};

struct TimerRow {
  const char* name;
  int intervalMs;
  bool (*enabled)(const Station&);
  void (*Timer)(Station&);
};

enum class FormBorder {
  FixedSingle,      // caption, close and minimise boxes; in the task bar
  FixedToolWindow,  // small caption and close box only; not in the task bar
};

// What the window's close box does.
enum class CloseBox {
  QueryUnload,  // runs the form's QueryUnload handler
  Hide,         // hides the form; it stays loaded with all its state
  Unload,       // unloads the form: it is created anew when next needed
};

struct FormTable {
  const char* name;
  forms::FormState& (*state)(Station&);
  int clientWidth, clientHeight;  // twips
  FormBorder border;
  CloseBox closeBox;
  std::span<const ControlRow> controls;  // in tab order
  std::span<const MenuRow> menus = {};   // left to right on the menu bar
  const TimerRow* timer = nullptr;
  void (*QueryUnload)(Station&) = nullptr;
  // Puts the model back to its design state when the form is unloaded.
  void (*reset)(Station&) = nullptr;
  // Entries of Skylet's own below the window's system menu, so the
  // documented menu bar keeps its entries.
  std::span<const MenuRow> systemMenu = {};
};

template <auto form>
forms::FormState& FormOf(Station& st) {
  return st.*form;
}
template <auto form>
void ResetForm(Station& st) {
  st.*form = {};
}

// The row of the control `name` (element `index` of an array); null when
// the table has none.
const ControlRow* FindRow(const FormTable& table, const char* name, int index = -1);

}  // namespace skylet::ui
