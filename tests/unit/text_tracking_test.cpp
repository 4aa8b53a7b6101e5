// Numbers and text as files, partners and windows exchange them; the tracking record and its intake.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "fakes/fakes.h"
#include "text/format.h"
#include "tracking/parse_record.h"
#include "tracking/record.h"

namespace skylet {
namespace {

using namespace text;
using namespace tracking;
using namespace std::string_literals;  // "..."s keeps NULs
using Strings = std::vector<std::string>;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::nullopt_t kNo = std::nullopt;

// Val reads the leading number as the runtime did; ParseNumber takes only a whole one.
TEST(NumberReading, LeadingAndWholeNumbers) {
  const std::tuple<std::string_view, double, std::optional<double>> rows[] = {
      {"  12.5 Grad", 12.5, kNo}, {"\t-\n4", -4, kNo},     {"", 0, 0.0},           {" \t ", 0, 0.0},
      {" 12.5\t", 12.5, 12.5},   {"-3.7e2x", -370, kNo}, {"1.5D3", 1500, 1500},  {"2d-1", 0.2, 0.2},
      {"12E+", 12, kNo},          {".5", 0.5, 0.5},       {"+7", 7, 7.0},         {"--5", 0, kNo},
      {".", 0, kNo},              {"e5", 0, kNo},         {"12\n", 12, kNo},      {"12,5", 12, kNo},
      {"1e999", kInf, kNo},       {"-1e999", -kInf, kNo}, {"1e-999", 0, 0.0},
      // "&H" and "&O" read as a 16-bit Integer when they fit, else as a 32-bit Long.
      {"&HFFFF", -1, kNo},      {"&hff", 255, kNo}, {"&H10000", 65536, kNo}, {"&HFFFFFFFF", -1, kNo},
      {"&H1Fz", 31, kNo},       {"&H", 0, kNo},     {"&O177777", -1, kNo},   {"&o200000", 65536, kNo},
      {"&O8", 0, kNo},          {" & H 1 0", 16, kNo}, {"&X10", 0, kNo},
  };
  for (const auto& [text, val, whole] : rows) {
    EXPECT_EQ(Val(text), val) << '"' << text << '"';
    EXPECT_EQ(ParseNumber(text), whole) << '"' << text << '"';
  }
}

// Halves go to the even neighbour; ToInteger16 then refuses what leaves -32768..32767.
TEST(NumberRounding, HalfEvenAndSixteenBits) {
  const std::tuple<double, double, std::optional<std::int16_t>> rows[] = {
      {2.5, 2, 2},   {3.5, 4, 4},   {-2.5, -2, -2}, {-3.5, -4, -4}, {2.4999, 2, 2}, {2.5000001, 3, 3},
      {32767.4, 32767, 32767},  {32767.5, 32768, kNo}, {-32768.5, -32768, -32768}, {-32768.6, -32769, kNo},
      {0.49999999999999994, 0, 0},                    // floor(x + 0.5) gets this one wrong
      {4503599627370497.0, 4503599627370497.0, kNo},  // 2^52 + 1: already whole
      {kInf, kInf, kNo},    {-kInf, -kInf, kNo},
  };
  for (const auto& [value, rounded, integer] : rows) {
    EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    EXPECT_EQ(ToInteger16(value), integer) << value;
  }
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))) && !ToInteger16(std::nan("")));
}

