// The transceiver substitute: listens on a COM port in the command set of one
// radio family, logs and shows what it was told (receive and transmit
// frequency and mode), answers its frequency queries and, for Icom, answers
// like a radio on the CI-V bus. Its receive VFO has a dial: the arrow keys
// Up and Down or the mouse wheel in its window turn it by 100 Hz a notch
// (with Shift 1 kHz), and so do the scripted turns below.
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
//   --turn S:HZ      S seconds after the start the dial turns by HZ (20:+1000);
//                    repeatable
//   --control FILE   looked at every 200 ms: a line "turn +1000" turns the
//                    dial; the file is deleted once taken
//   --log FILE       one line per frame and per thing it set; no log without it
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "common/event_log.h"
#include "common/program.h"
#include "common/status_window.h"
#include "radio/frames.h"

namespace {

using partners::Fail;
using namespace partners::radio;

constexpr int kWindowSlot = 4;  // below Avor, RotServer, CatServer, Arswin
constexpr long long kNotchHz = 100;  // a notch of the dial; with Shift ten
constexpr DWORD kControlPollMs = 200;

struct ScriptedTurn {
  double seconds;  // after the start
  long long hz;
};

struct Options {
  int port = 0;
  Family family = Family::Kenwood;
  std::string settings = "9600,N,8,1";
  DecoderOptions decoder;
  std::vector<ScriptedTurn> turns;
  std::string controlPath;
  std::string logPath;
};

unsigned char HexOption(partners::ArgumentReader& args, const std::string& option) {
  const auto value = partners::WholeNumber(args.Value(option), 16);
  if (!value || *value < 0 || *value > 0xFF) Fail(option + " needs a byte in hex, like 60");
  return static_cast<unsigned char>(*value);
}

ScriptedTurn TurnOption(partners::ArgumentReader& args, const std::string& option) {
  const std::string value = args.Value(option);
  const size_t colon = value.find(':');
  const auto seconds = partners::DecimalNumber(value.substr(0, colon));
  const auto hz = colon == std::string::npos ? std::nullopt
                                             : partners::WholeNumber(value.substr(colon + 1));
  if (!seconds || !(*seconds >= 0) || !hz) Fail(option + " needs SECONDS:HZ, like 20:+1000");
  return {*seconds, *hz};
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
    } else if (option == "--turn") {
      options.turns.push_back(TurnOption(args, option));
    } else if (option == "--control") {
      options.controlPath = args.Value(option);
    } else if (option == "--tx-opcode") {
      options.decoder.yaesuTxOpcode = HexOption(args, option);
    } else if (option == "--log") {
      options.logPath = args.Value(option);
    } else {
      Fail("unknown option " + option +
           " (known: --port N, --family NAME, --settings TEXT, --address HH, --model NAME, "
           "--no-read, --tx-opcode HH, --turn SECONDS:HZ, --control FILE, --log FILE)");
    }
  }
  if (!options.port || !familyGiven) Fail("--port N and --family NAME are needed");
  std::stable_sort(options.turns.begin(), options.turns.end(),
                   [](const ScriptedTurn& a, const ScriptedTurn& b) { return a.seconds < b.seconds; });
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
    // A read returns as soon as a byte is there, or empty after 20 ms: the
    // reader sleeps in ReadFile and still sees a stop request soon. Under
    // Wine a read waits out its whole time-out before it hands over what
    // came, so a longer one answers a query later than a radio would. A
    // write that cannot go out gives up after a second.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = 20;
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

// What the window shows: the two sides as they stand, and the last frames
// and turns of the dial.
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
      if (event.kind == Event::Kind::Frequency || event.kind == Event::Kind::Dial) side.hz = event.hz;
      if (event.kind == Event::Kind::Mode) side.mode = event.text;
      if (event.kind == Event::Kind::Raw) window_.Add(partners::Escaped(event.text));
      if (event.kind == Event::Kind::Dial) window_.Add(LogLine(event));
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

// The radio as the threads share it: the reader feeds it the line's bytes,
// the window's keys, the scripted turns and the control file turn its dial.
// One at a time, each logged before the next, so the log tells the order in
// which the radio saw them.
class Radio {
 public:
  Radio(ComPort& port, Decoder& decoder, const partners::EventLog& log,
        partners::StatusWindow& window, Panel& panel)
      : port_(port), decoder_(decoder), log_(log), window_(window), panel_(panel) {}

  // The answer goes out right after its frame, before the frame is logged.
  void Hear(std::string_view bytes) {
    const std::lock_guard lock(mutex_);
    std::string reply;
    std::vector<Event> events = decoder_.Feed(bytes, reply);
    if (!reply.empty()) port_.Write(reply);
    Tell(std::move(events));
  }

