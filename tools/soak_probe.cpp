// soak_probe: reads, from outside, what a running program holds of Windows
// objects and memory, for tools/soak's watch on skylet.exe over a long run.
//
//   soak_probe sample <image name>   one line "measure<TAB>value" per measure
//   soak_probe self-test             makes known numbers of objects, here and
//                                    in a child process, and prints which
//                                    measures saw them (before, after, made)
//
// Wine (8.0) answers GetGuiResources with 0 (ERROR_CALL_NOT_IMPLEMENTED),
// GetProcessHandleCount with 0 and leaves PrivateUsage 0, so beside them it
// counts what it can see itself:
//   gdi_table       the rows in use in the process's GDI handle table (the
//                   table PEB.GdiSharedHandleTable points to, read with
//                   ReadProcessMemory), stock objects included;
//   windows         the windows the process owns, hidden and message-only too;
//   kernel_handles  its rows in the system's handle list;
//   pagefile_bytes  PagefileUsage, the private bytes Windows charges the
//                   process (Wine fills it, PrivateUsage not).
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/program.h"

namespace {

using partners::Fail;
using partners::WriteLine;
constexpr int kFailed = 1;
constexpr char kUsage[] = "usage: soak_probe sample <image name> | self-test";

// One row of the GDI handle table as Wine lays it out on x64 (looked at with
// objects of known types). Wine keeps one such table per process, so every
// row in use is one of that process's objects.
struct GdiEntry {
    UINT64 object;
    ULONG owner;
    UCHAR extType;  // the object's type; bit 0x80 marks a stock object
    UCHAR generation;
    UCHAR type;     // 0: a free row
    UCHAR flags;
    UINT64 user;
};
static_assert(sizeof(GdiEntry) == 24);
constexpr size_t kGdiRows = 0x10000;
constexpr size_t kPebGdiTable = 0xF8;  // offset of GdiSharedHandleTable in the x64 PEB

std::string N(long long n) { return std::to_string(n); }

// The GDI objects in use, by type; empty when the table cannot be read.
std::map<int, long> GdiTable(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) {
        return {};
    }
    UINT64 table = 0;
    SIZE_T got = 0;
    const auto at = reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTable;
    if (!ReadProcessMemory(process, at, &table, sizeof(table), &got) || !table) return {};
    std::vector<GdiEntry> rows(kGdiRows);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), rows.data(), rows.size() * sizeof(GdiEntry),
                           &got)) {
        return {};
    }
    std::map<int, long> byType;
    for (const GdiEntry& row : rows) {
        if (row.type != 0) ++byType[row.extType];
    }
    return byType;
}

// The kernel handles (events, threads, files, ...) the process holds, from
// the system's handle list; -1 when it cannot be had. The list names the
// owner in 16 bits on Windows, in 32 under Wine: the low 16 are compared.
long KernelHandles(DWORD pid) {
    struct Row {
        ULONG owner;
        UCHAR objectType, attributes;
        USHORT value;
        void* object;
        ULONG access;
    };
    constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    constexpr NTSTATUS kTooSmall = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<char> list(1 << 20);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, list.data(), static_cast<ULONG>(list.size()),
                                              nullptr)) == kTooSmall && list.size() < (256u << 20)) {
        list.resize(list.size() * 2);
    }
    if (status != 0) return -1;
    const ULONG rows = *reinterpret_cast<const ULONG*>(list.data());
    const auto* row = reinterpret_cast<const Row*>(list.data() + sizeof(void*));
    long held = 0;
    for (ULONG i = 0; i < rows; ++i) held += (row[i].owner & 0xFFFF) == (pid & 0xFFFF);
    return held;
}

// By the type codes seen in Wine; the stock objects (fixed in number) together.
std::string TypeName(int extType) {
    static const std::map<int, std::string> names = {{0x01, "dc"},      {0x41, "memdc"},  {0x04, "region"},
                                                     {0x05, "surface"}, {0x08, "palette"}, {0x09, "bitmap"},
                                                     {0x0a, "font"},    {0x10, "brush"},  {0x30, "pen"},
                                                     {0x50, "extpen"}};
    if (extType & 0x80) return "stock";
    const auto name = names.find(extType);
    char hex[8];
    std::snprintf(hex, sizeof(hex), "0x%02x", extType);
    return name == names.end() ? hex : name->second;
}

