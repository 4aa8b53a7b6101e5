#pragma once
// What the substitute transceiver makes of the bytes on its CAT line, for
// each of the three command sets: the stream is cut into frames, each frame
// becomes a few events (its raw bytes, then what it set or was asked), and
// the radio answers what a radio of the family answers: the CI-V bus's
// echo and acknowledgement for Icom, and a frequency query with the value
// its VFO holds. The receive VFO can also be turned as with the radio's own
// dial. No Windows here: bytes in, events and reply bytes out.
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
    Read,       // side, hz: a query answered with that side's frequency
    Dial,       // hz: the receive frequency the dial was turned to
  };
  Kind kind;
  Side side = Side::Rx;
  long long hz = 0;
  std::string text;
};

// The log line of an event: "raw FE FE 60 E0 05 00 00 90 45 01 FD",
// "freq rx 145900.000" (kHz), "mode tx CW filter 01", "select tx D0", "cat on",
// "read rx 435800.000", "dial 435800100" (Hz).
std::string LogLine(const Event& event);
std::string Hex(std::string_view bytes);  // "FE FE 60"
std::string Khz(long long hz);            // "145900.000"

struct DecoderOptions {
  unsigned char icomAddress = 0x60;  // the address it answers with
  // An IC-910H takes the downlink on band D0 and the uplink on D1; the other
  // Icom satellite radios the other way round.
  bool icomRxOnD0 = false;
  unsigned char yaesuTxOpcode = 0x11;  // every other frequency opcode sets receive
  // A radio without a read (the FT-736R) ignores frequency queries: nothing
  // answered, nothing set.
  bool answersQueries = true;
};

// What a side holds, as the window shows it.
struct Vfo {
  long long hz = 0;
  std::string mode;
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Takes the next bytes of the stream (frames may be split anywhere) and
  // returns the events of the frames they complete. What the radio answers
  // is appended to `reply`.
  virtual std::vector<Event> Feed(std::string_view bytes, std::string& reply) = 0;
  // The radio's own dial: the receive frequency moves by `hz` (not below 0).
  // The radio tells nobody; the next query reads the new value, and the
  // next frequency set replaces it.
  Event Turn(long long hz);
  // Before anything is set, a radio just switched on: receive 435.000 MHz
  // LSB, transmit 145.900 MHz USB.
  const Vfo& Now(Side side) const { return vfos_[side == Side::Rx ? 0 : 1]; }
  // How the status window names a side: "RX", or "RX D1" for Icom.
  virtual std::string SideName(Side side) const { return side == Side::Rx ? "RX" : "TX"; }

 protected:
  // Each frequency and mode set goes through these, so that queries and the
  // dial see it.
  Event SetFrequency(Side side, long long hz);
  Event SetMode(Side side, std::string name);

 private:
  Vfo vfos_[2] = {{435'000'000, "LSB"}, {145'900'000, "USB"}};
};

std::unique_ptr<Decoder> MakeDecoder(Family family, const DecoderOptions& options);

}  // namespace partners::radio
