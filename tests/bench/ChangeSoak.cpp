// Days of running compressed: the real main window refreshing back to back
// from a scripted WMI in which every refresh brings changes, well past the
// change log's cap, and then the same window for as many refreshes with no
// change at all. Once the log is full, what the changes leave behind (the
// log's entries, the marks and their tips, the rows kept aside, the window
// of changes following the log) is bounded, so after the cap the changing
// run must grow no more than the unchanged one.
//
// Measured at the cap and at the end of each run: the heap bytes in use,
// every heap walked (exact, and what a leak adds to), the bytes those heaps
// have committed (what fragmentation adds to: free space between blocks
// that stay), and private bytes (the platform's pages, coarse, reported
// only). The verdict is on the first two, each as its growth after the cap
// net of the unchanged run's over the same refreshes.
//
// The limit, 64 KB per 1,000 refreshes by default, is 64 bytes a refresh:
// anything kept at every refresh (one text of the log, a mark's change, a
// tip) is above it, and a log that kept its entries past the cap is ten
// times over. What a full, bounded log does vary with is the lengths of the
// texts it holds at the moment: 2 to 12 KB per 1,000 refreshes in runs of
// 600 to 11,000 refreshes after the cap, the same bytes at every run. The
// committed bytes move in 64 KB steps, so one step is allowed on top.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "inventory/AdapterQuery.h"
#include "inventory/AdapterTable.h"
#include "monitor/ChangeLog.h"
#include "platform/win32/MainWindow.h"
#include "tests/bench/BenchCommon.h"
#include "tests/bench/Benchmarks.h"
#include "tests/fakes/FakeRpcEndpoint.h"
#include "tests/fakes/FakeWmi.h"

namespace kestrova::bench {

namespace {

constexpr int kAdapters = 80;
constexpr int kToggledAddress = 2;  // IP 3: the address that comes and goes
constexpr std::int64_t kCommitStep = 64 * 1024;

Text Dotted(int a, int b, int c, int d) {
    return DecimalText(static_cast<std::uint64_t>(a)) + u"." +
           DecimalText(static_cast<std::uint64_t>(b)) + u"." +
           DecimalText(static_cast<std::uint64_t>(c)) + u"." +
           DecimalText(static_cast<std::uint64_t>(d));
}

// Texts as long as a real machine's, every adapter green.
fakes::FakeAdapter Adapter(int n) {
    fakes::FakeAdapter a;
    const Text two = DecimalText(static_cast<std::uint64_t>(10 + n));  // two digits
    a.properties[Text(property::MACAddress)] = u"02:00:5e:00:00:" + two;
    a.properties[Text(property::Description)] =
        u"Intel(R) Ethernet Connection (7) I219-V #" + DecimalText(static_cast<std::uint64_t>(n));
    a.lists[Text(property::IPAddress)] = {Dotted(10, 1, n, 2), u"fe80::1c2d:3e4f:5a6b:" + two,
                                          Dotted(172, 16, n, 2)};
    a.lists[Text(property::DefaultIPGateway)] = {Dotted(10, 1, n, 1)};
    a.lists[Text(property::DNSServerSearchOrder)] = {Dotted(10, 0, 0, 53)};
    a.properties[Text(property::DHCPEnabled)] = true;
    a.properties[Text(property::DNSDomain)] = Text(u"corp.bench.example");
    a.properties[Text(property::MTU)] = std::int64_t{1500};
    a.properties[Text(property::ServiceName)] = Text(u"e1dexpress");
    return a;
}

// Each bind is one refresh; before it answers, the next `changes` adapters
// in turn gain or lose their third address, so each refresh after the
// first logs exactly `changes` entries.
class ChangingWmi final : public WmiConnector {
public:
    explicit ChangingWmi(int changes) : changes_(changes) {
        for (int n = 0; n < kAdapters; ++n) wmi_.script.adapters.push_back(Adapter(n));
    }

