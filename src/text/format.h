#pragma once
// Numbers as the program shows, reads and stores them. Every conversion
// between numbers and text in the program goes through here, so the decimal
// point is "." whatever the user's locale.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skylet::text {

// Formats `value` with one of the display patterns: "###0", "####0",
// "#####", "##0", "#0", "#000000.000", "0000000.000", "00000000.000".
// "0" is a mandatory digit, "#" an optional one; more integer digits than the
// pattern holds are all shown; a negative value gets a leading "-".
// The value is rounded to the pattern's decimals with halves away from zero
// (after taking it to 15 significant digits, as the display always has).
// Examples: Format(145950.0, "#000000.000") == "145950.000",
//           Format(145950.0, "0000000.000") == "0145950.000",
//           Format(28430.5, "#000000.000")  == "028430.500",
//           Format(-50, "####0") == "-50", Format(0, "#####") == "".
std::string Format(double value, std::string_view pattern);

// The leading numeric part of a text ("12.5 Grad" -> 12.5, "abc" -> 0):
// blanks, tabs and line feeds are skipped anywhere in it, then an optional
// sign, digits, an optional "." with digits and an optional exponent (E or D).
double Val(std::string_view text);

// The whole text as a number, blanks around it allowed; nothing else may
// stand in it. Empty text reads as 0. No value when it is not a number.
std::optional<double> ParseNumber(std::string_view text);

// Whole-number conversion: halves go to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double value);

// A 16-bit signed whole number from `value` (halves to even); no value when
// the result lies outside -32768..32767 or `value` is not finite.
std::optional<int16_t> ToInteger16(double value);

// Plain decimal text of a number, as a list shows it: up to `significant`
// significant digits, no trailing zeros, no exponent, "." as decimal point,
// "-" for negatives, no leading blank. Examples: 0 -> "0", 2256000 ->
// "2256000", 116.5 -> "116.5", -0.25 -> "-0.25".
std::string DecimalText(double value, int significant = 15);

// A number as written into a settings file: DecimalText with a leading blank
// when the number is not negative (" 100", "-5", " 180.5").
std::string FileNumber(double value, int significant = 15);

// Windows-1252 <-> UTF-16 for the edges where text meets the Windows wide
// API. Bytes without a character in Windows-1252 (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the code points of the same value, so every byte survives a
// round trip.
std::u16string Cp1252ToUtf16(std::string_view bytes);
std::string Utf16ToCp1252(std::u16string_view text);  // unknown -> '?'

}  // namespace skylet::text
