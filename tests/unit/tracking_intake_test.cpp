// The record intake as the main window and the other subsystems see it:
// what the boxes show, the satellite state, the park step and the values it
// hands to the radio and rotor side.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "tracking/parse_record.h"

namespace skylet::tracking {
namespace {

// A satellite record as the tracking program writes it, trailing CR included.
std::string Sat(const std::string& name, const std::string& up = "145950000",
                const std::string& dn = "435800000") {
  return "SN" + name + " AZ123.4 EL12.3 UP" + up + " UMUSB DN" + dn + " DMLSB MA128\r";
}

// Everything a record may change, to show that a record changed nothing.
struct Snapshot {
  TrackingState tracking;
  std::vector<std::string> boxes;
  std::array<bool, 3> korrScrolls{};
  int16_t parkCount = 0;
  std::array<double, 4> rotor{};
  double lastCatFreq = 0;
  bool operator==(const Snapshot&) const = default;
};

bool Parked(const Station& st) {
  return st.rotor.RotAz == st.rotor.ParkAz && st.rotor.RotEl == st.rotor.ParkEl;
}

void ParkOn(Station& st, int16_t delay) {
  st.rotor.ParkOn = "+";
  st.rotor.ParkDelay = delay;
  st.rotor.ParkAz = 180;
  st.rotor.ParkEl = 90;
  st.rotor.RotAz = 45;  // where the rotor was last sent
  st.rotor.RotEl = 10;
}

class TrackingIntake : public ::testing::Test {
 protected:
  void Feed(const std::string& record) { ParseRecord(st, record); }
  void Feed(const std::string& record, int times) {
    for (int i = 0; i < times; ++i) Feed(record);
  }

  Snapshot Take() const {
    const forms::AusGabe& m = st.main;
    return {st.tracking,
            {m.edSat.text, m.edAZ.text, m.edEL.text, m.edRX.text, m.edTX.text, m.edDM.text, m.edUM.text,
             m.edMA.text, m.lblKorr.text},
            {st.catSteuer.ScrollKorr10.enabled, st.catSteuer.ScrollKorr100.enabled,
             st.catSteuer.ScrollKorr1000.enabled},
            st.rotor.ParkCount,
            {st.rotor.RotAz, st.rotor.RotEl, st.rotor.RotAzLast, st.rotor.RotElLast},
            st.radio.LastCatFreq};
  }

