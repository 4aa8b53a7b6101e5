#pragma once
namespace skylet {
struct Station;
}

namespace skylet::app {

// The one quit sequence, from the menu, from any closing of the main window
// and from a lost tracking link: stops the record pull, takes the radio out
// of the satellite and CAT modes the program put it in, tells the rotor
// server to close, closes the serial port, stores the window position and
// ends the program with exit code 0.
//
// It returns only when a quit is already under way (the close box clicked
// while the sequence waits for the operator): the sequence never runs twice.
void menQuit_Click(Station& st);

}  // namespace skylet::app
