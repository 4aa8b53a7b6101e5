#include "text/format.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

namespace skylet::text {
namespace {

struct FormatRow {
  double value;
  std::string_view pattern;
  std::string_view expected;
};

TEST(Format, DisplayPatterns) {
  const FormatRow rows[] = {
      // Frequencies in kHz as the main window shows them.
      {145950.0, "#000000.000", "145950.000"},
      {145950.0, "0000000.000", "0145950.000"},
      {28430.5, "#000000.000", "028430.500"},
      {435800.0, "0000000.000", "0435800.000"},
      {145900.0, "00000000.000", "00145900.000"},
      {1296123.45, "0000000.000", "1296123.450"},
      {0.0, "0000000.000", "0000000.000"},
      // Angles and counters.
      {-50, "####0", "-50"},
      {0, "#####", ""},
      {100, "#####", "100"},
      {0, "##0", "0"},
      {7, "##0", "7"},
      {0, "###0", "0"},
      {12345, "#0", "12345"},
      {1e20, "##0", "100000000000000000000"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Format(row.value, row.pattern), row.expected) << row.value << " with " << row.pattern;
  }
}

TEST(Format, RoundsHalvesAwayFromZeroAfterFifteenDigits) {
  const FormatRow rows[] = {
      {2.5, "#0", "3"},
      {-2.5, "#0", "-3"},
      {3.5, "#0", "4"},
      {2.4999, "#0", "2"},
      {0.5, "#####", "1"},
      {0.4, "#####", ""},
      {359.6, "##0", "360"},
      {999.5, "##0", "1000"},  // carry into a new digit
      {99999.9996, "0000000.000", "0100000.000"},
      // Stored as 145900.000499999..., shown as typed: 15 digits first.
      {145900.0005, "#000000.000", "145900.001"},
      {1.0005, "#000000.000", "000001.001"},
      {-1.0005, "#000000.000", "-000001.001"},
      {0.1 + 0.2, "#000000.000", "000000.300"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Format(row.value, row.pattern), row.expected) << row.value << " with " << row.pattern;
  }
}

TEST(Format, ValueRoundingToZeroHasNoMinus) {
  EXPECT_EQ(Format(-0.4, "#0"), "0");
  EXPECT_EQ(Format(-0.0004, "#000000.000"), "000000.000");
  EXPECT_EQ(Format(-0.0, "##0"), "0");
  EXPECT_EQ(Format(-0.3, "#####"), "");
}

struct TextRow {
  double value;
  int significant;
  std::string_view expected;
};

TEST(DecimalText, PlainDecimalWithoutTrailingZeros) {
  const TextRow rows[] = {
      {0, 15, "0"},
      {-0.0, 15, "0"},
      {2256000, 15, "2256000"},
      {116.5, 15, "116.5"},
      {-0.25, 15, "-0.25"},
      {0.5, 15, "0.5"},
      {0.1 + 0.2, 15, "0.3"},
      {2.0 / 3.0, 15, "0.666666666666667"},
      {1200.0, 7, "1200"},
      {static_cast<double>(1234.5678f), 7, "1234.568"},
      {-1.0 / 3.0, 7, "-0.3333333"},
      {9999999.7, 7, "10000000"},
      {123456789012345.0, 15, "123456789012345"},
      {1e-15, 15, "0.000000000000001"},
      {-1.5e-10, 15, "-0.00000000015"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(DecimalText(row.value, row.significant), row.expected)
        << row.value << " to " << row.significant << " digits";
  }
}

TEST(DecimalText, ExponentFormOutsidePlainRange) {
  EXPECT_EQ(DecimalText(1e15), "1E+15");
  EXPECT_EQ(DecimalText(1e16), "1E+16");
  EXPECT_EQ(DecimalText(1e-16), "1E-16");
  EXPECT_EQ(DecimalText(-1.5e300), "-1.5E+300");
  EXPECT_EQ(DecimalText(999999999999999.9), "1E+15");  // rounds over the edge
}

TEST(FileNumber, BlankInPlaceOfTheSign) {
  EXPECT_EQ(FileNumber(100), " 100");
  EXPECT_EQ(FileNumber(-5), "-5");
  EXPECT_EQ(FileNumber(180.5), " 180.5");
  EXPECT_EQ(FileNumber(0), " 0");
  EXPECT_EQ(FileNumber(-0.0), " 0");
  EXPECT_EQ(FileNumber(435.1234567, 7), " 435.1235");
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string wide = Cp1252ToUtf16(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(Utf16ToCp1252(wide), all);
  // No two bytes share a character, so nothing collapses on the way back.
  EXPECT_EQ(std::set<char16_t>(wide.begin(), wide.end()).size(), 256u);
}

TEST(Cp1252, MapsToTheProperCharacters) {
  const struct {
    unsigned char byte;
    char16_t unicode;
  } rows[] = {
      {0x41, u'A'},    {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x8D, 0x008D},
      {0x8F, 0x008F},  {0x90, 0x0090}, {0x92, 0x2019}, {0x96, 0x2013}, {0x99, 0x2122},
      {0x9D, 0x009D},  {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xB0, 0x00B0}, {0xFF, 0x00FF},
  };
  for (const auto& row : rows) {
    const std::string byte(1, static_cast<char>(row.byte));
    EXPECT_EQ(Cp1252ToUtf16(byte), std::u16string(1, row.unicode)) << "byte " << int{row.byte};
  }
}

TEST(Cp1252, UmlautCaptionSurvives) {
  const std::string caption = "Funkger\xE4t";
  EXPECT_EQ(Cp1252ToUtf16(caption), u"Funkger\u00E4t");
  EXPECT_EQ(Utf16ToCp1252(u"Winkel\u00E4nderg."), "Winkel\xE4nderg.");
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToCp1252(u"\u0100"), "?");
  EXPECT_EQ(Utf16ToCp1252(u"\u0080"), "?");  // C1 control, not a Windows-1252 character
  EXPECT_EQ(Utf16ToCp1252(u"a\U0001F4E1b"), "a?b");  // one character, one '?'
  EXPECT_EQ(Utf16ToCp1252(u"\u20AC"), "\x80");
}

}  // namespace
}  // namespace skylet::text
