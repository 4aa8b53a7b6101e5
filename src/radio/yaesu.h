#pragma once
// Yaesu five-byte frames: four data bytes, then the opcode.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace skylet::radio::yaesu {

inline constexpr uint8_t kCatOn = 0x00;
inline constexpr uint8_t kCatOff = 0x80;

// Example, satellite mode on for an FT-736R:
//   Frame({0x00, 0x00, 0x00, 0x00}, 0x0E)  ->  00 00 00 00 0E
std::string Frame(const std::array<uint8_t, 4>& data, uint8_t opcode);

std::string CatOn();   // 00 00 00 00 00
std::string CatOff();  // 80 80 80 80 80
std::string SatelliteOn(std::string_view model);

}  // namespace skylet::radio::yaesu
