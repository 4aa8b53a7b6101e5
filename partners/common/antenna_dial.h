#pragma once
// Where the antenna points, as the rotor substitutes show it beside their
// log: a compass dial (north up, a needle at the azimuth) and a quarter
// circle for the elevation, each with its value in whole degrees. Only the
// last position commanded counts; a substitute turns nothing, so this is what
// a real rotor would be heading for.
#include <string>
#include <vector>

#include "common/dde_server.h"
#include "common/status_window.h"

namespace partners {

// When `topics` has a rotor topic (the rotor server's RotServConv, Arswin's
// RCI), gives `window` the dials and has them follow the position commands
// the handlers accept: the server's execute "<azimuth> <elevation>" in whole
// degrees ("45 12"), Arswin's pokes "GA:45" and "GE:12" (one axis each).
// Other commands ("ClientOn", "Close") and refused ones leave the dials as
// they are. Call it once the handlers are set and before the server starts.
void ShowAntenna(StatusWindow& window, DdeHandlers& handlers,
                 const std::vector<std::string>& topics);

}  // namespace partners
