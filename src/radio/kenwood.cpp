#include "radio/kenwood.h"

#include "radio/digits.h"

namespace skylet::radio::kenwood {

namespace {

// '#' in a command stands for the satellite-mode parameter.
struct ModelRow {
  std::string_view model;
  std::string_view selectRx, selectTx, init, satInit;
};

constexpr ModelRow kModels[] = {
    // The TS-790 switches between its receive and transmit side with DC.
    {"TS-790", "DC1;", "DC0;", "FN0;", ""},
    // The TS-2000 selects its sides through the satellite-mode command SA;
    // selecting the receive side also puts it into satellite mode at start.
    {"TS-2000", "SA1#10000;", "SA1#11000;", "", "SA1#10000;"},
};

std::string Fill(std::string_view pattern, std::string_view satPar) {
  std::string out;
  for (char c : pattern) {
    if (c == '#') {
      out += satPar;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

Commands ModelCommands(std::string_view model, std::string_view satPar) {
  for (const ModelRow& row : kModels) {
    if (row.model == model) {
      return {Fill(row.selectRx, satPar), Fill(row.selectTx, satPar), Fill(row.init, satPar),
              Fill(row.satInit, satPar)};
    }
  }
  return {};
}

std::optional<std::string> FrequencyCommand(std::string_view vfo, double kHz) {
  const std::optional<std::string> digits = ElevenDigits(kHz);
  if (!digits) return std::nullopt;
  return std::string(vfo) + *digits + ";";
}

std::optional<std::string> ModeCommand(std::string_view name) {
  struct Row {
    std::string_view name, command;
  };
  static constexpr Row kModes[] = {{"FM-N", "MD4;"}, {"FM", "MD4;"}, {"USB", "MD2;"},
                                   {"LSB", "MD1;"},  {"CW", "MD3;"}, {"CWN", "MD7;"}};
  for (const Row& row : kModes) {
    if (row.name == name) return std::string(row.command);
  }
  return std::nullopt;
}

}  // namespace skylet::radio::kenwood
