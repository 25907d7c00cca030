// The real main window, created in this process with a scripted WMI, a
// recording shell and a message box that records instead of blocking. Every
// check goes through the window's own messages: styles, places, texts,
// z-order, clicks, keys and the clipboard.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakeRpcEndpoint.h"
#include "fakes/FakeWmi.h"
#include "platform/Shell.h"
#include "platform/win32/Clipboard.h"
#include "platform/win32/MainWindow.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowDpi.h"
#include "win32/ClipboardHolder.h"
#include "win32/ClipboardText.h"
#include "win32/DpiCalls.h"
#include "window/ControlTable.h"

namespace kestrova::win32 {
namespace {

// ---- reading the window back ----------------------------------------------

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    std::array<wchar_t, 64> name{};
    GetClassNameW(hwnd, name.data(), static_cast<int>(name.size()));
    return name.data();
}

DWORD StyleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
}
DWORD ExStyleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
}

RECT RectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ClientOf(HWND hwnd) {
    RECT rect{};
    GetClientRect(hwnd, &rect);
    return rect;
}

// Twips to pixels the way the screen rounds them, written out here rather
// than taken from DpiScale so that a wrong scale cannot agree with itself.
int Px(float twips, unsigned dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

// The pixel rectangle a place in twips should occupy: each edge rounded on
// its own, so neighbours that meet in twips meet in pixels.
RECT PixelsOf(const ControlPlace& place, unsigned dpi) {
    return RECT{Px(place.left, dpi), Px(place.top, dpi), Px(place.left + place.width, dpi),
                Px(place.top + place.height, dpi)};
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
    if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got {" << actual.left << ", " << actual.top << ", " << actual.right << ", "
           << actual.bottom << "}, want {" << expected.left << ", " << expected.top << ", "
           << expected.right << ", " << expected.bottom << "}";
}

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}
int SelectedCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void Select(HWND list, int row, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0u;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Holds Ctrl down for this thread's GetKeyState, as a real key press would,
// and lets it go again at the end of the scope.
class ControlKeyHeld {
public:
    ControlKeyHeld() {
        GetKeyboardState(saved_.data());
        std::array<BYTE, 256> held = saved_;
        held[VK_CONTROL] = 0x80;
        held[VK_LCONTROL] = 0x80;
        SetKeyboardState(held.data());
    }
    ~ControlKeyHeld() { SetKeyboardState(saved_.data()); }
    ControlKeyHeld(const ControlKeyHeld&) = delete;
    ControlKeyHeld& operator=(const ControlKeyHeld&) = delete;

private:
    std::array<BYTE, 256> saved_{};
};

void PressKey(HWND target, WPARAM key) {
    SendMessageW(target, WM_KEYDOWN, key, 1);
    SendMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// Dispatches what is queued; returns whether a WM_QUIT was among it.
bool Pump() {
    bool quit = false;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

// What a window paints in reply to `message` (WM_PRINTCLIENT, WM_ERASEBKGND),
// every pixel first set to a colour no control uses, so an undrawn pixel
// cannot pass.
class Painted {
public:
    static constexpr COLORREF kMarker = RGB(1, 2, 3);

    Painted(HWND window, UINT message) : dc_(CreateCompatibleDC(nullptr)) {
        const RECT client = ClientOf(window);
        const HDC screen = GetDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        SetDCBrushColor(dc_, kMarker);
        FillRect(dc_, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SendMessageW(window, message, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
    }
    ~Painted() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Painted(const Painted&) = delete;
    Painted& operator=(const Painted&) = delete;

    COLORREF At(POINT at) const { return GetPixel(dc_, at.x, at.y); }
    int Count(COLORREF colour, const RECT& area) const {
        int count = 0;
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) count += GetPixel(dc_, x, y) == colour;
        }
        return count;
    }

private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

COLORREF PixelAfterPrint(HWND control, int x, int y) {
    return Painted(control, WM_PRINTCLIENT).At({x, y});
}

// ---- stand-ins ------------------------------------------------------------

struct BoxCall {
    HWND owner;
    std::wstring prompt;
    std::wstring caption;
    UINT style;
    bool ownerShown;
};

struct ShellCall {
    WindowHandle owner;
    Text operation;
    Text file;
};

class RecordingShell final : public Shell {
public:
    std::optional<std::intptr_t> ShellExecuteA(WindowHandle owner, TextView operation,
                                               TextView file, TextView, TextView,
                                               std::int32_t) override {
        calls.push_back({owner, Text(operation), Text(file)});
        return 42;
    }
    std::vector<ShellCall> calls;
};

// A WMI whose bind fails with a C++ exception: what a bug deep inside a
// refresh looks like from the window procedure.
class ThrowingWmi final : public WmiConnector {
public:
    Outcome<std::unique_ptr<WmiServices>> Bind(TextView) override {
        ++binds;
        throw std::runtime_error("scripted failure");
    }
    int binds = 0;
};

// A WMI that, while the refresh runs, delivers a close to the window the way
// a COM wait dispatches messages in the middle of a call.
class ClosingWmi final : public WmiConnector {
public:
    Outcome<std::unique_ptr<WmiServices>> Bind(TextView name) override {
        if (window) {
            SendMessageW(window, WM_CLOSE, 0, 0);
            aliveAfterClose = IsWindow(window) != FALSE;
        }
        return inner.Bind(name);
    }
    HWND window = nullptr;
    bool aliveAfterClose = false;
    fakes::FakeWmi inner;
};

fakes::FakeAdapter Adapter(Text mac, Text description, Text ip, Text gateway, Text dns, Text domain,
                           std::int64_t mtu, Text service) {
    fakes::FakeAdapter adapter;
    adapter.properties[u"MACAddress"] = std::move(mac);
    adapter.properties[u"Description"] = std::move(description);
    adapter.properties[u"DHCPEnabled"] = true;
    adapter.properties[u"DNSDomain"] = std::move(domain);
    adapter.properties[u"MTU"] = mtu;
    adapter.properties[u"ServiceName"] = std::move(service);
    adapter.lists[u"IPAddress"] = {std::move(ip)};
    adapter.lists[u"DefaultIPGateway"] = {std::move(gateway)};
    adapter.lists[u"DNSServerSearchOrder"] = {std::move(dns)};
    return adapter;
}

// The same two adapters as the lines a spreadsheet gets; the cells a
// one-element list leaves unset (IP 2, IP 3, DNS 2, DNS 3) are empty.
const std::wstring kHeaderLine =
    L"Mac\tDescription\tIP\tGateway\tDNS\tDHCP\tIP 2\tIP 3\tDNS 2\tDNS 3\tDomain\tMTU\t"
    L"Service Name\r\n";
const std::wstring kFirstLine =
    L"00:11:22:33:44:55\tFirst adapter\t10.0.0.5\t10.0.0.1\t10.0.0.53\tTrue\t\t\t\t\t"
    L"one.test\t1500\tsvc1\r\n";
const std::wstring kSecondLine =
    L"66:77:88:99:aa:bb\tSecond adapter\t192.168.7.9\t192.168.7.1\t192.168.7.53\tTrue\t\t\t\t\t"
    L"two.test\t9000\tsvc2\r\n";

std::vector<fakes::FakeAdapter> TwoAdapters() {
    return {Adapter(u"00:11:22:33:44:55", u"First adapter", u"10.0.0.5", u"10.0.0.1", u"10.0.0.53",
                    u"one.test", 1500, u"svc1"),
            Adapter(u"66:77:88:99:aa:bb", u"Second adapter", u"192.168.7.9", u"192.168.7.1",
                    u"192.168.7.53", u"two.test", 9000, u"svc2")};
}

constexpr COLORREF kNoText = Painted::kMarker;

// What each part of the window must paint, written out rather than taken
// from the window's own decision. Under Wine's scheme every usual colour
// differs from its high-contrast one except in the text boxes, the table's
// ordinary rows and the button's text, which are the same system colours.
struct PaintedPair {
    const char* name;
    std::optional<ControlId> id;  // none: the form
    int row;                      // the table's row, or -1
    COLORREF usualBack, usualFore, contrastBack, contrastFore;
};

std::vector<PaintedPair> PaintedPairs() {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF caption = GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF link = GetSysColor(COLOR_HOTLIGHT);
    return {
        {"Form1", std::nullopt, -1, RGB(0, 0, 0), kNoText, window, kNoText},
        {"lblCaption", ControlId::lblCaption, -1, RGB(64, 64, 64), RGB(224, 224, 224), caption,
         GetSysColor(COLOR_CAPTIONTEXT)},
        {"Close", ControlId::Close, -1, RGB(64, 64, 64), kNoText, caption, kNoText},
        {"txtComputer", ControlId::txtComputer, -1, window, text, window, text},
        {"cmdSwitch", ControlId::cmdSwitch, -1, RGB(192, 192, 255), GetSysColor(COLOR_BTNTEXT),
         GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)},
        {"Label3", ControlId::Label3, -1, GetSysColor(COLOR_BTNTEXT),
         GetSysColor(COLOR_HIGHLIGHTTEXT), window, text},
        {"txtFreq", ControlId::txtFreq, -1, window, text, window, text},
        {"lblTime", ControlId::lblTime, -1, RGB(0, 0, 0), RGB(255, 128, 128), window, text},
        {"Adaptors, ordinary row", ControlId::Adaptors, 0, window, text, window, text},
        {"Adaptors, changed row", ControlId::Adaptors, 1, RGB(255, 232, 160), RGB(0, 0, 0), window,
         link},
        {"website", ControlId::website, -1, RGB(0, 0, 0), RGB(0, 0, 255), window, link},
    };
}

// ---- the fixture ----------------------------------------------------------

// Hidden unless a test needs activation: under Wine on Xvfb, destroying a
// shown top-level window waits for a window manager that is not there.
class MainWindowTests : public ::testing::Test {
protected:
    void SetUp() override { wmi.script.adapters = TwoAdapters(); }

    void TearDown() override {
        window.reset();
        Pump();  // a quit posted by a test's close must not leak into the next
    }

    void Open(WmiConnector& connector, int show = SW_HIDE, Shell* withShell = nullptr) {
        MainWindow::Seams seams;
        seams.rpc = &rpc;
        seams.wmi = &connector;
        seams.shell = withShell ? withShell : &shell;
        seams.showMessage = [this](HWND owner, const wchar_t* prompt, const wchar_t* caption,
                                   UINT style) {
            boxes.push_back({owner, prompt, caption, style, IsWindowVisible(owner) != FALSE});
            return IDOK;
        };
        seams.windowCreated = beforeControls;
        seams.highContrast = highContrast;
        seams.dpi = dpi;
        window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), show, std::move(seams));
        ASSERT_NE(window->hwnd(), nullptr);
        Pump();
    }
    void Open() { Open(wmi); }

    HWND Control(ControlId id) const {
        return GetDlgItem(window->hwnd(), MainWindow::ControlIdOf(id));
    }
    void Click(ControlId id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    unsigned Dpi() const { return window->scale().Dpi(); }

    // ON fills the table, the next refresh changes the second adapter, and
    // OFF enables the period box again; the time label then has text too.
    void FillWithAChangedRow() {
        Click(ControlId::cmdSwitch);
        wmi.script.adapters[1].properties[u"DNSDomain"] = Text(u"changed.test");
        SendMessageW(window->hwnd(), WM_TIMER, MainWindow::kPingTimerId, 0);
        Click(ControlId::cmdSwitch);
    }

    // The back colour where no text reaches, and at least one pixel of the
    // text colour where the text lies.
    void ExpectColours(bool contrast) const {
        for (const PaintedPair& pair : PaintedPairs()) {
            SCOPED_TRACE(pair.name);
            const HWND hwnd = pair.id ? Control(*pair.id) : window->hwnd();
            const Painted painted(hwnd, pair.id ? WM_PRINTCLIENT : WM_ERASEBKGND);
            RECT text = ClientOf(hwnd);
            POINT back{text.right - 1, text.bottom - 1};
            if (pair.id == ControlId::Close) back.y = 0;  // right of the icon
            if (pair.id == ControlId::cmdSwitch) {
                InflateRect(&text, -4, -4);  // inside the edge and the focus rectangle
                back = {text.left, text.bottom / 2};
            }
            if (pair.row >= 0) {  // the Description cell
                text.top = 1;
                text.left = LVIR_BOUNDS;
                ASSERT_TRUE(SendMessageW(hwnd, LVM_GETSUBITEMRECT, static_cast<WPARAM>(pair.row),
                                         reinterpret_cast<LPARAM>(&text)));
                back = {text.right - 2, (text.top + text.bottom) / 2};
            }
            EXPECT_EQ(painted.At(back), contrast ? pair.contrastBack : pair.usualBack);
            const COLORREF fore = contrast ? pair.contrastFore : pair.usualFore;
            if (fore != kNoText) {
                EXPECT_GT(painted.Count(fore, text), 0) << "no pixel of 0x" << std::hex << fore;
            }
        }
    }

    fakes::FakeRpcEndpoint rpc;
    fakes::FakeWmi wmi;
    RecordingShell shell;
    std::vector<BoxCall> boxes;
    std::function<void(HWND)> beforeControls;
    std::function<bool()> highContrast;
    const DpiSources* dpi = nullptr;
    std::unique_ptr<MainWindow> window;
};

// ---- the window itself ------------------------------------------------------

TEST_F(MainWindowTests, IsABorderlessUntitledPopupWithATaskbarButton) {
    Open();
    const HWND hwnd = window->hwnd();
    const DWORD style = StyleOf(hwnd);
    struct Bit {
        const char* name;
        DWORD bit;
        bool wanted;
    };
    for (const Bit& b :
         {Bit{"WS_POPUP", WS_POPUP, true}, Bit{"WS_CLIPCHILDREN", WS_CLIPCHILDREN, true},
          Bit{"WS_MINIMIZEBOX", WS_MINIMIZEBOX, true}, Bit{"WS_CAPTION", WS_CAPTION, false},
          Bit{"WS_BORDER", WS_BORDER, false}, Bit{"WS_DLGFRAME", WS_DLGFRAME, false},
          Bit{"WS_THICKFRAME", WS_THICKFRAME, false}, Bit{"WS_SYSMENU", WS_SYSMENU, false},
          Bit{"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX, false}}) {
        EXPECT_EQ((style & b.bit) == b.bit && b.bit != 0, b.wanted) << b.name;
    }
    EXPECT_NE(ExStyleOf(hwnd) & WS_EX_APPWINDOW, 0u);
    EXPECT_EQ(GetWindowTextLengthW(hwnd), 0);
    EXPECT_NE(GetClassLongPtrW(hwnd, GCL_STYLE) & CS_DROPSHADOW, 0u);
    // The class paints the form's black.
    LOGBRUSH background{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HGDIOBJ>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND)),
                         sizeof(background), &background),
              0);
    EXPECT_EQ(background.lbColor, RGB(0, 0, 0));
    // Icons of the window's own sizes were set.
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowTests, ClientAreaIsTheFormSizeAndTheWindowSitsOnTheWorkArea) {
    Open();
    const RECT client = ClientOf(window->hwnd());
    EXPECT_EQ(client.right, Px(kFormWidth, Dpi()));
    EXPECT_EQ(client.bottom, Px(kFormHeight, Dpi()));
    if (Dpi() == 96) {
        EXPECT_EQ(client.right, 679);
        EXPECT_EQ(client.bottom, 234);
    }
    // Borderless: the window is its client area, whole on its monitor's work
    // area.
    RECT frame{};
    GetWindowRect(window->hwnd(), &frame);
    EXPECT_EQ(frame.right - frame.left, client.right);
    EXPECT_EQ(frame.bottom - frame.top, client.bottom);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window->hwnd(), MONITOR_DEFAULTTOPRIMARY),
                                &monitor));
    const RECT& work = monitor.rcWork;
    EXPECT_GE(frame.left, work.left);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LE(frame.bottom, work.bottom);

    // At the system's default place for a new window. Where the system
    // cascades, each new window gets another place, so the comparison only
    // holds when two fresh windows agree on it.
    auto defaultPlace = [] {
        const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                           nullptr, GetModuleHandleW(nullptr), nullptr);
        RECT at{};
        GetWindowRect(probe, &at);
        DestroyWindow(probe);
        return POINT{at.left, at.top};
    };
    const POINT first = defaultPlace();
    const POINT second = defaultPlace();
    if (first.x == second.x && first.y == second.y && first.x + client.right <= work.right &&
        first.y + client.bottom <= work.bottom) {
        EXPECT_EQ(frame.left, first.x);
        EXPECT_EQ(frame.top, first.y);
    }
}

