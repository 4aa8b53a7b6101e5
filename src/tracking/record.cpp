#include "tracking/record.h"

#include <cmath>
#include <cstdint>

#include "text/format.h"

namespace skylet::tracking {
namespace {

// The tracking program counts positions and lengths in 16-bit signed
// integers; a record that needs more is not one of its records.
constexpr int64_t kMax16 = 32767;

// 1-based position of the last occurrence of `tag` that starts at or before
// the 1-based position `latest`; 0 when there is none.
int64_t FindBefore(std::string_view record, std::string_view tag, int64_t latest) {
  if (latest < 1) return 0;
  const size_t at = record.rfind(tag, static_cast<size_t>(latest - 1));
  return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
}

struct Span {
  int64_t start = 0;  // 1-based
  int64_t length = 0;
};

bool Fits(const Span& s) {
  return s.start >= 1 && s.start <= kMax16 && s.length >= 0 && s.length <= kMax16;
}

// The span's characters; a span that runs past the end is cut at the end.
std::string Take(std::string_view record, const Span& s) {
  const auto start = static_cast<size_t>(s.start - 1);
  if (start >= record.size()) return {};
  return std::string(record.substr(start, static_cast<size_t>(s.length)));
}

}  // namespace

std::string PointForm(std::string_view digits) {
  const size_t whole = digits.size() >= 3 ? digits.size() - 3 : 0;
  std::string out(digits.substr(0, whole));
  out += '.';
  out += digits.substr(whole);
  return out;
}

std::optional<SatelliteRecord> CutRecord(std::string_view record) {
  const auto len = static_cast<int64_t>(record.size());
  // The tags are located from the end backwards, each before the one that
  // follows it with at least its separator between them: the values after
  // the name are numbers and mode texts, so a satellite named TEVEL-1,
  // UMKA-1 or AZTECHSAT-1, or a mode "AM", cannot be taken for a tag. A
  // record whose tags stand only where they belong cuts as it always did.
  const int64_t dm = FindBefore(record, "DM", len);
  // "MA" is the first one after the downlink mode's tag and separator: a
  // mode "AM" ("DMAM") holds no "MA" tag, and an MA value may read "MA1".
  const size_t firstMa = dm == 0 ? std::string_view::npos : record.find("MA", static_cast<size_t>(dm + 1));
  const int64_t ma = firstMa == std::string_view::npos ? 0 : static_cast<int64_t>(firstMa) + 1;
  const int64_t dn = FindBefore(record, "DN", dm - 3);
  const int64_t um = FindBefore(record, "UM", dn - 3);
  const int64_t up = FindBefore(record, "UP", um - 3);
  const int64_t el = FindBefore(record, "EL", up - 3);
  const int64_t az = FindBefore(record, "AZ", el - 3);
  if (az < 3 || el == 0 || up == 0 || um == 0 || dn == 0 || dm == 0) return std::nullopt;

  // Each value starts after its tag and ends before the separator in front
  // of the next tag; without "MA" the downlink mode runs to the last
  // character but one.
  const Span name{3, az - 3};
  const Span azSpan{az + 2, el - az - 3};
  const Span elSpan{el + 2, up - el - 3};
  const Span upSpan{up + 2, um - up - 3};
  const Span umSpan{um + 2, dn - um - 3};
  const Span dnSpan{dn + 2, dm - dn - 3};
  const Span dmSpan{dm + 2, ma != 0 ? ma - dm - 3 : len - dm - 2};
  const Span maSpan{ma + 2, len - ma - 2};
  for (const Span& s : {name, azSpan, elSpan, upSpan, umSpan, dnSpan, dmSpan}) {
    if (!Fits(s)) return std::nullopt;
  }
  if (ma != 0 && !Fits(maSpan)) return std::nullopt;
  if (upSpan.length < 3 || dnSpan.length < 3) return std::nullopt;

  SatelliteRecord r;
  r.name = Take(record, name);
  r.az = Take(record, azSpan);
  r.el = Take(record, elSpan);
  r.up = PointForm(Take(record, upSpan));
  r.um = Take(record, umSpan);
  r.dn = PointForm(Take(record, dnSpan));
  r.dm = Take(record, dmSpan);
  r.hasMa = ma != 0;
  r.ma = r.hasMa ? Take(record, maSpan) : "---";

  r.azDeg = text::Val(r.az);
  r.elDeg = text::Val(r.el);
  r.upKHz = text::Val(r.up);
  r.dnKHz = text::Val(r.dn);
  // A number of hundreds of digits reads as infinite; it would spread into
  // the corrections, the radio and the rotor.
  for (double v : {r.azDeg, r.elDeg, r.upKHz, r.dnKHz}) {
    if (!std::isfinite(v)) return std::nullopt;
  }
  return r;
}

}  // namespace skylet::tracking
