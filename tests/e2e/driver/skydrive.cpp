// skydrive: drives Skylet's windows from outside for the end-to-end tests,
// which see Skylet only through what Win32 tells any other process, and
// talks to the partner substitutes through Skylet's own DDE client. Each
// command prints UTF-8 lines of tab-separated fields (\\ \t \r \n escaped) and
// exits 0 on success, 1 on a failure or time-out, 2 on a usage error.
#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/program.h"
#include "win32/win32_dde_link.h"

namespace {

using partners::Fail;
constexpr int kFailed = 1;  // exit code of a failure or time-out; 2 is a usage error

constexpr char kUsage[] =
    "usage: skydrive wait-window <caption> <seconds> | texts|rect|layout|focus|close <caption> | windows"
    " | msgbox|see-msgbox|no-msgbox <seconds> | click <caption> <control id or name> [--row N]"
    " | settext <caption> <control> <text> | menu <caption> <&entry> | key <caption> <control> <vk>"
    " | dde <application> <topic> <item> <tenths> [--wait-open <ms>] (request|execute:T|poke:T|sleep:ms)...";

struct Args {
    std::vector<std::string> words;  // the command and its words
    std::vector<std::wstring> wide;  // the same as given, for texts that go into a window
    std::optional<long long> row;       // --row N
    std::optional<long long> waitOpen;  // --wait-open ms
};

std::string Utf8(std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    std::string out(text.size() * 3, '\0');
    out.resize(static_cast<size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), size * 3, nullptr, nullptr)));
    return out;
}

std::string N(long long number) { return std::to_string(number); }
std::string Flag(BOOL on) { return on ? "1" : "0"; }

void Print(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) line += "\t" + partners::Escaped(field, false);
    partners::WriteLine(STD_OUTPUT_HANDLE, line.substr(1));
}

ULONGLONG Milliseconds(const std::string& seconds) {
    const auto value = partners::DecimalNumber(seconds);
    if (!value || !(*value >= 0 && *value < 1e6)) Fail(kUsage);
    return static_cast<ULONGLONG>(*value * 1000.0);
}

// Top-level windows, or the descendants of `parent`.
std::vector<HWND> Windows(HWND parent = nullptr) {
    std::vector<HWND> windows;
    const WNDENUMPROC collect = [](HWND window, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    };
    const auto list = reinterpret_cast<LPARAM>(&windows);
    parent ? EnumChildWindows(parent, collect, list) : EnumWindows(collect, list);
    return windows;
}

// A window's caption or class name. For windows of other processes
// GetWindowTextW reads the caption the window manager keeps, so it never
// blocks on a busy program.
std::string Read(HWND window, int(WINAPI* get)(HWND, LPWSTR, int)) {
    wchar_t text[1024];
    return Utf8(std::wstring_view(text, static_cast<size_t>(get(window, text, 1024))));
}
std::string Caption(HWND window) { return Read(window, GetWindowTextW); }
std::string ClassName(HWND window) { return Read(window, GetClassNameW); }

// A message to a window of another process; -1 when it does not answer in time.
LRESULT Ask(HWND window, UINT msg, WPARAM wp = 0, LPARAM lp = 0, UINT timeoutMs = 2000) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG, timeoutMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

// A control's text, or a list box's row (both carried across processes).
std::string ControlText(HWND control, std::optional<WPARAM> row = {}) {
    const LRESULT length = row ? Ask(control, LB_GETTEXTLEN, *row) : Ask(control, WM_GETTEXTLENGTH);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto to = reinterpret_cast<LPARAM>(text.data());
    const LRESULT copied = Ask(control, row ? LB_GETTEXT : WM_GETTEXT, row ? *row : text.size(), to);
    text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
    return Utf8(text);
}

std::string ListText(HWND control) {
    std::string text;
    for (LRESULT row = 0, count = Ask(control, LB_GETCOUNT); row < count; ++row) {
        text += (row ? "\n" : "") + ControlText(control, static_cast<WPARAM>(row));
    }
    return text;
}

// The documented name Skylet gives a control (an atom in a window property).
std::string ControlName(HWND control) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(control, L"SkyletName")));
    wchar_t name[256];
    return atom ? Utf8(std::wstring_view(name, GlobalGetAtomNameW(atom, name, 256))) : "";
}

