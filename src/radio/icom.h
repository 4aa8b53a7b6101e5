#pragma once
// Icom CI-V frames: FE FE, the radio's address, the controller's address E0,
// a command with its data, FD. Pure encoders; the writing and the waits are
// the callers'.
#include <cstdint>
#include <string>
#include <string_view>

namespace skylet::radio::icom {

inline constexpr uint8_t kController = 0xE0;  // this program's own CI-V address

// Commands (the byte after the two addresses).
inline constexpr uint8_t kSetFrequency = 0x05;
inline constexpr uint8_t kSetMode = 0x06;
inline constexpr uint8_t kSelectBand = 0x07;
inline constexpr uint8_t kSettings = 0x1A;

inline constexpr uint8_t kModeFm = 0x05;

// A whole frame to the radio at `to`; the payload is the command byte and its
// data. Example, satellite mode on for the radio at address 60:
//   Frame(0x60, Bytes({0x1A, 0x07, 0x01}))  ->  FE FE 60 E0 1A 07 01 FD
std::string Frame(uint8_t to, std::string_view payload);

// The open start of a frame, FE FE to E0 command, which the frequency and
// mode writers complete with their data and FD.
std::string Prefix(uint8_t to, uint8_t command);

std::string SelectBand(uint8_t to, uint8_t band);
std::string ModeCommand(uint8_t to, uint8_t mode);
std::string SatelliteMode(uint8_t to, bool on);

// The band selects written before downlink and before uplink commands, for
// the model and the CI-V addresses of the downlink and uplink radio.
struct BandSelects {
  std::string beforeDownlink;
  std::string beforeUplink;
};
BandSelects SelectCommands(std::string_view model, uint8_t rxAddr, uint8_t txAddr);

}  // namespace skylet::radio::icom
