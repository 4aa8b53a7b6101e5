#include "app/shutdown.h"

#include <string>

#include "hamlib/daemon.h"
#include "radio/cat_wait.h"
#include "radio/driver.h"
#include "radio/link_setup.h"
#include "rotor/rotor_link.h"
#include "settings/writers.h"
#include "station/station.h"
#include "tracking/remembered_korr.h"

namespace skylet::app {

namespace {

constexpr char kRotorServerClose[] = "Close";
// Lets the rotor server act on "Close" before the link goes with the
// program.
constexpr double kRotorServerCloseSeconds = 1.0;

// The radio back out of the satellite and CAT modes the start-up put it in.
// A write that fails here has nobody left to tell and nothing to retry:
// the sequence goes on.
void LeaveRadio(Station& st) {
  if (st.os.MSCat.IsOpen()) radio::FamilyDriver(st).Leave(st);
  // The CAT server's refusal of "RaClose" is of no consequence any more.
  if (st.radio.CatOn == "+") radio::CatSwitchOff(st);
}

// Arswin knows no executes; a link that never opened has nobody to tell.
// The wait follows also when "Close" was refused or not answered in time:
// a server that got it late may still be acting on it.
void LeaveRotorServer(Station& st) {
  if (st.rotor.DdeRotor != "+" || rotor::RotorLinkIsArswin(st) || hamlib::RotOn(st)) return;
  platform::DdeLink& link = st.os.RotClientConv;
  if (link.IsOpen()) link.Execute(kRotorServerClose);
  radio::CatWait(st.os.clock, kRotorServerCloseSeconds);
}

// The CAT server owns the radio when it is in use; otherwise the port is
// ours to give back.
void ReleasePort(Station& st) {
  platform::SerialPort& port = st.os.MSCat;
  if (st.radio.DdeCat == "+" || !port.IsOpen()) return;
  radio::FamilyDriver(st).Release(st);
  port.Close();
}

}  // namespace

void menQuit_Click(Station& st) {
  if (st.Quitting == "+") return;
  st.Quitting = "+";  // a tick already waiting pulls nothing
  st.main.Timer1Enabled = false;
  // A minimised or maximised window leaves the stored position as it was;
  // a file that cannot be written is told (naming it and why, the old file
  // stays), and the sequence goes on once the operator has read it.
  settings::SaveWindowPos(st);
  tracking::StoreKorrNow(st);  // a correction changed just now is kept too
  if (st.verkehr.loaded) settings::WriteVerkehr(st);
  LeaveRadio(st);
  LeaveRotorServer(st);
  ReleasePort(st);
  st.trafficLog.Flush();  // the quit's own traffic with it
  st.os.process.End(0);
}

}  // namespace skylet::app
