#pragma once
// The whole program state, grouped by the subsystem that owns it, and the
// platform services it reaches the outside through. One Station lives for
// the whole run and is passed by reference; there is one thread.
#include <string>

#include "platform/alerts.h"
#include "platform/append_file.h"
#include "platform/clock.h"
#include "platform/data_folders.h"
#include "platform/dde_link.h"
#include "platform/file_store.h"
#include "platform/launcher.h"
#include "platform/locale.h"
#include "platform/net_link.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/serial_port.h"
#include "station/hamlib_state.h"
#include "station/options_state.h"
#include "station/radio_state.h"
#include "station/rotor_state.h"
#include "station/paths.h"
#include "station/settings_report.h"
#include "station/tracking_state.h"
#include "forms/ausgabe.h"
#include "forms/cat_steuer.h"
#include "forms/mode.h"
#include "forms/optionen.h"
#include "forms/rotor.h"
#include "forms/sat_setup.h"
#include "forms/verkehr.h"
#include "traffic/day_log.h"
#include "traffic/traffic.h"

namespace skylet {

inline constexpr const char* kProgramName = "Skylet";
inline constexpr const char* kMainCaption = "Skylet  V. 12.8a";

struct Services {
  platform::FileStore& files;
  platform::DataFolders& folders;
  platform::Alerts& alerts;
  platform::Clock& clock;
  platform::Screen& screen;
  platform::Launcher& launcher;
  platform::ProcessControl& process;
  platform::SerialPort& MSCat;  // the radio's serial port
  // The main window's invisible link labels, one DDE conversation each.
  platform::DdeLink& lblDDE;         // tracking program Avor
  platform::DdeLink& RotClientConv;  // rotor server or Arswin
  platform::DdeLink& CatClientConv;  // CAT server
  platform::Locale& locale;
  // Hamlib's network daemons, when the radio or the rotor is driven through
  // them.
  platform::NetLink& rigNet;  // rigctld
  platform::NetLink& rotNet;  // rotctld
  // What went over the links above, recorded as it went; the day's log file.
  traffic::Traffic& traffic;
  platform::AppendFile& trafficFile;
};

struct Station {
  explicit Station(Services s) : os(s), trafficLog(s.trafficFile, s.clock, s.alerts) {}

  Services os;
  traffic::DayLog trafficLog;

  settings::Paths paths;
  settings::StartOptions startOptions;
  settings::Options options;  // Skylet's own, beyond the documented program
  settings::Report settingsReport;
  radio::RadioState radio;
  rotor::RotorState rotor;
  tracking::TrackingState tracking;
  hamlib::HamlibState hamlib;

  forms::AusGabe main;
  forms::Mode mode;
  forms::Rotor rotorForm;
  forms::CatSteuer catSteuer;
  forms::SatSetup setup;
  forms::Optionen optionen;
  forms::Verkehr verkehr;

  std::string StartDone;
  std::string Quitting;
  // Application name of both server links: the program name at the end of
  // the rotor server path.
  std::string ServerName;
  // "+" after a server program could not be started: no "ClientOn" then.
  std::string ServerFailed;
};

}  // namespace skylet
