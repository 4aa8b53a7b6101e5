// The two ways of reading settings files, and the hexadecimal fields.
#include <gtest/gtest.h>

#include "settings/field_reader.h"
#include "settings/hex.h"

namespace skylet::settings {
namespace {

std::vector<std::string> AllFields(std::string_view bytes) {
  FieldReader r(bytes);
  std::vector<std::string> out;
  while (auto f = r.Next()) out.push_back(*f);
  return out;
}

TEST(FieldReading, OnePerLineAndCommaSeparatedReadTheSame) {
  const std::vector<std::string> expected{"Station", "JN58", "3", "50"};
  EXPECT_EQ(AllFields("Station\r\nJN58\r\n 3\r\n 50\r\n"), expected);
  EXPECT_EQ(AllFields("Station,JN58, 3, 50\r\n"), expected);
  EXPECT_EQ(AllFields("Station,JN58\r\n 3,  50"), expected);
}

TEST(FieldReading, QuotesKeepCommasAndAreDropped) {
  EXPECT_EQ(AllFields("\"C:\\Avor, neu\\Avor.exe\",next\r\n"),
            (std::vector<std::string>{"C:\\Avor, neu\\Avor.exe", "next"}));
  // What stands between the closing quote and the separator is not part of
  // any field.
  EXPECT_EQ(AllFields("  \"ab\" junk,c"), (std::vector<std::string>{"ab", "c"}));
  // An unclosed quote runs to the end of the file.
  EXPECT_EQ(AllFields("\"open,ended\r\nx"), (std::vector<std::string>{"open,ended\r\nx"}));
}

TEST(FieldReading, EmptyLinesAreEmptyFieldsAndAnyLineEndCounts) {
  EXPECT_EQ(AllFields("+\r\n\r\n-\n+\r-"), (std::vector<std::string>{"+", "", "-", "+", "-"}));
}

TEST(FieldReading, EndOfRecordsIgnoresTrailingBlankLines) {
  FieldReader r("9600\r\n$60\r\n \r\n\r\n\x1a");
  r.Next();
  EXPECT_FALSE(r.AtEndOfRecords());
  r.Next();
  EXPECT_TRUE(r.AtEndOfRecords());
  EXPECT_EQ(r.FieldsRead(), 2);
}

TEST(LineReading, LinesWithoutLineEndsAndComments) {
  EXPECT_EQ(SplitLines("; Kopf\r\n$378\r\n\r\n$278"),
            (std::vector<std::string>{"; Kopf", "$378", "", "$278"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_TRUE(IsCommentLine(";Nord,0"));
  EXPECT_FALSE(IsCommentLine(" ;Nord,0"));
  EXPECT_FALSE(IsCommentLine(""));
}

TEST(HexFields, FirstCharacterIsIgnoredWhateverItIs) {
  struct Row {
    const char* field;
    HexByteSpan span;
    int expected;  // -1: refused
  };
  const Row rows[] = {
      {"x60", HexByteSpan::ToEnd, 96},     {"$60", HexByteSpan::TwoDigits, 96},
      {"660", HexByteSpan::TwoDigits, 96}, {"$5e", HexByteSpan::TwoDigits, 0x5E},
      {"$FF", HexByteSpan::ToEnd, 255},    {"$1FF", HexByteSpan::ToEnd, -1},
      {"$1FF", HexByteSpan::TwoDigits, 0x1F},  // only the 2nd and 3rd characters
      {"$6G", HexByteSpan::ToEnd, 6},      // longest run of hex digits
      {"$0A ;Kommentar", HexByteSpan::ToEnd, 10},
      {"$", HexByteSpan::ToEnd, -1},       {"$G0", HexByteSpan::TwoDigits, -1},
      {"", HexByteSpan::ToEnd, -1},
  };
  for (const Row& row : rows) {
    std::optional<uint8_t> v = ParseHexByte(row.field, row.span);
    if (row.expected < 0) {
      EXPECT_FALSE(v) << row.field;
    } else {
      ASSERT_TRUE(v) << row.field;
      EXPECT_EQ(*v, row.expected) << row.field;
    }
  }
}

TEST(HexFields, AddressNeedsOnlyHexDigitsAfterTheFirstCharacter) {
  EXPECT_EQ(ParseHexAddress("$378"), 0x378);
  EXPECT_EQ(ParseHexAddress("h3BC"), 0x3BC);
  EXPECT_EQ(ParseHexAddress("$FFFFFFFF"), -1);
  EXPECT_FALSE(ParseHexAddress("&H378"));
  EXPECT_FALSE(ParseHexAddress("$378 "));
  EXPECT_FALSE(ParseHexAddress("$"));
  EXPECT_FALSE(ParseHexAddress("$123456789"));
}

}  // namespace
}  // namespace skylet::settings
