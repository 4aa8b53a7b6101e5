#include "win32/services.h"

#include <shlobj.h>

#include <vector>

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

namespace {

// Closes a file handle on every path out; knows that CreateFile's "no
// handle" is INVALID_HANDLE_VALUE, not null.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE Get() const { return h_; }
  bool Close() {
    if (!Valid()) return true;
    const bool ok = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

// Settings files are a few lines; anything this large is not one.
constexpr DWORD kMaxSettingsFileBytes = 1 << 20;

}  // namespace

platform::FileRead FileStore::Read(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
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

bool FileStore::Write(const std::string& path, const std::string& bytes, std::string& error) {
  // The new contents go to a file beside the old one and take its place
  // only when they are complete on disk: a crash or a full disk leaves the
  // old settings as they were.
  const std::string temp = path + ".tmp";
  {
    FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
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
    if (!file.Close() || !ok) {
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

void Alerts::ShowMessage(const std::string& text, const std::string& title) {
  const HWND owner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
  MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(),
              MB_OK | (owner ? 0u : static_cast<UINT>(MB_TASKMODAL | MB_SETFOREGROUND)));
}

void Alerts::Beep() { MessageBeep(MB_OK); }

Clock::Clock() {
  LARGE_INTEGER f{};
  QueryPerformanceFrequency(&f);
  ticksPerSecond_ = f.QuadPart > 0 ? static_cast<double>(f.QuadPart) : 1.0;
}

double Clock::MonotonicSeconds() {
  LARGE_INTEGER t{};
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticksPerSecond_;
}

double Clock::SecondsSinceMidnight() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

void Clock::SleepMs(int milliseconds) { Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

int ScreenDpiX() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int ScreenDpiY() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int Screen::WidthTwips() { return MulDiv(GetSystemMetrics(SM_CXSCREEN), 1440, ScreenDpiX()); }
int Screen::HeightTwips() { return MulDiv(GetSystemMetrics(SM_CYSCREEN), 1440, ScreenDpiY()); }

}  // namespace skylet::win32
