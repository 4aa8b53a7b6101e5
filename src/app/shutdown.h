#pragma once
namespace skylet {
struct Station;
}

namespace skylet::app {

// The one quit sequence, from the menu, from any closing of the main window
// and from a lost tracking link. It ends the program: it never returns.
[[noreturn]] void menQuit_Click(Station& st);

}  // namespace skylet::app
