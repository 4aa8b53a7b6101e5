#include "tracking/remembered_korr.h"

#include "settings/korr_file.h"
#include "settings/readers.h"
#include "station/station.h"

namespace skylet::tracking {

namespace {

bool On(const Station& st) { return st.options.KorrMerken == "+"; }

// The tracked satellite's name is the shown one without its leading blank
// and the record's separator after it.
KorrKey CurrentKey(const TrackingState& t) {
  const std::string& shown = t.SatName;
  return {shown.size() > 2 ? shown.substr(1, shown.size() - 2) : "", TransponderKind(t.DownMode)};
}

}  // namespace

char TransponderKind(const std::string& downMode) { return downMode.starts_with("FM") ? 'F' : 'L'; }

void TakeRememberedKorr(Station& st) {
  TrackingState& t = st.tracking;
  const KorrKey key = CurrentKey(t);
  if (!On(st) || !settings::KorrNameFits(key.first)) return;
  const auto it = t.remembered.entries.find(key);
  const double korr = it == t.remembered.entries.end() ? 0 : it->second.korr;
  t.SatKorr[t.SatIdx] = korr;
  t.SatKorrKHz[t.SatIdx] = korr / 1000;
}

void KorrChanged(Station& st) {
  TrackingState& t = st.tracking;
  RememberedKorr& m = t.remembered;
  const KorrKey key = CurrentKey(t);
  if (!On(st) || !settings::KorrNameFits(key.first)) return;
  m.entries[key].korr = t.SatKorr[t.SatIdx];
  if (m.due) return;  // the write already waiting takes this change along
  m.due = true;
  m.dueAt = st.os.clock.MonotonicSeconds() + kKorrStoreDelaySeconds;
}

void StoreDueKorr(Station& st) {
  const RememberedKorr& m = st.tracking.remembered;
  if (m.due && st.os.clock.MonotonicSeconds() >= m.dueAt) settings::WriteKorrFile(st);
}

void StoreKorrNow(Station& st) {
  if (st.tracking.remembered.due) settings::WriteKorrFile(st);
}

bool DialInverting(const Station& st) {
  const TrackingState& t = st.tracking;
  if (On(st)) {
    const auto it = t.remembered.entries.find(CurrentKey(t));
    if (it != t.remembered.entries.end() && it->second.sense != '*') return it->second.sense == 'i';
  }
  const bool sideband = t.DownMode == "USB" || t.DownMode == "LSB";
  return !(sideband && t.DownMode == t.UpMode);
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
