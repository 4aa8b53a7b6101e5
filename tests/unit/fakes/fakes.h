#pragma once
// Fakes of the platform services and the far ends: each records what the program did and answers as
// scripted; a station's fakes also write into one shared timeline, so a test sees every line in order.
#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/alerts.h"
#include "platform/append_file.h"
#include "platform/clock.h"
#include "platform/data_folders.h"
#include "platform/dde_link.h"
#include "platform/file_store.h"
#include "platform/launcher.h"
#include "platform/locale.h"
#include "platform/net_link.h"
#include "platform/screen.h"
#include "platform/serial_port.h"
#include "radio/link_setup.h"
#include "station/station.h"
#include "ui/form_events.h"

namespace skylet::fakes {

using Events = std::vector<std::string>;

// Bytes as a test reads them: "FE FE 60 E0 05".
inline std::string Hex(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += "0123456789ABCDEF"[c >> 4];
    out += "0123456789ABCDEF"[c & 15];
  }
  return out;
}

// Kenwood commands as text, CI-V and Yaesu frames in hex.
inline std::string Shown(const std::string& bytes) {
  const bool text = std::ranges::all_of(bytes, [](unsigned char c) { return c >= 0x20 && c <= 0x7E; });
  return text ? bytes : Hex(bytes);
}

// Files in memory, keyed by the full path as opened.
struct FakeFileStore : platform::FileStore {
  platform::FileRead Read(const std::string& path) override {
    if (everyFile) return {platform::FileRead::Status::Ok, *everyFile};
    if (path == unreadable) return {platform::FileRead::Status::Unreadable, {}};
    auto it = files.find(path);
    if (it == files.end()) return {platform::FileRead::Status::Missing, {}};
    return {platform::FileRead::Status::Ok, it->second};
  }
  // A folder is there when a file in it is, or it was made empty.
  bool FolderExists(const std::string& path) override {
    const auto it = files.lower_bound(path);
    return everyFile || folders.contains(path) || (it != files.end() && it->first.starts_with(path));
  }
  bool Write(const std::string& path, const std::string& bytes, std::string& error) override {
    if (failWrites) {
      error = "Nicht gen\xfcgend Speicherplatz auf dem Datentr\xe4ger.";
      return false;
    }
    files[path] = bytes;
    writes.push_back(path);
    return true;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> folders;           // empty ones
  std::optional<std::string> everyFile;  // whatever the path
  bool failWrites = false;          // e.g. a full disk
  std::string unreadable;           // a path whose file is there but cannot be read
  std::vector<std::string> writes;  // paths, in order
};

struct FakeDataFolders : platform::DataFolders {
  std::string ProgramFolder() override { return "C:\\Programme\\Skylet"; }
  platform::AppDataLookup RoamingAppData() override { return lookup; }

  platform::AppDataLookup lookup{platform::AppDataLookup::Result::Ok, "C:\\Users\\op\\AppData\\Roaming"};
};

struct FakeAlerts : platform::Alerts {
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
    if (events) events->push_back("notice");
  }
  void Beep() override { ++beeps; }

  std::vector<Box> boxes;
  std::vector<Box> notices;  // told without holding up the program
  int beeps = 0;
  Events* events = nullptr;
  std::function<void()> meanwhile = [] {};
};

// Moves only when the program sleeps, each sleep `oversleepMs` longer or `undersleepMs` shorter.
struct FakeClock : platform::Clock {
  double MonotonicSeconds() override { return monotonic; }
  double SecondsSinceMidnight() override { return std::fmod(timeOfDay, 86400.0); }
  std::string Today() override { return today; }
  void SleepMs(int milliseconds) override {
    if (events) events->push_back("sleep " + std::to_string(milliseconds));
    // An early wake-up still lets at least a millisecond pass.
    const int ms = std::max(1, milliseconds + oversleepMs - undersleepMs);
    monotonic += ms / 1000.0;
    timeOfDay += ms / 1000.0;
  }