// Windows 8.1 and the first Windows 10 releases answer for the monitor only.
TEST_F(MainWindowTests, WithoutTheWindowsOwnDpiItTakesItsMonitors) {
    const DpiSources monitorOnly{nullptr, &MonitorAt144};
    dpi = &monitorOnly;
    Open();
    EXPECT_EQ(Dpi(), 144u);
    EXPECT_EQ(ClientOf(window->hwnd()).right, Px(kFormWidth, 144));
}

// ---- the controls ---------------------------------------------------------

TEST_F(MainWindowTests, EachControlHasItsKindOfWindowAndStyles) {
    Open();
    struct Expected {
        ControlId id;
        const wchar_t* className;
        DWORD styleBits;
        DWORD exStyleBits;
    };
    const Expected expected[] = {
        {ControlId::lblCaption, L"Static", SS_NOTIFY, 0},
        {ControlId::Close, L"Static", SS_NOTIFY, 0},
        {ControlId::txtComputer, L"Edit", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {ControlId::cmdSwitch, L"Button", WS_TABSTOP, 0},
        {ControlId::Label3, L"Static", SS_NOTIFY, 0},
        {ControlId::txtFreq, L"Edit", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {ControlId::lblTime, L"Static", SS_NOTIFY, 0},
        {ControlId::Adaptors, WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT, WS_EX_CLIENTEDGE},
        {ControlId::website, L"Static", SS_NOTIFY, 0},
    };
    ASSERT_EQ(std::size(expected), kControlTable.size());
    for (const Expected& e : expected) {
        SCOPED_TRACE(TextToAscii(EntryOf(e.id).name));
        const HWND hwnd = Control(e.id);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(_wcsicmp(ClassOf(hwnd).c_str(), e.className), 0)
            << TextToAscii(FromWide(ClassOf(hwnd)));
        const DWORD style = StyleOf(hwnd);
        EXPECT_EQ(style & e.styleBits, e.styleBits);
        EXPECT_EQ(ExStyleOf(hwnd) & e.exStyleBits, e.exStyleBits);
        // Overlapping siblings must clip each other or a label paints over
        // the text box above it.
        EXPECT_NE(style & WS_CLIPSIBLINGS, 0u);
        EXPECT_NE(style & WS_VISIBLE, 0u);
    }
}

TEST_F(MainWindowTests, ControlsSitAtTheirTwipsPlacesAfterTheLayout) {
    Open();
    // The stretching controls follow the client width and height in twips
    // (the form's size, give or take the rounding to whole pixels above 96
    // DPI); everything else stays where the control table puts it.
    const RECT client = ClientOf(window->hwnd());
    const float width = static_cast<float>(client.right * 1440.0 / Dpi());
    const float height = static_cast<float>(client.bottom * 1440.0 / Dpi());
    const float listTop = EntryOf(ControlId::Adaptors).place.top;
    struct Expected {
        ControlId id;
        ControlPlace place;
    };
    const Expected expected[] = {
        {ControlId::lblCaption, {0, 0, width, 255}},
        {ControlId::Close, {width - 485, 20, 255, 230}},
        {ControlId::txtComputer, EntryOf(ControlId::txtComputer).place},
        {ControlId::cmdSwitch, EntryOf(ControlId::cmdSwitch).place},
        {ControlId::Label3, EntryOf(ControlId::Label3).place},
        {ControlId::txtFreq, EntryOf(ControlId::txtFreq).place},
        {ControlId::lblTime, EntryOf(ControlId::lblTime).place},
        {ControlId::Adaptors, {0, listTop, width, height - listTop - 500}},
        {ControlId::website, {0, height - 500, width, 255}},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(TextToAscii(EntryOf(e.id).name));
        EXPECT_TRUE(SameRect(RectInParent(Control(e.id)), PixelsOf(e.place, Dpi())));
    }
    if (Dpi() == 96) {
        // The same facts as plain pixels at 96 DPI.
        EXPECT_TRUE(SameRect(RectInParent(Control(ControlId::lblCaption)), {0, 0, 679, 17}));
        EXPECT_EQ(RectInParent(Control(ControlId::Close)).left, 647);   // (10185 - 485) / 15
        EXPECT_EQ(RectInParent(Control(ControlId::website)).top, 201);  // (3510 - 500) / 15
        const RECT list = RectInParent(Control(ControlId::Adaptors));
        EXPECT_EQ(list.bottom - list.top, Px(2290, 96));
    }
}

TEST_F(MainWindowTests, ControlsStartWithTheirTexts) {
    Open();
    std::wstring computer(256, L'\0');
    computer.resize(GetEnvironmentVariableW(L"COMPUTERNAME", computer.data(),
                                            static_cast<DWORD>(computer.size())));
    ASSERT_FALSE(computer.empty()) << "Wine sets COMPUTERNAME";
    struct Expected {
        ControlId id;
        std::wstring text;
    };
    const Expected expected[] = {
        {ControlId::lblCaption, L"Kestrova from kestrova.example"},
        {ControlId::cmdSwitch, L"ON"},
        {ControlId::txtFreq, L"60"},
        {ControlId::txtComputer, computer},
        {ControlId::Label3, L"Freq."},
        {ControlId::website, L"kestrova.example"},
        {ControlId::lblTime, L""},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(TextToAscii(EntryOf(e.id).name));
        EXPECT_EQ(TextOf(Control(e.id)), e.text);
    }
    EXPECT_EQ(ItemCount(Control(ControlId::Adaptors)), 0);
    EXPECT_TRUE(IsWindowEnabled(Control(ControlId::txtFreq)));
}

TEST_F(MainWindowTests, LabelsLieBeneathTheWindowedControlsWhichFollowTheTabOrder) {
    Open();
    std::vector<ControlId> zOrder;
    for (HWND child = GetWindow(window->hwnd(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        zOrder.push_back(static_cast<ControlId>(GetDlgCtrlID(child) - MainWindow::kFirstControlId));
    }
    ASSERT_EQ(zOrder.size(), kControlTable.size());
    const auto firstLabel = std::find_if(zOrder.begin(), zOrder.end(), [](ControlId id) {
        return EntryOf(id).kind == ControlKind::Label;
    });
    for (auto it = firstLabel; it != zOrder.end(); ++it) {
        EXPECT_EQ(EntryOf(*it).kind, ControlKind::Label)
            << "a windowed control below a label: " << TextToAscii(EntryOf(*it).name);
    }
    EXPECT_EQ(std::count_if(zOrder.begin(), zOrder.end(),
                            [](ControlId id) { return EntryOf(id).kind == ControlKind::Label; }),
              4);

    // Tab walks the focusable controls by tab index and wraps around;
    // Shift+Tab walks back.
    const std::vector<ControlId> tabOrder{ControlId::txtFreq, ControlId::cmdSwitch,
                                          ControlId::Adaptors, ControlId::txtComputer};
    EXPECT_EQ(GetNextDlgTabItem(window->hwnd(), nullptr, FALSE), Control(tabOrder.front()));
    for (std::size_t i = 0; i < tabOrder.size(); ++i) {
        const ControlId from = tabOrder[i];
        const ControlId to = tabOrder[(i + 1) % tabOrder.size()];
        SCOPED_TRACE(TextToAscii(EntryOf(from).name));
        EXPECT_EQ(GetNextDlgTabItem(window->hwnd(), Control(from), FALSE), Control(to));
        EXPECT_EQ(GetNextDlgTabItem(window->hwnd(), Control(to), TRUE), Control(from));
    }
}

TEST_F(MainWindowTests, EveryControlUsesOneFontOfEightPointsAtTheDpi) {
    Open();
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(Control(ControlId::lblCaption), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    for (const ControlEntry& entry : kControlTable) {
        SCOPED_TRACE(TextToAscii(entry.name));
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Control(entry.id), WM_GETFONT, 0, 0)), font);
    }
    LOGFONTW face{};
    ASSERT_NE(GetObjectW(font, sizeof(face), &face), 0);
    EXPECT_EQ(face.lfHeight, -MulDiv(8, static_cast<int>(Dpi()), 72));
}

TEST_F(MainWindowTests, LabelsAreColouredFromTheControlTable) {
    Open();
    struct Expected {
        ControlId id;
        COLORREF back;
        COLORREF fore;
    };
    const Expected expected[] = {
        {ControlId::lblCaption, RGB(64, 64, 64), RGB(224, 224, 224)},
        {ControlId::Label3, GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_HIGHLIGHTTEXT)},
        {ControlId::lblTime, RGB(0, 0, 0), RGB(255, 128, 128)},
        {ControlId::website, RGB(0, 0, 0), RGB(0, 0, 255)},
    };
    const HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    for (const Expected& e : expected) {
        SCOPED_TRACE(TextToAscii(EntryOf(e.id).name));
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(window->hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(Control(e.id))));
        ASSERT_NE(brush, nullptr);
        LOGBRUSH logBrush{};
        ASSERT_NE(GetObjectW(brush, sizeof(logBrush), &logBrush), 0);
        EXPECT_EQ(logBrush.lbColor, e.back);
        EXPECT_EQ(GetBkColor(dc), e.back);
        EXPECT_EQ(GetTextColor(dc), e.fore);
    }
    DeleteDC(dc);
}

