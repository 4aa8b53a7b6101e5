#pragma once
// Kenwood text commands: an instruction, its parameters, ";".
#include <string>
#include <optional>
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

// Switches the radio's automatic reports off after the modes were set.
inline constexpr std::string_view kAutoInfoOff = "AI0;";

// Takes the TS-2000 out of satellite mode, as the program leaves it at quit.
inline constexpr std::string_view kTs2000SatelliteOff = "SA0010000;";

// The VFO ("FA" or "FB"), the frequency in Hz as eleven digits, ";".
// Example: FA00145900000; for 145.9 MHz on VFO A. Nothing at 100 GHz and
// more.
std::optional<std::string> FrequencyCommand(std::string_view vfo, double kHz);
// The mode command of a mode name; nothing for a name the radio has no mode
// for.
std::optional<std::string> ModeCommand(std::string_view name);

}  // namespace skylet::radio::kenwood
