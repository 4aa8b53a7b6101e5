// Display patterns and plain decimal text. Both work on the decimal digits of
// a number rather than on the binary double, so the halves and the trailing
// zeros come out as the operator typed them, not as the binary value happens
// to lie.
#include "text/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace skylet::text {
namespace {

// The display runtime carried 15 significant digits: 145900.0005 is stored as
// 145900.000499999..., yet it shows as 145900.001 because the value is first
// taken to 15 digits and only then rounded to the pattern.
constexpr int kDisplayDigits = 15;

// A finite number as decimal digits. The decimal point stands after `point`
// digits; `point` may be negative (0.001 is digits "1", point -2) or beyond
// the digits (2256000 is digits "2256", point 7). Zero has no digits and is
// never negative, so "-0" cannot be printed.
struct Decimal {
  bool negative = false;
  std::string digits;  // no leading or trailing zeros
  int point = 0;
};

void DropTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d = Decimal{};
}

// `value` rounded to `significant` significant digits (nearest, from the
// exact binary value).
Decimal ToDecimal(double value, int significant) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                     std::chars_format::scientific, significant - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));

  Decimal d;
  std::size_t i = 0;
  if (text[i] == '-') {
    d.negative = true;
    ++i;
  }
  const std::size_t e = text.find('e');
  for (; i < e; ++i) {
    if (text[i] != '.') d.digits += text[i];
  }
  // to_chars writes the exponent as e+XX / e-XXX.
  const bool negativeExponent = text[e + 1] == '-';
  int exponent = 0;
  for (i = e + 2; i < text.size(); ++i) exponent = exponent * 10 + (text[i] - '0');
  d.point = (negativeExponent ? -exponent : exponent) + 1;
  DropTrailingZeros(d);
  return d;
}

// Rounds to `decimals` places after the point, halves away from zero.
void RoundAwayFromZero(Decimal& d, int decimals) {
  const int keep = d.point + decimals;
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {  // below half a unit of the last place
    d = Decimal{};
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
      d.digits[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    } else {
      ++d.digits[static_cast<std::size_t>(i)];
    }
  }
  DropTrailingZeros(d);
}

// The digit at `position` counted from the first digit (the point stands
// between positions point-1 and point); positions outside the digits are 0.
char DigitAt(const Decimal& d, int position) {
  if (position < 0 || position >= static_cast<int>(d.digits.size())) return '0';
  return d.digits[static_cast<std::size_t>(position)];
}

// Never reached from the stations' own values; spelled out so a broken
// calculation is visible on screen instead of showing a plausible number.
std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Inf" : "Inf";
}

int ClampSignificant(int significant) { return std::clamp(significant, 1, 17); }

}  // namespace

std::string Format(double value, std::string_view pattern) {
  if (!std::isfinite(value)) return NonFiniteText(value);

  const std::size_t dot = pattern.find('.');
  const std::string_view wholePattern = pattern.substr(0, dot);
  const std::string_view fractionPattern =
      dot == std::string_view::npos ? std::string_view{} : pattern.substr(dot + 1);
  const int minWholeDigits = static_cast<int>(std::count(wholePattern.begin(), wholePattern.end(), '0'));
  const int decimals = static_cast<int>(std::count_if(
      fractionPattern.begin(), fractionPattern.end(), [](char c) { return c == '0' || c == '#'; }));

  Decimal d = ToDecimal(value, kDisplayDigits);
  RoundAwayFromZero(d, decimals);

  std::string out = d.negative ? "-" : "";
  const int wholeDigits = std::max(d.point, 0);
  if (wholeDigits < minWholeDigits) out.append(static_cast<std::size_t>(minWholeDigits - wholeDigits), '0');
  for (int p = 0; p < wholeDigits; ++p) out += DigitAt(d, p);
  if (decimals > 0) {
    out += '.';
    for (int p = d.point; p < d.point + decimals; ++p) out += DigitAt(d, p);
  }
  return out;
}

std::string DecimalText(double value, int significant) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const Decimal d = ToDecimal(value, ClampSignificant(significant));
  if (d.digits.empty()) return "0";

  std::string out = d.negative ? "-" : "";
  const int size = static_cast<int>(d.digits.size());
  const int exponent = d.point - 1;
  if (exponent >= -15 && exponent < 15) {
    if (d.point <= 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-d.point), '0');
      out += d.digits;
    } else if (d.point >= size) {
      out += d.digits;
      out.append(static_cast<std::size_t>(d.point - size), '0');
    } else {
      out.append(d.digits, 0, static_cast<std::size_t>(d.point));
      out += '.';
      out.append(d.digits, static_cast<std::size_t>(d.point));
    }
    return out;
  }
  // Beyond the plain range the runtime wrote 1E+16 / 1.5E-20.
  out += d.digits[0];
  if (size > 1) {
    out += '.';
    out.append(d.digits, 1);
  }
  out += exponent < 0 ? "E-" : "E+";
  const std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
  if (magnitude.size() < 2) out += '0';
  out += magnitude;
  return out;
}

std::string FileNumber(double value, int significant) {
  std::string text = DecimalText(value, significant);
  // The runtime kept the sign's place: a blank where a "-" would stand.
  if (text.front() != '-') text.insert(text.begin(), ' ');
  return text;
}

}  // namespace skylet::text
