// ddeprobe [--wait-open <ms>] <application> <topic> <item> <timeoutTenths> <op>...
//
// Opens one DDE link with Skylet's own client and runs the operations in
// order, one output line each:
//   request          "request ok <text>" or "request fail"
//   execute:<text>   "execute ok" or "execute fail"
//   poke:<text>      "poke ok" or "poke fail"
//   close            "close ok" (closing cannot fail)
//   sleep:<ms>       "sleep ok"
// The first line is "open ok" or "open fail"; the operations run either way,
// so a test sees how each behaves on a link that did not open. --wait-open
// tries the open again every 100 ms until it succeeds or the time is up, for
// a server program that has only just been started.
//
// Received texts are Windows-1252 bytes with \ CR LF TAB written as \\ \r
// \n \t, so each operation is one line. Texts to send may use the same
// escapes and \xHH for any byte: Wine hands a program only 7-bit arguments in
// the C locale, so an umlaut is written \xFC.
// stderr gets "elapsed <op> <ms>" per output line and, at the end,
// "foreign-dispatches <n>": how many messages of another window of the probe
// (with a 10 ms timer, standing for Skylet's main window) the link dispatched
// while it waited. It must be 0: Skylet's timer must not run inside a DDE wait.
// Exit code: 0 when everything succeeded, 1 otherwise, 2 on a usage error.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "win32/win32_dde_link.h"
#include "text/format.h"

namespace {

std::string Bytes(const wchar_t* argument) {
  const std::wstring wide(argument);
  return skylet::text::Utf16ToCp1252(std::u16string(wide.begin(), wide.end()));
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out;
}

// The bytes a text to send stands for; nothing when an escape is broken.
std::optional<std::string> Unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'x': {
        const std::string hex = text.substr(i + 1, 2);
        if (hex.size() != 2 || !std::isxdigit(static_cast<unsigned char>(hex[0])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[1]))) {
          return std::nullopt;
        }
        out += static_cast<char>(std::stoi(hex, nullptr, 16));
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return out;
}

bool ParseCount(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  value = std::stoi(text);
  return true;
}

class Output {
 public:
  Output() : start_(GetTickCount64()) {}
  // One line per operation, with how long it took on stderr.
  void Line(const std::string& op, bool ok, const std::string& detail = {}) {
    std::string line = op + (ok ? " ok" : " fail");
    if (!detail.empty()) line += " " + Escaped(detail);
    line += "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    const ULONGLONG now = GetTickCount64();
    std::fprintf(stderr, "elapsed %s %llu\n", op.c_str(), now - start_);
    std::fflush(stderr);
    start_ = now;
    allOk_ = allOk_ && ok;
  }
  void Restart() { start_ = GetTickCount64(); }
  bool AllOk() const { return allOk_; }

 private:
  ULONGLONG start_;
  bool allOk_ = true;
};

int g_foreignDispatches = 0;

LRESULT CALLBACK ForeignWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    ++g_foreignDispatches;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Nothing in the probe pumps messages but the link, so every timer message
// this window gets came through the link's waits.
HWND MakeForeignWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ForeignWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"DdeProbeTimerWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (window) SetTimer(window, 1, 10, nullptr);
  return window;
}

int Usage() {
  std::fputs("usage: ddeprobe [--wait-open <ms>] <application> <topic> <item> <timeoutTenths> "
             "(request|execute:<text>|poke:<text>|close|sleep:<ms>)...\n",
             stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Received bytes go out as they are; no LF -> CR LF translation.
  _setmode(_fileno(stdout), _O_BINARY);
  int first = 1;
  int waitOpenMs = 0;
  if (argc > 2 && Bytes(argv[1]) == "--wait-open") {
    if (!ParseCount(Bytes(argv[2]), waitOpenMs)) return Usage();
    first = 3;
  }
  if (argc < first + 4) return Usage();
  skylet::platform::DdeLinkTarget target;
  target.application = Bytes(argv[first]);
  target.topic = Bytes(argv[first + 1]);
  target.item = Bytes(argv[first + 2]);
  if (!ParseCount(Bytes(argv[first + 3]), target.timeoutTenths)) return Usage();
  struct Op {
    std::string name;  // request, execute, poke, close, sleep
    std::string text;  // what to send; the milliseconds of a sleep
  };
  std::vector<Op> ops;
  for (int i = first + 4; i < argc; ++i) {
    const std::string arg = Bytes(argv[i]);
    const size_t colon = arg.find(':');
    Op op{arg.substr(0, colon), colon == std::string::npos ? "" : arg.substr(colon + 1)};
    int ms = 0;
    const bool withText = op.name == "execute" || op.name == "poke";
    const auto text = Unescaped(op.text);
    const bool valid = colon == std::string::npos
                           ? op.name == "request" || op.name == "close"
                           : (withText && text) || (op.name == "sleep" && ParseCount(op.text, ms));
    if (!valid) return Usage();
    if (withText) op.text = *text;
    ops.push_back(std::move(op));
  }

  const HWND foreign = MakeForeignWindow();
  skylet::win32::DdeClientLink link;
  Output out;
  const ULONGLONG openDeadline = GetTickCount64() + static_cast<ULONGLONG>(waitOpenMs);
  bool opened = link.Open(target);
  while (!opened && GetTickCount64() < openDeadline) {
    Sleep(100);
    opened = link.Open(target);
  }
  out.Line("open", opened);
  for (const Op& op : ops) {
    out.Restart();
    if (op.name == "request") {
      const auto text = link.Request();
      out.Line(op.name, text.has_value(), text.value_or(""));
    } else if (op.name == "execute") {
      out.Line(op.name, link.Execute(op.text));
    } else if (op.name == "poke") {
      out.Line(op.name, link.Poke(op.text));
    } else if (op.name == "close") {
      link.Close();
      out.Line(op.name, true);
    } else {
      Sleep(static_cast<DWORD>(std::stoi(op.text)));
      out.Line(op.name, true);
    }
  }
  std::fprintf(stderr, "foreign-dispatches %d\n", g_foreignDispatches);
  if (foreign) DestroyWindow(foreign);
  return out.AllOk() ? 0 : 1;
}
