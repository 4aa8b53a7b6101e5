#include "station/settings_report.h"

#include <algorithm>

namespace skylet::settings {

void Report::Add(const std::string& path, const std::string& problem) {
  Problem p{path, problem};
  if (std::find(problems_.begin(), problems_.end(), p) == problems_.end()) {
    problems_.push_back(std::move(p));
  }
}

std::string Report::Message() const {
  std::string text = "Einige Einstellungsdateien fehlen oder sind fehlerhaft:";
  for (const Problem& p : problems_) {
    text += '\r';
    text += p.path;
    text += ": ";
    text += p.problem;
  }
  text += "\rSkylet arbeitet ohne diese Werte weiter.";
  return text;
}

}  // namespace skylet::settings
