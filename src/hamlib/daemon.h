#pragma once
// The conversation with one of Hamlib's network daemons (rigctld for the
// radio, rotctld for the rotor): one command line out, its "RPRT n" answer
// back. A daemon that is not running, refuses a command or goes away is
// told to the operator once; tracking goes on, and the link is made again
// when the daemon is back.
#include <optional>
#include <string>
#include <string_view>

#include "platform/net_link.h"
#include "station/hamlib_state.h"

namespace skylet {
struct Station;
}

namespace skylet::hamlib {

// Every wait on a daemon (connecting, or one command's answer) ends after
// this: the program's only thread never stands still longer.
inline constexpr int kTimeoutMs = 1000;
// A lost daemon is looked for again at most this often.
inline constexpr double kRetrySeconds = 5;

struct Address {
  std::string host;
  int port = 0;
};
// "host:port" with a port from 1 to 65535; nothing for anything else.
std::optional<Address> ParseAddress(std::string_view text);

// The number of an "RPRT n" answer; nothing when the line is no such answer.
std::optional<int> ReportCode(std::string_view line);
bool IsReport(std::string_view line);

bool RigOn(const Station& st);
bool RotOn(const Station& st);

// The radio's and the rotor's daemon with the link and address it is reached
// by.
struct Conversation {
  Daemon& daemon;
  platform::NetLink& link;
  const std::string& address;
};
Conversation Rig(Station& st);
Conversation Rot(Station& st);

// Makes the link when there is none, unless a failed one is too recent.
// A new link leaves `daemon.fresh` set.
bool Connected(Station& st, const Conversation& c);
// Sends one command and returns its answer line when `expected` takes it
// for one. A time-out, a lost link or an answer it does not take (`wanted`
// says what was awaited, for the operator) closes the link.
std::optional<std::string> Ask(Station& st, const Conversation& c, const std::string& command,
                               bool (*expected)(std::string_view answer), const char* wanted);
// Sends one command and awaits "RPRT 0". A refusal keeps the link; a
// time-out, a lost link or an answer out of step closes it.
bool Command(Station& st, const Conversation& c, const std::string& command);

}  // namespace skylet::hamlib
