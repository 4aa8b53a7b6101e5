#include "rotor/rotor_link.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "station/station.h"

namespace skylet::rotor {

bool RotorLinkIsArswin(const Station& st) {
  std::string name = st.ServerName;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name == "arswin";
}

}  // namespace skylet::rotor
