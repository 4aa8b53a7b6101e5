// Frequencies and modes to the radio: the encoders against worked examples
// and a round trip, and each family's sequence as the wire shows it.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "radio/cat_server.h"
#include "radio/frequency_output.h"
#include "radio/icom.h"
#include "radio/kenwood.h"
#include "radio/link_setup.h"
#include "radio/modes.h"
#include "radio/yaesu.h"

namespace skylet::radio {
namespace {

using fakes::FakeStation;
using fakes::Hex;
using Lines = std::vector<std::string>;

TEST(FrequencyEncoders, WorkedExamples) {
  CatBytes b{};
  ASSERT_TRUE(icom::PutFrequency(b, 145900));
  EXPECT_EQ(Hex(icom::FrequencyFrame(icom::Prefix(0x60, icom::kSetFrequency), b)),
            "FE FE 60 E0 05 00 00 90 45 01 FD");
  const std::pair<double, const char*> yaesu[] = {
      {145900, "14 59 00 00"}, {1296123.45, "C9 61 23 45"}, {1269000, "C6 90 00 00"}};
  for (const auto& [kHz, bytes] : yaesu) {
    ASSERT_TRUE(yaesu::PutFrequency(b, kHz));
    EXPECT_EQ(Hex(yaesu::FrameOf(b)).substr(0, 11), bytes) << kHz;
  }
  EXPECT_EQ(kenwood::FrequencyCommand("FA", 145900), "FA00145900000;");
  EXPECT_EQ(kenwood::FrequencyCommand("FB", 99999999.999), "FB99999999999;");
  EXPECT_EQ(cat_server::FrequencyCommand(435800, 0, "."), "SF0435800.000 0000000.000");
  EXPECT_EQ(cat_server::FrequencyCommand(435800, 145900, ","), "SF0435800,000 0145900,000");

  // What the digit layouts cannot carry is never encoded.
  const CatBytes before = b;
  for (double kHz : {10000000.0, 9999999.9996, -1.0, std::nan(""), HUGE_VAL}) {
    EXPECT_FALSE(icom::PutFrequency(b, kHz)) << kHz;
    EXPECT_FALSE(yaesu::PutFrequency(b, kHz)) << kHz;
    EXPECT_FALSE(cat_server::FrequencyCommand(kHz, 0, ".")) << kHz;
  }
  EXPECT_EQ(b, before);
  EXPECT_FALSE(kenwood::FrequencyCommand("FA", 100000000));
}

// Reads a frame back as a radio would, in Hz.
long long IcomHz(const CatBytes& b) {
  long long hz = 0;
  for (int i = 10; i >= 6; --i) hz = hz * 100 + (b[i] >> 4) * 10 + (b[i] & 15);
  return hz;
}
long long YaesuTensOfHz(const CatBytes& b) {
  long long v = (b[1] >> 4) == 0xC ? 12 : b[1] >> 4;
  v = v * 10 + (b[1] & 15);
  for (int i = 2; i <= 4; ++i) v = v * 100 + (b[i] >> 4) * 10 + (b[i] & 15);
  return v;
}

TEST(FrequencyEncoders, DecodingAFrameGivesTheFrequencyBack) {
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 20000; ++i) {
    const long long hz = std::uniform_int_distribution<long long>(0, 9999999999)(random);
    const double kHz = hz / 1000.0;
    CatBytes b{};
    ASSERT_TRUE(icom::PutFrequency(b, kHz));
    EXPECT_EQ(IcomHz(b), hz);
    const std::string kenwood = *kenwood::FrequencyCommand("FA", kHz);
    EXPECT_EQ(std::stoll(kenwood.substr(2, 11)), hz);
    // Yaesu, to 10 Hz: below 1 GHz, and in the 1.2 GHz band, where the hex
    // C stands for "12".
    const long long yaesuHz = i % 2 ? hz % 1000000000 : 1200000000 + hz % 100000000;
    ASSERT_TRUE(yaesu::PutFrequency(b, yaesuHz / 1000.0));
    EXPECT_EQ(YaesuTensOfHz(b), yaesuHz / 10) << yaesuHz;
  }
}

// A station with CAT on, a 50 ms CAT wait and a port on COM 3.
struct Radio : FakeStation {
  explicit Radio(const std::string& family, const std::string& model = "") {
    SerialRadio(family, model);
    st.radio.CatOn = "+";
  }
  // The wire: writes as text (Kenwood) or hex, the waits merged ("wait 50").
  Lines Wire(bool text = false) const {
    Lines out;
    int waited = 0;
    for (const fakes::WireEvent& e : wire) {
      if (e.waitMs >= 0) {
        waited += e.waitMs;
        continue;
      }
      if (waited) out.push_back("wait " + std::to_string(waited));
      waited = 0;
      out.push_back(e.discard ? "discard" : text ? e.bytes : Hex(e.bytes));
    }
    if (waited) out.push_back("wait " + std::to_string(waited));
    return out;
  }
};

TEST(FrequencyOutput, EachFamilySendsItsSequence) {
  struct Row {
    const char* family;
    const char* model;
    double up;
    bool text;
    Lines wire;
  };
  const Row rows[] = {
      {"Kenwood", "TS-2000", 145900, true,
       {"wait 50", "FA00435800000;", "wait 50", "FB00145900000;", "wait 50"}},
      {"Kenwood", "TS-790", 145900, true,
       {"wait 50", "DC1;", "wait 50", "FA00435800000;", "wait 50", "DC0;", "wait 50",
        "FA00145900000;", "wait 50", "DC1;"}},
      // No uplink: the downlink alone, and the TS-790 is not reselected.
      {"Kenwood", "TS-790", 0, true, {"wait 50", "DC1;", "wait 50", "FA00435800000;", "wait 50"}},
      {"Yaesu", "FT-736R", 145900, false,
       {"wait 50", "43 58 00 00 1E", "wait 50", "14 59 00 00 2E", "wait 50"}},
      {"Yaesu", "FT-847", 0, false, {"wait 50", "43 58 00 00 1E", "wait 50"}},
      // No wait before the first command; the radio that answers ends each
      // reply wait at once.
      {"Icom", "IC-910H", 145900, false,
       {"discard", "discard", "FE FE 61 E0 07 D0 FD", "wait 50", "discard",
        "FE FE 60 E0 05 00 00 80 35 04 FD", "discard", "FE FE 60 E0 07 D1 FD", "wait 50",
        "discard", "FE FE 61 E0 05 00 00 90 45 01 FD", "discard", "FE FE 61 E0 07 D0 FD",
        "wait 50", "discard"}},
  };
  for (const Row& row : rows) {
    Radio f(row.family, row.model);
    f.port.answerLikeIcom = true;
    SendCatFreq(f.st, 435800, row.up);
    EXPECT_EQ(f.Wire(row.text), row.wire) << row.family << " " << row.model << " up " << row.up;
    EXPECT_EQ(f.st.radio.LastCatFreq, 435800);
  }
}

TEST(FrequencyOutput, AnIcomThatDoesNotAnswerCostsThreeWaitsPerFrame) {
  Radio f("Icom", "IC-821H");
  SendCatFreq(f.st, 435800, 0);
  EXPECT_EQ(f.Wire(), (Lines{"discard", "discard", "FE FE 60 E0 07 D1 FD", "wait 50", "discard",
                             "FE FE 60 E0 05 00 00 80 35 04 FD", "wait 151", "discard",
                             "FE FE 60 E0 07 D1 FD", "wait 50", "discard"}));
}

TEST(FrequencyOutput, TheCatServerGetsBothFrequenciesInTheUsersNumberFormat) {
  Radio f("Icom");
  f.st.radio.DdeCat = "+";
  f.st.radio.CatPort = 0;
  f.locale.separator = ",";
  f.st.radio.TxOffset = 100;
  f.catLink.Open({"CatServer", "CatServConv", "CatServItem", 50});
  f.catLink.log.clear();
  SendCatFreq(f.st, 435800, 0);
  EXPECT_EQ(f.catLink.log, Lines{"execute SF0435800,000 0000000,000"}) << "offset only above it";
  EXPECT_EQ(f.Wire(), (Lines{"wait 100"}));
}

TEST(FrequencyOutput, OnlyAChangeOfAtLeastTheStepIsSent) {
  Radio f("Kenwood", "TS-2000");
  f.st.radio.IntV = 250;
  f.st.radio.LastCatFreq = 145900;
  SendCatFreq(f.st, 145900.125, 0);
  EXPECT_TRUE(f.port.writes.empty());
  EXPECT_EQ(f.st.radio.LastCatFreq, 145900);
  SendCatFreq(f.st, 145900.25, 145000);  // the larger frequency counts
  ASSERT_EQ(f.port.writes.size(), 2u);
  EXPECT_EQ(f.st.radio.LastCatFreq, 145900.25);
}

TEST(FrequencyOutput, ConverterOffsetsComeOffOnlyAboveThemselves) {
  Radio f("Kenwood", "TS-2000");
  f.st.radio.RxOffset = 2256000;
  SendCatFreq(f.st, 2401000, 0);
  f.st.radio.LastCatFreq = 0;
  SendCatFreq(f.st, 435000, 0);
  f.st.radio.LastCatFreq = 0;
  SendCatFreq(f.st, 2256000, 0);  // at the offset itself: unchanged
  EXPECT_EQ(f.port.writes[0].bytes, "FA00145000000;");
  EXPECT_EQ(f.port.writes[1].bytes, "FA00435000000;");
  EXPECT_EQ(f.port.writes[2].bytes, "FA02256000000;");
}

TEST(FrequencyOutput, WithoutAPortNothingHappensAtAll) {
  for (const char* family : {"Kenwood", "Yaesu", "Icom"}) {
    Radio f(family);
    f.st.radio.CatPort = 0;
    SendCatFreq(f.st, 435800, 145900);
    SetCatMode(f.st);
    EXPECT_TRUE(f.wire.empty()) << family;
  }
}

TEST(FrequencyOutput, AFailedSendIsToldOnceAndTriedAgainWithTheNextRecord) {
  Radio f("Kenwood", "TS-2000");
  f.port.failWrites = true;
  SendCatFreq(f.st, 435800, 145900);
  SendCatFreq(f.st, 435800, 145900);
  ASSERT_EQ(f.alerts.notices.size(), 1u);
  EXPECT_NE(f.alerts.notices[0].text.find("COM3"), std::string::npos);
  EXPECT_EQ(f.st.radio.LastCatFreq, 0) << "the failed send is not taken for done";
  f.port.failWrites = false;
  SendCatFreq(f.st, 435800, 145900);
  EXPECT_EQ(f.port.writes.size(), 2u);
  f.port.failWrites = true;
  f.st.radio.LastCatFreq = 0;
  SendCatFreq(f.st, 435800, 145900);
  EXPECT_EQ(f.alerts.notices.size(), 2u) << "a new outage is news again";

  // An uplink of 0 is none: what a negative offset would make of it does
  // not hold back the downlink.
  Radio h("Yaesu");
  h.st.radio.TxOffset = -2e7;
  SendCatFreq(h.st, 435800, 0);
  ASSERT_EQ(h.port.writes.size(), 1u);
  EXPECT_EQ(Hex(h.port.writes[0].bytes), "43 58 00 00 1E");
  EXPECT_TRUE(h.alerts.notices.empty());

  // A frequency the commands cannot carry sends nothing at all.
  Radio g("Yaesu");
  SendCatFreq(g.st, 10368100, 145900);
  EXPECT_TRUE(g.port.writes.empty());
  EXPECT_EQ(g.alerts.notices.size(), 1u);
  EXPECT_TRUE(g.alerts.boxes.empty()) << "nothing holds up the station";
}

struct ModeRow {
  const char* family;
  const char* model;
  const char* down;
  const char* up;
  bool text;
  Lines writes;
};

TEST(OperatingModes, EachFamilySetsTheReceiveThenTheTransmitSide) {
  const ModeRow rows[] = {
      {"Kenwood", "TS-2000", "USB", "LSB", true,
       {"SA1010000;", "MD2;", "SA1011000;", "MD1;", "AI0;"}},
      {"Kenwood", "TS-790", "USB", "LSB", true, {"DC1;", "MD2;", "DC0;", "MD1;", "AI0;"}},
      // A name without a command sends the one before again.
      {"Kenwood", "TS-2000", "CW-N", "FM-W", true,
       {"SA1010000;", "MD4;", "SA1011000;", "MD4;", "AI0;"}},
      {"Yaesu", "FT-736R", "FM-N", "CW-N", false, {"88 58 00 00 17", "82 58 00 00 27"}},
      {"Yaesu", "FT-736R", "", "USB", false, {"43 58 00 00 17", "01 58 00 00 27"}},
      // CW rebuilds the Icom command; its filter byte stays for FM.
      {"Icom", "IC-910H", "CW", "FM", false,
       {"FE FE 61 E0 07 D0 FD", "FE FE 60 E0 06 03 01 FD", "FE FE 60 E0 07 D1 FD",
        "FE FE 61 E0 06 05 01 FD", "FE FE 61 E0 07 D0 FD"}},
  };
  for (const ModeRow& row : rows) {
    Radio f(row.family, row.model);
    f.st.radio.CatBytes = {0, 0x43, 0x58, 0, 0, 0x1E};  // the last frequency frame
    f.st.tracking.DownMode = row.down;
    f.st.tracking.UpMode = row.up;
    SetCatMode(f.st);
    Lines writes;
    for (const auto& w : f.port.writes) writes.push_back(row.text ? w.bytes : Hex(w.bytes));
    EXPECT_EQ(writes, row.writes) << row.family << " " << row.down << "/" << row.up;
  }
}

TEST(OperatingModes, WaitsAroundEveryCommandAsTheRadiosNeedThem) {
  Radio kenwood("Kenwood", "TS-790");
  SetCatMode(kenwood.st);
  EXPECT_EQ(kenwood.Wire(true), (Lines{"wait 50", "DC1;", "wait 50", "MD4;", "wait 100", "DC0;",
                                       "wait 50", "MD4;", "wait 50", "AI0;"}));
  Radio yaesu("Yaesu");
  yaesu.st.tracking.DownMode = yaesu.st.tracking.UpMode = "FM";
  SetCatMode(yaesu.st);
  EXPECT_EQ(yaesu.Wire(), (Lines{"wait 50", "08 00 00 00 17", "wait 50", "08 00 00 00 27", "wait 50"}));
  Radio icom("Icom");
  SetCatMode(icom.st);
  EXPECT_EQ(icom.Wire(), (Lines{"wait 50", "FE FE 60 E0 07 D1 FD", "wait 50", "FE FE 60 E0 06 05 FD",
                                "wait 50", "FE FE 61 E0 07 D0 FD", "wait 50", "FE FE 61 E0 06 05 FD",
                                "wait 50", "FE FE 60 E0 07 D1 FD", "discard", "wait 50"}));
}

TEST(OperatingModes, TheCatServerGetsBothNamesAndARefusalEndsTheProgram) {
  Radio f("Icom");
  f.st.radio.DdeCat = "+";
  f.catLink.Open({"CatServer", "CatServConv", "CatServItem", 50});
  f.catLink.log.clear();
  f.st.tracking.DownMode = "USB";
  f.st.tracking.UpMode = "LSB";
  SetCatMode(f.st);
  EXPECT_EQ(f.catLink.log, Lines{"execute SMUSB LSB"});
  EXPECT_TRUE(f.wire.size() == 1 && f.wire[0].waitMs == 50);

  f.catLink.acceptCommands = false;
  EXPECT_THROW(SetCatMode(f.st), fakes::ProgramEnded);
  ASSERT_EQ(f.alerts.boxes.size(), 1u);
  EXPECT_EQ(f.alerts.boxes[0].text, "Fehler bei der Ausgabe an den Catserver,\rstarten Sie Skylet neu.");
}

}  // namespace
}  // namespace skylet::radio
