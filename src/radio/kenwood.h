#pragma once
// Kenwood text commands: an instruction, its parameters, ";".
#include <string>
#include <string_view>

namespace skylet::radio::kenwood {

inline constexpr std::string_view kModeFm = "MD4;";

// The fixed commands of a model. An empty text is a command the model does
// not have; models that are not known have none of them.
struct Commands {
  std::string selectRx;  // before downlink commands
  std::string selectTx;  // before uplink commands
  std::string init;      // after each select at start (TS-790)
  std::string satInit;   // once at start (TS-2000)
};

// `satPar` is the parameter of the satellite-mode command from the settings.
Commands ModelCommands(std::string_view model, std::string_view satPar);

}  // namespace skylet::radio::kenwood
