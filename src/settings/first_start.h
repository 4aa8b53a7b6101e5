#pragma once
// A machine on which neither Vantrak nor Skylet has ever kept settings: the
// operator gets one message that says where Skylet looks and what to do
// first, instead of a line for every settings file that is not there.
#include <string>

namespace skylet {
struct Station;
}

namespace skylet::settings {

// Both data folders known and neither of them there.
bool LooksLikeFirstStart(Station& st);
std::string FirstStartMessage(const Station& st);

}  // namespace skylet::settings
