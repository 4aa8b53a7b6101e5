// The quit sequence as the partners see it: one timeline of what crossed the
// serial line, what the rotor and CAT links were sent, the waits, the
// position file and the end of the program, per radio family and link set-up.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/shutdown.h"
#include "fakes/fakes.h"
#include "radio/link_setup.h"
#include "ui/ausgabe_form.h"

namespace skylet::app {
namespace {

using Lines = std::vector<std::string>;

// Text commands read as text, CI-V and Yaesu frames as hex.
std::string Shown(const std::string& bytes) {
  for (unsigned char c : bytes) {
    if (c < 0x20 || c > 0x7E) return fakes::Hex(bytes);
  }
  return bytes;
}

std::string Failed(bool ok) { return ok ? "" : " (failed)"; }

// Each fake below also writes what it was asked into one shared timeline.
struct TracedPort : fakes::FakeSerialPort {
  Lines& t;
  explicit TracedPort(Lines& timeline) : t(timeline) {}
  bool Output(const std::string& bytes) override {
    const bool ok = FakeSerialPort::Output(bytes);
    if (!bytes.empty()) t.push_back(Shown(bytes) + Failed(ok));
    return ok;
  }
  void Close() override {
    t.push_back("port closed");
    FakeSerialPort::Close();
  }
};

struct TracedLink : fakes::FakeDdeLink {
  Lines& t;
  std::string name;
  TracedLink(Lines& timeline, std::string n) : t(timeline), name(std::move(n)) {}
  bool Execute(const std::string& command) override {
    const bool ok = FakeDdeLink::Execute(command);
    t.push_back(name + " " + command + (ok ? "" : " (refused)"));
    return ok;
  }
};

struct TracedFiles : fakes::FakeFileStore {
  Lines& t;
  explicit TracedFiles(Lines& timeline) : t(timeline) {}
  bool Write(const std::string& path, const std::string& bytes, std::string& error) override {
    const bool ok = FakeFileStore::Write(path, bytes, error);
    t.push_back("file " + path.substr(path.rfind('\\') + 1) + Failed(ok));
    return ok;
  }
};

// The two places where the sequence may let the operator or Windows act
// meanwhile: a message box, and (were it not a blocking sleep) a wait.
struct TracedAlerts : fakes::FakeAlerts {
  Lines& t;
  std::function<void()> meanwhile;
  explicit TracedAlerts(Lines& timeline) : t(timeline) {}
  void ShowMessage(const std::string& text, const std::string& title) override {
    FakeAlerts::ShowMessage(text, title);
    t.push_back("message");
    if (meanwhile) meanwhile();
  }
};

struct TracedClock : fakes::FakeClock {
  Lines& t;
  std::function<void()> meanwhile;
  explicit TracedClock(Lines& timeline) : t(timeline) {}
  void SleepMs(int ms) override {
    FakeClock::SleepMs(ms);
    t.push_back("sleep " + std::to_string(ms));
    if (meanwhile) meanwhile();
  }
};

// A station after start-up: the radio on an open COM 3 with a 50 ms CAT
// wait, CAT on, the rotor server and the CAT server linked but not in use
// for the radio.
struct Quit {
  Lines t;
  TracedFiles files{t};
  fakes::FakeDataFolders folders;
  TracedAlerts alerts{t};
  TracedClock clock{t};
  fakes::FakeScreen screen;
  fakes::FakeLauncher launcher;
  fakes::FakeProcess process;
  TracedPort port{t};
  fakes::FakeDdeLink avor;
  TracedLink rotorLink{t, "rotor"};
  TracedLink catLink{t, "cat"};
  fakes::FakeLocale locale;
  Station st{Services{files, folders, alerts, clock, screen, launcher, process, port, avor,
                      rotorLink, catLink, locale}};

  Quit(const std::string& family, const std::string& model) {
    radio::RadioState& r = st.radio;
    r.TrxFamily = family;
    r.KenwoodModel = r.IcomModel = r.YaesuModel = model;
    r.IcomRxAddr = r.IcomCmdAddr = 0x60;
    r.IcomTxAddr = 0x61;
    r.CatPort = 3;
    r.CatDelay = 0.05;
    r.CatOn = "+";
    r.DdeCat = "-";
    radio::BuildCatCommands(st);
    std::string error;
    port.Open(error);
    st.rotor.DdeRotor = "+";
    st.ServerName = "RotServer";
    rotorLink.Open({"RotServer", "RotServConv", "RotServItem", 200});
    catLink.Open({"RotServer", "CatServConv", "CatServItem", 50});
    st.paths.SkyletDir = fakes::FakeStation::kSkylet;
    st.Quitting = "-";
    st.main.Timer1Enabled = true;
    // Half a second before midnight: the one-second wait passes it.
    clock.timeOfDay = 86399.5;
  }

