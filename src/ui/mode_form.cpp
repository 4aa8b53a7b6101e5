#include "ui/mode_form.h"

#include <array>

#include "radio/frequency_output.h"
#include "radio/link_setup.h"

namespace skylet::ui {

namespace Mode {

void cmdOK_Click(Station& st) {
  radio::RadioState& r = st.radio;
  const forms::Mode& dlg = st.mode;
  // With an empty address list no row can be chosen: the addresses in use
  // stay, rather than a made-up address reaching the radio.
  const int k = dlg.lstAdress.listIndex;
  if (k >= 0 && k < radio::RadioState::kIcomRecords) {
    r.IcomRxAddr = r.IcomRxAddrs[k];
    r.IcomCmdAddr = r.IcomRxAddr;
    r.IcomTxAddr = r.IcomTxAddrs[k];
  }
  radio::BuildCatCommands(st);
  // Row t of the list holds the offsets numbered t + 1; no choice reads the
  // zero offsets of entry 0.
  const int t = dlg.lstTransverter.listIndex + 1;
  const bool chosen = t >= 0 && t <= radio::RadioState::kTransverterRecords;
  r.RxOffset = chosen ? r.RxOffsets[t] : 0;
  r.TxOffset = chosen ? r.TxOffsets[t] : 0;
  r.LastCatFreq = 0;  // the next record sends its frequencies
  if (st.main.edSat.text.find(" No ") == std::string::npos) radio::ShowCatFreq(st);
  st.mode.visible = false;
}

void cmdCancel_Click(Station& st) { st.mode.visible = false; }

}  // namespace Mode

namespace {

using namespace Mode;
using F = forms::Mode;

template <auto member>
constexpr ControlRef (*Dlg)(Station&) = &Bind<&Station::mode, member>;

constexpr ControlRow Caption(const char* name, ControlRef (*control)(Station&), int l, int t,
                             int w) {
  return {name, -1, control, l, t, w, 192, nullptr, &kStandardFont};
}

// The rows line up in columns only in a fixed-pitch font.
constexpr ControlRow List(const char* name, ControlRef (*control)(Station&), int t) {
  return {name, -1, control, 30, t, 2055, 1020, nullptr, &kCourierNew9, kSystemColour,
          kSystemColour, Border::Sunken, true};
}

constexpr ControlRow Button(const char* name, ControlRef (*control)(Station&), int l,
                            void (*click)(Station&)) {
  return {name, -1, control, l, 2680, 900, 300, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Click = click}};
}

const std::array kControls{
    Caption("lblTransv", Dlg<&F::lblTransv>, 30, 0, 2040),
    List("lstTransverter", Dlg<&F::lstTransverter>, 240),
    Caption("lblAdress", Dlg<&F::lblAdress>, 120, 1340, 1920),
    List("lstAdress", Dlg<&F::lstAdress>, 1600),
    Button("cmdCancel", Dlg<&F::cmdCancel>, 84, &cmdCancel_Click),
    Button("cmdOK", Dlg<&F::cmdOK>, 1130, &cmdOK_Click),
};

const FormTable kForm{"Mode",
                      &FormOf<&Station::mode>,
                      2130,
                      3045,
                      FormBorder::FixedToolWindow,
                      CloseBox::Hide,
                      kControls};

}  // namespace

const FormTable& ModeForm() { return kForm; }

}  // namespace skylet::ui
