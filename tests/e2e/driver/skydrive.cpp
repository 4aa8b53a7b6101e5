// skydrive: drives Skylet's windows from outside for the end-to-end tests.
//
// Each command prints UTF-8 lines on stdout and exits 0 on success, 1 on a
// failure or time-out, 2 on a usage error. Fields on a line are separated by
// tabs; texts are printed with \\, \t, \r and \n escaped so a line is a line.

#include "window_query.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace skydrive {
namespace {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// How long a pressed message box may take to go away before we call it stuck.
constexpr double kCloseSeconds = 5.0;

void WriteLine(DWORD stream, const std::string& line) {
    const std::string bytes = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

void Print(const std::string& line) { WriteLine(STD_OUTPUT_HANDLE, line); }
void PrintError(const std::string& line) { WriteLine(STD_ERROR_HANDLE, "skydrive: " + line); }

std::string Escaped(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
            case L'\\': out += L"\\\\"; break;
            case L'\t': out += L"\\t"; break;
            case L'\r': out += L"\\r"; break;
            case L'\n': out += L"\\n"; break;
            default: out += c;
        }
    }
    return Utf8(out);
}

std::string Hex(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

// The command line after the command name: positional words and --name value
// options.
struct Arguments {
    std::vector<std::wstring> words;
    std::map<std::wstring, std::wstring> options;
};

bool ParseNumber(const std::wstring& text, double& value) {
    wchar_t* end = nullptr;
    value = std::wcstod(text.c_str(), &end);
    return !text.empty() && end && *end == L'\0' && std::isfinite(value) && value >= 0;
}

bool ParseInteger(const std::wstring& text, long& value) {
    wchar_t* end = nullptr;
    value = std::wcstol(text.c_str(), &end, 0);
    return !text.empty() && end && *end == L'\0';
}

bool ParseOwnerFilter(const Arguments& args, OwnerFilter& filter) {
    if (auto it = args.options.find(L"owner-pid"); it != args.options.end()) {
        long pid = 0;
        if (!ParseInteger(it->second, pid) || pid <= 0) return false;
        filter.pid = static_cast<DWORD>(pid);
    }
    if (auto it = args.options.find(L"owner-exe"); it != args.options.end())
        filter.imageName = it->second;
    return true;
}

void PrintMessageBox(HWND box) {
    Print(Escaped(Caption(box)));
    for (const std::wstring& line : SplitLines(MessageBoxText(box))) Print(Escaped(line));
}

std::vector<HWND> Buttons(HWND dialog) {
    std::vector<HWND> buttons;
    for (HWND child : DescendantWindows(dialog))
        if (ClassName(child) == L"Button" && IsWindowVisible(child)) buttons.push_back(child);
    return buttons;
}

// IDOK when the box has it, else the only button there is (a box with just
// "Abbrechen" or "Ja" still needs answering).
HWND ChooseButton(HWND dialog, std::optional<long> wanted) {
    const std::vector<HWND> buttons = Buttons(dialog);
    const long id = wanted.value_or(IDOK);
    for (HWND button : buttons)
        if (GetDlgCtrlID(button) == id) return button;
    if (!wanted && buttons.size() == 1) return buttons.front();
    return nullptr;
}

bool IsGone(HWND window) { return !IsWindow(window) || !IsWindowVisible(window); }

// Posted, not sent: a click whose handler opens a modal dialog would
// otherwise keep us waiting until somebody closes that dialog.
void PostClick(HWND control) {
    if (ClassName(control) == L"Button") {
        PostMessageW(control, BM_CLICK, 0, 0);
        return;
    }
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM centre = MAKELPARAM((client.right - client.left) / 2, (client.bottom - client.top) / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(control, WM_LBUTTONUP, 0, centre);
}

int WaitWindow(const Arguments& args) {
    double seconds = 0;
    if (!ParseNumber(args.words[1], seconds)) return kUsage;
    HWND found = nullptr;
    if (!WaitFor(seconds, [&] { return (found = FindTopLevel(args.words[0], true)) != nullptr; })) {
        PrintError("no visible window \"" + Utf8(args.words[0]) + "\"");
        return kFailed;
    }
    Print("hwnd\t" + Hex(found));
    Print("pid\t" + std::to_string(OwnerProcessId(found)));
    return kOk;
}

int Texts(const Arguments& args) {
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    for (HWND child : DescendantWindows(window)) {
        // A list box shows its rows, one a line.
        std::wstring text = ControlText(child);
        if (ClassName(child) == L"ListBox") {
            text.clear();
            for (const std::wstring& row : ListRows(child)) text += (text.empty() ? L"" : L"\n") + row;
        }
        Print(std::to_string(GetDlgCtrlID(child)) + "\t" + Escaped(ClassName(child)) + "\t" +
              Escaped(text) + "\t" + (IsWindowVisible(child) ? "1" : "0") + "\t" +
              (IsWindowEnabled(child) ? "1" : "0") + "\t" + Escaped(ControlName(child)) + "\t" +
              std::to_string(ControlValue(child)));
    }
    return kOk;
}

// Each named control's place in the window's client area, in pixels.
int Layout(const Arguments& args) {
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    for (HWND child : DescendantWindows(window)) {
        const std::wstring name = ControlName(child);
        if (name.empty()) continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        Print(Escaped(name) + "\t" + std::to_string(r.left) + "\t" + std::to_string(r.top) + "\t" +
              std::to_string(r.right - r.left) + "\t" + std::to_string(r.bottom - r.top));
    }
    return kOk;
}

// The control that has the keyboard focus in the window's thread, and
// whether the window is the active one on the screen (1) or not (0).
int Focus(const Arguments& args) {
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    HWND focus = FocusOf(window);
    if (!focus) {
        PrintError("no control has the focus");
        return kFailed;
    }
    Print(std::to_string(GetDlgCtrlID(focus)) + "\t" + Escaped(ClassName(focus)) + "\t" +
          Escaped(ControlName(focus)) + "\t" + (GetForegroundWindow() == window ? "1" : "0"));
    return kOk;
}

// Chooses an entry of the window's menu bar by its caption ("&Quit"), the
// way an operator does with Alt and the entry's access key. (The menu bar of
// another process cannot be read under Wine, so no click by position.)
int Menu(const Arguments& args) {
    const std::wstring& entry = args.words[1];
    const size_t amp = entry.find(L'&');
    if (amp == std::wstring::npos || amp + 1 >= entry.size()) return kUsage;
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    // Bit 29: the Alt key is down.
    return PostMessageW(window, WM_SYSCHAR, entry[amp + 1], 1 | (1 << 29)) ? kOk : kFailed;
}

int Rect(const Arguments& args) {
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    Print("window\t" + std::to_string(outer.left) + "\t" + std::to_string(outer.top) + "\t" +
          std::to_string(outer.right) + "\t" + std::to_string(outer.bottom));
    Print("client\t" + std::to_string(client.right - client.left) + "\t" +
          std::to_string(client.bottom - client.top));
    Print("dpi\t" + std::to_string(dpi));
    Print("state\t" + std::string(IsWindowVisible(window) ? "1" : "0") + "\t" +
          (IsWindowEnabled(window) ? "1" : "0"));
    return kOk;
}

// The three message box commands share this: wait for a box of the wanted
// owner and print it. Returns nullptr with code set when there is nothing to
// go on with.
HWND AwaitMessageBox(const Arguments& args, int& code) {
    double seconds = 0;
    OwnerFilter filter;
    if (!ParseNumber(args.words[0], seconds) || !ParseOwnerFilter(args, filter)) {
        code = kUsage;
        return nullptr;
    }
    HWND box = nullptr;
    if (!WaitFor(seconds, [&] { return (box = FindMessageBox(filter)) != nullptr; })) {
        code = kFailed;
        return nullptr;
    }
    // The box can be visible a moment before its text is set; give the
    // dialog time to finish WM_INITDIALOG.
    WaitFor(1.0, [&] { return !MessageBoxText(box).empty(); });
    PrintMessageBox(box);
    code = kOk;
    return box;
}

int AnswerMessageBox(const Arguments& args) {
    std::optional<long> wanted;
    if (auto it = args.options.find(L"press"); it != args.options.end()) {
        long id = 0;
        if (!ParseInteger(it->second, id)) return kUsage;
        wanted = id;
    }
    int code = kOk;
    HWND box = AwaitMessageBox(args, code);
    if (!box) {
        if (code == kFailed) PrintError("no message box appeared");
        return code;
    }
    HWND button = ChooseButton(box, wanted);
    if (!button) {
        PrintError("message box has no button to press");
        return kFailed;
    }
    PostClick(button);
    if (WaitFor(kCloseSeconds / 2, [&] { return IsGone(box); })) return kOk;
    // A button click can be ignored while the box is not the active window;
    // the dialog itself still takes the command the click would have sent.
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    if (WaitFor(kCloseSeconds / 2, [&] { return IsGone(box); })) return kOk;
    PrintError("message box did not close");
    return kFailed;
}

// Reads a message box without answering it, so a test can photograph it
// first.
int SeeMessageBox(const Arguments& args) {
    int code = kOk;
    if (!AwaitMessageBox(args, code) && code == kFailed) PrintError("no message box appeared");
    return code;
}

int NoMessageBox(const Arguments& args) {
    int code = kOk;
    if (AwaitMessageBox(args, code)) {
        PrintError("unexpected message box");
        return kFailed;
    }
    return code == kUsage ? kUsage : kOk;
}

int Close(const Arguments& args) {
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    return PostMessageW(window, WM_CLOSE, 0, 0) ? kOk : kFailed;
}

// A control of the window by its id (a number) or its name; says so on
// stderr when there is none.
HWND FindControl(HWND window, const std::wstring& word) {
    long id = 0;
    HWND control = ParseInteger(word, id) ? FindDescendantById(window, static_cast<int>(id))
                                          : FindDescendantByName(window, word);
    if (!control) PrintError("no control \"" + Utf8(word) + "\"");
    return control;
}

int Click(const Arguments& args) {
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    HWND control = FindControl(window, args.words[1]);
    if (!control) return kFailed;
    // --row N: a click into row N of a list box, as the mouse gives it.
    if (auto it = args.options.find(L"row"); it != args.options.end()) {
        long row = 0;
        if (!ParseInteger(it->second, row) || row < 0) return kUsage;
        DWORD_PTR height = 0, top = 0;
        SendMessageTimeoutW(control, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &height);
        SendMessageTimeoutW(control, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 2000, &top);
        const LPARAM at = MAKELPARAM(10, static_cast<int>((row - static_cast<long>(top)) * height + height / 2));
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(control, WM_LBUTTONUP, 0, at);
        return kOk;
    }
    PostClick(control);
    return kOk;
}

// Puts a text into a box as a paste would: the box reports the change.
int SetText(const Arguments& args) {
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    HWND control = FindControl(window, args.words[1]);
    if (!control) return kFailed;
    DWORD_PTR done = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args.words[2].c_str()),
                               SMTO_ABORTIFHUNG, 5000, &done) && done
               ? kOk
               : kFailed;
}

