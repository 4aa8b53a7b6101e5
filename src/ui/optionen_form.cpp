#include "ui/optionen_form.h"

#include <array>

#include "radio/driver.h"
#include "settings/writers.h"
#include "tracking/remembered_korr.h"
#include "ui/ausgabe_form.h"

namespace skylet::ui {

namespace Optionen {

namespace {

int Checked(const std::string& option) { return option == "+" ? 1 : 0; }
std::string Switch(const forms::CheckBox& box) { return box.value == 1 ? "+" : "-"; }

}  // namespace

void Open(Station& st) {
  forms::Optionen& dlg = st.optionen;
  AusGabe::PlaceDialog(st, dlg);
  dlg.chkKorrMerken.value = Checked(st.options.KorrMerken);
  dlg.chkDialFolgen.value = Checked(st.options.DialFolgen);
  dlg.lblDialHinweis.visible = !radio::Way(st).ReadsDial(st);
  dlg.focus = "chkKorrMerken";
  dlg.visible = true;
}

void cmdOK_Click(Station& st) {
  const forms::Optionen& dlg = st.optionen;
  const std::string korr = Switch(dlg.chkKorrMerken);
  const bool korrChanged = korr != st.options.KorrMerken;
  st.options.KorrMerken = korr;
  st.options.DialFolgen = Switch(dlg.chkDialFolgen);
  if (korrChanged) tracking::KorrMerkenChanged(st);
  if (settings::WriteOptions(st)) st.optionen.visible = false;
}

void cmdCancel_Click(Station& st) { st.optionen.visible = false; }

}  // namespace Optionen

namespace {

using namespace Optionen;
using F = forms::Optionen;

template <auto member>
constexpr ControlRef (*Dlg)(Station&) = &Bind<&Station::optionen, member>;

constexpr ControlRow Check(const char* name, ControlRef (*control)(Station&), int t) {
  return {name, -1, control, 120, t, 4200, 255, nullptr, &kStandardFont, kSystemColour, kSystemColour,
          Border::None, true};
}

constexpr ControlRow Button(const char* name, ControlRef (*control)(Station&), int l,
                            void (*click)(Station&)) {
  return {name, -1, control, l, 1200, 1260, 345, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Click = click}};
}

const std::array kControls{
    Check("chkKorrMerken", Dlg<&F::chkKorrMerken>, 150),
    Check("chkDialFolgen", Dlg<&F::chkDialFolgen>, 480),
    ControlRow{"lblDialHinweis", -1, Dlg<&F::lblDialHinweis>, 390, 765, 4050, 195, nullptr, &kStandardFont},
    Button("cmdOK", Dlg<&F::cmdOK>, 1800, &cmdOK_Click),
    Button("cmdCancel", Dlg<&F::cmdCancel>, 3180, &cmdCancel_Click),
};

const FormTable kForm{"Optionen",
                      &FormOf<&Station::optionen>,
                      4560,
                      1680,
                      FormBorder::FixedToolWindow,
                      CloseBox::Unload,
                      kControls,
                      {},
                      nullptr,
                      nullptr,
                      &ResetForm<&Station::optionen>};

}  // namespace

const FormTable& OptionenForm() { return kForm; }

}  // namespace skylet::ui
