#include "settings/writers.h"

#include <cmath>
#include <string>
#include <vector>

#include "station/station.h"
#include "settings/readers.h"
#include "text/format.h"

namespace skylet::settings {

namespace {

// One value per line, CR LF after each; the file is replaced as a whole.
bool WriteLines(Station& st, const std::string& folder, const char* name,
                const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  const std::string path = folder + name;
  std::string error;
  if (st.os.files.Write(path, bytes, error)) return true;
  st.os.alerts.ShowMessage(path + " kann nicht gespeichert werden:\r" + error +
                              "\rDie bisherige Datei bleibt unver\xe4ndert.",
                          kProgramName);
  return false;
}

}  // namespace

bool SaveWindowPos(Station& st) {
  if (st.main.windowState != forms::WindowState::Normal) return true;
  // The left edge is stored as a 16-bit whole number; a window placed beyond
  // its range (far right on a wide desktop) is stored at the range's edge
  // rather than failing the shutdown.
  double left = text::RoundHalfEven(st.main.Left);
  if (left > 32767) left = 32767;
  if (left < -32768) left = -32768;
  const float top = static_cast<float>(st.main.Top);
  return WriteLines(st, st.paths.SkyletDir, kWindowPosFile,
                    {text::FileNumber(top, 7), text::FileNumber(left)});
}

bool WriteIntVCat(Station& st) {
  return WriteLines(st, st.paths.SkyletDir, kIntVCatFile, {text::FileNumber(st.radio.IntV)});
}

bool SaveParkPos(Station& st) {
  const rotor::RotorState& rot = st.rotor;
  return WriteLines(st, st.paths.SkyletDir, kParkPosFile,
                    {text::FileNumber(rot.ParkAz), text::FileNumber(rot.ParkEl),
                     text::FileNumber(rot.ParkDelay)});
}

bool WriteStartOptions(Station& st) {
  const settings::StartOptions& o = st.startOptions;
  return WriteLines(st, st.paths.SkyletDir, kStartOptionsFile,
                    {o.StartRotor, o.StartCat, o.StartPark, o.SetupDdeRotor, o.SetupDdeCat});
}

bool WriteRotOptions(Station& st) {
  const rotor::RotorState& rot = st.rotor;
  return WriteLines(st, st.paths.SkyletDir, kRotOptionsFile,
                    {rot.RotMode, text::FileNumber(rot.RotIntV), text::FileNumber(rot.MinWin),
                     rot.WinkelOpt});
}

bool WriteHamlib(Station& st) {
  const hamlib::HamlibSettings& h = st.hamlib.setup;
  return WriteLines(st, st.paths.SkyletDir, kHamlibFile,
                    {h.RigOn, h.RigAddress, h.RotOn, h.RotAddress, h.UplinkWay});
}

bool WriteOptions(Station& st) {
  return WriteLines(st, st.paths.SkyletDir, kOptionsFile, {st.options.KorrMerken, st.options.DialFolgen,
                                                               st.options.VerkehrDatei});
}

bool WriteVerkehr(Station& st) {
  const forms::Verkehr& v = st.verkehr;
  std::string links;
  for (const bool shown : v.shown) links += shown ? '+' : '-';
  return WriteLines(st, st.paths.SkyletDir, kVerkehrFile,
                    {text::FileNumber(std::round(v.Left)), text::FileNumber(std::round(v.Top)),
                     text::FileNumber(std::round(v.Width)), text::FileNumber(std::round(v.Height)), links});
}

}  // namespace skylet::settings
