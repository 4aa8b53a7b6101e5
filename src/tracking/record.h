#pragma once
// Cutting a satellite record from the tracking program into its fields.
//
// A satellite record is a run of two-letter tags, each followed directly by
// its value, with one separator character between a value and the next tag
// and one trailing character at the end (neither is looked at):
//
//   SNname sAZaz sELel sUPup sUMum sDNdn sDMdm sMAma t
//
// e.g. "SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r".
// "MA" and its value may be missing. The tags are found case-sensitively from
// the end of the record backwards, each before the one that follows it, so
// tag letters inside a satellite's name ("TEVEL-1", "AZTECHSAT-1") or a
// mode ("AM") are never taken for a tag. The fields lie between the tags, so
// the name keeps the separator after it ("AO-7 "), and the last value loses
// the trailing character.
#include <optional>
#include <string>
#include <string_view>

namespace skylet::tracking {

struct SatelliteRecord {
  std::string name;  // with its separator
  std::string az;    // as received
  std::string el;
  std::string up;  // point form: "145950000" becomes "145950.000"
  std::string um;
  std::string dn;  // point form
  std::string dm;
  bool hasMa = false;
  std::string ma;  // "---" when the record has no "MA"

  // The values as numbers ("." is the decimal point).
  double azDeg = 0;
  double elDeg = 0;
  double upKHz = 0;
  double dnKHz = 0;
};

// The fields of `record`, or nothing when it cannot be cut: a tag missing or
// without room for its separator before the tag that follows it, a frequency field
// shorter than three characters, a position or length beyond 32767, or a
// number too large for a double. The caller skips such a record.
std::optional<SatelliteRecord> CutRecord(std::string_view record);

// Left(digits, Len - 3) & "." & Right(digits, 3): the last three digits of a
// frequency field are the Hz of a kHz value. `digits` has three characters
// or more.
std::string PointForm(std::string_view digits);

}  // namespace skylet::tracking
