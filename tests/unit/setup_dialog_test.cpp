// The setup dialog driven through its table as the operator drives it.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "fakes/fakes.h"
#include "ui/ausgabe_form.h"
#include "ui/form_events.h"
#include "ui/setup_form.h"

namespace skylet::ui {
namespace {

// The complete profile: rotor on at start, the rest off; angle change, 10, 5, constant; Kenwood.
struct SetupStation : fakes::FakeStation {
  forms::SatSetup& dlg = st.setup;

  SetupStation() { WriteCompleteProfile(); }
  void Open() { MenuClick(st, AusGabeForm().menus[3]); }
  void Press(const char* name, int index = -1) { Click(st, SetupForm(), *FindRow(SetupForm(), name, index)); }
  void Spin(const char* name, int step) { ui::Spin(st, *FindRow(SetupForm(), name), step); }
  // Switches, rotor options, boxes, family; as 0/1 check boxes, option buttons, rotor controls enabled.
  std::string State() const {
    std::string out = st.rotor.RotorOn + st.rotor.ParkOn + st.radio.CatOn + st.rotor.DdeRotor + " " +
                      st.rotor.RotMode + std::to_string(st.rotor.RotIntV) + st.rotor.WinkelOpt + " " +
                      dlg.edIntV.text + "/" + dlg.edMinWin.text + " " + st.radio.TrxFamily;
    const auto bits = [&out](std::initializer_list<bool> all) {
      out += ' ';
      for (const bool bit : all) out += bit ? '1' : '0';
    };
    bits({dlg.chkStartOptR.value == 1, dlg.chkStartOptC.value == 1, dlg.ChkStartOptP.value == 1,
          dlg.chkDDER.value == 1, dlg.chkDDEC.value == 1});
    bits({dlg.optTRX[0].value, dlg.optTRX[1].value, dlg.optTRX[2].value, dlg.RotOpt[0].value,
          dlg.RotOpt[1].value, dlg.OptWinkel[0].value, dlg.OptWinkel[1].value});
    bits({dlg.edIntV.enabled, dlg.ScrollIntV.enabled, dlg.edMinWin.enabled, dlg.ScrollMinWin.enabled,
          dlg.OptWinkel[0].enabled, dlg.OptWinkel[1].enabled});
    return out;
  }
};

// "x" where the step did nothing; the spin stands at its far end against the click.
TEST(SetupDialog, SpinStepsKeepTheirGuardsAndFollowTheClick) {
  const std::tuple<const char*, double, int, double, const char*> rows[] = {
      {"ScrollIntV", 0, -1, 0, "x"},          {"ScrollIntV", 1, -1, 0, "0"},
      {"ScrollIntV", 1000, +1, 1001, "1001"}, {"ScrollIntV", 1001, +1, 1001, "x"},
      {"ScrollMinWin", 90, +1, 91, "91"},     {"ScrollMinWin", 91, +1, 91, "x"},
      {"ScrollMinWin", 0.5, +1, 1.5, "2"},    {"ScrollMinWin", 0.5, -1, 0.5, "x"},
      {"ScrollMinWin", 1.5, -1, 0.5, "1"},    {"ScrollMinWin", 1, -1, 0, "0"},
  };
  for (const auto& [spin, before, step, after, shown] : rows) {
    SetupStation f;
    const bool interval = std::string(spin) == "ScrollIntV";
    f.dlg.edIntV.text = f.dlg.edMinWin.text = "x";
    f.st.rotor.RotIntV = static_cast<int16_t>(before);
    f.st.rotor.MinWin = before;
    const int farEnd = step > 0 ? forms::ScrollBar::kMin : forms::ScrollBar::kMax;
    f.dlg.ScrollIntV.value = f.dlg.ScrollMinWin.value = farEnd;
    f.Spin(spin, step);
    EXPECT_EQ(interval ? f.st.rotor.RotIntV : f.st.rotor.MinWin, after) << spin << " from " << before;
    EXPECT_EQ(interval ? f.dlg.edIntV.text : f.dlg.edMinWin.text, shown) << spin << " from " << before;
  }
}

// Options clear only their own frame's group; a family chosen drives the radio at once.
TEST(SetupDialog, OpeningReturnsTheStoredSettingsCancelAndTheCloseBoxStoreNothing) {
  SetupStation f;
  const std::string stored = "+--- w10k 10/5 Kenwood 10000 0010101 001111";
  f.st.main.Left = 15000;
  f.st.main.Top = 1200;
  f.st.radio.IcomCmdAddr = 0x60;
  f.st.rotor.RotorOn = "-";
  f.st.main.lblRotor.caption = " R-";
  f.st.radio.CatOn = f.st.rotor.DdeRotor = "+";
  f.Open();
  EXPECT_TRUE(f.dlg.visible && f.dlg.loaded && f.alerts.boxes.empty());
  EXPECT_EQ(std::tuple(f.dlg.Left, f.dlg.Top), std::tuple(14200, 2200));
  EXPECT_EQ(f.State(), stored);
  EXPECT_EQ(f.st.main.lblRotor.caption + f.st.main.lblPark.caption + f.st.main.lblCat.caption,
            " R+ P- C+") << "the CAT indicator is not touched";
  f.Press("optTRX", 1);
  EXPECT_EQ(f.st.radio.IcomFreqPrefix, std::string("\xFE\xFE\x60\xE0\x05"));
  f.Press("OptWinkel", 0);
  f.Spin("ScrollMinWin", +1);
  f.Press("RotOpt", 0);
  f.Spin("ScrollIntV", +1);
  for (const char* check : {"chkStartOptR", "chkDDEC"}) f.Press(check);
  f.Press("cmdCancel");
  EXPECT_FALSE(f.dlg.visible);
  EXPECT_EQ(f.State(), "+--- i11g 11/6 Icom 00001 0101010 110000");
  f.Open();
  EXPECT_EQ(f.State(), stored);

  f.Skylet("SkyletStart.SQF", "x\r\n-\r\n-\r\n-\r\n-\r\n");
  f.files.files.erase(std::string(f.kSkylet) + "DDERotOpt.SQF");
  f.Vantrak("TRX.SQF", "Collins\r\n");
  f.Open();
  EXPECT_EQ(f.st.startOptions.StartRotor, "-") << "a switch not \"+\" unchecks its box, whose handler ran";
  EXPECT_TRUE(f.alerts.boxes.size() == 1 && f.alerts.boxes[0].text.find("DDERotOpt") != std::string::npos);
  EXPECT_EQ(f.State(), "---- w10k 10/5 Collins 00000 0010101 001111") << "unknown family: options kept";

  f.dlg.ScrollIntV.value = forms::ScrollBar::kMax;
  f.Spin("ScrollIntV", +1);
  f.Spin("ScrollIntV", +1);
  EXPECT_EQ(f.dlg.ScrollIntV.value, forms::ScrollBar::kMax) << "held at its end, each click still counted";
  CloseBox(f.st, SetupForm());
  EXPECT_FALSE(f.dlg.loaded || f.dlg.visible);
  EXPECT_EQ(f.State(), "---- w12k / Collins 00000 0000000 111111") << "put back as designed";
  EXPECT_TRUE(f.files.writes.empty()) << "neither abbrechen nor the close box stores";
  f.Open();
  EXPECT_FALSE(f.dlg.ScrollIntV.enabled) << "the enabling was set anew";
}

// Both files are tried and each failure told; the dialog stays up until both are stored.
TEST(SetupDialog, OkStoresBothFilesAndHidesOnlyWhenBothWereWritten) {
  SetupStation f;
  f.Skylet("DDERotOpt.SQF", "w\r\n 10\r\n 0.5\r\nk\r\n");
  f.Open();
  f.st.rotor.RotCount = 7;
  f.Press("RotOpt", 1);
  EXPECT_EQ(f.st.rotor.RotCount, 0) << "angle mode starts counting afresh";
  f.Spin("ScrollMinWin", +1);
  f.Press("chkDDEC");
  f.files.failWrites = true;
  f.Press("cmdOK");
  ASSERT_EQ(f.alerts.boxes.size(), 2u);
  EXPECT_TRUE(f.dlg.visible && f.alerts.boxes[0].text.find("SkyletStart.SQF") != std::string::npos &&
              f.alerts.boxes[1].text.find("DDERotOpt.SQF") != std::string::npos);
  f.files.failWrites = false;
  f.Press("cmdOK");
  EXPECT_FALSE(f.dlg.visible);
  EXPECT_EQ(f.files.files[std::string(f.kSkylet) + "DDERotOpt.SQF"], "w\r\n 10\r\n 1.5\r\nk\r\n");
  EXPECT_EQ(f.st.radio.DdeCat, "-") << "the server choice waits for the next start";
}

}  // namespace
}  // namespace skylet::ui
