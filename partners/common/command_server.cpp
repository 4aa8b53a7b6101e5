#include "common/command_server.h"

#include "common/dde_server.h"
#include "common/event_log.h"
#include "common/program.h"
#include "common/status_window.h"

namespace partners {
namespace {

struct Options {
  std::string logPath;
  bool refuse = false;
  bool exitOnClose = false;
};

Options ReadOptions() {
  Options options;
  options.logPath = ProgramFolder() + ProgramName() + ".log";
  ArgumentReader args(Arguments());
  while (!args.Done()) {
    const std::string option = args.Take();
    if (option == "--log") {
      options.logPath = args.Value(option);
    } else if (option == "--refuse") {
      options.refuse = true;
    } else if (option == "--exit-on-close") {
      options.exitOnClose = true;
    } else {
      Fail("unknown option " + option + " (known: --log FILE, --refuse, --exit-on-close)");
    }
  }
  return options;
}

}  // namespace

int RunCommandServer(HINSTANCE instance, int show, const std::vector<std::string>& topics,
                     int slot) {
  const Options options = ReadOptions();
  const std::string name = ProgramName();
  const std::string refuseFile = ProgramFolder() + name + ".refuse";
  const EventLog log(options.logPath);
  StatusWindow window;

  // Looked at per command, so a test can switch refusing on and off while
  // the program runs.
  const auto refusing = [&] { return options.refuse || FileExists(refuseFile); };
  const auto record = [&](bool accepted, const std::string& event) {
    const std::string line = (accepted ? "" : "refused ") + event;
    log.Write(line);
    window.Add(Escaped(line));
    return accepted;
  };

  DdeHandlers handlers;
  handlers.execute = [&](const std::string& topic, const std::string& command) {
    const bool accepted = record(!refusing(), "execute " + topic + " " + Escaped(command));
    // What the real server does on "Close" is its own business; the
    // substitute stays, unless told to go.
    if (accepted && options.exitOnClose && command == "Close") window.Close();
    return accepted;
  };
  handlers.poke = [&](const std::string& topic, const std::string& item, const std::string& text) {
    return record(!refusing(), "poke " + topic + " " + item + " " + Escaped(text));
  };
  handlers.conversation = [&](const std::string& topic, bool connected) {
    record(true, (connected ? "connect " : "disconnect ") + topic);
  };

  if (!window.Create(instance, name, show, slot)) Fail("cannot create its window");
  DdeServer server(name, topics, handlers);
  if (!server.Start()) Fail("cannot register the DDE name " + name);
  return window.Run();
}

}  // namespace partners
