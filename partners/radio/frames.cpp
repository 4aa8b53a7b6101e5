#include "radio/frames.h"

#include <algorithm>
#include <cstdio>

namespace partners::radio {
namespace {

using Kind = Event::Kind;

// Ten digits of Hz: the most any of the three command sets carries.
constexpr long long kMaxHz = 9'999'999'999;

Event Raw(std::string text) { return {Kind::Raw, Side::Rx, 0, std::move(text)}; }
Event Note(std::string text) { return {Kind::Note, Side::Rx, 0, std::move(text)}; }
Event Read(Side side, long long hz) { return {Kind::Read, side, hz, {}}; }
Event Select(Side side, std::string band = {}) { return {Kind::Select, side, 0, std::move(band)}; }

std::string HexByte(unsigned char byte) {
  char text[4];
  std::snprintf(text, sizeof(text), "%02X", byte);
  return text;
}

int Index(Side side) { return side == Side::Rx ? 0 : 1; }

// Kenwood: text commands, each ended by ';'. The TS-790 switches between its
// main (receive) and sub (transmit) band with DC1/DC0, and FA then sets the
// band switched to; the TS-2000 has VFO A for receive and FB for transmit,
// and its satellite command SA...10000/11000 only says which side the next
// MD sets. A command without its value asks for it: FA; and FB; are
// answered with the frequency that VFO holds, IF; with the receive
// frequency, mode and the transmit flag.
class KenwoodDecoder : public Decoder {
 public:
  explicit KenwoodDecoder(const DecoderOptions& options) : options_(options) {}

  std::vector<Event> Feed(std::string_view bytes, std::string& reply) override {
    std::vector<Event> events;
    for (const char c : bytes) {
      if (c != ';') {
        // Line ends between commands are not part of them.
        if (!pending_.empty() || (c != '\r' && c != '\n')) pending_ += c;
        // A stream without ';' is noise; do not let it grow.
        if (pending_.size() > 64) pending_.clear();
        continue;
      }
      events.push_back(Raw(pending_ + ';'));
      Decode(pending_, events, reply);
      pending_.clear();
    }
    return events;
  }

 private:
  static std::optional<long long> Digits(std::string_view text) {
    long long value = 0;
    for (const char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    return value;
  }

  static std::string ModeName(std::string_view code) {
    if (code == "1") return "LSB";
    if (code == "2") return "USB";
    if (code == "3") return "CW";
    if (code == "4") return "FM";
    if (code == "7") return "CW-N";
    return "MD" + std::string(code);
  }

  static std::string ElevenDigits(long long hz) {
    char text[16];
    std::snprintf(text, sizeof(text), "%011lld", hz);
    return text;
  }

  void Decode(std::string_view command, std::vector<Event>& events, std::string& reply) {
    const std::string_view name = command.substr(0, 2);
    const std::string_view rest = command.size() > 2 ? command.substr(2) : std::string_view();
    const auto ends = [&](std::string_view tail) {
      return rest.size() > tail.size() && rest.substr(rest.size() - tail.size()) == tail;
    };
    const bool query = options_.answersQueries;
    if ((name == "FA" || name == "FB") && rest.size() == 11 && Digits(rest)) {
      events.push_back(SetFrequency(name == "FB" ? Side::Tx : frequencySide_, *Digits(rest)));
    } else if ((command == "FA" || command == "FB") && query) {
      const Side side = name == "FB" ? Side::Tx : frequencySide_;
      reply += std::string(name) + ElevenDigits(Now(side).hz) + ';';
      events.push_back(Read(side, Now(side).hz));
    } else if (command == "IF" && query) {
      // The TS-2000's layout: the frequency, five blanks, the RIT/XIT offset
      // and its two switches, the memory channel, then at offset 28 the
      // transmit flag (this radio never transmits), the mode, VFO A, no scan,
      // no split, no tone, the tone number and a last blank.
      const long long hz = Now(Side::Rx).hz;
      reply += "IF" + ElevenDigits(hz) + "     +0000000000" + rxModeCode_ + "000000 ;";
      events.push_back(Read(Side::Rx, hz));
    } else if (command == "DC1" || command == "DC0") {
      frequencySide_ = modeSide_ = command == "DC1" ? Side::Rx : Side::Tx;
      events.push_back(Select(modeSide_));
    } else if (name == "SA" && rest.starts_with('1') && (ends("10000") || ends("11000"))) {
      modeSide_ = ends("10000") ? Side::Rx : Side::Tx;
      events.push_back(Select(modeSide_));
    } else if (name == "MD" && rest.size() == 1) {
      if (modeSide_ == Side::Rx) rxModeCode_ = rest[0];
      events.push_back(SetMode(modeSide_, ModeName(rest)));
    } else if (command != "FN0" && command != "AI0") {
      events.push_back(Note("unknown"));
    }
  }

  DecoderOptions options_;
  std::string pending_;
  Side frequencySide_ = Side::Rx;
  Side modeSide_ = Side::Rx;
  char rxModeCode_ = '1';  // MD's digit, for IF
};

// Icom CI-V: FE FE <to> <from> <command> [data] FD on a bus every radio and
// the controller share. The band select (07 D0/D1) says which side the
// following frequency (05) and mode (06) frames set. The frequency query 03
// reads the receive band, whichever band is selected.
class IcomDecoder : public Decoder {
 public:
  explicit IcomDecoder(const DecoderOptions& options) : options_(options) {}

