#include "tracking/parse_record.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "station/station.h"
#include "radio/dial.h"
#include "radio/frequency_output.h"
#include "radio/modes.h"
#include "rotor/park.h"
#include "rotor/positioning.h"
#include "text/format.h"
#include "tracking/record.h"
#include "tracking/remembered_korr.h"

namespace skylet::tracking {
namespace {

constexpr int kLast = TrackingState::kLastSatEntry;

// Creates the correction dialog, hidden, if it does not exist yet.
void EnableKorrScrolls(forms::CatSteuer& catSteuer, bool enabled) {
  forms::CatSteuer& dlg = forms::Loaded(catSteuer);
  dlg.ScrollKorr10.enabled = enabled;
  dlg.ScrollKorr100.enabled = enabled;
  dlg.ScrollKorr1000.enabled = enabled;
}

// Name, modes and correction are taken only here: a change of satellite is
// seen only after a no-satellite record (or at the first record after start).
void SetUpNewSatellite(Station& st, const SatelliteRecord& r) {
  TrackingState& t = st.tracking;
  st.rotor.ParkCount = 0;
  st.main.edSat.text = " " + r.name;
  st.main.edDM.text = r.dm;
  st.main.edUM.text = r.um;
  t.SatActive = 1;
  st.radio.dial.offsetHz = st.radio.dial.lastRxKHz = 0;  // the dial offset belongs to the pass
  t.DownMode = r.dm;
  t.UpMode = r.um;
  LookupSat(st);
  TakeRememberedKorr(st);
  st.main.lblKorr.text = text::Format(t.SatKorr[t.SatIdx], "###0");
  radio::SetCatMode(st);
  EnableKorrScrolls(st.catSteuer, true);
}

void TakeSatelliteRecord(Station& st, const SatelliteRecord& r) {
  TrackingState& t = st.tracking;
  const bool takenUp = t.SatActive <= 0;
  if (takenUp) SetUpNewSatellite(st, r);
  t.NoSatShown = 0;

  st.main.edAZ.text = r.az;
  st.main.edEL.text = r.el;
  st.main.edMA.text = r.ma;

  t.DownFreq = r.dnKHz;
  // The dial's share is the operator's, not the tracking program's: the jump
  // test compares the records' uplinks without it.
  t.UpFreqPrev = t.UpFreq - t.DialUpKHz;
  t.UpFreq = r.upKHz;
  // A large uplink jump (the operator retuned in the tracking program)
  // must reach the radio even if the step test would hold it back. The new
  // uncorrected uplink is compared with the previous corrected one.
  if (st.radio.IntV / 1000 < std::fabs(t.UpFreq - t.UpFreqPrev)) st.radio.LastCatFreq = 0;

  // The uplink gets the same relative correction as the corrected downlink.
  const double k = t.SatKorrKHz[t.SatIdx];
  t.DownFreq = t.DownFreq + k;
  if (t.DownFreq > 0) {
    const double up = t.UpFreq / t.DownFreq * k + t.UpFreq;
    // A downlink so near zero that the ratio overflows carries no relative
    // correction; the uplink then stays as received.
    if (std::isfinite(up)) t.UpFreq = up;
  }

  const bool dialStands = radio::FollowDial(st);
  const double dial = st.radio.dial.offsetHz / 1000;
  t.DownFreq += dial;
  t.DialUpKHz = t.UpFreq == 0 ? 0 : DialInverting(st) ? -dial : dial;
  t.UpFreq += t.DialUpKHz;

  // Modes the take-up could not set are sent before the frequencies of a
  // later record; while they cannot be, the frequencies wait with them.
  const bool modesSet = takenUp ? !st.radio.modesDue : radio::SetDueModes(st);
  if (st.radio.CatOn == "+" && modesSet && dialStands) radio::SendCatFreq(st, t.DownFreq, t.UpFreq);
  radio::ShowCatFreq(st);

  t.SatAz = r.azDeg;
  t.SatEl = r.elDeg;
  rotor::RotDecide(st);
}

void BlankDisplay(forms::AusGabe& main) {
  main.edSat.text = " No Satellite";
  for (forms::TextBox* box : {&main.edAZ, &main.edEL, &main.edRX, &main.edTX, &main.edDM, &main.edUM,
                           &main.edMA, &main.lblKorr}) {
    box->text.clear();
  }
}

void NoSatelliteSteps(Station& st) {
  TrackingState& t = st.tracking;
  rotor::RotorState& rot = st.rotor;
  t.SatActive = 0;
  st.radio.modesDue = false;  // the next take-up sends its own modes

  rotor::ParkStep(st);

  if (t.NoSatShown > 0) return;
  t.NoSatShown = 1;
  BlankDisplay(st.main);
  rot.RotElLast = rot.RotEl;
  rot.RotAzLast = rot.RotAz;
  EnableKorrScrolls(st.catSteuer, false);
}

}  // namespace

void ParseRecord(Station& st, const std::string& record) {
  const std::string tag = record.substr(0, 2);
  if (tag == kSatelliteTag) {
    const std::optional<SatelliteRecord> cut = CutRecord(record);
    if (!cut) return;
    st.tracking.RecTag = tag;
    TakeSatelliteRecord(st, *cut);
    return;
  }
  st.tracking.RecTag = tag;
  if (tag == kNoSatelliteTag) NoSatelliteSteps(st);
}

void LookupSat(Station& st) {
  TrackingState& t = st.tracking;
  t.SatName = st.main.edSat.text;
  // Entry 0 is never filled and never matches.
  const int count = std::clamp<int>(t.SatCount, 0, kLast);
  for (int i = 1; i <= count; ++i) {
    if (t.SatNames[i] == t.SatName) {
      t.SatIdx = static_cast<int16_t>(i);
      return;
    }
  }
  if (count < kLast) {
    t.SatCount = static_cast<int16_t>(count + 1);
  } else {
    t.SatCount = kLast;
    t.SatKorr[kLast] = 0;
    t.SatKorrKHz[kLast] = 0;
  }
  t.SatNames[t.SatCount] = t.SatName;
  t.SatIdx = t.SatCount;
}

}  // namespace skylet::tracking
