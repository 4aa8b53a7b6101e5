#include "settings/readers.h"

#include <array>
#include <string>

#include "station/station.h"
#include "hamlib/daemon.h"
#include "rotor/switches.h"
#include "settings/settings_file.h"
#include "text/format.h"

namespace skylet::settings {

namespace {

SettingsFile OpenVantrak(Station& st, const char* name) {
  return SettingsFile(st.os.files, st.settingsReport, st.paths.VantrakDir, name);
}

SettingsFile OpenSkylet(Station& st, const char* name) {
  return SettingsFile(st.os.files, st.settingsReport, st.paths.SkyletDir, name);
}

std::string TooManyRecords(int kept) {
  return "mehr als " + std::to_string(kept) + " Eintr\xe4ge, nur die ersten " +
         std::to_string(kept) + " werden verwendet";
}

// The parallel-port address list: the first data line is entry 1.
void ReadParPort(Station& st) {
  rotor::RotorState& rot = st.rotor;
  SettingsFile f = OpenVantrak(st, kParPortFile);
  int count = 0;
  bool tooMany = false;
  for (const std::string& line : f.Lines()) {
    if (IsCommentLine(line)) continue;
    if (count == rotor::RotorState::kParPortEntries) {
      tooMany = true;
      break;
    }
    rot.ParPortLines[++count] = line;
  }
  if (tooMany) f.Note(TooManyRecords(rotor::RotorState::kParPortEntries));

  if (rot.RotType <= 0 || !f.Loaded()) return;
  if (rot.RotType > count) {
    f.Note("Eintrag " + std::to_string(rot.RotType) +
           " fehlt (Rotor-Schnittstelle in SatIni.SQF)");
    return;
  }
  const std::string& entry = rot.ParPortLines[rot.RotType];
  if (std::optional<int32_t> adr = ParseHexAddress(entry)) {
    rot.ParPortAdr = *adr;
  } else {
    f.Note("Eintrag " + std::to_string(rot.RotType) + " ist keine Hex-Adresse: " + Quoted(entry));
  }
}

// Hamlib's switches, addresses and uplink way; a value that is not one of
// them is told and leaves the default.
void ReadHamlibInto(Station& st, hamlib::HamlibSettings& h) {
  SettingsFile f(st.os.files, st.settingsReport, st.paths.SkyletDir, kHamlibFile, true);
  if (!f.Loaded()) return;
  // The address of a daemon not in use is kept as the operator typed it.
  const auto address = [&f](const std::string& on, std::string& out) {
    std::string text;
    if (!f.Text(text)) return;
    if (on != "+" || hamlib::ParseAddress(text)) {
      out = text;
    } else {
      f.Note(Quoted(text) + " ist keine Adresse Rechner:Port");
    }
  };
  std::string way;
  f.Text(h.RigOn);
  address(h.RigOn, h.RigAddress);
  f.Text(h.RotOn);
  address(h.RotOn, h.RotAddress);
  if (!f.Text(way)) return;
  if (way == "V" || way == "I") {
    h.UplinkWay = way;
  } else {
    f.Note(Quoted(way) + " ist weder V (zwei VFOs) noch I (Split)");
  }
}

}  // namespace

void FindDataFolders(Station& st) {
  st.paths.AppPath = st.os.folders.ProgramFolder();
  const platform::AppDataLookup lookup = st.os.folders.RoamingAppData();
  switch (lookup.result) {
    case platform::AppDataLookup::Result::Ok:
      st.paths.VantrakDir = lookup.path + "\\Vantrak\\";
      st.paths.SkyletDir = lookup.path + "\\Skylet\\";
      break;
    case platform::AppDataLookup::Result::InvalidFolderId:
      st.os.alerts.ShowMessage("An invalid folder ID was specified", kProgramName);
      break;
    case platform::AppDataLookup::Result::FolderDoesNotExist:
      st.os.alerts.ShowMessage("The folder does not exist", kProgramName);
      break;
    case platform::AppDataLookup::Result::OtherFailure:
      break;
  }
}

void ReadTrxFile(Station& st) {
  SettingsFile f = OpenVantrak(st, kTrxFile);
  f.Text(st.radio.TrxFamily);
  const std::string& family = st.radio.TrxFamily;
  // Every name but the three drives the radio in the Yaesu command set: the
  // operator is told why a Kenwood or Icom radio does not follow.
  if (f.Loaded() && radio::TrxFamilyOf(family) < 0) {
    f.Note("Funkger\xe4t " + Quoted(family) +
           " ist weder Yaesu noch Icom noch Kenwood; Skylet sendet im Yaesu-Befehlssatz");
  }
}

void ReadAvorPath(Station& st) {
  SettingsFile f = OpenSkylet(st, kAvorPathFile);
  f.Text(st.paths.AvorPath);
}

void ReadWindowPos(Station& st) {
  SettingsFile f = OpenSkylet(st, kWindowPosFile);
  float top = 0;
  int16_t left = 0;
  if (f.Single(top)) st.main.Top = top;
  if (f.Integer(left)) st.main.Left = left;
}

void ReadSatIni(Station& st) {
  radio::RadioState& r = st.radio;
  rotor::RotorState& rot = st.rotor;
  SettingsFile f = OpenVantrak(st, kSatIniFile);
  std::string unused;
  for (int i = 0; i < 4; ++i) f.Text(unused);
  f.Integer(r.CatPort);
  f.Integer(r.CatDelayMs);
  r.CatDelay = r.CatDelayMs / 1000.0;
  f.Integer(rot.RotType);
  f.Integer(rot.ParPortDelay);
  f.Text(rot.RotNorth);
  f.Double(rot.RotMinEl);
  f.Double(rot.RotAzOffset);
  f.Double(rot.RotElOffset);
  f.Text(unused);
  f.Text(unused);

  ReadParPort(st);
}

void ReadYaesuPar(Station& st) {
  radio::RadioState& r = st.radio;
  SettingsFile f = OpenVantrak(st, kYaesuParFile);
  f.HexByte(r.YaesuRxCmd, HexByteSpan::ToEnd);
  f.HexByte(r.YaesuTxCmd, HexByteSpan::ToEnd);
  f.Text(r.YaesuBaud);
  f.Text(r.YaesuModel);
}

void ReadKenwoodPar(Station& st) {
  radio::RadioState& r = st.radio;
  SettingsFile f = OpenVantrak(st, kKenwoodParFile);
  f.Text(r.KenwoodModel);
  f.Text(r.KenwoodBaud);
  f.Text(r.KenwoodSatPar);
}

void ReadIcomPar(Station& st) {
  radio::RadioState& r = st.radio;
  forms::ListBox& list = st.mode.lstAdress;
  SettingsFile f = OpenVantrak(st, kIcomParFile);
  f.Text(r.IcomBaud);
  list.Clear();
  if (!f.Loaded()) return;

  int i = 0;
  while (!f.AtEndOfRecords()) {
    if (i == radio::RadioState::kIcomRecords) {
      f.Note(TooManyRecords(radio::RadioState::kIcomRecords));
      break;
    }
    std::string rxText, txText;
    // A refused address keeps its place in the list, so the numbering of the
    // records stays that of the file; it keeps the table's old value.
    f.HexByte(r.IcomRxAddrs[i], HexByteSpan::TwoDigits, &rxText);
    if (f.AtEndOfRecords()) {
      f.Note("letzter Datensatz unvollst\xe4ndig, er wird \xfc" "bergangen");
      break;
    }
    f.HexByte(r.IcomTxAddrs[i], HexByteSpan::TwoDigits, &txText);
    list.AddItem(" &H" + rxText.substr(std::min<size_t>(1, rxText.size()), 2) + "    &H" +
                 txText.substr(std::min<size_t>(1, txText.size()), 2));
    ++i;
  }
  list.Select(0);
  r.IcomRxAddr = r.IcomRxAddrs[0];
  r.IcomCmdAddr = r.IcomRxAddrs[0];
  r.IcomTxAddr = r.IcomTxAddrs[0];
}

void ReadIcomName(Station& st) {
  SettingsFile f = OpenVantrak(st, kIcomNameFile);
  f.Text(st.radio.IcomModel);
}

void ReadIntVCat(Station& st) {
  SettingsFile f = OpenSkylet(st, kIntVCatFile);
  f.Double(st.radio.IntV);
}

void ReadParkPos(Station& st) {
  rotor::RotorState& rot = st.rotor;
  SettingsFile f = OpenSkylet(st, kParkPosFile);
  f.Double(rot.ParkAz);
  f.Double(rot.ParkEl);
  f.Integer(rot.ParkDelay);
}

void ReadStartOptions(Station& st) {
  settings::StartOptions& o = st.startOptions;
  SettingsFile f = OpenSkylet(st, kStartOptionsFile);
  // Each line sets the live switch the program tests and the copy the setup
  // dialog shows.
  const auto pair = [&f](std::string& live, std::string& copy) {
    if (f.Text(live)) copy = live;
  };
  pair(st.rotor.RotorOn, o.StartRotor);
  pair(st.radio.CatOn, o.StartCat);
  pair(st.rotor.ParkOn, o.StartPark);
  pair(o.SetupDdeRotor, st.rotor.DdeRotor);
  pair(o.SetupDdeCat, st.radio.DdeCat);

  if (st.rotor.RotorOn == "+") {
    rotor::RotorSwitchOn(st);
  } else {
    rotor::RotorSwitchOff(st);
  }
  if (st.rotor.ParkOn == "+") {
    rotor::ParkSwitchOn(st);
  } else {
    rotor::ParkSwitchOff(st);
  }
}

void ReadRotOptions(Station& st) {
  rotor::RotorState& rot = st.rotor;
  SettingsFile f = OpenSkylet(st, kRotOptionsFile);
  f.Text(rot.RotMode);
  f.Integer(rot.RotIntV);
  f.Double(rot.MinWin);
  f.Text(rot.WinkelOpt);
}

void ReadStandPos(Station& st) {
  rotor::RotorState& rot = st.rotor;
  forms::ListBox& list = st.rotorForm.lstStandR;
  SettingsFile f = OpenVantrak(st, kStandPosFile);
  int n = 0;
  int lineNumber = 0;
  for (const std::string& line : f.Lines()) {
    ++lineNumber;
    if (IsCommentLine(line) || line.find_first_not_of(" \t") == std::string::npos) continue;
    if (n == rotor::RotorState::kStandEntries) {
      f.Note(TooManyRecords(rotor::RotorState::kStandEntries));
      break;
    }
    const size_t comma = line.find(',');
    std::optional<int16_t> az;
    if (comma != std::string::npos) {
      if (std::optional<double> value = text::ParseNumber(line.substr(comma + 1))) {
        az = text::ToInteger16(*value);
      }
    }
    if (!az) {
      // A direction without a usable azimuth would turn the antenna to a
      // wrong place when chosen: leave it out of the list.
      f.Note("Zeile " + std::to_string(lineNumber) + " ist nicht Name,Azimut: " + Quoted(line));
      continue;
    }
    ++n;
    rot.StandName[n] = line.substr(0, comma);
    rot.StandAz[n] = *az;
    list.AddItem((" " + rot.StandName[n] + "        ").substr(0, 10) + std::to_string(*az));
  }
  rot.StandCount = n;
  list.Select(0);
}

void ReadServerPaths(Station& st) {
  {
    SettingsFile f = OpenVantrak(st, kRotorServerFile);
    f.Text(st.paths.RotServer);
  }
  SettingsFile f = OpenVantrak(st, kCatServerFile);
  f.Text(st.paths.CatServerPath);
}

void ReadTransverters(Station& st) {
  radio::RadioState& r = st.radio;
  forms::ListBox& list = st.mode.lstTransverter;
  SettingsFile f = OpenVantrak(st, kTransvrtFile);
  list.Clear();
  if (!f.Loaded()) return;

  int i = 1;
  while (!f.AtEndOfRecords()) {
    if (i > radio::RadioState::kTransverterRecords) {
      f.Note(TooManyRecords(radio::RadioState::kTransverterRecords));
      break;
    }
    f.Double(r.RxOffsets[i]);
    if (f.AtEndOfRecords()) {
      f.Note("letzter Datensatz unvollst\xe4ndig, er wird \xfc" "bergangen");
      break;
    }
    f.Double(r.TxOffsets[i]);
    // Each offset with a blank before it unless it is negative: " 0, 0".
    list.AddItem(text::FileNumber(r.RxOffsets[i]) + "," + text::FileNumber(r.TxOffsets[i]));
    ++i;
  }
  list.Select(0);
}

void ReadHamlib(Station& st) {
  ReadHamlibInto(st, st.hamlib.live);
  st.hamlib.setup = st.hamlib.live;
}

void ReadHamlibSetup(Station& st) { ReadHamlibInto(st, st.hamlib.setup); }

void ReadOptions(Station& st) {
  SettingsFile f(st.os.files, st.settingsReport, st.paths.SkyletDir, kOptionsFile, true);
  for (std::string* option : {&st.options.KorrMerken, &st.options.DialFolgen, &st.options.VerkehrDatei}) {
    std::string value;
    if (f.AtEndOfRecords() || !f.Text(value)) return;
    if (value == "+" || value == "-") {
      *option = value;
    } else {
      f.Note(Quoted(value) + " ist weder + noch -");
    }
  }
}

void ReadVerkehr(Station& st) {
  SettingsFile f(st.os.files, st.settingsReport, st.paths.SkyletDir, kVerkehrFile, true);
  forms::Verkehr& v = st.verkehr;
  std::array<double, 4> place{};
  for (double& number : place) {
    if (f.AtEndOfRecords() || !f.Double(number)) return;
  }
  std::string links;
  if (f.AtEndOfRecords() || !f.Text(links)) return;
  if (links.size() != v.shown.size() || links.find_first_not_of("+-") != std::string::npos) {
    f.Note(Quoted(links) + " ist keine Auswahl der Verbindungen (je Verbindung + oder -)");
    return;
  }
  // A size no window can have is the file's fault: the window keeps its own.
  if (place[2] < 1500 || place[3] < 1500 || place[2] > 1e6 || place[3] > 1e6) {
    f.Note("Gr\xf6\xdf" "e " + text::FileNumber(place[2]) + " x " + text::FileNumber(place[3]) +
           " ist keine Fenstergr\xf6\xdf" "e");
    return;
  }
  v.Left = place[0];
  v.Top = place[1];
  v.Width = place[2];
  v.Height = place[3];
  for (size_t i = 0; i < links.size(); ++i) v.shown[i] = links[i] == '+';
  v.placed = true;
}

void ReportSettingsProblems(Station& st) {
  if (st.settingsReport.Empty()) return;
  st.os.alerts.ShowMessage(st.settingsReport.Message(), kProgramName);
  st.settingsReport.Clear();
}

}  // namespace skylet::settings
