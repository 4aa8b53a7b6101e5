// The tracking program substitute: DDE application "Avor", topic "Tracking",
// item "General". Each request of "General" gets the current record:
//   --script FILE    the file's lines in order, then the last one again
//   --pass           (default) the built-in demo satellite, see pass.h
//   --speed N        the demo satellite's orbit runs N times faster (10)
//   --name TEXT      the demo satellite's name (DEMO-1)
//   --stop-after N   the program ends after answering N requests
//   --delay-first MS the first answer comes MS milliseconds late, like a
//                    tracking program busy at start (the client times out)
//   --log FILE       one line per event: "start", "connect Tracking",
//                    "request General <record>", "disconnect Tracking"
#include <windows.h>

#include <functional>
#include <optional>

#include "avor/pass.h"
#include "avor/script.h"
#include "common/dde_server.h"
#include "common/event_log.h"
#include "common/program.h"
#include "common/status_window.h"

namespace {

using partners::Fail;

struct Options {
  std::string script;
  double speed = 10;
  std::string name = "DEMO-1";
  long long stopAfter = 0;  // 0: never
  long long delayFirstMs = 0;
  std::string logPath;
};

Options ReadOptions() {
  Options options;
  partners::ArgumentReader args(partners::Arguments());
  while (!args.Done()) {
    const std::string option = args.Take();
    if (option == "--script") {
      options.script = args.Value(option);
    } else if (option == "--pass") {
      options.script.clear();
    } else if (option == "--speed") {
      options.speed = args.Decimal(option, 0.001);
    } else if (option == "--name") {
      options.name = args.Value(option);
      if (options.name.find("AZ") != std::string::npos) Fail("a name with \"AZ\" cuts the record wrong");
    } else if (option == "--stop-after") {
      options.stopAfter = args.Number(option, 1);
    } else if (option == "--delay-first") {
      options.delayFirstMs = args.Number(option, 0);
    } else if (option == "--log") {
      options.logPath = args.Value(option);
    } else {
      Fail("unknown option " + option +
           " (known: --script FILE, --pass, --speed N, --name TEXT, --stop-after N, "
           "--delay-first MS, --log FILE)");
    }
  }
  return options;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const Options options = ReadOptions();
  std::function<std::string()> nextRecord;
  std::optional<partners::ScriptRecords> script;
  if (!options.script.empty()) {
    script = partners::ScriptRecords::Load(options.script);
    if (!script) Fail("cannot read a line from " + options.script);
    nextRecord = [&script] { return script->Next(); };
  } else {
    const ULONGLONG start = GetTickCount64();
    nextRecord = [start, pass = partners::SyntheticPass(options.speed), &options] {
      return partners::PassRecord(options.name, pass.At((GetTickCount64() - start) / 1000.0));
    };
  }

  const partners::EventLog log(options.logPath);
  partners::StatusWindow window;
  long long answered = 0;
  partners::DdeHandlers handlers;
  handlers.request = [&](const std::string&, const std::string& item) -> std::optional<std::string> {
    // A request that comes in while the program is on its way out is
    // refused: it has answered all it was told to.
    if (!partners::SameName(item, "General") ||
        (options.stopAfter && answered >= options.stopAfter)) {
      return std::nullopt;
    }
    const std::string record = nextRecord();
    // Blocks the whole program, as a busy one would.
    if (answered == 0 && options.delayFirstMs) Sleep(static_cast<DWORD>(options.delayFirstMs));
    log.Write("request General " + partners::Escaped(record));
    window.Add(partners::Escaped(record));
    // The loop ends after this answer has gone out; the program then ends
    // its conversations, so the client's next request fails at once.
    if (++answered == options.stopAfter) window.Close();
    return record;
  };

  // Who linked to it and when, so a test can tell a start by Skylet from a
  // start by hand and see that the link came.
  handlers.conversation = [&](const std::string& topic, bool connected) {
    log.Write((connected ? "connect " : "disconnect ") + topic);
  };

  if (!window.Create(instance, "Avor", show, 0)) Fail("cannot create its window");
  partners::DdeServer server("Avor", {"Tracking"}, handlers);
  if (!server.Start()) Fail("cannot register the DDE name Avor");
  // Once its name is registered: a test that waits for this line knows a
  // client's link will find it.
  log.Write("start");
  return window.Run();
}
