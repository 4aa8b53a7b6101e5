#include "app/main_window_handlers.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "app/shutdown.h"
#include "station/station.h"
#include "radio/link_setup.h"
#include "rotor/switches.h"
#include "tracking/parse_record.h"

namespace skylet::app {

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

void FocusToKeyboardTarget(Station& st) { st.main.focus = ui::AusGabeCtl::picFocus; }

}  // namespace

void Timer1_Timer(Station& st) {
  // The failure message below waits for the operator while the timer goes
  // on ticking; one lost link gets one message.
  if (st.main.pullRunning) return;
  PullInProgress pulling(st.main.pullRunning);
  if (st.Quitting == "+") return;
  std::optional<std::string> record = st.os.lblDDE.Request();
  if (!record) {
    st.os.alerts.ShowMessage(kTrackingLostMessage, kProgramName);
    menQuit_Click(st);
  }
  st.main.lblDDE.caption = std::move(*record);
  lblDDE_Change(st);
}

void lblDDE_Change(Station& st) { tracking::ParseRecord(st, st.main.lblDDE.caption); }

void lblCat_Click(Station& st) {
  // Whether the CAT server took the command or not, the switch has changed.
  if (st.radio.CatOn == "+") {
    radio::CatSwitchOff(st);
  } else {
    radio::CatSwitchOn(st);
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

void GotFocus(Station& st, ui::AusGabeCtl control) {
  using C = ui::AusGabeCtl;
  st.main.focus = control;
  switch (control) {
    case C::edAZ: edAZ_GotFocus(st); break;
    case C::edDM: edDM_GotFocus(st); break;
    case C::edEL: edEL_GotFocus(st); break;
    case C::edRX: edRX_GotFocus(st); break;
    case C::edSat: edSat_GotFocus(st); break;
    case C::edTX: edTX_GotFocus(st); break;
    case C::edUM: edUM_GotFocus(st); break;
    default: break;  // edMA, edUeMA and lblKorr keep it
  }
}

void picFocus_KeyDown(Station&, int, int) {}

void MenCat_Click(Station&) {}
void menRot_Click(Station&) {}
void menMode_Click(Station&) {}
void menOpt_Click(Station&) {}

void menHelp_Click(Station& st) {
  // Shown without taking the focus from the main window; a missing Notepad
  // or help file is not reported.
  st.os.launcher.ShellOpen("Open", "Notepad", "Skylet.txt", st.paths.AppPath,
                           platform::ShowCommand::ShowNoActivate);
}

void CalcDlgOffset(Station& st) {
  const double h = std::floor(st.os.screen.HeightTwips() * 0.33);
  const double w = std::floor(st.os.screen.WidthTwips() / 2.0);
  st.main.DlgOffY = st.main.Top <= h ? 1000 : -700;
  st.main.DlgOffX = st.main.Left <= w ? 1000 : -800;
}

}  // namespace skylet::app