// The visible window of that caption, else a hidden one; none fails unless `mayLack`.
HWND Window(const std::string& caption, bool mayLack = false) {
    HWND hidden = nullptr;
    for (HWND window : Windows()) {
        if (Caption(window) != caption) continue;
        if (IsWindowVisible(window)) return window;
        if (!hidden) hidden = window;
    }
    if (!hidden && !mayLack) Fail("no window \"" + caption + "\"", kFailed);
    return hidden;
}

// A control of the window by its id (a number) or its name.
HWND Control(const std::string& caption, const std::string& word) {
    const auto id = partners::WholeNumber(word);
    for (HWND child : Windows(Window(caption))) {
        if (id ? GetDlgCtrlID(child) == *id : ControlName(child) == word) return child;
    }
    Fail("no control \"" + word + "\"", kFailed);
}

DWORD OwnerProcessId(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string OwnerImageName(HWND window) {  // "skylet.exe", or "" if unknown
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, OwnerProcessId(window));
    if (!process) return {};
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    const std::string name = ok ? Utf8(std::wstring_view(path, size)) : "";
    return name.substr(name.find_last_of("\\/") + 1);
}

// A visible dialog of any program: a crash dialog is also a finding.
HWND ShownMessageBox() {
    for (HWND window : Windows()) {
        if (IsWindowVisible(window) && ClassName(window) == "#32770") return window;
    }
    return nullptr;
}

// Its first Static control that shows text (the other Static holds the icon).
std::string MessageText(HWND box) {
    for (HWND child : Windows(box)) {
        const bool icon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (ClassName(child) != "Static" || icon) continue;
        if (std::string text = ControlText(child); !text.empty()) return text;
    }
    return {};
}

bool WaitWindow(const Args& a) {
    const auto shown = [&] { return IsWindowVisible(Window(a.words[1], true)); };
    if (!partners::WaitFor(Milliseconds(a.words[2]), shown)) Fail("no visible window " + a.words[1], kFailed);
    return true;
}

bool Texts(const Args& a) {
    for (HWND child : Windows(Window(a.words[1]))) {
        const bool list = ClassName(child) == "ListBox";
        // Last, what a control holds besides its text: a list box's selected row (-1: none).
        Print({N(GetDlgCtrlID(child)), ClassName(child), list ? ListText(child) : ControlText(child),
               Flag(IsWindowVisible(child)), Flag(IsWindowEnabled(child)), ControlName(child),
               N(list ? Ask(child, LB_GETCURSEL) : 0)});
    }
    return true;
}

// Each named control's place in the window's client area, in pixels.
bool Layout(const Args& a) {
    HWND window = Window(a.words[1]);
    for (HWND child : Windows(window)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        const std::string name = ControlName(child);
        if (!name.empty()) Print({name, N(r.left), N(r.top), N(r.right - r.left), N(r.bottom - r.top)});
    }
    return true;
}

// The control with the keyboard focus, and whether the window is the active one.
bool Focus(const Args& a) {
    HWND window = Window(a.words[1]);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    const HWND focus = GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    if (!focus) Fail("no control has the focus", kFailed);
    Print({N(GetDlgCtrlID(focus)), ClassName(focus), ControlName(focus),
           Flag(GetForegroundWindow() == window)});
    return true;
}

// Chooses a menu bar entry ("&Quit") with Alt (bit 29) and its access key: the
// menu bar of another process cannot be read under Wine, so no click by position.
bool Menu(const Args& a) {
    const std::wstring& entry = a.wide[2];
    const size_t amp = entry.find(L'&');
    if (amp == std::wstring::npos || amp + 1 >= entry.size()) Fail(kUsage);
    return PostMessageW(Window(a.words[1]), WM_SYSCHAR, entry[amp + 1], 1 | (1 << 29));
}

bool Rect(const Args& a) {
    HWND window = Window(a.words[1]);
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    Print({"window", N(outer.left), N(outer.top), N(outer.right), N(outer.bottom)});
    Print({"client", N(client.right - client.left), N(client.bottom - client.top)});
    Print({"dpi", N(GetDeviceCaps(screen, LOGPIXELSX))});
    Print({"state", Flag(IsWindowVisible(window)), Flag(IsWindowEnabled(window))});
    ReleaseDC(nullptr, screen);
    return true;
}

