#pragma once
// A frequency as the digit strings the radio commands are cut from.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "station/radio_state.h"

namespace skylet::radio {

// The frequency in Hz as ten digits, from kHz formatted "0000000.000"
// without its separator: digit 1 is the GHz, digit 10 the Hz. Nothing for a
// frequency that has no such form (below 0, or 10 GHz and more): a frame
// built from it would tune the radio somewhere else.
std::optional<std::string> TenDigits(double kHz);
// The same with eight whole kHz digits ("00000000.000"): eleven digits,
// below 100 GHz.
std::optional<std::string> ElevenDigits(double kHz);
// The frequency in Hz as all the digits "0000000.000" gives without its
// separator: ten up to 10 GHz, more above, as a text command carries them.
// Nothing below 0 or for a value that is no number.
std::optional<std::string> HzDigits(double kHz);

// Entry `index` of CatBytes := the two characters of `digits` at `position`
// (1-based) read as a hexadecimal number: "45" gives the byte 0x45 (packed
// BCD), "C9" the byte 0xC9.
void PutBcdPair(CatBytes& bytes, int index, std::string_view digits, int position);

}  // namespace skylet::radio
