#include "radio/link_setup.h"

#include <cstdint>
#include <string>
#include <utility>

#include "hamlib/daemon.h"
#include "radio/cat_server.h"
#include "radio/cat_wait.h"
#include "radio/icom.h"
#include "radio/kenwood.h"
#include "radio/link_health.h"
#include "radio/yaesu.h"
#include "settings/readers.h"
#include "settings/settings_file.h"
#include "station/station.h"

namespace skylet::radio {

namespace {

void Wait(Station& st) { CatWait(st.os.clock, st.radio.CatDelay); }

// A model without a command keeps whatever the string held before.
void SetIfGiven(std::string& command, std::string text) {
  if (!text.empty()) command = std::move(text);
}

void BuildIcom(RadioState& r) {
  icom::BandSelects select = icom::SelectCommands(r.IcomModel, r.IcomRxAddr, r.IcomTxAddr);
  r.CmdSelectRx = std::move(select.beforeDownlink);
  r.CmdSelectTx = std::move(select.beforeUplink);
  const uint8_t a = r.IcomCmdAddr;
  r.CmdMode = icom::ModeCommand(a, icom::kModeFm);
  r.IcomModePrefix = icom::Prefix(a, icom::kSetMode);
  r.IcomFreqPrefix = icom::Prefix(a, icom::kSetFrequency);
  r.CmdIcomSatOn = icom::SatelliteMode(a, true);
  r.CmdIcomSatOff = icom::SatelliteMode(a, false);
}

void BuildKenwood(RadioState& r) {
  kenwood::Commands c = kenwood::ModelCommands(r.KenwoodModel, r.KenwoodSatPar);
  SetIfGiven(r.CmdSelectRx, std::move(c.selectRx));
  SetIfGiven(r.CmdSelectTx, std::move(c.selectTx));
  SetIfGiven(r.CmdInit, std::move(c.init));
  SetIfGiven(r.CmdKenwoodSatInit, std::move(c.satInit));
  r.CmdMode = kenwood::kModeFm;
}

void BuildYaesu(RadioState& r) {
  r.CmdCatOn = yaesu::CatOn();
  r.CmdSatOn = yaesu::SatelliteOn(r.YaesuModel);
  r.CmdCatOff = yaesu::CatOff();
}

[[noreturn]] void PortFailure(Station& st, const std::string& reason) {
  // What the settings files lacked is told first: it is often the reason.
  settings::ReportSettingsProblems(st);
  // The usual cause is another program holding the port. The third line
  // names the port and what the system said, so a wrong port number is
  // found as quickly.
  st.os.alerts.ShowMessage(
      "Das Programm kann nicht mehrfach gestartet werden\r"
      "oder gleichzeitig mit Vantrak oder Tessaro laufen.\r" +
          reason,
      kProgramName);
  st.os.process.End();
}

// A baud rate the port could be opened at: a whole number above 0. An empty
// or zero one would open the port at whatever the system keeps, and the
// radio would hear nothing it understands; the operator is told which file
// to mend, and the start ends like any port that cannot be set up.
void CheckBaud(Station& st, const std::string& baud, const char* file) {
  const bool digits = !baud.empty() && baud.size() <= 7 &&
                      baud.find_first_not_of("0123456789") == std::string::npos;
  if (digits && std::stol(baud) > 0) return;
  settings::ReportSettingsProblems(st);
  st.os.alerts.ShowMessage(st.paths.VantrakDir + file + ": die Baudrate " + settings::Quoted(baud) +
                               " ist keine Zahl \xfc" "ber 0;\r"
                               "der Transceiver an COM" + std::to_string(st.radio.CatPort) +
                               " kann so nicht eingerichtet werden.\rSkylet wird beendet.",
                           kProgramName);
  st.os.process.End();
}

void OpenPort(Station& st) {
  platform::SerialPort& port = st.os.MSCat;
  if (port.IsOpen()) return;
  std::string error;
  if (!port.Open(error)) PortFailure(st, error);
}

// Writes a command and waits the CAT delay after it. A write that fails on
// an open port is a failure of the set-up like a port that cannot be opened.
void WriteAndWait(Station& st, const std::string& bytes) {
  if (!bytes.empty() && !st.os.MSCat.Output(bytes)) {
    PortFailure(st, "COM" + std::to_string(st.radio.CatPort) + ": Schreibfehler");
  }
  Wait(st);
}

}  // namespace

void BuildCatCommands(Station& st) {
  RadioState& r = st.radio;
  r.CmdFamily = r.TrxFamily;
  if (r.TrxFamily == "Icom") {
    BuildIcom(r);
  } else if (r.TrxFamily == "Kenwood") {
    BuildKenwood(r);
  } else {
    BuildYaesu(r);
  }
}

void BuildCatCommandsForFamily(Station& st) {
  if (st.radio.TrxFamily != st.radio.CmdFamily) BuildCatCommands(st);
}

void OpenCatLink(Station& st) {
  RadioState& r = st.radio;
  platform::SerialPort& port = st.os.MSCat;
  if (r.CatLinkDone == "+") return;
  r.CatLinkDone = "+";
  // rigctld owns the radio: no serial port of ours.
  if (hamlib::RigOn(st)) return;
  port.SetRTSEnable(false);
  if (r.CatPort < 1) return;

  if (r.TrxFamily == "Kenwood") {
    port.SetCommPort(r.CatPort);
    port.SetRThreshold(0);
    if (r.KenwoodModel == "TS-790") {
      port.SetSettings("4800,N,8,2");
      OpenPort(st);
      WriteAndWait(st, r.CmdSelectTx);
      WriteAndWait(st, r.CmdInit);
      WriteAndWait(st, r.CmdSelectRx);
      WriteAndWait(st, r.CmdInit);
    } else {
      CheckBaud(st, r.KenwoodBaud, settings::kKenwoodParFile);
      // Two stop bits only at 4800 baud. A model other than these two is
      // driven like the TS-2000, without its satellite set-up, so that what
      // is later written to it reaches an open port.
      port.SetSettings(r.KenwoodBaud == "4800" ? "4800,N,8,2" : r.KenwoodBaud + ",N,8,1");
      OpenPort(st);
      if (r.KenwoodModel == "TS-2000") WriteAndWait(st, r.CmdKenwoodSatInit);
    }
  } else if (r.TrxFamily == "Icom") {
    CheckBaud(st, r.IcomBaud, settings::kIcomParFile);
    port.SetCommPort(r.CatPort);
    port.SetSettings(r.IcomBaud + ",N,8,1");
    port.SetRThreshold(0);
    port.SetInputModeBinary(true);
    OpenPort(st);
    if (port.IsOpen() && r.IcomModel == "IC-910H") {
      if (!port.Output(r.CmdIcomSatOn)) {
        PortFailure(st, "COM" + std::to_string(r.CatPort) + ": Schreibfehler");
      }
    }
    Wait(st);
  } else {
    // Yaesu, and a family of none of the three names, which the commands
    // and every send treat as Yaesu too.
    CheckBaud(st, r.YaesuBaud, settings::kYaesuParFile);
    port.SetCommPort(r.CatPort);
    port.SetSettings(r.YaesuBaud + ",N,8,2");
    OpenPort(st);
    WriteAndWait(st, r.CmdCatOff);
    WriteAndWait(st, r.CmdCatOn);
    WriteAndWait(st, r.CmdSatOn);
  }
}

bool CatSwitchOn(Station& st) {
  RadioState& r = st.radio;
  st.main.lblCat.caption = " C+";
  r.CatOn = "+";
  r.LastCatFreq = 0;  // the next record sends its frequencies
  // Hamlib knows no CAT switch: the switch only lets frequencies through.
  if (hamlib::RigOn(st)) return true;
  if (r.DdeCat == "+") return st.os.CatClientConv.Execute(cat_server::kSwitchOn);
  if (r.CatPort > 0) {
    WriteCat(st, r.CmdCatOn);
    Wait(st);
    WriteCat(st, r.CmdSatOn);
    Wait(st);
  }
  return true;
}

bool CatSwitchOff(Station& st) {
  RadioState& r = st.radio;
  st.main.lblCat.caption = " C-";
  r.CatOn = "-";
  if (hamlib::RigOn(st)) return true;
  if (r.DdeCat == "+") return st.os.CatClientConv.Execute(cat_server::kSwitchOff);
  if (r.CatPort > 0) WriteCat(st, r.CmdCatOff);
  return true;
}

}  // namespace skylet::radio
