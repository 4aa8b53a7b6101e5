#include "common/event_log.h"

#include <windows.h>

#include <cstdio>

namespace partners {
namespace {

std::string Timestamp() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

}  // namespace

void EventLog::Write(const std::string& event) const {
  if (path_.empty()) return;
  const std::string line = Timestamp() + " " + event + "\r\n";
  // Shared for reading and writing: a test may read it at any moment.
  const HANDLE file = CreateFileA(path_.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace partners
