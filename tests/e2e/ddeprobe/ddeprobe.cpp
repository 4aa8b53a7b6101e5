// ddeprobe [--wait-open <ms>] <application> <topic> <item> <timeoutTenths> <op>...
// Opens one DDE link with Skylet's own client (retrying every 100 ms for up to
// --wait-open ms) and runs the operations request, execute:<text>, poke:<text>
// and sleep:<ms> in order, even on a link that did not open. Prints "open ok"
// or "open fail", then "<op> ok|fail" per operation, a request's with the text
// received: Windows-1252 bytes, \ CR LF TAB written \\ \r \n \t. Texts to send
// go as given. stderr gets "elapsed <op> <ms>" per line and, last,
// "foreign-dispatches <n>": timer messages of another window (as Skylet's main
// window has) dispatched inside the link's waits, where Skylet's timer must
// not run. Exit code: 0 all ok, 1 otherwise, 2 usage.
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "common/program.h"
#include "win32/win32_dde_link.h"
#include "win32/win32_text.h"

namespace {

constexpr char kUsage[] = "usage: ddeprobe [--wait-open <ms>] <application> <topic> <item> "
                          "<timeoutTenths> (request|execute:<text>|poke:<text>|sleep:<ms>)...";

int Count(const std::string& text) {
  const auto value = partners::WholeNumber(text);
  if (!value || *value < 0 || *value > INT_MAX) partners::Fail(kUsage);
  return static_cast<int>(*value);
}

int g_foreignDispatches = 0;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> words;
  int waitOpenMs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string word = skylet::win32::Narrow(argv[i]);
    if (word == "--wait-open" && i + 1 < argc) {
      waitOpenMs = Count(skylet::win32::Narrow(argv[++i]));
    } else {
      words.push_back(word);
    }
  }
  if (words.size() < 4) partners::Fail(kUsage);
  const skylet::platform::DdeLinkTarget target{words[0], words[1], words[2], Count(words[3])};
  // The operations' names and what each sends, or the milliseconds of a sleep.
  std::vector<std::pair<std::string, std::string>> ops;
  for (auto word = words.begin() + 4; word != words.end(); ++word) {
    const size_t colon = word->find(':');
    const std::string name = word->substr(0, colon);
    const std::string text = colon == std::string::npos ? "" : word->substr(colon + 1);
    const bool withText = colon != std::string::npos && (name == "execute" || name == "poke");
    if (*word != "request" && !withText && name != "sleep") partners::Fail(kUsage);
    ops.emplace_back(name, withText ? text : std::to_string(name == "sleep" ? Count(text) : 0));
  }

  // Nothing in the probe pumps messages but the link: each tick counted came
  // through its waits.
  HWND foreign = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  SetTimer(foreign, 1, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++g_foreignDispatches; });
  skylet::win32::DdeClientLink link;
  bool allOk = true;
  ULONGLONG start = GetTickCount64();
  const auto line = [&](const std::string& op, bool ok, const std::string& detail = {}) {
    const std::string text = detail.empty() ? "" : " " + partners::Escaped(detail, false);
    partners::WriteLine(STD_OUTPUT_HANDLE, op + (ok ? " ok" : " fail") + text);
    partners::WriteLine(STD_ERROR_HANDLE, "elapsed " + op + " " + std::to_string(GetTickCount64() - start));
    allOk = allOk && ok;
  };
  line("open", partners::WaitFor(waitOpenMs, [&] { return link.Open(target); }, 100));
  for (const auto& [name, text] : ops) {
    start = GetTickCount64();
    if (name == "request") {
      const auto answer = link.Request();
      line(name, answer.has_value(), answer.value_or(""));
    } else if (name == "sleep") {
      Sleep(static_cast<DWORD>(std::stoi(text)));
      line(name, true);
    } else {
      line(name, name == "execute" ? link.Execute(text) : link.Poke(text));
    }
  }
  partners::WriteLine(STD_ERROR_HANDLE, "foreign-dispatches " + std::to_string(g_foreignDispatches));
  return allOk ? 0 : 1;
}
