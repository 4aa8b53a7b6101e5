#include "rotor/positioning.h"

#include <cmath>

#include "hamlib/daemon.h"
#include "rotor/rotor_link.h"
#include "station/station.h"
#include "text/format.h"

namespace skylet::rotor {

namespace {

// One axis of the angle criterion: a change beyond the threshold sets a new
// reference and a target half a threshold ahead in the direction of motion.
// A change equal to the threshold moves nothing.
void AzimuthStep(RotorState& r, double SatAz, double threshold) {
  const double d = SatAz - r.RotAzLast;
  if (!(std::fabs(d) > threshold)) return;
  double s = d < 0 ? -1 : 1;
  // More than half a turn: the satellite has crossed north.
  if (d > 180 || d < -180) s = -s;
  r.RotAzLast = SatAz;
  r.RotAz = SatAz + s * threshold / 2;
  r.RotMoved = "+";
}

std::string Whole(double degrees) { return text::Format(text::RoundHalfEven(degrees), "##0"); }

[[noreturn]] void OutputFailure(Station& st) {
  st.os.alerts.ShowMessage(kRotorOutputFailure, kProgramName);
  st.os.process.End();
}

}  // namespace

void RotDecide(Station& st) {
  RotorState& r = st.rotor;
  if (r.RotMode != "w") {
    // The counter runs also while tracking is off.
    r.RotCount = r.RotCount + 1;
    if (r.RotCount == 2 && r.RotorOn == "+") RotTimeStep(st);
    if (r.RotCount > r.RotIntV) r.RotCount = 0;
    return;
  }
  if (r.RotorOn == "+") RotAngleStep(st);
}

void RotTimeStep(Station& st) {
  RotorState& r = st.rotor;
  r.RotEl = st.tracking.SatEl;
  r.RotAz = st.tracking.SatAz;
  r.RotSend = "+";
  RotOutput(st);
}

void RotAngleStep(Station& st) {
  RotorState& r = st.rotor;
  const tracking::TrackingState& t = st.tracking;
  if (t.SatEl < r.RotMinEl) return;
  if (r.RotCount <= 0) {
    // The first position goes out as it is and becomes the reference.
    r.RotAz = r.RotAzLast = t.SatAz;
    r.RotEl = r.RotElLast = t.SatEl;
    r.RotSend = "+";
    RotOutput(st);
    r.RotCount = 1;
    return;
  }
  r.RotMoved = "-";
  const double d = t.SatEl - r.RotElLast;
  if (std::fabs(d) > r.MinWin) {
    const double s = d < 0 ? -1 : 1;
    r.RotElLast = t.SatEl;
    r.RotEl = t.SatEl + s * r.MinWin / 2;
    r.RotMoved = "+";
  }
  if (r.WinkelOpt == "k") {
    RotAzConst(st);
  } else {
    RotAzGain(st);
  }
  if (r.RotMoved == "+") {
    r.RotSend = "+";
    RotOutput(st);
  }
}

void RotAzConst(Station& st) { AzimuthStep(st.rotor, st.tracking.SatAz, st.rotor.MinWin); }

void RotAzGain(Station& st) {
  tracking::TrackingState& t = st.tracking;
  // Near the zenith the threshold would grow without bound.
  if (t.SatEl > 89) t.SatEl = 89;
  const double h = st.rotor.MinWin / std::cos(st.rotor.DegToRad * t.SatEl);
  AzimuthStep(st.rotor, t.SatAz, h);
}

void RotOutput(Station& st) {
  RotorState& r = st.rotor;
  // rotctld takes the place of the rotor interface the station file names.
  const bool hamlib = hamlib::RotOn(st);
  if ((r.RotType == 0 && !hamlib) || r.RotSend != "+") return;
  double el = r.RotElOffset + r.RotEl + r.RotElKorr;
  if (el < 0) el = 0;
  double az = r.RotAzOffset + r.RotAz + r.RotAzKorr;
  if (az > 360) az -= 360;
  if (az < 0) az += 360;

  if (hamlib) {
    // A daemon that is away is told once; the next position tries again.
    hamlib::Command(st, hamlib::Rot(st), "P " + Whole(az) + " " + Whole(el));
    return;
  }
  // The parallel-port path (RotParPort) drives no interface: Skylet knows
  // no pin assignment of one, so a position without a rotor link goes
  // nowhere.
  if (r.DdeRotor != "+") return;
  // Without a rotor interface number the start-up opened no rotor link:
  // there is nobody to send to, which is no failure of a rotor server.
  if (r.RotType < 0) return;
  platform::DdeLink& link = st.os.RotClientConv;
  if (RotorLinkIsArswin(st)) {
    for (const std::string& text : {"GA:" + Whole(az), "GE:" + Whole(el)}) {
      st.main.RotClientConv.caption = text;
      if (!link.Poke(text)) OutputFailure(st);
    }
    return;
  }
  if (!link.Execute(Whole(az) + " " + Whole(el))) OutputFailure(st);
}

}  // namespace skylet::rotor
