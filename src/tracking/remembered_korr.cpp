#include "tracking/remembered_korr.h"

#include "settings/korr_file.h"
#include "settings/readers.h"
#include "station/station.h"
#include "tracking/parse_record.h"

namespace skylet::tracking {

namespace {

bool On(const Station& st) { return st.options.KorrMerken == "+"; }

// The tracked satellite's name is the shown one without its leading blank
// and the record's separator after it.
KorrKey CurrentKey(const TrackingState& t) {
  const std::string& shown = t.SatName;
  return {shown.size() > 2 ? shown.substr(1, shown.size() - 2) : "", TransponderKind(t.DownMode)};
}

// Whether the tracked satellite can have an entry: the option on, a
// satellite in view, a name the file can hold.
bool Keepable(const Station& st, const KorrKey& key) {
  return On(st) && st.tracking.RecTag == kSatelliteTag && settings::KorrNameFits(key.first);
}

KorrEntry* CurrentEntry(Station& st) {
  const KorrKey key = CurrentKey(st.tracking);
  return Keepable(st, key) ? &st.tracking.remembered.entries[key] : nullptr;
}

void WriteSoon(Station& st) {
  RememberedKorr& m = st.tracking.remembered;
  if (m.due) return;  // the write already waiting takes this change along
  m.due = true;
  m.dueAt = st.os.clock.MonotonicSeconds() + kKorrStoreDelaySeconds;
}

}  // namespace

char TransponderKind(const std::string& downMode) { return downMode.starts_with("FM") ? 'F' : 'L'; }

void TakeRememberedKorr(Station& st) {
  TrackingState& t = st.tracking;
  const KorrKey key = CurrentKey(t);
  if (!Keepable(st, key)) return;
  const auto it = t.remembered.entries.find(key);
  const double korr = it == t.remembered.entries.end() ? 0 : it->second.korr;
  t.SatKorr[t.SatIdx] = korr;
  t.SatKorrKHz[t.SatIdx] = korr / 1000;
}

void KorrChanged(Station& st) {
  KorrEntry* entry = CurrentEntry(st);
  if (!entry) return;
  entry->korr = st.tracking.SatKorr[st.tracking.SatIdx];
  WriteSoon(st);
}

std::optional<char> DialSense(const Station& st) {
  const TrackingState& t = st.tracking;
  const KorrKey key = CurrentKey(t);
  if (!Keepable(st, key)) return std::nullopt;
  const auto it = t.remembered.entries.find(key);
  return it == t.remembered.entries.end() ? '*' : it->second.sense;
}

void SetDialSense(Station& st, char sense) {
  KorrEntry* entry = CurrentEntry(st);
  if (!entry || entry->sense == sense) return;
  entry->sense = sense;
  WriteSoon(st);
}

bool DialInverting(const Station& st) {
  const std::optional<char> kept = DialSense(st);
  if (kept && *kept != '*') return *kept == 'i';
  const TrackingState& t = st.tracking;
  const bool sideband = t.DownMode == "USB" || t.DownMode == "LSB";
  return !(sideband && t.DownMode == t.UpMode);
}

void StoreDueKorr(Station& st) {
  const RememberedKorr& m = st.tracking.remembered;
  if (m.due && st.os.clock.MonotonicSeconds() >= m.dueAt) settings::WriteKorrFile(st);
}

void StoreKorrNow(Station& st) {
  if (st.tracking.remembered.due) settings::WriteKorrFile(st);
}

void KorrMerkenChanged(Station& st) {
  RememberedKorr& m = st.tracking.remembered;
  if (!On(st)) {
    m.due = false;
    return;
  }
  if (m.loaded) return;
  settings::ReadKorrFile(st);
  settings::ReportSettingsProblems(st);
}

}  // namespace skylet::tracking
