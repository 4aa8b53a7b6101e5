#pragma once
// Icom CI-V frames: FE FE, the radio's address, the controller's address E0,
// a command with its data, FD. The encoders and the Icom driver, with its
// model table.
#include <cstdint>
#include <string>
#include <optional>
#include <string_view>

#include "station/radio_state.h"

namespace skylet::radio {
class Driver;
}

namespace skylet::radio::icom {

inline constexpr uint8_t kController = 0xE0;  // this program's own CI-V address

// Commands (the byte after the two addresses).
inline constexpr uint8_t kReadFrequency = 0x03;
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
// The frequency (kHz) of the first whole answer to a frequency read that the
// radio at `from` sent the controller, in what came: the query's own echo,
// the radio's transceive reports (sent to 00) and other radios' frames on
// the bus are passed over. Nothing when there is none.
std::optional<double> FrequencyAnswer(std::string_view got, uint8_t from);
std::string ModeCommand(uint8_t to, uint8_t mode);
std::string SatelliteMode(uint8_t to, bool on);

// The radio's address in a frame: the third byte. A frame too short to hold
// one is left as it is.
void SetAddress(std::string& frame, uint8_t address);
// After a frequency frame the radio's echo of it and its FB answer are 17
// bytes: more than this many waiting means the radio has answered.
inline constexpr int kAnswerBytes = 16;

// Entries 6 to 10 of CatBytes := the frequency as five packed BCD bytes,
// least significant first (10 Hz/1 Hz, 1 kHz/100 Hz, 100 kHz/10 kHz,
// 10 MHz/1 MHz, 1 GHz/100 MHz). Example: 145.9 MHz gives 00 00 90 45 01, so
// the whole frame to address 60 is FE FE 60 E0 05 00 00 90 45 01 FD. False,
// and the bytes untouched, at 10 GHz and more.
bool PutFrequency(CatBytes& bytes, double kHz);
// The frequency prefix (FE FE address E0 05), entries 6 to 10, FD.
std::string FrequencyFrame(std::string_view prefix, const CatBytes& bytes);
// A mode name applied to the mode command: the mode byte (byte 6) is
// replaced; "CW" and "CW-N" rebuild the command from the mode prefix with
// the filter byte 01, which later names keep. A name the radio has no mode
// for leaves the command as it is.
void ApplyMode(std::string& command, std::string_view modePrefix, std::string_view name);

// The driver of a model; a model that is not in the table gets the family's
// band selects and no satellite switch.
const Driver& DriverFor(std::string_view model);

}  // namespace skylet::radio::icom
