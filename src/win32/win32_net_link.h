#pragma once
#include <winsock2.h>

#include "platform/net_link.h"

namespace skylet::win32 {

// A TCP conversation in text lines through Winsock. Every wait is bounded by
// select(): connecting to an address that does not answer, or a daemon that
// takes no command, costs at most the time-out given.
class NetLink : public platform::NetLink {
 public:
  NetLink();
  ~NetLink() override { Close(); }
  NetLink(const NetLink&) = delete;
  NetLink& operator=(const NetLink&) = delete;

  bool Connect(const std::string& host, int port, int timeoutMs, std::string& error) override;
  std::optional<std::string> Transact(const std::string& line, int timeoutMs,
                                      std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return socket_ != INVALID_SOCKET; }

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace skylet::win32
