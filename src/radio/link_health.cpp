#include "radio/link_health.h"

#include "station/station.h"

namespace skylet::radio {

namespace {

void CatLinkWorks(Station& st) { st.radio.catLinkDown = false; }

}  // namespace

bool WriteCat(Station& st, const std::string& bytes) {
  if (bytes.empty()) return true;
  if (!st.os.MSCat.Output(bytes)) {
    CatLinkFailed(st, "Die Ausgabe an den Transceiver (COM" + std::to_string(st.radio.CatPort) +
                          ") ist fehlgeschlagen.");
    return false;
  }
  CatLinkWorks(st);
  return true;
}

bool ExecuteCat(Station& st, const std::string& command) {
  if (!st.os.CatClientConv.Execute(command)) {
    CatLinkFailed(st, "Der Catserver hat \"" + command + "\" nicht angenommen.");
    return false;
  }
  CatLinkWorks(st);
  return true;
}

void CatLinkFailed(Station& st, const std::string& reason) {
  if (st.radio.catLinkDown) return;
  st.radio.catLinkDown = true;
  st.os.alerts.Notify(reason + "\rSkylet versucht es mit dem n\xe4" "chsten Datensatz wieder.",
                      kProgramName);
}

}  // namespace skylet::radio