// msgbox prints a message box's caption and lines and presses IDOK, or the only
// button there is ("Abbrechen" or "Ja" alone still needs answering); see-msgbox
// leaves it open for a photograph; no-msgbox fails when one comes.
bool MessageBoxCommand(const Args& a) {
    HWND box = nullptr;
    if (!partners::WaitFor(Milliseconds(a.words[1]), [&] { return (box = ShownMessageBox()) != nullptr; })) {
        if (a.words[0] == "no-msgbox") return true;
        Fail("no message box appeared", kFailed);
    }
    // The box can be visible a moment before WM_INITDIALOG has set its text.
    partners::WaitFor(1000, [&] { return !MessageText(box).empty(); });
    Print({Caption(box)});
    // The program may break lines with CR LF, CR or LF.
    const std::string text = MessageText(box);
    size_t start = 0;
    for (size_t end; (end = text.find_first_of("\r\n", start)) != std::string::npos; start = end + 1) {
        Print({text.substr(start, end - start)});
        if (text.compare(end, 2, "\r\n") == 0) ++end;
    }
    Print({text.substr(start)});
    if (a.words[0] == "no-msgbox") Fail("unexpected message box", kFailed);
    if (a.words[0] == "see-msgbox") return true;
    std::vector<HWND> buttons = Windows(box);
    std::erase_if(buttons, [](HWND b) { return ClassName(b) != "Button" || !IsWindowVisible(b); });
    const auto ok = std::ranges::find_if(buttons, [](HWND b) { return GetDlgCtrlID(b) == IDOK; });
    if (ok != buttons.end()) buttons = {*ok};
    if (buttons.size() != 1) Fail("message box has no button to press", kFailed);
    // A box that is not the active window can ignore the click; the dialog
    // itself still takes the command the click would have sent.
    const auto gone = [&] { return !IsWindow(box) || !IsWindowVisible(box); };
    PostMessageW(buttons[0], BM_CLICK, 0, 0);
    if (partners::WaitFor(2500, gone)) return true;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(buttons[0]), BN_CLICKED),
                 reinterpret_cast<LPARAM>(buttons[0]));
    if (!partners::WaitFor(2500, gone)) Fail("message box did not close", kFailed);
    return true;
}

bool Close(const Args& a) { return PostMessageW(Window(a.words[1]), WM_CLOSE, 0, 0); }

// Posted, not sent: a click whose handler opens a modal dialog would otherwise
// keep us waiting. --row N clicks into row N of a list box.
bool Click(const Args& a) {
    HWND control = Control(a.words[1], a.words[2]);
    if (!a.row && ClassName(control) == "Button") return PostMessageW(control, BM_CLICK, 0, 0);
    RECT client{};
    GetClientRect(control, &client);
    LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
    if (a.row) {
        const LRESULT height = Ask(control, LB_GETITEMHEIGHT), top = Ask(control, LB_GETTOPINDEX);
        at = MAKELPARAM(10, static_cast<int>((*a.row - top) * height + height / 2));
    }
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    return PostMessageW(control, WM_LBUTTONUP, 0, at);
}

// Puts a text into a box as a paste would: the box reports the change.
bool SetText(const Args& a) {
    HWND control = Control(a.words[1], a.words[2]);
    return Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.wide[3].c_str()), 5000) > 0;
}

// A key (virtual-key code: 9 Tab, 37..40 the arrows) as if the control had the keyboard.
bool Key(const Args& a) {
    const auto vk = partners::WholeNumber(a.words[3]);
    if (!vk || *vk <= 0 || *vk > 0xFE) Fail(kUsage);
    HWND control = Control(a.words[1], a.words[2]);
    const LPARAM down = 1 | static_cast<LPARAM>(MapVirtualKeyW(UINT(*vk), MAPVK_VK_TO_VSC)) << 16;
    return PostMessageW(control, WM_KEYDOWN, static_cast<WPARAM>(*vk), down) &&
           PostMessageW(control, WM_KEYUP, static_cast<WPARAM>(*vk), down | (1LL << 30) | (1LL << 31));
}