  double monotonic = 1000.0;
  double timeOfDay = 12 * 3600.0;
  std::string today = "2026-12-09";
  int oversleepMs = 0;
  int undersleepMs = 0;
  Events* events = nullptr;
};

struct FakeLocale : platform::Locale {
  std::string DecimalSeparator() override { return separator; }
  std::string separator = ".";
};

// 1280 x 1024 pixels at 96 DPI.
struct FakeScreen : platform::Screen {
  int WidthTwips() override { return 19200; }
  int HeightTwips() override { return 15360; }
};

// Ending the program throws this, so nothing runs after it.
struct ProgramEnded {
  int exitCode;
};

class FakeProcess : public platform::ProcessControl {
 protected:
  void EndNow(int exitCode) override { throw ProgramEnded{exitCode}; }
};

struct FakeDdeLink : platform::DdeLink {
  bool Open(const platform::DdeLinkTarget& t) override {
    log.push_back("open " + t.application + "|" + t.topic + " " + t.item + " t=" + std::to_string(t.timeoutTenths));
    open_ = serverRunning && opensToFail <= 0;
    if (opensToFail > 0) --opensToFail;
    return open_;
  }
  std::optional<std::string> Request() override {
    log.push_back("request");
    if (!open_ || answers.empty()) return std::nullopt;
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
  bool Execute(const std::string& command) override {
    log.push_back("execute " + command);
    const bool ok = open_ && acceptCommands;
    if (events) events->push_back(name + " " + command + (ok ? "" : " (refused)"));
    return ok;
  }
  bool Poke(const std::string& text) override {
    log.push_back("poke " + text);
    if (events) events->push_back(name + " poke " + text);
    return open_ && acceptCommands;
  }
  void Close() override {
    log.push_back("close");
    open_ = false;
  }
  bool IsOpen() const override { return open_; }

  bool serverRunning = true;        // whether an Open finds a server
  int opensToFail = 0;              // the next n opens fail even so
  bool acceptCommands = true;       // positive or negative acknowledgement
  std::deque<std::string> answers;  // one per request; none left: time-out

  std::vector<std::string> log;  // "open App|Topic item t=200", "request", "execute ClientOn", ...
  Events* events = nullptr;       // gets each command as "<name> ClientOn", "(refused)" added
  std::string name;
  bool open_ = false;
};

struct FakeSerialPort : platform::SerialPort {
  void SetCommPort(int number) override { commPort = number; }
  void SetSettings(const std::string& s) override { settings = s; }
  void SetRThreshold(int) override {}
  void SetRTSEnable(bool on) override { rtsEnable = on; }
  void SetInputModeBinary(bool binary) override { inputBinary = binary; }
  bool Open(std::string& error) override {
    if (failOpen) error = "COM" + std::to_string(commPort) + ": Zugriff verweigert";
    open_ = open_ || !failOpen;
    return !failOpen;
  }
  void Close() override {
    if (open_ && events) events->push_back("port closed");
    open_ = false;
  }
  bool IsOpen() const override { return open_; }
  bool Output(const std::string& bytes) override {
    const bool ok = open_ && !failWrites;
    if (events) events->push_back(Shown(bytes) + (ok ? "" : " (failed)"));
    if (!ok) return false;
    writes.push_back(bytes);
    if (icomAnswer) inBuffer += bytes + *icomAnswer;
    if (farEnd) inBuffer += farEnd(bytes);
    return true;
  }
  int InBufferCount() override { return static_cast<int>(inBuffer.size()); }
  std::string Input() override { return std::exchange(inBuffer, {}); }
  void DiscardInput() override {
    inBuffer.clear();
    if (events) events->push_back("discard");
  }

  bool failOpen = false;
  bool failWrites = false;
  // A radio on a CI-V bus: every frame written comes back as its echo, then this answer (FB: taken).
  std::optional<std::string> icomAnswer;
  // A radio that answers queries: what comes back after `written`.
  std::function<std::string(const std::string& written)> farEnd;
  std::string inBuffer;

