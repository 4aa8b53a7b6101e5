#include "app/shutdown.h"

#include "station/station.h"
#include "settings/writers.h"

namespace skylet::app {

void menQuit_Click(Station& st) {
  if (st.Quitting == "+") return;
  st.Quitting = "+";
  st.main.Timer1Enabled = false;
  settings::SaveWindowPos(st);
  st.os.process.End(0);
}

}  // namespace skylet::app
