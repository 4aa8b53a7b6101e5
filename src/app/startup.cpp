#include "app/startup.h"

#include <functional>
#include <string>

#include "station/station.h"
#include "hamlib/daemon.h"
#include "radio/link_setup.h"
#include "rotor/rotor_link.h"
#include "settings/first_start.h"
#include "settings/korr_file.h"
#include "settings/readers.h"
#include "text/format.h"

namespace skylet::app {

using namespace settings;

namespace {

const platform::DdeLinkTarget kAvorLink{"Avor", "Tracking", "General", 1000};

// Tries `step` again and again, sleeping between tries, until it succeeds
// or `patience` seconds have passed.
bool RetryUntil(Station& st, double patience, const std::function<bool()>& step) {
  const double deadline = st.os.clock.MonotonicSeconds() + patience;
  while (st.os.clock.MonotonicSeconds() < deadline) {
    st.os.clock.SleepMs(kLinkRetryMs);
    if (step()) return true;
  }
  return false;
}

void ServerStartFailure(Station& st, const char* firstLine, const std::string& path) {
  st.ServerFailed = "+";
  st.os.alerts.ShowMessage(std::string(firstLine) + "\rstellen Sie sicher,da\xdf sich " + path +
                               "\r und die ben\xf6tigten Hilfsdateien im Vantrak-Verzeichnis "
                               "befinden.",
                           kProgramName);
}

constexpr const char* kRotorServerFailure = "Fehler beim Laden des Rotor-Serverprogramms,";
constexpr const char* kCatServerFailure = "Fehler beim Laden des Cat-Serverprogramms,";

// One server part of the start-up with its failure path: a step that fails
// starts the server program and is retried. The program is started at most
// once per part (a refusing server is not started again and again), and the
// retries end after a bounded time; then the start counts as failed, and the
// start-up goes on after the failed step.
class ServerPart {
 public:
  ServerPart(Station& st, void (*start)(Station&), const char* failureLine,
             const std::string& path)
      : st_(st), start_(start), failureLine_(failureLine), path_(path) {}

  void Step(const std::function<bool()>& step) {
    if (step()) return;
    // Once the server could not be brought up, a later failing step of the
    // same part is skipped: one message, and no further waiting.
    if (givenUp_) return;
    if (!started_) {
      started_ = true;
      st_.ServerFailed = "-";
      start_(st_);
      if (st_.ServerFailed == "+") {
        givenUp_ = true;
        return;
      }
    }
    if (RetryUntil(st_, kServerPatienceSeconds, step)) return;
    givenUp_ = true;
    ServerStartFailure(st_, failureLine_, path_);
  }

