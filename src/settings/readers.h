#pragma once
// One procedure per settings file. Each opens its file in the folder the
// layout names, fills the program's variables (and the dialog lists some
// files feed) and closes it. Problems go to the station's settings report;
// the start-up shows them to the operator in one message.
namespace skylet {
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
// Without it the radio and the rotor are driven as the other files say.
inline constexpr const char* kHamlibFile = "Hamlib.SQF";
// Skylet's own options; without it each has its default.
inline constexpr const char* kOptionsFile = "SkyletOptionen.SQF";
// The traffic window's place and size (twips) and the links it shows; there
// once the window was opened.
inline constexpr const char* kVerkehrFile = "SkyletVerkehr.SQF";

void FindDataFolders(Station& st);

void ReadTrxFile(Station& st);
void ReadAvorPath(Station& st);
void ReadWindowPos(Station& st);
void ReadSatIni(Station& st);  // with "ParPort.SQF"
void ReadYaesuPar(Station& st);
void ReadKenwoodPar(Station& st);
void ReadIcomPar(Station& st);
void ReadIcomName(Station& st);
void ReadIntVCat(Station& st);
void ReadParkPos(Station& st);
void ReadStartOptions(Station& st);  // also applies the rotor and park switches
void ReadRotOptions(Station& st);
void ReadStandPos(Station& st);
void ReadServerPaths(Station& st);
void ReadTransverters(Station& st);
// For this run and for the setup dialog; ReadHamlibSetup only for the
// dialog, since the choice takes effect at the next start.
void ReadHamlib(Station& st);
void ReadHamlibSetup(Station& st);
// The options, one switch per line; a line a newer or older Skylet did not
// write leaves its option at the default.
void ReadOptions(Station& st);
void ReadVerkehr(Station& st);

// Shows the problems gathered since the last call in one message box, then
// forgets them. Nothing is shown when there were none.
void ReportSettingsProblems(Station& st);

}  // namespace skylet::settings