  void Turn(long long hz) {
    const std::lock_guard lock(mutex_);
    Tell({decoder_.Turn(hz)});
  }

  // A line of the control file: "turn +1000".
  void Command(const std::string& line) {
    const std::lock_guard lock(mutex_);
    log_.Write(partners::Escaped("control " + line));
    const auto hz = line.starts_with("turn ") ? partners::WholeNumber(line.substr(5)) : std::nullopt;
    if (hz) {
      Tell({decoder_.Turn(*hz)});
    } else {
      log_.Write("unknown");
    }
  }

 private:
  void Tell(std::vector<Event> events) {
    for (const Event& event : events) log_.Write(partners::Escaped(LogLine(event)));
    if (!events.empty()) window_.Post([this, events = std::move(events)] { panel_.Take(events); });
  }

  std::mutex mutex_;
  ComPort& port_;
  Decoder& decoder_;
  const partners::EventLog& log_;
  partners::StatusWindow& window_;
  Panel& panel_;
};

// The dial as the window's keys and wheel turn it: a notch at a time, the
// wheel's fractions of a notch (a fine-grained wheel's) summed up.
bool Dial(Radio& radio, UINT message, WPARAM wParam, LPARAM lParam) {
  static int wheel = 0;
  if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
    const long long notch = GetKeyState(VK_SHIFT) < 0 ? 10 * kNotchHz : kNotchHz;
    const long long repeats = std::max<long long>(1, LOWORD(lParam));
    radio.Turn((wParam == VK_UP ? notch : -notch) * repeats);
    return true;
  }
  if (message != WM_MOUSEWHEEL) return false;
  wheel += GET_WHEEL_DELTA_WPARAM(wParam);
  const int notches = wheel / WHEEL_DELTA;
  wheel -= notches * WHEEL_DELTA;
  const long long notch = GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT ? 10 * kNotchHz : kNotchHz;
  if (notches) radio.Turn(notches * notch);
  return true;
}

// The control file's lines, each once: it is taken when it ends with a line
// end (or has not changed since the last look, for a writer that leaves the
// last one open), and deleted then.
class ControlFile {
 public:
  explicit ControlFile(std::string path) : path_(std::move(path)) {}

  std::vector<std::string> Take() {
    std::string text;
    if (!Read(text) || text.empty()) {
      last_.clear();
      return {};
    }
    if (text.back() != '\n' && text != last_) {
      last_ = text;
      return {};
    }
    last_.clear();
    // Not taken unless it went: a file read twice would turn the dial twice.
    if (!DeleteFileA(path_.c_str())) return {};
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) lines.push_back(std::move(line));
      start = end + 1;
    }
    return lines;
  }

 private:
  bool Read(std::string& text) const {
    const HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0 && text.size() < 4096) {
      text.append(buffer, got);
    }
    CloseHandle(file);
    return true;
  }

  std::string path_;
  std::string last_;
};

// The scripted turns when their time has come, and the control file's.
void Script(Radio& radio, const Options& options, std::chrono::steady_clock::time_point start,
            const std::atomic<bool>& stop) {
  ControlFile control(options.controlPath);
  size_t next = 0;
  while (!stop && (next < options.turns.size() || !options.controlPath.empty())) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    for (; next < options.turns.size() && options.turns[next].seconds <= elapsed.count(); ++next) {
      radio.Turn(options.turns[next].hz);
    }
    if (!options.controlPath.empty()) {
      for (const std::string& line : control.Take()) radio.Command(line);
    }
    Sleep(kControlPollMs);
  }
}

// The reader thread: it reads the port, and the radio answers at once.
void Listen(ComPort& port, Radio& radio, const std::atomic<bool>& stop) {
  std::string bytes;
  while (!stop) {
    if (!port.Read(bytes)) {
      Sleep(250);  // a port that fails keeps failing; do not spin on it
      continue;
    }
    if (!bytes.empty()) radio.Hear(bytes);
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
  Radio radio(port, *decoder, log, window, panel);
  window.SetInput([&radio](UINT message, WPARAM wParam, LPARAM lParam) {
    return Dial(radio, message, wParam, lParam);
  });
  log.Write("start COM" + std::to_string(options.port) + " " + family + " " + options.settings);
  const auto start = std::chrono::steady_clock::now();

  std::atomic<bool> stop = false;
  std::thread reader(Listen, std::ref(port), std::ref(radio), std::cref(stop));
  std::thread script(Script, std::ref(radio), std::cref(options), start, std::cref(stop));
  const int code = window.Run();
  stop = true;
  reader.join();
  script.join();
  return code;
}
