#pragma once
// The traffic log file: the traffic's lines appended to one file per day,
// "Verkehr-2026-12-09.txt" in the log folder. Lines are gathered in memory
// and written by Flush (at least once a second and at the quit), so the
// record path never waits on the disk. A day's file stops at kDayCapBytes
// with one closing line; a log that cannot be written is told once and
// switched off, and the pass goes on.
#include <cstdint>
#include <string>

#include "platform/alerts.h"
#include "platform/append_file.h"
#include "platform/clock.h"
#include "traffic/traffic.h"

namespace skylet::traffic {

inline constexpr uint64_t kDayCapBytes = 20ull * 1024 * 1024;

class DayLog final : public LineSink {
 public:
  DayLog(platform::AppendFile& file, platform::Clock& clock, platform::Alerts& alerts)
      : file_(file), clock_(clock), alerts_(alerts) {}
  // On: the lines from now on go to the day's file in `folder`.
  void SetOn(bool on, const std::string& folder);
  bool On() const { return on_; }
  void Take(const Line& line) override;
  // Writes what was gathered (each second, and at the quit).
  void Flush();

 private:
  void Fail(const std::string& error);

  platform::AppendFile& file_;
  platform::Clock& clock_;
  platform::Alerts& alerts_;
  std::string folder_;
  bool on_ = false;
  std::string day_;      // of the open file
  std::string pending_;  // lines not yet written
  uint64_t size_ = 0;    // the open file's, with what is pending
  bool capped_ = false;  // the day's cap reached: nothing more that day
};

}  // namespace skylet::traffic
