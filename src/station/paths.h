#pragma once
// Folders and program paths the settings files name.
#include <string>

namespace skylet::settings {

struct Paths {
  std::string AppPath;     // folder of the program, no trailing backslash
  std::string VantrakDir;  // ends with a backslash, or empty
  std::string SkyletDir;   // ends with a backslash, or empty
  std::string AvorPath;
  std::string RotServer;
  std::string CatServerPath;
};

// The start options as the setup dialog shows and edits them; the running
// program tests the live switches instead.
struct StartOptions {
  std::string StartRotor;
  std::string StartCat;
  std::string StartPark;
  std::string SetupDdeRotor;
  std::string SetupDdeCat;
  // A server choice stored while its link does not exist is told once per
  // run: it takes effect at the next start.
  bool rotorServerToldNextStart = false;
  bool catServerToldNextStart = false;
};

}  // namespace skylet::settings
