#include "text/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace skylet::text {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Val, ReadsTheLeadingNumber) {
  const struct {
    std::string_view text;
    double expected;
  } rows[] = {
      {"  12.5 Grad", 12.5}, {"1 2 3", 123},  {"\t-\n4", -4},   {"abc", 0},
      {"", 0},               {"-3.7e2x", -370}, {"1.5D3", 1500},  {"2d-1", 0.2},
      {"12e", 12},           {"12E+", 12},    {".5", 0.5},       {"+7", 7},
      {"--5", 0},            {"-", 0},        {".", 0},          {"e5", 0},
      {"1.2.3", 1.2},        {"145950.000", 145950.0},           {"0.1", 0.1},
      {"12,5", 12},  // "." is the only decimal point
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Val(row.text), row.expected) << '"' << row.text << '"';
  }
}

TEST(Val, ReadsHexAndOctalAsTheRuntimeDid) {
  const struct {
    std::string_view text;
    double expected;
  } rows[] = {
      {"&HFFFF", -1},       {"&H7FFF", 32767},   {"&H8000", -32768}, {"&hff", 255},
      {"&H10000", 65536},   {"&HFFFFFFFF", -1},  {"&H7FFFFFFF", 2147483647},
      {"&H1Fz", 31},        {"&H", 0},           {"&Hx", 0},
      {"&O177777", -1},     {"&O17", 15},        {"&o200000", 65536}, {"&O8", 0},
      {" & H 1 0", 16},     {"&X10", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Val(row.text), row.expected) << '"' << row.text << '"';
  }
}

TEST(Val, OverflowGivesInfinityAndUnderflowZero) {
  EXPECT_EQ(Val("1e999"), kInf);
  EXPECT_EQ(Val("-1e999"), -kInf);
  EXPECT_EQ(Val("1e-999"), 0.0);
}

TEST(ParseNumber, AcceptsOnlyAWholeNumber) {
  const struct {
    std::string_view text;
    std::optional<double> expected;
  } rows[] = {
      {"12", 12.0},   {" 12.5\t", 12.5}, {"-0.25", -0.25}, {"+3", 3.0},
      {"12.", 12.0},  {".5", 0.5},        {"1e3", 1000.0},  {"1D-2", 0.01},
      {"", 0.0},      {" \t ", 0.0},
      {"12abc", std::nullopt}, {"1 2", std::nullopt},  {"+", std::nullopt},
      {".", std::nullopt},     {"1e", std::nullopt},   {"e5", std::nullopt},
      {"12,5", std::nullopt},  {"&HFF", std::nullopt}, {"1e999", std::nullopt},
      {"12\n", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ParseNumber(row.text), row.expected) << '"' << row.text << '"';
  }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const struct {
    double value;
    double expected;
  } rows[] = {
      {2.5, 2},         {3.5, 4},     {-2.5, -2},       {-3.5, -4},      {0.5, 0},
      {1.5, 2},         {-0.5, 0},    {2.4999, 2},      {2.5000001, 3},  {-2.6, -3},
      {0.49999999999999994, 0},  // floor(x + 0.5) gets this one wrong
      {4503599627370497.0, 4503599627370497.0},  // 2^52 + 1: already whole
      {1e300, 1e300},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(RoundHalfEven(row.value), row.expected) << row.value;
  }
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
}

TEST(ToInteger16, RoundsThenChecksTheRange) {
  const struct {
    double value;
    std::optional<std::int16_t> expected;
  } rows[] = {
      {180.5, 180},        {181.5, 182},          {-0.5, 0},
      {32767.4, 32767},    {32767.5, std::nullopt}, {-32768.5, -32768},
      {-32768.6, std::nullopt}, {70000, std::nullopt},
      {kNaN, std::nullopt}, {kInf, std::nullopt},  {-kInf, std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ToInteger16(row.value), row.expected) << row.value;
  }
}

// A German Windows has "," as its decimal separator; the files and the DDE
// partners still use ".".
TEST(NumberText, IgnoresTheUsersDecimalSeparator) {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252"};
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const char* chosen = nullptr;
  for (const char* name : names) {
    if ((chosen = std::setlocale(LC_ALL, name)) != nullptr) break;
  }
  if (chosen == nullptr) GTEST_SKIP() << "no German locale installed";

  EXPECT_EQ(Val("12.5"), 12.5);
  EXPECT_EQ(ParseNumber("12.5"), 12.5);
  EXPECT_EQ(DecimalText(12.5), "12.5");
  EXPECT_EQ(Format(28430.5, "#000000.000"), "028430.500");
  std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
}  // namespace skylet::text
