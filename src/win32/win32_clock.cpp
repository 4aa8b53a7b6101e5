#include "win32/win32_clock.h"

#include <windows.h>

namespace skylet::win32 {

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

std::string Clock::Today() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  char day[16];
  std::snprintf(day, sizeof day, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
  return day;
}

void Clock::SleepMs(int milliseconds) { Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

}  // namespace skylet::win32
