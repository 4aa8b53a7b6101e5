// The main window, its dialogs driven through their tables as the operator drives them, every form's table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "app/startup.h"
#include "fakes/fakes.h"
#include "radio/link_setup.h"
#include "ui/ausgabe_form.h"
#include "ui/catsteuer_form.h"
#include "ui/form_events.h"
#include "ui/mode_form.h"
#include "ui/rotor_form.h"
#include "ui/setup_form.h"

namespace skylet::ui {
namespace {

using namespace AusGabe;
using fakes::FakeStation;

// Tracking the satellite of table entry 3, its downlink last sent.
struct Tracked : FakeStation {
  Tracked() {
    st.tracking.RecTag = "SN";
    st.tracking.SatIdx = 3;
    st.tracking.DownFreq = st.radio.LastCatFreq = 435800;
  }
  const fakes::Operator dlg = At(CatSteuerForm());
};

// Left and Right correct only while a satellite is tracked; other keys do nothing.
TEST(CatSteuer, TheDialogAndTheArrowKeysChangeTheStepAndTheCorrection) {
  Tracked f;
  f.st.radio.IntV = 250;
  MenuClick(f.st, AusGabeForm().menus[0]);
  const forms::CatSteuer& dlg = f.st.catSteuer;
  EXPECT_EQ(dlg.edIntV.text + "|" + dlg.edKorr.text + "|" + dlg.focus, "250||ScrollIntV100") << "0: empty";
  f.dlg.Press("cmdIntVStore");
  EXPECT_EQ(f.st.catSteuer.focus, "cmdCancel");
  f.dlg.Press("cmdCancel");
  EXPECT_TRUE(f.st.catSteuer.loaded && !f.st.catSteuer.visible) << "weiter only hides it";
  CloseBox(f.st, CatSteuerForm());
  for (int key : {39, 39, 37, 38, 38, 40, 65, 13}) picFocus_KeyDown(f.st, key, 0);
  EXPECT_EQ(f.st.catSteuer.edKorr.text + " " + f.st.main.lblIntV.caption, "100 350");
  EXPECT_TRUE(f.st.catSteuer.loaded && !f.st.catSteuer.visible) << "the keys write the boxes, creating it";
  f.st.tracking.RecTag = "**";
  for (int key : {39, 38}) picFocus_KeyDown(f.st, key, 0);
  EXPECT_DOUBLE_EQ(f.st.tracking.SatKorrKHz[3], 0.1);
  f.dlg.Spin("ScrollKorr100", +1);
  EXPECT_EQ(std::tuple(f.st.tracking.SatKorr[3], f.st.radio.IntV), std::tuple(100.0, 450.0)) << "untracked";
}

// The limits on the 19200 x 15360 twips screen are 9600 and Int(15360 * 0.33), inclusive.
TEST(DialogPlacement, RightOfAndBelowTheWindowWhileItIsLeftAndHigh) {
  const std::tuple<double, double, int, int> rows[] = {
      {9600, 5068, 1000, 1000}, {9601, 5069, -800, -700}, {0, 5068.5, 1000, -700}, {-300, -200, 1000, 1000}};
  for (const auto& [left, top, offX, offY] : rows) {
    FakeStation f;
    f.st.main.Left = left;
    f.st.main.Top = top;
    CalcDlgOffset(f.st);
    EXPECT_EQ(std::tuple(f.st.main.DlgOffX, f.st.main.DlgOffY), std::tuple(offX, offY)) << left << " " << top;
  }
}

// Whole Hz; a negative step from the file stays; "x": nothing moved; a correction is shown and sent.
TEST(CatSteuer, SpinsMoveTheStepNeverBelowZeroAndTheCorrectionBackFromBeyondTheLimit) {
  const std::tuple<const char*, double, int, const char*> rows[] = {
      {"ScrollIntV10", 5, -1, "0"},           {"ScrollIntV10", 105.7, +1, "115"},
      {"ScrollIntV100", 105.7, -1, "5"},      {"ScrollIntV1000", 250, +1, "1250"},
      {"ScrollIntV100", -5, +1, "x"},         {"ScrollKorr1000", 10000, +1, "11000"},
      {"ScrollKorr10", 11000, +1, "x"},       {"ScrollKorr10", 11000, -1, "10990"},
      {"ScrollKorr10", -11000, -1, "x"},      {"ScrollKorr100", 100, -1, "0"}};
  for (const auto& [spin, from, step, shown] : rows) {
    Tracked f;
    f.st.radio.IntV = f.st.tracking.SatKorr[3] = from;
    f.st.main.lblIntV.caption = f.st.catSteuer.edIntV.text = "x";
    f.st.main.lblKorr.text = f.st.catSteuer.edKorr.text = "x";
    f.dlg.Spin(spin, step);
    const bool korr = std::string(spin).find("Korr") != std::string::npos;
    EXPECT_EQ(korr ? f.st.main.lblKorr.text : f.st.main.lblIntV.caption, shown) << spin << " " << from;
    EXPECT_EQ(korr ? f.st.catSteuer.edKorr.text : f.st.catSteuer.edIntV.text, shown) << spin << " " << from;
    EXPECT_EQ(!f.st.main.edRX.text.empty() && f.st.radio.LastCatFreq == 0, korr && *shown != 'x');
  }
}

TEST(ModeDialog, OkAppliesTheChosenRowsCancelAndTheCloseBoxKeepWhatIsInUse) {
  FakeStation f;
  f.WriteCompleteProfile();
  f.Vantrak("TRX.SQF", "Icom\r\n");
  app::StartUp(f.st);
  f.st.main.edSat.text = " No Satellite";
  f.st.radio.LastCatFreq = 435000;
  const fakes::Operator dlg = f.At(ModeForm());
  dlg.Choose("lstAdress", 1);
  dlg.Choose("lstTransverter", 1);
  dlg.Press("cmdCancel");
  CloseBox(f.st, ModeForm());
  EXPECT_TRUE(f.st.mode.loaded && f.st.radio.LastCatFreq == 435000) << "only hidden, nothing applied";
  dlg.Press("cmdOK");
  EXPECT_EQ(f.st.radio.IcomRxAddr, 0x5E);
  EXPECT_EQ(fakes::Hex(f.st.radio.CmdSelectRx + f.st.radio.CmdIcomSatOn), "FE FE 5E E0 07 D0 FD FE FE 5E E0 1A 07 01 FD")
      << "IC-910H: uplink address, and its satellite switch at the command address";
  EXPECT_EQ(std::tuple(f.st.radio.RxOffset, f.st.radio.TxOffset, f.st.radio.LastCatFreq), std::tuple(2256000, 144000, 0));
  EXPECT_EQ(f.st.main.edRX.text, "") << "nothing tracked: the boxes stay blank";
  f.st.mode.lstAdress.Clear();
  dlg.Press("cmdOK");
  EXPECT_EQ(f.st.radio.IcomRxAddr, 0x5E) << "no row chosen: the addresses in use stay";
}

// picFocus lies below the window on purpose: it only takes keys.
TEST(FormTables, EveryRowHasItsOwnControlLiesInsideItsHolderAndTakesTheFocus) {
  const std::set<std::string> handsOn = {"edAZ", "edDM", "edEL", "edRX", "edSat", "edTX", "edUM"};
  FakeStation f;
  for (const FormTable* form : {&AusGabeForm(), &SetupForm(), &CatSteuerForm(), &ModeForm(), &RotorForm()}) {
    std::set<const void*> controls;
    for (const ControlRow& row : form->controls) {
      SCOPED_TRACE(std::string(form->name) + "." + row.name + std::to_string(row.index));
      const ControlRef control = (*row.control)(f.st);
      EXPECT_TRUE(controls.insert(std::visit([](auto* c) -> const void* { return c; }, control)).second);
      GotFocus(f.st, *form, row);
      EXPECT_EQ((*form->state)(f.st).focus, handsOn.count(row.name) ? "picFocus" : row.name);
      if (!View(control).visible || KindOf(control) == ControlKind::PictureBox) continue;
      const ControlRow* frame = row.container ? FindRow(*form, row.container) : nullptr;
      ASSERT_EQ(frame == nullptr, row.container == nullptr);
      EXPECT_TRUE(row.left >= 0 && row.top >= 0 &&
                  row.left + row.width <= (frame ? frame->width : form->clientWidth) &&
                  row.top + row.height <= (frame ? frame->height : form->clientHeight));
    }
  }
}

// The complete profile: rotor on at start, the rest off; angle change, 10, 5, constant; Kenwood.
struct SetupStation : fakes::FakeStation {
  forms::SatSetup& dlg = st.setup;