// Presses a key (a virtual-key code: 9 Tab, 37..40 the arrows) on a control
// given by its id or name, as if it had the keyboard.
int Key(const Arguments& args) {
    long vk = 0;
    if (!ParseInteger(args.words[2], vk) || vk <= 0 || vk > 0xFE) return kUsage;
    HWND window = FindTopLevel(args.words[0], false);
    if (!window) return kFailed;
    HWND control = FindControl(window, args.words[1]);
    if (!control) return kFailed;
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1LL << 30) | (1LL << 31);
    return PostMessageW(control, WM_KEYDOWN, static_cast<WPARAM>(vk), down) &&
                   PostMessageW(control, WM_KEYUP, static_cast<WPARAM>(vk), up)
               ? kOk
               : kFailed;
}

// For a person reading a failed test: every top-level window there is.
int Windows(const Arguments&) {
    for (HWND window : TopLevelWindows()) {
        Print(Hex(window) + "\t" + Escaped(ClassName(window)) + "\t" + Escaped(Caption(window)) +
              "\t" + (IsWindowVisible(window) ? "1" : "0") + "\t" +
              std::to_string(OwnerProcessId(window)) + "\t" + Utf8(OwnerImageName(window)));
    }
    return kOk;
}

struct Command {
    const wchar_t* name;
    size_t words;
    int (*run)(const Arguments&);
    const char* usage;
};

