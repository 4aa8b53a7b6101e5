// Forms driven through their tables, as the Windows layer drives them: what
// each kind of control does to the model before its handler runs, the close
// box, and the dialog "Mode" from opening to OK.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shutdown.h"
#include "app/startup.h"
#include "fakes/fakes.h"
#include "radio/frequency_output.h"
#include "ui/ausgabe_form.h"
#include "ui/form_events.h"
#include "ui/mode_form.h"

namespace skylet::ui {
namespace {

using fakes::FakeStation;

// Controls of a made-up form, outside any station, and what their handlers saw.
forms::OptionButton optA, optB, optC;
forms::CheckBox chk;
forms::ScrollBar spin;
forms::TextBox box;
std::vector<std::string> raised;

template <auto* control>
ControlRef Static(Station&) {
  return control;
}

constexpr Events Note(void (*click)(Station&)) { return {.Click = click}; }

const ControlRow kRows[] = {
    {"opt", 0, &Static<&optA>, 0, 0, 10, 10, "frA", &kStandardFont, kSystemColour, kSystemColour,
     Border::None, true, false,
     {.IndexClick = [](Station&, int i) { raised.push_back("opt " + std::to_string(i)); }}},
    {"opt", 1, &Static<&optB>, 0, 0, 10, 10, "frA", &kStandardFont},
    {"opt", 2, &Static<&optC>, 0, 0, 10, 10, "frB", &kStandardFont},
    {"chk", -1, &Static<&chk>, 0, 0, 10, 10, nullptr, &kStandardFont, kSystemColour,
     kSystemColour, Border::None, true, false,
     Note([](Station&) { raised.push_back("chk " + std::to_string(chk.value)); })},
    {"spin", -1, &Static<&spin>, 0, 0, 10, 10, nullptr, &kStandardFont, kSystemColour,
     kSystemColour, Border::None, true, false,
     {.Change = [](Station&) {
        raised.push_back("spin " + std::to_string(spin.value) + (spin.step > 0 ? "+" : "-"));
      }}},
    {"box", -1, &Static<&box>, 0, 0, 10, 10, nullptr, &kStandardFont, kSystemColour,
     kSystemColour, Border::None, true, false,
     {.Change = [](Station&) { raised.push_back("box " + box.text); }}},
};
const FormTable kTestForm{"Test",      &FormOf<&Station::catSteuer>,
                          100,         100,
                          FormBorder::FixedToolWindow,
                          CloseBox::Unload,
                          kRows,       {},
                          nullptr,     nullptr,
                          &ResetForm<&Station::catSteuer>};

TEST(FormEvents, EachKindChangesItsModelThenRunsItsHandler) {
  FakeStation f;
  raised.clear();
  optB.value = optC.value = true;
  Click(f.st, kTestForm, kRows[0]);
  EXPECT_TRUE(optA.value);
  EXPECT_FALSE(optB.value) << "the group of a frame holds one choice";
  EXPECT_TRUE(optC.value) << "another frame's group is left alone";

  Click(f.st, kTestForm, kRows[3]);
  Click(f.st, kTestForm, kRows[3]);

  // A spin moves by one within its range; every click raises its change.
  spin.value = 179;
  Spin(f.st, kRows[4], +1);
  Spin(f.st, kRows[4], +1);
  Spin(f.st, kRows[4], -1);

  // Typing the text the box already holds is no change.
  box.text = "5";
  Type(f.st, kRows[5], "5");
  Type(f.st, kRows[5], "15");
  EXPECT_EQ(raised, (std::vector<std::string>{"opt 0", "chk 1", "chk 0", "spin 180+", "spin 180+", "spin 179-",
                                              "box 15"}));
}

TEST(FormEvents, TheCloseBoxHidesOrUnloadsAsTheFormSays) {
  FakeStation f;
  f.st.catSteuer.loaded = f.st.catSteuer.visible = true;
  f.st.catSteuer.ScrollKorr10.value = 5;
  f.st.catSteuer.ScrollKorr10.enabled = false;
  CloseBox(f.st, kTestForm);
  EXPECT_FALSE(f.st.catSteuer.loaded);
  EXPECT_FALSE(f.st.catSteuer.visible);
  EXPECT_EQ(f.st.catSteuer.ScrollKorr10.value, 0) << "an unloaded form comes back as designed";
  EXPECT_TRUE(f.st.catSteuer.ScrollKorr10.enabled);

  f.st.mode.visible = true;
  f.st.mode.lstAdress.AddItem(" &H60    &H60");
  CloseBox(f.st, ModeForm());
  EXPECT_FALSE(f.st.mode.visible);
  EXPECT_TRUE(f.st.mode.loaded) << "Mode is only hidden: its lists last the run";
  EXPECT_EQ(f.st.mode.lstAdress.items.size(), 1u);
}

// A station after its start-up with an IC-910H and two address and offset rows.
struct IcomStation : FakeStation {
  IcomStation() {
    WriteCompleteProfile();
    Vantrak("TRX.SQF", "Icom\r\n");
    app::StartUp(st);
    st.main.edSat.text = " AO-7 ";
    st.tracking.DownFreq = 2401000;
    st.radio.LastCatFreq = 435000;
  }
  void Choose(const char* list, int row) {
    SelectItem(st, *FindRow(ModeForm(), list), row);
  }
  void Press(const char* button) { Click(st, ModeForm(), *FindRow(ModeForm(), button)); }
};

TEST(ModeDialog, OpensModallyWhereTheMainWindowSaysAndCancelKeepsWhatIsInUse) {
  IcomStation f;
  f.st.main.Left = 1500;
  f.st.main.Top = 1200;
  MenuClick(f.st, AusGabeForm().menus[2]);
  EXPECT_TRUE(f.st.mode.visible);
  EXPECT_EQ(f.st.mode.Left, 2500);
  EXPECT_EQ(f.st.mode.Top, 2200);

  const std::string select = f.st.radio.CmdSelectRx;
  f.Choose("lstAdress", 1);
  f.Choose("lstTransverter", 1);
  f.Press("cmdCancel");
  EXPECT_FALSE(f.st.mode.visible);
  EXPECT_EQ(f.st.radio.CmdSelectRx, select);
  EXPECT_EQ(f.st.radio.RxOffset, 0);
  EXPECT_EQ(f.st.radio.LastCatFreq, 435000);
  EXPECT_EQ(f.st.mode.lstAdress.listIndex, 1) << "the rows chosen stay selected";
}

TEST(ModeDialog, OkAppliesTheAddressAndOffsetRowsForTheNextRecord) {
  IcomStation f;
  f.st.mode.visible = true;
  f.Choose("lstAdress", 1);
  f.Choose("lstTransverter", 1);
  f.Press("cmdOK");
  EXPECT_FALSE(f.st.mode.visible);
  EXPECT_EQ(f.st.radio.IcomRxAddr, 0x5E);
  EXPECT_EQ(f.st.radio.IcomCmdAddr, 0x5E);
  EXPECT_EQ(f.st.radio.IcomTxAddr, 0x5E);
  // The IC-910H selects the downlink band at the uplink address.
  EXPECT_EQ(f.st.radio.CmdSelectRx, std::string("\xFE\xFE\x5E\xE0\x07\xD0\xFD"));
  EXPECT_EQ(f.st.radio.IcomFreqPrefix, std::string("\xFE\xFE\x5E\xE0\x05"));
  EXPECT_EQ(f.st.radio.RxOffset, 2256000);
  EXPECT_EQ(f.st.radio.TxOffset, 0);
  EXPECT_EQ(f.st.radio.LastCatFreq, 0);
  EXPECT_EQ(f.st.main.edRX.text, "2401000.000") << "the display was refreshed";
}

TEST(ModeDialog, OkWithoutSatelliteOrAddressRowsChangesOnlyWhatItCan) {
  IcomStation f;
  f.st.main.edSat.text = " No Satellite";
  f.st.main.edRX.text = "";
  f.st.mode.lstAdress.Clear();
  f.Press("cmdOK");
  EXPECT_EQ(f.st.radio.IcomRxAddr, 0x60) << "no row chosen: the addresses in use stay";
  EXPECT_EQ(f.st.radio.LastCatFreq, 0);
  EXPECT_EQ(f.st.main.edRX.text, "") << "nothing tracked: the boxes stay blank";
}

TEST(Quit, ASecondRequestWhileTheSequenceRunsStartsNothing) {
  FakeStation f;
  f.st.Quitting = "+";
  app::menQuit_Click(f.st);  // returns instead of ending the program
  EXPECT_TRUE(f.files.writes.empty());
}

}  // namespace
}  // namespace skylet::ui
