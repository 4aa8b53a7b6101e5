#include "settings/hex.h"

namespace skylet::settings {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<uint8_t> ParseHexByte(std::string_view field, HexByteSpan span) {
  if (field.size() < 2) return std::nullopt;
  std::string_view digits = field.substr(1);
  if (span == HexByteSpan::TwoDigits) digits = digits.substr(0, 2);
  unsigned value = 0;
  size_t count = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) break;
    value = value * 16 + static_cast<unsigned>(d);
    if (value > 255) return std::nullopt;
    ++count;
  }
  if (count == 0) return std::nullopt;
  return static_cast<uint8_t>(value);
}

std::optional<int32_t> ParseHexAddress(std::string_view text) {
  if (text.size() < 2 || text.size() > 9) return std::nullopt;
  uint32_t value = 0;
  for (char c : text.substr(1)) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(d);
  }
  return static_cast<int32_t>(value);
}

}  // namespace skylet::settings