  std::vector<Event> Feed(std::string_view bytes, std::string& reply) override {
    std::vector<Event> events;
    for (const char c : bytes) {
      const auto byte = static_cast<unsigned char>(c);
      if (frame_.empty()) {
        if (byte == 0xFE) frame_ += c;  // bytes between frames are noise
      } else if (frame_.size() == 1) {
        if (byte == 0xFE) {
          frame_ += c;
        } else {
          frame_.clear();
        }
      } else if (byte == 0xFE) {
        // A longer preamble, or a frame that was cut off by the next one.
        if (frame_.size() > 2) frame_.assign(2, '\xFE');
      } else {
        frame_ += c;
        if (byte == 0xFD) {
          Complete(events, reply);
        } else if (frame_.size() > 64) {
          frame_.clear();
        }
      }
    }
    return events;
  }

  std::string SideName(Side side) const override {
    const bool d0 = (side == Side::Rx) == options_.icomRxOnD0;
    return std::string(side == Side::Rx ? "RX" : "TX") + (d0 ? " D0" : " D1");
  }

 private:
  static std::string ModeName(unsigned char code) {
    switch (code) {
      case 0x00: return "LSB";
      case 0x01: return "USB";
      case 0x03: return "CW";
      case 0x05: return "FM";
      default: return HexByte(code);
    }
  }

  // Five bytes, least significant first, two decimal digits each:
  // 00 00 90 45 01 is 145900000 Hz.
  static std::optional<long long> Bcd(std::string_view data) {
    long long hz = 0;
    for (size_t i = data.size(); i-- > 0;) {
      const auto byte = static_cast<unsigned char>(data[i]);
      if ((byte >> 4) > 9 || (byte & 0x0F) > 9) return std::nullopt;
      hz = hz * 100 + (byte >> 4) * 10 + (byte & 0x0F);
    }
    return hz;
  }

  static std::string Bcd(long long hz) {
    std::string data;
    for (int i = 0; i < 5; ++i, hz /= 100) {
      data += static_cast<char>((hz / 10 % 10) << 4 | hz % 10);
    }
    return data;
  }