// Every top-level window, for a failed test's message or a program's process.
bool ListWindows(const Args&) {
    for (HWND window : Windows()) {
        Print({N(static_cast<long long>(reinterpret_cast<UINT_PTR>(window))), ClassName(window), Caption(window),
               Flag(IsWindowVisible(window)), N(OwnerProcessId(window)), OwnerImageName(window)});
    }
    return true;
}

int g_foreignDispatches = 0;

// One link of Skylet's own DDE client, opened (retried every 100 ms for up to
// --wait-open ms), then each operation in turn, also on a link that did not
// open: "<op> ok|fail [text received]" each, and on stderr "elapsed <op> <ms>"
// and, last, "foreign-dispatches <n>": ticks of another window's timer (as
// Skylet's main window has) dispatched inside the link's waits, where
// Skylet's timer must not run.
bool Dde(const Args& a) {
    const auto tenths = partners::WholeNumber(a.words[4]);
    if (!tenths || *tenths < 0 || *tenths > 36000) Fail(kUsage);
    HWND foreign = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetTimer(foreign, 1, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++g_foreignDispatches; });
    skylet::win32::DdeClientLink link;
    bool allOk = true;
    ULONGLONG start = GetTickCount64();
    const auto line = [&](const std::string& op, bool ok, const std::string& text = {}) {
        Print({op, ok ? "ok" : "fail", text});
        partners::WriteLine(STD_ERROR_HANDLE, "elapsed " + op + " " + N(GetTickCount64() - start));
        allOk = allOk && ok;
    };
    const skylet::platform::DdeLinkTarget target{a.words[1], a.words[2], a.words[3], int(*tenths)};
    line("open", partners::WaitFor(a.waitOpen.value_or(0), [&] { return link.Open(target); }, 100));
    for (auto word = a.words.begin() + 5; word != a.words.end(); ++word) {
        const size_t colon = word->find(':');
        const std::string op = word->substr(0, colon), text = colon == word->npos ? "" : word->substr(colon + 1);
        start = GetTickCount64();
        if (*word == "request") {
            const auto answer = link.Request();
            line(op, answer.has_value(), answer.value_or(""));
        } else if (op == "sleep" && partners::WholeNumber(text)) {
            Sleep(static_cast<DWORD>(*partners::WholeNumber(text)));
            line(op, true);
        } else if ((op == "execute" || op == "poke") && colon != word->npos) {
            line(op, op == "execute" ? link.Execute(text) : link.Poke(text));
        } else {
            Fail(kUsage);
        }
    }
    partners::WriteLine(STD_ERROR_HANDLE, "foreign-dispatches " + N(g_foreignDispatches));
    return allOk;
}

// Each command with its number of words after its name (dde: at least).
const std::map<std::string, std::pair<size_t, bool (*)(const Args&)>> kCommands = {
    {"wait-window", {2, WaitWindow}}, {"texts", {1, Texts}}, {"rect", {1, Rect}}, {"layout", {1, Layout}},
    {"msgbox", {1, MessageBoxCommand}}, {"see-msgbox", {1, MessageBoxCommand}}, {"close", {1, Close}},
    {"no-msgbox", {1, MessageBoxCommand}}, {"click", {2, Click}}, {"settext", {3, SetText}},
    {"focus", {1, Focus}}, {"menu", {2, Menu}}, {"key", {3, Key}}, {"windows", {0, ListWindows}},
    {"dde", {4, Dde}},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Coordinates in real pixels, to compare with twips * DPI / 1440.
    SetProcessDPIAware();
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    Args args;
    for (int i = 1; i < argc; ++i) {
        const std::string word = Utf8(argv[i]);
        if ((word == "--row" || word == "--wait-open") && i + 1 < argc) {
            auto& option = word == "--row" ? args.row : args.waitOpen;
            option = partners::WholeNumber(Utf8(argv[++i]));
            if (!option || *option < 0) Fail(kUsage);
        } else {
            args.words.push_back(word);
            args.wide.push_back(argv[i]);
        }
    }
    const auto command = args.words.empty() ? kCommands.end() : kCommands.find(args.words[0]);
    const size_t words = command == kCommands.end() ? 0 : command->second.first + 1;
    if (!words || args.words.size() < words || (args.words[0] != "dde" && args.words.size() != words)) {
        Fail(kUsage);
    }
    return command->second.second(args) ? 0 : 1;
}