// The windows of the process by class: top-level ones (shown or hidden),
// their descendants, and message-only windows, as DDE conversations have.
std::map<std::string, long> Windows(DWORD pid) {
    struct Count {
        DWORD pid;
        std::map<std::string, long> byClass;
    } count{pid, {}};
    static const auto note = [](HWND window, Count& counted) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != counted.pid) return;
        char name[256];
        const int length = GetClassNameA(window, name, sizeof(name));
        ++counted.byClass[std::string(name, length > 0 ? static_cast<size_t>(length) : 0)];
    };
    const WNDENUMPROC top = [](HWND window, LPARAM c) {
        note(window, *reinterpret_cast<Count*>(c));
        EnumChildWindows(window, [](HWND w, LPARAM cc) {
            note(w, *reinterpret_cast<Count*>(cc));
            return TRUE;
        }, c);
        return TRUE;
    };
    EnumWindows(top, reinterpret_cast<LPARAM>(&count));
    for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr));) {
        note(window, count);
    }
    return count.byClass;
}

struct Sample {
    std::vector<std::pair<std::string, long long>> values;  // in the order printed
    std::map<int, long> gdiTypes;
    std::map<std::string, long> windowClasses;
    long long Get(const std::string& name) const {
        for (const auto& [key, value] : values) {
            if (key == name) return value;
        }
        return -1;
    }
};

// -1 stands for a measure the system would not give.
Sample Measure(HANDLE process, DWORD pid) {
    Sample s;
    SetLastError(0);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD gdiError = GetLastError();
    SetLastError(0);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const DWORD userError = GetLastError();
    s.values = {{"gdi", gdi}, {"gdi_error", gdiError}, {"user", user}, {"user_error", userError}};
    s.gdiTypes = GdiTable(process);
    long tableTotal = -1;
    if (!s.gdiTypes.empty()) {
        tableTotal = 0;
        for (const auto& [type, n] : s.gdiTypes) tableTotal += n;
    }
    s.values.emplace_back("gdi_table", tableTotal);
    s.windowClasses = Windows(pid);
    long windows = 0;
    for (const auto& [name, n] : s.windowClasses) windows += n;
    s.values.emplace_back("windows", windows);
    DWORD handles = 0;
    s.values.emplace_back("handles", GetProcessHandleCount(process, &handles) ? handles : -1);
    s.values.emplace_back("kernel_handles", KernelHandles(pid));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    const bool known = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                            sizeof(memory));
    s.values.emplace_back("private_bytes", known ? static_cast<long long>(memory.PrivateUsage) : -1);
    s.values.emplace_back("pagefile_bytes", known ? static_cast<long long>(memory.PagefileUsage) : -1);
    s.values.emplace_back("working_set_bytes", known ? static_cast<long long>(memory.WorkingSetSize) : -1);
    return s;
}

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text) out += *text < 128 ? static_cast<char>(*text) : '?';
    return out;
}

// The one running process of that image name ("skylet.exe").
DWORD FindProcess(const std::string& image) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) Fail("no process list", kFailed);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    std::vector<DWORD> found;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (_stricmp(Narrow(entry.szExeFile).c_str(), image.c_str()) == 0) found.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    if (found.size() != 1) Fail(N(static_cast<long long>(found.size())) + " processes named " + image, kFailed);
    return found[0];
}

std::string Types(const Sample& s) {
    std::map<std::string, long> named;
    for (const auto& [type, n] : s.gdiTypes) named[TypeName(type)] += n;
    std::string types;
    for (const auto& [name, n] : named) types += (types.empty() ? "" : ",") + name + ":" + N(n);
    return types;
}

int SampleCommand(const std::string& image) {
    const DWORD pid = FindProcess(image);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) Fail("cannot open process " + N(pid), kFailed);
    const Sample s = Measure(process, pid);
    CloseHandle(process);
    WriteLine(STD_OUTPUT_HANDLE, "pid\t" + N(pid));
    for (const auto& [name, value] : s.values) WriteLine(STD_OUTPUT_HANDLE, name + "\t" + N(value));
    WriteLine(STD_OUTPUT_HANDLE, "gdi_types\t" + Types(s));
    std::string classes;
    for (const auto& [name, n] : s.windowClasses) {
        classes += (classes.empty() ? "" : ",") + partners::Escaped(name) + ":" + N(n);
    }
    WriteLine(STD_OUTPUT_HANDLE, "window_classes\t" + classes);
    return 0;
}

