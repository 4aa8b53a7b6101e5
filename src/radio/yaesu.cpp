#include "radio/yaesu.h"

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

}  // namespace skylet::radio::yaesu
