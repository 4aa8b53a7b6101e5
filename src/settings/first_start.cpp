#include "settings/first_start.h"

#include "station/station.h"

namespace skylet::settings {

bool LooksLikeFirstStart(Station& st) {
  const Paths& p = st.paths;
  // Without the roaming folder the files are looked for beside the program:
  // nothing tells a first start from a lost lookup there.
  if (p.VantrakDir.empty() || p.SkyletDir.empty()) return false;
  return !st.os.files.FolderExists(p.VantrakDir) && !st.os.files.FolderExists(p.SkyletDir);
}

std::string FirstStartMessage(const Station& st) {
  // With no settings file read, no rotor or CAT server is chosen and Hamlib
  // is off: Avor is the only partner this start looks for.
  return "Das sieht nach dem ersten Start von Skylet aus: keiner der beiden Einstellungsordner "
         "ist da.\r" +
         st.paths.VantrakDir + "  (Funkger\xe4t, Schnittstellen, Server; von Vantrak geschrieben)\r" +
         st.paths.SkyletDir + "  (Skylets eigene Einstellungen)\r"
         "Skylet braucht das Trackingprogramm Avor; Rotor- und Cat-Server sind nicht gew\xe4hlt.\r"
         "Zuerst im Ordner Skylet die Datei AvorPath.SQF mit dem Pfad von Avor anlegen (eine Zeile, "
         "z. B. C:\\Avor\\Avor.exe), dann im Men\xfc Setup die Server und die Schalter beim Start "
         "w\xe4hlen.\r"
         "Skylet geht jetzt mit Standardwerten weiter; l\xe4uft Avor noch nicht, endet es gleich.";
}

}  // namespace skylet::settings