// What the self-test makes, in the process it runs in: fonts, windows, events
// and heap; kept until the process ends.
constexpr int kFonts = 100, kWindows = 20, kEvents = 50;
constexpr size_t kHeapBytes = 16u << 20;

void MakeObjects() {
    for (int i = 0; i < kFonts; ++i) {
        CreateFontW(10 + i, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New");
    }
    for (int i = 0; i < kWindows; ++i) {
        CreateWindowW(L"STATIC", L"soak probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    for (int i = 0; i < kEvents; ++i) CreateEventW(nullptr, FALSE, FALSE, nullptr);
    auto* heap = static_cast<char*>(VirtualAlloc(nullptr, kHeapBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    for (size_t i = 0; heap && i < kHeapBytes; i += 4096) heap[i] = 1;
}

// The child of the self-test: makes its objects when told, says so, and
// waits to be ended, so the parent can look at it from outside.
int HoldCommand() {
    HANDLE make = OpenEventW(SYNCHRONIZE, FALSE, L"soak_probe_make");
    HANDLE made = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"soak_probe_made");
    if (!make || !made) Fail("no events from the self-test", kFailed);
    SetEvent(made);  // ready
    WaitForSingleObject(make, 30000);
    MakeObjects();
    SetEvent(made);
    Sleep(60000);
    return 0;
}

void PrintRows(const std::string& where, const Sample& before, const Sample& after) {
    const std::map<std::string, long long> made = {
        {"gdi", kFonts},          {"gdi_table", kFonts},        {"user", kWindows},
        {"windows", kWindows},    {"handles", kEvents},         {"kernel_handles", kEvents},
        {"private_bytes", kHeapBytes}, {"pagefile_bytes", kHeapBytes}, {"working_set_bytes", kHeapBytes}};
    for (const auto& [name, value] : before.values) {
        if (name.ends_with("_error")) continue;
        const auto expected = made.find(name);
        WriteLine(STD_OUTPUT_HANDLE, where + "\t" + name + "\t" + N(value) + "\t" + N(after.Get(name)) + "\t" +
                                         (expected == made.end() ? "-" : N(expected->second)));
    }
    WriteLine(STD_OUTPUT_HANDLE, where + "\tgdi_types\t" + Types(before) + "\t" + Types(after) + "\t-");
    WriteLine(STD_OUTPUT_HANDLE, where + "\tgui_resources_last_error\t" + N(after.Get("gdi_error")) + "\t" +
                                     N(after.Get("user_error")) + "\t-");
}

int SelfTest() {
    WriteLine(STD_OUTPUT_HANDLE, "process\tmeasure\tbefore\tafter\tmade");
    const DWORD self = GetCurrentProcessId();
    const Sample ownBefore = Measure(GetCurrentProcess(), self);
    MakeObjects();
    PrintRows("own", ownBefore, Measure(GetCurrentProcess(), self));

    HANDLE make = CreateEventW(nullptr, TRUE, FALSE, L"soak_probe_make");
    HANDLE made = CreateEventW(nullptr, FALSE, FALSE, L"soak_probe_made");
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(path) + L"\" hold";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
        Fail("cannot start the child", kFailed);
    }
    int result = kFailed;
    if (WaitForSingleObject(made, 30000) == WAIT_OBJECT_0) {
        const Sample before = Measure(child.hProcess, child.dwProcessId);
        SetEvent(make);
        if (WaitForSingleObject(made, 30000) == WAIT_OBJECT_0) {
            PrintRows("other", before, Measure(child.hProcess, child.dwProcessId));
            result = 0;
        }
    }
    TerminateProcess(child.hProcess, 0);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "sample") return SampleCommand(args[1]);
    if (args.size() == 1 && args[0] == "self-test") return SelfTest();
    if (args.size() == 1 && args[0] == "hold") return HoldCommand();
    Fail(kUsage);
}
