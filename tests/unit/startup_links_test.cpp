// The start-up's links to the partner programs: who is started, which
// conversations open, what is sent, and how each failure ends.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "fakes/fakes.h"

namespace skylet::app {
namespace {

using fakes::FakeStation;
using fakes::ProgramEnded;
using Log = std::vector<std::string>;

// The fixture's start-up opens the rotor server through the shell first and
// gives it this long before linking; the clock counts it like any wait.
constexpr double kRotorServerPauseSeconds = 1.2;

class StartUpLinks : public ::testing::Test {
 protected:
  StartUpLinks() {
    f.WriteCompleteProfile();
    f.st.paths = {};
    Options("-", "-", "-", "+", "-");
    f.Vantrak("RotorServer.SQF", "C:\\Vantrak\\RotServer\r\n");
    f.Vantrak("CatServer.SQF", "C:\\Vantrak\\CatServer\r\n");
    f.Vantrak("SatIni.SQF", "a,b,c,d, 0, 50, 0, 0,N, 0, 0, 0,x,x");
  }
  void Options(const char* rotor, const char* cat, const char* park, const char* ddeRotor,
               const char* ddeCat) {
    f.Skylet("SkyletStart.SQF", std::string(rotor) + "\r\n" + cat + "\r\n" + park + "\r\n" +
                                    ddeRotor + "\r\n" + ddeCat + "\r\n");
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> m;
    for (const auto& b : f.alerts.boxes) m.push_back(b.text);
    return m;
  }

