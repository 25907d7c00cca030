// The footprint of a working refresh loop, in a process of its own so that
// nothing else it did sits in the figures, and the size of the program file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "inventory/NetMon.h"
#include "monitor/ChangeLog.h"
#include "platform/win32/Win32RpcEndpoint.h"
#include "platform/win32/Win32Wmi.h"
#include "tests/bench/BenchCommon.h"
#include "tests/bench/BenchTable.h"
#include "tests/bench/Benchmarks.h"

namespace kestrova::bench {

namespace {

constexpr double kMB = 1000.0 * 1000.0;  // goals are in decimal megabytes

void Bytes(const std::string& name, std::uint64_t bytes) {
    FigureInt(name, static_cast<std::int64_t>(bytes), "bytes");
    Figure(name + "_mb", static_cast<double>(bytes) / kMB, "MB");
}

// A change log filled to the brim with entries as long as real ones get: a
// long adapter description and an IPv6 address with a zone going away.
std::uint64_t FullChangeLogBytes() {
    const std::uint64_t before = HeapBytesInUse();
    {
        auto log = std::make_unique<ChangeLog>();
        for (std::size_t i = 0; i < ChangeLog::kCapacity; ++i) {
            AdapterRow was;
            was.text = u"00:15:5D:01:02:" + DecimalText(10 + i % 90);
            was.subItems[0] = u"Intel(R) Ethernet Connection (7) I219-V #" + DecimalText(i % 7);
            was.subItems[5] = u"fe80::1c2d:3e4f:5a6b:7c8d%12";
            AdapterRow now = was;
            now.subItems[5].reset();
            RefreshResult result;
            result.computer = u"WORKSTATION-0042";
            result.stamp.at = {2026, 3, 14, {10, 31, 5}};
            result.changes.push_back(CompareRows(was, now));
            log->Record(result);
        }
        const std::uint64_t full = HeapBytesInUse();
        if (log->Count() != ChangeLog::kCapacity) return 0;
        return full > before ? full - before : 0;
    }
}

struct RefreshMemory {
    std::uint64_t atStart = 0;
    std::uint64_t after = 0;
    std::uint64_t peak = 0;
    Memory raw;
    int failures = 0;
    int rows = 0;
    bool named = false;  // the names took hold
};

// `refreshes` refreshes with the real WMI into the real table. With a
// reader, one WM_GETOBJECT for the list's client object after the first,
// as a screen reader's first question: the names come with it.
RefreshMemory RefreshLoop(int refreshes, bool reader) {
    RefreshMemory memory;
    memory.atStart = PrivateBytes(ReadMemory());

    const Text computer = ComputerName();
    BenchTable table(computer);
    win32::Win32RpcEndpoint rpc;
    win32::Win32WmiConnector wmi;
    NetMon netMon(table.computer(), rpc, wmi, table.list());

    // The platform's own peak is sampled too: under Wine PeakPagefileUsage
    // is the current value, not a peak.
    std::uint64_t sampledPeak = PrivateBytes(ReadMemory());
    for (int i = 0; i < refreshes; ++i) {
        const RefreshResult result = netMon();
        if (result.kind != RefreshResult::Kind::Refreshed) ++memory.failures;
        memory.rows = result.rows;
        if (reader && i == 0) {
            SendMessageW(table.list().hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        }
        PumpMessages();
        sampledPeak = std::max(sampledPeak, PrivateBytes(ReadMemory()));
    }
    memory.named = table.list().Names() != nullptr;
    memory.raw = ReadMemory();
    memory.after = PrivateBytes(memory.raw);
    memory.peak = std::max(sampledPeak, memory.raw.peakPagefileUsage);
    return memory;
}

// The same loop with a reader: its own figures, beside the plain run's.
int ReportWithReader(int refreshes) {
    const RefreshMemory memory = RefreshLoop(refreshes, true);
    FigureInt("memory.with_reader.refreshes", refreshes, "count");
    FigureInt("memory.with_reader.failures", memory.failures, "count");
    Bytes("memory.with_reader.private_bytes.after_refreshes", memory.after);
    Bytes("memory.with_reader.private_bytes.peak", memory.peak);
    Remark(memory.named ? "with_reader: the names took hold"
                        : "with_reader: the annotation service refused the names; their thread "
                          "has ended");
    return memory.failures == 0 ? 0 : 1;
}

}  // namespace

int RunMemory(const Arguments& args) {
    const auto paths = Positional(args);
    if (paths.size() != 1) {
        std::fputs("memory: need the path of kestrova.exe\n", stderr);
        return 2;
    }
    const int refreshes = std::max(1, IntOption(args, L"--refreshes", 100));
    if (IntOption(args, L"--reader", 0) != 0) return ReportWithReader(refreshes);
    const RefreshMemory memory = RefreshLoop(refreshes, false);
    const std::uint64_t peak = memory.peak;

    FigureInt("memory.refreshes", refreshes, "count");
    FigureInt("memory.failures", memory.failures, "count");
    FigureInt("memory.table_rows", memory.rows, "count");
    FigureInt("memory.raw.private_usage", static_cast<std::int64_t>(memory.raw.privateUsage),
              "bytes");
    FigureInt("memory.raw.pagefile_usage", static_cast<std::int64_t>(memory.raw.pagefileUsage),
              "bytes");
    FigureInt("memory.raw.peak_pagefile_usage",
              static_cast<std::int64_t>(memory.raw.peakPagefileUsage), "bytes");
    Bytes("memory.private_bytes.at_process_start", memory.atStart);
    Bytes("memory.private_bytes.after_refreshes", memory.after);
    Bytes("memory.private_bytes.peak", peak);
    Bytes("memory.peak_working_set", memory.raw.peakWorkingSet);
    const std::uint64_t logBytes = FullChangeLogBytes();
    FigureInt("memory.change_log_full", static_cast<std::int64_t>(logBytes), "bytes");
    Figure("memory.change_log_per_entry", static_cast<double>(logBytes) / ChangeLog::kCapacity,
           "bytes");
    Remark("change_log_full: the heap bytes a change log of 1000 entries holds (each a time, a "
           "computer, a MAC address, a 40-character description and an IPv6 change), every "
           "heap of the process walked before and after");
    Remark("private bytes from " + PrivateBytesSource() +
           "; peak = the larger of PeakPagefileUsage and the value sampled after every refresh");

    const std::wstring exe = WindowsPath(paths[0]);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    bool sized = false;
    if (GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &data)) {
        const std::uint64_t size =
            (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        Bytes("size.kestrova_exe", size);
        char goal[100];
        std::snprintf(goal, sizeof(goal), "goal size.kestrova_exe < 2 MB: %s",
                      static_cast<double>(size) < 2 * kMB ? "met" : "NOT met");
        Remark(goal);
        sized = true;
    } else {
        std::fprintf(stderr, "memory: cannot read the size of %ls (error %lu)\n", exe.c_str(),
                     GetLastError());
    }
    char goal[100];
    std::snprintf(goal, sizeof(goal), "goal memory.private_bytes.peak <= 9 MB (no reader): %s",
                  static_cast<double>(peak) <= 9 * kMB ? "met" : "NOT met");
    Remark(goal);
    return memory.failures == 0 && sized ? 0 : 1;
}

}  // namespace kestrova::bench
