#include "ui/ausgabe_form.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "app/shutdown.h"
#include "radio/cat_server.h"
#include "radio/link_health.h"
#include "radio/link_setup.h"
#include "rotor/switches.h"
#include "text/format.h"
#include "tracking/parse_record.h"
#include "tracking/remembered_korr.h"
#include "ui/catsteuer_form.h"
#include "ui/optionen_form.h"
#include "ui/rotor_form.h"
#include "ui/setup_form.h"

namespace skylet::ui {

namespace AusGabe {

namespace {

// Marks a record pull as running for as long as it runs, also when it is
// left by an exception (the test doubles end the program with one).
class PullInProgress {
 public:
  explicit PullInProgress(bool& flag) : flag_(flag) { flag_ = true; }
  ~PullInProgress() { flag_ = false; }
  PullInProgress(const PullInProgress&) = delete;
  PullInProgress& operator=(const PullInProgress&) = delete;

 private:
  bool& flag_;
};

void FocusToKeyboardTarget(Station& st) { st.main.focus = "picFocus"; }

void ShowDialog(Station& st, forms::FormState& dialog) {
  PlaceDialog(st, dialog);
  dialog.visible = true;
}

}  // namespace

void Timer1_Timer(Station& st) {
  st.trafficLog.Flush();  // the traffic log written once a second
  // The failure message below waits for the operator while the timer goes
  // on ticking; one lost link gets one message.
  if (st.main.pullRunning) return;
  PullInProgress pulling(st.main.pullRunning);
  if (st.Quitting == "+") return;
  std::optional<std::string> record = st.os.lblDDE.Request();
  if (!record) {
    st.os.alerts.ShowMessage(kTrackingLostMessage, kProgramName);
    app::menQuit_Click(st);
    return;
  }
  st.main.lblDDE.caption = std::move(*record);
  lblDDE_Change(st);
  tracking::StoreDueKorr(st);
}

void lblDDE_Change(Station& st) { tracking::ParseRecord(st, st.main.lblDDE.caption); }

void lblCat_Click(Station& st) { SetCatSwitch(st, st.radio.CatOn != "+"); }

void SetCatSwitch(Station& st, bool on) {
  // Whether the CAT server took the command or not, the switch has changed;
  // the operator learns that the server did not take it.
  if (!(on ? radio::CatSwitchOn(st) : radio::CatSwitchOff(st))) {
    radio::CatLinkFailed(st, std::string("Der Catserver hat \"") +
                                 (on ? radio::cat_server::kSwitchOn : radio::cat_server::kSwitchOff) +
                                 "\" nicht angenommen.");
  }
}

// Tracking off takes park with it; park on needs tracking.
void lblRotor_Click(Station& st) {
  if (st.rotor.RotorOn == "+") {
    rotor::RotorSwitchOff(st);
    rotor::ParkSwitchOff(st);
  } else {
    rotor::RotorSwitchOn(st);
  }
}

void lblPark_Click(Station& st) {
  if (st.rotor.ParkOn == "+") {
    rotor::ParkSwitchOff(st);
  } else {
    rotor::RotorSwitchOn(st);
    rotor::ParkSwitchOn(st);
  }
}

void edAZ_GotFocus(Station& st) { FocusToKeyboardTarget(st); }
void edDM_GotFocus(Station& st) { FocusToKeyboardTarget(st); }
void edEL_GotFocus(Station& st) { FocusToKeyboardTarget(st); }
void edRX_GotFocus(Station& st) { FocusToKeyboardTarget(st); }
void edSat_GotFocus(Station& st) { FocusToKeyboardTarget(st); }
void edTX_GotFocus(Station& st) { FocusToKeyboardTarget(st); }
void edUM_GotFocus(Station& st) { FocusToKeyboardTarget(st); }

void picFocus_KeyDown(Station& st, int keyCode, int) {
  constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
  constexpr double kKeyStepHz = 100;
  const bool tracked = st.tracking.RecTag == tracking::kSatelliteTag;
  switch (keyCode) {
    case kLeft: if (tracked) CatSteuer::KorrStep(st, -kKeyStepHz); break;
    case kUp: CatSteuer::IntVStep(st, kKeyStepHz); break;
    case kRight: if (tracked) CatSteuer::KorrStep(st, kKeyStepHz); break;
    case kDown: CatSteuer::IntVStep(st, -kKeyStepHz); break;
    default: break;  // every other key is ignored
  }
}

void MenCat_Click(Station& st) {
  forms::CatSteuer& dlg = forms::Loaded(st.catSteuer);
  const tracking::TrackingState& t = st.tracking;
  dlg.edIntV.text = text::Format(st.radio.IntV, "####0");
  // A correction of 0 shows as an empty box.
  dlg.edKorr.text = text::Format(t.SatKorr[t.SatIdx], "#####");
  // The arrow keys act on the 100 Hz step spin when the dialog comes up.
  dlg.focus = "ScrollIntV100";
  ShowDialog(st, dlg);
}
void menRot_Click(Station& st) {
  forms::Rotor& dlg = st.rotorForm;
  Rotor::FillParkBoxes(st);
  dlg.lblElWert.caption = "    " + text::Format(st.rotor.RotElKorr, "##0");
  dlg.lblAZwert.caption = "    " + text::Format(st.rotor.RotAzKorr, "##0");
  ShowDialog(st, dlg);
}
void menMode_Click(Station& st) { ShowDialog(st, st.mode); }
void menOpt_Click(Station& st) { SatSetup::Open(st); }
void menQuit_Click(Station& st) { app::menQuit_Click(st); }
void menOptionen_Click(Station& st) { Optionen::Open(st); }
// Not a dialog: the main window keeps its input (the Windows layer's own window).
void menVerkehr_Click(Station& st) { st.verkehr.loaded = st.verkehr.visible = true; }

void menHelp_Click(Station& st) {
  // Shown without taking the focus from the main window; a missing Notepad
  // or help file is not reported.
  st.os.launcher.ShellOpen("Open", "Notepad", "Skylet.txt", st.paths.AppPath,
                           platform::ShowCommand::ShowNoActivate);
}

void Form_QueryUnload(Station& st) { app::menQuit_Click(st); }

void CalcDlgOffset(Station& st) {
  const double h = std::floor(st.os.screen.HeightTwips() * 0.33);
  const double w = std::floor(st.os.screen.WidthTwips() / 2.0);
  st.main.DlgOffY = st.main.Top <= h ? 1000 : -700;
  st.main.DlgOffX = st.main.Left <= w ? 1000 : -800;
}

void PlaceDialog(Station& st, forms::FormState& dialog) {
  CalcDlgOffset(st);
  dialog.Left = st.main.Left + st.main.DlgOffX;
  dialog.Top = st.main.Top + st.main.DlgOffY;
  dialog.loaded = true;
}

}  // namespace AusGabe

namespace {

using namespace AusGabe;
using F = forms::AusGabe;
constexpr const char* kInFrame = "frHaupt";

template <auto member>
constexpr ControlRef (*Main)(Station&) = &Bind<&Station::main, member>;

constexpr ControlRow Frame(const char* name, ControlRef (*control)(Station&), int l, int t, int w,
                           int h) {
  return {name, -1, control, l, t, w, h, nullptr, &kStandardFont};
}

constexpr ControlRow Caption(const char* name, ControlRef (*control)(Station&), int l, int t,
                             int w, int h) {
  return {name, -1, control, l, t, w, h, kInFrame, &kStandardFont};
}

// The three click-switches.
constexpr ControlRow Switch(const char* name, ControlRef (*control)(Station&), int l,
                            void (*click)(Station&)) {
  return {name, -1, control, l, 240, 470, 264, kInFrame, &kFixedsys9, kSystemColour,
          kSystemColour, Border::Single, false, false, {.Click = click}};
}

// The boxes that show the tracked satellite; a click into one of them hands
// the keys back to picFocus.
constexpr ControlRow Display(const char* name, ControlRef (*control)(Station&), int l, int t,
                             int w, void (*gotFocus)(Station&), uint32_t fore = kGreen) {
  return {name, -1, control, l, t, w, 372, kInFrame, &kCourierNew10Bold, fore, kBlack,
          Border::Sunken, true, true, {.GotFocus = gotFocus}};
}

// Boxes only as high as a label line: drawn flat, or their text would not
// fit inside the raised edge.
constexpr ControlRow FlatBox(const char* name, ControlRef (*control)(Station&), int l, int t,
                             int w, uint32_t back) {
  return {name, -1, control, l, t, w, 192, kInFrame, &kStandardFont, kSystemColour, back,
          Border::None, true, true};
}

// Holders of the DDE conversations; never shown.
constexpr ControlRow LinkLabel(const char* name, ControlRef (*control)(Station&), int l, int t,
                               int w, int h) {
  return {name, -1, control, l, t, w, h, nullptr, &kStandardFont};
}

// In tab order: the keyboard target comes first. It lies below the visible
// client area on purpose: it only takes the keys.
const std::array kControls{
    ControlRow{"picFocus", -1, Main<&F::picFocus>, 1200, 3600, 200, 200, nullptr,
               &kStandardFont, kSystemColour, kSystemColour, Border::None, true, false,
               {.KeyDown = &picFocus_KeyDown}},
    Frame("frHaupt", Main<&F::frHaupt>, 25, 0, 3120, 3400),
    Switch("lblRotor", Main<&F::lblRotor>, 120, &lblRotor_Click),
    Switch("lblCat", Main<&F::lblCat>, 620, &lblCat_Click),
    Switch("lblPark", Main<&F::lblPark>, 1110, &lblPark_Click),
    Caption("lblUebIntV", Main<&F::lblUebIntV>, 1736, 144, 645, 192),
    Caption("lblIntV", Main<&F::lblIntV>, 1680, 360, 456, 192),
    Caption("lblUebKorr", Main<&F::lblUebKorr>, 2426, 140, 540, 192),
    FlatBox("lblKorr", Main<&F::lblKorr>, 2400, 360, 450, kSystemColour),
    Caption("lblSat", Main<&F::lblSat>, 330, 744, 504, 252),
    Display("edSat", Main<&F::edSat>, 920, 660, 1980, &edSat_GotFocus, kYellow),
    Caption("lblDwnl", Main<&F::lblDwnl>, 330, 1060, 828, 192),
    Display("edRX", Main<&F::edRX>, 330, 1300, 1660, &edRX_GotFocus),
    Display("edDM", Main<&F::edDM>, 2040, 1300, 813, &edDM_GotFocus),
    Caption("lblUpl", Main<&F::lblUpl>, 330, 1700, 648, 192),
    Display("edTX", Main<&F::edTX>, 330, 1920, 1660, &edTX_GotFocus),
    Display("edUM", Main<&F::edUM>, 2040, 1920, 813, &edUM_GotFocus),
    Caption("lblAz", Main<&F::lblAz>, 330, 2380, 576, 192),
    Display("edAZ", Main<&F::edAZ>, 330, 2620, 810, &edAZ_GotFocus),
    Caption("lblEl", Main<&F::lblEl>, 1150, 2400, 780, 192),
    Display("edEL", Main<&F::edEL>, 1180, 2620, 810, &edEL_GotFocus),
    FlatBox("edUeMA", Main<&F::edUeMA>, 2040, 2400, 676, kLightGrey),
    Display("edMA", Main<&F::edMA>, 2040, 2620, 810, nullptr),
    LinkLabel("lblDDE", Main<&F::lblDDE>, 0, 3240, 492, 132),
    LinkLabel("RotClientConv", Main<&F::RotClientConv>, 600, 3240, 972, 180),
    LinkLabel("CatClientConv", Main<&F::CatClientConv>, 960, 3240, 972, 180),
    LinkLabel("ArsClientConv", Main<&F::ArsClientConv>, 1320, 3240, 972, 180),
};

constexpr std::array kMenus{
    MenuRow{"MenCat", "&Cat", &MenCat_Click},    MenuRow{"menRot", "&Rotor", &menRot_Click},
    MenuRow{"menMode", "&Mode", &menMode_Click}, MenuRow{"menOpt", "&Setup", &menOpt_Click},
    MenuRow{"menQuit", "&Quit", &menQuit_Click}, MenuRow{"menHelp", "&?", &menHelp_Click},
};

// Their access keys (O, K) are taken by none of the window menu's own entries, English or German
// (Restore, Move, Size, ... / Wiederherstellen, Verschieben, ...), so one key press opens them.
constexpr std::array kSystemMenu{
    MenuRow{"menOptionen", "Skylet-&Optionen...", &menOptionen_Click},
    MenuRow{"menVerkehr", "Ver&kehr...", &menVerkehr_Click},
};

constexpr TimerRow kTimer1{"Timer1", 1000, [](const Station& st) { return st.main.Timer1Enabled; },
                           &Timer1_Timer};

const FormTable kForm{"AusGabe",
                      &FormOf<&Station::main>,
                      3180,
                      3435,
                      FormBorder::FixedSingle,
                      CloseBox::QueryUnload,
                      kControls,
                      kMenus,
                      &kTimer1,
                      &Form_QueryUnload,
                      nullptr,
                      kSystemMenu};

}  // namespace

const FormTable& AusGabeForm() { return kForm; }

}  // namespace skylet::ui
