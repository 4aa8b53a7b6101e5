#include "window_query.h"

#include <cwchar>

namespace skydrive {

namespace {

constexpr UINT kMessageTimeoutMs = 2000;
constexpr DWORD kPollIntervalMs = 50;

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::wstring BaseName(std::wstring_view path) {
    const auto slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring Caption(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &length))
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, length + 1,
                             reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &copied))
        return {};
    text.resize(static_cast<size_t>(copied));
    return text;
}

namespace {

// An integer message answered by the control, or `fallback` when it hangs.
LRESULT Ask(HWND control, UINT msg, WPARAM wp = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control, msg, wp, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

}  // namespace

std::vector<std::wstring> ListRows(HWND control) {
    std::vector<std::wstring> rows;
    const LRESULT count = Ask(control, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Ask(control, LB_GETTEXTLEN, static_cast<WPARAM>(i));
        if (length < 0) break;
        std::wstring row(static_cast<size_t>(length) + 1, L'\0');
        DWORD_PTR copied = 0;
        // LB_GETTEXT is carried across processes like WM_GETTEXT.
        if (!SendMessageTimeoutW(control, LB_GETTEXT, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(row.data()), SMTO_ABORTIFHUNG,
                                 kMessageTimeoutMs, &copied))
            break;
        row.resize(static_cast<size_t>(copied));
        rows.push_back(row);
    }
    return rows;
}

long ControlValue(HWND control) {
    const std::wstring cls = ClassName(control);
    if (cls == L"ListBox") return static_cast<long>(Ask(control, LB_GETCURSEL));
    if (cls == L"Button") return static_cast<long>(Ask(control, BM_GETCHECK));
    // Skylet's spin buttons count upwards; the bar counts from the top.
    if (cls == L"ScrollBar") return -static_cast<long>(Ask(control, SBM_GETPOS));
    return 0;
}

std::wstring ControlName(HWND control) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(control, L"SkyletName")));
    if (!atom) return {};
    wchar_t name[256] = {};
    const UINT length = GlobalGetAtomNameW(atom, name, 256);
    return std::wstring(name, length);
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> DescendantWindows(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindTopLevel(std::wstring_view caption, bool visibleOnly) {
    HWND hidden = nullptr;
    for (HWND window : TopLevelWindows()) {
        if (Caption(window) != caption) continue;
        if (IsWindowVisible(window)) return window;
        if (!hidden) hidden = window;
    }
    return visibleOnly ? nullptr : hidden;
}

HWND FindDescendantById(HWND parent, int id) {
    for (HWND child : DescendantWindows(parent))
        if (GetDlgCtrlID(child) == id) return child;
    return nullptr;
}

HWND FindDescendantByName(HWND parent, std::wstring_view name) {
    for (HWND child : DescendantWindows(parent))
        if (ControlName(child) == name) return child;
    return nullptr;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

DWORD OwnerProcessId(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring OwnerImageName(HWND window) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, OwnerProcessId(window));
    if (!process) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return ok ? BaseName(std::wstring_view(path, size)) : std::wstring();
}

bool OwnerFilter::Accepts(HWND window) const {
    if (pid && OwnerProcessId(window) != *pid) return false;
    if (!imageName.empty() && !SameIgnoringCase(OwnerImageName(window), imageName)) return false;
    return true;
}

HWND FindMessageBox(const OwnerFilter& filter) {
    for (HWND window : TopLevelWindows()) {
        if (!IsWindowVisible(window) || ClassName(window) != L"#32770") continue;
        if (filter.Accepts(window)) return window;
    }
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    for (HWND child : DescendantWindows(box)) {
        if (!SameIgnoringCase(ClassName(child), L"Static")) continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        std::wstring text = ControlText(child);
        if (!text.empty()) return text;
    }
    return {};
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

bool WaitFor(double seconds, const std::function<bool()>& found) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    for (;;) {
        if (found()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollIntervalMs);
    }
}

}  // namespace skydrive
