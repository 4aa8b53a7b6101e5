#pragma once
// The fixed wait between radio commands.
namespace skylet::platform {
class Clock;
}

namespace skylet::radio {

// Blocks for `seconds` on the monotonic clock, sleeping rather than spinning;
// ends on time also when the time of day passes midnight meanwhile. A zero,
// negative or non-finite duration returns at once.
void CatWait(platform::Clock& clock, double seconds);

}  // namespace skylet::radio
