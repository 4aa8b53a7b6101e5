#pragma once
// Fakes of the platform services. Each records what the program did, so a
// test reads like what an operator or a partner would have seen.
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "station/station.h"
#include "platform/alerts.h"
#include "platform/clock.h"
#include "platform/data_folders.h"
#include "platform/file_store.h"
#include "platform/locale.h"
#include "platform/screen.h"
#include "fakes/partners.h"

namespace skylet::fakes {

// Files in memory, keyed by the full path as opened.
class FakeFileStore : public platform::FileStore {
 public:
  platform::FileRead Read(const std::string& path) override;
  bool Write(const std::string& path, const std::string& bytes, std::string& error) override;

  std::map<std::string, std::string> files;
  std::map<std::string, bool> unreadable;  // paths that exist but cannot be read
  bool failWrites = false;                 // e.g. a full disk
  std::vector<std::string> writes;         // paths, in order
};

class FakeDataFolders : public platform::DataFolders {
 public:
  std::string ProgramFolder() override { return programFolder; }
  platform::AppDataLookup RoamingAppData() override { return lookup; }

  std::string programFolder = "C:\\Programme\\Skylet";
  platform::AppDataLookup lookup{platform::AppDataLookup::Result::Ok,
                                 "C:\\Users\\op\\AppData\\Roaming"};
};

class FakeAlerts : public platform::Alerts {
 public:
  struct Box {
    std::string text;
    std::string title;
  };
  // A message box waits for OK; meanwhile (once) the operator or Windows may act.
  void ShowMessage(const std::string& text, const std::string& title) override {
    boxes.push_back({text, title});
    if (events) events->push_back("message");
    std::exchange(meanwhile, [] {})();
  }
  void Notify(const std::string& text, const std::string& title) override {
    notices.push_back({text, title});
  }
  void Beep() override { ++beeps; }

  std::vector<Box> boxes;
  std::vector<Box> notices;  // told without holding up the program
  int beeps = 0;
  Events* events = nullptr;
  std::function<void()> meanwhile = [] {};
};

// A clock that only moves when the program sleeps. `oversleepMs` makes every
// sleep last longer (a scheduler tick), `undersleepMs` shorter (an early
// wake-up).
class FakeClock : public platform::Clock {
 public:
  double MonotonicSeconds() override { return monotonic; }
  double SecondsSinceMidnight() override;
  void SleepMs(int milliseconds) override;

  double monotonic = 1000.0;
  double timeOfDay = 12 * 3600.0;  // seconds since midnight
  int oversleepMs = 0;
  int undersleepMs = 0;
  std::vector<int> sleeps;
  // A timeline that each sleep also goes into, as "sleep 1200", for a test
  // that needs the waits in order with the partners' actions.
  Events* events = nullptr;
};

class FakeLocale : public platform::Locale {
 public:
  std::string DecimalSeparator() override { return separator; }
  std::string separator = ".";
};

class FakeScreen : public platform::Screen {
 public:
  int WidthTwips() override { return width; }
  int HeightTwips() override { return height; }
  int width = 19200;   // 1280 pixels at 96 DPI
  int height = 15360;  // 1024 pixels
};

// Ending the program throws this, so a test sees where the program ended
// and that nothing ran after it.
struct ProgramEnded {
  int exitCode;
};

class FakeProcess : public platform::ProcessControl {
 protected:
  void EndNow(int exitCode) override { throw ProgramEnded{exitCode}; }
};

// A station wired to fakes, with the two data folders the fake lookup gives.
struct FakeStation {
  FakeFileStore files;
  FakeDataFolders folders;
  FakeAlerts alerts;
  FakeClock clock;
  FakeScreen screen;
  FakeLauncher launcher;
  FakeProcess process;
  Events timeline;  // what crossed every line, and the waits, in order
  FakeSerialPort port{&clock, &timeline};
  FakeDdeLink avor;
  FakeDdeLink rotorLink;
  FakeDdeLink catLink;
  FakeLocale locale;
  Station st{Services{files, folders, alerts, clock, screen, launcher, process, port, avor,
                      rotorLink, catLink, locale}};

  static constexpr const char* kVantrak = "C:\\Users\\op\\AppData\\Roaming\\Vantrak\\";
  static constexpr const char* kSkylet = "C:\\Users\\op\\AppData\\Roaming\\Skylet\\";

  FakeStation() {
    clock.events = alerts.events = rotorLink.events = catLink.events = &timeline;
    rotorLink.name = "rotor";
    catLink.name = "cat";
    st.paths.VantrakDir = kVantrak;
    st.paths.SkyletDir = kSkylet;
  }
  void Vantrak(const std::string& name, const std::string& bytes) {
    files.files[kVantrak + name] = bytes;
  }
  void Skylet(const std::string& name, const std::string& bytes) {
    files.files[kSkylet + name] = bytes;
  }
  // A complete, consistent set of all seventeen files.
  void WriteCompleteProfile();
  // A radio of `family`/`model` on COM 3 with a 50 ms CAT wait, its commands
  // built (downlink address 60, uplink 61; Yaesu opcodes 1E/2E) and the port
  // open.
  void SerialRadio(const std::string& family, const std::string& model);
  // The timeline since the last look, the waits between two events added up:
  // "50ms | FA00435800000; | 50ms".
  std::string Timeline();
};

}  // namespace skylet::fakes
