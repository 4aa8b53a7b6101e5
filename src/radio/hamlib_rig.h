#pragma once
// The radio through rigctld: frequencies with "F" (and "I"), modes with "M"
// (and "X"), each naming its VFO where the daemon takes it, otherwise behind
// a "V". The encoders and rigctld's driver.
#include <optional>
#include <string>
#include <string_view>

namespace skylet::radio {
class Driver;
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

// No CAT switch of its own: the switch only lets frequencies through. The
// step test and the converter offsets apply as for the other ways; each
// command waits for its answer instead of the CAT wait.
const Driver& TheDriver();

}  // namespace skylet::radio::hamlib_rig
