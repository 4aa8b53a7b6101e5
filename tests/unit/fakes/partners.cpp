#include "fakes/partners.h"

namespace skylet::fakes {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Shown(const std::string& bytes) {
  for (unsigned char c : bytes) {
    if (c < 0x20 || c > 0x7E) return Hex(bytes);
  }
  return bytes;
}

bool FakeDdeLink::Open(const platform::DdeLinkTarget& t) {
  log.push_back("open " + t.application + "|" + t.topic + " " + t.item + " t=" +
                std::to_string(t.timeoutTenths));
  open_ = false;
  target = t;
  if (!serverRunning || opensToFail > 0) {
    if (opensToFail > 0) --opensToFail;
    return false;
  }
  open_ = true;
  return true;
}

std::optional<std::string> FakeDdeLink::Request() {
  log.push_back("request");
  if (!open_ || answers.empty()) return std::nullopt;
  std::string answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

bool FakeDdeLink::Execute(const std::string& command) {
  log.push_back("execute " + command);
  const bool ok = open_ && acceptCommands;
  if (events) events->push_back(name + " " + command + (ok ? "" : " (refused)"));
  return ok;
}

bool FakeDdeLink::Poke(const std::string& text) {
  log.push_back("poke " + text);
  return open_ && acceptCommands;
}

void FakeDdeLink::Close() {
  log.push_back("close");
  open_ = false;
}

bool FakeSerialPort::Open(std::string& error) {
  if (failOpen) {
    error = "COM" + std::to_string(commPort) + ": Zugriff verweigert";
    return false;
  }
  open_ = true;
  return true;
}

void FakeSerialPort::Close() {
  if (open_ && events_) events_->push_back("port closed");
  open_ = false;
}

bool FakeSerialPort::Output(const std::string& bytes) {
  const bool ok = open_ && !failWrites;
  if (events_) events_->push_back(Shown(bytes) + (ok ? "" : " (failed)"));
  if (!ok) return false;
  writes.push_back({clock_ ? clock_->MonotonicSeconds() : 0.0, bytes});
  if (answerLikeIcom) inBuffer += bytes + std::string("\xFE\xFE\xE0\x60\xFB\xFD", 6);
  return true;
}

void FakeSerialPort::DiscardInput() {
  inBuffer.clear();
  if (events_) events_->push_back("discard");
}

void FakeLauncher::ShellOpen(const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& folder,
                             platform::ShowCommand show) {
  log.push_back("shell " + verb + " " + file + (parameters.empty() ? "" : " " + parameters) +
                " | " + folder + " " + std::to_string(static_cast<int>(show)));
}

platform::StartResult FakeLauncher::Start(const std::string& commandLine,
                                          platform::ShowCommand show) {
  log.push_back("start " + commandLine + " " + std::to_string(static_cast<int>(show)));
  return startResult;
}

}  // namespace skylet::fakes