// Display patterns round halves away from zero, after taking the value to 15 digits.
TEST(Format, DisplayPatterns) {
  const std::tuple<double, std::string_view, std::string_view> rows[] = {
      {145950.0, "#000000.000", "145950.000"},    {145950.0, "0000000.000", "0145950.000"},
      {28430.5, "#000000.000", "028430.500"},     {145900.0, "00000000.000", "00145900.000"},
      {99999.9996, "0000000.000", "0100000.000"}, {-1.0005, "#000000.000", "-000001.001"},
      {145900.0005, "#000000.000", "145900.001"},  // stored as 145900.000499999...
      {0.1 + 0.2, "#000000.000", "000000.300"}, {-50, "####0", "-50"}, {0, "#####", ""}, {100, "#####", "100"},
      {0, "##0", "0"}, {2.5, "#0", "3"}, {-2.5, "#0", "-3"}, {0.5, "#####", "1"}, {0.4, "#####", ""},
      {999.5, "##0", "1000"}, {1e20, "##0", "100000000000000000000"},
      // A value that rounds to zero has no minus.
      {-0.4, "#0", "0"}, {-0.0, "##0", "0"}, {-0.0004, "#000000.000", "000000.000"},
  };
  for (const auto& [value, pattern, shown] : rows) {
    EXPECT_EQ(Format(value, pattern), shown) << value << " with " << pattern;
  }
}

// Plain decimal text without trailing zeros; the exponent form only beyond 15 digits.
TEST(DecimalText, ListsAndFiles) {
  const std::tuple<double, int, std::string_view> rows[] = {
      {2256000, 15, "2256000"}, {-0.25, 15, "-0.25"}, {0.1 + 0.2, 15, "0.3"}, {1200, 7, "1200"},
      {2.0 / 3.0, 15, "0.666666666666667"}, {1e15, 15, "1E+15"}, {-1.0 / 3.0, 7, "-0.3333333"},
      {static_cast<double>(1234.5678f), 7, "1234.568"},
      {123456789012345.0, 15, "123456789012345"}, {1e-15, 15, "0.000000000000001"}, {1e-16, 15, "1E-16"},
      {-1.5e-10, 15, "-0.00000000015"}, {-1.5e300, 15, "-1.5E+300"}, {9999999.7, 7, "10000000"},
      {999999999999999.9, 15, "1E+15"},  // rounds over the edge
  };
  for (const auto& [value, digits, text] : rows) EXPECT_EQ(DecimalText(value, digits), text) << value;
  // In a settings file a blank holds the place of the sign.
  EXPECT_EQ(FileNumber(180.5) + FileNumber(-5) + FileNumber(-0.0) + FileNumber(435.1234567, 7),
            " 180.5-5 0 435.1235");
}

// Every byte survives the way to the window and back (the characters shown: tests/e2e/test_faults.py).
TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
  EXPECT_EQ(Cp1252ToUtf16("\x80\x81\xe4"), u"\u20AC\u0081\u00E4");  // the undefined bytes keep their value
  // Characters outside the code page: one '?' each, a pair of surrogates being one character.
  EXPECT_EQ(Utf16ToCp1252(u"\u0100\u0080a\U0001F4E1b"), "??a?b");
}

