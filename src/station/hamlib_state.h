#pragma once
// What the program knows of Hamlib's network daemons: whether the radio and
// the rotor are driven through them, where they listen, how the uplink is
// set, and how each conversation stands.
#include <string>

namespace skylet::hamlib {

// The file's values, as the start-up took them and as the setup dialog
// edits them for the next start.
struct HamlibSettings {
  std::string RigOn = "-";  // "+": the radio through rigctld
  std::string RigAddress = "localhost:4532";
  std::string RotOn = "-";  // "+": the rotor through rotctld
  std::string RotAddress = "localhost:4533";
  // "V": the two VFOs of a full-duplex radio (downlink Main, uplink Sub);
  // "I": the downlink on the current VFO, the uplink as split transmit
  // frequency.
  std::string UplinkWay = "V";
};

// One daemon conversation during the run.
struct Daemon {
  const char* program;  // "rigctld" or "rotctld", for the operator's messages
  // Told once per outage: set by a failure, cleared by the next command that
  // works.
  bool down = false;
  // After a failed connection no new one is tried before this monotonic
  // time, so a daemon that is away costs no wait with every record.
  double retryAt = 0;
  // Set when a connection was made and nothing was sent on it yet.
  bool fresh = false;
};

struct HamlibState {
  HamlibSettings live;   // what this run uses
  HamlibSettings setup;  // what the setup dialog shows and stores
  Daemon rig{"rigctld"};
  Daemon rot{"rotctld"};
  // The downlink and uplink modes are still to be set on the radio: the
  // take-up's mode commands failed, or the daemon came back after an outage.
  bool modesDue = false;
  // rigctld takes the VFO in each command on this link ("F Sub 145900000"):
  // found after each connection, before anything else is sent.
  bool rigVfos = false;
};

}  // namespace skylet::hamlib
