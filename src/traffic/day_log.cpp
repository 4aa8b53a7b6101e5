#include "traffic/day_log.h"

namespace skylet::traffic {

void DayLog::SetOn(bool on, const std::string& folder) {
  if (on_ && (!on || folder != folder_)) {
    Flush();
    file_.Close();
    day_.clear();
  }
  on_ = on;
  folder_ = folder;
}

void DayLog::Take(const Line& line) {
  if (!on_) return;
  const std::string today = clock_.Today();
  if (today != day_) {
    // The lines of the day before go to its own file.
    Flush();
    if (!on_) return;
    std::string error;
    if (!file_.Open(folder_ + "\\Verkehr-" + today + ".txt", size_, error)) return Fail(error);
    day_ = today;
    capped_ = false;
  }
  if (capped_) return;
  std::string text = Format(line) + "\r\n";
  if (size_ + text.size() > kDayCapBytes) {
    text = Format({line.secondsOfDay, Link::Skylet, Way::Note,
                   "Tagesgrenze von 20 MB erreicht: bis Mitternacht wird nichts mehr aufgezeichnet."}) +
           "\r\n";
    capped_ = true;
  }
  size_ += text.size();
  pending_ += text;
}

void DayLog::Flush() {
  if (pending_.empty() || !on_) return;
  std::string error;
  if (!file_.Append(pending_, error)) return Fail(error);
  pending_.clear();
}

void DayLog::Fail(const std::string& error) {
  on_ = false;
  pending_.clear();
  file_.Close();
  day_.clear();
  alerts_.Notify("Das Verkehrsprotokoll in " + folder_ + " kann nicht geschrieben werden: " + error +
                     "\rSkylet zeichnet es bis zum n\xe4" "chsten Einschalten nicht mehr auf; der Betrieb geht weiter.",
                 "Skylet");
}

}  // namespace skylet::traffic