// Expected: name/az/el/up/um/dn/dm/ma, or "" for a record that is refused.
TEST(RecordCutting, FieldsOrRefusal) {
  const std::string m32767(32767, 'm'), x33000(33000, 'x');
  const std::pair<std::string, std::string> rows[] = {
      {"SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r",
       "AO-7 /123.4/12.3/145950.000/USB/435800.000/LSB/128"},
      // Without MA the downlink mode runs to the last character but one.
      {"SNFO-29 AZ10 EL5 UP145900 UMLSB DN435800 DMUSB\r", "FO-29 /10/5/145.900/LSB/435.800/USB/---"},
      {"SNRS-44|AZ1|EL2|UP1234|UMFM|DN98765|DMFM|MA7X", "RS-44|/1/2/1.234/FM/98.765/FM/7"},  // any separator
      {"SNAZ EL UP000 UM DN125 DM\r", "///.000//.125//---"},
      {"SN\xe4\0b AZ1 EL2 UP100000 UM\xb5 DN200000 DMx\0 MA\r"s, "\xe4\0b /1/2/100.000/\xb5/200.000/x\0/"s},
      {"SNAO-7 AZ1 EL2 UP1459500 UMUSB DN4358 DMLSBAZ MAMA1\r", "AO-7 /1/2/1459.500/USB/4.358/LSBAZ/MA1"},
      // An AZ that ends right before EL is the azimuth's, not its tag.
      {"SNAO-7 AZ1AZEL2 UP145950000 UMUSB DN435800000 DMLSB\r", "AO-7 /1A/2/145950.000/USB/435800.000/LSB/---"},
      // Names and modes that hold tag letters: real satellites and the mode AM.
      {"SNTEVEL-1 AZ123.4 EL12.3 UP1459 UMFM DN4364 DMFM MA12 ", "TEVEL-1 /123.4/12.3/1.459/FM/4.364/FM/12"},
      {"SNAZTECHSAT-1 AZ200 EL3 UP1458 UMFM DN4373 DMFM ", "AZTECHSAT-1 /200/3/1.458/FM/4.373/FM/---"},
      {"SNUPSAT UMKA MAYA AZ1 EL2 UP1459 UMFM DN4358 DMFM MA3\r", "UPSAT UMKA MAYA /1/2/1.459/FM/4.358/FM/3"},
      {"SNAO-7 AZ1 EL2 UP145950000 UMAM DN029500000 DMAM MA7 ", "AO-7 /1/2/145950.000/AM/029500.000/AM/7"},
      {"SNAO-7 AZ1 EL2 UP145950000 UMAM DN029500000 DMAM ", "AO-7 /1/2/145950.000/AM/029500.000/AM/---"},
      {"SNX AZ1 EL2 UP100 UMFM DN200 DM" + m32767 + "\r", "X /1/2/.100/FM/.200/" + m32767 + "/---"},
      {"SNX AZ1 EL2 UP100000 UMFM DN200000 DM" + m32767 + "m\r", ""},  // beyond 16 bits
      {"SN" + x33000 + " AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB\r", ""},
      {"SNAO-7 AZ1 EL12 UP145950000 UMUSB DN435800000 MA1\r", ""},        // no DM
      {"SNAO-7 EL12 AZ1 UP145950000 UMUSB DN435800000 DMLSB MA1\r", ""},  // EL before AZ
      {"SNAO-7 AZEL12 UP145950000 UMUSB DN435800000 DMLSB\r", ""},        // no value between two tags
      {"SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMMA1\r", ""},       // no separator before MA
      {"SNAO-7 AZ1 EL2 UP12 UMUSB DN435800000 DMLSB MA1\r", ""},          // uplink of two digits
      {"SNAO-7 AZ1 EL2 UP145950000 UMUSB DN43 DMLSB MA1\r", ""},          // downlink of two digits
      {"SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB MA", ""},      // MA without its trailer
      {"SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DM", ""},            // DM without its trailer
      {"SNAO-7 AZ1E999 EL2 UP145950000 UMUSB DN435800000 DMLSB\r", ""},   // beyond a double
      {"", ""},
  };
  for (const auto& [record, fields] : rows) {
    const auto r = CutRecord(record);
    const std::string cut = r ? r->name + "/" + r->az + "/" + r->el + "/" + r->up + "/" + r->um + "/" +
                                    r->dn + "/" + r->dm + "/" + r->ma
                              : "";
    EXPECT_EQ(cut, fields) << record.substr(0, 80);
  }
}

std::string Sat(const std::string& name, const std::string& up = "145950000",
                const std::string& dn = "435800000") {
  return "SN" + name + " AZ123.4 EL12.3 UP" + up + " UMUSB DN" + dn + " DMLSB MA128\r";
}

