// Reading other programs' windows from outside: the end-to-end tests see
// Skylet only through what Win32 tells any other process about its windows.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skydrive {

std::string Utf8(std::wstring_view text);

// Caption of a top-level window. For windows of other processes this reads
// the caption the window manager keeps, so it never blocks on a busy program.
std::wstring Caption(HWND window);
std::wstring ClassName(HWND window);

// Text of a control in another process. WM_GETTEXT is marshalled across
// processes by the system; the time-out keeps a hung program from hanging us.
std::wstring ControlText(HWND control);

// The rows of a list box in another process.
std::vector<std::wstring> ListRows(HWND control);
// What a control holds besides its text: the selected row of a list box
// (-1: none), the check of a check or option button, a spin button's value.
long ControlValue(HWND control);

// The documented name Skylet gives a control (a window property holding a
// global atom), or "" for a window without one.
std::wstring ControlName(HWND control);

std::vector<HWND> TopLevelWindows();
std::vector<HWND> DescendantWindows(HWND parent);

HWND FindTopLevel(std::wstring_view caption, bool visibleOnly);
HWND FindDescendantById(HWND parent, int id);
HWND FindDescendantByName(HWND parent, std::wstring_view name);

// The control of `window`'s thread that has the keyboard focus, or null.
HWND FocusOf(HWND window);

DWORD OwnerProcessId(HWND window);
std::wstring OwnerImageName(HWND window);  // "skylet.exe", or "" if unknown

// Which message boxes count: all of them by default (a crash dialog is also a
// finding), or only those of one process.
struct OwnerFilter {
    std::optional<DWORD> pid;
    std::wstring imageName;
    bool Accepts(HWND window) const;
};

// A message box is a visible top-level dialog of the standard dialog class.
HWND FindMessageBox(const OwnerFilter& filter);

// The message text of a message box: its first Static control that shows
// text (the other Static holds the icon).
std::wstring MessageBoxText(HWND box);

// "a\r\nb\rc\nd" -> a, b, c, d: the program may break lines with CR alone.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// Polls every 50 ms until found() holds or the time is up.
bool WaitFor(double seconds, const std::function<bool()>& found);

}  // namespace skydrive
