#pragma once
#include <windows.h>

#include <string>

namespace skylet::win32 {

// The system's description of an error code, in Windows-1252, without the
// line end it comes with.
std::string ErrorText(DWORD code);

}  // namespace skylet::win32
