#include "radio/kenwood.h"

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

}  // namespace skylet::radio::kenwood
