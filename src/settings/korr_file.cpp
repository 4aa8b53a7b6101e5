#include "settings/korr_file.h"

#include <cmath>

#include "settings/field_reader.h"
#include "settings/settings_file.h"
#include "station/station.h"
#include "text/format.h"

namespace skylet::settings {

namespace {

bool IsKind(char c) { return c == 'F' || c == 'L'; }
bool IsSense(char c) { return c == '*' || c == 'i' || c == 'n'; }

// "L,300,*,AO-7": nothing when the line is not a correction.
std::optional<std::pair<tracking::KorrKey, tracking::KorrEntry>> ParseLine(std::string_view line) {
  const size_t c1 = line.find(',');
  if (c1 != 1 || !IsKind(line[0])) return std::nullopt;
  const size_t c2 = line.find(',', c1 + 1);
  if (c2 == std::string_view::npos || c2 + 2 >= line.size() || line[c2 + 2] != ',') return std::nullopt;
  const std::optional<double> korr = text::ParseNumber(line.substr(c1 + 1, c2 - c1 - 1));
  if (!korr || *korr != std::floor(*korr) || std::fabs(*korr) > kKorrLimit) return std::nullopt;
  const char sense = line[c2 + 1];
  const std::string_view name = line.substr(c2 + 3);
  if (!IsSense(sense) || !KorrNameFits(name)) return std::nullopt;
  return std::pair{tracking::KorrKey{std::string(name), line[0]}, tracking::KorrEntry{*korr, sense}};
}

}  // namespace

bool KorrNameFits(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

KorrParse ParseKorrFile(std::string_view bytes) {
  KorrParse out;
  int number = 0;
  for (const std::string& line : SplitLines(bytes)) {
    ++number;
    if (IsCommentLine(line) || line.find_first_not_of(" \t\x1a") == std::string::npos) continue;
    auto entry = ParseLine(line);
    if (!entry) {
      out = {{}, number, line};
      return out;
    }
    out.entries[entry->first] = entry->second;  // a name given twice: the later line holds
  }
  return out;
}

std::string KorrFileBytes(const KorrEntries& entries) {
  std::string out;
  for (const auto& [key, entry] : entries) {
    if (entry.korr == 0 && entry.sense == '*') continue;
    out += key.second;
    out += ',' + text::DecimalText(entry.korr) + ',' + entry.sense + ',' + key.first + "\r\n";
  }
  return out;
}

void ReadKorrFile(Station& st) {
  tracking::RememberedKorr& m = st.tracking.remembered;
  m.loaded = true;
  m.entries.clear();
  m.keepFile = false;
  const std::string path = st.paths.SkyletDir + kKorrFile;
  const platform::FileRead read = st.os.files.Read(path);
  if (read.status == platform::FileRead::Status::Missing) return;
  if (read.status == platform::FileRead::Status::Unreadable) {
    m.keepFile = true;
    st.settingsReport.Add(path, "Datei kann nicht gelesen werden; die Korrekturen beginnen bei 0 und "
                                "werden in diesem Lauf nicht gespeichert");
    return;
  }
  KorrParse parse = ParseKorrFile(read.bytes);
  if (parse.badLine == 0) {
    m.entries = std::move(parse.entries);
    return;
  }
  const std::string bad = "Zeile " + std::to_string(parse.badLine) + " ist keine Korrektur: " +
                          Quoted(parse.badText) + "; alle Korrekturen beginnen bei 0";
  // The operator may want the old values back by hand: the bad file goes
  // aside before the next store replaces it.
  std::string error;
  if (st.os.files.Write(st.paths.SkyletDir + kKorrKeptFile, read.bytes, error)) {
    st.settingsReport.Add(path, bad + ", die Datei ist als " + kKorrKeptFile + " aufbewahrt");
  } else {
    m.keepFile = true;
    st.settingsReport.Add(path, bad + "; sie kann nicht aufbewahrt werden (" + error +
                                    ") und bleibt in diesem Lauf unver\xe4ndert");
  }
}

bool WriteKorrFile(Station& st) {
  tracking::RememberedKorr& m = st.tracking.remembered;
  m.due = false;
  if (m.keepFile) return false;
  const std::string path = st.paths.SkyletDir + kKorrFile;
  std::string error;
  if (st.os.files.Write(path, KorrFileBytes(m.entries), error)) {
    m.writeFailTold = false;
    return true;
  }
  // Told without holding up the pass; the next change tries again.
  if (!m.writeFailTold) {
    m.writeFailTold = true;
    st.os.alerts.Notify(path + " kann nicht gespeichert werden:\r" + error +
                            "\rDie bisherige Datei bleibt unver\xe4ndert; Skylet versucht es bei der "
                            "n\xe4" "chsten \xc4nderung wieder.",
                        kProgramName);
  }
  return false;
}

}  // namespace skylet::settings
