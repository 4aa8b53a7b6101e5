// The radio link: command strings per family, the port set-up at start with
// its waits, and the CAT switch towards the port or the CAT server.
#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "radio/link_setup.h"

namespace skylet::radio {
namespace {

using fakes::FakeStation;

using fakes::Hex;

class RadioLink : public ::testing::Test {
 protected:
  RadioLink() {
    r.CatPort = 3;
    r.CatDelay = 0.05;
  }
  // The wire: every write as hex (or as text), every wait as "wait".
  std::vector<std::string> Wire(bool asText = false) const {
    std::vector<std::string> out;
    for (const fakes::WireEvent& e : f.wire) {
      out.push_back(e.waitMs >= 0 ? "wait" : asText ? e.bytes : Hex(e.bytes));
    }
    return out;
  }

  FakeStation f;
  RadioState& r = f.st.radio;
};

TEST_F(RadioLink, YaesuFt736rStartsCatAndSatelliteModeWithAWaitAfterEach) {
  r.TrxFamily = "Yaesu";
  r.YaesuModel = "FT-736R";
  r.YaesuBaud = "4800";
  BuildCatCommands(f.st);
  OpenCatLink(f.st);
  EXPECT_EQ(f.port.commPort, 3);
  EXPECT_EQ(f.port.settings, "4800,N,8,2");
  EXPECT_FALSE(f.port.rtsEnable);
  EXPECT_EQ(Wire(), (std::vector<std::string>{"80 80 80 80 80", "wait", "00 00 00 00 00", "wait",
                                              "00 00 00 00 0E", "wait"}));
  r.YaesuModel = "FT-847";
  BuildCatCommands(f.st);
  EXPECT_EQ(Hex(r.CmdSatOn), "00 00 00 00 4E");
}

TEST_F(RadioLink, KenwoodModelsAndTheirPortSettings) {
  r.TrxFamily = "Kenwood";
  r.KenwoodModel = "TS-790";
  BuildCatCommands(f.st);
  OpenCatLink(f.st);
  EXPECT_EQ(f.port.settings, "4800,N,8,2");
  EXPECT_EQ(Wire(true), (std::vector<std::string>{"DC0;", "wait", "FN0;", "wait", "DC1;", "wait",
                                                  "FN0;", "wait"}));

  const std::pair<const char*, const char*> bauds[] = {{"9600", "9600,N,8,1"},
                                                       {"4800", "4800,N,8,2"}};
  for (const auto& [baud, settings] : bauds) {
    FakeStation g;
    g.st.radio = r;
    g.st.radio.CatLinkDone = "";
    g.st.radio.KenwoodModel = "TS-2000";
    g.st.radio.KenwoodSatPar = "0";
    g.st.radio.KenwoodBaud = baud;
    BuildCatCommands(g.st);
    OpenCatLink(g.st);
    EXPECT_EQ(g.port.settings, settings);
    ASSERT_EQ(g.port.writes.size(), 1u);
    EXPECT_EQ(g.port.writes[0].bytes, "SA1010000;");
    EXPECT_EQ(g.st.radio.CmdSelectTx, "SA1011000;");
    EXPECT_EQ(g.st.radio.CmdMode, "MD4;");
  }
}

TEST_F(RadioLink, IcomOpensInByteModeAndOnlyTheIc910hIsPutIntoSatelliteMode) {
  r.TrxFamily = "Icom";
  r.IcomBaud = "19200";
  r.IcomModel = "IC-821H";
  r.IcomRxAddr = r.IcomCmdAddr = 0x4C;
  r.IcomTxAddr = 0x4D;
  BuildCatCommands(f.st);
  OpenCatLink(f.st);
  EXPECT_TRUE(f.port.IsOpen());
  EXPECT_TRUE(f.port.inputBinary);
  EXPECT_EQ(f.port.settings, "19200,N,8,1");
  EXPECT_EQ(Wire(), (std::vector<std::string>{"wait"}));
  EXPECT_EQ(Hex(r.CmdSelectRx), "FE FE 4C E0 07 D1 FD");
  EXPECT_EQ(Hex(r.CmdSelectTx), "FE FE 4D E0 07 D0 FD");

  // The IC-910H swaps band byte and address in both select commands.
  r.IcomModel = "IC-910H";
  r.IcomRxAddr = r.IcomCmdAddr = 0x60;
  r.IcomTxAddr = 0x61;
  BuildCatCommands(f.st);
  EXPECT_EQ(Hex(r.CmdSelectRx), "FE FE 61 E0 07 D0 FD");
  EXPECT_EQ(Hex(r.CmdSelectTx), "FE FE 60 E0 07 D1 FD");
  EXPECT_EQ(Hex(r.CmdIcomSatOn), "FE FE 60 E0 1A 07 01 FD");
  EXPECT_EQ(Hex(r.CmdIcomSatOff), "FE FE 60 E0 1A 07 00 FD");
  EXPECT_EQ(Hex(r.IcomFreqPrefix), "FE FE 60 E0 05");
  FakeStation g;
  g.st.radio = r;
  g.st.radio.CatLinkDone = "";
  BuildCatCommands(g.st);
  OpenCatLink(g.st);
  EXPECT_EQ(Hex(g.port.writes.at(0).bytes), "FE FE 60 E0 1A 07 01 FD");
}

TEST_F(RadioLink, BuildingSetsOnlyTheCommandsOfTheFamilyAndModel) {
  r.TrxFamily = "Yaesu";
  BuildCatCommands(f.st);
  r.TrxFamily = "Kenwood";
  r.KenwoodModel = "TS-790";
  BuildCatCommands(f.st);
  r.KenwoodModel = "TS-2000";
  r.KenwoodSatPar = "0";
  BuildCatCommands(f.st);
  EXPECT_EQ(Hex(r.CmdCatOff), "80 80 80 80 80");
  EXPECT_EQ(r.CmdInit, "FN0;");  // a TS-2000 has none of its own
  EXPECT_EQ(r.CmdSelectRx, "SA1010000;");
  EXPECT_EQ(r.IcomFreqPrefix, "");
}

TEST_F(RadioLink, TheLinkIsSetUpOnceAndNotAtAllWithoutAPort) {
  r.TrxFamily = "Kenwood";
  r.KenwoodModel = "TS-790";
  BuildCatCommands(f.st);
  OpenCatLink(f.st);
  const size_t writes = f.port.writes.size();
  OpenCatLink(f.st);
  EXPECT_EQ(f.port.writes.size(), writes);

  FakeStation g;
  g.st.radio.TrxFamily = "Yaesu";
  g.st.radio.CatPort = 0;
  BuildCatCommands(g.st);
  OpenCatLink(g.st);
  EXPECT_FALSE(g.port.IsOpen());
  EXPECT_TRUE(g.port.writes.empty());
  EXPECT_TRUE(g.clock.sleeps.empty());
}

TEST_F(RadioLink, APortHeldElsewhereEndsTheProgramWithItsMessage) {
  r.TrxFamily = "Yaesu";
  r.YaesuBaud = "4800";
  f.port.failOpen = true;
  f.st.settingsReport.Add("C:\\x\\YaesuPar.SQF", "Datei nicht gefunden");
  BuildCatCommands(f.st);
  EXPECT_THROW(OpenCatLink(f.st), fakes::ProgramEnded);
  ASSERT_EQ(f.alerts.boxes.size(), 2u);  // the settings problems first
  EXPECT_EQ(f.alerts.boxes[1].text,
            "Das Programm kann nicht mehrfach gestartet werden\r"
            "oder gleichzeitig mit Vantrak oder Tessaro laufen.\r"
            "COM3: Zugriff verweigert");
  EXPECT_EQ(f.alerts.boxes[1].title, "Skylet");
}

TEST_F(RadioLink, CatSwitchTowardsThePortOrTheServer) {
  r.TrxFamily = "Kenwood";
  r.KenwoodModel = "TS-2000";
  BuildCatCommands(f.st);
  OpenCatLink(f.st);
  f.wire.clear();
  r.LastCatFreq = 145900;
  EXPECT_TRUE(CatSwitchOn(f.st));
  // Nothing to write for a Kenwood, but the two waits still take place.
  EXPECT_EQ(Wire(), (std::vector<std::string>{"wait", "wait"}));
  EXPECT_EQ(r.LastCatFreq, 0);
  EXPECT_EQ(f.st.main.lblCat.caption, " C+");
  EXPECT_TRUE(CatSwitchOff(f.st));
  EXPECT_EQ(f.st.main.lblCat.caption, " C-");
  EXPECT_EQ(r.CatOn, "-");

  r.DdeCat = "+";
  f.catLink.Open({"", "CatServConv", "CatServItem", 50});
  EXPECT_TRUE(CatSwitchOn(f.st));
  EXPECT_TRUE(CatSwitchOff(f.st));
  f.catLink.acceptCommands = false;
  EXPECT_FALSE(CatSwitchOn(f.st));
  EXPECT_EQ(f.st.main.lblCat.caption, " C+");
  EXPECT_EQ(f.catLink.log, (std::vector<std::string>{"open |CatServConv CatServItem t=50",
                                                     "execute RaOpen", "execute RaClose",
                                                     "execute RaOpen"}));
  EXPECT_EQ(Wire(), (std::vector<std::string>{"wait", "wait"}));
}

}  // namespace
}  // namespace skylet::radio
