#pragma once
// One procedure per settings file. Each opens its file in the folder the
// layout names, fills the program's variables (and the dialog lists some
// files feed) and closes it. Problems go to the station's settings report;
// the start-up shows them to the operator in one message.
namespace skylet::app {
struct Station;
}

namespace skylet::settings {

// Shared files in Vantrak's data folder (only read).
inline constexpr const char* kTrxFile = "TRX.SQF";
inline constexpr const char* kSatIniFile = "SatIni.SQF";
inline constexpr const char* kParPortFile = "ParPort.SQF";
inline constexpr const char* kYaesuParFile = "YaesuPar.SQF";
inline constexpr const char* kKenwoodParFile = "KenwoodPar.SQF";
inline constexpr const char* kIcomParFile = "IcomPar.SQF";
inline constexpr const char* kIcomNameFile = "IcomName.SQF";
inline constexpr const char* kStandPosFile = "StandPos.SQF";
inline constexpr const char* kRotorServerFile = "RotorServer.SQF";
inline constexpr const char* kCatServerFile = "CatServer.SQF";
inline constexpr const char* kTransvrtFile = "Transvrt.SQF";
// Own files in Skylet's data folder.
inline constexpr const char* kAvorPathFile = "AvorPath.SQF";
inline constexpr const char* kWindowPosFile = "SkyletPos.SQF";
inline constexpr const char* kIntVCatFile = "DDEIntVCat.SQF";
inline constexpr const char* kParkPosFile = "DDEParkPos.SQF";
// Read and written under this one name, also where file names tell case
// apart.
inline constexpr const char* kStartOptionsFile = "SkyletStart.SQF";
inline constexpr const char* kRotOptionsFile = "DDERotOpt.SQF";

void FindDataFolders(app::Station& st);

void ReadTrxFile(app::Station& st);
void ReadAvorPath(app::Station& st);
void ReadWindowPos(app::Station& st);
void ReadSatIni(app::Station& st);  // with "ParPort.SQF"
void ReadYaesuPar(app::Station& st);
void ReadKenwoodPar(app::Station& st);
void ReadIcomPar(app::Station& st);
void ReadIcomName(app::Station& st);
void ReadIntVCat(app::Station& st);
void ReadParkPos(app::Station& st);
void ReadStartOptions(app::Station& st);  // also applies the rotor and park switches
void ReadRotOptions(app::Station& st);
void ReadStandPos(app::Station& st);
void ReadServerPaths(app::Station& st);
void ReadTransverters(app::Station& st);

// Shows the problems gathered since the last call in one message box, then
// forgets them. Nothing is shown when there were none.
void ReportSettingsProblems(app::Station& st);

}  // namespace skylet::settings
