#pragma once
// The station's links as the program uses them, each passing every call on
// to the real one unchanged and recording what went over it afterwards, so
// the bytes and their timing on the wire stay as they are.
#include <optional>
#include <string>

#include "platform/alerts.h"
#include "platform/dde_link.h"
#include "platform/net_link.h"
#include "platform/serial_port.h"
#include "traffic/traffic.h"

namespace skylet::traffic {

class RecordingSerialPort final : public platform::SerialPort {
 public:
  RecordingSerialPort(platform::SerialPort& port, Traffic& traffic) : port_(port), traffic_(traffic) {}
  void SetCommPort(int number) override {
    number_ = number;
    port_.SetCommPort(number);
  }
  void SetSettings(const std::string& settings) override { port_.SetSettings(settings); }
  void SetRThreshold(int bytes) override { port_.SetRThreshold(bytes); }
  void SetRTSEnable(bool on) override { port_.SetRTSEnable(on); }
  void SetInputModeBinary(bool binary) override { port_.SetInputModeBinary(binary); }
  bool Open(std::string& error) override;
  void Close() override { port_.Close(); }
  bool IsOpen() const override { return port_.IsOpen(); }
  bool Output(const std::string& bytes) override;
  int InBufferCount() override { return port_.InBufferCount(); }
  std::string Input() override;
  // What the radio answered and the program throws away (a CI-V radio's
  // echo and FB) is taken out first, so the record shows it.
  void DiscardInput() override;

 private:
  platform::SerialPort& port_;
  Traffic& traffic_;
  int number_ = 0;
};

class RecordingDdeLink final : public platform::DdeLink {
 public:
  // `link`: what the conversation is (Avor, the rotor or the CAT server).
  RecordingDdeLink(platform::DdeLink& dde, Traffic& traffic, Link link) : dde_(dde), traffic_(traffic), link_(link) {}
  bool Open(const platform::DdeLinkTarget& target) override;
  std::optional<std::string> Request() override;
  bool Execute(const std::string& command) override;
  bool Poke(const std::string& text) override;
  void Close() override;
  bool IsOpen() const override { return dde_.IsOpen(); }

 private:
  platform::DdeLink& dde_;
  Traffic& traffic_;
  Link link_;
};

class RecordingNetLink final : public platform::NetLink {
 public:
  RecordingNetLink(platform::NetLink& net, Traffic& traffic, Link link) : net_(net), traffic_(traffic), link_(link) {}
  bool Connect(const std::string& host, int port, int timeoutMs, std::string& error) override;
  std::optional<std::string> Transact(const std::string& line, int timeoutMs, std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return net_.IsOpen(); }

 private:
  platform::NetLink& net_;
  Traffic& traffic_;
  Link link_;
};

// What Skylet tells the operator, in the record as its own notice.
class RecordingAlerts final : public platform::Alerts {
 public:
  RecordingAlerts(platform::Alerts& alerts, Traffic& traffic) : alerts_(alerts), traffic_(traffic) {}
  void ShowMessage(const std::string& text, const std::string& title) override;
  void Notify(const std::string& text, const std::string& title) override;
  void Beep() override { alerts_.Beep(); }

 private:
  platform::Alerts& alerts_;
  Traffic& traffic_;
};

}  // namespace skylet::traffic
