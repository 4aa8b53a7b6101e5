#include "hamlib/daemon.h"

#include <charconv>

#include "station/station.h"

namespace skylet::hamlib {

namespace {

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [last, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || last != end) return std::nullopt;
  return value;
}

// Told once per outage; the next command that works ends the outage.
void Failed(Station& st, const Conversation& c, const std::string& reason) {
  if (c.daemon.down) return;
  c.daemon.down = true;
  st.os.alerts.Notify(std::string("Hamlib ") + c.daemon.program + " (" + c.address + "): " +
                          reason +
                          "\rSkylet verfolgt den Satelliten weiter und versucht es wieder.",
                      kProgramName);
}

void LinkLost(Station& st, const Conversation& c, const std::string& reason) {
  c.link.Close();
  c.daemon.retryAt = st.os.clock.MonotonicSeconds() + kRetrySeconds;
  Failed(st, c, reason);
}

}  // namespace

std::optional<Address> ParseAddress(std::string_view text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  const std::optional<int> port = WholeNumber(text.substr(colon + 1));
  if (!port || *port < 1 || *port > 65535) return std::nullopt;
  std::string_view host = text.substr(0, colon);
  // An IPv6 address stands in brackets before its port: "[::1]:4532".
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  return Address{std::string(host), *port};
}

std::optional<int> ReportCode(std::string_view line) {
  constexpr std::string_view kReport = "RPRT ";
  if (line.substr(0, kReport.size()) != kReport) return std::nullopt;
  return WholeNumber(line.substr(kReport.size()));
}

bool IsReport(std::string_view line) { return ReportCode(line).has_value(); }

bool RigOn(const Station& st) { return st.hamlib.live.RigOn == "+"; }
bool RotOn(const Station& st) { return st.hamlib.live.RotOn == "+"; }

Conversation Rig(Station& st) { return {st.hamlib.rig, st.os.rigNet, st.hamlib.live.RigAddress}; }
Conversation Rot(Station& st) { return {st.hamlib.rot, st.os.rotNet, st.hamlib.live.RotAddress}; }

bool Connected(Station& st, const Conversation& c) {
  if (c.link.IsOpen()) return true;
  if (c.daemon.down && st.os.clock.MonotonicSeconds() < c.daemon.retryAt) return false;
  // The reader let only a valid address through.
  const std::optional<Address> address = ParseAddress(c.address);
  std::string error = "keine Adresse Rechner:Port";
  if (!address || !c.link.Connect(address->host, address->port, kTimeoutMs, error)) {
    LinkLost(st, c, "keine Verbindung: " + error);
    return false;
  }
  c.daemon.fresh = true;
  return true;
}

std::optional<std::string> Ask(Station& st, const Conversation& c, const std::string& command,
                               bool (*expected)(std::string_view answer), const char* wanted) {
  if (!Connected(st, c)) return std::nullopt;
  std::string error;
  const std::optional<std::string> answer = c.link.Transact(command, kTimeoutMs, error);
  if (!answer) {
    LinkLost(st, c, "\"" + command + "\": " + error);
    return std::nullopt;
  }
  if (!expected(*answer)) {
    // Answers no longer match their commands: start afresh.
    LinkLost(st, c, "\"" + command + "\" gab \"" + answer->substr(0, 40) + "\" statt " + wanted);
    return std::nullopt;
  }
  return answer;
}

bool Command(Station& st, const Conversation& c, const std::string& command) {
  const std::optional<std::string> answer = Ask(st, c, command, &IsReport, "RPRT");
  if (!answer) return false;
  const std::optional<int> code = ReportCode(*answer);
  if (*code != 0) {
    Failed(st, c, "\"" + command + "\" abgelehnt (RPRT " + std::to_string(*code) + ")");
    return false;
  }
  c.daemon.down = false;
  return true;
}

}  // namespace skylet::hamlib
