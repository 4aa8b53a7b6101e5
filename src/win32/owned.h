#pragma once
// Owners of what the Windows layer takes from the system: each gives its
// object back once, on every path out, and can be moved but not copied.
// Only what the program made itself goes into one; what the system lends
// (a stock object, a menu attached to a window) stays a bare handle.
#include <windows.h>
#include <mmsystem.h>

#include <utility>

namespace skylet::win32 {

// `Kind` says what holds nothing and how a value is given back.
template <typename T, typename Kind>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T value) : value_(value) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : value_(other.Release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      value_ = other.Release();
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  T Get() const { return value_; }
  explicit operator bool() const { return !Kind::Empty(value_); }
  // Whoever takes the value gives it back from now on.
  T Release() { return std::exchange(value_, Kind::None()); }
  // Gives the value back now; false when the system refused it (a file
  // whose last bytes could not be written says so only here).
  bool Reset() { return Kind::Empty(value_) || Kind::GiveBack(Release()); }

 private:
  T value_ = Kind::None();
};

// A font, brush, pen or bitmap the program created. A stock object
// (GetStockObject) belongs to the system and must never be deleted, so it
// is never put into one of these.
template <typename H>
struct GdiKind {
  static H None() { return nullptr; }
  static bool Empty(H h) { return h == nullptr; }
  static bool GiveBack(H h) { return DeleteObject(h) != 0; }
};
template <typename H>
using Gdi = Owned<H, GdiKind<H>>;

// A menu not (yet) attached to a window. Once a window has it, the window
// destroys it with itself: Release() it then, or it would go twice.
struct MenuKind {
  static HMENU None() { return nullptr; }
  static bool Empty(HMENU h) { return h == nullptr; }
  static bool GiveBack(HMENU h) { return DestroyMenu(h) != 0; }
};
using Menu = Owned<HMENU, MenuKind>;

// A file, port, process or thread handle. CreateFile says "none" with
// INVALID_HANDLE_VALUE, most other calls with null: both hold nothing.
struct KernelHandleKind {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool Empty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static bool GiveBack(HANDLE h) { return CloseHandle(h) != 0; }
};
using KernelHandle = Owned<HANDLE, KernelHandleKind>;

// The screen's device context, borrowed for a look at its fonts or pixels.
// The system has only a few of these to lend.
struct ScreenDcKind {
  static HDC None() { return nullptr; }
  static bool Empty(HDC h) { return h == nullptr; }
  static bool GiveBack(HDC h) { return ReleaseDC(nullptr, h) != 0; }
};
class ScreenDc : public Owned<HDC, ScreenDcKind> {
 public:
  ScreenDc() : Owned(GetDC(nullptr)) {}
};

// A finer scheduler tick while the owner lives. The system keeps the finest
// period any program asked for until that program ends it, so every begin
// needs its end.
struct TimerPeriodKind {
  static UINT None() { return 0; }
  static bool Empty(UINT ms) { return ms == 0; }
  static bool GiveBack(UINT ms) { return timeEndPeriod(ms) == TIMERR_NOERROR; }
};
class TimerPeriod : public Owned<UINT, TimerPeriodKind> {
 public:
  explicit TimerPeriod(UINT ms) : Owned(timeBeginPeriod(ms) == TIMERR_NOERROR ? ms : 0) {}
};

// A window class of this program, unregistered when its owner goes. The
// system refuses to unregister a class that still has windows, so the
// owner outlives them all (a function's static one does).
class WindowClass {
 public:
  WindowClass() = default;
  explicit WindowClass(const WNDCLASSEXW& wc)
      : atom_(RegisterClassExW(&wc)), instance_(wc.hInstance) {}
  explicit WindowClass(const WNDCLASSEXA& wc)
      : atom_(RegisterClassExA(&wc)), instance_(wc.hInstance) {}
  ~WindowClass() {
    if (atom_) UnregisterClassW(MAKEINTRESOURCEW(atom_), instance_);
  }
  WindowClass(WindowClass&& other) noexcept
      : atom_(std::exchange(other.atom_, 0)), instance_(other.instance_) {}
  WindowClass& operator=(WindowClass&& other) noexcept {
    std::swap(atom_, other.atom_);
    std::swap(instance_, other.instance_);
    return *this;
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

  explicit operator bool() const { return atom_ != 0; }

 private:
  ATOM atom_ = 0;
  HINSTANCE instance_ = nullptr;
};

}  // namespace skylet::win32