  // False for a frame it does not understand. A query's answer (its
  // command and data) goes to `answer`.
  bool Decode(unsigned char command, std::string_view data, std::vector<Event>& events,
              std::string& answer) {
    const auto at = [&](size_t i) { return static_cast<unsigned char>(data[i]); };
    if (command == 0x05 && data.size() == 5 && Bcd(data)) {
      events.push_back(SetFrequency(selected_, *Bcd(data)));
    } else if (command == 0x03 && data.empty() && options_.answersQueries) {
      const long long hz = Now(Side::Rx).hz;
      answer = '\x03' + Bcd(hz);
      events.push_back(Read(Side::Rx, hz));
    } else if (command == 0x07 && data.size() == 1 && (at(0) == 0xD0 || at(0) == 0xD1)) {
      selected_ = (at(0) == 0xD0) == options_.icomRxOnD0 ? Side::Rx : Side::Tx;
      events.push_back(Select(selected_, HexByte(at(0))));
    } else if (command == 0x06 && (data.size() == 1 || data.size() == 2)) {
      events.push_back(SetMode(selected_, ModeName(at(0)) +
                                              (data.size() == 2 ? " filter " + HexByte(at(1)) : "")));
    } else if (command == 0x1A && data.size() == 2 && at(0) == 0x07 && at(1) <= 0x01) {
      events.push_back(Note(at(1) ? "satellite on" : "satellite off"));
    } else {
      events.push_back(Note("unknown"));
      return false;
    }
    return true;
  }

  void Complete(std::vector<Event>& events, std::string& reply) {
    const std::string frame = std::move(frame_);
    frame_.clear();
    events.push_back(Raw(Hex(frame)));
    if (frame.size() < 6) {  // no room for both addresses and a command
      events.push_back(Note("unknown"));
      return;
    }
    const std::string_view data = std::string_view(frame).substr(5, frame.size() - 6);
    std::string answer;
    const bool understood = Decode(static_cast<unsigned char>(frame[4]), data, events, answer);
    if (answer.empty()) answer = understood ? '\xFB' : '\xFA';
    // The sender hears its own frame on the bus, then the radio's answer to
    // it, addressed back to the sender: FB (done), FA (not understood) or
    // what it asked for.
    reply += frame;
    reply += {'\xFE', '\xFE', frame[3], static_cast<char>(options_.icomAddress)};
    reply += answer + '\xFD';
  }

  DecoderOptions options_;
  std::string frame_;
  Side selected_ = Side::Rx;
};

// Yaesu: five bytes, four data bytes and the opcode last, with nothing to
// find a frame's start by: the stream is counted off in fives from its first
// byte. The FT-847 reads its main VFO with opcode 03 and, in satellite mode,
// the receive side with 13 and the transmit side with 23; the answer is the
// frequency as a set carries it and the mode byte. Here 03 and 13 both read
// the receive side.
class YaesuDecoder : public Decoder {
 public:
  explicit YaesuDecoder(const DecoderOptions& options) : options_(options) {}

  std::vector<Event> Feed(std::string_view bytes, std::string& reply) override {
    std::vector<Event> events;
    for (const char c : bytes) {
      frame_ += c;
      if (frame_.size() < 5) continue;
      events.push_back(Raw(Hex(frame_)));
      Decode(frame_, events, reply);
      frame_.clear();
    }
    return events;
  }

 private:
  static std::string ModeName(unsigned char code) {
    switch (code) {
      case 0x00: return "LSB";
      case 0x01: return "USB";
      case 0x02: return "CW";
      case 0x08: return "FM";
      case 0x82: return "CW-N";
      case 0x88: return "FM-N";
      default: return HexByte(code);
    }
  }

  // Four packed-BCD bytes, most significant first, 100 MHz down to 10 Hz.
  // Above 1 GHz the first nibble is C and stands for the two leading digits
  // "12": C6 90 00 00 is 1269.000 MHz, 14 59 00 00 is 145.900 MHz.
  static std::optional<long long> Bcd(std::string_view data) {
    long long tens = 0;  // in 10 Hz
    for (size_t i = 0; i < 8; ++i) {
      const auto byte = static_cast<unsigned char>(data[i / 2]);
      const int digit = i % 2 ? byte & 0x0F : byte >> 4;
      if (i == 0 && digit == 0x0C) {
        tens = 12;
      } else if (digit > 9) {
        return std::nullopt;
      } else {
        tens = tens * 10 + digit;
      }
    }
    return tens * 10;
  }

  static std::string Bcd(long long hz) {
    long long tens = hz / 10;
    int digits = 8;
    std::string data(4, '\0');
    if (tens >= 120'000'000 && tens < 130'000'000) {
      data[0] = '\xC0';
      tens -= 120'000'000;
      digits = 7;
    }
    for (int i = 7; i >= 8 - digits; --i, tens /= 10) {
      data[i / 2] = static_cast<char>(data[i / 2] | (tens % 10) << (i % 2 ? 0 : 4));
    }
    return data;
  }

