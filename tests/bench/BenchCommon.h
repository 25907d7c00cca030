// What every benchmark shares: a clock, medians, the output format, process
// counters that stay honest under Wine, and a real window to host the table.
//
// Output: one figure per line as `name value unit`, so a script can pick
// figures with awk. Lines starting with '#' are remarks for the reader.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace kestrova::bench {

// QueryPerformanceCounter ticks: the same clock in every process, so a time
// taken by one program can be compared with one taken by another.
std::int64_t Ticks();
double TicksToMs(std::int64_t ticks);

double Median(std::vector<double> values);

void Figure(std::string_view name, double value, std::string_view unit);
void FigureInt(std::string_view name, std::int64_t value, std::string_view unit);
void Remark(const std::string& text);

// The running Wine's version, or nothing on Windows. Several counters are
// stubs there, and a reader needs to know which platform produced a figure.
std::optional<std::string> WineVersion();

// A path as given on the command line; under Wine an absolute Unix path is
// reached through the Z: drive, which maps the Unix root.
std::wstring WindowsPath(std::wstring path);

// Dispatches whatever is queued, paints included, without waiting.
void PumpMessages();

// Kernel handles. GetProcessHandleCount reports 0 under Wine 8 while
// succeeding, so a 0 falls back to counting this process's entries in the
// system handle table; `source` says which one answered.
struct HandleCount {
    std::optional<std::int64_t> count;
    std::string source;
};
HandleCount CountKernelHandles();

// GetGuiResources, or nothing when it fails or is a stub: it can never be 0
// for a process that has a window.
struct GuiCount {
    std::optional<std::int64_t> count;
    DWORD error = 0;
};
GuiCount CountGuiObjects(DWORD kind);

// Windows of this process, top-level and child: a partial stand-in for USER
// objects where GetGuiResources is not available.
std::int64_t CountOwnWindows();

// Memory as the process counters give it. Under Wine, PrivateUsage is 0,
// PagefileUsage is Linux's RssAnon (+ swap) of the process and
// PeakPagefileUsage is not a peak but the current value; WorkingSetSize and
// PeakWorkingSetSize are VmRSS and VmHWM.
struct Memory {
    std::uint64_t privateUsage = 0;
    std::uint64_t pagefileUsage = 0;
    std::uint64_t peakPagefileUsage = 0;
    std::uint64_t workingSet = 0;
    std::uint64_t peakWorkingSet = 0;
};
Memory ReadMemory();

// Bytes the process's heaps hand out now, every heap walked (the CRT's
// malloc may keep a heap of its own): exact, where private bytes count pages.
std::uint64_t HeapBytesInUse();
// Bytes the same heaps hold from the system: committed regions and blocks
// of their own, busy or free. What it adds to HeapBytesInUse is free space.
std::uint64_t HeapBytesCommitted();

// Private bytes: PrivateUsage where the platform fills it, PagefileUsage
// where it does not (Wine), named by `PrivateBytesSource`.
std::uint64_t PrivateBytes(const Memory& memory);
std::string PrivateBytesSource();

// A shown top-level window of the program's client size at 96 DPI, holding
// the computer-name box and the adapter table at their start-up places.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

Text ComputerName();

}  // namespace kestrova::bench
