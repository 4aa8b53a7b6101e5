#include "win32/win32_append_file.h"

#include <windows.h>

#include "win32/error_text.h"

namespace skylet::win32 {

bool AppendFile::Open(const std::string& path, uint64_t& size, std::string& error) {
  file_.Reset();
  // The log's own folder is made at its first use; Skylet's folder is there.
  const size_t slash = path.rfind('\\');
  if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  // Others may read the log while it grows (a viewer, a copy).
  file_ = KernelHandle(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER length{};
  if (!file_ || !GetFileSizeEx(file_.Get(), &length)) {
    error = path + ": " + ErrorText(GetLastError());
    file_.Reset();
    return false;
  }
  size = static_cast<uint64_t>(length.QuadPart);
  return true;
}

bool AppendFile::Append(const std::string& bytes, std::string& error) {
  DWORD written = 0;
  if (!file_ || !WriteFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    error = ErrorText(GetLastError());
    return false;
  }
  return true;
}

}  // namespace skylet::win32
