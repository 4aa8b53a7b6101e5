#include "radio/digits.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "text/format.h"

namespace skylet::radio {

namespace {

// `pattern` has at least `whole` digits before its separator and three
// after it; a layout of fixed width (`exact`) has no more.
std::optional<std::string> Digits(double kHz, const char* pattern, size_t whole, bool exact = true) {
  if (!(kHz >= 0) || !std::isfinite(kHz)) return std::nullopt;
  std::string text = text::Format(kHz, pattern);
  // Rounding can carry into a digit more than the layout has.
  if (exact ? text.size() != whole + 4 : text.size() < whole + 4) return std::nullopt;
  text.erase(text.size() - 4, 1);
  if (!std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
    return std::nullopt;
  }
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

std::optional<std::string> TenDigits(double kHz) { return Digits(kHz, "0000000.000", 7); }

std::optional<std::string> ElevenDigits(double kHz) { return Digits(kHz, "00000000.000", 8); }

std::optional<std::string> HzDigits(double kHz) { return Digits(kHz, "0000000.000", 7, false); }

void PutBcdPair(CatBytes& bytes, int index, std::string_view digits, int position) {
  const size_t at = static_cast<size_t>(position - 1);
  bytes[static_cast<size_t>(index)] =
      static_cast<uint8_t>(HexValue(digits[at]) * 16 + HexValue(digits[at + 1]));
}

}  // namespace skylet::radio
