#include "ui/rotor_form.h"

#include <array>
#include <cmath>

#include "rotor/positioning.h"
#include "rotor/switches.h"
#include "settings/writers.h"
#include "text/format.h"

namespace skylet::ui {

namespace Rotor {

namespace {

// Who put the text into a park box: only the operator's typing is answered
// with a beep. A stored value out of range was told at start; the dialog
// filled with it keeps it without a sound.
enum class Typed { ByOperator, ByDialog };

// The box's number, when it is a whole number (halves to even) within
// `low`..`high`; out of range, a refusal the operator hears.
bool ReadParkBox(Station& st, const forms::TextBox& box, double low, double high, Typed typed,
                 double& value) {
  const double v = text::RoundHalfEven(text::Val(box.text));
  if (!(v >= low && v <= high)) {
    if (typed == Typed::ByOperator) st.os.alerts.Beep();
    return false;
  }
  value = v;
  return true;
}

void TakeParkAz(Station& st, Typed typed) {
  double v = 0;
  if (!ReadParkBox(st, st.rotorForm.edAzP, 0, 360, typed, v)) return;
  st.rotor.ParkAz = v > 359.9 ? 359.9 : v;
}

void TakeParkEl(Station& st, Typed typed) {
  double v = 0;
  if (ReadParkBox(st, st.rotorForm.edElP, 0, 90, typed, v)) st.rotor.ParkEl = v;
}

void TakeParkDelay(Station& st, Typed typed) {
  double v = 0;
  if (ReadParkBox(st, st.rotorForm.edZeitP, 0, 1000, typed, v)) {
    st.rotor.ParkDelay = static_cast<int16_t>(v);
  }
}

// One spin step of a correction in the direction clicked. A step away from
// zero only from within `limit`, so a correction ends one degree beyond it
// at most; a step back towards zero always works, so a correction at its
// end does not lock there.
void CorrectionStep(Station& st, const forms::ScrollBar& spin, double& korr, double limit,
                    forms::Label& shown) {
  const bool up = spin.step > 0;
  if (up ? !(korr <= limit) : !(korr >= -limit)) return;
  korr += up ? 1 : -1;
  shown.caption = "    " + text::Format(korr, "##0");
  rotor::RotOutput(st);
}

}  // namespace

void edAzP_Change(Station& st) { TakeParkAz(st, Typed::ByOperator); }
void edElP_Change(Station& st) { TakeParkEl(st, Typed::ByOperator); }
void edZeitP_Change(Station& st) { TakeParkDelay(st, Typed::ByOperator); }

void FillParkBoxes(Station& st) {
  forms::Rotor& dlg = st.rotorForm;
  dlg.edElP.text = text::FileNumber(st.rotor.ParkEl);
  TakeParkEl(st, Typed::ByDialog);
  dlg.edAzP.text = text::FileNumber(st.rotor.ParkAz);
  TakeParkAz(st, Typed::ByDialog);
  dlg.edZeitP.text = text::FileNumber(st.rotor.ParkDelay);
  TakeParkDelay(st, Typed::ByDialog);
}

void cmdOK_Click(Station& st) {
  const forms::Rotor& dlg = st.rotorForm;
  if (dlg.edAzP.text.empty() || dlg.edElP.text.empty() || dlg.edZeitP.text.empty()) {
    st.os.alerts.Beep();
    return;
  }
  // A park position that could not be written keeps the dialog open: the
  // operator has been told why and may try again.
  if (settings::SaveParkPos(st)) st.rotorForm.visible = false;
}

void cmdCancel_Click(Station& st) { st.rotorForm.visible = false; }

void lstStandR_Click(Station& st) {
  if (st.StartDone != "+") return;
  rotor::RotorState& r = st.rotor;
  const int i = st.rotorForm.lstStandR.listIndex + 1;
  if (i < 1 || i > r.StandCount || i > rotor::RotorState::kStandEntries) return;
  r.RotEl = 0;
  r.RotAz = r.StandAz[i];
  rotor::RotorSwitchOff(st);
  rotor::ParkSwitchOff(st);
  r.RotSend = "+";
  rotor::RotOutput(st);
  st.rotorForm.visible = false;
}

void ScrollAz_Change(Station& st) {
  CorrectionStep(st, st.rotorForm.ScrollAz, st.rotor.RotAzKorr, 90, st.rotorForm.lblAZwert);
}

void ScrollEl_Change(Station& st) {
  CorrectionStep(st, st.rotorForm.ScrollEl, st.rotor.RotElKorr, 45, st.rotorForm.lblElWert);
}

}  // namespace Rotor

namespace {

using namespace Rotor;
using F = forms::Rotor;

template <auto member>
constexpr ControlRef (*Dlg)(Station&) = &Bind<&Station::rotorForm, member>;

constexpr ControlRow Caption(const char* name, ControlRef (*control)(Station&), int l, int t,
                             int w) {
  return {name, -1, control, l, t, w, 192, nullptr, &kStandardFont};
}

// The corrections, white on a thin border like a small display.
constexpr ControlRow Value(const char* name, ControlRef (*control)(Station&), int l) {
  return {name, -1, control, l, 1900, 492, 300, nullptr, &kStandardFont, kSystemColour,
          0xFFFFFF, Border::Single};
}

constexpr ControlRow Spin(const char* name, ControlRef (*control)(Station&), int l,
                          void (*change)(Station&)) {
  return {name, -1, control, l, 1840, 300, 400, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Change = change}};
}

constexpr ControlRow ParkBox(const char* name, ControlRef (*control)(Station&), int l,
                             void (*change)(Station&)) {
  return {name, -1, control, l, 2800, 492, 300, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::Sunken, true, false, {.Change = change}};
}

constexpr ControlRow Button(const char* name, ControlRef (*control)(Station&), int l,
                            void (*click)(Station&)) {
  return {name, -1, control, l, 3220, 960, 300, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Click = click}};
}

