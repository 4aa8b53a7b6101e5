#pragma once
// The record of the station's traffic: every command Skylet sends to the
// radio, the rotor and Avor, what it reads back, and its own notices, one
// line each with the time of day. The record is a ring of a fixed number of
// lines, the oldest dropped, so a window left open all night costs the same
// memory as one opened a minute ago; the day's log file takes the same lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace skylet::traffic {

enum class Link : uint8_t { Avor, Radio, Rotor, CatServer, Rigctld, Rotctld, Skylet };
inline constexpr int kLinks = 7;
// To the partner, from it, or Skylet's own word about the link.
enum class Way : uint8_t { Out, In, Note };

struct Line {
  double secondsOfDay = 0;
  Link link = Link::Skylet;
  Way way = Way::Note;
  std::string content;
};

inline constexpr size_t kRingLines = 5000;

std::string_view LinkName(Link link);

// Bytes of a serial line: a text command as it stands ("FA00435800000;"), a
// frame with any byte outside printable ASCII as hex pairs
// ("FE FE 60 E0 05 00 00 80 35 04 FD"). A closing line end is left out.
std::string Content(std::string_view bytes);

// A partner's text (DDE, the daemons' lines): Windows-1252 as it stands,
// control characters as <0D>; a closing line end is left out.
std::string Text(std::string_view text);

// "12:34:56.789  Funkgerät   ->  FA00435800000;" (Windows-1252).
std::string Format(const Line& line);

class Ring {
 public:
  explicit Ring(size_t capacity) : capacity_(capacity) {}
  void Add(Line line);
  size_t Size() const { return lines_.size(); }
  // 0 is the oldest line kept.
  const Line& At(size_t i) const { return lines_[(first_ + i) % lines_.size()]; }
  // Lines ever added: a view tells by it how many came since it last looked.
  uint64_t Added() const { return added_; }
  void Clear();

 private:
  std::vector<Line> lines_;
  size_t capacity_;
  size_t first_ = 0;
  uint64_t added_ = 0;
};

// Whoever takes each line as it is recorded (the day's log file).
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void Take(const Line& line) = 0;
};

class Traffic {
 public:
  explicit Traffic(platform::Clock& clock, size_t capacity = kRingLines) : clock_(clock), ring_(capacity) {}
  void Record(Link link, Way way, std::string content);
  const Ring& ring() const { return ring_; }
  void Clear() { ring_.Clear(); }
  void SetSink(LineSink* sink) { sink_ = sink; }

 private:
  platform::Clock& clock_;
  Ring ring_;
  LineSink* sink_ = nullptr;
};

}  // namespace skylet::traffic
