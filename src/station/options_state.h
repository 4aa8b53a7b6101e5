#pragma once
// Skylet's own options, beyond the documented program: what the dialog
// "Skylet-Optionen" chose and the file "SkyletOptionen.SQF" keeps. Each is a
// switch string ("+" on); with every option off the program is the
// documented one.
#include <string>

namespace skylet::settings {

struct Options {
  // Each satellite's correction kept across runs, by name and kind of
  // transponder. On unless the operator switched it off.
  std::string KorrMerken = "+";
  // On a linear (SSB/CW) pass the radio's receive VFO is read back and a
  // turn of its knob followed by the uplink. Off unless switched on.
  std::string DialFolgen = "-";
  // The traffic's lines appended to one file a day in the folder "Verkehr".
  // Off unless switched on.
  std::string VerkehrDatei = "-";
};

}  // namespace skylet::settings