constexpr Command kCommands[] = {
    {L"wait-window", 2, WaitWindow, "wait-window <caption> <seconds>"},
    {L"texts", 1, Texts, "texts <caption>"},
    {L"rect", 1, Rect, "rect <caption>"},
    {L"msgbox", 1, AnswerMessageBox,
     "msgbox <seconds> [--owner-pid <pid>] [--owner-exe <name.exe>] [--press <button id>]"},
    {L"see-msgbox", 1, SeeMessageBox, "see-msgbox <seconds> [--owner-pid <pid>] [--owner-exe <name.exe>]"},
    {L"no-msgbox", 1, NoMessageBox, "no-msgbox <seconds> [--owner-pid <pid>] [--owner-exe <name.exe>]"},
    {L"close", 1, Close, "close <caption>"},
    {L"click", 2, Click, "click <caption> <control id or name> [--row N]"},
    {L"settext", 3, SetText, "settext <caption> <control id or name> <text>"},
    {L"layout", 1, Layout, "layout <caption>"},
    {L"focus", 1, Focus, "focus <caption>"},
    {L"menu", 2, Menu, "menu <caption> <entry caption>"},
    {L"key", 3, Key, "key <caption> <control id or name> <virtual-key code>"},
    {L"windows", 0, Windows, "windows"},
};

int Usage() {
    PrintError("usage:");
    for (const Command& command : kCommands) PrintError(std::string("  skydrive ") + command.usage);
    return kUsage;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const Command* command = nullptr;
    for (const Command& candidate : kCommands)
        if (std::wstring_view(argv[1]) == candidate.name) command = &candidate;
    if (!command) return Usage();

    Arguments args;
    for (int i = 2; i < argc; ++i) {
        const std::wstring word = argv[i];
        if (word.starts_with(L"--")) {
            if (i + 1 >= argc) return Usage();
            args.options[word.substr(2)] = argv[++i];
        } else {
            args.words.push_back(word);
        }
    }
    if (args.words.size() != command->words) return Usage();
    const int code = command->run(args);
    return code == kUsage ? Usage() : code;
}

}  // namespace
}  // namespace skydrive

int wmain(int argc, wchar_t** argv) {
    // Coordinates in real pixels, whatever the screen's DPI, so they compare
    // with twips * DPI / 1440.
    SetProcessDPIAware();
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    return skydrive::Run(argc, argv);
}
