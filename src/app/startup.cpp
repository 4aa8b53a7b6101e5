#include "app/startup.h"

#include "app/station.h"
#include "settings/readers.h"
#include "text/format.h"

namespace skylet::app {

using namespace settings;

void Form_Load(Station& st) { StartUp(st); }

void StartUp(Station& st) {
  FindDataFolders(st);
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
  ReadParkPos(st);
  ReadStartOptions(st);
  ReadIntVCat(st);
  ReadStartOptions(st);
  ReadRotOptions(st);
  ReadStandPos(st);
  ReadServerPaths(st);
  ReadTransverters(st);
  // Every settings file has been read: whatever was missing or wrong is told
  // once, naming each file, before the program goes on with empty values.
  ReportSettingsProblems(st);

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

}  // namespace skylet::app
