// The list of changes as a window: what the control holds, read through its
// own messages, while the change log grows under it.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <vector>

#include "platform/win32/ChangesWindow.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowDpi.h"
#include "win32/ClipboardText.h"
#include "win32/DpiCalls.h"
#include "win32/TestWindow.h"

namespace kestrova::win32 {
namespace {

// `daysAgo` days before today, at hh:mm:ss.
LocalTime At(int hour, int minute, int second, int daysAgo = 0) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FILETIME file{};
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    ticks.QuadPart -= static_cast<ULONGLONG>(daysAgo) * 24 * 3600 * 10000000ULL;
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    FileTimeToSystemTime(&file, &now);
    return {now.wYear, now.wMonth, now.wDay, {hour, minute, second}};
}

std::wstring TimeOf(const LocalTime& at) {
    return ToWide(Win32Locale().TimeToText(at.time));
}
std::wstring DateOf(const LocalTime& at) {
    return ToWide(Win32Locale().DateToText(at)) + L" ";
}

RefreshResult Came(LocalTime when, const Text& mac) {
    RefreshResult result;
    result.computer = u"PC1";
    result.stamp.at = when;
    AdapterRow row;
    row.text = mac;
    row.subItems[0] = u"eth " + mac;
    row.subItems[1] = u"10.0.0.1";
    result.changes.push_back({RowChange::Kind::Came, row, {}, {}});
    return result;
}

std::wstring Cell(HWND list, int row, int column) {
    std::wstring buffer(512, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    buffer.resize(static_cast<std::size_t>(SendMessageW(
        list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))));
    return buffer;
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

void Select(HWND list, int row) {
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

class ChangesWindowTests : public ::testing::Test {
protected:
    TestWindow owner{L"KestrovaChangesTestOwner", DefWindowProcW, WS_OVERLAPPEDWINDOW, 300, 200};
    ChangeLog log;
    int copyFailures = 0;
    std::unique_ptr<ChangesWindow> window;

    void SetUp() override {
        log.Record(Came(At(10, 0, 0, 1), u"A"));
        log.Record(Came(At(10, 0, 5), u"B"));
        window = std::make_unique<ChangesWindow>(GetModuleHandleW(nullptr), owner.hwnd(), log,
                                                 [this] { ++copyFailures; });
    }
    int Count() const {
        return static_cast<int>(SendMessageW(window->list(), LVM_GETITEMCOUNT, 0, 0));
    }
};

TEST_F(ChangesWindowTests, ListsTheLogNewestFirstAndFollowsItKeepingTheUsersPlace) {
    EXPECT_FALSE(IsWindowVisible(window->hwnd())) << "made hidden, shown when asked";
    EXPECT_EQ(GetWindow(window->hwnd(), GW_OWNER), owner.hwnd());
    ASSERT_EQ(Count(), 2);
    const std::vector<std::wstring> newest{TimeOf(At(10, 0, 5)), L"PC1", L"B", L"eth B",
                                           L"Came with 10.0.0.1; light red, no default gateway"};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(Cell(window->list(), 0, c), newest[static_cast<std::size_t>(c)]);
    EXPECT_EQ(Cell(window->list(), 1, 2), L"A");
    EXPECT_EQ(Cell(window->list(), 1, 0), DateOf(At(10, 0, 0, 1)) + TimeOf(At(10, 0, 0)))
        << "an entry of yesterday shows its date";
    EXPECT_EQ(TextOf(window->note()), L"Every change since Kestrova started, newest first.");

    Select(window->list(), 1);  // A
    log.Record(Came(At(10, 0, 10), u"C"));
    log.Record(Came(At(10, 0, 15), u"D"));
    ASSERT_EQ(Count(), 4) << "new entries appear while the window is there";
    EXPECT_EQ(Cell(window->list(), 0, 2), L"D");
    const int selected = static_cast<int>(
        SendMessageW(window->list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    EXPECT_EQ(Cell(window->list(), selected, 2), L"A") << "the selection stays with its entry";

    for (int i = 0; i < 1000; ++i) log.Record(Came(At(11, 0, 0), u"M" + DecimalText(i)));
    EXPECT_EQ(Count(), 1000);
    EXPECT_NE(TextOf(window->note()).find(L"4 older entries were dropped"), std::wstring::npos)
        << FromWide(TextOf(window->note())).size();
}

TEST_F(ChangesWindowTests, CopiesTheSelectionWithAHeaderAndEscCloses) {
    window->Show();
    EXPECT_TRUE(IsWindowVisible(window->hwnd()));
    Select(window->list(), 0);
    Select(window->list(), 1);
    ASSERT_TRUE(window->CopySelection());
    EXPECT_EQ(ClipboardText(),
              L"Time\tComputer\tMac\tDescription\tChange\r\n" + DateOf(At(10, 0, 5)) +
                  TimeOf(At(10, 0, 5)) +
                  L"\tPC1\tB\teth B\tCame with 10.0.0.1; light red, no default gateway\r\n" +
                  DateOf(At(10, 0, 0, 1)) + TimeOf(At(10, 0, 0)) +
                  L"\tPC1\tA\teth A\tCame with 10.0.0.1; light red, no default gateway\r\n")
        << "a copy is dated, today's entries too";
    EXPECT_EQ(copyFailures, 0);

    SendMessageW(window->list(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindowVisible(window->hwnd()));
    window->Show();
    EXPECT_EQ(Count(), 2) << "it comes back as it was";
}

// Each opening centres it on the main window, kept on that monitor's work
// area; Esc and a close give the main window the activation back, though
// another window comes next in the z-order.
TEST_F(ChangesWindowTests, OpensCentredOnTheMainWindowAndHandsTheActivationBack) {
    MONITORINFO monitor{sizeof(monitor), {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(owner.hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    TestWindow other{L"KestrovaChangesTestOther", DefWindowProcW, WS_OVERLAPPEDWINDOW, 200, 100};
    ShowWindow(other.hwnd(), SW_SHOW);
    ShowWindow(owner.hwnd(), SW_SHOW);
    for (const bool inTheCorner : {false, true}) {  // the owner is 300 x 200
        SetWindowPos(owner.hwnd(), nullptr, inTheCorner ? work.right - 300 : work.left + 400,
                     inTheCorner ? work.bottom - 200 : work.top + 300, 300, 200, SWP_NOZORDER);
        SetForegroundWindow(owner.hwnd());
        window->Show();
        RECT at{};
        GetWindowRect(window->hwnd(), &at);
        EXPECT_NEAR(inTheCorner ? at.right : (at.left + at.right) / 2.0,
                    inTheCorner ? work.right : work.left + 550, 0.5);
        EXPECT_NEAR(inTheCorner ? at.bottom : (at.top + at.bottom) / 2.0,
                    inTheCorner ? work.bottom : work.top + 400, 0.5);
        SetWindowPos(other.hwnd(), window->hwnd(), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (inTheCorner) SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
        else SendMessageW(window->list(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(GetForegroundWindow(), owner.hwnd());
    }
}

TEST_F(ChangesWindowTests, FollowsTheDpiOfItsMonitor) {
    const int before = static_cast<int>(SendMessageW(window->list(), LVM_GETCOLUMNWIDTH, 4, 0));
    const auto timeFits = [&] {
        const std::wstring dated = Cell(window->list(), 1, 0);
        return SendMessageW(window->list(), LVM_GETSTRINGWIDTHW, 0,
                            reinterpret_cast<LPARAM>(dated.c_str())) <
               SendMessageW(window->list(), LVM_GETCOLUMNWIDTH, 0, 0);
    };
    EXPECT_TRUE(timeFits()) << "a date and a time fit the time column";
    RECT suggested{0, 0, 1350, 570};
    SendMessageW(window->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(SendMessageW(window->list(), LVM_GETCOLUMNWIDTH, 4, 0), before * 3 / 2);
    EXPECT_TRUE(timeFits()) << "at 144 DPI too";
    EXPECT_EQ(FontOf(window->list()).lfHeight, -MulDiv(9, 144, 72));

    const HDC screen = GetDC(nullptr);
    const int system = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    static int captions = 0;  // asked to scale: where aware the first per-monitor way only
    const auto ask = [](HWND) -> BOOL { return ++captions; };
    const auto same = [](auto a, auto b) -> BOOL { return a == b; };
    const auto v1 = [](HWND) { return DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE; };
    const auto v2 = [](HWND) { return DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; };
    const std::tuple<DpiSources, int, int> startsAt[] = {
        {{&WindowAt120, &MonitorAt144, v1, same, nullptr, ask}, 120, 1},
        {{nullptr, &MonitorAt144, nullptr, nullptr, nullptr, ask}, 144, 0},
        {{nullptr, nullptr, v2, same, nullptr, ask}, system, 0}};
    SetWindowPos(owner.hwnd(), nullptr, 400, 300, 300, 200, SWP_NOZORDER);
    for (const auto& [sources, dpi, asked] : startsAt) {
        ChangesWindow::Seams seams;
        seams.dpi = &sources;
        ChangesWindow made(GetModuleHandleW(nullptr), owner.hwnd(), log, nullptr, seams);
        EXPECT_EQ(FontOf(made.list()).lfHeight, -MulDiv(9, dpi, 72)) << dpi;
        EXPECT_EQ(std::exchange(captions, 0), asked) << dpi;
        if (dpi != 120) continue;  // shown once (2 s to go under Wine), its monitor at 144
        made.Show();
        RECT frame{}, after{};
        GetWindowRect(made.hwnd(), &frame);
        EXPECT_TRUE(frame.top == 115 && frame.bottom == 685) << "570 high, centred again";
        SendMessageW(made.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(made.hwnd(), &after);
        EXPECT_TRUE(EqualRect(&frame, &after)) << "a late WM_DPICHANGED for 144 keeps it";
    }
    EXPECT_NE(DpiSources::System().forMonitor, nullptr) << "shcore.dll, from the system folder";
}

TEST_F(ChangesWindowTests, APartThatFailsTakesTheWindowAndTheLogsCallbackAlong) {
    window.reset();
    using Part = ChangesWindow::Seams::Part;
    for (const Part failing : {Part::Note, Part::List, Part::Callback}) {
        ChangesWindow::Seams seams;
        seams.made = [failing](Part part) {
            if (part == failing) throw std::system_error(ERROR_OUTOFMEMORY, std::system_category());
        };
        EXPECT_THROW(ChangesWindow(GetModuleHandleW(nullptr), owner.hwnd(), log, nullptr, seams),
                     std::system_error);
        const HWND left = FindWindowExW(nullptr, nullptr, L"KestrovaChanges", nullptr);
        EXPECT_EQ(left, nullptr) << static_cast<int>(failing);
        if (left) SendMessageW(left, WM_SETTINGCHANGE, 0, 0);  // as a broadcast would
        log.Record(Came(At(10, 0, 20), u"E"));
    }
}

// Window text would be unreadable on this button face; and the user picks
// another message font.
TEST_F(ChangesWindowTests, TheNoteTakesTheSchemesButtonPairAndFontsFollowTheUser) {
    const int indices[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOWTEXT};
    const COLORREF scheme[] = {RGB(0, 0, 128), RGB(255, 255, 0), RGB(0, 0, 64)};
    COLORREF saved[] = {GetSysColor(indices[0]), GetSysColor(indices[1]), GetSysColor(indices[2])};
    ASSERT_TRUE(SetSysColors(3, indices, scheme));
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(window->hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(window->note()));
    const COLORREF seen[] = {GetBkColor(dc), GetTextColor(dc)};
    DeleteDC(dc);
    SetSysColors(3, indices, saved);
    EXPECT_EQ(seen[0], scheme[0]);
    EXPECT_EQ(seen[1], scheme[1]);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    NONCLIENTMETRICSW picked = metrics;
    lstrcpynW(picked.lfMessageFont.lfFaceName, L"Courier New", LF_FACESIZE);
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(picked), &picked, 0));
    SendMessageW(window->hwnd(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    EXPECT_STREQ(FontOf(window->note()).lfFaceName, L"Courier New");
    EXPECT_STREQ(FontOf(window->list()).lfFaceName, L"Courier New");
}

}  // namespace
}  // namespace kestrova::win32
