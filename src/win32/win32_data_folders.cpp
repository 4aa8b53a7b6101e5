#include "win32/win32_data_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "win32/win32_text.h"

namespace skylet::win32 {

std::string DataFolders::ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      std::wstring file(buffer.data(), n);
      const size_t slash = file.find_last_of(L"\\/");
      return Narrow(slash == std::wstring::npos ? std::wstring() : file.substr(0, slash));
    }
    buffer.resize(buffer.size() * 2);
  }
}

platform::AppDataLookup DataFolders::RoamingAppData() {
  // The roaming application-data folder, created if need be
  // (CSIDL_APPDATA | CSIDL_FLAG_CREATE = 32794).
  char buffer[MAX_PATH + 1] = {};
  const HRESULT hr = SHGetFolderPathA(nullptr, 32794, nullptr, 0, buffer);
  if (hr == S_OK) return {platform::AppDataLookup::Result::Ok, std::string(buffer)};
  if (hr == E_INVALIDARG) return {platform::AppDataLookup::Result::InvalidFolderId, {}};
  if (hr == S_FALSE) return {platform::AppDataLookup::Result::FolderDoesNotExist, {}};
  return {platform::AppDataLookup::Result::OtherFailure, {}};
}

}  // namespace skylet::win32
