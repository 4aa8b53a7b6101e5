#pragma once
// Which program the rotor link talks to.
namespace skylet {
struct Station;
}

namespace skylet::rotor {

// True when the rotor program is Arswin: the program name at the end of the
// rotor server path is "Arswin" in any letter case. Such a link was opened
// on Arswin's topic and takes positions as two pokes; it knows no execute,
// neither "ClientOn" nor a position text nor "Close".
bool RotorLinkIsArswin(const Station& st);

}  // namespace skylet::rotor