TEST_F(MainWindowTests, ButtonAndClosePictureDrawTheirOwnColours) {
    Open();
    // Left of the centred caption, inside the 2-pixel edge.
    const HWND button = Control(ControlId::cmdSwitch);
    const RECT face = ClientOf(button);
    EXPECT_EQ(PixelAfterPrint(button, 4, face.bottom / 2), RGB(192, 192, 255));

    // The icon at the top-left at the small-icon size; the back colour
    // right of it.
    const HWND close = Control(ControlId::Close);
    const RECT picture = ClientOf(close);
    const int icon = MulDiv(16, static_cast<int>(Dpi()), 96);
    ASSERT_GT(picture.right, icon);
    EXPECT_EQ(PixelAfterPrint(close, picture.right - 1, 0), RGB(64, 64, 64));
    const COLORREF centre = PixelAfterPrint(close, icon / 2, icon / 2);
    EXPECT_NE(centre, RGB(64, 64, 64));
    EXPECT_NE(centre, RGB(1, 2, 3));
}

// ---- colours with and without high contrast --------------------------------

// Starts in high contrast, then follows the scheme both ways; each change
// repaints the form and every control.
TEST_F(MainWindowTests, EachControlPaintsTheSystemPairsInHighContrastAndFollowsAChange) {
    bool contrast = true;
    highContrast = [&contrast] { return contrast; };
    Open(wmi, SW_SHOWNOACTIVATE);  // a hidden window keeps no region to repaint
    FillWithAChangedRow();
    ExpectColours(true);
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool contrast;
    } changes[] = {
        {"WM_SYSCOLORCHANGE, off", WM_SYSCOLORCHANGE, 0, false},
        {"SPI_SETHIGHCONTRAST, on", WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true},
    };
    std::vector<HWND> parts{window->hwnd()};
    for (const ControlEntry& entry : kControlTable) parts.push_back(Control(entry.id));
    for (const auto& change : changes) {
        SCOPED_TRACE(change.name);
        RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        for (const HWND part : parts) ASSERT_FALSE(GetUpdateRect(part, nullptr, FALSE));
        contrast = change.contrast;
        SendMessageW(window->hwnd(), change.message, change.wParam, 0);
        for (const HWND part : parts) {
            EXPECT_TRUE(GetUpdateRect(part, nullptr, FALSE)) << "control id " << GetDlgCtrlID(part);
        }
        ExpectColours(change.contrast);
    }
}

