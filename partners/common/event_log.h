#pragma once
// The partners' logs, read by the end-to-end tests: one line per event,
//   2026-12-06 20:41:07.123 execute RotServConv ClientOn
// local time with milliseconds, then the event. Texts stay Windows-1252
// bytes, escaped by Escaped() (program.h) so every event is exactly one line.
// Lines end with CR LF.
#include <string>

#include "common/program.h"

namespace partners {

class EventLog {
 public:
  EventLog() = default;  // logs nothing
  explicit EventLog(std::string path) : path_(std::move(path)) {}
  // Appends and closes the file again, so a reader sees each line at once.
  void Write(const std::string& event) const;

 private:
  std::string path_;
};

}  // namespace partners