  int commPort = 0;
  std::string settings;
  bool rtsEnable = false;
  bool inputBinary = false;
  std::vector<std::string> writes;
  Events* events = nullptr;
  bool open_ = false;
};

// A Hamlib daemon at the far end: `vfos` to "\chk_vfo", "RPRT 0" to every other command unless scripted
// otherwise.
struct FakeNetLink : platform::NetLink {
  bool Connect(const std::string& host, int port, int, std::string& error) override {
    const std::string address = host + ":" + std::to_string(port);
    if (events) events->push_back(name + " connect " + address + (running ? "" : " (refused)"));
    if (!running) error = "refused";
    return open_ = running;
  }
  std::optional<std::string> Transact(const std::string& line, int, std::string& error) override {
    if (events) events->push_back(name + " " + line);
    std::string answer = !answers.empty() ? answers.front() : line == "\\chk_vfo" ? vfos : "RPRT 0";
    if (answers.empty() && farEnd) answer = farEnd(line);
    if (!answers.empty()) answers.pop_front();
    if (!open_ || !running || answer.empty()) {
      error = "no answer";
      return std::nullopt;
    }
    return answer;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }

  bool running = true;              // false: connections refused, an open one gets no answer
  std::deque<std::string> answers;  // one per command, "" for none in time; none left: as above
  std::string vfos = "1";           // "1": VFO mode on the connection, "0": a daemon without it
  std::function<std::string(const std::string& line)> farEnd;  // a radio behind the daemon
  Events* events = nullptr;
  std::string name;
  bool open_ = false;
};

struct FakeAppendFile : platform::AppendFile {
  bool Open(const std::string& path, uint64_t& size, std::string& error) override {
    open = path;
    size = files[path].size();
    if (failOpen) error = "Zugriff verweigert";
    return !failOpen;
  }
  bool Append(const std::string& bytes, std::string& error) override {
    if (failAppend) error = "Datentr\xe4ger voll";
    if (!failAppend) files[open] += bytes;
    return !failAppend;
  }
  void Close() override { open.clear(); }
  std::map<std::string, std::string> files;
  std::string open;
  bool failOpen = false, failAppend = false;
};

struct FakeLauncher : platform::Launcher {
  void ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                 const std::string& folder, platform::ShowCommand show) override {
    log.push_back("shell " + verb + " " + file + (parameters.empty() ? "" : " " + parameters) + " | " + folder +
                  " " + std::to_string(static_cast<int>(show)));
  }
  platform::StartResult Start(const std::string& commandLine, platform::ShowCommand show) override {
    log.push_back("start " + commandLine + " " + std::to_string(static_cast<int>(show)));
    return startResult;
  }

  platform::StartResult startResult = platform::StartResult::Started;
  std::vector<std::string> log;
};

// The operator at one form, naming its controls.
struct Operator {
  Station& st;
  const ui::FormTable& form;
  const ui::ControlRow& Row(const char* name, int index = -1) const {
    return *ui::FindRow(form, name, index);
  }
  void Press(const char* name, int index = -1) const { ui::Click(st, form, Row(name, index)); }
  void Spin(const char* name, int step) const { ui::Spin(st, Row(name), step); }
  void Type(const char* name, const std::string& text) const { ui::Type(st, Row(name), text); }
  void Choose(const char* name, int item) const { ui::SelectItem(st, Row(name), item); }
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
  Events timeline;
  FakeSerialPort port;
  FakeDdeLink avor;
  FakeDdeLink rotorLink;
  FakeDdeLink catLink;
  FakeLocale locale;
  FakeNetLink rigNet;
  FakeNetLink rotNet;
  traffic::Traffic traffic{clock};
  FakeAppendFile trafficFile;
  Station st{Services{files, folders, alerts, clock, screen, launcher, process, port, avor,
                      rotorLink, catLink, locale, rigNet, rotNet, traffic, trafficFile}};

  static constexpr const char* kVantrak = "C:\\Users\\op\\AppData\\Roaming\\Vantrak\\";
  static constexpr const char* kSkylet = "C:\\Users\\op\\AppData\\Roaming\\Skylet\\";

