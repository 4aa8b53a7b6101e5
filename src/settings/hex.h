#pragma once
// Hexadecimal values in the shared settings files. Their first character is
// a marker of the writing program and is ignored, whatever it is.
#include <cstdint>
#include <optional>
#include <string_view>

namespace skylet::settings {

enum class HexByteSpan {
  ToEnd,       // from the second character to the end (Yaesu opcodes)
  TwoDigits,   // exactly the second and third characters (Icom addresses)
};

// The longest run of hexadecimal digits at the start of the span, as a byte.
// No value when the run is empty or the number exceeds 255.
std::optional<uint8_t> ParseHexByte(std::string_view field, HexByteSpan span);

// Everything from the second character on must be hexadecimal digits (1..8
// of them); the number is taken as a signed 32-bit value.
std::optional<int32_t> ParseHexAddress(std::string_view text);

}  // namespace skylet::settings
