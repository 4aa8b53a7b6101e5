#pragma once
// The radio link: the family's fixed command strings, the serial port and
// the rig's satellite set-up at start, and the CAT switch.
namespace skylet::app {
struct Station;
}

namespace skylet::radio {

// Fills the command strings of the current family, model and addresses.
// Sends nothing.
void BuildCatCommands(app::Station& st);

// Opens and configures the serial port once per run and puts the rig into
// its satellite set-up. A port that cannot be set up ends the program after
// its message.
void OpenCatLink(app::Station& st);

// Return false only when the CAT server refused the command or did not
// answer; the switch itself has changed either way.
bool CatSwitchOn(app::Station& st);
bool CatSwitchOff(app::Station& st);

}  // namespace skylet::radio
