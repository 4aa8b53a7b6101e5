#include "radio/modes.h"

#include "station/station.h"

namespace skylet::radio {

void SetCatMode(Station&) {
  // The mode commands of the radio families and the CAT server join here.
}

}  // namespace skylet::radio
