#include "ui/optionen_form.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/startup.h"
#include "radio/driver.h"
#include "settings/writers.h"
#include "tracking/remembered_korr.h"
#include "ui/ausgabe_form.h"

namespace skylet::ui {

namespace Optionen {

namespace {

// By the index of the sense's option buttons.
constexpr const char* kSenses = "*in";

int Checked(const std::string& option) { return option == "+" ? 1 : 0; }
std::string Switch(const forms::CheckBox& box) { return box.value == 1 ? "+" : "-"; }

}  // namespace

void Open(Station& st) {
  forms::Optionen& dlg = st.optionen;
  AusGabe::PlaceDialog(st, dlg);
  dlg.chkKorrMerken.value = Checked(st.options.KorrMerken);
  dlg.chkDialFolgen.value = Checked(st.options.DialFolgen);
  dlg.chkVerkehrDatei.value = Checked(st.options.VerkehrDatei);
  dlg.lblDialHinweis.visible = !radio::Way(st).ReadsDial(st);
  // The sense is the tracked satellite's, kept with its correction.
  const std::optional<char> sense = tracking::DialSense(st);
  const std::string name = st.tracking.SatName.size() > 2 ? st.tracking.SatName.substr(1) : " ";
  dlg.frSinn.caption = " Uplink beim Drehen" + (sense ? ": " + name : std::string(" "));
  const int chosen = sense ? static_cast<int>(std::string_view(kSenses).find(*sense)) : 0;
  for (int i = 0; i < static_cast<int>(dlg.optSinn.size()); ++i) {
    dlg.optSinn[i].value = i == chosen;
    dlg.optSinn[i].enabled = sense.has_value();
  }
  dlg.focus = "chkKorrMerken";
  dlg.visible = true;
}

void cmdOK_Click(Station& st) {
  const forms::Optionen& dlg = st.optionen;
  const std::string korr = Switch(dlg.chkKorrMerken);
  const bool korrChanged = korr != st.options.KorrMerken;
  st.options.KorrMerken = korr;
  st.options.DialFolgen = Switch(dlg.chkDialFolgen);
  st.options.VerkehrDatei = Switch(dlg.chkVerkehrDatei);
  app::LogTraffic(st);
  if (korrChanged) tracking::KorrMerkenChanged(st);
  for (int i = 0; i < static_cast<int>(dlg.optSinn.size()); ++i) {
    if (dlg.optSinn[i].enabled && dlg.optSinn[i].value) tracking::SetDialSense(st, kSenses[i]);
  }
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

template <auto array, int index>
constexpr ControlRef (*DlgAt)(Station&) = &BindAt<&Station::optionen, array, index>;

constexpr ControlRow Sense(int index, ControlRef (*control)(Station&), int l, int w) {
  return {"optSinn", index, control, l, 270, w, 240, "frSinn", &kStandardFont, kSystemColour, kSystemColour,
          Border::None, true};
}

constexpr ControlRow Button(const char* name, ControlRef (*control)(Station&), int l,
                            void (*click)(Station&)) {
  return {name, -1, control, l, 2220, 1260, 345, nullptr, &kStandardFont, kSystemColour,
          kSystemColour, Border::None, true, false, {.Click = click}};
}

const std::array kControls{
    Check("chkKorrMerken", Dlg<&F::chkKorrMerken>, 150),
    Check("chkDialFolgen", Dlg<&F::chkDialFolgen>, 480),
    ControlRow{"lblDialHinweis", -1, Dlg<&F::lblDialHinweis>, 390, 765, 4050, 195, nullptr, &kStandardFont},
    ControlRow{"frSinn", -1, Dlg<&F::frSinn>, 120, 1080, 4620, 600, nullptr, &kStandardFont},
    Sense(0, DlgAt<&F::optSinn, 0>, 120, 1500),
    Sense(1, DlgAt<&F::optSinn, 1>, 1740, 1200),
    Sense(2, DlgAt<&F::optSinn, 2>, 3060, 1500),
    Check("chkVerkehrDatei", Dlg<&F::chkVerkehrDatei>, 1800),
    Button("cmdOK", Dlg<&F::cmdOK>, 2100, &cmdOK_Click),
    Button("cmdCancel", Dlg<&F::cmdCancel>, 3480, &cmdCancel_Click),
};

const FormTable kForm{"Optionen",
                      &FormOf<&Station::optionen>,
                      4860,
                      2700,
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
