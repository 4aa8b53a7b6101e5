// The rotor: when a position goes out, where to and in which words; park;
// and the rotor dialog driven through its table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "rotor/park.h"
#include "rotor/positioning.h"
#include "ui/ausgabe_form.h"
#include "ui/form_events.h"
#include "ui/rotor_form.h"

namespace skylet::rotor {
namespace {

using Lines = std::vector<std::string>;

// A station with the rotor server linked, tracking on, no offsets.
struct RotorStation : fakes::FakeStation {
  RotorStation() {
    RotorState& r = st.rotor;
    r.RotType = 1;
    r.DdeRotor = "+";
    r.RotorOn = "+";
    r.DegToRad = 3.1415928 / 180;
    st.ServerName = "RotServer";
    rotorLink.Open({"RotServer", "RotServConv", "RotServItem", 200});
    rotorLink.log.clear();
  }
  // One satellite record's rotor decision.
  void Record(double az, double el) {
    st.tracking.SatAz = az;
    st.tracking.SatEl = el;
    RotDecide(st);
  }
  Lines Sent() {
    Lines out;
    for (const std::string& e : rotorLink.log) out.push_back(e.substr(e.find(' ') + 1));
    rotorLink.log.clear();
    return out;
  }
};

TEST(RotorByTime, APositionAtTheSecondRecordOfEachCycle) {
  for (int16_t interval : {3, 1, 0}) {
    RotorStation f;
    f.st.rotor.RotMode = "i";
    f.st.rotor.RotIntV = interval;
    Lines sentAt;
    for (int n = 1; n <= 10; ++n) {
      f.Record(n, 10);
      for (const std::string& s : f.Sent()) sentAt.push_back(std::to_string(n) + ": " + s);
    }
    const Lines expected = interval == 3   ? Lines{"2: 2 10", "6: 6 10", "10: 10 10"}
                           : interval == 1 ? Lines{"2: 2 10", "4: 4 10", "6: 6 10", "8: 8 10", "10: 10 10"}
                                           : Lines{};
    EXPECT_EQ(sentAt, expected) << "RotIntV " << interval;
  }
}

TEST(RotorByAngle, EachAxisLeadsBySomeHalfThresholdPastAStrictCrossing) {
  struct Row {
    const char* what;
    const char* winkelOpt;
    double minWin, refAz, refEl, satAz, satEl;
    Lines sent;
    double refAzAfter;
  };
  const Row rows[] = {
      {"beyond the threshold", "k", 4, 100, 10, 104.5, 10, {"106 10"}, 104.5},  // 106.5 to even
      {"exactly on it", "k", 4, 100, 10, 104, 10, {}, 100},
      {"across north", "k", 4, 358, 10, 2, 10, {"4 10"}, 2},
      {"back across north", "k", 4, 2, 10, 357, 10, {"355 10"}, 357},
      {"elevation only", "k", 4, 100, 10, 101, 15, {"100 17"}, 100},
      {"gain-related at 60 degrees: 10 is the threshold", "g", 5, 100, 60, 109.9, 60, {}, 100},
      {"gain-related beyond it", "g", 5, 100, 60, 110.1, 60, {"115 60"}, 110.1},
  };
  for (const Row& row : rows) {
    RotorStation f;
    RotorState& r = f.st.rotor;
    r.RotMode = "w";
    r.WinkelOpt = row.winkelOpt;
    r.MinWin = row.minWin;
    r.RotCount = 1;  // the first position went out already
    r.RotSend = "+";
    r.RotAzLast = row.refAz;
    r.RotElLast = row.refEl;
    r.RotAz = row.refAz;
    r.RotEl = row.refEl;
    f.Record(row.satAz, row.satEl);
    EXPECT_EQ(f.Sent(), row.sent) << row.what;
    EXPECT_DOUBLE_EQ(r.RotAzLast, row.refAzAfter) << row.what;
  }
}

TEST(RotorByAngle, TheFirstPositionGoesOutAsItIsAndNothingBelowTheMinimumElevation) {
  RotorStation f;
  RotorState& r = f.st.rotor;
  r.RotMode = "w";
  r.WinkelOpt = "g";
  r.MinWin = 5;
  r.RotMinEl = 3;
  f.Record(200, 2);
  EXPECT_TRUE(f.Sent().empty());
  f.Record(200.4, 95);  // near the zenith the threshold is that of 89 degrees
  EXPECT_EQ(f.Sent(), Lines{"200 95"});
  EXPECT_EQ(r.RotCount, 1);
  f.Record(300, 95);
  EXPECT_EQ(f.st.tracking.SatEl, 89) << "the elevation is kept at 89";
  EXPECT_TRUE(f.Sent().empty()) << "100 degrees are within 57 times MinWin at 89";
}

TEST(RotorOutput, OffsetsCorrectionsOneFoldAndWholeDegrees) {
  struct Row {
    double az, el, azOffset, elOffset, azKorr, elKorr;
    const char* sent;
  };
  const Row rows[] = {
      {359, 10, 0, 0, 2, 0, "1 10"},     {-3, 10, 0, 0, 0, 0, "357 10"},
      {360, 10, 0, 0, 0, 0, "360 10"},   {100, 1, 0, -2, 0, -1, "100 0"},
      {12.5, 12.5, 0, 0, 0, 0, "12 12"}, {13.5, 13.5, 0, 0, 0, 0, "14 14"},
      {90, 45, 5, 1, -1, 1, "94 47"},
  };
  for (const Row& row : rows) {
    RotorStation f;
    RotorState& r = f.st.rotor;
    r.RotSend = "+";
    r.RotAz = row.az;
    r.RotEl = row.el;
    r.RotAzOffset = row.azOffset;
    r.RotElOffset = row.elOffset;
    r.RotAzKorr = row.azKorr;
    r.RotElKorr = row.elKorr;
    RotOutput(f.st);
    EXPECT_EQ(f.Sent(), Lines{row.sent}) << row.az << "/" << row.el;
  }
}

TEST(RotorOutput, WhenNothingGoesOutAndWhereArswinGetsPokes) {
  RotorStation f;
  f.st.rotor.RotAz = 45;
  RotOutput(f.st);  // before a first position
  f.st.rotor.RotSend = "+";
  f.st.rotor.RotType = 0;
  RotOutput(f.st);
  f.st.rotor.RotType = -1;  // no rotor link was set up
  RotOutput(f.st);
  f.st.rotor.RotType = 1;
  f.st.rotor.DdeRotor = "-";  // the parallel-port word goes nowhere
  RotOutput(f.st);
  EXPECT_TRUE(f.Sent().empty());

  f.st.rotor.DdeRotor = "+";
  f.st.ServerName = "ARSWIN";
  RotOutput(f.st);
  EXPECT_EQ(f.rotorLink.log, (Lines{"poke GA:45", "poke GE:0"}));
  EXPECT_EQ(f.st.main.RotClientConv.caption, "GE:0");
}

TEST(RotorOutput, AFailedRotorLinkEndsTheProgramAfterItsMessage) {
  RotorStation f;
  f.st.rotor.RotSend = "+";
  f.rotorLink.acceptCommands = false;
  EXPECT_THROW(RotOutput(f.st), fakes::ProgramEnded);
  ASSERT_EQ(f.alerts.boxes.size(), 1u);
  EXPECT_EQ(f.alerts.boxes[0].text, "Fehler bei der Ausgabe an den Rotorserver,\rstarten Sie Skylet neu.");
}

TEST(RotorOutput, TheParallelPortWord) {
  EXPECT_EQ(RotParPort(90, 45, 0x378, "N"), 64 * 256 + 64);
  EXPECT_EQ(RotParPort(0, 100, 0x378, "S"), 127 * 256 + 128) << "south-facing, elevation capped";
  EXPECT_EQ(RotParPort(90, 45, 0x1FF, "N"), std::nullopt);
}

TEST(Park, TheParkPositionGoesOutThroughTheRotor) {
  RotorStation f;
  f.st.rotor.RotSend = "+";
  f.st.rotor.ParkOn = "+";
  f.st.rotor.ParkDelay = 3;
  f.st.rotor.ParkAz = 180;
  f.st.rotor.ParkEl = 5;
  ParkStep(f.st);
  EXPECT_TRUE(f.Sent().empty());
  ParkStep(f.st);
  ParkStep(f.st);
  EXPECT_EQ(f.Sent(), Lines{"180 5"});
}

// The dialog, driven as the operator drives it.
struct RotorDialog : RotorStation {
  const ui::FormTable& form = ui::RotorForm();
  const ui::ControlRow& Row(const char* name) { return *ui::FindRow(form, name); }
  void Type(const char* box, const std::string& text) { ui::Type(st, Row(box), text); }
  void Spin(const char* spin, int step) { ui::Spin(st, Row(spin), step); }
};

TEST(RotorDialog, ParkBoxesTakeEachKeystrokeAndRefuseWithABeep) {
  RotorDialog f;
  for (const char* typed : {"3", "36", "365"}) f.Type("edAzP", typed);
  EXPECT_EQ(f.st.rotor.ParkAz, 36);
  EXPECT_EQ(f.alerts.beeps, 1);
  f.Type("edAzP", "360");
  EXPECT_EQ(f.st.rotor.ParkAz, 359.9);
  f.Type("edElP", "12.5");
  EXPECT_EQ(f.st.rotor.ParkEl, 12);
  f.Type("edElP", "13.5");
  EXPECT_EQ(f.st.rotor.ParkEl, 14);
  f.Type("edZeitP", "99999");
  f.Type("edZeitP", "-1");
  EXPECT_EQ(f.st.rotor.ParkDelay, 0);
  EXPECT_EQ(f.alerts.beeps, 3);
}

TEST(RotorDialog, OpensWithTheValuesInUseAndOkWritesTheParkPosition) {
  RotorDialog f;
  f.st.rotor.ParkAz = 12.5;  // from the file: the box stores it as a whole number
  f.st.rotor.ParkEl = 5;
  f.st.rotor.ParkDelay = 7;
  f.st.rotor.RotAzKorr = -3;
  ui::MenuClick(f.st, ui::AusGabeForm().menus[1]);
  EXPECT_TRUE(f.st.rotorForm.visible);
  EXPECT_EQ(f.st.rotorForm.edAzP.text, " 12.5");
  EXPECT_EQ(f.st.rotor.ParkAz, 12);
  EXPECT_EQ(f.st.rotorForm.lblAZwert.caption, "    -3");

  f.Type("edZeitP", "");
  ui::Click(f.st, f.form, f.Row("cmdOK"));
  EXPECT_EQ(f.alerts.beeps, 1);
  EXPECT_TRUE(f.st.rotorForm.visible) << "an empty box keeps the dialog open";
  EXPECT_TRUE(f.files.writes.empty());
  f.Type("edZeitP", "9");
  ui::Click(f.st, f.form, f.Row("cmdOK"));
  EXPECT_FALSE(f.st.rotorForm.visible);
  EXPECT_EQ(f.files.files[std::string(fakes::FakeStation::kSkylet) + "DDEParkPos.SQF"], " 12\r\n 5\r\n 9\r\n");
}

TEST(RotorDialog, AStandardDirectionTurnsTheAntennaWithTrackingAndParkOff) {
  RotorDialog f;
  f.st.rotor.StandCount = 2;
  f.st.rotor.StandAz[2] = 90;
  f.st.rotorForm.lstStandR.items = {"Nord", "Ost"};
  f.st.rotorForm.visible = true;
  f.st.rotor.ParkOn = "+";
  ui::SelectItem(f.st, f.Row("lstStandR"), 1);
  EXPECT_TRUE(f.Sent().empty()) << "not before the start-up has finished";
  f.st.StartDone = "+";
  ui::SelectItem(f.st, f.Row("lstStandR"), 1);
  EXPECT_EQ(f.Sent(), Lines{"90 0"});
  EXPECT_EQ(f.st.rotor.RotorOn + f.st.rotor.ParkOn, "--");
  EXPECT_EQ(f.st.main.lblRotor.caption + f.st.main.lblPark.caption, " R- P-");
  EXPECT_FALSE(f.st.rotorForm.visible);
}

TEST(RotorDialog, CorrectionSpinsStepByDirectionAndStopOneBeyondTheirBound) {
  RotorDialog f;
  f.Spin("ScrollAz", +1);  // before a first position: only the label
  EXPECT_EQ(f.st.rotorForm.lblAZwert.caption, "    1");
  EXPECT_TRUE(f.Sent().empty());

  f.st.rotor.RotSend = "+";
  f.st.rotor.RotAz = 100;
  f.st.rotor.RotAzKorr = 60;
  for (int i = 0; i < 35; ++i) f.Spin("ScrollAz", +1);
  EXPECT_EQ(f.st.rotor.RotAzKorr, 91);
  EXPECT_EQ(f.Sent().size(), 31u) << "each step sends the target again";

  // Every click is one step its way: after the spin's value was set back
  // (a dialog created anew) and at the end of the spin's range alike.
  f.st.rotor.RotElKorr = 0;
  f.Spin("ScrollEl", +1);
  f.Spin("ScrollEl", +1);
  f.st.rotorForm.ScrollEl.value = forms::ScrollBar::kMax;
  f.Spin("ScrollEl", +1);
  f.st.rotorForm.ScrollEl.value = 0;
  f.Spin("ScrollEl", -1);
  EXPECT_EQ(f.st.rotor.RotElKorr, 2);
  EXPECT_EQ(f.st.rotorForm.lblElWert.caption, "    2");
}

}  // namespace
}  // namespace skylet::rotor
