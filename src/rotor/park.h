#pragma once
// Parking the antenna while no satellite is up.
namespace skylet {
struct Station;
}

namespace skylet::rotor {

// One no-satellite record while park may be on: the park counter advances
// by two, and when it reaches ParkDelay the park position becomes target
// and reference and is sent, once per no-satellite period, at the
// ceil(ParkDelay / 2)-th record counted while park is on.
void ParkStep(Station& st);

}  // namespace skylet::rotor
