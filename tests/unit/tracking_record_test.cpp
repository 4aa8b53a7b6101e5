// Cutting a tracking record into its fields.
#include <gtest/gtest.h>

#include <string>

#include "tracking/record.h"

namespace skylet::tracking {
namespace {

// Rows: record, then the expected name, az, el, up, um, dn, dm, ma.
TEST(RecordCutting, Rules) {
  using namespace std::string_literals;  // "..."s keeps NULs
  struct Row {
    const char* what;
    std::string record, name, az, el, up, um, dn, dm, ma;
  };
  const Row rows[] = {
      {"a typical record", "SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r", "AO-7 ", "123.4",
       "12.3", "145950.000", "USB", "435800.000", "LSB", "128"},
      {"without MA the downlink mode runs to the last character but one",
       "SNFO-29 AZ10 EL5 UP145900000 UMLSB DN435800000 DMUSB\r", "FO-29 ", "10", "5", "145900.000", "LSB",
       "435800.000", "USB", "---"},
      {"separators and trailer are never looked at", "SNRS-44|AZ1|EL2|UP1234|UMFM|DN98765|DMFM|MA7X", "RS-44|",
       "1", "2", "1.234", "FM", "98.765", "FM", "7"},
      {"a frequency of three digits is all fraction", "SNX AZ0 EL0 UP000 UM DN125 DM MA\r", "X ", "0", "0",
       ".000", "", ".125", "", ""},
      {"empty name and values", "SNAZ EL UP123 UM DN456 DM\r", "", "", "", ".123", "", ".456", "", "---"},
      {"8-bit characters and NULs pass through", "SN\xe4\0b AZ1 EL2 UP100000 UM\xb5 DN200000 DMx\0 MA\r"s,
       "\xe4\0b "s, "1", "2", "100.000", "\xb5", "200.000", "x\0"s, ""},
      {"a tag's letters inside a later value change nothing",
       "SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSBAZ MAMA1\r", "AO-7 ", "1", "2", "145950.000", "USB",
       "435800.000", "LSBAZ", "MA1"},
      // Names and modes that hold tag letters: real satellites and the mode AM.
      {"EL in the name", "SNTEVEL-1 AZ123.4 EL12.3 UP145970000 UMFM DN436400000 DMFM MA12 ", "TEVEL-1 ",
       "123.4", "12.3", "145970.000", "FM", "436400.000", "FM", "12"},
      {"AZ in the name", "SNAZTECHSAT-1 AZ200.5 EL3.0 UP145800000 UMFM DN437300000 DMFM ", "AZTECHSAT-1 ",
       "200.5", "3.0", "145800.000", "FM", "437300.000", "FM", "---"},
      {"UP, UM and MA in names", "SNUPSAT UMKA MAYA AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB MA3\r",
       "UPSAT UMKA MAYA ", "1", "2", "145950.000", "USB", "435800.000", "LSB", "3"},
      {"the mode AM holds MA", "SNAO-7 AZ10.0 EL20.0 UP145950000 UMAM DN029500000 DMAM MA7 ", "AO-7 ",
       "10.0", "20.0", "145950.000", "AM", "029500.000", "AM", "7"},
      {"the mode AM without MA", "SNAO-7 AZ10.0 EL20.0 UP145950000 UMAM DN029500000 DMAM ", "AO-7 ", "10.0",
       "20.0", "145950.000", "AM", "029500.000", "AM", "---"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const auto r = CutRecord(row.record);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, row.name);
    EXPECT_EQ(r->az, row.az);
    EXPECT_EQ(r->el, row.el);
    EXPECT_EQ(r->up, row.up);
    EXPECT_EQ(r->um, row.um);
    EXPECT_EQ(r->dn, row.dn);
    EXPECT_EQ(r->dm, row.dm);
    EXPECT_EQ(r->ma, row.ma);
  }
}

TEST(RecordCutting, RecordsThatCannotBeCut) {
  struct Row {
    const char* what;
    std::string record;
  };
  const std::string longName(33000, 'x');
  const Row rows[] = {
      {"no AZ", "SNAO-7 EL12 UP145950000 UMUSB DN435800000 DMLSB MA1\r"},
      {"no DM", "SNAO-7 AZ1 EL12 UP145950000 UMUSB DN435800000 MA1\r"},
      {"EL before AZ", "SNAO-7 EL12 AZ1 UP145950000 UMUSB DN435800000 DMLSB MA1\r"},
      {"two tags without a value between", "SNAO-7 AZEL12 UP145950000 UMUSB DN435800000 DMLSB\r"},
      {"MA right after DM without a separator", "SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMMA1\r"},
      {"uplink of two digits", "SNAO-7 AZ1 EL2 UP12 UMUSB DN435800000 DMLSB MA1\r"},
      {"downlink of two digits", "SNAO-7 AZ1 EL2 UP145950000 UMUSB DN43 DMLSB MA1\r"},
      {"MA without its trailing character", "SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB MA"},
      {"DM without its trailing character", "SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DM"},
      {"positions beyond 16 bits", "SN" + longName + " AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB\r"},
      {"MA beyond 16 bits", "SNAO-7 AZ1 EL2 UP145950000 UMUSB DN435800000 DMLSB " + longName + "MA1\r"},
      {"a frequency too large for a double",
       "SNAO-7 AZ1 EL2 UP" + std::string(400, '9') + " UMUSB DN435800000 DMLSB\r"},
      {"an azimuth too large for a double", "SNAO-7 AZ1E999 EL2 UP145950000 UMUSB DN435800000 DMLSB\r"},
      {"empty", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_FALSE(CutRecord(row.record));
  }
}

TEST(RecordCutting, LongRecordWithinSixteenBitsIsCut) {
  // The downlink mode's length Len - pos("DM") - 2 is 32767 exactly.
  const std::string head = "SNX AZ1 EL2 UP100000 UMFM DN200000 DM";
  const auto r = CutRecord(head + std::string(32767, 'm') + "\r");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->dm.size(), 32767u);
  EXPECT_FALSE(CutRecord(head + std::string(32768, 'm') + "\r"));
}

}  // namespace
}  // namespace skylet::tracking
