#pragma once
// One TCP conversation in lines of text, as Hamlib's network daemons speak
// it: a command line out, one answer line back.
#include <optional>
#include <string>

namespace skylet::platform {

class NetLink {
 public:
  virtual ~NetLink() = default;
  // Connects to host:port, giving up after `timeoutMs`. An open link is
  // closed first. On failure `error` says why.
  virtual bool Connect(const std::string& host, int port, int timeoutMs, std::string& error) = 0;
  // Sends `line` with a line end and returns the next line received (without
  // its line end) within `timeoutMs`; nothing when the send failed, the
  // answer did not come in time or the far end closed, `error` saying which.
  virtual std::optional<std::string> Transact(const std::string& line, int timeoutMs,
                                              std::string& error) = 0;
  // Harmless on a closed link.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

}  // namespace skylet::platform
