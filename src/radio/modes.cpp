#include "radio/modes.h"

#include "radio/driver.h"
#include "station/station.h"

namespace skylet::radio {

void SetCatMode(Station& st) { Way(st).SendModes(st); }

bool SetDueModes(Station& st) {
  RadioState& r = st.radio;
  if (!r.modesDue) return true;
  SetCatMode(st);
  if (r.modesDue) return false;
  r.LastCatFreq = 0;  // the frequencies follow the modes at once
  return true;
}

}  // namespace skylet::radio