const std::array kControls{
    Caption("lblStandR", Dlg<&F::lblStandR>, 30, 0, 1392),
    // The names and azimuths line up in columns only in a fixed-pitch font.
    ControlRow{"lstStandR", -1, Dlg<&F::lstStandR>, 30, 240, 2175, 1020, nullptr, &kCourierNew9,
               kSystemColour, kSystemColour, Border::Sunken, true, false,
               {.Click = &lstStandR_Click}},
    Caption("lbl1GradKorr", Dlg<&F::lbl1GradKorr>, 30, 1380, 1176),
    Caption("lblAzK", Dlg<&F::lblAzK>, 120, 1600, 600),
    Caption("lblElK", Dlg<&F::lblElK>, 1230, 1600, 700),
    Value("lblAZwert", Dlg<&F::lblAZwert>, 120),
    Spin("ScrollAz", Dlg<&F::ScrollAz>, 720, &ScrollAz_Change),
    Value("lblElWert", Dlg<&F::lblElWert>, 1210),
    Spin("ScrollEl", Dlg<&F::ScrollEl>, 1810, &ScrollEl_Change),
    Caption("lblParkPos", Dlg<&F::lblParkPos>, 30, 2332, 900),
    Caption("lblAzP", Dlg<&F::lblAzP>, 120, 2552, 600),
    Caption("lblElP", Dlg<&F::lblElP>, 860, 2560, 700),
    Caption("lblSek", Dlg<&F::lblSek>, 1600, 2560, 500),
    ParkBox("edAzP", Dlg<&F::edAzP>, 120, &edAzP_Change),
    ParkBox("edElP", Dlg<&F::edElP>, 860, &edElP_Change),
    ParkBox("edZeitP", Dlg<&F::edZeitP>, 1600, &edZeitP_Change),
    Button("cmdOK", Dlg<&F::cmdOK>, 120, &cmdOK_Click),
    Button("cmdCancel", Dlg<&F::cmdCancel>, 1140, &cmdCancel_Click),
};

const FormTable kForm{"Rotor",
                      &FormOf<&Station::rotorForm>,
                      2235,
                      3585,
                      FormBorder::FixedToolWindow,
                      CloseBox::Hide,
                      kControls};

}  // namespace

const FormTable& RotorForm() { return kForm; }

}  // namespace skylet::ui
