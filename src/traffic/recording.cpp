#include "traffic/recording.h"

namespace skylet::traffic {

namespace {

// A message's lines, separated by a carriage return alone, on one line.
std::string OneLine(const std::string& text) {
  std::string line;
  for (const char c : text) line += c == '\r' ? std::string(" / ") : std::string(1, c);
  return Text(line);
}

}  // namespace

bool RecordingSerialPort::Open(std::string& error) {
  const bool open = port_.Open(error);
  traffic_.Record(Link::Radio, Way::Note, open ? "COM" + std::to_string(number_) + " offen" : Text(error));
  return open;
}

bool RecordingSerialPort::Output(const std::string& bytes) {
  const bool written = port_.Output(bytes);
  traffic_.Record(Link::Radio, Way::Out, Content(bytes) + (written ? "" : "  (nicht geschrieben)"));
  return written;
}

std::string RecordingSerialPort::Input() {
  std::string got = port_.Input();
  if (!got.empty()) traffic_.Record(Link::Radio, Way::In, Content(got));
  return got;
}

void RecordingSerialPort::DiscardInput() {
  Input();
  port_.DiscardInput();
}

bool RecordingDdeLink::Open(const platform::DdeLinkTarget& target) {
  const bool open = dde_.Open(target);
  traffic_.Record(link_, Way::Note, (open ? "verbunden: " : "keine Antwort: ") + Text(target.application) + "|" +
                                        Text(target.topic));
  return open;
}

std::optional<std::string> RecordingDdeLink::Request() {
  std::optional<std::string> got = dde_.Request();
  traffic_.Record(link_, got ? Way::In : Way::Note, got ? Text(*got) : "keine Antwort");
  return got;
}

bool RecordingDdeLink::Execute(const std::string& command) {
  const bool done = dde_.Execute(command);
  traffic_.Record(link_, Way::Out, Text(command) + (done ? "" : "  (nicht best\xe4tigt)"));
  return done;
}

bool RecordingDdeLink::Poke(const std::string& text) {
  const bool done = dde_.Poke(text);
  traffic_.Record(link_, Way::Out, Text(text) + (done ? "" : "  (nicht best\xe4tigt)"));
  return done;
}

void RecordingDdeLink::Close() {
  if (dde_.IsOpen()) traffic_.Record(link_, Way::Note, "getrennt");
  dde_.Close();
}

bool RecordingNetLink::Connect(const std::string& host, int port, int timeoutMs, std::string& error) {
  const bool linked = net_.Connect(host, port, timeoutMs, error);
  const std::string where = Text(host) + ":" + std::to_string(port);
  traffic_.Record(link_, Way::Note, linked ? "verbunden: " + where : where + ": " + Text(error));
  return linked;
}

std::optional<std::string> RecordingNetLink::Transact(const std::string& line, int timeoutMs, std::string& error) {
  // The command at its time, not after the answer's wait.
  traffic_.Record(link_, Way::Out, Text(line));
  std::optional<std::string> answer = net_.Transact(line, timeoutMs, error);
  traffic_.Record(link_, answer ? Way::In : Way::Note, answer ? Text(*answer) : Text(error));
  return answer;
}

void RecordingNetLink::Close() {
  if (net_.IsOpen()) traffic_.Record(link_, Way::Note, "getrennt");
  net_.Close();
}

void RecordingAlerts::ShowMessage(const std::string& text, const std::string& title) {
  traffic_.Record(Link::Skylet, Way::Note, OneLine(text));
  alerts_.ShowMessage(text, title);
}

void RecordingAlerts::Notify(const std::string& text, const std::string& title) {
  traffic_.Record(Link::Skylet, Way::Note, OneLine(text));
  alerts_.Notify(text, title);
}

}  // namespace skylet::traffic
