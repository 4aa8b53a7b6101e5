#pragma once
// The radio through rigctld: frequencies with "F" (and "I"), VFOs with "V",
// modes with "M" (and "X"). The step test and the converter offsets are the
// caller's, as for the other families.
#include <optional>
#include <string>
#include <string_view>

namespace skylet {
struct Station;
}

namespace skylet::radio::hamlib_rig {

// "F 435800000": the command letter and the frequency in whole Hz, rounded
// as for the other families, 10 GHz and more included; nothing below 0 or
// for a value that is no number.
std::optional<std::string> FrequencyCommand(std::string_view letter, double kHz);
// Hamlib's name for a mode as the tracking program writes it ("FM-N" is
// "FM"); nothing for a mode Hamlib does not know, which is then left as it
// is on the radio.
std::optional<std::string> ModeName(std::string_view mode);

// Downlink to the receive side, uplink (when there is one) to the transmit
// side, in the way the settings choose; the receive side is set last.
bool SendFrequencies(Station& st, double downKHz, std::optional<double> upKHz);
// DownMode and UpMode. When a command fails, the modes stay due and go out
// again before the next frequencies.
bool SendModes(Station& st);

}  // namespace skylet::radio::hamlib_rig
