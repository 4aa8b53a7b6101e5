#pragma once
// The operating modes of a newly tracked satellite, sent to the radio.
namespace skylet {
struct Station;
}

namespace skylet::radio {

// Sends the satellite's DownMode and UpMode to the radio or the CAT server;
// called once when a satellite is taken up.
void SetCatMode(Station& st);

}  // namespace skylet::radio
