#include "win32/win32_dde_link.h"

#include <dde.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "win32/owned.h"

namespace skylet::win32 {
namespace {

// Registered with the ANSI API on purpose: a DDEML server on Windows takes
// an execute string from a Unicode client window (IsWindowUnicode) for
// UTF-16 and converts it, and our commands are Windows-1252 bytes. (Wine
// passed the bytes through either way when we tried.)
constexpr char kClassName[] = "SkyletDdeLink";

constexpr DWORD kDefaultTimeoutMs = 1000;
// How often a wait looks whether the server's window still exists: a
// server that died without saying WM_DDE_TERMINATE fails the wait this soon.
constexpr DWORD kServerCheckMs = 50;
// Close waits this long at most for the server's WM_DDE_TERMINATE.
constexpr DWORD kCloseWaitMs = 500;
// A server that never answers would make the list of answers it owes grow
// by one per call; the oldest are forgotten beyond this.
constexpr size_t kMaxOutstanding = 32;
constexpr WORD kAckPositive = 0x8000;  // DDEACK.fAck

bool RegisterLinkClass(WNDPROC procedure) {
  // Registered with the first link, unregistered when the program ends.
  static const WindowClass registered = [procedure] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return WindowClass(wc);
  }();
  static const bool usable = registered || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return usable;
}

// Memory for the server to read: `text` with its NUL after a zeroed header
// of `offset` bytes, which `header` fills in; null when none could be had.
template <typename Header>
HGLOBAL SharedText(const std::string& text, size_t offset, Header header) {
  HGLOBAL memory =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, offset + text.size() + 1);
  if (!memory) return nullptr;
  char* bytes = static_cast<char*>(GlobalLock(memory));
  if (!bytes) {
    GlobalFree(memory);
    return nullptr;
  }
  header(bytes);
  std::memcpy(bytes + offset, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  return memory;
}

WPARAM AsWParam(HWND window) { return reinterpret_cast<WPARAM>(window); }

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

}  // namespace

DdeClientLink::DdeClientLink() = default;

