#pragma once
// Radio commands are held as text with one character per byte (0 to 255) and
// written to the port unchanged.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace skylet::radio {

inline std::string Bytes(std::initializer_list<uint8_t> values) {
  std::string s;
  s.reserve(values.size());
  for (uint8_t v : values) s += static_cast<char>(v);
  return s;
}

}  // namespace skylet::radio
