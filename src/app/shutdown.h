#pragma once
namespace skylet {
struct Station;
}

namespace skylet::app {

// The one quit sequence, from the menu, from any closing of the main window
// and from a lost tracking link. It ends the program. It returns only when
// a quit is already under way (the close box clicked while the sequence
// waits for the operator): the sequence never runs twice.
void menQuit_Click(Station& st);

}  // namespace skylet::app
