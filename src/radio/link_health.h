#pragma once
// Writes to the radio and executes to the CAT server during a pass. A
// failure is told to the operator once per outage, without holding up the
// station, and the send is tried again with the next record: a radio that
// comes back is used again at once.
#include <string>

namespace skylet {
struct Station;
}

namespace skylet::radio {

// Writes a command to the serial radio; an empty command writes nothing and
// succeeds. False when the port refused it or did not take it in time.
bool WriteCat(Station& st, const std::string& bytes);
// One execute on the CAT server link; false when it was refused or not
// answered.
bool ExecuteCat(Station& st, const std::string& command);

// A send failed for the reason given: told once, until a later write works.
void CatLinkFailed(Station& st, const std::string& reason);

}  // namespace skylet::radio
