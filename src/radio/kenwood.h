#pragma once
// Kenwood text commands: an instruction, its parameters, ";". The encoders
// and the Kenwood driver, with its model table.
#include <optional>
#include <string>
#include <string_view>

namespace skylet::radio {
class Driver;
}

namespace skylet::radio::kenwood {

inline constexpr std::string_view kModeFm = "MD4;";

// Switches the radio's automatic reports off after the modes were set.
inline constexpr std::string_view kAutoInfoOff = "AI0;";

// The VFO ("FA" or "FB"), the frequency in Hz as eleven digits, ";".
// Example: FA00145900000; for 145.9 MHz on VFO A. Nothing at 100 GHz and
// more.
std::optional<std::string> FrequencyCommand(std::string_view vfo, double kHz);
// Asks for VFO A; the radio answers as it is set: FA, eleven digits of Hz, ";".
inline constexpr std::string_view kReadVfoA = "FA;";
// The frequency (kHz) of the first whole VFO A answer in what came, or
// nothing.
std::optional<double> FrequencyAnswer(std::string_view got);
// The mode command of a mode name; nothing for a name the radio has no mode
// for.
std::optional<std::string> ModeCommand(std::string_view name);

// The driver of a model; a model that is not in the table is driven like
// the TS-2000 without its satellite set-up.
const Driver& DriverFor(std::string_view model);

}  // namespace skylet::radio::kenwood
