// The step and the correction: the dialog "Catsteuerung" driven through its
// table, and the arrow keys of the main window.
#include <gtest/gtest.h>

#include <string>

#include "fakes/fakes.h"
#include "ui/ausgabe_form.h"
#include "ui/catsteuer_form.h"
#include "ui/form_events.h"

namespace skylet::ui {
namespace {

struct Tracked : fakes::FakeStation {
  Tracked() {
    st.tracking.RecTag = "SN";
    st.tracking.SatIdx = 3;
    st.main.edSat.text = " AO-7 ";
    st.tracking.DownFreq = 435800;
    st.radio.LastCatFreq = 435800;
  }
  double& Korr() { return st.tracking.SatKorr[3]; }
  void Spin(const char* name, int step) { ui::Spin(st, *FindRow(CatSteuerForm(), name), step); }
  void Key(int code) { AusGabe::picFocus_KeyDown(st, code, 0); }
};

TEST(CatSteuer, IntervalStepsStayWholeAndNeverBelowZero) {
  struct Row {
    double from;
    const char* spin;
    int step;
    double to;
    const char* shown;
  };
  const Row rows[] = {
      {0, "ScrollIntV10", -1, 0, "0"},        {0, "ScrollIntV10", +1, 10, "10"},
      {5, "ScrollIntV10", -1, 0, "0"},        {105.7, "ScrollIntV10", +1, 115, "115"},
      {105.7, "ScrollIntV100", -1, 5, "5"},   {250, "ScrollIntV1000", +1, 1250, "1250"},
      {-5, "ScrollIntV100", +1, -5, nullptr},  // a negative step from the file stays
  };
  for (const Row& row : rows) {
    Tracked f;
    f.st.radio.IntV = row.from;
    f.st.main.lblIntV.caption = "before";
    f.Spin(row.spin, row.step);
    EXPECT_EQ(f.st.radio.IntV, row.to) << row.from << " " << row.spin;
    EXPECT_EQ(f.st.main.lblIntV.caption, row.shown ? row.shown : "before") << row.from;
    if (row.shown) {
      EXPECT_EQ(f.st.catSteuer.edIntV.text, row.shown);
    }
  }
}

TEST(CatSteuer, CorrectionStepsWhileTrackedAndBackFromBeyondTheLimit) {
  Tracked f;
  f.Spin("ScrollKorr10", +1);
  f.Spin("ScrollKorr10", -1);
  EXPECT_EQ(f.st.main.lblKorr.text, "0");
  EXPECT_EQ(f.st.catSteuer.edKorr.text, "0");

  f.Korr() = 10000;
  f.Spin("ScrollKorr1000", +1);
  EXPECT_EQ(f.Korr(), 11000);
  f.Spin("ScrollKorr10", +1);
  EXPECT_EQ(f.Korr(), 11000) << "no further away";
  f.Spin("ScrollKorr10", -1);
  EXPECT_EQ(f.Korr(), 10990) << "always back towards zero";
  EXPECT_DOUBLE_EQ(f.st.tracking.SatKorrKHz[3], 10.99);

  f.Korr() = 50;
  f.Spin("ScrollKorr100", -1);
  EXPECT_EQ(f.st.main.lblKorr.text, "-50");
  EXPECT_EQ(f.st.radio.LastCatFreq, 0) << "the next record sends";
  EXPECT_EQ(f.st.main.edRX.text, "435800.000") << "the boxes were refreshed";

  f.st.tracking.RecTag = "**";
  f.st.main.edSat.text = " No Satellite";
  f.Spin("ScrollKorr100", +1);
  EXPECT_EQ(f.Korr(), -50) << "no correction without a satellite";
}

TEST(CatSteuer, TheArrowKeysOfTheMainWindow) {
  Tracked f;
  f.st.radio.IntV = 100;
  for (int key : {39, 39, 37, 38, 38, 40, 65, 13}) f.Key(key);
  EXPECT_EQ(f.Korr(), 100);
  EXPECT_EQ(f.st.radio.IntV, 200);
  EXPECT_EQ(f.st.main.lblIntV.caption, "200");
  EXPECT_TRUE(f.st.catSteuer.loaded) << "the keys write the dialog's boxes, creating it";
  EXPECT_FALSE(f.st.catSteuer.visible);
  EXPECT_EQ(f.st.catSteuer.edKorr.text, "100");

  f.st.tracking.RecTag = "**";
  f.Key(39);
  f.Key(38);
  EXPECT_EQ(f.Korr(), 100) << "Left and Right only while a satellite is tracked";
  EXPECT_EQ(f.st.radio.IntV, 300);
}

TEST(CatSteuer, OpensWithTheValuesInUseAndTheCloseBoxDestroysIt) {
  Tracked f;
  f.st.radio.IntV = 250;
  f.st.main.Left = 1500;
  MenuClick(f.st, AusGabeForm().menus[0]);
  EXPECT_TRUE(f.st.catSteuer.visible);
  EXPECT_EQ(f.st.catSteuer.Left, 2500);
  EXPECT_EQ(f.st.catSteuer.edIntV.text, "250");
  EXPECT_EQ(f.st.catSteuer.edKorr.text, "") << "a correction of 0 shows empty";
  EXPECT_EQ(f.st.catSteuer.focus, "ScrollIntV100");

  f.Spin("ScrollIntV100", +1);
  CloseBox(f.st, CatSteuerForm());
  EXPECT_FALSE(f.st.catSteuer.loaded);
  EXPECT_EQ(f.st.catSteuer.ScrollIntV100.value, 0);
  EXPECT_EQ(f.st.radio.IntV, 350) << "the step outlives the dialog";
}

TEST(CatSteuer, IntvOkWritesTheStepAndWeiterHides) {
  Tracked f;
  f.st.radio.IntV = 350;
  MenuClick(f.st, AusGabeForm().menus[0]);
  const ControlRow& store = *FindRow(CatSteuerForm(), "cmdIntVStore");
  Click(f.st, CatSteuerForm(), store);
  Click(f.st, CatSteuerForm(), store);
  EXPECT_EQ(f.files.files[std::string(fakes::FakeStation::kSkylet) + "DDEIntVCat.SQF"], " 350\r\n");
  EXPECT_EQ(f.st.catSteuer.focus, "cmdCancel");
  Click(f.st, CatSteuerForm(), *FindRow(CatSteuerForm(), "cmdCancel"));
  EXPECT_FALSE(f.st.catSteuer.visible);
  EXPECT_TRUE(f.st.catSteuer.loaded);
}

}  // namespace
}  // namespace skylet::ui