// ---- the ON/OFF switch ----------------------------------------------------

TEST_F(MainWindowTests, OnFillsTheTableAndOffStopsWithTheRowsKept) {
    Open();
    const HWND list = Control(ControlId::Adaptors);

    Click(ControlId::cmdSwitch);
    EXPECT_EQ(ItemCount(list), 2);
    EXPECT_EQ(TextOf(Control(ControlId::cmdSwitch)), L"OFF");
    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::txtFreq)));
    EXPECT_FALSE(TextOf(Control(ControlId::lblTime)).empty()) << "the time of the refresh";
    ASSERT_EQ(wmi.log.boundNames.size(), 1u);
    EXPECT_TRUE(boxes.empty());

    // A tick refreshes again: the table follows what WMI reports now.
    wmi.script.adapters.pop_back();
    SendMessageW(window->hwnd(), WM_TIMER, MainWindow::kPingTimerId, 0);
    EXPECT_EQ(ItemCount(list), 1);
    EXPECT_EQ(wmi.log.boundNames.size(), 2u);

    Click(ControlId::cmdSwitch);
    EXPECT_EQ(TextOf(Control(ControlId::cmdSwitch)), L"ON");
    EXPECT_TRUE(IsWindowEnabled(Control(ControlId::txtFreq)));
    EXPECT_EQ(ItemCount(list), 1);
    EXPECT_EQ(wmi.log.boundNames.size(), 2u) << "stopping does not refresh";
}

