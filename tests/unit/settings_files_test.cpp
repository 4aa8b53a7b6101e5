// Each settings file's layout: what its reader fills, the lists it feeds,
// what its writer produces, and what the operator is told about a bad file.
#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "settings/readers.h"
#include "settings/writers.h"

namespace skylet::settings {
namespace {

using fakes::FakeStation;

class SettingsFiles : public ::testing::Test {
 protected:
  FakeStation f;
  Station& st = f.st;

  std::vector<Problem> Problems() const { return st.settingsReport.Problems(); }
  std::string VantrakPath(const char* name) const { return std::string(FakeStation::kVantrak) + name; }
  std::string SkyletPath(const char* name) const { return std::string(FakeStation::kSkylet) + name; }
};

TEST_F(SettingsFiles, SatIniFillsItsFieldsAndDerivesTheWaits) {
  f.WriteCompleteProfile();
  ReadSatIni(st);
  EXPECT_EQ(st.radio.CatPort, 3);
  EXPECT_EQ(st.radio.CatDelayMs, 50);
  EXPECT_DOUBLE_EQ(st.radio.CatDelay, 0.05);
  EXPECT_EQ(st.rotor.RotType, 2);
  EXPECT_EQ(st.rotor.ParPortDelay, 7);
  EXPECT_EQ(st.rotor.RotNorth, "N");
  EXPECT_DOUBLE_EQ(st.rotor.RotMinEl, 5);
  EXPECT_DOUBLE_EQ(st.rotor.RotAzOffset, 1.5);
  EXPECT_DOUBLE_EQ(st.rotor.RotElOffset, -2);
  // RotType 2 picks the second data line of ParPort.SQF; the comment does
  // not count.
  EXPECT_EQ(st.rotor.ParPortLines[1], "$378");
  EXPECT_EQ(st.rotor.ParPortAdr, 0x278);
  EXPECT_TRUE(Problems().empty());
}

TEST_F(SettingsFiles, ParPortCountsOnlyDataLinesAndDecodesNothingWithoutRotType) {
  f.Vantrak("SatIni.SQF", "a,b,c,d, 0, 100, 0, 0,N, 0, 0, 0,x,x");
  f.Vantrak("ParPort.SQF", "$378\r\n; zwei\r\n;\r\n$3BC\r\n; drei\r\n$278\r\n");
  ReadSatIni(st);
  EXPECT_EQ(st.rotor.ParPortLines[2], "$3BC");
  EXPECT_EQ(st.rotor.ParPortLines[3], "$278");
  EXPECT_EQ(st.rotor.ParPortAdr, 0);
  EXPECT_TRUE(Problems().empty());

  // An entry number beyond the list, or an entry that is not an address, is
  // named; the address keeps its value.
  f.Vantrak("SatIni.SQF", "a,b,c,d, 0, 100, 5, 0,N, 0, 0, 0,x,x");
  ReadSatIni(st);
  f.Vantrak("SatIni.SQF", "a,b,c,d, 0, 100, 1, 0,N, 0, 0, 0,x,x");
  f.Vantrak("ParPort.SQF", "&H378\r\n");
  ReadSatIni(st);
  EXPECT_EQ(st.rotor.ParPortAdr, 0);
  ASSERT_EQ(Problems().size(), 2u);
  EXPECT_EQ(Problems()[0].path, VantrakPath("ParPort.SQF"));
  EXPECT_NE(Problems()[0].problem.find("Eintrag 5 fehlt"), std::string::npos);
  EXPECT_NE(Problems()[1].problem.find("&H378"), std::string::npos);
}

TEST_F(SettingsFiles, RadioFamilyFiles) {
  f.WriteCompleteProfile();
  f.Vantrak("YaesuPar.SQF", "x0A,$8E,4800,FT-736R");
  ReadTrxFile(st);
  ReadYaesuPar(st);
  ReadKenwoodPar(st);
  ReadIcomName(st);
  EXPECT_EQ(st.radio.TrxFamily, "Kenwood");
  EXPECT_EQ(st.radio.YaesuRxCmd, 0x0A);
  EXPECT_EQ(st.radio.YaesuTxCmd, 0x8E);
  EXPECT_EQ(st.radio.YaesuBaud, "4800");
  EXPECT_EQ(st.radio.YaesuModel, "FT-736R");
  EXPECT_EQ(st.radio.KenwoodModel, "TS-2000");
  EXPECT_EQ(st.radio.KenwoodBaud, "9600");
  EXPECT_EQ(st.radio.KenwoodSatPar, "0000000");
  EXPECT_EQ(st.radio.IcomModel, "IC-910H");
  EXPECT_TRUE(Problems().empty());
}

TEST_F(SettingsFiles, IcomParFillsTheAddressListAndActivatesTheFirstPair) {
  f.Vantrak("IcomPar.SQF", "9600\r\nx60\r\n$6A\r\n$5E,$5Fxyz\r\n\r\n");
  st.mode.lstAdress.AddItem("left from before");
  ReadIcomPar(st);
  EXPECT_EQ(st.radio.IcomBaud, "9600");
  EXPECT_EQ(st.mode.lstAdress.items,
            (std::vector<std::string>{" &H60    &H6A", " &H5E    &H5F"}));
  EXPECT_EQ(st.mode.lstAdress.listIndex, 0);
  EXPECT_EQ(st.radio.IcomRxAddrs[1], 0x5E);
  EXPECT_EQ(st.radio.IcomTxAddrs[1], 0x5F);
  EXPECT_EQ(st.radio.IcomRxAddr, 0x60);
  EXPECT_EQ(st.radio.IcomCmdAddr, 0x60);
  EXPECT_EQ(st.radio.IcomTxAddr, 0x6A);
  EXPECT_TRUE(Problems().empty());
}

TEST_F(SettingsFiles, IcomParKeepsTheFirstThirteenRecordsAndDropsAHalfRecord) {
  std::string bytes = "19200\r\n";
  for (int i = 0; i < 14; ++i) bytes += "$" + std::to_string(10 + i) + ",$E0\r\n";
  f.Vantrak("IcomPar.SQF", bytes);
  ReadIcomPar(st);
  ASSERT_EQ(st.mode.lstAdress.items.size(), 13u);
  EXPECT_EQ(st.mode.lstAdress.items[12], " &H22    &HE0");
  EXPECT_EQ(st.radio.IcomRxAddrs[12], 0x22);
  ASSERT_EQ(Problems().size(), 1u);
  EXPECT_NE(Problems()[0].problem.find("die ersten 13"), std::string::npos);

  st.settingsReport.Clear();
  f.Vantrak("IcomPar.SQF", "9600\r\n$60,$60\r\n$7A\r\n");
  ReadIcomPar(st);
  EXPECT_EQ(st.mode.lstAdress.items, (std::vector<std::string>{" &H60    &H60"}));
  EXPECT_EQ(Problems().size(), 1u);
}

TEST_F(SettingsFiles, IcomParWithoutRecordsLeavesTheListEmptyAndUnselected) {
  f.Vantrak("IcomPar.SQF", "9600\r\n");
  ReadIcomPar(st);
  EXPECT_TRUE(st.mode.lstAdress.items.empty());
  EXPECT_EQ(st.mode.lstAdress.listIndex, -1);
}

TEST_F(SettingsFiles, StandPosItemsAreCutToTenCharactersBeforeTheAzimuth) {
  f.Vantrak("StandPos.SQF",
            "; Nord,0\r\nNord,0\r\n;\r\nS\xfc" "d, 180\r\nEuropa-Mitte,92.5\r\nRelais,  93.5\r\n");
  st.StartDone = "-";
  ReadStandPos(st);
  EXPECT_EQ(st.rotor.StandCount, 4);
  EXPECT_EQ(st.rotor.StandName[1], "Nord");
  EXPECT_EQ(st.rotor.StandAz[1], 0);
  EXPECT_EQ(st.rotor.StandName[2], "S\xfc" "d");
  EXPECT_EQ(st.rotor.StandName[3], "Europa-Mitte");  // the whole name stays
  EXPECT_EQ(st.rotor.StandAz[3], 92);                // halves to even
  EXPECT_EQ(st.rotor.StandAz[4], 94);
  EXPECT_EQ(st.rotorForm.lstStandR.items,
            (std::vector<std::string>{" Nord     0", " S\xfc" "d      180", " Europa-Mi92",
                                      " Relais   94"}));
  EXPECT_EQ(st.rotorForm.lstStandR.listIndex, 0);
  EXPECT_TRUE(Problems().empty());
}

TEST_F(SettingsFiles, StandPosLeavesOutLinesWithoutAUsableAzimuth) {
  f.Vantrak("StandPos.SQF", "Nord,0\r\nOhne Komma\r\nOst,neunzig\r\n\r\nWest,270\r\n");
  ReadStandPos(st);
  EXPECT_EQ(st.rotor.StandCount, 2);
  EXPECT_EQ(st.rotor.StandName[2], "West");
  ASSERT_EQ(Problems().size(), 2u);
  EXPECT_NE(Problems()[0].problem.find("Zeile 2"), std::string::npos);
  EXPECT_NE(Problems()[1].problem.find("Zeile 3"), std::string::npos);
}

TEST_F(SettingsFiles, TransvertersListTheirOffsetsFromEntryOne) {
  f.Vantrak("Transvrt.SQF", " 0, 0\r\n 2256000, 116.5\r\n-28000,0\r\n");
  ReadTransverters(st);
  EXPECT_EQ(st.mode.lstTransverter.items,
            (std::vector<std::string>{" 0, 0", " 2256000, 116.5", "-28000, 0"}));
  EXPECT_EQ(st.mode.lstTransverter.listIndex, 0);
  EXPECT_DOUBLE_EQ(st.radio.RxOffsets[2], 2256000);
  EXPECT_DOUBLE_EQ(st.radio.TxOffsets[2], 116.5);
  EXPECT_DOUBLE_EQ(st.radio.RxOffsets[3], -28000);
}

TEST_F(SettingsFiles, StartOptionsSetLiveSwitchesTheirCopiesAndTheMainWindow) {
  f.Skylet("SkyletStart.SQF", "+\r\n+\r\n\r\n-\r\n+\r\n");
  ReadStartOptions(st);
  EXPECT_EQ(st.rotor.RotorOn, "+");
  EXPECT_EQ(st.radio.CatOn, "+");
  EXPECT_EQ(st.rotor.DdeRotor, "-");
  EXPECT_EQ(st.radio.DdeCat, "+");
  EXPECT_EQ(st.startOptions.StartRotor, "+");
  EXPECT_EQ(st.startOptions.StartCat, "+");
  EXPECT_EQ(st.startOptions.StartPark, "");
  EXPECT_EQ(st.startOptions.SetupDdeRotor, "-");
  EXPECT_EQ(st.startOptions.SetupDdeCat, "+");
  EXPECT_EQ(st.main.lblRotor.caption, " R+");
  EXPECT_EQ(st.main.lblPark.caption, " P-");
  EXPECT_EQ(st.rotor.ParkOn, "-");  // an empty line is off: the park switch says so

  f.Skylet("SkyletStart.SQF", "x\r\n-\r\n+\r\n-\r\n-\r\n");
  st.rotor.RotCount = 9;
  ReadStartOptions(st);
  EXPECT_EQ(st.main.lblRotor.caption, " R-");
  EXPECT_EQ(st.rotor.RotorOn, "-");
  EXPECT_EQ(st.main.lblPark.caption, " P+");
}

TEST_F(SettingsFiles, OwnFilesReadBackWhatTheirWritersWrote) {
  st.radio.IntV = 250;
  st.rotor.ParkAz = 182.5;
  st.rotor.ParkEl = -3;
  st.rotor.ParkDelay = 12;
  st.startOptions = {"+", "-", "+", "-", "+"};
  st.rotor.RotMode = "i";
  st.rotor.RotIntV = 15;
  st.rotor.MinWin = 2.5;
  st.rotor.WinkelOpt = "g";
  ASSERT_TRUE(WriteIntVCat(st));
  ASSERT_TRUE(SaveParkPos(st));
  ASSERT_TRUE(WriteStartOptions(st));
  ASSERT_TRUE(WriteRotOptions(st));
  EXPECT_EQ(f.files.files[SkyletPath("DDEIntVCat.SQF")], " 250\r\n");
  EXPECT_EQ(f.files.files[SkyletPath("DDEParkPos.SQF")], " 182.5\r\n-3\r\n 12\r\n");
  EXPECT_EQ(f.files.files[SkyletPath("SkyletStart.SQF")], "+\r\n-\r\n+\r\n-\r\n+\r\n");
  EXPECT_EQ(f.files.files[SkyletPath("DDERotOpt.SQF")], "i\r\n 15\r\n 2.5\r\ng\r\n");

  FakeStation g;
  g.files.files = f.files.files;
  ReadIntVCat(g.st);
  ReadParkPos(g.st);
  ReadStartOptions(g.st);
  ReadRotOptions(g.st);
  EXPECT_DOUBLE_EQ(g.st.radio.IntV, 250);
  EXPECT_DOUBLE_EQ(g.st.rotor.ParkAz, 182.5);
  EXPECT_DOUBLE_EQ(g.st.rotor.ParkEl, -3);
  EXPECT_EQ(g.st.rotor.ParkDelay, 12);
  EXPECT_EQ(g.st.startOptions.SetupDdeCat, "+");
  EXPECT_EQ(g.st.rotor.ParkOn, "+");
  EXPECT_EQ(g.st.rotor.RotMode, "i");
  EXPECT_EQ(g.st.rotor.RotIntV, 15);
  EXPECT_DOUBLE_EQ(g.st.rotor.MinWin, 2.5);
  EXPECT_EQ(g.st.rotor.WinkelOpt, "g");
  EXPECT_TRUE(g.st.settingsReport.Empty());
}

TEST_F(SettingsFiles, TextWithUmlautsSurvivesAReadAndAWrite) {
  f.Skylet("SkyletStart.SQF", "\xe4\r\n-\r\n-\r\n-\r\n\"Gr\xfc\xdf" "e, 73\"\r\n");
  ReadStartOptions(st);
  EXPECT_EQ(st.startOptions.StartRotor, "\xe4");
  EXPECT_EQ(st.startOptions.SetupDdeCat, "Gr\xfc\xdf" "e, 73");
  st.startOptions.SetupDdeCat = "-";
  ASSERT_TRUE(WriteStartOptions(st));
  EXPECT_EQ(f.files.files[SkyletPath("SkyletStart.SQF")], "\xe4\r\n-\r\n-\r\n-\r\n-\r\n");
}

TEST_F(SettingsFiles, WindowPositionIsStoredOnlyInTheNormalState) {
  f.Skylet("SkyletPos.SQF", " 1200\r\n 1500\r\n");
  ReadWindowPos(st);
  EXPECT_DOUBLE_EQ(st.main.Top, 1200);
  EXPECT_DOUBLE_EQ(st.main.Left, 1500);

  st.main.Top = 987.25;
  st.main.Left = 2002.5;  // halves go to the even neighbour
  ASSERT_TRUE(SaveWindowPos(st));
  EXPECT_EQ(f.files.files[SkyletPath("SkyletPos.SQF")], " 987.25\r\n 2002\r\n");
  st.main.Left = 2003.5;
  SaveWindowPos(st);
  EXPECT_EQ(f.files.files[SkyletPath("SkyletPos.SQF")], " 987.25\r\n 2004\r\n");
  st.main.Left = 40000;  // far right on a wide desktop: held at the 16-bit edge
  SaveWindowPos(st);
  EXPECT_EQ(f.files.files[SkyletPath("SkyletPos.SQF")], " 987.25\r\n 32767\r\n");

  for (forms::WindowState state : {forms::WindowState::Minimized, forms::WindowState::Maximized}) {
    st.main.windowState = state;
    st.main.Top = -32000;
    st.main.Left = -32000;
    EXPECT_TRUE(SaveWindowPos(st));
    EXPECT_EQ(f.files.files[SkyletPath("SkyletPos.SQF")], " 987.25\r\n 32767\r\n");
  }
  EXPECT_EQ(f.files.writes.size(), 3u);
}

TEST_F(SettingsFiles, AFailedWriteKeepsTheOldFileAndNamesIt) {
  f.Skylet("DDEIntVCat.SQF", " 100\r\n");
  f.files.failWrites = true;
  st.radio.IntV = 500;
  EXPECT_FALSE(WriteIntVCat(st));
  EXPECT_EQ(f.files.files[SkyletPath("DDEIntVCat.SQF")], " 100\r\n");
  ASSERT_EQ(f.alerts.boxes.size(), 1u);
  EXPECT_EQ(f.alerts.boxes[0].title, "Skylet");
  EXPECT_EQ(f.alerts.boxes[0].text.rfind(SkyletPath("DDEIntVCat.SQF"), 0), 0u);
  EXPECT_NE(f.alerts.boxes[0].text.find("\rDie bisherige Datei bleibt"), std::string::npos);
}

TEST_F(SettingsFiles, MissingShortAndWrongFilesAreNamedAndKeepTheirValues) {
  st.radio.IntV = 100;
  st.rotor.ParkAz = 90;
  f.Skylet("DDEParkPos.SQF", " 45\r\n");                  // two fields short
  f.Skylet("DDERotOpt.SQF", "w\r\n 99999\r\nfuenf\r\nk");  // out of range, not a number
  f.files.unreadable[SkyletPath("AvorPath.SQF")] = true;
  ReadIntVCat(st);
  ReadParkPos(st);
  ReadRotOptions(st);
  ReadAvorPath(st);

  EXPECT_DOUBLE_EQ(st.radio.IntV, 100);
  EXPECT_DOUBLE_EQ(st.rotor.ParkAz, 45);
  EXPECT_EQ(st.rotor.RotMode, "w");
  EXPECT_EQ(st.rotor.RotIntV, 0);
  EXPECT_EQ(st.rotor.WinkelOpt, "k");
  const std::vector<Problem> expected{
      {SkyletPath("DDEIntVCat.SQF"), "Datei nicht gefunden"},
      {SkyletPath("DDEParkPos.SQF"), "zu wenige Felder, Feld 2 fehlt"},
      {SkyletPath("DDERotOpt.SQF"), "Feld 2 liegt au\xdf" "erhalb -32768..32767: 99999"},
      {SkyletPath("DDERotOpt.SQF"), "Feld 3 ist keine Zahl: \"fuenf\""},
      {SkyletPath("AvorPath.SQF"), "Datei kann nicht gelesen werden"},
  };
  EXPECT_EQ(Problems(), expected);
}

TEST(DataFolders, FoldersFollowTheRoamingApplicationDataFolder) {
  FakeStation f;
  f.st.paths = {};
  FindDataFolders(f.st);
  EXPECT_EQ(f.st.paths.AppPath, "C:\\Programme\\Skylet");
  EXPECT_EQ(f.st.paths.VantrakDir, FakeStation::kVantrak);
  EXPECT_EQ(f.st.paths.SkyletDir, FakeStation::kSkylet);
  EXPECT_TRUE(f.alerts.boxes.empty());
}

TEST(DataFolders, AFailedLookupLeavesTheFoldersEmpty) {
  using R = platform::AppDataLookup::Result;
  const std::pair<R, const char*> rows[] = {
      {R::InvalidFolderId, "An invalid folder ID was specified"},
      {R::FolderDoesNotExist, "The folder does not exist"},
      {R::OtherFailure, nullptr},
  };
  for (const auto& [result, message] : rows) {
    FakeStation f;
    f.st.paths = {};
    f.folders.lookup = {result, "C:\\ignored"};
    FindDataFolders(f.st);
    EXPECT_EQ(f.st.paths.VantrakDir, "");
    EXPECT_EQ(f.st.paths.SkyletDir, "");
    if (message) {
      ASSERT_EQ(f.alerts.boxes.size(), 1u);
      EXPECT_EQ(f.alerts.boxes[0].text, message);
      EXPECT_EQ(f.alerts.boxes[0].title, "Skylet");
    } else {
      EXPECT_TRUE(f.alerts.boxes.empty());
    }
  }
}

}  // namespace
}  // namespace skylet::settings