DdeClientLink::~DdeClientLink() {
  Close();
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool DdeClientLink::EnsureWindow() {
  if (window_) return true;
  if (!RegisterLinkClass(&WindowProc)) return false;
  // Hidden, but a normal top-level window: only those get broadcasts.
  window_ = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (!window_) return false;
  // Nobody knows the window before this, so no DDE message can come earlier.
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

DWORD DdeClientLink::TimeoutMs() const {
  return target_.timeoutTenths > 0 ? static_cast<DWORD>(target_.timeoutTenths) * 100
                                   : kDefaultTimeoutMs;
}

bool DdeClientLink::Open(const platform::DdeLinkTarget& target) {
  Close();
  target_ = target;
  if (!EnsureWindow()) return false;
  // Atom 0 is the wildcard: any server, or any topic.
  const ATOM application =
      target.application.empty() ? 0 : GlobalAddAtomA(target.application.c_str());
  const ATOM topic = target.topic.empty() ? 0 : GlobalAddAtomA(target.topic.c_str());
  const bool atomsMade =
      (target.application.empty() || application) && (target.topic.empty() || topic);
  if (atomsMade) {
    // What a broadcast of WM_DDE_INITIATE does, window by window, so that
    // the whole search ends within the time-out: a broadcast waits for each
    // window in turn (we measured 8 s in a freshly started Wine prefix). The
    // servers answer with WM_DDE_ACK sent back to our window while we wait
    // (OnInitiateAck); the first one to answer is the partner.
    std::vector<HWND> windows;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    const ULONGLONG deadline = GetTickCount64() + TimeoutMs();
    initiating_ = true;
    for (const HWND window : windows) {
      const ULONGLONG now = GetTickCount64();
      if (server_ || now >= deadline) break;
      if (window == window_) continue;
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(window, WM_DDE_INITIATE, AsWParam(window_),
                          MAKELPARAM(application, topic), SMTO_ABORTIFHUNG,
                          static_cast<UINT>(deadline - now), &ignored);
    }
    initiating_ = false;
  }
  // The initiator deletes its own atoms once the broadcast is done.
  if (application) GlobalDeleteAtom(application);
  if (topic) GlobalDeleteAtom(topic);
  return server_ != nullptr;
}

void DdeClientLink::OnInitiateAck(HWND server, LPARAM lParam) {
  // The server made these atoms for its answer; the receiver deletes them.
  if (const ATOM a = LOWORD(lParam)) GlobalDeleteAtom(a);
  if (const ATOM a = HIWORD(lParam)) GlobalDeleteAtom(a);
  if (initiating_ && !server_) {
    server_ = server;
    serverTerminated_ = false;
  } else if (server != server_) {
    // A second server of the topic (or a late one): we talk to the first.
    PostMessageA(server, WM_DDE_TERMINATE, AsWParam(window_), 0);
  }
}

std::optional<std::string> DdeClientLink::Request() {
  if (!ServerAlive()) return std::nullopt;
  const ATOM item = GlobalAddAtomA(target_.item.c_str());
  if (!item) return std::nullopt;
  const LPARAM lParam = PackDDElParam(WM_DDE_REQUEST, CF_TEXT, item);
  if (!PostMessageA(server_, WM_DDE_REQUEST, AsWParam(window_), lParam)) {
    FreeDDElParam(WM_DDE_REQUEST, lParam);
    GlobalDeleteAtom(item);
    return std::nullopt;
  }
  // From here the atom is the server's to delete or to give back.
  Answer answer;
  if (!Await(Kind::Request, nullptr, answer) || !answer.ok) return std::nullopt;
  return std::move(answer.text);
}

bool DdeClientLink::Execute(const std::string& command) {
  if (!ServerAlive()) return false;
  HGLOBAL memory = SharedText(command, 0, [](char*) {});
  if (!memory) return false;
  const LPARAM lParam = PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(memory));
  if (!PostMessageA(server_, WM_DDE_EXECUTE, AsWParam(window_), lParam)) {
    FreeDDElParam(WM_DDE_EXECUTE, lParam);
    GlobalFree(memory);
    return false;
  }
  // The command stays ours; the server hands it back in its WM_DDE_ACK.
  Answer answer;
  return Await(Kind::Execute, memory, answer) && answer.ok;
}

bool DdeClientLink::Poke(const std::string& text) {
  if (!ServerAlive()) return false;
  HGLOBAL memory = SharedText(text, offsetof(DDEPOKE, Value), [](char* bytes) {
    auto* poke = reinterpret_cast<DDEPOKE*>(bytes);
    poke->fRelease = 1;  // the server frees it when it takes it
    poke->cfFormat = CF_TEXT;
  });
  if (!memory) return false;
  const ATOM item = GlobalAddAtomA(target_.item.c_str());
  const LPARAM lParam =
      item ? PackDDElParam(WM_DDE_POKE, reinterpret_cast<UINT_PTR>(memory), item) : 0;
  if (!item || !PostMessageA(server_, WM_DDE_POKE, AsWParam(window_), lParam)) {
    if (item) {
      FreeDDElParam(WM_DDE_POKE, lParam);
      GlobalDeleteAtom(item);
    }
    GlobalFree(memory);
    return false;
  }
  Answer answer;
  return Await(Kind::Poke, memory, answer) && answer.ok;
}

bool DdeClientLink::Await(Kind kind, HGLOBAL memory, Answer& answer) {
  const unsigned id = nextId_++;
  outstanding_.push_back({id, kind, memory});
  if (outstanding_.size() > kMaxOutstanding) outstanding_.pop_front();
  awaited_ = id;
  answer_ = &answer;
  WaitFor([&answer] { return answer.arrived; }, TimeoutMs());
  awaited_ = 0;
  answer_ = nullptr;
  return answer.arrived;
}

void DdeClientLink::Close() {
  if (server_ && IsWindow(server_) &&
      PostMessageA(server_, WM_DDE_TERMINATE, AsWParam(window_), 0)) {
    closing_ = true;
    WaitFor([this] { return serverTerminated_; }, std::min(TimeoutMs(), kCloseWaitMs));
    closing_ = false;
  }
  server_ = nullptr;
  serverTerminated_ = false;
  outstanding_.clear();
}

bool DdeClientLink::IsOpen() const { return server_ != nullptr && IsWindow(server_); }

template <typename Done>
bool DdeClientLink::WaitFor(Done done, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    PumpOwnMessages();
    if (done()) return true;
    if (!server_) return false;
    if (!IsWindow(server_)) {
      Lost();
      return false;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    // Wakes for messages posted or sent to this thread; other windows'
    // messages stay queued for the program's own loop.
    const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kServerCheckMs));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_POSTMESSAGE | QS_SENDMESSAGE);
  }
}

