#include "traffic/traffic.h"

#include <cmath>
#include <cstdio>

namespace skylet::traffic {

namespace {

std::string_view WithoutLineEnd(std::string_view s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
  return s;
}

std::string Hex(uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[b >> 4], kDigits[b & 15]};
}

}  // namespace

std::string_view LinkName(Link link) {
  static constexpr std::string_view kNames[kLinks] = {"Avor",    "Funkger\xe4t", "Rotor", "CAT-Server",
                                                      "rigctld", "rotctld",      "Skylet"};
  return kNames[static_cast<size_t>(link)];
}

std::string Content(std::string_view bytes) {
  const std::string_view text = WithoutLineEnd(bytes);
  bool printable = true;
  for (const char c : text) printable = printable && c >= 0x20 && c < 0x7F;
  if (printable) return std::string(text);
  std::string hex;
  for (const char c : bytes) hex += (hex.empty() ? "" : " ") + Hex(static_cast<uint8_t>(c));
  return hex;
}

std::string Text(std::string_view text) {
  std::string shown;
  for (const char c : WithoutLineEnd(text)) {
    const auto b = static_cast<uint8_t>(c);
    shown += b < 0x20 || b == 0x7F ? "<" + Hex(b) + ">" : std::string(1, c);
  }
  return shown;
}

std::string Format(const Line& line) {
  // Milliseconds cut, not rounded: 23:59:59.9996 stays on its day.
  const auto ms = static_cast<long>(std::floor(line.secondsOfDay * 1000)) % 86400000L;
  char time[32];
  std::snprintf(time, sizeof time, "%02ld:%02ld:%02ld.%03ld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                ms % 1000);
  std::string name(LinkName(line.link));
  name.resize(10, ' ');
  static constexpr std::string_view kWays[] = {"->", "<-", "--"};
  return std::string(time) + "  " + name + " " + std::string(kWays[static_cast<size_t>(line.way)]) + "  " +
         line.content;
}

void Ring::Add(Line line) {
  ++added_;
  if (capacity_ == 0) return;
  if (lines_.size() < capacity_) {
    lines_.push_back(std::move(line));
    return;
  }
  lines_[first_] = std::move(line);
  first_ = (first_ + 1) % capacity_;
}

void Ring::Clear() {
  lines_.clear();
  first_ = 0;
}

void Traffic::Record(Link link, Way way, std::string content) {
  Line line{clock_.SecondsSinceMidnight(), link, way, std::move(content)};
  if (sink_) sink_->Take(line);
  ring_.Add(std::move(line));
}

}  // namespace skylet::traffic
