#include "win32/win32_net_link.h"

#include <ws2tcpip.h>

#include "win32/error_text.h"

namespace skylet::win32 {

namespace {

// Milliseconds left until `deadline` (GetTickCount64), at least 0.
timeval Left(ULONGLONG deadline) {
  const ULONGLONG now = GetTickCount64();
  const ULONGLONG ms = deadline > now ? deadline - now : 0;
  return timeval{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
}

// Waits until the socket can be written (or has failed) or read.
bool Ready(SOCKET s, bool forWrite, ULONGLONG deadline) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  fd_set failed = set;
  timeval left = Left(deadline);
  const int n = forWrite ? select(0, nullptr, &set, &failed, &left)
                         : select(0, &set, nullptr, nullptr, &left);
  return n > 0;
}

// Non-blocking, so that a connect returns at once and is waited for with
// the time-out.
SOCKET Connected(const addrinfo& a, ULONGLONG deadline, std::string& error) {
  SOCKET s = socket(a.ai_family, a.ai_socktype, a.ai_protocol);
  if (s == INVALID_SOCKET) {
    error = ErrorText(WSAGetLastError());
    return s;
  }
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  if (connect(s, a.ai_addr, static_cast<int>(a.ai_addrlen)) == 0) return s;
  if (WSAGetLastError() == WSAEWOULDBLOCK && Ready(s, true, deadline)) {
    int code = 0;
    int size = sizeof(code);
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&code), &size);
    if (code == 0) return s;
    error = ErrorText(code);
  } else {
    error = WSAGetLastError() == WSAEWOULDBLOCK ? "keine Antwort in der Wartezeit"
                                                : ErrorText(WSAGetLastError());
  }
  closesocket(s);
  return INVALID_SOCKET;
}

}  // namespace

NetLink::NetLink() {
  // Once per process; Winsock counts the calls and keeps the first.
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

bool NetLink::Connect(const std::string& host, int port, int timeoutMs, std::string& error) {
  Close();
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int code = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); code != 0) {
    error = "Rechner \"" + host + "\" unbekannt (" + ErrorText(code) + ")";
    return false;
  }
  // "localhost" may name ::1 before 127.0.0.1; a daemon listens on either.
  for (const addrinfo* a = found; a && socket_ == INVALID_SOCKET; a = a->ai_next) {
    socket_ = Connected(*a, deadline, error);
  }
  freeaddrinfo(found);
  if (socket_ == INVALID_SOCKET) return false;
  // Commands are one short line each: send them at once.
  BOOL noDelay = TRUE;
  setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
             sizeof(noDelay));
  return true;
}

std::optional<std::string> NetLink::Transact(const std::string& line, int timeoutMs,
                                             std::string& error) {
  if (!IsOpen()) {
    error = "keine Verbindung";
    return std::nullopt;
  }
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  const std::string out = line + "\n";
  for (size_t sent = 0; sent < out.size();) {
    if (!Ready(socket_, true, deadline)) {
      error = "nicht angenommen in der Wartezeit";
      return std::nullopt;
    }
    const int n = send(socket_, out.data() + sent, static_cast<int>(out.size() - sent), 0);
    if (n == SOCKET_ERROR) {
      error = ErrorText(WSAGetLastError());
      return std::nullopt;
    }
    sent += static_cast<size_t>(n);
  }
  std::string answer;
  for (;;) {
    if (!Ready(socket_, false, deadline)) {
      error = "keine Antwort in der Wartezeit";
      return std::nullopt;
    }
    char c = 0;
    const int n = recv(socket_, &c, 1, 0);
    if (n == 0) {
      error = "Verbindung vom Daemon beendet";
      return std::nullopt;
    }
    if (n == SOCKET_ERROR) {
      error = ErrorText(WSAGetLastError());
      return std::nullopt;
    }
    if (c == '\n') break;
    if (c != '\r') answer += c;
    // Hamlib's answers are a few dozen characters: this is no daemon.
    if (answer.size() > 4096) {
      error = "Antwort ohne Zeilenende";
      return std::nullopt;
    }
  }
  return answer;
}

void NetLink::Close() {
  if (!IsOpen()) return;
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

}  // namespace skylet::win32