void DdeClientLink::PumpOwnMessages() {
  // Only this link's window: dispatching everything here would let the
  // program's timer run its record processing again inside a DDE wait.
  // Messages sent from other threads are delivered by PeekMessage anyway.
  MSG msg;
  while (window_ && PeekMessageA(&msg, window_, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

bool DdeClientLink::ServerAlive() {
  PumpOwnMessages();  // a WM_DDE_TERMINATE may be waiting
  if (server_ && !IsWindow(server_)) Lost();
  return server_ != nullptr;
}

void DdeClientLink::Lost() {
  server_ = nullptr;
  outstanding_.clear();
}

LRESULT CALLBACK DdeClientLink::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* link = reinterpret_cast<DdeClientLink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (link && message >= WM_DDE_FIRST && message <= WM_DDE_LAST) {
    const HWND from = reinterpret_cast<HWND>(wParam);
    switch (message) {
      case WM_DDE_ACK:
        // An answer to WM_DDE_INITIATE is sent and carries two bare atoms;
        // every other WM_DDE_ACK is posted with a packed lParam.
        if (link->initiating_ || (from != link->server_ && InSendMessage())) {
          link->OnInitiateAck(from, lParam);
        } else {
          link->OnAck(from, lParam);
        }
        return 0;
      case WM_DDE_DATA:
        link->OnData(from, lParam);
        return 0;
      case WM_DDE_TERMINATE:
        link->OnTerminate(from);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::deque<DdeClientLink::Outstanding>::iterator DdeClientLink::Match(UINT message, UINT_PTR hi,
                                                                      bool positive) {
  const auto first = [this](auto answers) {
    return std::find_if(outstanding_.begin(), outstanding_.end(), answers);
  };
  if (message == WM_DDE_DATA) {
    return first([](const Outstanding& o) { return o.kind == Kind::Request; });
  }
  // An execute's answer brings the command's handle back.
  const auto execute = first([hi](const Outstanding& o) {
    return o.kind == Kind::Execute && o.memory == reinterpret_cast<HGLOBAL>(hi);
  });
  if (execute != outstanding_.end()) return execute;
  // The others carry the item atom, so the oldest poke (or request) is the
  // one answered. A request is answered by data or a "no"; a "yes" never
  // answers one. Wine's DDEML posts a positive WM_DDE_ACK after the
  // WM_DDE_DATA of every request; taking that for the answer to the next
  // request would fail it and delete its atom, which the server still needs.
  return first([positive](const Outstanding& o) {
    return o.kind == Kind::Poke || (o.kind == Kind::Request && !positive);
  });
}

void DdeClientLink::OnAck(HWND from, LPARAM lParam) {
  UINT_PTR lo = 0, hi = 0;
  if (!UnpackDDElParam(WM_DDE_ACK, lParam, &lo, &hi)) return;
  FreeDDElParam(WM_DDE_ACK, lParam);
  if (from != server_) return;
  const bool positive = (lo & kAckPositive) != 0;
  const auto it = Match(WM_DDE_ACK, hi, positive);
  // Nothing of ours: its atom (if it is one) is not ours to delete either.
  if (it == outstanding_.end()) return;
  if (it->kind == Kind::Execute) {
    GlobalFree(it->memory);  // the client frees its command after the answer
  } else {
    GlobalDeleteAtom(static_cast<ATOM>(hi));
    // A refused poke leaves its data with the sender.
    if (it->kind == Kind::Poke && !positive) GlobalFree(it->memory);
  }
  if (it->id == awaited_ && answer_) {
    answer_->arrived = true;
    answer_->ok = positive;
  }
  outstanding_.erase(it);
}

void DdeClientLink::OnData(HWND from, LPARAM lParam) {
  UINT_PTR lo = 0, hi = 0;
  if (!UnpackDDElParam(WM_DDE_DATA, lParam, &lo, &hi)) return;
  const auto data = reinterpret_cast<HGLOBAL>(lo);
  const auto item = static_cast<ATOM>(hi);
  bool ackRequested = false, release = false, isText = false;
  std::string text;
  if (auto* dde = data ? static_cast<DDEDATA*>(GlobalLock(data)) : nullptr) {
    ackRequested = dde->fAckReq;
    release = dde->fRelease;
    isText = dde->cfFormat == CF_TEXT;
    const size_t valueOffset = offsetof(DDEDATA, Value);
    const size_t size = GlobalSize(data);
    if (isText && size > valueOffset) {
      const char* value = reinterpret_cast<const char*>(dde) + valueOffset;
      text.assign(value, strnlen(value, size - valueOffset));  // up to its NUL
    }
    GlobalUnlock(data);
  }
  const auto it = from == server_ ? Match(WM_DDE_DATA, 0, true) : outstanding_.end();
  const bool taken = it != outstanding_.end() && isText;
  if (it != outstanding_.end()) {
    if (it->id == awaited_ && answer_) {
      answer_->arrived = true;
      answer_->ok = isText;
      answer_->text = std::move(text);
    }
    outstanding_.erase(it);
  }
  if (ackRequested) {
    // The item atom goes back with the acknowledgement.
    const LPARAM ack =
        ReuseDDElParam(lParam, WM_DDE_DATA, WM_DDE_ACK, taken ? kAckPositive : 0, item);
    if (!PostMessageA(from, WM_DDE_ACK, AsWParam(window_), ack)) {
      FreeDDElParam(WM_DDE_ACK, ack);
      if (item) GlobalDeleteAtom(item);
    }
  } else {
    FreeDDElParam(WM_DDE_DATA, lParam);
    if (item) GlobalDeleteAtom(item);
  }
  // fRelease hands the data to the receiver, unless it refuses it (then the
  // sender keeps it).
  if (data && release && (!ackRequested || taken)) GlobalFree(data);
}

void DdeClientLink::OnTerminate(HWND from) {
  // Extra servers answering our WM_DDE_TERMINATE from Open end up here too.
  if (!server_ || from != server_) return;
  if (closing_) {
    serverTerminated_ = true;
    return;
  }
  // The server ends the conversation (it is quitting): answer in kind, and
  // let later calls fail at once instead of waiting out the time-out.
  PostMessageA(server_, WM_DDE_TERMINATE, AsWParam(window_), 0);
  Lost();
}

}  // namespace skylet::win32
