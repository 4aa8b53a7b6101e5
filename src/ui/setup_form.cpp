#include "ui/setup_form.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "hamlib/daemon.h"
#include "radio/link_setup.h"
#include "settings/readers.h"
#include "settings/writers.h"
#include "text/format.h"
#include "ui/ausgabe_form.h"

namespace skylet::ui {

namespace SatSetup {

namespace {

std::string Switch(const forms::CheckBox& box) { return box.value == 1 ? "+" : "-"; }

// The dialog filled from the settings acts like the operator's clicks: a
// check box or option whose state this changes runs its click handler,
// which writes the value back and sets what depends on it.
void SetCheck(Station& st, forms::CheckBox& box, const std::string& value,
              void (*click)(Station&)) {
  const int checked = value == "+" ? 1 : 0;
  if (box.value == checked) return;
  box.value = checked;
  click(st);
}

template <std::size_t N>
void Choose(Station& st, std::array<forms::OptionButton, N>& group, int index,
            void (*click)(Station&, int)) {
  if (group[index].value) return;
  for (std::size_t i = 0; i < N; ++i) group[i].value = static_cast<int>(i) == index;
  click(st, index);
}

// Steps at the end of their range do nothing and show nothing. The upper
// guards let the value reach one beyond the round figure (1001, 91).
void RotIntVMinus(Station& st) {
  if (st.rotor.RotIntV < 1) return;
  --st.rotor.RotIntV;
  st.setup.edIntV.text = text::Format(st.rotor.RotIntV, "##0");
}

void RotIntVPlus(Station& st) {
  if (st.rotor.RotIntV > 1000) return;
  ++st.rotor.RotIntV;
  st.setup.edIntV.text = text::Format(st.rotor.RotIntV, "##0");
}

// MinWin keeps its fraction (a stored 0.5 goes 1.5, 2.5, ...); only the box
// shows it as a whole number.
void MinWinMinus(Station& st) {
  if (!(st.rotor.MinWin >= 1)) return;
  st.rotor.MinWin -= 1;
  st.setup.edMinWin.text = text::Format(st.rotor.MinWin, "##0");
}

void MinWinPlus(Station& st) {
  if (!(st.rotor.MinWin <= 90)) return;
  st.rotor.MinWin += 1;
  st.setup.edMinWin.text = text::Format(st.rotor.MinWin, "##0");
}

// The live state the start file is about to set.
struct LiveBefore {
  std::string CatOn, DdeRotor, DdeCat;
};

// A server choice turned on takes effect at once only where the start-up
// made its link: without one the next position would end the program, the
// next mode command too. Otherwise it waits for the next start.
void FollowServerChoice(std::string& live, const std::string& before, bool linked) {
  if (live == "+" && before != "+" && !linked) live = before;
}

// Opening the dialog returns the CAT switch to its start setting like the
// rotor and park switches: through the switch operation, so that " C+"/" C-"
// and the radio traffic agree. A switch already as stored is left alone.
void KeepLiveStateSound(Station& st, const LiveBefore& before) {
  FollowServerChoice(st.rotor.DdeRotor, before.DdeRotor, st.os.RotClientConv.IsOpen());
  FollowServerChoice(st.radio.DdeCat, before.DdeCat, st.os.CatClientConv.IsOpen());
  const bool on = st.radio.CatOn == "+";
  st.radio.CatOn = before.CatOn;
  if (on != (before.CatOn == "+")) AusGabe::SetCatSwitch(st, on);
}

// Told once per run and server, when a choice stored now waits for the next
// start.
void TellServerNextStart(Station& st, const std::string& stored, const std::string& live,
                         bool linked, bool& told, const char* server) {
  if (stored != "+" || live == "+" || linked || told) return;
  told = true;
  st.os.alerts.ShowMessage(std::string(server) +
                               " ist gespeichert; Skylet verbindet ihn beim n\xe4" "chsten Start.",
                           kProgramName);
}

}  // namespace

void Open(Station& st) {
  forms::SatSetup& dlg = st.setup;
  AusGabe::PlaceDialog(st, dlg);

  const LiveBefore before{st.radio.CatOn, st.rotor.DdeRotor, st.radio.DdeCat};
  settings::ReadStartOptions(st);
  KeepLiveStateSound(st, before);
  const settings::StartOptions& o = st.startOptions;
  SetCheck(st, dlg.chkStartOptR, o.StartRotor, &chkStartOptR_Click);
  SetCheck(st, dlg.chkStartOptC, o.StartCat, &chkStartOptC_Click);
  SetCheck(st, dlg.ChkStartOptP, o.StartPark, &ChkStartOptP_Click);
  SetCheck(st, dlg.chkDDER, o.SetupDdeRotor, &chkDDER_Click);
  SetCheck(st, dlg.chkDDEC, o.SetupDdeCat, &chkDDEC_Click);

  settings::ReadRotOptions(st);
  dlg.edIntV.text = text::Format(st.rotor.RotIntV, "##0");
  dlg.edMinWin.text = text::Format(st.rotor.MinWin, "#0");
  Choose(st, dlg.RotOpt, st.rotor.RotMode == "i" ? 0 : 1, &RotOpt_Click);
  Choose(st, dlg.OptWinkel, st.rotor.WinkelOpt == "k" ? 1 : 0, &OptWinkel_Click);

  // An unknown family leaves the options as they are.
  settings::ReadTrxFile(st);
  if (const int i = radio::TrxFamilyOf(st.radio.TrxFamily); i >= 0) Choose(st, dlg.optTRX, i, &optTRX_Click);
  // Also when no option changed: the file may name the family of an option
  // already chosen, or none of the three, while the commands are another's.
  radio::BuildCatCommandsForFamily(st);

  settings::ReadHamlibSetup(st);
  const hamlib::HamlibSettings& h = st.hamlib.setup;
  SetCheck(st, dlg.chkHamRig, h.RigOn, &chkHamRig_Click);
  SetCheck(st, dlg.chkHamRot, h.RotOn, &chkHamRot_Click);
  dlg.edHamRig.text = h.RigAddress;
  dlg.edHamRot.text = h.RotAddress;
  Choose(st, dlg.optHamUp, h.UplinkWay == "I" ? 1 : 0, &optHamUp_Click);

  // A file missing or faulty now is told before the dialog shows what
  // could be read.
  settings::ReportSettingsProblems(st);
  dlg.visible = true;
}

void optTRX_Click(Station& st, int index) {
  if (index < 0 || index >= static_cast<int>(radio::kTrxFamilies.size())) return;
  st.radio.TrxFamily = radio::kTrxFamilies[index];
  // The command strings belong to the family: without them the next
  // frequency or mode would go out in the old family's bytes, or with the
  // new family's frames missing their header. The family already in force
  // (the dialog filled from "TRX.SQF") keeps what its commands hold.
  radio::BuildCatCommandsForFamily(st);
}

void RotOpt_Click(Station& st, int index) {
  forms::SatSetup& dlg = st.setup;
  const bool byTime = index == 0;
  if (byTime) {
    st.rotor.RotMode = "i";
  } else {
    st.rotor.RotMode = "w";
    st.rotor.RotCount = 0;
  }
  dlg.edIntV.enabled = byTime;
  dlg.ScrollIntV.enabled = byTime;
  dlg.edMinWin.enabled = !byTime;
  dlg.ScrollMinWin.enabled = !byTime;
  for (forms::OptionButton& opt : dlg.OptWinkel) opt.enabled = !byTime;
}

void OptWinkel_Click(Station& st, int) {
  st.rotor.WinkelOpt = st.setup.OptWinkel[1].value ? "k" : "g";
}

void chkStartOptR_Click(Station& st) { st.startOptions.StartRotor = Switch(st.setup.chkStartOptR); }
void chkStartOptC_Click(Station& st) { st.startOptions.StartCat = Switch(st.setup.chkStartOptC); }
void ChkStartOptP_Click(Station& st) { st.startOptions.StartPark = Switch(st.setup.ChkStartOptP); }
void chkDDER_Click(Station& st) { st.startOptions.SetupDdeRotor = Switch(st.setup.chkDDER); }
void chkDDEC_Click(Station& st) { st.startOptions.SetupDdeCat = Switch(st.setup.chkDDEC); }

void chkHamRig_Click(Station& st) { st.hamlib.setup.RigOn = Switch(st.setup.chkHamRig); }
void chkHamRot_Click(Station& st) { st.hamlib.setup.RotOn = Switch(st.setup.chkHamRot); }
void edHamRig_Change(Station& st) { st.hamlib.setup.RigAddress = st.setup.edHamRig.text; }
void edHamRot_Change(Station& st) { st.hamlib.setup.RotAddress = st.setup.edHamRot.text; }
void optHamUp_Click(Station& st, int index) { st.hamlib.setup.UplinkWay = index == 1 ? "I" : "V"; }

void ScrollIntV_Change(Station& st) {
  if (st.setup.ScrollIntV.step > 0) {
    RotIntVPlus(st);
  } else {
    RotIntVMinus(st);
  }
}

void ScrollMinWin_Change(Station& st) {
  if (st.setup.ScrollMinWin.step > 0) {
    MinWinPlus(st);
  } else {
    MinWinMinus(st);
  }
}

void cmdOK_Click(Station& st) {
  // An address that is not host:port would be refused at the next start:
  // the operator mends it now, and nothing is stored meanwhile.
  // An unticked daemon's address is stored as typed.
  const hamlib::HamlibSettings& h = st.hamlib.setup;
  for (const auto& [on, address] : {std::pair{&h.RigOn, &h.RigAddress}, std::pair{&h.RotOn, &h.RotAddress}}) {
    if (*on != "+" || hamlib::ParseAddress(*address)) continue;
    st.os.alerts.ShowMessage("\"" + *address +
                                 "\" ist keine Hamlib-Adresse Rechner:Port (etwa localhost:4532).",
                             kProgramName);
    return;
  }
  // Every file is tried, so the operator hears of each that failed. The
  // values stay in use as chosen; the dialog stays up to try again or to
  // leave with "abbrechen".
  const bool start = settings::WriteStartOptions(st);
  const bool rot = settings::WriteRotOptions(st);
  const bool hamlib = settings::WriteHamlib(st);
  if (start) {
    settings::StartOptions& o = st.startOptions;
    TellServerNextStart(st, o.SetupDdeRotor, st.rotor.DdeRotor, st.os.RotClientConv.IsOpen(),
                        o.rotorServerToldNextStart, "Der Rotor-Server");
    TellServerNextStart(st, o.SetupDdeCat, st.radio.DdeCat, st.os.CatClientConv.IsOpen(),
                        o.catServerToldNextStart, "Der Cat-Server");
  }
  if (start && rot && hamlib) st.setup.visible = false;
}

void cmdCancel_Click(Station& st) { st.setup.visible = false; }

}  // namespace SatSetup

namespace {

using namespace SatSetup;
using F = forms::SatSetup;

template <auto member>
constexpr ControlRef (*Dlg)(Station&) = &Bind<&Station::setup, member>;
template <auto array, int index>
constexpr ControlRef (*DlgAt)(Station&) = &BindAt<&Station::setup, array, index>;

using Ref = ControlRef (*)(Station&);

constexpr ControlRow Frame(const char* name, Ref control, int t, int h) {
  return {name, -1, control, 30, t, 2820, h, nullptr, &kStandardFont};
}

// Inside a frame, in one of its two columns (or three for the families).
constexpr ControlRow Option(const char* name, int index, Ref control, const char* frame, int l,
                            int w, void (*click)(Station&, int), int t = 240) {
  return {name, index, control, l, t, w, 240, frame, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.IndexClick = click}};
}

constexpr ControlRow Caption(const char* name, Ref control, const char* frame, int l, int t,
                             int w) {
  return {name, -1, control, l, t, w, 195, frame, &kStandardFont};
}

constexpr ControlRow Shown(const char* name, Ref control, int l) {
  return {name, -1, control, l, 780, 690, 315, "Frame2", &kStandardFont, kSystemColour,
          kSystemColour, Border::Sunken, false, true};
}

constexpr ControlRow Spin(const char* name, Ref control, int l, void (*change)(Station&)) {
  return {name, -1, control, l, 780, 240, 315, "Frame2", &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Change = change}};
}

