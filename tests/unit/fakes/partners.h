#pragma once
// Fakes of the far ends: a DDE partner, the radio's serial port and the
// program starter. Each keeps a log of what the program sent, and answers as
// its scripted case says (accepted, refused, no answer). A station's fakes
// also write into one shared timeline (`Events`), so a test sees what
// crossed every line in order.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dde_link.h"
#include "platform/launcher.h"
#include "platform/serial_port.h"

namespace skylet::fakes {

using Events = std::vector<std::string>;

// Bytes as a test reads them: "FE FE 60 E0 05".
std::string Hex(const std::string& bytes);
// Kenwood commands as text, CI-V and Yaesu frames in hex.
std::string Shown(const std::string& bytes);

class FakeDdeLink : public platform::DdeLink {
 public:
  bool Open(const platform::DdeLinkTarget& target) override;
  std::optional<std::string> Request() override;
  bool Execute(const std::string& command) override;
  bool Poke(const std::string& text) override;
  void Close() override;
  bool IsOpen() const override { return open_; }

  // Scripted partner.
  bool serverRunning = true;         // whether an Open finds a server
  int opensToFail = 0;               // the next n opens fail even so
  bool acceptCommands = true;        // positive or negative acknowledgement
  std::deque<std::string> answers;   // one per request; none left: time-out

  // What the program did, in order: "open App|Topic item t=200",
  // "request", "execute ClientOn", "poke GA:90", "close".
  std::vector<std::string> log;
  platform::DdeLinkTarget target;
  // The shared timeline gets each command as "<name> ClientOn", "(refused)" added.
  Events* events = nullptr;
  std::string name;

 private:
  bool open_ = false;
};

class FakeSerialPort : public platform::SerialPort {
 public:
  explicit FakeSerialPort(platform::Clock* clock = nullptr, Events* events = nullptr)
      : clock_(clock), events_(events) {}

  void SetCommPort(int number) override { commPort = number; }
  void SetSettings(const std::string& s) override { settings = s; }
  void SetRThreshold(int bytes) override { rThreshold = bytes; }
  void SetRTSEnable(bool on) override { rtsEnable = on; }
  void SetInputModeBinary(bool binary) override { inputBinary = binary; }
  bool Open(std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  bool Output(const std::string& bytes) override;
  int InBufferCount() override { return static_cast<int>(inBuffer.size()); }
  void DiscardInput() override;

  // Scripted port.
  bool failOpen = false;
  bool failWrites = false;
  std::string inBuffer;  // bytes the radio has sent back
  // A radio on a CI-V bus: every frame written comes back as its echo, then
  // the radio's FB answer.
  bool answerLikeIcom = false;

  // Properties as set, and every write with the clock's time of it.
  int commPort = 0;
  std::string settings;
  int rThreshold = 0;
  bool rtsEnable = false;
  bool inputBinary = false;
  struct Write {
    double at;
    std::string bytes;
  };
  std::vector<Write> writes;

 private:
  platform::Clock* clock_;
  Events* events_;
  bool open_ = false;
};

class FakeLauncher : public platform::Launcher {
 public:
  void ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                 const std::string& folder, platform::ShowCommand show) override;
  platform::StartResult Start(const std::string& commandLine, platform::ShowCommand show) override;

  platform::StartResult startResult = platform::StartResult::Started;
  // "shell Open C:\\x\\RotServer.exe | C:\\x 4", "start C:\\Avor\\Avor.exe 4"; and
  // "sleep 1200" from a clock whose events go here.
  std::vector<std::string> log;
};

}  // namespace skylet::fakes
