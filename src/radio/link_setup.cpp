#include "radio/link_setup.h"

#include <string_view>

#include "hamlib/daemon.h"
#include "radio/driver.h"
#include "radio/icom.h"
#include "radio/kenwood.h"
#include "radio/yaesu.h"
#include "station/station.h"

namespace skylet::radio {

namespace {

// The families of "TRX.SQF"; a name of none of them is driven as a Yaesu.
const Driver& DriverOfFamily(const RadioState& r) {
  switch (TrxFamilyOf(r.TrxFamily)) {
    case kIcom: return icom::DriverFor(r.IcomModel);
    case kKenwood: return kenwood::DriverFor(r.KenwoodModel);
    default: return yaesu::DriverFor(r.YaesuModel);
  }
}

}  // namespace

void BuildCatCommands(Station& st) {
  RadioState& r = st.radio;
  r.CmdFamily = r.TrxFamily;
  r.family = &DriverOfFamily(r);
  r.family->BuildCommands(st);
}

void BuildCatCommandsForFamily(Station& st) {
  if (st.radio.TrxFamily != st.radio.CmdFamily) BuildCatCommands(st);
}

// The serial port is the family's also when the CAT server drives the
// radio: the start-up sets it up before the start options are read.
void OpenCatLink(Station& st) {
  RadioState& r = st.radio;
  if (r.CatLinkDone == "+") return;
  r.CatLinkDone = "+";
  // rigctld owns the radio: no serial port of ours.
  if (hamlib::RigOn(st)) return;
  st.os.MSCat.SetRTSEnable(false);
  if (r.CatPort < 1) return;
  FamilyDriver(st).TakeUp(st);
}

bool CatSwitchOn(Station& st) {
  RadioState& r = st.radio;
  st.main.lblCat.caption = " C+";
  r.CatOn = "+";
  r.LastCatFreq = 0;  // the next record sends its frequencies
  return Way(st).CatOn(st);
}

bool CatSwitchOff(Station& st) {
  RadioState& r = st.radio;
  st.main.lblCat.caption = " C-";
  r.CatOn = "-";
  return Way(st).CatOff(st);
}

}  // namespace skylet::radio