  FakeStation f;
};

const char* kRotorFailure =
    "Fehler beim Laden des Rotor-Serverprogramms,\r"
    "stellen Sie sicher,da\xdf sich C:\\Vantrak\\RotServer\r"
    " und die ben\xf6tigten Hilfsdateien im Vantrak-Verzeichnis befinden.";

TEST_F(StartUpLinks, RotorServerIsOpenedLinkedAndGreeted) {
  f.clock.events = &f.launcher.log;
  Form_Load(f.st);
  EXPECT_EQ(f.launcher.log, (Log{"shell Open C:\\Vantrak\\RotServer | C:\\Vantrak 4", "sleep 1200"}));
  EXPECT_EQ(f.rotorLink.log,
            (Log{"open RotServer|RotServConv RotServItem t=200", "execute ClientOn"}));
  EXPECT_TRUE(f.catLink.log.empty());
  EXPECT_EQ(f.avor.log, (Log{"close", "open Avor|Tracking General t=1000"}));
  EXPECT_TRUE(f.alerts.boxes.empty());
  EXPECT_EQ(f.st.ServerName, "RotServer");
  EXPECT_EQ(f.st.StartDone, "+");
  EXPECT_TRUE(f.st.main.Timer1Enabled);
}

TEST_F(StartUpLinks, ArswinInAnyCaseGetsItsOwnTopicAndNoGreeting) {
  f.Vantrak("RotorServer.SQF", "C:\\Ars\\ArSwIn\r\n");
  StartUp(f.st);
  EXPECT_EQ(f.rotorLink.log, (Log{"open ArSwIn|RCI AZIMUTH t=200"}));
}

TEST_F(StartUpLinks, NoRotorPartForNoneOrANegativeRotorType) {
  f.Vantrak("RotorServer.SQF", "C:\\Vantrak\\None\r\n");
  StartUp(f.st);
  EXPECT_TRUE(f.launcher.log.empty());
  EXPECT_TRUE(f.rotorLink.log.empty());

  FakeStation g;
  g.WriteCompleteProfile();
  g.Skylet("SkyletStart.SQF", "-\r\n-\r\n-\r\n+\r\n-\r\n");
  g.Vantrak("SatIni.SQF", "a,b,c,d, 0, 50,-1, 0,N, 0, 0, 0,x,x");
  StartUp(g.st);
  EXPECT_TRUE(g.launcher.log.empty());
  EXPECT_TRUE(g.rotorLink.log.empty());
  EXPECT_EQ(g.st.ServerName, "");
}

TEST_F(StartUpLinks, CatServerWithoutRotorServerAnswersToAnyApplication) {
  Options("-", "+", "-", "-", "+");
  StartUp(f.st);
  EXPECT_EQ(f.catLink.log,
            (Log{"open |CatServConv CatServItem t=50", "execute ClientOn", "execute RaOpen"}));
  EXPECT_EQ(f.st.main.lblCat.caption, " C+");
}

TEST_F(StartUpLinks, CatOffAtStartSwitchesOffTwice) {
  Options("-", "-", "-", "+", "+");
  StartUp(f.st);
  EXPECT_EQ(f.catLink.log, (Log{"open RotServer|CatServConv CatServItem t=50", "execute ClientOn",
                                "execute RaClose", "execute RaClose"}));
  EXPECT_EQ(f.st.main.lblCat.caption, " C-");
}

TEST_F(StartUpLinks, ARotorServerThatCannotBeStartedIsNamedAndSilencesTheCatServer) {
  Options("-", "+", "-", "+", "+");
  f.rotorLink.serverRunning = false;
  f.launcher.startResult = platform::StartResult::FileNotFound;
  f.clock.events = &f.launcher.log;
  StartUp(f.st);
  EXPECT_EQ(f.launcher.log, (Log{"shell Open C:\\Vantrak\\RotServer | C:\\Vantrak 4", "sleep 1200",
                                 "start C:\\Vantrak\\RotServer 6"}));
  EXPECT_EQ(Messages(), (std::vector<std::string>{kRotorFailure}));
  EXPECT_EQ(f.st.ServerFailed, "+");
  // The failed open is not retried and the greeting after it is skipped;
  // the CAT part still runs, without its greeting.
  EXPECT_EQ(f.rotorLink.log, (Log{"open RotServer|RotServConv RotServItem t=200"}));
  EXPECT_EQ(f.catLink.log, (Log{"open RotServer|CatServConv CatServItem t=50", "execute RaOpen"}));
  EXPECT_TRUE(f.st.main.Timer1Enabled);
}

TEST_F(StartUpLinks, AStartedServerGetsItsLinkRetriedUntilItAnswers) {
  f.rotorLink.opensToFail = 4;
  StartUp(f.st);
  EXPECT_EQ(f.launcher.log.back(), "start C:\\Vantrak\\RotServer 6");
  EXPECT_EQ(f.rotorLink.log.size(), 6u);  // five opens, then the greeting
  EXPECT_EQ(f.rotorLink.log.back(), "execute ClientOn");
  EXPECT_EQ(f.st.ServerFailed, "-");
  EXPECT_TRUE(f.alerts.boxes.empty());
}

TEST_F(StartUpLinks, AServerThatNeverAnswersIsStartedOnceAndGivenUpInTime) {
  Options("-", "+", "-", "+", "+");
  f.catLink.acceptCommands = false;  // every command refused
  const double start = f.clock.monotonic;
  StartUp(f.st);
  const double waited = f.clock.monotonic - start;
  int catStarts = 0;
  for (const std::string& line : f.launcher.log) catStarts += line == "start C:\\Vantrak\\CatServer 6";
  EXPECT_EQ(catStarts, 1);
  // The greeting is given up after the bounded patience, with the
  // failed-start message; the switch-on that fails after it costs no
  // further wait and no second message.
  ASSERT_EQ(f.alerts.boxes.size(), 1u);
  EXPECT_EQ(f.alerts.boxes[0].text.substr(0, 42), "Fehler beim Laden des Cat-Serverprogramms,");
  EXPECT_NE(f.alerts.boxes[0].text.find("C:\\Vantrak\\CatServer\r"), std::string::npos);
  EXPECT_LE(waited, kRotorServerPauseSeconds + kServerPatienceSeconds + 1);
  EXPECT_EQ(f.catLink.log.back(), "execute RaOpen");
  EXPECT_TRUE(f.st.main.Timer1Enabled);
}

TEST_F(StartUpLinks, ARotorServerPathWithoutFolderStartsFromTheCurrentFolder) {
  f.Vantrak("RotorServer.SQF", "RotServer\r\n");
  StartUp(f.st);
  EXPECT_EQ(f.launcher.log.front(), "shell Open RotServer |  4");
  EXPECT_EQ(f.rotorLink.log.front(), "open RotServer|RotServConv RotServItem t=200");
}

TEST_F(StartUpLinks, AvorIsStartedWhenItDoesNotAnswerAndThenLinked) {
  f.avor.opensToFail = 3;
  Form_Load(f.st);
  EXPECT_EQ(f.launcher.log.back(), "start C:\\Avor\\Avor.exe 4");
  EXPECT_EQ(f.avor.log.size(), 5u);  // close, the failed open, two retries, the link
  EXPECT_TRUE(f.avor.IsOpen());
}

TEST_F(StartUpLinks, AvorThatCannotBeStartedEndsTheProgramWithoutWritingAnything) {
  f.avor.serverRunning = false;
  f.launcher.startResult = platform::StartResult::FileNotFound;
  EXPECT_THROW(Form_Load(f.st), ProgramEnded);
  EXPECT_EQ(Messages().back(),
            "Avor kann unter dem im File 'AvorPath.SQF' angegebenen Pfad nicht \r"
            "geladen werden. Geben Sie dort den Pfad und als Namen: Avor an.\r"
            "Skylet wird jetzt beendet.");
  EXPECT_TRUE(f.files.writes.empty());

  FakeStation g;
  g.WriteCompleteProfile();
  g.avor.serverRunning = false;
  g.launcher.startResult = platform::StartResult::OtherFailure;
  EXPECT_THROW(Form_Load(g.st), ProgramEnded);
  EXPECT_EQ(g.alerts.boxes.back().text, "Fehler beim Laden von Avor, Skylet wird beendet!");
}

TEST_F(StartUpLinks, AvorThatStartsButNeverAnswersEndsTheProgramInBoundedTime) {
  f.avor.serverRunning = false;
  const double start = f.clock.monotonic;
  EXPECT_THROW(Form_Load(f.st), ProgramEnded);
  EXPECT_NEAR(f.clock.monotonic - start, kRotorServerPauseSeconds + kAvorPatienceSeconds, 0.6);
  EXPECT_EQ(f.alerts.boxes.back().text, "Fehler beim Laden von Avor, Skylet wird beendet!");
  int starts = 0;
  for (const std::string& line : f.launcher.log) starts += line.rfind("start C:\\Avor", 0) == 0;
  EXPECT_EQ(starts, 1);
}

}  // namespace
}  // namespace skylet::app
