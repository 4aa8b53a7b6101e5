#pragma once
// From launch to the state in which tracking records flow in.
namespace skylet {
struct Station;
}

namespace skylet::app {

// How long a freshly started partner program gets to answer its link before
// its start counts as failed, and how often the link is tried meanwhile.
// The tracking program loads its data before it serves; the servers are
// small.
inline constexpr double kAvorPatienceSeconds = 30.0;
inline constexpr double kServerPatienceSeconds = 10.0;
inline constexpr int kLinkRetryMs = 500;

// The main window's load handler: the start-up, then the tracking link.
void Form_Load(Station& st);
void StartUp(Station& st);
void FinishStartUp(Station& st);

// Start a partner program after its link failed. StartAvor ends the program
// when Avor cannot be started; the server starters set ServerFailed to "+"
// and tell the operator.
void StartAvor(Station& st);
void StartRotorServer(Station& st);
void StartCatServer(Station& st);

// The traffic log file as the options say: on, the lines from now on go to
// the day's file in the folder "Verkehr" of Skylet's own folder (at the
// start, with the lines recorded so far).
void LogTraffic(Station& st);

}  // namespace skylet::app