  // Runs the sequence; the timeline with the sleeps merged into waits.
  Lines Run() {
    try {
      menQuit_Click(st);
      t.push_back("returned");
    } catch (const fakes::ProgramEnded& end) {
      t.push_back("end " + std::to_string(end.exitCode));
    }
    Lines out;
    int waited = 0;
    for (const std::string& e : t) {
      if (e.rfind("sleep ", 0) == 0) {
        waited += std::stoi(e.substr(6));
        continue;
      }
      if (waited) out.push_back("wait " + std::to_string(waited));
      waited = 0;
      out.push_back(e);
    }
    return out;
  }
};

TEST(QuitSequence, LeavesEachRadioAndLinkSetUpDefined) {
  struct Row {
    const char* name;
    const char* family;
    const char* model;
    std::function<void(Quit&)> setUp;
    Lines timeline;
  };
  const auto none = [](Quit&) {};
  const Row rows[] = {
      {"IC-910H", "Icom", "IC-910H", none,
       {"file SkyletPos.SQF", "FE FE 60 E0 1A 07 00 FD", "wait 50", "rotor Close", "wait 1000",
        "port closed", "end 0"}},
      // Another Icom: no frame, the wait all the same.
      {"IC-821H", "Icom", "IC-821H", none,
       {"file SkyletPos.SQF", "wait 50", "rotor Close", "wait 1000", "port closed", "end 0"}},
      {"TS-2000", "Kenwood", "TS-2000", none,
       {"file SkyletPos.SQF", "rotor Close", "wait 1000", "SA0010000;", "port closed", "end 0"}},
      {"TS-790", "Kenwood", "TS-790", none,
       {"file SkyletPos.SQF", "rotor Close", "wait 1000", "port closed", "end 0"}},
      {"FT-736R", "Yaesu", "FT-736R", none,
       {"file SkyletPos.SQF", "80 80 80 80 80", "rotor Close", "wait 1000", "port closed",
        "end 0"}},
      {"CAT already off", "Yaesu", "FT-736R", [](Quit& q) { q.st.radio.CatOn = "-"; },
       {"file SkyletPos.SQF", "rotor Close", "wait 1000", "port closed", "end 0"}},
      // The CAT server drives the radio: the port is neither written nor
      // closed, also with the Kenwood whose satellite mode it would end.
      {"CAT server", "Kenwood", "TS-2000", [](Quit& q) { q.st.radio.DdeCat = "+"; },
       {"file SkyletPos.SQF", "cat RaClose", "rotor Close", "wait 1000", "end 0"}},
      // but a port the start-up opened for an IC-910H still takes its frame.
      {"CAT server, IC-910H on its port", "Icom", "IC-910H",
       [](Quit& q) { q.st.radio.DdeCat = "+"; },
       {"file SkyletPos.SQF", "FE FE 60 E0 1A 07 00 FD", "wait 50", "cat RaClose", "rotor Close",
        "wait 1000", "end 0"}},
      {"Arswin in any letter case", "Kenwood", "TS-2000",
       [](Quit& q) { q.st.ServerName = "ARSWIN"; },
       {"file SkyletPos.SQF", "SA0010000;", "port closed", "end 0"}},
      {"rotor link never opened", "Kenwood", "TS-790", [](Quit& q) { q.rotorLink.Close(); },
       {"file SkyletPos.SQF", "wait 1000", "port closed", "end 0"}},
      {"rotor not through a server", "Kenwood", "TS-790",
       [](Quit& q) { q.st.rotor.DdeRotor = "-"; },
       {"file SkyletPos.SQF", "port closed", "end 0"}},
      // The failing steps are skipped; the sequence goes on to the end.
      {"rotor server refuses", "Kenwood", "TS-2000",
       [](Quit& q) { q.rotorLink.acceptCommands = false; },
       {"file SkyletPos.SQF", "rotor Close (refused)", "wait 1000", "SA0010000;", "port closed",
        "end 0"}},
      {"radio writes fail", "Icom", "IC-910H", [](Quit& q) { q.port.failWrites = true; },
       {"file SkyletPos.SQF", "FE FE 60 E0 1A 07 00 FD (failed)", "wait 50", "rotor Close",
        "wait 1000", "port closed", "end 0"}},
      {"no serial radio", "Icom", "IC-910H", [](Quit& q) { q.port.fakes::FakeSerialPort::Close(); },
       {"file SkyletPos.SQF", "rotor Close", "wait 1000", "end 0"}},
      // A minimised window leaves the stored position alone.
      {"minimised", "Kenwood", "TS-790",
       [](Quit& q) { q.st.main.windowState = forms::WindowState::Minimized; },
       {"rotor Close", "wait 1000", "port closed", "end 0"}},
      // A position that cannot be stored is told (the old file stays); the
      // radio, the rotor server and the port are left as after any quit.
      {"position file cannot be written", "Kenwood", "TS-2000",
       [](Quit& q) { q.files.failWrites = true; },
       {"file SkyletPos.SQF (failed)", "message", "rotor Close", "wait 1000", "SA0010000;",
        "port closed", "end 0"}},
  };
  for (const Row& row : rows) {
    Quit q(row.family, row.model);
    row.setUp(q);
    EXPECT_EQ(q.Run(), row.timeline) << row.name;
    EXPECT_FALSE(q.st.main.Timer1Enabled) << row.name;
    EXPECT_EQ(q.st.radio.CatOn, "-") << row.name;
  }
}

// What an operator or Windows may do while the sequence waits (the close box
// clicked, the menu chosen, a timer tick that was already due): none of it
// starts a second sequence or pulls a record.
TEST(QuitSequence, ASecondRequestWhileItRunsStartsNothing) {
  Quit q("Icom", "IC-910H");
  q.files.failWrites = true;  // so that a message box waits for OK as well
  int requests = 0;
  const auto meanwhile = [&] {
    ++requests;
    ui::AusGabe::Form_QueryUnload(q.st);
    ui::AusGabe::menQuit_Click(q.st);
    ui::AusGabe::Timer1_Timer(q.st);
  };
  q.clock.meanwhile = meanwhile;
  q.alerts.meanwhile = meanwhile;
  EXPECT_EQ(q.Run(), (Lines{"file SkyletPos.SQF (failed)", "message", "FE FE 60 E0 1A 07 00 FD",
                            "wait 50", "rotor Close", "wait 1000", "port closed", "end 0"}));
  EXPECT_GE(requests, 3);
  EXPECT_TRUE(q.avor.log.empty()) << "a record was pulled during the quit";
}

}  // namespace
}  // namespace skylet::app
