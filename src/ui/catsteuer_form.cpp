#include "ui/catsteuer_form.h"

#include <array>
#include <cmath>

#include "radio/frequency_output.h"
#include "settings/writers.h"
#include "text/format.h"
#include "tracking/parse_record.h"
#include "tracking/remembered_korr.h"

namespace skylet::ui {

namespace CatSteuer {

void IntVStep(Station& st, double hz) {
  double& IntV = st.radio.IntV;
  if (IntV < 0) return;
  IntV = std::floor(IntV + hz);
  if (IntV < 0) IntV = 0;
  const std::string t = text::Format(IntV, "####0");
  forms::Loaded(st.catSteuer).edIntV.text = t;
  st.main.lblIntV.caption = t;
}

void KorrStep(Station& st, double hz) {
  tracking::TrackingState& tr = st.tracking;
  if (tr.RecTag != tracking::kSatelliteTag) return;
  const double k = tr.SatKorr[tr.SatIdx];
  // Beyond the limits only a step back towards zero is taken, so a
  // correction that went too far can always be brought back.
  const bool towardsZero = (k > 0 && hz < 0) || (k < 0 && hz > 0);
  if (!(k >= -10001 && k <= 10001) && !towardsZero) return;
  tr.SatKorr[tr.SatIdx] = std::floor(k + hz);
  tr.SatKorrKHz[tr.SatIdx] = tr.SatKorr[tr.SatIdx] / 1000;
  tracking::KorrChanged(st);
  const std::string t = text::Format(tr.SatKorr[tr.SatIdx], "####0");
  forms::Loaded(st.catSteuer).edKorr.text = t;
  st.main.lblKorr.text = t;
  st.radio.LastCatFreq = 0;  // the next record sends the corrected frequencies
  if (st.main.edSat.text.find(" No ") == std::string::npos) radio::ShowCatFreq(st);
}

namespace {

double Step(const forms::ScrollBar& spin, double hz) { return spin.step > 0 ? hz : -hz; }

}  // namespace

void ScrollIntV10_Change(Station& st) { IntVStep(st, Step(st.catSteuer.ScrollIntV10, 10)); }
void ScrollIntV100_Change(Station& st) { IntVStep(st, Step(st.catSteuer.ScrollIntV100, 100)); }
void ScrollIntV1000_Change(Station& st) { IntVStep(st, Step(st.catSteuer.ScrollIntV1000, 1000)); }
void ScrollKorr10_Change(Station& st) { KorrStep(st, Step(st.catSteuer.ScrollKorr10, 10)); }
void ScrollKorr100_Change(Station& st) { KorrStep(st, Step(st.catSteuer.ScrollKorr100, 100)); }
void ScrollKorr1000_Change(Station& st) { KorrStep(st, Step(st.catSteuer.ScrollKorr1000, 1000)); }

void cmdIntVStore_Click(Station& st) {
  settings::WriteIntVCat(st);
  st.catSteuer.focus = "cmdCancel";
}

void cmdCancel_Click(Station& st) { st.catSteuer.visible = false; }

}  // namespace CatSteuer

namespace {

using namespace CatSteuer;
using F = forms::CatSteuer;

template <auto member>
constexpr ControlRef (*Dlg)(Station&) = &Bind<&Station::catSteuer, member>;

constexpr ControlRow Caption(const char* name, ControlRef (*control)(Station&), int l, int t) {
  return {name, -1, control, l, t, 1010, 192, nullptr, &kStandardFont};
}

constexpr ControlRow Box(const char* name, ControlRef (*control)(Station&), int l) {
  return {name, -1, control, l, 280, 960, 300, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::Sunken, false, true};
}

constexpr ControlRow Spin(const char* name, ControlRef (*control)(Station&), int l,
                          void (*change)(Station&)) {
  return {name, -1, control, l, 660, 240, 480, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Change = change}};
}

constexpr ControlRow Button(const char* name, ControlRef (*control)(Station&), int l,
                            void (*click)(Station&)) {
  return {name, -1, control, l, 1440, 960, 360, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Click = click}};
}

// The interval on the left, the correction on the right; the spins of each
// stand over their step sizes, 10, 100 and 1000 Hz from left to right.
const std::array kControls{
    Caption("lblIntV", Dlg<&F::lblIntV>, 60, 60),
    Box("edIntV", Dlg<&F::edIntV>, 60),
    Spin("ScrollIntV10", Dlg<&F::ScrollIntV10>, 110, &ScrollIntV10_Change),
    Spin("ScrollIntV100", Dlg<&F::ScrollIntV100>, 410, &ScrollIntV100_Change),
    Spin("ScrollIntV1000", Dlg<&F::ScrollIntV1000>, 750, &ScrollIntV1000_Change),
    Caption("lblWertKorr", Dlg<&F::lblWertKorr>, 60, 1180),
    Caption("lblKorr", Dlg<&F::lblKorr>, 1110, 60),
    Box("edKorr", Dlg<&F::edKorr>, 1110),
    Spin("ScrollKorr10", Dlg<&F::ScrollKorr10>, 1160, &ScrollKorr10_Change),
    Spin("ScrollKorr100", Dlg<&F::ScrollKorr100>, 1460, &ScrollKorr100_Change),
    Spin("ScrollKorr1000", Dlg<&F::ScrollKorr1000>, 1800, &ScrollKorr1000_Change),
    Caption("lblWertIntV", Dlg<&F::lblWertIntV>, 1110, 1180),
    Button("cmdIntVStore", Dlg<&F::cmdIntVStore>, 60, &cmdIntVStore_Click),
    Button("cmdCancel", Dlg<&F::cmdCancel>, 1110, &cmdCancel_Click),
};

const FormTable kForm{"CatSteuer",
                      &FormOf<&Station::catSteuer>,
                      2130,
                      1905,
                      FormBorder::FixedToolWindow,
                      CloseBox::Unload,
                      kControls,
                      {},
                      nullptr,
                      nullptr,
                      &ResetForm<&Station::catSteuer>};

}  // namespace

const FormTable& CatSteuerForm() { return kForm; }

}  // namespace skylet::ui
