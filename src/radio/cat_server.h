#pragma once
// Commands to the CAT server program, which drives the radio for us. Each is
// one DDE execute on the CAT link. The encoders and the CAT server's driver.

#include <optional>
#include <string>
#include <string_view>

namespace skylet::radio {
class Driver;
}

namespace skylet::radio::cat_server {

inline constexpr char kSwitchOn[] = "RaOpen";
inline constexpr char kSwitchOff[] = "RaClose";

// "SF" + downlink + " " + uplink, each in kHz formatted "0000000.000" with
// the decimal separator of the user's locale, which the CAT server reads:
// SF0435800.000 0145900.000, or SF0435800,000 0145900,000 under a German
// locale; from 10 GHz on with more whole digits. Nothing when a frequency
// has no such form (below 0, or no number).
std::optional<std::string> FrequencyCommand(double downKHz, double upKHz,
                                            std::string_view separator);
// "SM" + downlink mode + " " + uplink mode.
std::string ModeCommand(std::string_view down, std::string_view up);

// Told when the CAT server refuses the modes; the program ends after it.
inline constexpr const char* kModeFailure = "Fehler bei der Ausgabe an den Catserver,\rstarten Sie Skylet neu.";

const Driver& TheDriver();

}  // namespace skylet::radio::cat_server
