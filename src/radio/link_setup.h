#pragma once
// The radio link: the family's fixed command strings, the serial port and
// the rig's satellite set-up at start, and the CAT switch.
namespace skylet {
struct Station;
}

namespace skylet::radio {

// Fills the command strings of the current family, model and addresses.
// Sends nothing.
void BuildCatCommands(Station& st);
// Builds them only when the family in force is not the one they were built
// for.
void BuildCatCommandsForFamily(Station& st);

// Opens and configures the serial port once per run and puts the rig into
// its satellite set-up. A port that cannot be set up ends the program after
// its message.
void OpenCatLink(Station& st);

// Return false only when the CAT server refused the command or did not
// answer; the switch itself has changed either way.
bool CatSwitchOn(Station& st);
bool CatSwitchOff(Station& st);

}  // namespace skylet::radio