constexpr ControlRow Check(const char* name, Ref control, int l, int t, void (*click)(Station&),
                           const char* frame = nullptr, int w = 1380) {
  return {name, -1, control, l, t, w, 255, frame, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Click = click}};
}

// A Hamlib address, typed beside its switch.
constexpr ControlRow Address(const char* name, Ref control, int t, void (*change)(Station&)) {
  return {name, -1, control, 1020, t, 1680, 285, "Frame4", &kStandardFont, kSystemColour,
          kSystemColour, Border::Sunken, true, false, {.Change = change}};
}

constexpr ControlRow Button(const char* name, Ref control, int l, void (*click)(Station&)) {
  return {name, -1, control, l, 4560, 1260, 345, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Click = click}};
}

// Two columns at 120 and 1260 twips inside the frames; the start options in
// the right column at 1485, the server choices in the left one below the
// heading.
const std::array kControls{
    // First in the tab order, so it has the keys when the dialog first shows.
    Button("cmdCancel", Dlg<&F::cmdCancel>, 30, &cmdCancel_Click),
    Frame("Frame1", Dlg<&F::Frame1>, 45, 540),
    Option("optTRX", 0, DlgAt<&F::optTRX, 0>, "Frame1", 120, 780, &optTRX_Click),
    Option("optTRX", 1, DlgAt<&F::optTRX, 1>, "Frame1", 960, 720, &optTRX_Click),
    Option("optTRX", 2, DlgAt<&F::optTRX, 2>, "Frame1", 1740, 960, &optTRX_Click),
    Frame("Frame2", Dlg<&F::Frame2>, 675, 1185),
    Option("RotOpt", 0, DlgAt<&F::RotOpt, 0>, "Frame2", 120, 1080, &RotOpt_Click),
    Option("RotOpt", 1, DlgAt<&F::RotOpt, 1>, "Frame2", 1260, 1440, &RotOpt_Click),
    Caption("lblIntVR", Dlg<&F::lblIntVR>, "Frame2", 120, 570, 1080),
    Shown("edIntV", Dlg<&F::edIntV>, 120),
    Spin("ScrollIntV", Dlg<&F::ScrollIntV>, 810, &ScrollIntV_Change),
    Caption("lblMindestaend", Dlg<&F::lblMindestaend>, "Frame2", 1260, 570, 1440),
    Shown("edMinWin", Dlg<&F::edMinWin>, 1260),
    Spin("ScrollMinWin", Dlg<&F::ScrollMinWin>, 1950, &ScrollMinWin_Change),
    Frame("Frame3", Dlg<&F::Frame3>, 1950, 540),
    Option("OptWinkel", 1, DlgAt<&F::OptWinkel, 1>, "Frame3", 120, 1080, &OptWinkel_Click),
    Option("OptWinkel", 0, DlgAt<&F::OptWinkel, 0>, "Frame3", 1260, 1440, &OptWinkel_Click),
    Caption("lblBeiStart", Dlg<&F::lblBeiStart>, nullptr, 30, 2625, 1440),
    Check("chkStartOptR", Dlg<&F::chkStartOptR>, 1485, 2595, &chkStartOptR_Click),
    Check("chkStartOptC", Dlg<&F::chkStartOptC>, 1485, 2865, &chkStartOptC_Click),
    Check("ChkStartOptP", Dlg<&F::ChkStartOptP>, 1485, 3135, &ChkStartOptP_Click),
    Check("chkDDER", Dlg<&F::chkDDER>, 30, 2865, &chkDDER_Click),
    Check("chkDDEC", Dlg<&F::chkDDEC>, 30, 3135, &chkDDEC_Click),
    Frame("Frame4", Dlg<&F::Frame4>, 3420, 1080),
    Check("chkHamRig", Dlg<&F::chkHamRig>, 120, 255, &chkHamRig_Click, "Frame4", 870),
    Address("edHamRig", Dlg<&F::edHamRig>, 240, &edHamRig_Change),
    Check("chkHamRot", Dlg<&F::chkHamRot>, 120, 555, &chkHamRot_Click, "Frame4", 870),
    Address("edHamRot", Dlg<&F::edHamRot>, 540, &edHamRot_Change),
    Option("optHamUp", 0, DlgAt<&F::optHamUp, 0>, "Frame4", 120, 1080, &optHamUp_Click, 810),
    Option("optHamUp", 1, DlgAt<&F::optHamUp, 1>, "Frame4", 1260, 1440, &optHamUp_Click, 810),
    Button("cmdOK", Dlg<&F::cmdOK>, 1590, &cmdOK_Click),
};

const FormTable kForm{"SatSetup",
                      &FormOf<&Station::setup>,
                      2880,
                      4995,
                      FormBorder::FixedToolWindow,
                      CloseBox::Unload,
                      kControls,
                      {},
                      nullptr,
                      nullptr,
                      &ResetForm<&Station::setup>};

}  // namespace

const FormTable& SetupForm() { return kForm; }

}  // namespace skylet::ui