  SetupStation() { WriteCompleteProfile(); }
  const fakes::Operator op = At(SetupForm());
  void Open() { MenuClick(st, AusGabeForm().menus[3]); }
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
    f.op.Spin(spin, step);
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
  f.st.main.lblCat.caption = " C+";
  f.st.radio.TrxFamily = "Kenwood";  // as the start-up read it
  radio::BuildCatCommands(f.st);
  f.st.radio.CmdMode = "MD7;";  // left by a "CWN" take-up, sent again for a mode name Kenwood lacks
  f.Open();
  EXPECT_EQ(std::tuple(f.dlg.Left, f.dlg.Top), std::tuple(14200, 2200));
  EXPECT_EQ(f.State(), stored);
  EXPECT_EQ(f.st.main.lblRotor.caption + f.st.main.lblPark.caption + f.st.main.lblCat.caption,
            " R+ P- C-") << "every switch back at its start setting, shown as it is";
  EXPECT_EQ(f.st.radio.CmdMode, "MD7;") << "the family in force keeps its commands";
  f.op.Press("optTRX", 1);
  EXPECT_EQ(f.st.radio.IcomFreqPrefix, std::string("\xFE\xFE\x60\xE0\x05"));
  f.op.Press("OptWinkel", 0);
  f.op.Spin("ScrollMinWin", +1);
  f.op.Press("RotOpt", 0);
  f.op.Spin("ScrollIntV", +1);
  for (const char* check : {"chkStartOptR", "chkDDEC"}) f.op.Press(check);
  f.op.Press("cmdCancel");
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
  f.op.Spin("ScrollIntV", +1);
  f.op.Spin("ScrollIntV", +1);
  EXPECT_EQ(f.dlg.ScrollIntV.value, forms::ScrollBar::kMax) << "held at its end, each click still counted";
  CloseBox(f.st, SetupForm());
  EXPECT_FALSE(f.dlg.loaded || f.dlg.visible);
  EXPECT_EQ(f.State(), "---- w12k / Collins 00000 0000000 111111") << "put back as designed";
  EXPECT_TRUE(f.files.writes.empty()) << "neither abbrechen nor the close box stores";
  f.Open();
  EXPECT_FALSE(f.dlg.ScrollIntV.enabled) << "the enabling was set anew";
}

// Every file is tried and each failure told; the dialog stays up until all are stored, and while a
// Hamlib address is not host:port nothing is stored.
TEST(SetupDialog, OkStoresEveryFileAndHidesOnlyWhenAllWereWritten) {
  SetupStation f;
  f.Skylet("DDERotOpt.SQF", "w\r\n 10\r\n 0.5\r\nk\r\n");
  f.Skylet("Hamlib.SQF", "+\r\nshack:4532\r\n-\r\nlocalhost:4533\r\nI\r\n");
  f.Open();
  EXPECT_TRUE(f.dlg.chkHamRig.value == 1 && f.dlg.chkHamRot.value == 0 && f.dlg.optHamUp[1].value &&
              f.dlg.edHamRig.text == "shack:4532" && f.dlg.edHamRot.text == "localhost:4533");
  f.st.rotor.RotCount = 7;
  f.op.Press("RotOpt", 1);
  EXPECT_EQ(f.st.rotor.RotCount, 0) << "angle mode starts counting afresh";
  f.op.Spin("ScrollMinWin", +1);
  f.op.Press("chkDDEC");
  f.op.Press("optHamUp", 0);
  f.op.Type("edHamRot", "shack");  // unticked: no reason to refuse
  f.files.failWrites = true;
  f.op.Press("cmdOK");
  ASSERT_EQ(f.alerts.boxes.size(), 3u);
  for (int i : {0, 1, 2}) {
    EXPECT_NE(f.alerts.boxes[i].text.find(std::array{"SkyletStart", "DDERotOpt", "Hamlib"}[i]),
              std::string::npos);
  }
  EXPECT_TRUE(f.dlg.visible);
  f.op.Press("chkHamRot");
  f.op.Press("cmdOK");
  ASSERT_EQ(f.alerts.boxes.size(), 4u);
  EXPECT_EQ(f.alerts.boxes[3].text, "\"shack\" ist keine Hamlib-Adresse Rechner:Port (etwa localhost:4532).");
  f.op.Type("edHamRot", "[::1]:4533");
  f.files.failWrites = false;
  f.op.Press("cmdOK");
  EXPECT_EQ(f.files.files[std::string(f.kSkylet) + "DDERotOpt.SQF"], "w\r\n 10\r\n 1.5\r\nk\r\n");
  EXPECT_EQ(f.files.files[std::string(f.kSkylet) + "Hamlib.SQF"], "+\r\nshack:4532\r\n+\r\n[::1]:4533\r\nV\r\n");
  EXPECT_EQ(f.st.radio.DdeCat + f.st.hamlib.live.RotOn, "--") << "server and Hamlib choices wait for the next start";
  // A server without the link the start-up makes is used from the next start, and told so once.
  ASSERT_EQ(f.alerts.boxes.size(), 5u);
  EXPECT_EQ(f.alerts.boxes[4].text, "Der Cat-Server ist gespeichert; Skylet verbindet ihn beim n\xe4" "chsten Start.");
  f.Open();
  EXPECT_EQ(f.st.startOptions.SetupDdeCat + f.st.radio.DdeCat, "+-");
  f.op.Press("cmdOK");
  EXPECT_EQ(f.alerts.boxes.size(), 5u);
}

}  // namespace
}  // namespace skylet::ui
