// The main window, its dialogs "Catsteuerung" and "Mode", and every form's control table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "app/startup.h"
#include "fakes/fakes.h"
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
  void Spin(const char* name, int step) { ui::Spin(st, *FindRow(CatSteuerForm(), name), step); }
};

// The lost-link message waits for the operator while the timer ticks on.
struct TickingAlerts : fakes::FakeAlerts {
  void ShowMessage(const std::string& text, const std::string& title) override {
    FakeAlerts::ShowMessage(text, title);
    if (boxes.size() == 1) Timer1_Timer(*st);
  }
  Station* st = nullptr;
};

TEST(RecordPull, EveryTickTakesTheRecordUntilALostLinkIsToldOnceAndEndsTheProgram) {
  FakeStation f;
  TickingAlerts alerts;
  Station st{Services{f.files, f.folders, alerts, f.clock, f.screen, f.launcher, f.process, f.port,
                      f.avor, f.rotorLink, f.catLink, f.locale}};
  alerts.st = &st;
  f.avor.Open({"Avor", "Tracking", "General", 1000});
  const std::string record = "SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r";
  f.avor.answers = {record, record};
  Timer1_Timer(st);
  st.main.edAZ.text = "stale";
  Timer1_Timer(st);
  EXPECT_EQ(st.main.edAZ.text, "123.4") << "the repeated record was processed";
  f.avor.Close();
  f.avor.log.clear();
  EXPECT_THROW(Timer1_Timer(st), fakes::ProgramEnded);
  EXPECT_EQ(alerts.boxes.size(), 1u);
  EXPECT_EQ(f.avor.log.size(), 1u) << "the tick while the loss is shown pulled again";
}

TEST(Switches, ParkNeedsTrackingAndTrackingOffTakesParkWithIt) {
  FakeStation f;
  const auto click = [&](void (*label)(Station&)) {
    label(f.st);
    return f.st.main.lblRotor.caption + f.st.main.lblPark.caption;
  };
  EXPECT_EQ(click(lblPark_Click), " R+ P+");
  EXPECT_EQ(click(lblPark_Click), " R+ P-") << "park off leaves tracking on";
  click(lblPark_Click);
  EXPECT_EQ(click(lblRotor_Click), " R- P-");
  EXPECT_EQ(click(lblRotor_Click), " R+ P-") << "tracking on does not turn park on";
}

// Left and Right correct only while a satellite is tracked; other keys do nothing.
TEST(CatSteuer, TheDialogAndTheArrowKeysChangeTheStepAndTheCorrection) {
  Tracked f;
  f.st.radio.IntV = 250;
  MenuClick(f.st, AusGabeForm().menus[0]);
  const forms::CatSteuer& dlg = f.st.catSteuer;
  EXPECT_EQ(dlg.edIntV.text + "|" + dlg.edKorr.text + "|" + dlg.focus, "250||ScrollIntV100") << "0: empty";
  Click(f.st, CatSteuerForm(), *FindRow(CatSteuerForm(), "cmdIntVStore"));
  EXPECT_EQ(f.st.catSteuer.focus, "cmdCancel");
  Click(f.st, CatSteuerForm(), *FindRow(CatSteuerForm(), "cmdCancel"));
  EXPECT_TRUE(f.st.catSteuer.loaded && !f.st.catSteuer.visible) << "weiter only hides it";
  CloseBox(f.st, CatSteuerForm());
  for (int key : {39, 39, 37, 38, 38, 40, 65, 13}) picFocus_KeyDown(f.st, key, 0);
  EXPECT_EQ(f.st.catSteuer.edKorr.text + " " + f.st.main.lblIntV.caption, "100 350");
  EXPECT_TRUE(f.st.catSteuer.loaded && !f.st.catSteuer.visible) << "the keys write the boxes, creating it";
  f.st.tracking.RecTag = "**";
  for (int key : {39, 38}) picFocus_KeyDown(f.st, key, 0);
  EXPECT_DOUBLE_EQ(f.st.tracking.SatKorrKHz[3], 0.1);
  f.Spin("ScrollKorr100", +1);
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
    f.Spin(spin, step);
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
  const auto press = [&](const char* name) { Click(f.st, ModeForm(), *FindRow(ModeForm(), name)); };
  SelectItem(f.st, *FindRow(ModeForm(), "lstAdress"), 1);
  SelectItem(f.st, *FindRow(ModeForm(), "lstTransverter"), 1);
  press("cmdCancel");
  CloseBox(f.st, ModeForm());
  EXPECT_TRUE(f.st.mode.loaded && f.st.radio.LastCatFreq == 435000) << "only hidden, nothing applied";
  press("cmdOK");
  EXPECT_EQ(f.st.radio.IcomRxAddr, 0x5E);
  EXPECT_EQ(f.st.radio.CmdSelectRx, std::string("\xFE\xFE\x5E\xE0\x07\xD0\xFD")) << "IC-910H: uplink address";
  EXPECT_EQ(f.st.radio.IcomFreqPrefix, std::string("\xFE\xFE\x5E\xE0\x05"));
  EXPECT_EQ(std::tuple(f.st.radio.RxOffset, f.st.radio.LastCatFreq), std::tuple(2256000, 0));
  EXPECT_EQ(f.st.main.edRX.text, "") << "nothing tracked: the boxes stay blank";
  f.st.mode.lstAdress.Clear();
  press("cmdOK");
  EXPECT_EQ(f.st.radio.IcomRxAddr, 0x5E) << "no row chosen: the addresses in use stay";
}

TEST(FormEvents, TypingTheSameTextIsNoChange) {
  FakeStation f;
  f.st.rotorForm.edZeitP.text = "12";
  Type(f.st, *FindRow(RotorForm(), "edZeitP"), "12");
  EXPECT_EQ(f.st.rotor.ParkDelay, 0);
  Type(f.st, *FindRow(RotorForm(), "edZeitP"), "15");
  EXPECT_EQ(f.st.rotor.ParkDelay, 15);
}

// picFocus lies below the window on purpose: it only takes keys.
TEST(FormTables, EveryRowHasItsOwnControlLiesInsideItsHolderAndTakesTheFocus) {
  const std::set<std::string> handsOn = {"edAZ", "edDM", "edEL", "edRX", "edSat", "edTX", "edUM"};
  FakeStation f;
  EXPECT_EQ(f.st.main.lblIntV.caption + "|" + f.st.main.edUeMA.text + "|" + f.st.main.lblEl.caption,
            " 100|MA-Wert|Elevation") << "the main window's design captions";
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

}  // namespace
}  // namespace skylet::ui