  FakeStation() {
    clock.events = alerts.events = rotorLink.events = catLink.events = port.events = &timeline;
    rigNet.events = rotNet.events = &timeline;
    rotorLink.name = "rotor";
    catLink.name = "cat";
    rigNet.name = "rigctld";
    rotNet.name = "rotctld";
    st.paths.VantrakDir = kVantrak;
    st.paths.SkyletDir = kSkylet;
  }
  void Vantrak(const std::string& name, const std::string& bytes) { files.files[kVantrak + name] = bytes; }
  void Skylet(const std::string& name, const std::string& bytes) { files.files[kSkylet + name] = bytes; }
  std::string Own(const std::string& name) { return files.files[kSkylet + name]; }
  Operator At(const ui::FormTable& form) { return {st, form}; }
  void WriteCompleteProfile() {
    Vantrak("TRX.SQF", "Kenwood\r\n");
    Vantrak("SatIni.SQF",
            "Station\r\nJN58\r\n48.1\r\n11.6\r\n 3\r\n 50\r\n 2\r\n 7\r\nN\r\n 5\r\n 1.5\r\n-2\r\nx\r\n"
            "x\r\n");
    Vantrak("ParPort.SQF", "; LPT-Adressen\r\n$378\r\n$278\r\n");
    Vantrak("YaesuPar.SQF", "$01\r\n$11\r\n4800\r\nFT-847\r\n");
    Vantrak("KenwoodPar.SQF", "TS-2000\r\n9600\r\n0000000\r\n");
    Vantrak("IcomPar.SQF", "9600\r\n$60\r\n$60\r\n$5E\r\n$5E\r\n");
    Vantrak("IcomName.SQF", "IC-910H\r\n");
    Vantrak("StandPos.SQF", "; Standardrichtungen\r\nNord,0\r\nOst,90\r\nS\xfc" "d,180\r\n");
    Vantrak("RotorServer.SQF", "C:\\Vantrak\\RotServer\r\n");
    Vantrak("CatServer.SQF", "C:\\Vantrak\\CatServer\r\n");
    Vantrak("Transvrt.SQF", " 0, 0\r\n 2256000, 144000\r\n");
    Skylet("AvorPath.SQF", "C:\\Avor\\Avor.exe\r\n");
    Skylet("SkyletPos.SQF", " 1200\r\n 1500\r\n");
    Skylet("DDEIntVCat.SQF", " 100\r\n");
    Skylet("DDEParkPos.SQF", " 180\r\n 0\r\n 5\r\n");
    Skylet("SkyletStart.SQF", "+\r\n-\r\n-\r\n-\r\n-\r\n");
    Skylet("DDERotOpt.SQF", "w\r\n 10\r\n 5\r\nk\r\n");
  }
  // On COM 3, 50 ms CAT wait, commands built (Icom downlink 60, uplink 61; Yaesu 1E/2E), port open.
  void SerialRadio(const std::string& family, const std::string& model) {
    radio::RadioState& r = st.radio;
    r.TrxFamily = family;
    r.KenwoodModel = r.IcomModel = r.YaesuModel = model;
    r.KenwoodSatPar = "0";
    r.YaesuRxCmd = 0x1E;
    r.YaesuTxCmd = 0x2E;
    r.IcomRxAddr = r.IcomCmdAddr = 0x60;
    r.IcomTxAddr = 0x61;
    r.CatPort = 3;
    r.CatDelay = 0.05;
    radio::BuildCatCommands(st);
    std::string error;
    port.Open(error);
  }
  // The timeline since the last look, the waits between events added up: "50ms | FA00435800000;".
  std::string Timeline() {
    std::string out;
    int waited = 0;
    timeline.push_back("");  // takes out the last wait
    for (const std::string& e : timeline) {
      if (e.rfind("sleep ", 0) == 0) {
        waited += std::stoi(e.substr(6));
        continue;
      }
      if (waited) out += " | " + std::to_string(waited) + "ms";
      if (!e.empty()) out += " | " + e;
      waited = 0;
    }
    timeline.clear();
    return out.empty() ? out : out.substr(3);
  }
};

}  // namespace skylet::fakes
