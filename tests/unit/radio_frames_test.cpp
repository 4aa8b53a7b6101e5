// The fixed radio frames of each command set, and where the models differ.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/partners.h"
#include "radio/bytes.h"
#include "radio/icom.h"
#include "radio/kenwood.h"
#include "radio/yaesu.h"

namespace skylet::radio {
namespace {

using fakes::Hex;

TEST(IcomFrame, AddressesTheRadioFromTheController) {
  EXPECT_EQ(Hex(icom::Frame(0x60, Bytes({0x1A, 0x07, 0x01}))), "FE FE 60 E0 1A 07 01 FD");
}

struct Row {
  const char* what;
  std::string actual;
  std::string expected;
};

TEST(RadioFrames, ModelDifferences) {
  const icom::BandSelects ic910 = icom::SelectCommands("IC-910H", 0x60, 0x61);
  const icom::BandSelects ic821 = icom::SelectCommands("IC-821H", 0x60, 0x61);
  const kenwood::Commands ts2000 = kenwood::ModelCommands("TS-2000", "1");
  const kenwood::Commands ts790 = kenwood::ModelCommands("TS-790", "1");
  const kenwood::Commands ts850 = kenwood::ModelCommands("TS-850", "1");
  const Row rows[] = {
      // The IC-910H selects band D0 at the uplink address before downlink
      // commands; other models D1 at the downlink address.
      {"IC-910H before downlink", Hex(ic910.beforeDownlink), "FE FE 61 E0 07 D0 FD"},
      {"IC-910H before uplink", Hex(ic910.beforeUplink), "FE FE 60 E0 07 D1 FD"},
      {"other Icom before downlink", Hex(ic821.beforeDownlink), "FE FE 60 E0 07 D1 FD"},
      {"other Icom before uplink", Hex(ic821.beforeUplink), "FE FE 61 E0 07 D0 FD"},
      {"Icom frequency prefix", Hex(icom::Prefix(0x60, icom::kSetFrequency)), "FE FE 60 E0 05"},
      // The satellite parameter is the fourth character, not appended.
      {"TS-2000 before downlink", ts2000.selectRx, "SA1110000;"},
      {"TS-2000 before uplink", ts2000.selectTx, "SA1111000;"},
      {"TS-2000 start", ts2000.satInit, "SA1110000;"},
      {"TS-2000 init", ts2000.init, ""},
      {"TS-790 before downlink", ts790.selectRx, "DC1;"},
      {"TS-790 init", ts790.init, "FN0;"},
      {"TS-790 start", ts790.satInit, ""},
      {"other Kenwood before downlink", ts850.selectRx + ts850.selectTx + ts850.init, ""},
      {"FT-736R satellite on", Hex(yaesu::SatelliteOn("FT-736R")), "00 00 00 00 0E"},
      {"other Yaesu satellite on", Hex(yaesu::SatelliteOn("FT-847")), "00 00 00 00 4E"},
      {"Yaesu CAT off", Hex(yaesu::CatOff()), "80 80 80 80 80"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.actual, row.expected) << row.what;
}

}  // namespace
}  // namespace skylet::radio
