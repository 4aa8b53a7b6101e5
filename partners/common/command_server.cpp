#include "common/command_server.h"

#include "common/antenna_dial.h"
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
  std::vector<std::string> topics;  // empty: all the program serves
};

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

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
    } else if (option == "--topics") {
      options.topics = SplitCommas(args.Value(option));
    } else {
      Fail("unknown option " + option +
           " (known: --log FILE, --refuse, --exit-on-close, --topics A,B)");
    }
  }
  return options;
}

}  // namespace

int RunCommandServer(HINSTANCE instance, int show, const std::vector<std::string>& served,
                     int slot) {
  const Options options = ReadOptions();
  // A server of some of its topics only: a test can then have the CAT
  // topic answer under a name whose rotor topic nobody serves.
  std::vector<std::string> topics;
  for (const std::string& topic : served) {
    if (options.topics.empty()) {
      topics.push_back(topic);
      continue;
    }
    for (const std::string& wanted : options.topics) {
      if (SameName(topic, wanted)) topics.push_back(topic);
    }
  }
  if (topics.empty()) Fail("--topics names none of the topics this program serves");
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

  ShowAntenna(window, handlers, topics);

  if (!window.Create(instance, name, show, slot)) Fail("cannot create its window");
  DdeServer server(name, topics, handlers);
  if (!server.Start()) Fail("cannot register the DDE name " + name);
  return window.Run();
}

}  // namespace partners
