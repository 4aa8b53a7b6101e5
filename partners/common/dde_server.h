#pragma once
// A DDE server for one application name and a few topics, on DDEML (as a
// server DDEML works under Wine; only its client side is unreliable there).
// It is ANSI (DdeInitializeA): texts arrive and leave as Windows-1252 bytes,
// and DDEML hands execute strings of ANSI client windows through unchanged.
//
// One server per program; the callbacks run inside the message loop of the
// thread that started it.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace partners {

struct DdeHandlers {
  // The item's text, or nothing to answer with a negative acknowledgement.
  std::function<std::optional<std::string>(const std::string& topic, const std::string& item)>
      request;
  // True for a positive acknowledgement.
  std::function<bool(const std::string& topic, const std::string& command)> execute;
  std::function<bool(const std::string& topic, const std::string& item, const std::string& text)>
      poke;
  // A client began (true) or ended (false) a conversation on the topic.
  std::function<void(const std::string& topic, bool connected)> conversation;
};

struct DdeServerState;

class DdeServer {
 public:
  DdeServer(std::string application, std::vector<std::string> topics, DdeHandlers handlers);
  ~DdeServer();
  DdeServer(const DdeServer&) = delete;
  DdeServer& operator=(const DdeServer&) = delete;

  // Registers the application name. False when DDEML refused.
  bool Start();

 private:
  std::unique_ptr<DdeServerState> impl_;
};

// DDE compares names without regard to case.
bool SameName(const std::string& a, const std::string& b);

}  // namespace partners
