#include "radio/dial.h"

#include <cmath>
#include <optional>

#include "hamlib/daemon.h"
#include "radio/driver.h"
#include "station/station.h"

namespace skylet::radio {

namespace {

double Hz(double kHz) { return std::round(kHz * 1000); }

void Tell(Station& st, bool& told, const char* text) {
  if (told) return;
  told = true;
  st.os.alerts.Notify(text, kProgramName);
}

}  // namespace

bool DialFollowed(const Station& st) {
  return st.options.DialFolgen == "+" && st.radio.CatOn == "+" && !st.tracking.DownMode.starts_with("FM") &&
         st.radio.dial.lastRxKHz != 0;
}

bool FollowDial(Station& st) {
  DialState& d = st.radio.dial;
  d.answeredJustNow = false;
  if (!DialFollowed(st)) return true;
  const Driver& way = Way(st);
  if (!way.ReadsDial(st)) {
    Tell(st, d.unavailableTold,
         "Dem Drehknopf folgen: dieses Funkger\xe4t (oder der Weg dorthin) kennt keine Frequenzabfrage; "
         "Skylet stellt die Frequenzen wie ohne die Option.");
    return true;
  }
  const std::optional<double> read = way.ReadDial(st);
  if (!read) {
    // A daemon that does not answer is an outage of its own, told as such.
    if (hamlib::RigOn(st)) return true;
    Tell(st, d.silentTold,
         "Das Funkger\xe4t beantwortet die Frequenzabfrage nicht.\rSkylet folgt dem Drehknopf wieder, "
         "sobald es antwortet.");
    return true;
  }
  d.silentTold = false;
  d.answeredJustNow = true;
  const double tolerance = way.DialResolutionHz() + kDialToleranceHz;
  const double turn = Hz(*read - d.lastRxKHz);
  if (std::fabs(turn) <= tolerance || std::fabs(turn) > kDialReachHz) return true;
  Wait(st);
  const std::optional<double> again = way.ReadDial(st);
  // A knob still turning: nothing is sent over it until it stands.
  if (!again || std::fabs(Hz(*again - *read)) > tolerance) return false;
  d.answeredJustNow = true;
  d.offsetHz += Hz(*again - d.lastRxKHz);
  st.radio.LastCatFreq = 0;  // the uplink follows with this record
  return true;
}

}  // namespace skylet::radio
