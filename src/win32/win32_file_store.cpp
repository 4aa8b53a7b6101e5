#include "win32/win32_file_store.h"

#include <windows.h>

#include <utility>

#include "win32/error_text.h"
#include "win32/owned.h"

namespace skylet::win32 {

namespace {

// Settings files are a few lines; anything this large is not one.
constexpr DWORD kMaxSettingsFileBytes = 1 << 20;

}  // namespace

platform::FileRead FileStore::Read(const std::string& path) {
  KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD err = GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) {
      return {platform::FileRead::Status::Missing, {}};
    }
    return {platform::FileRead::Status::Unreadable, {}};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxSettingsFileBytes) {
    return {platform::FileRead::Status::Unreadable, {}};
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
       got != bytes.size())) {
    return {platform::FileRead::Status::Unreadable, {}};
  }
  return {platform::FileRead::Status::Ok, std::move(bytes)};
}

bool FileStore::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileStore::Write(const std::string& path, const std::string& bytes, std::string& error) {
  // The new contents go to a file beside the old one and take its place
  // only when they are complete on disk: a crash or a full disk leaves the
  // old settings as they were.
  const std::string temp = path + ".tmp";
  {
    KernelHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      error = ErrorText(GetLastError());
      return false;
    }
    DWORD written = 0;
    const bool ok =
        (bytes.empty() || (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                     &written, nullptr) &&
                           written == bytes.size())) &&
        FlushFileBuffers(file.Get());
    const DWORD err = GetLastError();
    if (!file.Reset() || !ok) {
      error = ErrorText(ok ? GetLastError() : err);
      DeleteFileA(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = ErrorText(GetLastError());
    DeleteFileA(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace skylet::win32
