#include "radio/modes.h"

#include "app/station.h"

namespace skylet::radio {

void SetCatMode(app::Station&) {
  // The mode commands of the radio families and the CAT server join here.
}

}  // namespace skylet::radio
