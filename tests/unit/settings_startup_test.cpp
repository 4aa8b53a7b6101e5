// Settings files read and written, what the operator is told, and what the partners see of the start-up.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/startup.h"
#include "fakes/fakes.h"
#include "settings/field_reader.h"
#include "settings/hex.h"
#include "settings/readers.h"
#include "settings/writers.h"
#include "text/format.h"

namespace skylet {
namespace {

using namespace settings;
using text::DecimalText;
using fakes::FakeStation;
using Strings = std::vector<std::string>;
constexpr std::nullopt_t kNo = std::nullopt;

Strings operator+(Strings a, const Strings& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(FieldReading, SeparatorsQuotesAndLineEnds) {
  const std::pair<const char*, Strings> rows[] = {
      {"Station,JN58\r\n 3,  50", {"Station", "JN58", "3", "50"}},  // one a line or comma-separated
      {"\"C:\\Avor, neu\\Gr\xfc\xdf\",next\r\n", {"C:\\Avor, neu\\Gr\xfc\xdf", "next"}},
      {"  \"ab\" junk,c", {"ab", "c"}},  // what follows a closing quote belongs to no field
      {"\"open,ended\r\nx", {"open,ended\r\nx"}},  // an unclosed quote runs to the end
      {"+\r\n\r\n-\n+\r-", {"+", "", "-", "+", "-"}},
  };
  for (const auto& [bytes, fields] : rows) {
    FieldReader r(bytes);
    Strings read;
    while (auto field = r.Next()) read.push_back(*field);
    EXPECT_EQ(read, fields) << bytes;
  }
  EXPECT_FALSE(IsCommentLine(" ;Nord,0") || IsCommentLine(""));
}

// The first character of a hexadecimal field is ignored, whatever it is.
TEST(HexFields, BytesAndAddresses) {
  using enum HexByteSpan;
  const std::tuple<const char*, HexByteSpan, std::optional<uint8_t>> bytes[] = {
      {"660", TwoDigits, 0x60}, {"$5e", TwoDigits, 0x5E}, {"$FF", ToEnd, 0xFF}, {"$1FF", ToEnd, kNo},
      {"$1FF", TwoDigits, 0x1F}, {"$0A ;Kommentar", ToEnd, 10}, {"$G0", TwoDigits, kNo}, {"", ToEnd, kNo},
  };
  for (const auto& [field, span, value] : bytes) EXPECT_EQ(ParseHexByte(field, span), value) << field;
  const std::pair<const char*, std::optional<int32_t>> addresses[] = {
      {"h3BC", 0x3BC}, {"$FFFFFFFF", -1}, {"$378 ", kNo}, {"$", kNo}, {"$123456789", kNo},
  };
  for (const auto& [field, address] : addresses) EXPECT_EQ(ParseHexAddress(field), address) << field;
}

// What the reader of `file` filled, as text: a list's items and which one is selected, or values.
Strings Filled(const Station& st, const std::string& file) {
  const rotor::RotorState& rot = st.rotor;
  const radio::RadioState& r = st.radio;
  const StartOptions& o = st.startOptions;
  const auto list = [](const forms::ListBox& l) {
    return l.items + Strings{"selected " + DecimalText(l.listIndex)};
  };
  const std::string inUse{char(r.IcomRxAddr), char(r.IcomCmdAddr), char(r.IcomTxAddr)};  // the first pair
  if (file == "IcomPar.SQF") return list(st.mode.lstAdress) + Strings{fakes::Hex(inUse)};
  if (file == "StandPos.SQF") return list(st.rotorForm.lstStandR);
  if (file == "Transvrt.SQF") return list(st.mode.lstTransverter);
  if (file == "TRX.SQF") return {r.TrxFamily};
  if (file == "YaesuPar.SQF") return {fakes::Hex({char(r.YaesuRxCmd), char(r.YaesuTxCmd)}), r.YaesuBaud};
  const auto n = [](double value) { return DecimalText(value); };
  if (file == "DDEParkPos.SQF") return {n(rot.ParkAz), n(rot.ParkEl), n(rot.ParkDelay)};
  if (file == "DDERotOpt.SQF") return {rot.RotMode, n(rot.RotIntV), n(rot.MinWin), rot.WinkelOpt};
  if (file == "SkyletStart.SQF") {
    return {rot.RotorOn, r.CatOn, rot.ParkOn, rot.DdeRotor, r.DdeCat, o.StartRotor, o.StartCat, o.StartPark,
            o.SetupDdeRotor, o.SetupDdeCat, st.main.lblRotor.caption + st.main.lblPark.caption};
  }
  if (file == "Hamlib.SQF") {
    const hamlib::HamlibSettings& h = st.hamlib.live;
    EXPECT_EQ(Strings({h.RigAddress, h.UplinkWay}), Strings({st.hamlib.setup.RigAddress, st.hamlib.setup.UplinkWay}));
    return {h.RigOn, h.RigAddress, h.RotOn, h.RotAddress, h.UplinkWay};
  }
  return {n(rot.ParPortAdr)};  // SatIni.SQF and ParPort.SQF: the rotor type 3 entry's address
}

// What each reader fills and tells: three problems, forty quoted characters at most; a bad field keeps
// the value before (7 here) and the fields after it are still read.
TEST(SettingsReaders, WhatEachFileGivesAndWhatIsTold) {
  std::string fourteen = "19200\r\n";
  Strings thirteen;
  for (int i = 10; i < 24; ++i) fourteen += "$" + std::to_string(i) + ",$E0\r\n";
  for (int i = 10; i < 23; ++i) thirteen.push_back(" &H" + std::to_string(i) + "    &HE0");
  const std::tuple<const char*, std::string, Strings, Strings> rows[] = {
      {"IcomPar.SQF", fourteen, thirteen + Strings{"selected 0", "10 10 E0"},
       {"mehr als 13 Eintr\xe4ge, nur die ersten 13 werden verwendet"}},
      {"IcomPar.SQF", "9600\r\n$60,$60\r\n$7A\r\n", {" &H60    &H60", "selected 0", "60 60 60"},
       {"letzter Datensatz unvollst\xe4ndig, er wird \xfc" "bergangen"}},
      {"IcomPar.SQF", "9600\r\n", {"selected -1", "00 00 00"}, {}},
      {"IcomPar.SQF", "9600\r\nx60\r\n$6A\r\n$5E,$5Fxyz\r\n \r\n\r\n\x1a",
       {" &H60    &H6A", " &H5E    &H5F", "selected 0", "60 60 6A"}, {}},
      {"StandPos.SQF",
       "; Nord,0\r\nNord,0\r\n;\r\nS\xfc" "d, 180\r\nEuropa-Mitte,92.5\r\nOhne\x7f" "Komma\r\n"
       "Relais,  93.5\r\n\r\nOst,9O\r\n",
       {" Nord     0", " S\xfc" "d      180", " Europa-Mi92", " Relais   94", "selected 0"},  // halves even
       {"Zeile 6 ist nicht Name,Azimut: \"Ohne?Komma\"", "Zeile 9 ist nicht Name,Azimut: \"Ost,9O\""}},
      {"Transvrt.SQF", " 0, 0\r\n 2256000, 116.5\r\n-28000,0\r\n",
       {" 0, 0", " 2256000, 116.5", "-28000, 0", "selected 0"}, {}},
      // An opcode is read to the end of its field: three digits are no byte.
      {"YaesuPar.SQF", "$0E\r\n$12E\r\n4800\r\nFT-847\r\n", {"0E 00", "4800"},
       {"Feld 2 ist kein Hex-Byte (0..FF): \"$12E\""}},
      {"ParPort.SQF", "$378\r\n; zwei\r\n;\r\n$3BC\r\n; drei\r\n$278\r\n", {"632"}, {}},  // no comments
      {"ParPort.SQF", "$378\r\n", {"7"}, {"Eintrag 3 fehlt (Rotor-Schnittstelle in SatIni.SQF)"}},
      {"ParPort.SQF", "$1\r\n$2\r\n&H378\r\n", {"7"}, {"Eintrag 3 ist keine Hex-Adresse: \"&H378\""}},
      {"SatIni.SQF", "a,b,c,d," + std::string(41, 'x') + "," + std::string(40, 'x') + ",x,x,N,x,x,x,x,x", {"7"},
       {"Feld 5 ist keine Zahl: \"" + std::string(40, 'x') + "...\"", "Feld 6 ist keine Zahl: \"" + std::string(40, 'x') + "\"",
        "Feld 7 ist keine Zahl: \"x\"", "und weitere Fehler"}},
      {"DDEParkPos.SQF", " 45\r\n", {"45", "7", "7"}, {"zu wenige Felder, Feld 2 fehlt"}},
      {"SatIni.SQF", "a,b,c,d, 0", {"7"}, {"zu wenige Felder, Feld 6 fehlt"}},  // nine missing, one told
      {"DDERotOpt.SQF", "w\r\n 99999\r\nfuenf\r\nk", {"w", "7", "7", "k"},
       {"Feld 2 liegt au\xdf" "erhalb -32768..32767: 99999", "Feld 3 ist keine Zahl: \"fuenf\""}},
      // Each start option sets a live switch and the copy the setup dialog shows; an empty line is off.
      {"SkyletStart.SQF", "+\r\n+\r\n\r\n-\r\n+\r\n",
       {"+", "+", "-", "-", "+", "+", "+", "", "-", "+", " R+ P-"}, {}},
      // A value that is no address or uplink way keeps the default.
      {"Hamlib.SQF", "+\r\nshack:4532x\r\n+\r\n[::1]:65535\r\nS\r\n",
       {"+", "localhost:4532", "+", "[::1]:65535", "V"},
       {"\"shack:4532x\" ist keine Adresse Rechner:Port", "\"S\" ist weder V (zwei VFOs) noch I (Split)"}},
      // The address of a daemon not in use is kept as typed, and is no problem.
      {"Hamlib.SQF", "-\r\nshack:70000\r\n-\r\n:4533\r\nI\r\n", {"-", "shack:70000", "-", ":4533", "I"}, {}},
      // Any other name drives the radio as Yaesu: the operator is told so.
      {"TRX.SQF", "Collins\r\n", {"Collins"},
       {"Funkger\xe4t \"Collins\" ist weder Yaesu noch Icom noch Kenwood; Skylet sendet im Yaesu-Befehlssatz"}},
  };
  const std::map<std::string, void (*)(Station&)> readers{
      {"IcomPar.SQF", ReadIcomPar},       {"YaesuPar.SQF", ReadYaesuPar},   {"StandPos.SQF", ReadStandPos},
      {"Transvrt.SQF", ReadTransverters}, {"SatIni.SQF", ReadSatIni},       {"ParPort.SQF", ReadSatIni},
      {"DDEParkPos.SQF", ReadParkPos},    {"DDERotOpt.SQF", ReadRotOptions},
      {"SkyletStart.SQF", ReadStartOptions}, {"Hamlib.SQF", ReadHamlib}, {"TRX.SQF", ReadTrxFile}};
  for (const auto& [file, bytes, filled, told] : rows) {
    FakeStation f;
    f.WriteCompleteProfile();
    f.Vantrak("SatIni.SQF", "a,b,c,d, 0, 100, 3, 0,N, 0, 0, 0,x,x");
    f.Vantrak(file, bytes);  // in both folders: the complete profile pins the one each reader looks in
    f.Skylet(file, bytes);
    f.st.mode.lstAdress.AddItem("left from before");
    rotor::RotorState& rot = f.st.rotor;
    rot.ParPortAdr = rot.ParkEl = rot.ParkDelay = rot.RotIntV = rot.MinWin = 7;
    readers.at(file)(f.st);
    EXPECT_EQ(Filled(f.st, file), filled) << file;
    Strings noted;
    for (const Problem& p : f.st.settingsReport.Problems()) {
      EXPECT_TRUE(p.path.ends_with(std::string("\\") + file)) << p.path;
      noted.push_back(p.problem);
    }
    EXPECT_EQ(noted, told) << file;
  }
}

// Halves go to the even neighbour; far right on a wide desktop is held at the 16-bit edge.
TEST(SettingsWriters, WindowPosition) {
  FakeStation f;
  f.st.main.Top = 987.25;
  for (const auto& [left, stored] : {std::pair{2002.5, " 2002"}, {2003.5, " 2004"}, {40000., " 32767"}}) {
    f.st.main.Left = left;
    ASSERT_TRUE(SaveWindowPos(f.st));
    EXPECT_EQ(f.Own("SkyletPos.SQF"), std::string(" 987.25\r\n") + stored + "\r\n");
  }
}

// Every file found and read, the satellite settings (radio files: end to end; nothing told: StartUpLinks).
TEST(StartUp, ACompleteProfileFillsEverythingSilently) {
  FakeStation f;
  f.WriteCompleteProfile();
  f.st.paths = {};
  app::StartUp(f.st);
  const radio::RadioState& r = f.st.radio;
  const rotor::RotorState& rot = f.st.rotor;
  EXPECT_EQ(std::tuple(f.st.StartDone + f.st.Quitting, f.st.main.lblIntV.caption, f.st.main.lblKorr.text,
                       f.st.main.Top, f.st.main.Left, r.CatPort, r.CatDelayMs, r.CatDelay, rot.RotType,
                       rot.ParPortDelay, rot.RotNorth, rot.RotMinEl, rot.RotAzOffset, rot.RotElOffset,
                       rot.ParPortAdr),
            std::tuple("+-", "100", "", 1200, 1500, 3, 50, 0.05, 2, 7, "N", 5, 1.5, -2, 0x278));
}

// Neither data folder there: one message in place of a line per file, and nothing written anywhere.
// With either folder there, or the roaming folder not found, the files that are missing are listed.
TEST(StartUp, AFirstStartIsToldOnceInsteadOfEveryMissingFile) {
  const std::string list = "Einige Einstellungsdateien fehlen oder sind fehlerhaft:";
  const std::tuple<Strings, bool, std::string> rows[] = {
      {{}, true,
       "Das sieht nach dem ersten Start von Skylet aus: keiner der beiden Einstellungsordner ist da.\r"
       "C:\\Users\\op\\AppData\\Roaming\\Vantrak\\  (Funkger\xe4t, Schnittstellen, Server; von Vantrak "
       "geschrieben)\r"
       "C:\\Users\\op\\AppData\\Roaming\\Skylet\\  (Skylets eigene Einstellungen)\r"
       "Skylet braucht das Trackingprogramm Avor; Rotor- und Cat-Server sind nicht gew\xe4hlt.\r"
       "Zuerst im Ordner Skylet die Datei AvorPath.SQF mit dem Pfad von Avor anlegen (eine Zeile, "
       "z. B. C:\\Avor\\Avor.exe), dann im Men\xfc Setup die Server und die Schalter beim Start w\xe4hlen.\r"
       "Skylet geht jetzt mit Standardwerten weiter; l\xe4uft Avor noch nicht, endet es gleich."},
      {{FakeStation::kVantrak}, true, list},
      {{FakeStation::kSkylet}, true, list},
      {{}, false, list},
  };
  for (const auto& [folders, lookupFound, told] : rows) {
    FakeStation f;
    f.st.paths = {};
    f.files.folders.insert(folders.begin(), folders.end());
    if (!lookupFound) f.folders.lookup.result = platform::AppDataLookup::Result::OtherFailure;
    app::StartUp(f.st);
    ASSERT_EQ(f.alerts.boxes.size(), 1u);
    const std::string& text = f.alerts.boxes[0].text;
    EXPECT_EQ(told == list ? text.substr(0, list.size()) : text, told);
    EXPECT_EQ(f.alerts.boxes[0].title, "Skylet");
    EXPECT_TRUE(f.files.writes.empty());
  }
}

// Runs of the same line as one, "line x3": the waits, opens and retries in a readable form.
Strings Runs(const Strings& log, const std::string& prefix) {
  Strings out;
  for (size_t i = 0, n = 1; i < log.size(); i += n) {
    for (n = 1; i + n < log.size() && log[i + n] == log[i];) ++n;
    out.push_back(prefix + log[i] + (n > 1 ? " x" + std::to_string(n) : ""));
  }
  return out;
}

// Without the data folders every file is looked for bare.
void NoDataFolders(FakeStation& f, platform::AppDataLookup::Result result) {
  f.folders.lookup.result = result;
  for (auto [path, bytes] : std::map(f.files.files)) f.files.files[path.substr(path.rfind('\\') + 1)] = bytes;
}

const std::string kShell = "shell Open C:\\Vantrak\\RotServer | C:\\Vantrak 4";
const std::string kRotorOpen = "rotor open RotServer|RotServConv RotServItem t=200";
const std::string kCatOpen = "cat open RotServer|CatServConv CatServItem t=50";
const std::string kAvorOpen = "avor open Avor|Tracking General t=1000";
const std::string kAvorEnd = "Skylet: Fehler beim Laden von Avor, Skylet wird beendet!";
const Strings kRotorUp = {kShell, "sleep 1200", kRotorOpen, "rotor execute ClientOn"};

// What the partners see of the start-up by the options (rotor, CAT, park, rotor server, CAT server).
TEST(StartUpLinks, WhoIsStartedLinkedAndGreetedAndHowEachFailureEnds) {
  using platform::StartResult;
  using Lookup = platform::AppDataLookup::Result;
  const std::tuple<const char*, std::function<void(FakeStation&)>, Strings> rows[] = {
      // A failed lookup of the data folders is told as the system reported it.
      {"---+-", [](FakeStation& f) { NoDataFolders(f, Lookup::InvalidFolderId); },
       kRotorUp + Strings{"Skylet: An invalid folder ID was specified"}},
      {"---+-", [](FakeStation& f) { NoDataFolders(f, Lookup::FolderDoesNotExist); },
       kRotorUp + Strings{"Skylet: The folder does not exist"}},
      {"---+-", [](FakeStation& f) { NoDataFolders(f, Lookup::OtherFailure); }, kRotorUp},
      // A rotor server named None is none (Arswin's own topic and no greeting: end to end).
      {"---+-", [](FakeStation& f) { f.Vantrak("RotorServer.SQF", "C:\\Vantrak\\None\r\n"); }, {}},
      // No rotor part for a negative rotor type, which is told: the CAT server then answers to any
      // application.
      {"-+-++", [](FakeStation& f) { f.Vantrak("SatIni.SQF", "a,b,c,d, 0, 50,-1, 0,N, 0, 0, 0,x,x"); },
       {"cat open |CatServConv CatServItem t=50", "cat execute ClientOn", "cat execute RaOpen",
        "Skylet: Einige Einstellungsdateien fehlen oder sind fehlerhaft:\r"
        "C:\\Users\\op\\AppData\\Roaming\\Vantrak\\SatIni.SQF: Rotor-Interface -1 (Feld 7) ist unter 0: "
        "Skylet verbindet den Rotor-Server nicht, der Rotor dreht sich nicht\r"
        "Skylet arbeitet ohne diese Werte weiter.", "CAT  C+"}},
      // With CAT off at the start the switch-off goes out twice.
      {"---++", [](FakeStation&) {},
       kRotorUp + Strings{kCatOpen, "cat execute ClientOn", "cat execute RaClose x2", "CAT  C-"}},
      // A started server gets its link retried until it answers.
      {"---+-", [](FakeStation& f) { f.rotorLink.opensToFail = 4; },
       {kShell, "sleep 1200", "start C:\\Vantrak\\RotServer 6", "sleep 500 x4", kRotorOpen + " x5",
        "rotor execute ClientOn"}},
      // One that never answers is started once and given up; the failing switch-on adds no wait or message.
      {"-+-++", [](FakeStation& f) { f.catLink.acceptCommands = false; },
       {kShell, "sleep 1200", "start C:\\Vantrak\\CatServer 6", "sleep 500 x20", kRotorOpen,
        "rotor execute ClientOn", kCatOpen, "cat execute ClientOn x21", "cat execute RaOpen",
        "Skylet: Fehler beim Laden des Cat-Serverprogramms,\rstellen Sie sicher,da\xdf sich "
        "C:\\Vantrak\\CatServer\r und die ben\xf6tigten Hilfsdateien im Vantrak-Verzeichnis befinden.",
        "CAT  C+"}},
      // Hamlib's daemons take the place of the serial port and both servers.
      {"-+-++", [](FakeStation& f) {
         f.Vantrak("SatIni.SQF", "a,b,c,d, 3, 50, 1, 0,N, 0, 0, 0,x,x");
         f.Skylet("Hamlib.SQF", "+\r\nlocalhost:4532\r\n+\r\nlocalhost:4533\r\nV\r\n");
       },
       {"CAT  C+"}},
      // A tracking program that fails to start, or never answers, ends the program.
      {"-----", [](FakeStation& f) {
         f.avor.serverRunning = false;
         f.launcher.startResult = StartResult::OtherFailure;
       },
       {"start C:\\Avor\\Avor.exe 4", kAvorEnd, "ended 1"}},
      {"-----", [](FakeStation& f) { f.avor.serverRunning = false; },
       {"start C:\\Avor\\Avor.exe 4", "sleep 500 x60", "avor close", kAvorOpen + " x61", kAvorEnd,
        "ended 1"}},
  };
  for (const auto& [options, partners, expected] : rows) {
    FakeStation f;
    f.WriteCompleteProfile();
    f.st.paths = {};
    std::string lines;
    for (const char* option = options; *option; ++option) lines += std::string(1, *option) + "\r\n";
    f.Skylet("SkyletStart.SQF", lines);
    f.Vantrak("SatIni.SQF", "a,b,c,d, 0, 50, 0, 0,N, 0, 0, 0,x,x");  // no serial radio
    partners(f);
    f.clock.events = &f.launcher.log;
    std::string ended;
    try {
      app::Form_Load(f.st);
    } catch (const fakes::ProgramEnded& end) {
      ended = "ended " + std::to_string(end.exitCode);
    }
    const bool avorAtOnce = f.avor.log == Strings{"close", kAvorOpen.substr(5)};
    Strings seen = Runs(f.launcher.log, "") + Runs(f.rotorLink.log, "rotor ") + Runs(f.catLink.log, "cat ") +
                   (avorAtOnce ? Strings{} : Runs(f.avor.log, "avor "));
    for (const auto& box : f.alerts.boxes) seen.push_back(box.title + ": " + box.text);
    if (f.st.radio.CatOn + f.st.radio.DdeCat != "--") seen.push_back("CAT " + f.st.main.lblCat.caption);
    if (f.port.IsOpen()) seen.push_back("port open");
    if (!ended.empty()) seen.push_back(ended);
    EXPECT_EQ(seen, expected) << options;
    EXPECT_TRUE(f.files.writes.empty());
    EXPECT_TRUE(f.st.StartDone == "+" && f.st.main.Timer1Enabled);
  }
}

}  // namespace
}  // namespace skylet