TEST_F(MainWindowTests, ADoubleClickOnTheSwitchIsTwoClicks) {
    Open();
    const HWND button = Control(ControlId::cmdSwitch);
    // What the mouse sends for a double-click: the second press arrives as
    // WM_LBUTTONDBLCLK.
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(TextOf(button), L"OFF");
    SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(TextOf(button), L"ON");
    EXPECT_EQ(wmi.log.boundNames.size(), 1u);
}

TEST_F(MainWindowTests, APeriodThatIsNoNumberIsRefusedWithOneWarning) {
    Open();
    const HWND period = Control(ControlId::txtFreq);
    SetWindowTextW(period, L"abc");

    Click(ControlId::cmdSwitch);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, window->hwnd());
    EXPECT_EQ(boxes[0].prompt, L"The refresh period must be a number of seconds below 66.");
    EXPECT_EQ(boxes[0].caption, L"Kestrova");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(TextOf(Control(ControlId::cmdSwitch)), L"ON");
    EXPECT_TRUE(IsWindowEnabled(period));
    EXPECT_EQ(ItemCount(Control(ControlId::Adaptors)), 0);
    EXPECT_TRUE(wmi.log.boundNames.empty());
    // The period box is handed back with its text selected.
    EXPECT_EQ(GetFocus(), period);
    DWORD start = 99;
    DWORD end = 99;
    SendMessageW(period, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
}

