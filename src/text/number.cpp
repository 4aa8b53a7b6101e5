// Reading numbers from settings files, DDE payloads and edit fields, and the
// whole-number conversion the program uses for rotor angles and counters.
// Everything goes through std::from_chars so "." is the decimal point even
// on a German Windows where the user's locale says ",".
#include "text/format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace skylet::text {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number found at the start of a text.
struct DecimalScan {
  std::size_t length = 0;         // characters that belong to the number
  bool hasDigits = false;         // at least one mantissa digit
  bool exponentHasDigits = true;  // false for "12E": Val reads 12, a whole-text read refuses it
  bool negative = false;
  std::string wholeDigits;
  std::string fractionDigits;
  long exponent = 0;
};

DecimalScan ScanDecimal(std::string_view s) {
  DecimalScan r;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) r.negative = s[i++] == '-';
  while (i < s.size() && IsDigit(s[i])) r.wholeDigits += s[i++];
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) r.fractionDigits += s[i++];
  }
  r.hasDigits = !r.wholeDigits.empty() || !r.fractionDigits.empty();
  if (!r.hasDigits) return r;
  r.length = i;

  // The old runtime took D (double precision) as well as E for the exponent.
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    ++i;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
    const std::size_t first = i;
    while (i < s.size() && IsDigit(s[i])) {
      // Any exponent past a few thousand over- or underflows all the same.
      if (r.exponent < 100000) r.exponent = r.exponent * 10 + (s[i] - '0');
      ++i;
    }
    r.exponentHasDigits = i > first;
    if (negativeExponent) r.exponent = -r.exponent;
    r.length = i;
  }
  return r;
}

// No value when the number is too large for a double; too small reads as 0.
std::optional<double> ToDouble(const DecimalScan& scan) {
  std::string text = scan.negative ? "-" : "";
  text += scan.wholeDigits.empty() ? "0" : scan.wholeDigits;
  if (!scan.fractionDigits.empty()) text += "." + scan.fractionDigits;
  if (scan.exponent != 0) text += "e" + std::to_string(scan.exponent);

  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc::result_out_of_range) return value;

  // Out of range either way: find out which way from the decimal magnitude.
  const std::string digits = scan.wholeDigits + scan.fractionDigits;
  const std::size_t firstNonZero = digits.find_first_not_of('0');
  const long magnitude = static_cast<long>(scan.wholeDigits.size()) - static_cast<long>(firstNonZero) + scan.exponent;
  if (magnitude > 0) return std::nullopt;
  return scan.negative ? -0.0 : 0.0;
}

// "&H" and "&O" numbers: a value that fits 16 bits is a 16-bit signed
// Integer, as the runtime read it ("&HFFFF" is -1), a larger one a 32-bit
// Long. Digits past 32 bits wrap.
double ReadRadix(std::string_view s, unsigned base) {
  std::uint32_t value = 0;
  for (char c : s) {
    unsigned digit = 0;
    if (IsDigit(c)) {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else {
      break;
    }
    if (digit >= base) break;
    value = value * base + digit;
  }
  if (value <= 0xFFFFu) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  return static_cast<std::int32_t>(value);
}

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsTrimBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double Val(std::string_view text) {
  std::string s;
  for (char c : text) {
    if (!IsValBlank(c)) s += c;
  }
  if (s.size() >= 2 && s[0] == '&') {
    const std::string_view digits = std::string_view(s).substr(2);
    if (s[1] == 'H' || s[1] == 'h') return ReadRadix(digits, 16);
    if (s[1] == 'O' || s[1] == 'o') return ReadRadix(digits, 8);
    return 0;
  }
  const DecimalScan scan = ScanDecimal(s);
  if (!scan.hasDigits) return 0;
  const std::optional<double> value = ToDouble(scan);
  if (!value) return scan.negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  return *value;
}

std::optional<double> ParseNumber(std::string_view text) {
  while (!text.empty() && IsTrimBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return 0.0;
  const DecimalScan scan = ScanDecimal(text);
  if (!scan.hasDigits || !scan.exponentHasDigits || scan.length != text.size()) return std::nullopt;
  return ToDouble(scan);
}

double RoundHalfEven(double value) {
  // From 2^52 on every double is whole already (and NaN/inf pass through).
  if (!(std::fabs(value) < 4503599627370496.0)) return value;
  const double below = std::floor(value);
  const double fraction = value - below;  // exact for |value| < 2^52
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<std::int16_t> ToInteger16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double whole = RoundHalfEven(value);
  if (whole < -32768.0 || whole > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(whole);
}

}  // namespace skylet::text