    Outcome<std::unique_ptr<WmiServices>> Bind(TextView displayName) override {
        for (int i = 0; i < changes_; ++i) {
            const int n = next_++ % kAdapters;
            std::vector<WmiValue>& addresses =
                wmi_.script.adapters[static_cast<std::size_t>(n)].lists[Text(property::IPAddress)];
            if (addresses.size() > kToggledAddress) {
                addresses.resize(kToggledAddress);
            } else {
                addresses.push_back(Dotted(172, 16, n, 2));
            }
        }
        ++refreshes_;
        wmi_.log = {};  // the fake's own record would grow with every refresh
        return wmi_.Bind(displayName);
    }

    int Refreshes() const { return refreshes_; }

private:
    fakes::FakeWmi wmi_;
    int changes_;
    int next_ = 0;
    int refreshes_ = 0;
};

// The heap bytes the marks of every row hold once each keeps its whole
// history: bounded by the rows and kMarkHistory, they make much of what a
// changing table holds beside a full log.
std::int64_t FullMarksBytes() {
    std::vector<AdapterRow> rows(kAdapters);
    for (int n = 0; n < kAdapters; ++n) {
        const fakes::FakeAdapter a = Adapter(n);
        AdapterRow& row = rows[static_cast<std::size_t>(n)];
        row.text = std::get<Text>(a.properties.at(Text(property::MACAddress)));
        row.subItems[0] = std::get<Text>(a.properties.at(Text(property::Description)));
        for (std::size_t i = 0; i < 3; ++i) {
            row.subItems[1 + i] = std::get<Text>(a.lists.at(Text(property::IPAddress))[i]);
        }
    }
    AdapterTable table;
    table.Replace(rows);  // the first refresh marks nothing
    const std::uint64_t unmarked = HeapBytesInUse();
    for (std::size_t k = 0; k < kMarkHistory; ++k) {
        for (AdapterRow& row : rows) {
            std::optional<Text>& third = row.subItems[1 + kToggledAddress];
            third = third ? std::optional<Text>() : Text(u"172.16.99.2");
        }
        table.Replace(rows);
    }
    return static_cast<std::int64_t>(HeapBytesInUse()) - static_cast<std::int64_t>(unmarked);
}

struct Sample {
    int refreshes;
    std::int64_t heap;
    std::int64_t privateBytes;
    std::int64_t heapCommitted;
};

Sample Take(int refreshes) {
    return {refreshes, static_cast<std::int64_t>(HeapBytesInUse()),
            static_cast<std::int64_t>(PrivateBytes(ReadMemory())),
            static_cast<std::int64_t>(HeapBytesCommitted())};
}

// The table's menu, Changes…, chosen as a user would: its key, typed into
// the menu's own loop once it runs. A menu that did not take it is closed
// at the next tick rather than left to hold the bench.
void CALLBACK TypeChangesKey(HWND, UINT, UINT_PTR timer, DWORD) {
    static bool typed = false;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    const bool inMenu = GetGUIThreadInfo(GetCurrentThreadId(), &gui) &&
                        (gui.flags & GUI_INMENUMODE) != 0;
    if (inMenu && !typed) {
        typed = true;
        PostMessageW(gui.hwndMenuOwner, WM_CHAR, L'h', 0);
        return;
    }
    if (inMenu) EndMenu();
    KillTimer(nullptr, timer);
}

HWND OpenChangesWindow(HWND table) {
    SetTimer(nullptr, 0, 200, &TypeChangesKey);
    SendMessageW(table, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(table), MAKELPARAM(-1, -1));
    PumpMessages();
    return FindWindowW(L"KestrovaChanges", nullptr);
}

int ChangesListed(HWND changes) {
    const HWND list = changes ? FindWindowExW(changes, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

struct Run {
    std::vector<Sample> samples;  // at `marks`, in order
    int listed = -1;              // rows in the window of changes at the end
    double medianMs = 0;
};

// `changes` per refresh, `refreshes` in all, sampled after each refresh in
// `marks`.
Run RunWindow(const char* name, int changes, int refreshes, const std::vector<int>& marks) {
    ChangingWmi wmi(changes);
    // This computer, as the computer box starts: no endpoint check, whose
    // fake would record every call.
    fakes::FakeRpcEndpoint rpc;
    rpc.names = {ComputerName(), ComputerName(), ComputerName()};
    win32::MainWindow::Seams seams;
    seams.rpc = &rpc;
    seams.wmi = &wmi;
    seams.showMessage = [](HWND, const wchar_t*, const wchar_t*, UINT) { return IDOK; };
    auto window =
        std::make_unique<win32::MainWindow>(GetModuleHandleW(nullptr), SW_SHOW, std::move(seams));
    const HWND main = window->hwnd();
    const HWND table = GetDlgItem(main, win32::MainWindow::ControlIdOf(ControlId::Adaptors));
    PumpMessages();

    Run run;
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(refreshes));  // the bench's own memory stays put
    HWND changesWindow = nullptr;
    auto mark = marks.begin();
    while (wmi.Refreshes() < refreshes) {
        const std::int64_t t0 = Ticks();
        SendMessageW(main, WM_TIMER, win32::MainWindow::kPingTimerId, 0);
        times.push_back(TicksToMs(Ticks() - t0));
        PumpMessages();
        // Open once there is something in it, and left open: a user who
        // watches changes for days keeps it open.
        if (!changesWindow && wmi.Refreshes() == 2) changesWindow = OpenChangesWindow(table);
        while (mark != marks.end() && *mark <= wmi.Refreshes()) {
            run.samples.push_back(Take(wmi.Refreshes()));
            const std::string prefix = std::string("changes.") + name + ".after_" +
                                       std::to_string(wmi.Refreshes()) + ".";
            FigureInt(prefix + "heap_in_use", run.samples.back().heap, "bytes");
            FigureInt(prefix + "private_bytes", run.samples.back().privateBytes, "bytes");
            FigureInt(prefix + "heap_committed", run.samples.back().heapCommitted, "bytes");
            ++mark;
        }
    }
    run.listed = ChangesListed(changesWindow);
    run.medianMs = Median(times);
    // Hidden first: under Wine without a window manager, destroying a shown
    // top-level window can wait for one.
    if (changesWindow) ShowWindow(changesWindow, SW_HIDE);
    ShowWindow(main, SW_HIDE);
    window.reset();
    PumpMessages();
    return run;
}

double PerThousand(std::int64_t growth, int refreshes) {
    return refreshes > 0 ? static_cast<double>(growth) * 1000.0 / refreshes : 0.0;
}

}  // namespace

int RunChangeSoak(const Arguments& args) {
    const int changes = std::clamp(IntOption(args, L"--changes", 1), 1, kAdapters);
    const auto capacity = static_cast<int>(ChangeLog::kCapacity);
    // The first refresh logs nothing (nothing to compare with); each after
    // it logs `changes` entries.
    const int cap = (capacity + changes - 1) / changes + 1;
    const int refreshes = std::max(cap + 100, IntOption(args, L"--refreshes", 3000));
    const int every = std::max(1, IntOption(args, L"--every", 500));
    const std::int64_t limit = IntOption(args, L"--limit", 64 * 1024);

    std::vector<int> marks{cap};
    for (int r = every; r < refreshes; r += every) {
        if (r > cap) marks.push_back(r);
    }
    marks.push_back(refreshes);

    Remark("changes: the main window refreshed back to back from a scripted WMI of " +
           std::to_string(kAdapters) + " adapters, " + std::to_string(changes) +
           " of them gaining or losing an address at every refresh, the window of changes "
           "open; then the same with no change");
    Remark("heap_in_use: every heap of the process walked, busy blocks; heap_committed: the "
           "same heaps' committed regions, busy or free; private bytes from " +
           PrivateBytesSource());
    FigureInt("changes.refreshes", refreshes, "count");
    FigureInt("changes.per_refresh", changes, "count");
    FigureInt("changes.cap_refresh", cap, "count");

    const std::int64_t marksBytes = FullMarksBytes();
    FigureInt("changes.marks_full", marksBytes, "bytes");
    Figure("changes.marks_full_per_row", static_cast<double>(marksBytes) / kAdapters, "bytes");

    const Run changing = RunWindow("changing", changes, refreshes, marks);
    const Run still = RunWindow("unchanged", 0, refreshes, marks);
    Figure("changes.changing.refresh.median", changing.medianMs, "ms");
    Figure("changes.unchanged.refresh.median", still.medianMs, "ms");
    FigureInt("changes.changing.listed_at_end", changing.listed, "count");

    const int after = refreshes - cap;
    const auto growth = [](const Run& run, auto field) {
        return run.samples.back().*field - run.samples.front().*field;
    };
    // Less what the same refreshes without changes grew; a reference that
    // shrank (Linux taking back resident pages) explains none of it.
    const auto net = [](std::int64_t changed, std::int64_t still) {
        return changed - std::max<std::int64_t>(still, 0);
    };
    const std::int64_t heapChanging = growth(changing, &Sample::heap);
    const std::int64_t heapStill = growth(still, &Sample::heap);
    const std::int64_t privateChanging = growth(changing, &Sample::privateBytes);
    const std::int64_t privateStill = growth(still, &Sample::privateBytes);
    for (const auto& [run, label] : {std::pair{&changing, "changing"}, std::pair{&still, "unchanged"}}) {
        const std::string prefix = std::string("changes.") + label + ".";
        FigureInt(prefix + "heap_in_use.at_cap", run->samples.front().heap, "bytes");
        FigureInt(prefix + "heap_in_use.at_end", run->samples.back().heap, "bytes");
        FigureInt(prefix + "private_bytes.at_cap", run->samples.front().privateBytes, "bytes");
        FigureInt(prefix + "private_bytes.at_end", run->samples.back().privateBytes, "bytes");
        FigureInt(prefix + "heap_committed.at_cap", run->samples.front().heapCommitted, "bytes");
        FigureInt(prefix + "heap_committed.at_end", run->samples.back().heapCommitted, "bytes");
    }
    Figure("changes.changing.heap_growth_after_cap_per_1000", PerThousand(heapChanging, after),
           "bytes");
    Figure("changes.unchanged.heap_growth_after_cap_per_1000", PerThousand(heapStill, after),
           "bytes");
    const double heapNet = PerThousand(net(heapChanging, heapStill), after);
    Figure("changes.net.heap_growth_after_cap_per_1000", heapNet, "bytes");
    Figure("changes.net.private_growth_after_cap_per_1000",
           PerThousand(net(privateChanging, privateStill), after), "bytes");
    const std::int64_t committedNet =
        net(growth(changing, &Sample::heapCommitted), growth(still, &Sample::heapCommitted));
    Figure("changes.net.heap_committed_growth_after_cap_per_1000",
           PerThousand(committedNet, after), "bytes");

    std::string failures;
    const auto fail = [&failures](const std::string& what) {
        failures += (failures.empty() ? "" : "; ") + what;
    };
    if (changing.listed != capacity) {
        fail("the window of changes lists " + std::to_string(changing.listed) +
             " entries at the end, not the log's " + std::to_string(capacity));
    }
    if (heapNet > static_cast<double>(limit)) {
        fail("the heap in use grew " + std::to_string(static_cast<long long>(heapNet)) +
             " bytes per 1000 refreshes after the cap, net");
    }
    // The heap commits in steps of 64 KB: one step is allowed whatever the
    // length of the run, more than the limit's share on top of it is not.
    const std::int64_t committedAllowed = kCommitStep + limit * after / 1000;
    if (committedNet > committedAllowed) {
        fail("the heap's committed bytes grew " + std::to_string(committedNet) +
             " after the cap, net (allowed " + std::to_string(committedAllowed) + ")");
    }
    if (failures.empty()) {
        std::printf("PASS: heap in use and committed after the cap, net, within %lld bytes per "
                    "1000 refreshes\n",
                    static_cast<long long>(limit));
    } else {
        std::printf("FAIL: %s\n", failures.c_str());
    }
    std::fflush(stdout);
    return failures.empty() ? 0 : 1;
}

}  // namespace kestrova::bench
