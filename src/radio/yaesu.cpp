#include "radio/yaesu.h"

#include "radio/digits.h"

namespace skylet::radio::yaesu {

namespace {

struct ModelRow {
  std::string_view model;
  uint8_t satelliteOn;
};

// Satellite mode on is 4E unless the model's row says otherwise.
constexpr uint8_t kSatelliteOn = 0x4E;

constexpr ModelRow kModels[] = {
    {"FT-736R", 0x0E},
};

}  // namespace

std::string Frame(const std::array<uint8_t, 4>& data, uint8_t opcode) {
  std::string s(data.begin(), data.end());
  s += static_cast<char>(opcode);
  return s;
}

// The CAT off frame repeats its opcode in the data bytes.
std::string CatOn() { return Frame({0, 0, 0, 0}, kCatOn); }
std::string CatOff() { return Frame({kCatOff, kCatOff, kCatOff, kCatOff}, kCatOff); }

std::string SatelliteOn(std::string_view model) {
  for (const ModelRow& row : kModels) {
    if (row.model == model) return Frame({0, 0, 0, 0}, row.satelliteOn);
  }
  return Frame({0, 0, 0, 0}, kSatelliteOn);
}

bool PutFrequency(CatBytes& bytes, double kHz) {
  std::optional<std::string> digits = TenDigits(kHz);
  if (!digits) return false;
  if (kHz > 1000000) digits->replace(0, 2, "0C");
  PutBcdPair(bytes, 1, *digits, 2);
  PutBcdPair(bytes, 2, *digits, 4);
  PutBcdPair(bytes, 3, *digits, 6);
  PutBcdPair(bytes, 4, *digits, 8);
  return true;
}

std::string FrameOf(const CatBytes& bytes) { return Frame({bytes[1], bytes[2], bytes[3], bytes[4]}, bytes[5]); }

std::optional<uint8_t> ModeByte(std::string_view name) {
  struct Row {
    std::string_view name;
    uint8_t mode;
  };
  static constexpr Row kModes[] = {{"FM-N", 0x88}, {"FM-W", 0x08}, {"FM", 0x08}, {"USB", 0x01},
                                   {"LSB", 0x00},  {"CW", 0x02},   {"CW-N", 0x82}};
  for (const Row& row : kModes) {
    if (row.name == name) return row.mode;
  }
  return std::nullopt;
}

}  // namespace skylet::radio::yaesu