// ---- keys in the table ----------------------------------------------------

TEST_F(MainWindowTests, CtrlAAndCtrlCCopyTheSelectedRowsWithTheHeaderLine) {
    Open();
    const HWND list = Control(ControlId::Adaptors);
    Click(ControlId::cmdSwitch);
    ASSERT_EQ(ItemCount(list), 2);

    struct Case {
        const char* name;
        std::vector<int> selected;  // nothing: Ctrl+A selects
        bool heldElsewhere;         // another program keeps the clipboard open
        std::wstring clipboard;
    };
    const Case cases[] = {
        {"Ctrl+A then Ctrl+C", {}, false, kHeaderLine + kFirstLine + kSecondLine},
        {"second row only", {1}, false, kHeaderLine + kSecondLine},
        {"first row only", {0}, false, kHeaderLine + kFirstLine},
        {"clipboard held all along", {0}, true, L"before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        for (int row = 0; row < 2; ++row) Select(list, row, false);
        ASSERT_TRUE(PutOnClipboard(window->hwnd(), u"before"));
        {
            std::optional<ClipboardHolder> other;
            if (c.heldElsewhere) {
                ASSERT_TRUE(other.emplace().Holding());
            }
            ControlKeyHeld control;
            if (c.selected.empty()) {
                PressKey(list, 'A');
                EXPECT_EQ(SelectedCount(list), 2);
            } else {
                for (int row : c.selected) Select(list, row, true);
            }
            PressKey(list, 'C');
        }
        EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(c.clipboard));
        // A copy that fails says so, once.
        ASSERT_EQ(boxes.size(), c.heldElsewhere ? 1u : 0u);
        if (c.heldElsewhere) {
            EXPECT_EQ(boxes[0].owner, window->hwnd());
            EXPECT_EQ(boxes[0].prompt,
                      L"Kestrova could not copy the rows: another program may be using the "
                      L"clipboard. Try again in a moment.");
            EXPECT_EQ(boxes[0].caption, L"Kestrova");
            EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
        }
    }
}

TEST_F(MainWindowTests, CopyNeedsCtrlAndASelection) {
    Open();
    const HWND list = Control(ControlId::Adaptors);
    Click(ControlId::cmdSwitch);
    ASSERT_EQ(ItemCount(list), 2);

    ASSERT_TRUE(PutOnClipboard(window->hwnd(), u"before"));
    Select(list, 0, true);
    PressKey(list, 'C');  // no Ctrl
    EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"before"));
    PressKey(list, 'A');
    EXPECT_EQ(SelectedCount(list), 1) << "A without Ctrl selects nothing more";

    Select(list, 0, false);
    ControlKeyHeld control;
    PressKey(list, 'C');  // Ctrl, but no row selected
    EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"before"));
}

// ---- layout ---------------------------------------------------------------