 private:
  Station& st_;
  void (*start_)(Station&);
  const char* failureLine_;
  const std::string& path_;
  bool started_ = false;
  bool givenUp_ = false;
};

// With a rotor interface number below 0 the rotor server is never linked,
// though the start options choose it: the operator learns why the rotor
// does not turn, in the report of the settings files.
void NoteRotorServerWithoutInterface(Station& st) {
  const rotor::RotorState& r = st.rotor;
  if (r.DdeRotor != "+" || r.RotType >= 0 || hamlib::RotOn(st)) return;
  st.settingsReport.Add(st.paths.VantrakDir + kSatIniFile,
                        "Rotor-Interface " + std::to_string(r.RotType) +
                            " (Feld 7) ist unter 0: Skylet verbindet den Rotor-Server nicht, "
                            "der Rotor dreht sich nicht");
}

void RotorServerPart(Station& st) {
  if (st.rotor.DdeRotor != "+" || st.rotor.RotType < 0 || hamlib::RotOn(st)) return;
  const std::string& path = st.paths.RotServer;
  // A path without a folder names a program in the current folder.
  const size_t p = path.rfind('\\');
  st.ServerName = p == std::string::npos ? path : path.substr(p + 1);
  const std::string folder = p == std::string::npos ? std::string() : path.substr(0, p);
  if (st.ServerName == "None") return;

  st.os.launcher.ShellOpen("Open", path, "", folder, platform::ShowCommand::ShowNoActivate);
  st.os.clock.SleepMs(1200);

  ServerPart part(st, &StartRotorServer, kRotorServerFailure, st.paths.RotServer);
  platform::DdeLink& link = st.os.RotClientConv;
  if (rotor::RotorLinkIsArswin(st)) {
    part.Step([&] { return link.Open({st.ServerName, "RCI", "AZIMUTH", 200}); });
    return;
  }
  part.Step([&] { return link.Open({st.ServerName, "RotServConv", "RotServItem", 200}); });
  part.Step([&] { return st.ServerFailed == "+" || link.Execute("ClientOn"); });
}

// The CAT server link and the CAT switch: from here to the end of the
// start-up a failing step starts the CAT server.
void CatServerPartAndSwitch(Station& st) {
  ServerPart part(st, &StartCatServer, kCatServerFailure, st.paths.CatServerPath);
  if (st.radio.DdeCat == "+" && !hamlib::RigOn(st)) {
    platform::DdeLink& link = st.os.CatClientConv;
    part.Step([&] { return link.Open({st.ServerName, "CatServConv", "CatServItem", 50}); });
    part.Step([&] { return st.ServerFailed == "+" || link.Execute("ClientOn"); });
  }
  // With the start option "-" the switch-off runs twice.
  if (st.radio.CatOn == "-") part.Step([&] { return radio::CatSwitchOff(st); });
  if (st.radio.CatOn == "+") {
    part.Step([&] { return radio::CatSwitchOn(st); });
  } else {
    part.Step([&] { return radio::CatSwitchOff(st); });
  }
}

}  // namespace

void Form_Load(Station& st) {
  StartUp(st);
  platform::DdeLink& link = st.os.lblDDE;
  link.Close();
  if (link.Open(kAvorLink)) return;
  StartAvor(st);
  if (RetryUntil(st, kAvorPatienceSeconds, [&] { return link.Open(kAvorLink); })) return;
  // Started, but it never answered: the same end as a start that failed.
  st.os.alerts.ShowMessage("Fehler beim Laden von Avor, Skylet wird beendet!", kProgramName);
  st.os.process.End();
}

void StartUp(Station& st) {
  FindDataFolders(st);
  const bool firstStart = LooksLikeFirstStart(st);
  ReadTrxFile(st);
  st.main.caption = kMainCaption;
  ReadKenwoodPar(st);
  st.StartDone = "-";
  ReadAvorPath(st);
  ReadWindowPos(st);
  ReadSatIni(st);
  ReadYaesuPar(st);
  ReadIcomPar(st);
  ReadIcomName(st);
  ReadKenwoodPar(st);
  radio::BuildCatCommands(st);
  ReadParkPos(st);
  ReadHamlib(st);
  radio::OpenCatLink(st);
  ReadStartOptions(st);
  ReadIntVCat(st);
  ReadStartOptions(st);
  ReadRotOptions(st);
  ReadStandPos(st);
  ReadServerPaths(st);
  ReadTransverters(st);
  ReadOptions(st);
  if (st.options.KorrMerken == "+") settings::ReadKorrFile(st);
  ReadVerkehr(st);
  LogTraffic(st);
  NoteRotorServerWithoutInterface(st);
  if (firstStart) {
    // Every file is missing then: the list would say nothing the message
    // does not.
    st.settingsReport.Clear();
    st.os.alerts.ShowMessage(FirstStartMessage(st), kProgramName);
  }
  ReportSettingsProblems(st);

  RotorServerPart(st);
  CatServerPartAndSwitch(st);
  st.StartDone = "+";
  FinishStartUp(st);
  st.main.Timer1Enabled = true;
}

void FinishStartUp(Station& st) {
  // The value of pi the rotor arithmetic has always used.
  st.rotor.DegToRad = 3.1415928 / 180;
  st.main.lblKorr.text.clear();
  st.main.lblIntV.caption = text::Format(st.radio.IntV, "#####");
  st.Quitting = "-";
}

void LogTraffic(Station& st) {
  st.os.traffic.SetSink(&st.trafficLog);
  st.trafficLog.SetOn(st.options.VerkehrDatei == "+", st.paths.SkyletDir + "Verkehr");
  // Switched on at the start, the day's file gets the start's traffic too.
  if (st.StartDone == "+" || !st.trafficLog.On()) return;
  const traffic::Ring& ring = st.os.traffic.ring();
  for (size_t i = 0; i < ring.Size(); ++i) st.trafficLog.Take(ring.At(i));
}

void StartAvor(Station& st) {
  const platform::StartResult result =
      st.os.launcher.Start(st.paths.AvorPath, platform::ShowCommand::ShowNoActivate);
  if (result == platform::StartResult::Started) return;
  if (result == platform::StartResult::FileNotFound) {
    st.os.alerts.ShowMessage(
        "Avor kann unter dem im File 'AvorPath.SQF' angegebenen Pfad nicht \r"
        "geladen werden. Geben Sie dort den Pfad und als Namen: Avor an.\r"
        "Skylet wird jetzt beendet.",
        kProgramName);
  } else {
    st.os.alerts.ShowMessage("Fehler beim Laden von Avor, Skylet wird beendet!", kProgramName);
  }
  st.os.process.End();
}

void StartRotorServer(Station& st) {
  if (st.os.launcher.Start(st.paths.RotServer, platform::ShowCommand::MinimizedNoFocus) !=
      platform::StartResult::Started) {
    ServerStartFailure(st, kRotorServerFailure, st.paths.RotServer);
  }
}

void StartCatServer(Station& st) {
  if (st.os.launcher.Start(st.paths.CatServerPath, platform::ShowCommand::MinimizedNoFocus) !=
      platform::StartResult::Started) {
    ServerStartFailure(st, kCatServerFailure, st.paths.CatServerPath);
  }
}

}  // namespace skylet::app
