// The main window driven headless: the record pull, the switches, where the
// focus goes, the help command and where dialogs open.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "app/startup.h"
#include "fakes/fakes.h"
#include "rotor/switches.h"
#include "ui/ausgabe_form.h"
#include "ui/form_events.h"

namespace skylet::ui {
namespace {

using namespace AusGabe;
using fakes::FakeStation;

const std::string kRecord = "SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r";
const std::string kTrackingLost =
    "Der DDE-Link zu Avor ist abgebrochen worden,\rSkylet wird deshalb beendet.";

// A station after its start-up, linked to the tracking program.
struct Running : FakeStation {
  Running() {
    WriteCompleteProfile();
    app::StartUp(st);
    avor.Open({"Avor", "Tracking", "General", 1000});
    avor.log.clear();
  }
};

TEST(RecordPull, EveryTickTakesTheRecordAlsoWhenItRepeats) {
  Running f;
  f.avor.answers = {kRecord, kRecord};
  Timer1_Timer(f.st);
  EXPECT_EQ(f.st.main.edSat.text, " AO-7 ");
  EXPECT_EQ(f.st.main.edAZ.text, "123.4");
  f.st.main.edAZ.text = "stale";
  Timer1_Timer(f.st);
  EXPECT_EQ(f.st.main.edAZ.text, "123.4") << "the repeated record was not processed";
  EXPECT_EQ(f.avor.log, (std::vector<std::string>{"request", "request"}));
}

TEST(RecordPull, NothingIsRequestedOnceQuittingHasBegun) {
  Running f;
  f.avor.answers = {kRecord};
  f.st.Quitting = "+";
  Timer1_Timer(f.st);
  EXPECT_TRUE(f.avor.log.empty());
  EXPECT_EQ(f.st.main.edSat.text, "");
}

TEST(RecordPull, ALostLinkIsToldAndEndsTheProgramThroughTheQuitSequence) {
  Running f;
  f.avor.serverRunning = false;
  f.avor.Close();  // the tracking program has gone
  try {
    Timer1_Timer(f.st);
    ADD_FAILURE() << "the program went on after the lost link";
  } catch (const fakes::ProgramEnded& end) {
    EXPECT_EQ(end.exitCode, 0);
  }
  ASSERT_EQ(f.alerts.boxes.size(), 1u);
  EXPECT_EQ(f.alerts.boxes[0].text, kTrackingLost);
  EXPECT_EQ(f.alerts.boxes[0].title, "Skylet");
  // The quit sequence ran: poll stopped, window position stored.
  EXPECT_EQ(f.st.Quitting, "+");
  EXPECT_FALSE(f.st.main.Timer1Enabled);
  EXPECT_EQ(f.files.writes.back(), std::string(FakeStation::kSkylet) + "SkyletPos.SQF");
  EXPECT_FALSE(f.st.main.pullRunning);
}

// The message box waits for the operator while timer ticks keep arriving.
class AlertsThatLetTheTimerTick : public platform::Alerts {
 public:
  void ShowMessage(const std::string&, const std::string&) override {
    if (++shown == 1 && tick) tick();
  }
  void Notify(const std::string&, const std::string&) override {}
  void Beep() override {}
  std::function<void()> tick;
  int shown = 0;
};

TEST(RecordPull, ATickWhileTheLossIsShownDoesNotPullAgain) {
  FakeStation f;
  AlertsThatLetTheTimerTick alerts;
  Station st{Services{f.files, f.folders, alerts, f.clock, f.screen, f.launcher, f.process, f.port,
                      f.avor, f.rotorLink, f.catLink, f.locale}};
  st.Quitting = "-";
  alerts.tick = [&] { Timer1_Timer(st); };
  EXPECT_THROW(Timer1_Timer(st), fakes::ProgramEnded);
  EXPECT_EQ(alerts.shown, 1);
  EXPECT_EQ(f.avor.log, std::vector<std::string>{"request"});
}

TEST(Switches, ClickingTheCatSwitchTwiceReturnsToTheFirstState) {
  Running f;
  f.st.radio.DdeCat = "+";
  f.catLink.Open({"", "CatServConv", "CatServItem", 50});
  f.catLink.log.clear();
  ASSERT_EQ(f.st.radio.CatOn, "-");
  lblCat_Click(f.st);
  EXPECT_EQ(f.st.main.lblCat.caption, " C+");
  EXPECT_EQ(f.st.radio.CatOn, "+");
  lblCat_Click(f.st);
  EXPECT_EQ(f.st.main.lblCat.caption, " C-");
  EXPECT_EQ(f.st.radio.CatOn, "-");
  EXPECT_EQ(f.catLink.log, (std::vector<std::string>{"execute RaOpen", "execute RaClose"}));
}

TEST(Switches, ParkNeedsTrackingAndTrackingOffTakesParkWithIt) {
  Running f;
  rotor::RotorSwitchOff(f.st);
  rotor::ParkSwitchOff(f.st);
  const auto shown = [&] { return f.st.main.lblRotor.caption + f.st.main.lblPark.caption; };

  lblPark_Click(f.st);
  EXPECT_EQ(shown(), " R+ P+");
  EXPECT_EQ(f.st.rotor.RotorOn + f.st.rotor.ParkOn, "++");
  lblPark_Click(f.st);
  EXPECT_EQ(shown(), " R+ P-") << "park off leaves tracking on";
  lblPark_Click(f.st);
  lblRotor_Click(f.st);
  EXPECT_EQ(shown(), " R- P-");
  EXPECT_EQ(f.st.rotor.RotorOn + f.st.rotor.ParkOn, "--");
  lblRotor_Click(f.st);
  EXPECT_EQ(shown(), " R+ P-") << "tracking on does not turn park on";
}

TEST(Focus, TheSevenDisplayBoxesHandTheFocusToPicFocusTheOthersKeepIt) {
  FakeStation f;
  const FormTable& form = AusGabeForm();
  for (const char* box : {"edAZ", "edDM", "edEL", "edRX", "edSat", "edTX", "edUM"}) {
    GotFocus(f.st, form, *FindRow(form, box));
    EXPECT_EQ(f.st.main.focus, "picFocus") << box;
  }
  for (const char* box : {"edMA", "edUeMA", "lblKorr"}) {
    GotFocus(f.st, form, *FindRow(form, box));
    EXPECT_EQ(f.st.main.focus, box) << box;
  }
}

TEST(Help, OpensTheHelpTextInNotepadFromTheProgramFolderWithoutActivating) {
  Running f;
  menHelp_Click(f.st);
  ASSERT_FALSE(f.launcher.log.empty());
  EXPECT_EQ(f.launcher.log.back(), "shell Open Notepad Skylet.txt | C:\\Programme\\Skylet 4");
}

struct Placement {
  double left, top;
  int offX, offY;
};

TEST(DialogPlacement, RightOfAndBelowTheWindowWhileItIsLeftAndHigh) {
  // 19200 x 15360 twips: half the width is 9600, a third of the height
  // Int(15360 * 0.33) = 5068.
  const Placement rows[] = {
      {0, 0, 1000, 1000},
      {9600, 5068, 1000, 1000},     // on both limits
      {9601, 5069, -800, -700},     // one twip beyond
      {0, 5068.5, 1000, -700},      // the limit is whole: a half twip is beyond
      {15000, 12000, -800, -700},   // lower right quarter
      {-300, -200, 1000, 1000},     // partly off the screen
  };
  for (const Placement& row : rows) {
    FakeStation f;
    f.st.main.Left = row.left;
    f.st.main.Top = row.top;
    CalcDlgOffset(f.st);
    EXPECT_EQ(f.st.main.DlgOffX, row.offX) << "Left " << row.left;
    EXPECT_EQ(f.st.main.DlgOffY, row.offY) << "Top " << row.top;
  }
}

TEST(MainWindowLayout, StartsWithTheDesignCaptionsAndHiddenLinkLabels) {
  const forms::AusGabe form;
  EXPECT_EQ(form.lblRotor.caption + form.lblCat.caption + form.lblPark.caption, " R+ C+ P-");
  EXPECT_EQ(form.lblIntV.caption, " 100");
  EXPECT_EQ(form.edUeMA.text, "MA-Wert");
  EXPECT_EQ(form.lblEl.caption, "Elevation");
  for (const forms::Label* link :
       {&form.lblDDE, &form.RotClientConv, &form.CatClientConv, &form.ArsClientConv}) {
    EXPECT_FALSE(link->visible);
  }
  EXPECT_EQ(form.focus, "picFocus");
  EXPECT_EQ(AusGabeForm().controls.front().name, std::string("picFocus")) << "first in tab order";
}

TEST(MainWindowLayout, EveryShownControlLiesInsideItsHolderAndHasItsOwnName) {
  FakeStation f;
  const FormTable& table = AusGabeForm();
  std::set<std::string> names;
  std::set<const void*> members;
  for (const ControlRow& row : table.controls) {
    EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
    const ControlView view = View((*row.control)(f.st));
    // Each row shows a member of its own.
    EXPECT_TRUE(members.insert(view.text ? static_cast<const void*>(view.text) : row.name).second)
        << row.name << " shares its member";
    // picFocus lies below the client area on purpose: it only takes keys.
    if (!view.visible || view.kind == ControlKind::PictureBox) continue;
    int width = table.clientWidth;
    int height = table.clientHeight;
    if (row.container) {
      const ControlRow* holder = FindRow(table, row.container);
      ASSERT_NE(holder, nullptr) << row.name;
      width = holder->width;
      height = holder->height;
    }
    EXPECT_GE(row.left, 0) << row.name;
    EXPECT_GE(row.top, 0) << row.name;
    EXPECT_LE(row.left + row.width, width) << row.name;
    EXPECT_LE(row.top + row.height, height) << row.name;
  }
}

}  // namespace
}  // namespace skylet::ui
