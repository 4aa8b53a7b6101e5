#include "win32/error_text.h"

#include "win32/win32_text.h"

namespace skylet::win32 {

std::string ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring wide = n ? std::wstring(buffer, n) : L"";
  if (buffer) LocalFree(buffer);
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
    wide.pop_back();
  }
  if (wide.empty()) return "Fehler " + std::to_string(code);
  return Narrow(wide);
}

}  // namespace skylet::win32
