#pragma once
// The program keeps its texts as Windows-1252 bytes, as its files and
// partners have them. The wide Windows API gets them converted here, so an
// umlaut shows right whatever code page the system (or Wine) runs with.
#include <windows.h>

#include <string>

#include "text/format.h"

namespace skylet::win32 {

inline std::wstring Wide(const std::string& bytes) {
  std::u16string u = text::Cp1252ToUtf16(bytes);
  return std::wstring(u.begin(), u.end());
}

inline std::string Narrow(const std::wstring& wide) {
  return text::Utf16ToCp1252(std::u16string(wide.begin(), wide.end()));
}

}  // namespace skylet::win32
