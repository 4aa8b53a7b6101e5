#include "radio/link_setup.h"

#include <string>

#include "station/station.h"
#include "radio/cat_wait.h"
#include "settings/readers.h"

namespace skylet::radio {

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

constexpr int kController = 0xE0;  // the program's own CI-V address

void Wait(Station& st) { CatWait(st.os.clock, st.radio.CatDelay); }

void BuildIcom(RadioState& r) {
  const int rx = r.IcomRxAddr, tx = r.IcomTxAddr, a = r.IcomCmdAddr;
  if (r.IcomModel == "IC-910H") {
    // The IC-910H selects the band at the other side's address: downlink
    // commands go after band D0 at the uplink address, and the reverse.
    r.CmdSelectRx = Bytes({0xFE, 0xFE, tx, kController, 0x07, 0xD0, 0xFD});
    r.CmdSelectTx = Bytes({0xFE, 0xFE, rx, kController, 0x07, 0xD1, 0xFD});
  } else {
    r.CmdSelectRx = Bytes({0xFE, 0xFE, rx, kController, 0x07, 0xD1, 0xFD});
    r.CmdSelectTx = Bytes({0xFE, 0xFE, tx, kController, 0x07, 0xD0, 0xFD});
  }
  r.CmdMode = Bytes({0xFE, 0xFE, a, kController, 0x06, 0x05, 0xFD});
  r.IcomModePrefix = Bytes({0xFE, 0xFE, a, kController, 0x06});
  r.IcomFreqPrefix = Bytes({0xFE, 0xFE, a, kController, 0x05});
  r.CmdIcomSatOn = Bytes({0xFE, 0xFE, a, kController, 0x1A, 0x07, 0x01, 0xFD});
  r.CmdIcomSatOff = Bytes({0xFE, 0xFE, a, kController, 0x1A, 0x07, 0x00, 0xFD});
}

void BuildKenwood(RadioState& r) {
  if (r.KenwoodModel == "TS-790") {
    r.CmdSelectRx = "DC1;";
    r.CmdSelectTx = "DC0;";
    r.CmdInit = "FN0;";
  } else if (r.KenwoodModel == "TS-2000") {
    r.CmdSelectRx = "SA1" + r.KenwoodSatPar + "10000;";
    r.CmdSelectTx = "SA1" + r.KenwoodSatPar + "11000;";
    r.CmdKenwoodSatInit = r.CmdSelectRx;
  }
  r.CmdMode = "MD4;";
}

void BuildYaesu(RadioState& r) {
  r.CmdCatOn = Bytes({0x00, 0x00, 0x00, 0x00, 0x00});
  r.CmdSatOn = Bytes({0x00, 0x00, 0x00, 0x00, r.YaesuModel == "FT-736R" ? 0x0E : 0x4E});
  r.CmdCatOff = Bytes({0x80, 0x80, 0x80, 0x80, 0x80});
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
  if (r.TrxFamily == "Icom") {
    BuildIcom(r);
  } else if (r.TrxFamily == "Kenwood") {
    BuildKenwood(r);
  } else {
    BuildYaesu(r);
  }
}

void OpenCatLink(Station& st) {
  RadioState& r = st.radio;
  platform::SerialPort& port = st.os.MSCat;
  if (r.CatLinkDone == "+") return;
  r.CatLinkDone = "+";
  port.SetRTSEnable(false);
  if (r.CatPort < 1) return;

  if (r.TrxFamily == "Yaesu") {
    port.SetCommPort(r.CatPort);
    port.SetSettings(r.YaesuBaud + ",N,8,2");
    OpenPort(st);
    WriteAndWait(st, r.CmdCatOff);
    WriteAndWait(st, r.CmdCatOn);
    WriteAndWait(st, r.CmdSatOn);
  } else if (r.TrxFamily == "Kenwood") {
    port.SetCommPort(r.CatPort);
    port.SetRThreshold(0);
    if (r.KenwoodModel == "TS-790") {
      port.SetSettings("4800,N,8,2");
      OpenPort(st);
      WriteAndWait(st, r.CmdSelectTx);
      WriteAndWait(st, r.CmdInit);
      WriteAndWait(st, r.CmdSelectRx);
      WriteAndWait(st, r.CmdInit);
    } else if (r.KenwoodModel == "TS-2000") {
      // Two stop bits only at 4800 baud.
      port.SetSettings(r.KenwoodBaud == "4800" ? "4800,N,8,2" : r.KenwoodBaud + ",N,8,1");
      OpenPort(st);
      WriteAndWait(st, r.CmdKenwoodSatInit);
    }
  } else if (r.TrxFamily == "Icom") {
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
  }
}

bool CatSwitchOn(Station& st) {
  RadioState& r = st.radio;
  st.main.lblCat.caption = " C+";
  r.CatOn = "+";
  r.LastCatFreq = 0;  // the next record sends its frequencies
  if (r.DdeCat == "+") return st.os.CatClientConv.Execute("RaOpen");
  if (r.CatPort > 0) {
    if (!r.CmdCatOn.empty()) st.os.MSCat.Output(r.CmdCatOn);
    Wait(st);
    if (!r.CmdSatOn.empty()) st.os.MSCat.Output(r.CmdSatOn);
    Wait(st);
  }
  return true;
}

bool CatSwitchOff(Station& st) {
  RadioState& r = st.radio;
  st.main.lblCat.caption = " C-";
  r.CatOn = "-";
  if (r.DdeCat == "+") return st.os.CatClientConv.Execute("RaClose");
  if (r.CatPort > 0 && !r.CmdCatOff.empty()) st.os.MSCat.Output(r.CmdCatOff);
  return true;
}

}  // namespace skylet::radio