  fakes::FakeStation fs;
  Station& st = fs.st;
};

TEST_F(TrackingIntake, FirstSatelliteRecordFillsTheWindow) {
  st.rotor.ParkCount = 4;
  Feed("SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN28430500 DMLSB MA128\r");

  const forms::AusGabe& m = st.main;
  EXPECT_EQ(m.edSat.text, " AO-7 ");
  EXPECT_EQ(m.edAZ.text, "123.4");
  EXPECT_EQ(m.edEL.text, "12.3");
  EXPECT_EQ(m.edRX.text, "028430.500");
  EXPECT_EQ(m.edTX.text, "145950.000");
  EXPECT_EQ(m.edDM.text, "LSB");
  EXPECT_EQ(m.edUM.text, "USB");
  EXPECT_EQ(m.edMA.text, "128");
  EXPECT_EQ(m.lblKorr.text, "0");

  const TrackingState& t = st.tracking;
  EXPECT_EQ(t.RecTag, "SN");
  EXPECT_EQ(t.SatName, " AO-7 ");
  EXPECT_EQ(t.SatIdx, 1);
  EXPECT_EQ(t.SatCount, 1);
  EXPECT_EQ(t.DownMode, "LSB");
  EXPECT_EQ(t.UpMode, "USB");
  EXPECT_DOUBLE_EQ(t.SatAz, 123.4);
  EXPECT_DOUBLE_EQ(t.SatEl, 12.3);
  EXPECT_EQ(st.rotor.ParkCount, 0);
  EXPECT_TRUE(st.catSteuer.ScrollKorr100.enabled);
}

TEST_F(TrackingIntake, NoSatelliteAfterStartBlanksOnceWithParkOff) {
  st.main.edAZ.text = "stale";
  st.rotor.RotAz = 45;
  st.rotor.RotEl = 10;
  Feed("**\r");

  const forms::AusGabe& m = st.main;
  EXPECT_EQ(m.edSat.text, " No Satellite");
  for (const forms::TextBox* box : {&m.edAZ, &m.edEL, &m.edRX, &m.edTX, &m.edDM, &m.edUM, &m.edMA, &m.lblKorr}) {
    EXPECT_EQ(box->text, "");
  }
  EXPECT_FALSE(st.catSteuer.ScrollKorr10.enabled);
  EXPECT_FALSE(st.catSteuer.ScrollKorr100.enabled);
  EXPECT_FALSE(st.catSteuer.ScrollKorr1000.enabled);
  // The angle reference starts from where the rotor stands.
  EXPECT_EQ(st.rotor.RotAzLast, 45);
  EXPECT_EQ(st.rotor.RotElLast, 10);

  // Meanwhile the operator turns the rotor to a standard direction and
  // opens the correction dialog anew (its spins start enabled): a second
  // "**" touches neither.
  st.rotor.RotAz = 77;
  st.catSteuer.ScrollKorr10.enabled = true;
  const Snapshot before = Take();
  Feed("**\r");
  EXPECT_EQ(Take(), before);
  EXPECT_EQ(st.rotor.RotAzLast, 45);
}

TEST(ParkStep, ParkPositionGoesOutOnceAtHalfTheDelay) {
  struct Row {
    const char* parkOn;
    int16_t delay;
    int parkedAt;  // the "**" record that parks, 0: never
  };
  for (const Row row : {Row{"+", 5, 3}, Row{"+", 0, 0}, Row{"+", 1, 1}, Row{"+", 4, 2}, Row{"+", 6, 3},
                        Row{"+", -3, 0}, Row{"-", 5, 0}}) {
    SCOPED_TRACE(std::string(row.parkOn) + std::to_string(row.delay));
    fakes::FakeStation fresh;
    Station& s = fresh.st;
    ParkOn(s, row.delay);
    s.rotor.ParkOn = row.parkOn;
    for (int n = 1; n <= 8; ++n) {
      ParseRecord(s, "**\r");
      if (n < row.parkedAt || row.parkedAt == 0) {
        EXPECT_EQ(s.rotor.RotAz, 45) << "after record " << n;
      } else if (n == row.parkedAt) {
        EXPECT_TRUE(Parked(s));
        EXPECT_EQ(s.rotor.RotAzLast, 180);
        EXPECT_EQ(s.rotor.RotElLast, 90);
        s.rotor.RotAz = 7;  // the rotor is sent elsewhere: it must stay there
      } else {
        EXPECT_EQ(s.rotor.RotAz, 7) << "parked again at record " << n;
      }
    }
  }
}

TEST_F(TrackingIntake, NewSatelliteRestartsTheParkCount) {
  ParkOn(st, 5);
  Feed("**\r", 2);
  Feed(Sat("AO-7"));
  Feed("**\r", 2);
  EXPECT_FALSE(Parked(st));
  Feed("**\r");
  EXPECT_TRUE(Parked(st));
}

TEST_F(TrackingIntake, ParkCountStopsAtTheSixteenBitLimit) {
  ParkOn(st, 32767);
  st.rotor.ParkCount = 32766;
  Feed("**\r");
  EXPECT_EQ(st.rotor.ParkCount, 32767);
  EXPECT_TRUE(Parked(st));
  st.rotor.RotAz = 7;
  Feed("**\r", 3);
  EXPECT_EQ(st.rotor.ParkCount, 32767);
  EXPECT_EQ(st.rotor.RotAz, 7);
}

TEST_F(TrackingIntake, RecordWithoutMaShowsDashes) {
  Feed("SNFO-29 AZ10 EL5 UP145900000 UMLSB DN435800000 DMUSB\r");
  EXPECT_EQ(st.main.edMA.text, "---");
  EXPECT_EQ(st.main.edDM.text, "USB");
}

TEST_F(TrackingIntake, CorrectionMovesDownlinkAndUplinkByTheSameRatio) {
  // The first satellite after start takes entry 1; its correction is 100 Hz.
  st.tracking.SatKorr[1] = 100;
  st.tracking.SatKorrKHz[1] = 0.1;
  Feed(Sat("AO-7", "435800000", "145950000"));

  EXPECT_DOUBLE_EQ(st.tracking.DownFreq, 145950.1);
  EXPECT_DOUBLE_EQ(st.tracking.UpFreq, 435800.0 + 0.1 * 435800.0 / 145950.1);
  EXPECT_EQ(st.main.edRX.text, "145950.100");
  EXPECT_EQ(st.main.edTX.text, "435800.299");
  EXPECT_EQ(st.main.lblKorr.text, "100");
}

TEST_F(TrackingIntake, DownlinkWithoutUsableRatioLeavesTheUplink) {
  st.tracking.SatKorrKHz[1] = -0.5;
  Feed(Sat("AO-7", "145950000", "000"));  // corrected downlink -0.5: no division
  EXPECT_DOUBLE_EQ(st.tracking.DownFreq, -0.5);
  EXPECT_DOUBLE_EQ(st.tracking.UpFreq, 145950.0);

  // "1E-307000" reads as 1E-307 kHz: uplink / downlink overflows, and times a
  // zero correction it would be no number at all.
  st.tracking.SatKorrKHz[1] = 0;
  Feed(Sat("AO-7", "145950000", "1E-307000"));
  EXPECT_DOUBLE_EQ(st.tracking.UpFreq, 145950.0);
  EXPECT_EQ(st.main.edTX.text, "145950.000");
}

TEST_F(TrackingIntake, NextSatelliteWithoutNoSatelliteRecordKeepsTheFirst) {
  st.tracking.SatKorr[1] = 30;
  Feed(Sat("AO-7"));
  Feed("SNFO-29 AZ200 EL40 UP435850000 UMFM DN145900000 DMFM MA7\r");

  EXPECT_EQ(st.main.edSat.text, " AO-7 ");
  EXPECT_EQ(st.main.edDM.text, "LSB");
  EXPECT_EQ(st.main.edUM.text, "USB");
  EXPECT_EQ(st.main.lblKorr.text, "30");
  EXPECT_EQ(st.tracking.SatIdx, 1);
  EXPECT_EQ(st.tracking.SatCount, 1);
  // Position, frequencies and MA come from the new record all the same.
  EXPECT_EQ(st.main.edAZ.text, "200");
  EXPECT_EQ(st.main.edRX.text, "145900.000");
  EXPECT_EQ(st.main.edMA.text, "7");
}

TEST_F(TrackingIntake, ReturningSatelliteGetsItsEntryAndCorrectionBack) {
  Feed(Sat("AO-7"));
  st.tracking.SatKorr[1] = -50;  // set by the operator during the pass
  st.tracking.SatKorrKHz[1] = -0.05;
  Feed("**\r");
  Feed(Sat("FO-29"));
  EXPECT_EQ(st.tracking.SatIdx, 2);
  EXPECT_EQ(st.main.lblKorr.text, "0");
  Feed("**\r");
  Feed(Sat("AO-7"));

  EXPECT_EQ(st.tracking.SatIdx, 1);
  EXPECT_EQ(st.tracking.SatCount, 2);
  EXPECT_EQ(st.main.edSat.text, " AO-7 ");
  EXPECT_EQ(st.main.lblKorr.text, "-50");
  EXPECT_TRUE(st.catSteuer.ScrollKorr1000.enabled);
}

TEST_F(TrackingIntake, FullTablePassesItsLastEntryOnWithAClearedCorrection) {
  auto name = [](int i) { return "SAT-" + std::to_string(i); };
  for (int i = 1; i <= 300; ++i) {
    Feed(Sat(name(i)));
    Feed("**\r");
  }
  st.tracking.SatKorr[5] = 30;
  st.tracking.SatKorrKHz[5] = 0.03;
  st.tracking.SatKorr[300] = 70;
  st.tracking.SatKorrKHz[300] = 0.07;

  Feed(Sat(name(301)));
  EXPECT_EQ(st.tracking.SatIdx, 300);
  EXPECT_EQ(st.tracking.SatCount, 300);
  EXPECT_EQ(st.tracking.SatNames[300], " SAT-301 ");
  EXPECT_EQ(st.main.lblKorr.text, "0");
  EXPECT_EQ(st.main.edRX.text, "435800.000");  // no correction of another satellite

  Feed("**\r");
  Feed(Sat(name(5)));
  EXPECT_EQ(st.tracking.SatIdx, 5);
  EXPECT_EQ(st.main.lblKorr.text, "30");
}

TEST_F(TrackingIntake, UplinkJumpForcesTheNextSend) {
  struct Row {
    const char* what;
    double intV;       // Hz
    const char* up;    // the second record's uplink field
    double korr;       // Hz
    bool cleared;
  };
  const Row rows[] = {
      {"more than the step", 1000, "145951500", 0, true},
      {"exactly the step", 1000, "145951000", 0, false},
      {"downwards", 1000, "145948500", 0, true},
      {"less than the step", 1000, "145950900", 0, false},
      // The new uncorrected uplink meets the previous corrected one.
      {"the correction alone", 5000, "145950000", 10000, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fakes::FakeStation fresh;
    Station& s = fresh.st;
    s.radio.IntV = row.intV;
    s.tracking.SatKorr[1] = row.korr;
    s.tracking.SatKorrKHz[1] = row.korr / 1000;
    s.radio.LastCatFreq = 500;
    ParseRecord(s, Sat("AO-7", "145950000", "145950000"));
    EXPECT_EQ(s.radio.LastCatFreq, 0) << "the first record after start jumps from 0";
    s.radio.LastCatFreq = 500;
    ParseRecord(s, Sat("AO-7", row.up, "145950000"));
    EXPECT_EQ(s.radio.LastCatFreq, row.cleared ? 0 : 500);
  }
}

TEST_F(TrackingIntake, OtherKindsOnlySetTheTag) {
  Feed(Sat("AO-7"));
  for (const char* record : {"", "S", "XY AZ1\r", "sn AO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB\r",
                             "*", "* *"}) {
    SCOPED_TRACE(record);
    Snapshot expected = Take();
    expected.tracking.RecTag = std::string(record).substr(0, 2);
    Feed(record);
    EXPECT_EQ(Take(), expected);
  }
}

TEST_F(TrackingIntake, RecordThatCannotBeCutKeepsTheStateExactly) {
  const char* const broken[] = {
      "SNAO-7 EL12 AZ1 UP145950000 UMUSB DN435800000 DMLSB MA1\r",  // out of order
      "SNAO-7 AZEL2 UP145950000 UMUSB DN435800000 DMLSB\r",         // no room for AZ's value
      "SNAO-7 AZ1 EL2 UP12 UMUSB DN435800000 DMLSB MA1\r",          // short frequency
      "SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000\r",             // no DM
      "SN",
  };
  ParkOn(st, 5);
  // While a satellite is tracked, and in a no-satellite period before the
  // next one: a broken record must neither set up a satellite nor end one.
  for (const char* lead : {"SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB MA1\r", "**\r"}) {
    Feed(lead);
    for (const char* record : broken) {
      SCOPED_TRACE(record);
      const Snapshot before = Take();
      Feed(record);
      EXPECT_EQ(Take(), before);
    }
  }
}

}  // namespace
}  // namespace skylet::tracking
