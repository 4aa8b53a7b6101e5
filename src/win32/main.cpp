// Skylet's entry point: the platform services, the main window, the load
// handler and the message loop.
#include <windows.h>

#include "app/startup.h"
#include "station/station.h"
#include "traffic/recording.h"
#include "win32/win32_append_file.h"
#include "win32/win32_alerts.h"
#include "win32/win32_clock.h"
#include "win32/win32_data_folders.h"
#include "win32/win32_dde_link.h"
#include "win32/win32_file_store.h"
#include "win32/win32_launcher.h"
#include "win32/win32_locale.h"
#include "win32/win32_net_link.h"
#include "win32/form_host.h"
#include "win32/owned.h"
#include "win32/win32_screen.h"
#include "win32/win32_serial_port.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace skylet;
  // A 1 ms scheduler tick, so the short waits between radio commands end on
  // time instead of up to 16 ms late. Ended on every way out.
  win32::TimerPeriod tick(1);

  win32::FileStore files;
  win32::DataFolders folders;
  win32::Alerts alerts;
  win32::Clock clock;
  win32::Screen screen;
  win32::Launcher launcher;
  win32::ProcessControl process;
  win32::SerialPort MSCat;
  win32::DdeClientLink lblDDE;
  win32::DdeClientLink RotClientConv;
  win32::DdeClientLink CatClientConv;
  win32::Locale locale;
  win32::NetLink rigNet;
  win32::NetLink rotNet;
  win32::AppendFile trafficFile;
  // The core reaches every link through its recording twin: each call goes
  // through unchanged and its traffic is recorded after it.
  traffic::Traffic traffic(clock);
  traffic::RecordingAlerts told(alerts, traffic);
  traffic::RecordingSerialPort cat(MSCat, traffic);
  traffic::RecordingDdeLink avor(lblDDE, traffic, traffic::Link::Avor);
  traffic::RecordingDdeLink rotor(RotClientConv, traffic, traffic::Link::Rotor);
  traffic::RecordingDdeLink catServer(CatClientConv, traffic, traffic::Link::CatServer);
  traffic::RecordingNetLink rig(rigNet, traffic, traffic::Link::Rigctld);
  traffic::RecordingNetLink rot(rotNet, traffic, traffic::Link::Rotctld);
  Station st{Services{files, folders, told, clock, screen, launcher, process, cat, avor, rotor, catServer, locale,
                      rig, rot, traffic, trafficFile}};

  win32::FormHost forms(st, alerts, instance);
  if (!forms.Create()) {
    MessageBoxW(nullptr, L"Das Hauptfenster kann nicht angelegt werden.", L"Skylet",
                MB_OK | MB_ICONERROR);
    return 1;
  }
  app::Form_Load(st);
  // The main window shows once its load handler has run.
  st.main.visible = true;
  forms.SyncAll();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // The tab key moves the focus between the controls of a form.
    if (forms.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Ended here, before the links close: their last waits keep the
  // system's own tick.
  tick.Reset();
  return 0;
}
