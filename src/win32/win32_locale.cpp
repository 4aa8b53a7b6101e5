#include "win32/win32_locale.h"

#include <windows.h>

namespace skylet::win32 {

std::string Locale::DecimalSeparator() {
  char separator[8] = {};
  // Read at each use: the operator may change the number format while the
  // program runs.
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) <= 1) {
    return ".";
  }
  return separator;
}

}  // namespace skylet::win32