TEST_F(MainWindowTests, ResizingRunsTheLayoutAgain) {
    Open();
    struct Size {
        int width, height;
    };
    // The last is lower than the table's top plus 500 twips: no negative height.
    for (const Size size : {Size{800, 300}, Size{1000, 500}, Size{500, 60}, Size{679, 234}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        SetWindowPos(window->hwnd(), nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT client = ClientOf(window->hwnd());
        ASSERT_EQ(client.right, size.width);
        const float width = static_cast<float>(client.right * 1440.0 / Dpi());
        const float height = static_cast<float>(client.bottom * 1440.0 / Dpi());
        const float listTop = EntryOf(ControlId::Adaptors).place.top;
        const float listHeight = std::max(0.0f, height - listTop - 500.0f);

        EXPECT_TRUE(SameRect(RectInParent(Control(ControlId::lblCaption)),
                             PixelsOf({0, 0, width, 255}, Dpi())));
        EXPECT_TRUE(SameRect(RectInParent(Control(ControlId::Close)),
                             PixelsOf({width - 485, 20, 255, 230}, Dpi())));
        EXPECT_TRUE(SameRect(RectInParent(Control(ControlId::website)),
                             PixelsOf({0, height - 500, width, 255}, Dpi())));
        EXPECT_TRUE(SameRect(RectInParent(Control(ControlId::Adaptors)),
                             PixelsOf({0, listTop, width, listHeight}, Dpi())));
        // What does not stretch stays put.
        EXPECT_TRUE(SameRect(RectInParent(Control(ControlId::cmdSwitch)),
                             PixelsOf(EntryOf(ControlId::cmdSwitch).place, Dpi())));
    }
}

TEST_F(MainWindowTests, ADpiChangeRescalesFontPlacesAndTheWindow) {
    Open();
    RECT frame{};
    GetWindowRect(window->hwnd(), &frame);
    for (const unsigned dpi : {144u, 120u, 96u}) {
        SCOPED_TRACE(dpi);
        const RECT suggested{frame.left, frame.top, frame.left + Px(kFormWidth, dpi),
                             frame.top + Px(kFormHeight, dpi)};
        SendMessageW(window->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(Dpi(), dpi);
        const RECT client = ClientOf(window->hwnd());
        EXPECT_EQ(client.right, suggested.right - suggested.left);
        EXPECT_EQ(client.bottom, suggested.bottom - suggested.top);

        const float width = static_cast<float>(client.right * 1440.0 / dpi);
        for (const ControlId id : {ControlId::cmdSwitch, ControlId::txtFreq, ControlId::Label3}) {
            SCOPED_TRACE(TextToAscii(EntryOf(id).name));
            EXPECT_TRUE(SameRect(RectInParent(Control(id)), PixelsOf(EntryOf(id).place, dpi)));
        }
        EXPECT_TRUE(SameRect(RectInParent(Control(ControlId::Close)),
                             PixelsOf({width - 485, 20, 255, 230}, dpi)));

        LOGFONTW face{};
        const auto font = reinterpret_cast<HFONT>(
            SendMessageW(Control(ControlId::txtComputer), WM_GETFONT, 0, 0));
        ASSERT_NE(GetObjectW(font, sizeof(face), &face), 0);
        EXPECT_EQ(face.lfHeight, -MulDiv(8, static_cast<int>(dpi), 72));
    }
}

// A window placed across two monitors of different DPI gets WM_DPICHANGED
// while it is being placed, before its controls exist; any other message
// may come then too. Each is sent from inside the start-up here.
TEST_F(MainWindowTests, MessagesBeforeTheControlsExistAreSafeAndADpiChangeTakesEffect) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool closes;  // once the message loop runs
    };
    const Case cases[] = {
        {"WM_DPICHANGED", WM_DPICHANGED, MAKEWPARAM(144, 144), false},
        {"WM_SIZE", WM_SIZE, SIZE_RESTORED, false},
        {"WM_ACTIVATE", WM_ACTIVATE, WA_ACTIVE, false},
        {"WM_COMMAND", WM_COMMAND,
         MAKEWPARAM(MainWindow::ControlIdOf(ControlId::cmdSwitch), BN_CLICKED), false},
        {"WM_CTLCOLORSTATIC", WM_CTLCOLORSTATIC, 0, false},
        {"WM_DRAWITEM", WM_DRAWITEM, 0, false},
        {"WM_SETTINGCHANGE", WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, false},
        {"WM_SYSCOLORCHANGE", WM_SYSCOLORCHANGE, 0, false},
        {"WM_NOTIFY", WM_NOTIFY, 0, false},
        {"WM_TIMER", WM_TIMER, MainWindow::kPingTimerId, false},
        {"WM_CLOSE", WM_CLOSE, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool duringStartUp = false;
        beforeControls = [&](HWND hwnd) {
            duringStartUp = !window;  // the constructor has not returned yet
            RECT frame{};
            GetWindowRect(hwnd, &frame);
            const RECT suggested{frame.left, frame.top, frame.left + Px(kFormWidth, 144),
                                 frame.top + Px(kFormHeight, 144)};
            DRAWITEMSTRUCT item{};
            NMLVKEYDOWN key{};
            key.hdr.code = LVN_KEYDOWN;
            key.wVKey = 'C';
            LPARAM lParam = 0;
            switch (c.message) {
                case WM_DPICHANGED:
                    lParam = reinterpret_cast<LPARAM>(&suggested);
                    break;
                case WM_DRAWITEM:
                    lParam = reinterpret_cast<LPARAM>(&item);
                    break;
                case WM_NOTIFY:
                    lParam = reinterpret_cast<LPARAM>(&key);
                    break;
                case WM_COMMAND:  // from a control, and colours for one
                case WM_CTLCOLORSTATIC:
                    lParam = reinterpret_cast<LPARAM>(hwnd);
                    break;
                default:
                    break;
            }
            SendMessageW(hwnd, c.message, c.wParam, lParam);
        };
        Open();
        ASSERT_TRUE(duringStartUp);
        if (c.closes) {
            EXPECT_EQ(window->hwnd(), nullptr) << "the close took effect once the loop ran";
            window.reset();
            continue;
        }
        ASSERT_NE(window->hwnd(), nullptr);
        const unsigned dpi = c.message == WM_DPICHANGED ? 144u : Dpi();
        EXPECT_EQ(Dpi(), dpi);
        const RECT client = ClientOf(window->hwnd());
        EXPECT_EQ(client.right, Px(kFormWidth, dpi));
        EXPECT_EQ(client.bottom, Px(kFormHeight, dpi));
        for (const ControlId id : {ControlId::txtComputer, ControlId::cmdSwitch, ControlId::txtFreq,
                                   ControlId::Label3, ControlId::lblTime}) {
            SCOPED_TRACE(TextToAscii(EntryOf(id).name));
            EXPECT_TRUE(SameRect(RectInParent(Control(id)), PixelsOf(EntryOf(id).place, dpi)));
        }
        LOGFONTW face{};
        const auto font = reinterpret_cast<HFONT>(
            SendMessageW(Control(ControlId::txtComputer), WM_GETFONT, 0, 0));
        ASSERT_NE(GetObjectW(font, sizeof(face), &face), 0);
        EXPECT_EQ(face.lfHeight, -MulDiv(8, static_cast<int>(dpi), 72));
        EXPECT_EQ(TextOf(Control(ControlId::cmdSwitch)), L"ON");
        EXPECT_TRUE(wmi.log.boundNames.empty()) << "nothing was refreshed";
        window.reset();
        Pump();
    }
}

// ---- mouse ----------------------------------------------------------------

TEST_F(MainWindowTests, DraggingTheTitleMovesTheWindow) {
    Open();
    const HWND title = Control(ControlId::lblCaption);
    RECT before{};
    GetWindowRect(window->hwnd(), &before);

    SendMessageW(title, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(GetCapture(), title);
    // The label moved with the window, so the next position is relative to
    // where it is now.
    SendMessageW(title, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 25));
    RECT moved{};
    GetWindowRect(window->hwnd(), &moved);
    EXPECT_EQ(moved.left - before.left, 30);
    EXPECT_EQ(moved.top - before.top, 20);

    // Left and up: negative coordinates under capture.
    SendMessageW(title, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(-10)));
    EXPECT_EQ(GetCapture(), nullptr);
    RECT released{};
    GetWindowRect(window->hwnd(), &released);
    EXPECT_EQ(released.left - moved.left, -15);
    EXPECT_EQ(released.top - moved.top, -15);

    // Not dragging any more: a move alone moves nothing.
    SendMessageW(title, WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
    RECT idle{};
    GetWindowRect(window->hwnd(), &idle);
    EXPECT_TRUE(SameRect(idle, released));

    // Another window takes the mouse in the middle of a drag, as Alt+Tab or a
    // UAC prompt does: the release goes there, and the pointer crossing the
    // label later with a button down moves nothing.
    SendMessageW(title, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    SetCapture(window->hwnd());
    ReleaseCapture();
    SendMessageW(title, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 60));
    RECT afterLoss{};
    GetWindowRect(window->hwnd(), &afterLoss);
    EXPECT_TRUE(SameRect(afterLoss, released));
}

TEST_F(MainWindowTests, TheLinkOpensTheHomePageAndShowsAHand) {
    Open();
    const HWND link = Control(ControlId::website);
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].owner, reinterpret_cast<WindowHandle>(window->hwnd()));
    EXPECT_EQ(shell.calls[0].operation, u"open");
    EXPECT_EQ(shell.calls[0].file, u"http://kestrova.example/");

    struct Case {
        HWND over;
        bool hand;
    };
    for (const Case c : {Case{link, true}, Case{Control(ControlId::lblTime), false}}) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        const LRESULT handled =
            SendMessageW(window->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(c.over),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(handled != 0, c.hand);
        EXPECT_EQ(GetCursor() == LoadCursorW(nullptr, IDC_HAND), c.hand);
    }
}