// A satellite is set up only at the first record after start or a "**"; one that returns gets its entry
// and correction back; the full table hands its last entry on with a cleared correction.
TEST(TrackingIntake, SatellitesAreSetUpAfterANoSatelliteRecordOnly) {
  fakes::FakeStation fs;
  Station& st = fs.st;
  st.options.KorrMerken = "-";  // the slots alone, as without Skylet's own option
  const TrackingState& t = st.tracking;
  const auto feed = [&](const std::string& record) { ParseRecord(st, record); };
  const auto boxes = [&] {
    const forms::AusGabe& m = st.main;
    return Strings{m.edSat.text, m.edAZ.text, m.edEL.text, m.edRX.text, m.edTX.text,
                   m.edDM.text,  m.edUM.text, m.edMA.text, m.lblKorr.text};
  };
  // Everything a record may change, to show that a record changed nothing.
  const auto everything = [&] {
    const forms::CatSteuer& c = st.catSteuer;
    const rotor::RotorState& r = st.rotor;
    return std::tuple(st.tracking, boxes(), c.ScrollKorr10.enabled, c.ScrollKorr100.enabled,
                      c.ScrollKorr1000.enabled, r.ParkCount, r.RotAz, r.RotEl, r.RotAzLast, r.RotElLast,
                      st.radio.LastCatFreq);
  };
  // Other kinds of record only set the tag; a satellite record that cannot be cut changes nothing.
  const auto othersChangeOnlyTheTag = [&] {
    for (const std::string record : {"", "S", "sn AO-7 AZ1 EL2 UP1459 UMUSB DN4358 DMLSB\r", "* *", "SN",
                                     "SNAO-7 AZ1 EL2 UP12 UMUSB DN4358 DMLSB MA1\r"}) {
      auto expected = everything();
      if (record.rfind("SN", 0) != 0) std::get<0>(expected).RecTag = record.substr(0, 2);
      feed(record);
      EXPECT_EQ(everything(), expected) << record;
    }
  };
  st.rotor.ParkCount = 4;
  st.rotor.RotAz = 45;
  st.rotor.RotEl = 10;
  feed("SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN28430500 DMLSB MA128\r");
  EXPECT_EQ(boxes(), (Strings{" AO-7 ", "123.4", "12.3", "028430.500", "145950.000", "LSB", "USB", "128",
                               "0"}));
  EXPECT_EQ(t.RecTag + t.SatName + t.DownMode + t.UpMode, "SN AO-7 LSBUSB");
  EXPECT_EQ(std::tuple(t.SatIdx, t.SatCount, t.SatAz, t.SatEl, st.rotor.ParkCount),
            std::tuple(1, 1, 123.4, 12.3, 0));
  EXPECT_TRUE(st.catSteuer.ScrollKorr100.enabled);
  othersChangeOnlyTheTag();

  feed("SNFO-29 AZ200 EL40 UP435850000 UMFM DN145900000 DMFM MA7\r");
  EXPECT_EQ(boxes(), (Strings{" AO-7 ", "200", "40", "145900.000", "435850.000", "LSB", "USB", "7", "0"}));

  feed("**\r");
  EXPECT_EQ(boxes(), (Strings{" No Satellite", "", "", "", "", "", "", "", ""}));
  EXPECT_FALSE(st.catSteuer.ScrollKorr10.enabled || st.catSteuer.ScrollKorr1000.enabled);
  EXPECT_EQ(std::tuple(st.rotor.RotAzLast, st.rotor.RotElLast), std::tuple(45, 10));  // where it stands
  // The operator turns the rotor and reopens the correction dialog: a second "**" touches neither.
  st.rotor.RotAz = 77;
  st.catSteuer.ScrollKorr10.enabled = true;
  const auto quiet = everything();
  feed("**\r");
  EXPECT_EQ(everything(), quiet);

  st.tracking.SatKorr[1] = -50;  // set by the operator for AO-7
  st.tracking.SatKorrKHz[1] = -0.05;
  feed(Sat("FO-29"));
  EXPECT_EQ(t.SatIdx, 2);
  EXPECT_EQ(st.main.lblKorr.text, "0");
  feed("**\r");
  feed(Sat("AO-7"));
  EXPECT_EQ(std::tuple(t.SatIdx, t.SatCount), std::tuple(1, 2));
  EXPECT_EQ(st.main.edSat.text + st.main.lblKorr.text, " AO-7 -50");
  feed("**\r");
  feed(Sat("FO-29"));  // the entry added last is found again too
  EXPECT_EQ(std::tuple(t.SatIdx, t.SatCount), std::tuple(2, 2));

  for (int i = 3; i <= 301; ++i) {
    feed("**\r");
    st.tracking.SatKorrKHz[300] = 0.07;  // SAT-300's correction: SAT-301 must not take it over
    feed(Sat("SAT-" + std::to_string(i)));
  }
  EXPECT_EQ(std::tuple(t.SatIdx, t.SatCount, t.SatNames[300]), std::tuple(300, 300, " SAT-301 "));
  EXPECT_EQ(st.main.edRX.text, "435800.000");  // without SAT-300's correction
  feed("**\r");
  feed(Sat("AO-7"));
  EXPECT_EQ(st.main.lblKorr.text, "-50");
}

