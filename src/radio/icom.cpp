#include "radio/icom.h"

#include "radio/bytes.h"
#include "radio/digits.h"

namespace skylet::radio::icom {

namespace {

enum class Radio { Downlink, Uplink };

// A band select: whose address it goes to, and which band it selects.
struct Select {
  Radio at;
  uint8_t band;
};

struct ModelRow {
  std::string_view model;
  Select beforeDownlink;
  Select beforeUplink;
};

constexpr ModelRow kFamily = {"", {Radio::Downlink, 0xD1}, {Radio::Uplink, 0xD0}};

constexpr ModelRow kModels[] = {
    // The IC-910H selects the band at the other side's address: band D0 at the
    // uplink address before downlink commands, band D1 at the downlink
    // address before uplink commands.
    {"IC-910H", {Radio::Uplink, 0xD0}, {Radio::Downlink, 0xD1}},
};

const ModelRow& RowOf(std::string_view model) {
  for (const ModelRow& row : kModels) {
    if (row.model == model) return row;
  }
  return kFamily;
}

}  // namespace

std::string Frame(uint8_t to, std::string_view payload) {
  return Bytes({0xFE, 0xFE, to, kController}) + std::string(payload) + Bytes({0xFD});
}

std::string Prefix(uint8_t to, uint8_t command) {
  return Bytes({0xFE, 0xFE, to, kController, command});
}

std::string SelectBand(uint8_t to, uint8_t band) { return Frame(to, Bytes({kSelectBand, band})); }

std::string ModeCommand(uint8_t to, uint8_t mode) { return Frame(to, Bytes({kSetMode, mode})); }

std::string SatelliteMode(uint8_t to, bool on) {
  return Frame(to, Bytes({kSettings, 0x07, static_cast<uint8_t>(on ? 0x01 : 0x00)}));
}

BandSelects SelectCommands(std::string_view model, uint8_t rxAddr, uint8_t txAddr) {
  const ModelRow& row = RowOf(model);
  const auto encode = [&](Select s) {
    return SelectBand(s.at == Radio::Downlink ? rxAddr : txAddr, s.band);
  };
  return {encode(row.beforeDownlink), encode(row.beforeUplink)};
}

bool PutFrequency(CatBytes& bytes, double kHz) {
  const std::optional<std::string> digits = TenDigits(kHz);
  if (!digits) return false;
  PutBcdPair(bytes, 6, *digits, 9);
  PutBcdPair(bytes, 7, *digits, 7);
  PutBcdPair(bytes, 8, *digits, 5);
  PutBcdPair(bytes, 9, *digits, 3);
  PutBcdPair(bytes, 10, *digits, 1);
  return true;
}

std::string FrequencyFrame(std::string_view prefix, const CatBytes& bytes) {
  return std::string(prefix) + Bytes({bytes[6], bytes[7], bytes[8], bytes[9], bytes[10], 0xFD});
}

void ApplyMode(std::string& command, std::string_view modePrefix, std::string_view name) {
  if (name == "CW" || name == "CW-N") {
    command = std::string(modePrefix) + Bytes({0x03, 0x01, 0xFD});
    return;
  }
  struct Row {
    std::string_view name;
    uint8_t mode;
  };
  static constexpr Row kModes[] = {
      {"FM-N", kModeFm}, {"FM-W", kModeFm}, {"FM", kModeFm}, {"USB", 0x01}, {"LSB", 0x00}};
  constexpr size_t kModeByte = 5;
  for (const Row& row : kModes) {
    if (row.name == name && command.size() > kModeByte) {
      command[kModeByte] = static_cast<char>(row.mode);
      return;
    }
  }
}

}  // namespace skylet::radio::icom
