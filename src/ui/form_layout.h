#pragma once
// What a form looks like, as data: one row per control with its kind,
// documented name, design caption, place and size in twips, font, colours,
// border and visibility. The Win32 renderer builds the real window from the
// rows; the portable form model only holds what changes at run time.
#include <cstdint>
#include <string>

namespace skylet::ui {

enum class ControlKind {
  Frame,       // a group frame; the controls it holds are placed inside it
  Label,       // static text; reports clicks
  TextBox,     // one line of text shown in a box
  PictureBox,  // takes the keyboard focus and the keys
};

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

// The forms' standard font, and the two the main window sets on purpose.
inline constexpr FontSpec kStandardFont{"MS Sans Serif", 8, false, false};
inline constexpr FontSpec kFixedsys9{"Fixedsys", 9, false, true};
inline constexpr FontSpec kCourierNew10Bold{"Courier New", 10.5, true, true};

struct ControlLayout {
  int id;  // also the Win32 control id
  const char* name;
  ControlKind kind;
  const char* caption;  // design caption, Windows-1252
  int left, top, width, height;  // twips, inside the container
  int container;  // id of the frame that holds the control; 0: the form
  const FontSpec* font;
  uint32_t foreColour;
  uint32_t backColour;
  Border border;
  bool visible;
  bool tabStop;
};

struct MenuLayout {
  int id;
  const char* name;
  const char* caption;  // "&" marks the access key
};

// The run-time state of one control as the renderer pushes it. `text` is
// null for controls without text (frames, picture boxes).
struct ControlState {
  const std::string* text = nullptr;
  bool visible = true;
  bool enabled = true;
};

}  // namespace skylet::ui
