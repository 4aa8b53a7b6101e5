#include "ui/ausgabe_layout.h"

#include <array>

namespace skylet::ui {

namespace {

using C = AusGabeCtl;

constexpr int Id(C c) { return static_cast<int>(c); }
constexpr int kForm = 0;
constexpr int kInFrame = Id(C::frHaupt);

constexpr ControlLayout Frame(C id, const char* name, int l, int t, int w, int h) {
  return {Id(id), name, ControlKind::Frame, "", l, t, w, h, kForm, &kStandardFont,
          kSystemColour, kSystemColour, Border::None, true, false};
}

constexpr ControlLayout Caption(C id, const char* name, const char* caption, int l, int t, int w,
                                int h) {
  return {Id(id), name, ControlKind::Label, caption, l, t, w, h, kInFrame, &kStandardFont,
          kSystemColour, kSystemColour, Border::None, true, false};
}

// The three click-switches.
constexpr ControlLayout Switch(C id, const char* name, const char* caption, int l) {
  return {Id(id), name, ControlKind::Label, caption, l, 240, 470, 264, kInFrame, &kFixedsys9,
          kSystemColour, kSystemColour, Border::Single, true, false};
}

// The boxes that show the tracked satellite.
constexpr ControlLayout Display(C id, const char* name, int l, int t, int w,
                                uint32_t fore = kGreen) {
  return {Id(id), name, ControlKind::TextBox, "", l, t, w, 372, kInFrame, &kCourierNew10Bold,
          fore, kBlack, Border::Sunken, true, true};
}

// Boxes only as high as a label line: drawn flat, or their text would not
// fit inside the raised edge.
constexpr ControlLayout FlatBox(C id, const char* name, const char* caption, int l, int t, int w,
                                uint32_t back) {
  return {Id(id), name, ControlKind::TextBox, caption, l, t, w, 192, kInFrame, &kStandardFont,
          kSystemColour, back, Border::None, true, true};
}

// Holders of the DDE conversations; never shown.
constexpr ControlLayout LinkLabel(C id, const char* name, int l, int t, int w, int h) {
  return {Id(id), name, ControlKind::Label, "", l, t, w, h, kForm, &kStandardFont,
          kSystemColour, kSystemColour, Border::None, false, false};
}

// Below the visible client area: it only takes the keys.
constexpr ControlLayout kPicFocus{Id(C::picFocus), "picFocus", ControlKind::PictureBox, "",
                                  1200, 3600, 200, 200, kForm, &kStandardFont,
                                  kSystemColour, kSystemColour, Border::None, true, true};

constexpr std::array kLayout{
    kPicFocus,
    Frame(C::frHaupt, "frHaupt", 25, 0, 3120, 3400),
    Switch(C::lblRotor, "lblRotor", " R+", 120),
    Switch(C::lblCat, "lblCat", " C+", 620),
    Switch(C::lblPark, "lblPark", " P-", 1110),
    Caption(C::lblUebIntV, "lblUebIntV", "IntV: u/d", 1736, 144, 645, 192),
    Caption(C::lblIntV, "lblIntV", " 100", 1680, 360, 456, 192),
    Caption(C::lblUebKorr, "lblUebKorr", "Korr: r/l", 2426, 140, 540, 192),
    FlatBox(C::lblKorr, "lblKorr", "", 2400, 360, 450, kSystemColour),
    Caption(C::lblSat, "lblSat", "Satellit", 330, 744, 504, 252),
    Display(C::edSat, "edSat", 920, 660, 1980, kYellow),
    Caption(C::lblDwnl, "lblDwnl", "Downlink", 330, 1060, 828, 192),
    Display(C::edRX, "edRX", 330, 1300, 1660),
    Display(C::edDM, "edDM", 2040, 1300, 813),
    Caption(C::lblUpl, "lblUpl", "Uplink", 330, 1700, 648, 192),
    Display(C::edTX, "edTX", 330, 1920, 1660),
    Display(C::edUM, "edUM", 2040, 1920, 813),
    Caption(C::lblAz, "lblAz", "Azimut", 330, 2380, 576, 192),
    Display(C::edAZ, "edAZ", 330, 2620, 810),
    Caption(C::lblEl, "lblEl", "Elevation", 1150, 2400, 780, 192),
    Display(C::edEL, "edEL", 1180, 2620, 810),
    FlatBox(C::edUeMA, "edUeMA", "MA-Wert", 2040, 2400, 676, kLightGrey),
    Display(C::edMA, "edMA", 2040, 2620, 810),
    LinkLabel(C::lblDDE, "lblDDE", 0, 3240, 492, 132),
    LinkLabel(C::RotClientConv, "RotClientConv", 600, 3240, 972, 180),
    LinkLabel(C::CatClientConv, "CatClientConv", 960, 3240, 972, 180),
    LinkLabel(C::ArsClientConv, "ArsClientConv", 1320, 3240, 972, 180),
};

using M = AusGabeMenu;

constexpr std::array kMenus{
    MenuLayout{static_cast<int>(M::MenCat), "MenCat", "&Cat"},
    MenuLayout{static_cast<int>(M::menRot), "menRot", "&Rotor"},
    MenuLayout{static_cast<int>(M::menMode), "menMode", "&Mode"},
    MenuLayout{static_cast<int>(M::menOpt), "menOpt", "&Setup"},
    MenuLayout{static_cast<int>(M::menQuit), "menQuit", "&Quit"},
    MenuLayout{static_cast<int>(M::menHelp), "menHelp", "&?"},
};

// Where each control's run-time state lives in the model.
struct Binding {
  C id;
  Label AusGabe::*label;
  TextBox AusGabe::*box;
};

constexpr Binding L(C id, Label AusGabe::*label) { return {id, label, nullptr}; }
constexpr Binding T(C id, TextBox AusGabe::*box) { return {id, nullptr, box}; }

constexpr std::array kBindings{
    L(C::lblRotor, &AusGabe::lblRotor),     L(C::lblCat, &AusGabe::lblCat),
    L(C::lblPark, &AusGabe::lblPark),       L(C::lblUebIntV, &AusGabe::lblUebIntV),
    L(C::lblIntV, &AusGabe::lblIntV),       L(C::lblUebKorr, &AusGabe::lblUebKorr),
    T(C::lblKorr, &AusGabe::lblKorr),       L(C::lblSat, &AusGabe::lblSat),
    T(C::edSat, &AusGabe::edSat),           L(C::lblDwnl, &AusGabe::lblDwnl),
    T(C::edRX, &AusGabe::edRX),             T(C::edDM, &AusGabe::edDM),
    L(C::lblUpl, &AusGabe::lblUpl),         T(C::edTX, &AusGabe::edTX),
    T(C::edUM, &AusGabe::edUM),             L(C::lblAz, &AusGabe::lblAz),
    T(C::edAZ, &AusGabe::edAZ),             L(C::lblEl, &AusGabe::lblEl),
    T(C::edEL, &AusGabe::edEL),             T(C::edUeMA, &AusGabe::edUeMA),
    T(C::edMA, &AusGabe::edMA),             L(C::lblDDE, &AusGabe::lblDDE),
    L(C::RotClientConv, &AusGabe::RotClientConv),
    L(C::CatClientConv, &AusGabe::CatClientConv),
    L(C::ArsClientConv, &AusGabe::ArsClientConv),
};

const Binding* FindBinding(int id) {
  for (const Binding& b : kBindings) {
    if (Id(b.id) == id) return &b;
  }
  return nullptr;
}

}  // namespace

std::span<const ControlLayout> AusGabeLayout() { return kLayout; }
std::span<const MenuLayout> AusGabeMenus() { return kMenus; }

const ControlLayout* FindControl(std::span<const ControlLayout> layout, int id) {
  for (const ControlLayout& row : layout) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

AusGabe::AusGabe() {
  for (const Binding& b : kBindings) {
    const ControlLayout* row = FindControl(kLayout, Id(b.id));
    if (b.label) {
      (this->*b.label).caption = row->caption;
      (this->*b.label).visible = row->visible;
    } else {
      (this->*b.box).text = row->caption;
    }
  }
}

ControlState AusGabe::State(int id) const {
  const Binding* b = FindBinding(id);
  if (!b) return {};
  if (b->label) {
    const Label& label = this->*b->label;
    return {&label.caption, label.visible, true};
  }
  const TextBox& box = this->*b->box;
  return {&box.text, true, box.enabled};
}

}  // namespace skylet::ui
