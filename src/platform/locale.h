#pragma once
// The user's regional settings, where a partner program expects them.
#include <string>

namespace skylet::platform {

class Locale {
 public:
  virtual ~Locale() = default;
  // The decimal separator of the user's number format ("." or ",").
  virtual std::string DecimalSeparator() = 0;
};

}  // namespace skylet::platform
