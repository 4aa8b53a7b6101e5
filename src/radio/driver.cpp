#include "radio/driver.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "hamlib/daemon.h"
#include "radio/cat_server.h"
#include "radio/cat_wait.h"
#include "radio/hamlib_rig.h"
#include "radio/link_health.h"
#include "radio/yaesu.h"
#include "settings/readers.h"
#include "settings/settings_file.h"
#include "station/station.h"
#include "text/format.h"

namespace skylet::radio {

const Driver& FamilyDriver(const Station& st) {
  // Before any command strings were built the radio is driven as a Yaesu,
  // like a family of none of the known names.
  return st.radio.family ? *st.radio.family : yaesu::DriverFor("");
}

const Driver& Way(const Station& st) {
  if (hamlib::RigOn(st)) return hamlib_rig::TheDriver();
  if (st.radio.DdeCat == "+") return cat_server::TheDriver();
  return FamilyDriver(st);
}

void Wait(Station& st) { CatWait(st.os.clock, st.radio.CatDelay); }

// An uplink of 0, or a band below the converter, goes out as it is.
double WithOffset(double kHz, double offset) { return kHz > offset ? kHz - offset : kHz; }

// A change smaller than the step sends nothing; one equal to it is sent.
void Sent(Station& st, double CatRefFreq, double dn) {
  RadioState& r = st.radio;
  r.LastCatFreq = CatRefFreq;
  r.dial.lastRxKHz = WithOffset(dn, r.RxOffset);
}

bool StepReached(Station& st, double CatRefFreq) {
  const RadioState& r = st.radio;
  return !(r.IntV / 1000 > std::fabs(CatRefFreq - r.LastCatFreq));
}

// What a negative offset would make of an uplink of 0 must not stop the
// downlink.
bool FrequenciesFit(Station& st, double down, double up, double upl, FitsCommands fits) {
  for (double kHz : {down, up == 0 ? 0.0 : upl}) {
    if (fits(kHz)) continue;
    CatLinkFailed(st, "Die Frequenz " + text::DecimalText(kHz) +
                          " kHz passt nicht in die Befehle des Transceivers;\r"
                          "ein Konverter-Offset (Men\xfc \"Mode\") bringt sie in seinen Bereich.");
    return false;
  }
  return true;
}

bool SerialDriver::CatOn(Station& st) const {
  RadioState& r = st.radio;
  if (r.CatPort > 0) {
    WriteCat(st, r.CmdCatOn);
    Wait(st);
    WriteCat(st, r.CmdSatOn);
    Wait(st);
  }
  return true;
}

bool SerialDriver::CatOff(Station& st) const {
  if (st.radio.CatPort > 0) WriteCat(st, st.radio.CmdCatOff);
  return true;
}

std::optional<double> AskRadio(Station& st, const std::string& query, const AnswerReader& answer) {
  platform::SerialPort& port = st.os.MSCat;
  platform::Clock& clock = st.os.clock;
  port.DiscardInput();
  if (!port.Output(query)) return std::nullopt;
  const double deadline = clock.MonotonicSeconds() + std::max(3 * st.radio.CatDelay, kReplyWaitSeconds);
  std::string got;
  while (true) {
    got += port.Input();
    if (std::optional<double> value = answer(got)) return value;
    if (clock.MonotonicSeconds() > deadline) return std::nullopt;
    clock.SleepMs(1);
  }
}

void SerialDriver::SendFrequencies(Station& st, double dn, double up) const {
  RadioState& r = st.radio;
  if (r.CatPort < 1) return;
  const double CatRefFreq = dn > up ? dn : up;
  if (!StepReached(st, CatRefFreq)) return;
  if (!std::exchange(r.dial.answeredJustNow, false)) Wait(st);
  // A send that failed part way leaves LastCatFreq, so the next record
  // sends again.
  if (SendPair(st, WithOffset(dn, r.RxOffset), up, WithOffset(up, r.TxOffset))) Sent(st, CatRefFreq, dn);
}

void SerialDriver::SendModes(Station& st) const {
  RadioState& r = st.radio;
  r.modesDue = false;
  if (r.CatPort < 1) return;
  // A radio left in the last satellite's modes would be wrong for the whole
  // pass: the modes go out again with the next record.
  r.modesDue = !SetModes(st, st.tracking.DownMode, st.tracking.UpMode);
}

namespace {

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

}  // namespace

// An empty or zero baud rate would open the port at whatever the system
// keeps, and the radio would hear nothing it understands; the operator is
// told which file to mend, and the start ends like any port that cannot be
// set up.
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

void WriteOrEnd(Station& st, const std::string& bytes) {
  if (!bytes.empty() && !st.os.MSCat.Output(bytes)) {
    PortFailure(st, "COM" + std::to_string(st.radio.CatPort) + ": Schreibfehler");
  }
}

void WriteAndWait(Station& st, const std::string& bytes) {
  WriteOrEnd(st, bytes);
  Wait(st);
}

}  // namespace skylet::radio
