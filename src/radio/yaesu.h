#pragma once
// Yaesu five-byte frames: four data bytes, then the opcode. The encoders and
// the Yaesu driver, with its model table.
#include <array>
#include <cstdint>
#include <string>
#include <optional>
#include <string_view>

#include "station/radio_state.h"

namespace skylet::radio {
class Driver;
}

namespace skylet::radio::yaesu {

inline constexpr uint8_t kCatOn = 0x00;
inline constexpr uint8_t kCatOff = 0x80;

// Example, satellite mode on for an FT-736R:
//   Frame({0x00, 0x00, 0x00, 0x00}, 0x0E)  ->  00 00 00 00 0E
std::string Frame(const std::array<uint8_t, 4>& data, uint8_t opcode);

std::string CatOn();   // 00 00 00 00 00
std::string CatOff();  // 80 80 80 80 80

// Opcodes of the mode frames: the mode of the receive and of the transmit
// side.
inline constexpr uint8_t kModeRx = 0x17;
inline constexpr uint8_t kModeTx = 0x27;

// Entries 1 to 4 of CatBytes := the frequency, digits 100 MHz down to 10 Hz
// as packed BCD, most significant first; above 1 GHz the hex digit C stands
// for the leading digits "12". Examples: 145.9 MHz gives 14 59 00 00,
// 1296.12345 MHz gives C9 61 23 45, 1269 MHz C6 90 00 00. False, and the
// bytes untouched, for a frequency that has no ten-digit form.
bool PutFrequency(CatBytes& bytes, double kHz);
// The frequency (kHz) a read answers with: its first four bytes as the set
// frame carries them, then the mode byte. Nothing when they are no
// frequency or fewer than five bytes came.
std::optional<double> FrequencyAnswer(std::string_view got);
// The frame of entries 1 to 5: four data bytes, then the opcode.
std::string FrameOf(const CatBytes& bytes);
// The mode byte of a mode name; nothing for a name the radio has no mode for.
std::optional<uint8_t> ModeByte(std::string_view name);

// The driver of a model; a model that is not in the table has the family's
// satellite-on frame. A family of none of the known names is driven as a
// Yaesu too.
const Driver& DriverFor(std::string_view model);

}  // namespace skylet::radio::yaesu