// The real shell wrapper, pointed at a library or entry point that is not
// there: the click cannot be made, so exactly one warning box says so.
TEST_F(MainWindowTests, ALinkWhoseShellCannotBeFoundShowsOneWarning) {
    struct Case {
        const wchar_t* library;
        const char* entry;
    };
    for (const Case c : {Case{L"kestrova-no-such-shell.dll", "ShellExecuteA"},
                         Case{L"shell32.dll", "KestrovaNoSuchEntryPoint"}}) {
        Win32Shell missing(c.library, c.entry);
        boxes.clear();
        Open(wmi, SW_HIDE, &missing);
        const HWND link = Control(ControlId::website);
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, window->hwnd());
        EXPECT_EQ(boxes[0].prompt, L"Error launching website - kestrova.example");
        EXPECT_EQ(boxes[0].caption, L"Kestrova");
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_TRUE(IsWindow(window->hwnd())) << "the program goes on running";
        window.reset();
        Pump();
    }
}

// ---- closing --------------------------------------------------------------

TEST_F(MainWindowTests, ClosePictureAndAltF4EndTheProgram) {
    struct Case {
        const char* name;
        bool picture;  // else WM_CLOSE, as Alt+F4 sends it
    };
    for (const Case c : {Case{"close picture", true}, Case{"WM_CLOSE", false}}) {
        SCOPED_TRACE(c.name);
        Open();
        const HWND hwnd = window->hwnd();
        if (c.picture) {
            const HWND close = Control(ControlId::Close);
            SendMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            SendMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        } else {
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(window->hwnd(), nullptr);
        EXPECT_TRUE(Pump()) << "the message loop is told to end";
        window.reset();
    }
}

TEST_F(MainWindowTests, AClosingWindowIsLeftAloneByItsOwner) {
    Open();
    window.reset();
    EXPECT_FALSE(Pump()) << "destroying the window from outside must not end the loop";
}

TEST_F(MainWindowTests, ACloseDuringARefreshWaitsForTheRefresh) {
    ClosingWmi closing;
    closing.inner.script.adapters = TwoAdapters();
    Open(closing);
    const HWND hwnd = window->hwnd();
    closing.window = hwnd;

    Click(ControlId::cmdSwitch);

    EXPECT_TRUE(closing.aliveAfterClose) << "closed in the middle of the refresh";
    EXPECT_EQ(closing.inner.log.fetches, 3) << "the refresh ran to its end";
    EXPECT_FALSE(IsWindow(hwnd)) << "and the window closed after it";
    EXPECT_TRUE(Pump());
}

// ---- the exception boundary -----------------------------------------------

TEST_F(MainWindowTests, AnExceptionStopsAtTheWindowProcedureAndIsReportedOnce) {
    ThrowingWmi throwing;
    Open(throwing);
    Click(ControlId::cmdSwitch);  // starts; the refresh throws
    Click(ControlId::cmdSwitch);  // stops
    Click(ControlId::cmdSwitch);  // starts; throws again
    EXPECT_EQ(throwing.binds, 2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, window->hwnd());
    EXPECT_NE(boxes[0].prompt.find(L"scripted failure"), std::wstring::npos)
        << TextToAscii(FromWide(boxes[0].prompt));
    EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(IsWindow(window->hwnd())) << "the window carries on";
}

// ---- shown and active -----------------------------------------------------

// Every child refuses image lists, so the table gets none, as when none can be made.
LRESULT CALLBACK RefuseImages(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE)
        SetWindowSubclass(reinterpret_cast<HWND>(lParam), &RefuseImages, 0, 0);
    if (message != LVM_SETIMAGELIST) return DefSubclassProc(hwnd, message, wParam, lParam);
    ImageList_Destroy(reinterpret_cast<HIMAGELIST>(lParam));
    return 0;
}

TEST_F(MainWindowTests, TheShownWindowFocusesThePeriodBoxAndTellsOfLightsItLacks) {
    beforeControls = [](HWND hwnd) { SetWindowSubclass(hwnd, &RefuseImages, 0, 0); };
    Open(wmi, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(window->hwnd()));
    EXPECT_EQ(GetFocus(), Control(ControlId::txtFreq));
    ASSERT_EQ(boxes.size(), 1u) << "one warning, once the window shows";
    EXPECT_TRUE(boxes[0].ownerShown);
}

}  // namespace
}  // namespace kestrova::win32