  void Decode(std::string_view frame, std::vector<Event>& events, std::string& reply) {
    const auto opcode = static_cast<unsigned char>(frame[4]);
    const auto first = static_cast<unsigned char>(frame[0]);
    if (opcode == 0x00) {
      events.push_back(Note("cat on"));
    } else if (opcode == 0x80) {
      events.push_back(Note("cat off"));
    } else if (opcode == 0x0E || opcode == 0x4E) {  // FT-736R / the later models
      events.push_back(Note("satellite on"));
    } else if (opcode == 0x17 || opcode == 0x27) {
      const Side side = opcode == 0x17 ? Side::Rx : Side::Tx;
      modeBytes_[Index(side)] = first;
      events.push_back(SetMode(side, ModeName(first)));
    } else if (opcode == 0x03 || opcode == 0x13 || opcode == 0x23) {
      if (!options_.answersQueries) {
        events.push_back(Note("unknown"));
        return;
      }
      const Side side = opcode == 0x23 ? Side::Tx : Side::Rx;
      reply += Bcd(Now(side).hz) + static_cast<char>(modeBytes_[Index(side)]);
      events.push_back(Read(side, Now(side).hz));
    } else if (const auto hz = Bcd(frame)) {
      events.push_back(SetFrequency(opcode == options_.yaesuTxOpcode ? Side::Tx : Side::Rx, *hz));
    } else {
      events.push_back(Note("unknown"));
    }
  }

  DecoderOptions options_;
  std::string frame_;
  unsigned char modeBytes_[2] = {0x00, 0x01};  // LSB, USB
};

}  // namespace

Event Decoder::SetFrequency(Side side, long long hz) {
  vfos_[Index(side)].hz = hz;
  return {Kind::Frequency, side, hz, {}};
}

Event Decoder::SetMode(Side side, std::string name) {
  vfos_[Index(side)].mode = name;
  return {Kind::Mode, side, 0, std::move(name)};
}

Event Decoder::Turn(long long hz) {
  Vfo& rx = vfos_[0];
  rx.hz = std::clamp(rx.hz + hz, 0LL, kMaxHz);
  return {Kind::Dial, Side::Rx, rx.hz, {}};
}

std::optional<Family> FamilyNamed(std::string_view name) {
  for (const Family family : {Family::Kenwood, Family::Icom, Family::Yaesu}) {
    if (name == FamilyName(family)) return family;
  }
  return std::nullopt;
}

const char* FamilyName(Family family) {
  switch (family) {
    case Family::Kenwood: return "Kenwood";
    case Family::Icom: return "Icom";
    case Family::Yaesu: return "Yaesu";
  }
  return "";
}

std::string Hex(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    if (!text.empty()) text += ' ';
    text += HexByte(static_cast<unsigned char>(c));
  }
  return text;
}

std::string Khz(long long hz) {
  char text[32];
  std::snprintf(text, sizeof(text), "%lld.%03lld", hz / 1000, hz % 1000);
  return text;
}

std::string LogLine(const Event& event) {
  const std::string side = event.side == Side::Rx ? "rx" : "tx";
  switch (event.kind) {
    case Kind::Raw: return "raw " + event.text;
    case Kind::Frequency: return "freq " + side + " " + Khz(event.hz);
    case Kind::Mode: return "mode " + side + " " + event.text;
    case Kind::Select: return "select " + side + (event.text.empty() ? "" : " " + event.text);
    case Kind::Note: return event.text;
    case Kind::Read: return "read " + side + " " + Khz(event.hz);
    case Kind::Dial: return "dial " + std::to_string(event.hz);
  }
  return {};
}

std::unique_ptr<Decoder> MakeDecoder(Family family, const DecoderOptions& options) {
  switch (family) {
    case Family::Kenwood: return std::make_unique<KenwoodDecoder>(options);
    case Family::Icom: return std::make_unique<IcomDecoder>(options);
    case Family::Yaesu: return std::make_unique<YaesuDecoder>(options);
  }
  return nullptr;
}

}  // namespace partners::radio
