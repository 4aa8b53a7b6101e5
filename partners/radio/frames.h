#pragma once
// What the substitute transceiver makes of the bytes on its CAT line, for
// each of the three command sets: the stream is cut into frames, each frame
// becomes a few events (its raw bytes, then what it set), and for Icom the
// answer a radio on the CI-V bus gives. No Windows here: bytes in, events
// and reply bytes out.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace partners::radio {

enum class Family { Kenwood, Icom, Yaesu };
std::optional<Family> FamilyNamed(std::string_view name);  // "Kenwood", "Icom", "Yaesu"
const char* FamilyName(Family family);

// Receive (downlink) and transmit (uplink) side of the radio.
enum class Side { Rx, Tx };

struct Event {
  enum class Kind {
    Raw,        // text: the frame (hex bytes; Kenwood: its text)
    Frequency,  // side, hz
    Mode,       // side, text: mode name (Icom: with its filter byte)
    Select,     // side, text: band byte for Icom ("D1"), else empty
    Note,       // text: "cat on", "cat off", "satellite on", "satellite off", "unknown"
  };
  Kind kind;
  Side side = Side::Rx;
  long long hz = 0;
  std::string text;
};

// The log line of an event: "raw FE FE 60 E0 05 00 00 90 45 01 FD",
// "freq rx 145900.000" (kHz), "mode tx CW filter 01", "select tx D0", "cat on".
std::string LogLine(const Event& event);
std::string Hex(std::string_view bytes);  // "FE FE 60"
std::string Khz(long long hz);            // "145900.000"

struct DecoderOptions {
  unsigned char icomAddress = 0x60;  // the address it answers with
  // An IC-910H takes the downlink on band D0 and the uplink on D1; the other
  // Icom satellite radios the other way round.
  bool icomRxOnD0 = false;
  unsigned char yaesuTxOpcode = 0x11;  // every other frequency opcode sets receive
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Takes the next bytes of the stream (frames may be split anywhere) and
  // returns the events of the frames they complete. What the radio answers
  // is appended to `reply`.
  virtual std::vector<Event> Feed(std::string_view bytes, std::string& reply) = 0;
  // How the status window names a side: "RX", or "RX D1" for Icom.
  virtual std::string SideName(Side side) const { return side == Side::Rx ? "RX" : "TX"; }
};

std::unique_ptr<Decoder> MakeDecoder(Family family, const DecoderOptions& options);

}  // namespace partners::radio
