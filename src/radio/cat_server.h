#pragma once
// Commands to the CAT server program, which drives the radio for us. Each is
// one DDE execute on the CAT link.

namespace skylet::radio::cat_server {

inline constexpr char kSwitchOn[] = "RaOpen";
inline constexpr char kSwitchOff[] = "RaClose";

}  // namespace skylet::radio::cat_server