// Once, at the "**" that takes the count (in steps of two) to the delay; no wrap at the 16-bit limit.
TEST(ParkStep, ParkPositionGoesOutOnceAtHalfTheDelay) {
  const std::tuple<const char*, int16_t, int16_t, std::vector<int>> rows[] = {
      // switch, delay, count before, the records that park
      {"+", 5, 0, {3}}, {"+", 0, 0, {}}, {"+", 1, 0, {1}}, {"+", 4, 0, {2}}, {"+", 6, 0, {3}},
      {"+", -3, 0, {}}, {"-", 5, 0, {}}, {"+", 32767, 32766, {1}},
  };
  for (const auto& [parkOn, delay, count, expected] : rows) {
    fakes::FakeStation fresh;
    rotor::RotorState& r = fresh.st.rotor;
    r.ParkOn = parkOn;
    r.ParkDelay = delay;
    r.ParkCount = count;
    r.ParkAz = 180;
    r.ParkEl = 90;
    std::vector<int> parked;
    for (int n = 1; n <= 8; ++n) {
      ParseRecord(fresh.st, "**\r");
      if (std::tuple(r.RotAz, r.RotEl, r.RotAzLast, r.RotElLast) != std::tuple(180, 90, 180, 90)) continue;
      parked.push_back(n);
      r.RotAz = 7;  // the rotor is sent elsewhere: parking it again would show
    }
    EXPECT_EQ(parked, expected) << parkOn << delay;
  }
}

// The uplink takes the downlink's correction in ratio, if usable; an uplink jump beyond the step forces
// the next send.
TEST(TrackingCorrection, UplinkFollowsTheDownlinkAndAJumpForcesTheSend) {
  using Text = const char*;
  const std::tuple<double, double, Text, Text, Text, Text, Text, bool> rows[] = {
      // step and correction in Hz, the two records' uplinks, the downlink, RX and TX shown, send forced
      {1000, 100, "435800000", "435800000", "145950000", "145950.100", "435800.299", false},
      {1000, -500, "145950000", "145950000", "000", "-000000.500", "145950.000", false},  // no division
      {1000, 0, "145950000", "145950000", "1E-307000", "000000.000", "145950.000", false},  // overflows
      {1000, 0, "145950000", "145951500", "145950000", "145950.000", "145951.500", true},
      {1000, 0, "145950000", "145951000", "145950000", "145950.000", "145951.000", false},
      {1000, 0, "145950000", "145948500", "145950000", "145950.000", "145948.500", true},
      {5000, 10000, "145950000", "145950000", "145950000", "145960.000", "145959.999", true},
  };
  for (const auto& [step, korr, up1, up2, dn, rx, tx, forced] : rows) {
    fakes::FakeStation fresh;
    Station& s = fresh.st;
    s.options.KorrMerken = "-";
    s.radio.IntV = step;
    s.tracking.SatKorrKHz[1] = korr / 1000;  // the first satellite after start takes entry 1
    s.radio.LastCatFreq = 500;
    ParseRecord(s, Sat("AO-7", up1, dn));
    EXPECT_EQ(s.radio.LastCatFreq, 0) << "the first record after start jumps from 0";
    s.radio.LastCatFreq = 500;
    ParseRecord(s, Sat("AO-7", up2, dn));
    EXPECT_EQ(Strings({s.main.edRX.text, s.main.edTX.text, s.radio.LastCatFreq == 0 ? "forced" : "-"}),
              Strings({rx, tx, forced ? "forced" : "-"}))
        << up2 << " " << dn;
  }
}

}  // namespace
}  // namespace skylet
