// The transceiver substitute: listens on a COM port in the command set of one
// radio family, logs and shows what it was told (receive and transmit
// frequency and mode), answers its frequency queries and, for Icom, answers
// like a radio on the CI-V bus.
//   --port N         the COM port (required)
//   --family NAME    Kenwood, Icom or Yaesu (required)
//   --settings TEXT  baud, parity, data bits, stop bits ("9600,N,8,1")
//   --address HH     Icom: the address it answers with, hex (60); it takes
//                    frames to any address
//   --model NAME     IC-910H: downlink on band D0, uplink on D1 (other Icom
//                    radios the other way round); FT-736R: as --no-read
//   --no-read        frequency queries are ignored, as by a radio without them
//   --tx-opcode HH   Yaesu: the opcode of the transmit frequency, hex (11);
//                    every other frequency opcode sets the receive side
//   --log FILE       one line per frame and per thing it set; no log without it
#include <windows.h>

#include <atomic>
#include <thread>

#include "common/event_log.h"
#include "common/program.h"
#include "common/status_window.h"
#include "radio/frames.h"

namespace {

using partners::Fail;
using namespace partners::radio;

constexpr int kWindowSlot = 4;  // below Avor, RotServer, CatServer, Arswin

struct Options {
  int port = 0;
  Family family = Family::Kenwood;
  std::string settings = "9600,N,8,1";
  DecoderOptions decoder;
  std::string logPath;
};

unsigned char HexOption(partners::ArgumentReader& args, const std::string& option) {
  const auto value = partners::WholeNumber(args.Value(option), 16);
  if (!value || *value < 0 || *value > 0xFF) Fail(option + " needs a byte in hex, like 60");
  return static_cast<unsigned char>(*value);
}

Options ReadOptions() {
  Options options;
  bool familyGiven = false;
  partners::ArgumentReader args(partners::Arguments());
  while (!args.Done()) {
    const std::string option = args.Take();
    if (option == "--port") {
      options.port = static_cast<int>(args.Number(option, 1));
    } else if (option == "--family") {
      const auto family = FamilyNamed(args.Value(option));
      if (!family) Fail("--family needs Kenwood, Icom or Yaesu");
      options.family = *family;
      familyGiven = true;
    } else if (option == "--settings") {
      options.settings = args.Value(option);
    } else if (option == "--address") {
      options.decoder.icomAddress = HexOption(args, option);
    } else if (option == "--model") {
      const std::string model = args.Value(option);
      options.decoder.icomRxOnD0 = model == "IC-910H";
      if (model == "FT-736R") options.decoder.answersQueries = false;
    } else if (option == "--no-read") {
      options.decoder.answersQueries = false;
    } else if (option == "--tx-opcode") {
      options.decoder.yaesuTxOpcode = HexOption(args, option);
    } else if (option == "--log") {
      options.logPath = args.Value(option);
    } else {
      Fail("unknown option " + option +
           " (known: --port N, --family NAME, --settings TEXT, --address HH, --model NAME, "
           "--no-read, --tx-opcode HH, --log FILE)");
    }
  }
  if (!options.port || !familyGiven) Fail("--port N and --family NAME are needed");
  return options;
}

class ComPort {
 public:
  ~ComPort() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  // Empty when the port is open and set up, else what went wrong.
  std::string Open(int number, const std::string& settings) {
    // COM10 and above exist only under the device prefix; it works for all.
    const std::string name = "\\\\.\\COM" + std::to_string(number);
    handle_ = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return "cannot open " + name.substr(4) + Error();
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(handle_, &dcb) || !BuildCommDCBA(settings.c_str(), &dcb) ||
        !SetCommState(handle_, &dcb)) {
      return "cannot set the port to " + settings + Error();
    }
    // A read returns as soon as a byte is there, or empty after a quarter
    // of a second: the reader sleeps in ReadFile and still sees a stop
    // request soon. A write that cannot go out gives up after a second.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = 250;
    timeouts.WriteTotalTimeoutConstant = 1000;
    if (!SetCommTimeouts(handle_, &timeouts)) return "cannot set the port's time-outs" + Error();
    return {};
  }

  // What arrived, or nothing after the read time-out. False on a failure.
  bool Read(std::string& bytes) {
    char buffer[256];
    DWORD got = 0;
    const bool ok = ReadFile(handle_, buffer, sizeof(buffer), &got, nullptr);
    bytes.assign(buffer, ok ? got : 0);
    return ok;
  }

  void Write(const std::string& bytes) {
    DWORD written = 0;
    WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

 private:
  static std::string Error() { return " (error " + std::to_string(GetLastError()) + ")"; }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// What the window shows: the two sides as they stand, and the last frames.
class Panel {
 public:
  Panel(partners::StatusWindow& window, const Decoder& decoder)
      : window_(window),
        names_{decoder.SideName(Side::Rx), decoder.SideName(Side::Tx)},
        sides_{decoder.Now(Side::Rx), decoder.Now(Side::Tx)} {
    Show();
  }

  void Take(const std::vector<Event>& events) {
    for (const Event& event : events) {
      Vfo& side = sides_[event.side == Side::Rx ? 0 : 1];
      if (event.kind == Event::Kind::Frequency) side.hz = event.hz;
      if (event.kind == Event::Kind::Mode) side.mode = event.text;
      if (event.kind == Event::Kind::Raw) window_.Add(partners::Escaped(event.text));
    }
    Show();
  }

 private:
  void Show() {
    std::vector<std::string> header;
    for (int i = 0; i < 2; ++i) {
      header.push_back(names_[i] + "   " + Khz(sides_[i].hz) + " kHz   " + sides_[i].mode);
    }
    window_.SetHeader(std::move(header));
  }

  partners::StatusWindow& window_;
  std::string names_[2];
  Vfo sides_[2];
};

// The reader thread: everything that touches the port happens here, so an
// Icom answer goes out right after its frame; the window gets the events.
void Listen(ComPort& port, Decoder& decoder, const partners::EventLog& log,
            partners::StatusWindow& window, Panel& panel, const std::atomic<bool>& stop) {
  std::string bytes;
  while (!stop) {
    if (!port.Read(bytes)) {
      Sleep(250);  // a port that fails keeps failing; do not spin on it
      continue;
    }
    if (bytes.empty()) continue;
    std::string reply;
    std::vector<Event> events = decoder.Feed(bytes, reply);
    if (!reply.empty()) port.Write(reply);
    for (const Event& event : events) log.Write(partners::Escaped(LogLine(event)));
    if (!events.empty()) window.Post([&panel, events = std::move(events)] { panel.Take(events); });
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const Options options = ReadOptions();
  const partners::EventLog log(options.logPath);
  const std::unique_ptr<Decoder> decoder = MakeDecoder(options.family, options.decoder);

  ComPort port;
  if (const std::string error = port.Open(options.port, options.settings); !error.empty()) {
    Fail(error);
  }
  partners::StatusWindow window;
  const std::string family = FamilyName(options.family);
  if (!window.Create(instance, "Radio (" + family + ")", show, kWindowSlot)) {
    Fail("cannot create its window");
  }
  Panel panel(window, *decoder);
  log.Write("start COM" + std::to_string(options.port) + " " + family + " " + options.settings);

  std::atomic<bool> stop = false;
  std::thread reader(Listen, std::ref(port), std::ref(*decoder), std::cref(log), std::ref(window),
                     std::ref(panel), std::cref(stop));
  const int code = window.Run();
  stop = true;
  reader.join();
  return code;
}
