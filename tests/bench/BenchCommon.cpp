#include "tests/bench/BenchCommon.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "window/ControlTable.h"

namespace kestrova::bench {

namespace {

template <class Function>
Function NtdllFunction(const char* name) {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return nullptr;
    // Through void(*)() so that -Wcast-function-type accepts the cast.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(ntdll, name)));
}

// The layout of SYSTEM_HANDLE_INFORMATION_EX (class 64). The extended form
// is used because the older one stores process ids in 16 bits.
struct HandleEntryEx {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct HandleInformationEx {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntryEx handles[1];
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004L);

std::optional<std::int64_t> CountHandlesInSystemTable() {
    using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query = NtdllFunction<Query>("NtQuerySystemInformation");
    if (!query) return std::nullopt;
    std::vector<unsigned char> buffer(1 << 16);
    for (int attempt = 0; attempt < 16; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(kSystemExtendedHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == kStatusInfoLengthMismatch) {
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0) return std::nullopt;
        const auto* info = reinterpret_cast<const HandleInformationEx*>(buffer.data());
        const ULONG_PTR self = GetCurrentProcessId();
        std::int64_t count = 0;
        for (ULONG_PTR i = 0; i < info->count; ++i) {
            if (info->handles[i].processId == self) ++count;
        }
        return count;
    }
    return std::nullopt;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

std::int64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double TicksToMs(std::int64_t ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) * 1000.0 / frequency;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    if (values.size() % 2 == 1) return values[mid];
    return (values[mid - 1] + values[mid]) / 2.0;
}

void Figure(std::string_view name, double value, std::string_view unit) {
    std::printf("%.*s %.3f %.*s\n", static_cast<int>(name.size()), name.data(), value,
                static_cast<int>(unit.size()), unit.data());
    std::fflush(stdout);
}

void FigureInt(std::string_view name, std::int64_t value, std::string_view unit) {
    std::printf("%.*s %lld %.*s\n", static_cast<int>(name.size()), name.data(),
                static_cast<long long>(value), static_cast<int>(unit.size()), unit.data());
    std::fflush(stdout);
}

void Remark(const std::string& text) {
    std::printf("# %s\n", text.c_str());
    std::fflush(stdout);
}

std::optional<std::string> WineVersion() {
    using GetVersion = const char*(CDECL*)();
    static const auto get = NtdllFunction<GetVersion>("wine_get_version");
    if (!get) return std::nullopt;
    const char* version = get();
    return std::string(version ? version : "?");
}

std::wstring WindowsPath(std::wstring path) {
    if (WineVersion() && !path.empty() && path.front() == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return L"Z:" + path;
    }
    return path;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HandleCount CountKernelHandles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) {
        return {static_cast<std::int64_t>(count), "GetProcessHandleCount"};
    }
    if (auto table = CountHandlesInSystemTable()) {
        return {*table, "NtQuerySystemInformation(SystemExtendedHandleInformation)"};
    }
    return {std::nullopt, "none"};
}

GuiCount CountGuiObjects(DWORD kind) {
    SetLastError(0);
    const DWORD count = GetGuiResources(GetCurrentProcess(), kind);
    if (count == 0) return {std::nullopt, GetLastError()};
    return {static_cast<std::int64_t>(count), 0};
}

std::int64_t CountOwnWindows() {
    struct Counter {
        DWORD process;
        std::int64_t count;
    } counter{GetCurrentProcessId(), 0};
    EnumWindows(
        [](HWND top, LPARAM state) -> BOOL {
            auto& c = *reinterpret_cast<Counter*>(state);
            DWORD owner = 0;
            GetWindowThreadProcessId(top, &owner);
            if (owner != c.process) return TRUE;
            ++c.count;
            EnumChildWindows(
                top,
                [](HWND, LPARAM inner) -> BOOL {
                    ++reinterpret_cast<Counter*>(inner)->count;
                    return TRUE;
                },
                state);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&counter));
    return counter.count;
}

Memory ReadMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    Memory m;
    if (!GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof(counters))) {
        return m;
    }
    m.privateUsage = counters.PrivateUsage;
    m.pagefileUsage = counters.PagefileUsage;
    m.peakPagefileUsage = counters.PeakPagefileUsage;
    m.workingSet = counters.WorkingSetSize;
    m.peakWorkingSet = counters.PeakWorkingSetSize;
    return m;
}

std::uint64_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::uint64_t used = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
        }
        HeapUnlock(heap);
    }
    return used;
}

std::uint64_t HeapBytesCommitted() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::uint64_t committed = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_REGION) committed += entry.Region.dwCommittedSize;
        }
        HeapUnlock(heap);
    }
    return committed;
}

std::uint64_t PrivateBytes(const Memory& memory) {
    return memory.privateUsage != 0 ? memory.privateUsage : memory.pagefileUsage;
}

std::string PrivateBytesSource() {
    if (ReadMemory().privateUsage != 0) return "PrivateUsage";
    return "PagefileUsage (PrivateUsage is 0 here; under Wine PagefileUsage is Linux RssAnon+swap "
           "of the process)";
}

HostWindow::HostWindow() {
    static const ATOM atom = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = HostProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        cls.lpszClassName = L"KestrovaBenchHost";
        return RegisterClassExW(&cls);
    }();
    // The program's client area at 96 DPI (1440 twips to the inch).
    const int width = MulDiv(static_cast<int>(kFormWidth), 96, 1440);
    const int height = MulDiv(static_cast<int>(kFormHeight), 96, 1440);
    hwnd_ = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(atom)),
                            L"Kestrova bench", WS_POPUP | WS_VISIBLE, 20, 20, width, height,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

Text ComputerName() {
    // As the program does: the COMPUTERNAME variable, not GetComputerName.
    wchar_t buffer[256] = {};
    const DWORD n = GetEnvironmentVariableW(L"COMPUTERNAME", buffer, 256);
    if (n == 0 || n >= 256) return Text();
    return Text(buffer, buffer + n);
}

}  // namespace kestrova::bench
