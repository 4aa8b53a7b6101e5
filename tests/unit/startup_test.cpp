// The start-up as far as the settings go: every file read in order, one
// message for all problems, the main window's start state.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/shutdown.h"
#include "app/startup.h"
#include "fakes/fakes.h"

namespace skylet::app {
namespace {

using fakes::FakeStation;

TEST(StartUp, ACompleteProfileStartsSilently) {
  FakeStation f;
  f.WriteCompleteProfile();
  f.st.paths = {};
  StartUp(f.st);
  EXPECT_TRUE(f.alerts.boxes.empty());
  const Station& st = f.st;
  EXPECT_EQ(st.main.caption, "Skylet  V. 12.8a");
  EXPECT_EQ(st.StartDone, "+");
  EXPECT_EQ(st.Quitting, "-");
  EXPECT_TRUE(st.main.Timer1Enabled);
  EXPECT_EQ(st.main.lblIntV.caption, "100");
  EXPECT_EQ(st.main.lblKorr.text, "");
  EXPECT_EQ(st.main.lblRotor.caption, " R+");
  EXPECT_EQ(st.main.lblPark.caption, " P-");
  EXPECT_DOUBLE_EQ(st.main.Top, 1200);
  EXPECT_DOUBLE_EQ(st.main.Left, 1500);
  EXPECT_EQ(st.paths.AvorPath, "C:\\Avor\\Avor.exe");
  EXPECT_EQ(st.paths.RotServer, "C:\\Vantrak\\RotServer.exe");
  EXPECT_EQ(st.paths.CatServerPath, "C:\\Vantrak\\CatServer.exe");
  EXPECT_EQ(st.mode.lstAdress.items.size(), 2u);
  EXPECT_EQ(st.mode.lstTransverter.items.size(), 2u);
  EXPECT_EQ(st.rotorForm.lstStandR.items.size(), 3u);
  EXPECT_EQ(st.rotor.RotMode, "w");
  EXPECT_DOUBLE_EQ(st.rotor.DegToRad, 3.1415928 / 180);
}

TEST(StartUp, AllProblemsAreToldInOneMessageNamingEachFile) {
  FakeStation f;
  f.WriteCompleteProfile();
  f.files.files.erase(std::string(FakeStation::kVantrak) + "TRX.SQF");
  f.files.files.erase(std::string(FakeStation::kVantrak) + "KenwoodPar.SQF");  // read twice
  f.Skylet("DDEIntVCat.SQF", "hundert\r\n");
  f.st.paths = {};
  StartUp(f.st);
  ASSERT_EQ(f.alerts.boxes.size(), 1u);
  EXPECT_EQ(f.alerts.boxes[0].title, "Skylet");
  EXPECT_EQ(f.alerts.boxes[0].text,
            "Einige Einstellungsdateien fehlen oder sind fehlerhaft:\r"
            "C:\\Users\\op\\AppData\\Roaming\\Vantrak\\TRX.SQF: Datei nicht gefunden\r"
            "C:\\Users\\op\\AppData\\Roaming\\Vantrak\\KenwoodPar.SQF: Datei nicht gefunden\r"
            "C:\\Users\\op\\AppData\\Roaming\\Skylet\\DDEIntVCat.SQF: Feld 1 ist keine Zahl: "
            "\"hundert\"\r"
            "Skylet arbeitet ohne diese Werte weiter.");
  // The program goes on with empty values.
  EXPECT_EQ(f.st.radio.TrxFamily, "");
  EXPECT_EQ(f.st.main.lblIntV.caption, "");
  EXPECT_TRUE(f.st.main.Timer1Enabled);
}

// Whatever one of the seventeen files holds, the start-up runs to its end and
// writes nothing; its problems make one message of a few short lines, each
// naming a settings file, with no control character that could cut the
// message or break its lines.
TEST(StartUp, AnyFileBrokenAnyWayGivesOneReadableMessage) {
  // Every byte value, NUL, CR, LF, commas and quotes among them.
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 167 + 13) % 256);
  std::string huge;  // the most the file store hands over
  while (huge.size() < (1u << 20)) huge += binary;
  enum Kind { kMissing, kUnreadable, kEmpty, kCut, kBinary, kHuge };
  const char* const kinds[] = {"missing", "unreadable", "empty", "cut", "binary", "huge"};

