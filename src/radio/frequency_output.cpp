#include "radio/frequency_output.h"

#include "radio/driver.h"
#include "station/station.h"
#include "text/format.h"

namespace skylet::radio {

void SendCatFreq(Station& st, double dn, double up) { Way(st).SendFrequencies(st, dn, up); }

void ShowCatFreq(Station& st) {
  st.main.edRX.text = text::Format(st.tracking.DownFreq, "#000000.000");
  st.main.edTX.text = text::Format(st.tracking.UpFreq, "#000000.000");
}

}  // namespace skylet::radio
