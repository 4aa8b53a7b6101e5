// Settings files and DDE payloads are Windows-1252 bytes; the windows show
// UTF-16. The conversion is done here rather than with the Windows code-page
// API so that it does not depend on the machine's ANSI code page: a German
// caption like "Funkgerät" must look the same on any Windows and under Wine.
#include "text/format.h"

#include <array>
#include <string>
#include <string_view>

namespace skylet::text {
namespace {

// 0x80..0x9F. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) keep their own value so they survive a round trip.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char16_t ToUtf16(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80u];
  return byte;  // ASCII and 0xA0..0xFF coincide with Latin-1
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

char ToCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::u16string Cp1252ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char b : bytes) out += ToUtf16(static_cast<unsigned char>(b));
  return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A character outside the BMP is one unknown character, not two.
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out += '?';
      ++i;
      continue;
    }
    out += ToCp1252(text[i]);
  }
  return out;
}

}  // namespace skylet::text
