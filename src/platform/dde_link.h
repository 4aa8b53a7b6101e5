#pragma once
// One DDE client conversation, as held by an invisible link label of the main
// window (application|topic, item, manual mode, time-out).
#include <optional>
#include <string>

namespace skylet::platform {

struct DdeLinkTarget {
  std::string application;  // empty: any server of the topic answers
  std::string topic;
  std::string item;
  int timeoutTenths = 0;  // every wait on the partner ends after this
};

class DdeLink {
 public:
  virtual ~DdeLink() = default;
  // Mode manual: starts the conversation. Fails at once when no program
  // serves application|topic. An open link is closed first.
  virtual bool Open(const DdeLinkTarget& target) = 0;
  // Asks for the item's current text; empty on failure or time-out.
  virtual std::optional<std::string> Request() = 0;
  // True only on a positive acknowledgement within the time-out.
  virtual bool Execute(const std::string& command) = 0;
  virtual bool Poke(const std::string& text) = 0;
  // Mode none: ends the conversation. Harmless on a closed link.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

}  // namespace skylet::platform