  FakeStation complete;
  complete.WriteCompleteProfile();
  ASSERT_EQ(complete.files.files.size(), 17u);
  for (const auto& [path, good] : complete.files.files) {
    for (int kind = kMissing; kind <= kHuge; ++kind) {
      SCOPED_TRACE(path + " " + kinds[kind]);
      FakeStation f;
      f.WriteCompleteProfile();
      f.st.paths = {};
      std::string& bytes = f.files.files[path];
      switch (kind) {
        case kMissing: f.files.files.erase(path); break;
        case kUnreadable: f.files.unreadable[path] = true; break;
        case kEmpty: bytes.clear(); break;
        case kCut: bytes.resize(bytes.size() / 2); break;
        case kBinary: bytes = binary; break;
        case kHuge: bytes = huge; break;
      }
      StartUp(f.st);

      EXPECT_EQ(f.st.StartDone, "+");
      EXPECT_TRUE(f.files.writes.empty());
      ASSERT_LE(f.alerts.boxes.size(), 1u);
      if (f.alerts.boxes.empty()) continue;
      std::vector<std::string> lines;
      std::stringstream text(f.alerts.boxes[0].text);
      for (std::string line; std::getline(text, line, '\r');) lines.push_back(line);
      ASSERT_GE(lines.size(), 3u);
      EXPECT_EQ(lines.front(), "Einige Einstellungsdateien fehlen oder sind fehlerhaft:");
      EXPECT_EQ(lines.back(), "Skylet arbeitet ohne diese Werte weiter.");
      EXPECT_LE(lines.size(), 12u);
      for (size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_TRUE(line.rfind(FakeStation::kVantrak, 0) == 0 ||
                    line.rfind(FakeStation::kSkylet, 0) == 0) << line;
        EXPECT_NE(line.find(".SQF: "), std::string::npos) << line;
        EXPECT_LE(line.size(), 160u) << line;
        EXPECT_TRUE(std::none_of(line.begin(), line.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            << line;
      }
      if (kind == kMissing || kind == kUnreadable) {
        const std::string told = path + (kind == kMissing ? ": Datei nicht gefunden"
                                                          : ": Datei kann nicht gelesen werden");
        EXPECT_NE(std::find(lines.begin(), lines.end(), told), lines.end());
      }
    }
  }
}

TEST(StartUp, WithoutDataFoldersTheFilesAreLookedForBare) {
  FakeStation f;
  f.folders.lookup = {platform::AppDataLookup::Result::FolderDoesNotExist, ""};
  f.st.paths = {};
  f.files.files["TRX.SQF"] = "Icom\r\n";
  StartUp(f.st);
  EXPECT_EQ(f.st.radio.TrxFamily, "Icom");
  ASSERT_EQ(f.alerts.boxes.size(), 2u);
  EXPECT_EQ(f.alerts.boxes[0].text, "The folder does not exist");
  EXPECT_NE(f.alerts.boxes[1].text.find("\rSatIni.SQF: Datei nicht gefunden"), std::string::npos);
}

TEST(Quit, StopsThePollAndStoresTheWindowPosition) {
  FakeStation f;
  f.WriteCompleteProfile();
  StartUp(f.st);
  f.st.main.Left = 300;
  try {
    menQuit_Click(f.st);
    ADD_FAILURE() << "the quit sequence returned";
  } catch (const fakes::ProgramEnded& end) {
    EXPECT_EQ(end.exitCode, 0);
  }
  EXPECT_EQ(f.st.Quitting, "+");
  EXPECT_FALSE(f.st.main.Timer1Enabled);
  EXPECT_EQ(f.files.files[std::string(FakeStation::kSkylet) + "SkyletPos.SQF"], " 1200\r\n 300\r\n");
}

}  // namespace
}  // namespace skylet::app
