// The setup dialog driven through its table as the operator drives it: the
// re-reads at opening, the options and their enabling, the spin steps with
// their guards, and what OK, "abbrechen" and the close box leave behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/fakes.h"
#include "ui/ausgabe_form.h"
#include "ui/form_events.h"
#include "ui/setup_form.h"

namespace skylet::ui {
namespace {

using fakes::FakeStation;

// A station with the complete profile: rotor on at start, everything else
// off; rotor by angle change, interval 10, 5 degrees, constant; Kenwood.
struct SetupStation : FakeStation {
  const FormTable& form = SetupForm();
  forms::SatSetup& dlg = st.setup;

  SetupStation() { WriteCompleteProfile(); }

  void Open() {
    for (const MenuRow& menu : AusGabeForm().menus) {
      if (std::strcmp(menu.name, "menOpt") == 0) MenuClick(st, menu);
    }
  }
  const ControlRow& Row(const char* name, int index = -1) {
    const ControlRow* row = FindRow(form, name, index);
    EXPECT_NE(row, nullptr) << name << "(" << index << ")";
    return *row;
  }
  void Press(const char* name, int index = -1) { Click(st, form, Row(name, index)); }
  void Spin(const char* name, int step) { ui::Spin(st, Row(name), step); }
  // The five check boxes as 0/1, in the order of the start file's lines.
  std::string Checks() const {
    std::string out;
    for (const forms::CheckBox* box :
         {&dlg.chkStartOptR, &dlg.chkStartOptC, &dlg.ChkStartOptP, &dlg.chkDDER, &dlg.chkDDEC}) {
      out += std::to_string(box->value);
    }
    return out;
  }
  std::string Written(const char* name) {
    return files.files[std::string(kSkylet) + name];
  }
};

TEST(SetupDialog, SpinStepsKeepTheirGuards) {
  struct Row {
    const char* spin;
    double before;
    int step;
    double after;
    const char* shown;  // the box's text; "x" where the step did nothing
  };
  const Row rows[] = {
      {"ScrollIntV", 0, -1, 0, "x"},       {"ScrollIntV", 1, -1, 0, "0"},
      {"ScrollIntV", 1000, +1, 1001, "1001"}, {"ScrollIntV", 1001, +1, 1001, "x"},
      {"ScrollMinWin", 90, +1, 91, "91"},  {"ScrollMinWin", 91, +1, 91, "x"},
      {"ScrollMinWin", 0, -1, 0, "x"},     {"ScrollMinWin", 0.5, +1, 1.5, "2"},
      {"ScrollMinWin", 0.5, -1, 0.5, "x"}, {"ScrollMinWin", 1.5, -1, 0.5, "1"},
  };
  for (const Row& row : rows) {
    SetupStation f;
    const bool interval = std::strcmp(row.spin, "ScrollIntV") == 0;
    f.dlg.edIntV.text = f.dlg.edMinWin.text = "x";
    if (interval) {
      f.st.rotor.RotIntV = static_cast<int16_t>(row.before);
    } else {
      f.st.rotor.MinWin = row.before;
    }
    f.Spin(row.spin, row.step);
    const double after = interval ? f.st.rotor.RotIntV : f.st.rotor.MinWin;
    EXPECT_EQ(after, row.after) << row.spin << " from " << row.before << " step " << row.step;
    EXPECT_EQ(interval ? f.dlg.edIntV.text : f.dlg.edMinWin.text, row.shown)
        << row.spin << " from " << row.before << " step " << row.step;
  }
}

TEST(SetupDialog, EveryClickStepsItsWayWhereverTheSpinStands) {
  SetupStation f;
  f.st.rotor.RotIntV = 5;
  f.dlg.ScrollIntV.value = forms::ScrollBar::kMax;
  f.Spin("ScrollIntV", -1);
  f.dlg.ScrollIntV.value = forms::ScrollBar::kMin;
  f.Spin("ScrollIntV", +1);
  f.Spin("ScrollIntV", +1);
  EXPECT_EQ(f.st.rotor.RotIntV, 6);
}

TEST(SetupDialog, OpeningReturnsTheStartSettingsAndUndoesUnstoredChoices) {
  SetupStation f;
  f.st.main.Left = 1500;
  f.st.main.Top = 1200;
  // The operator switched rotor control off and changed options without OK.
  f.st.rotor.RotorOn = "-";
  f.st.main.lblRotor.caption = " R-";
  f.st.radio.CatOn = "+";
  f.st.rotor.DdeRotor = "+";
  f.st.rotor.RotMode = "i";
  f.st.rotor.RotIntV = 99;
  f.st.rotor.WinkelOpt = "g";
  f.st.radio.TrxFamily = "Icom";
  f.Open();

  EXPECT_TRUE(f.dlg.visible && f.dlg.loaded);
  EXPECT_EQ(f.dlg.Left, 2500);
  EXPECT_EQ(f.dlg.Top, 2200);
  EXPECT_EQ(f.st.rotor.RotorOn + f.st.main.lblRotor.caption, "+ R+");
  EXPECT_EQ(f.st.rotor.ParkOn + f.st.main.lblPark.caption, "- P-");
  EXPECT_EQ(f.st.radio.CatOn, "-");
  EXPECT_EQ(f.st.main.lblCat.caption, " C+") << "the CAT indicator is not touched";
  EXPECT_EQ(f.st.rotor.DdeRotor, "-");

  EXPECT_EQ(f.Checks(), "10000");

  EXPECT_EQ(f.st.rotor.RotMode, "w");
  EXPECT_EQ(f.st.rotor.RotIntV, 10);
  EXPECT_EQ(f.st.rotor.WinkelOpt, "k");
  EXPECT_EQ(f.dlg.edIntV.text, "10");
  EXPECT_EQ(f.dlg.edMinWin.text, "5");
  EXPECT_TRUE(f.dlg.RotOpt[1].value && !f.dlg.RotOpt[0].value);
  EXPECT_TRUE(f.dlg.OptWinkel[1].value && !f.dlg.OptWinkel[0].value);
  EXPECT_FALSE(f.dlg.ScrollIntV.enabled) << "the options' handlers ran";
  EXPECT_TRUE(f.dlg.ScrollMinWin.enabled);

  EXPECT_EQ(f.st.radio.TrxFamily, "Kenwood");
  EXPECT_TRUE(f.dlg.optTRX[2].value && !f.dlg.optTRX[1].value);
  EXPECT_TRUE(f.alerts.boxes.empty());

  // A switch line other than "+" unchecks its box, whose handler stores "-".
  f.Skylet("SkyletStart.SQF", "x\r\n-\r\n-\r\n-\r\n-\r\n");
  f.Press("cmdCancel");
  f.Open();
  EXPECT_EQ(f.st.startOptions.StartRotor, "-");
}

TEST(SetupDialog, AnUnknownFamilyLeavesTheFamilyOptionsAsTheyWere) {
  SetupStation f;
  f.Vantrak("TRX.SQF", "Collins\r\n");
  f.Open();
  EXPECT_FALSE(f.dlg.optTRX[0].value || f.dlg.optTRX[1].value || f.dlg.optTRX[2].value);

  f.Press("optTRX", 1);
  f.Press("cmdCancel");
  f.Open();
  EXPECT_EQ(f.st.radio.TrxFamily, "Collins");
  EXPECT_TRUE(f.dlg.optTRX[1].value);
}

TEST(SetupDialog, AMissingFileIsToldAtOpening) {
  SetupStation f;
  f.files.files.erase(std::string(FakeStation::kSkylet) + "DDERotOpt.SQF");
  f.Open();
  ASSERT_EQ(f.alerts.boxes.size(), 1u);
  EXPECT_NE(f.alerts.boxes[0].text.find("DDERotOpt.SQF"), std::string::npos);
  EXPECT_TRUE(f.dlg.visible);
}

TEST(SetupDialog, TheTrackingBasisEnablesItsControlsAndAngleModeStartsAfresh) {
  struct Row {
    int index;
    const char* mode;
    int rotCount;
    bool byTime;
  };
  const Row rows[] = {{0, "i", 7, true}, {1, "w", 0, false}};
  for (const Row& row : rows) {
    SetupStation f;
    f.Open();
    f.st.rotor.RotCount = 7;
    f.Press("RotOpt", row.index);
    EXPECT_EQ(f.st.rotor.RotMode, row.mode);
    EXPECT_EQ(f.st.rotor.RotCount, row.rotCount) << row.mode;
    EXPECT_EQ(f.dlg.edIntV.enabled, row.byTime) << row.mode;
    EXPECT_EQ(f.dlg.ScrollIntV.enabled, row.byTime) << row.mode;
    EXPECT_EQ(f.dlg.edMinWin.enabled, !row.byTime) << row.mode;
    EXPECT_EQ(f.dlg.ScrollMinWin.enabled, !row.byTime) << row.mode;
    EXPECT_EQ(f.dlg.OptWinkel[0].enabled && f.dlg.OptWinkel[1].enabled, !row.byTime) << row.mode;
  }
}

TEST(SetupDialog, AFamilyChosenDrivesTheRadioAtOnceUntilTheNextOpening) {
  SetupStation f;
  f.st.radio.IcomCmdAddr = 0x60;
  f.Open();
  f.Press("optTRX", 1);
  EXPECT_EQ(f.st.radio.TrxFamily, "Icom");
  EXPECT_EQ(f.st.radio.IcomFreqPrefix, std::string("\xFE\xFE\x60\xE0\x05"))
      << "the commands are built for the new family";
  f.Press("OptWinkel", 0);
  EXPECT_EQ(f.st.rotor.WinkelOpt, "g");
  f.Spin("ScrollMinWin", +1);
  f.Press("chkDDEC");
  f.Press("cmdCancel");
  EXPECT_FALSE(f.dlg.visible);
  EXPECT_TRUE(f.files.writes.empty()) << "abbrechen stores nothing";
  EXPECT_EQ(f.st.rotor.MinWin, 6) << "the live values stay until the next opening";

  f.Open();
  EXPECT_EQ(f.st.radio.TrxFamily, "Kenwood");
  EXPECT_TRUE(f.dlg.optTRX[2].value);
  EXPECT_EQ(f.st.rotor.WinkelOpt, "k");
  EXPECT_TRUE(f.dlg.OptWinkel[1].value);
  EXPECT_EQ(f.st.rotor.MinWin, 5);
  EXPECT_EQ(f.Checks(), "10000");
  EXPECT_EQ(f.st.startOptions.SetupDdeCat, "-");
}

TEST(SetupDialog, OkStoresBothFilesAndHides) {
  SetupStation f;
  f.Skylet("DDERotOpt.SQF", "w\r\n 10\r\n 0.5\r\nk\r\n");
  f.Open();
  f.Press("chkStartOptR");
  f.Press("chkStartOptC");
  f.Press("chkDDEC");
  f.Spin("ScrollMinWin", +1);
  f.Press("OptWinkel", 0);
  f.Press("RotOpt", 0);
  f.Spin("ScrollIntV", -1);
  f.Press("cmdOK");
  EXPECT_FALSE(f.dlg.visible);
  EXPECT_EQ(f.Written("SkyletStart.SQF"), "-\r\n+\r\n-\r\n-\r\n+\r\n");
  EXPECT_EQ(f.Written("DDERotOpt.SQF"), "i\r\n 9\r\n 1.5\r\ng\r\n");
  EXPECT_EQ(f.st.radio.DdeCat, "-") << "the server choice takes effect at the next start";
}

TEST(SetupDialog, AFileThatCannotBeWrittenKeepsTheDialogOpen) {
  SetupStation f;
  f.Open();
  f.Press("RotOpt", 0);
  f.files.failWrites = true;
  f.Press("cmdOK");
  EXPECT_TRUE(f.dlg.visible);
  ASSERT_EQ(f.alerts.boxes.size(), 2u) << "each file is told";
  EXPECT_NE(f.alerts.boxes[0].text.find("SkyletStart.SQF"), std::string::npos);
  EXPECT_NE(f.alerts.boxes[1].text.find("DDERotOpt.SQF"), std::string::npos);
  EXPECT_EQ(f.st.rotor.RotMode, "i") << "the choice stays in use";

  f.files.failWrites = false;
  f.Press("cmdOK");
  EXPECT_FALSE(f.dlg.visible);
  EXPECT_EQ(f.Written("DDERotOpt.SQF"), "i\r\n 10\r\n 5\r\nk\r\n");
}

TEST(SetupDialog, TheCloseBoxUnloadsAndTheNextOpeningBuildsItAnew) {
  SetupStation f;
  f.Open();
  f.Spin("ScrollIntV", +1);
  f.Spin("ScrollIntV", +1);
  f.Press("chkDDER");
  CloseBox(f.st, f.form);
  EXPECT_FALSE(f.dlg.loaded || f.dlg.visible);
  EXPECT_EQ(f.dlg.ScrollIntV.value, 0);
  EXPECT_EQ(f.dlg.chkDDER.value, 0);
  EXPECT_TRUE(f.files.writes.empty());

  f.Open();
  EXPECT_EQ(f.dlg.edIntV.text, "10") << "the stored interval again";
  EXPECT_FALSE(f.dlg.ScrollIntV.enabled) << "the enabling was set anew";
  f.Spin("ScrollIntV", +1);
  EXPECT_EQ(f.st.rotor.RotIntV, 11);
}

// Every control lies within its frame and every frame within the window.
TEST(SetupDialog, TheLayoutFitsTheWindow) {
  const FormTable& form = SetupForm();
  for (const ControlRow& row : form.controls) {
    int width = form.clientWidth, height = form.clientHeight;
    if (row.container) {
      const ControlRow* frame = FindRow(form, row.container);
      ASSERT_NE(frame, nullptr) << row.name;
      width = frame->width;
      height = frame->height;
    }
    EXPECT_TRUE(row.left >= 0 && row.top >= 0 && row.left + row.width <= width &&
                row.top + row.height <= height)
        << row.name << "(" << row.index << ")";
  }
}

}  // namespace
}  // namespace skylet::ui
