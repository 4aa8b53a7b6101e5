#pragma once
// The user's regional settings from Windows.
#include "platform/locale.h"

namespace skylet::win32 {

class Locale : public platform::Locale {
 public:
  std::string DecimalSeparator() override;
};

}  // namespace skylet::win32
