#pragma once
namespace skylet::app {

struct Station;

// The one quit sequence, from the menu and from any closing of the main
// window. The caller ends the program when it returns.
void menQuit_Click(Station& st);

}  // namespace skylet::app
