// The adapter table on a real window: what the control itself holds, read
// through its own messages, not through the wrapper's bookkeeping.
#include <windows.h>

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "inventory/AdapterColumns.h"
#include "inventory/StatusImages.h"
#include "platform/win32/AnsweringWait.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/RowNames.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ListView.h"
#include "platform/win32/Win32Locale.h"
#include "win32/TestWindow.h"

namespace kestrova::win32 {
namespace {

constexpr int kListId = 1007;
const ControlPlace kPlace{0, 720, 5415, 1695};

// The list's parent; shown only where a test needs painting state.
class HostWindow : public TestWindow {
public:
    explicit HostWindow(bool shown = false)
        : TestWindow(L"KestrovaListViewTestHost", DefWindowProcW,
                     WS_OVERLAPPEDWINDOW | (shown ? WS_VISIBLE : 0u), 900, 500) {}
};

struct ColumnRead {
    std::wstring text;
    int width = -1;
    int fmt = -1;
};

ColumnRead ReadColumn(HWND list, int column) {
    std::array<wchar_t, 256> buffer{};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    info.pszText = buffer.data();
    info.cchTextMax = static_cast<int>(buffer.size());
    if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                      reinterpret_cast<LPARAM>(&info))) {
        return {};
    }
    return {info.pszText, info.cx, info.fmt & LVCFMT_JUSTIFYMASK};
}

struct ItemRead {
    bool found = false;
    int image = 0;
    LPARAM param = 0;
};

ItemRead ReadItem(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return {true, item.iImage, item.lParam};
}

std::wstring ReadText(HWND list, int row, int subItem) {
    std::wstring buffer(4096, L'\0');
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
    buffer.resize(static_cast<std::size_t>(copied));
    return buffer;
}

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

HIMAGELIST SmallImages(HWND list) {
    return reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
}

// A row as a refresh makes it: key and text the MAC address (none for an
// empty one), a light, and every cell filled from `description`.
AdapterRow RowOf(Text mac, Text description, int light = 1) {
    AdapterRow row;
    row.text = mac;
    if (!mac.empty()) row.key = mac;
    row.smallIcon = static_cast<AdapterStatus>(light);
    for (std::size_t n = 0; n < row.subItems.size(); ++n) {
        row.subItems[n] = n == 0 ? description : description + u" " + DecimalText(n + 1);
    }
    return row;
}

class ListViewTest : public ::testing::Test {
protected:
    HostWindow host;
    DpiScale scale{96};
    std::unique_ptr<Win32ListView> list;

    void SetUp() override {
        ASSERT_NE(host.hwnd(), nullptr);
        list = std::make_unique<Win32ListView>(host.hwnd(), kListId, kPlace, scale);
        ASSERT_NE(list->hwnd(), nullptr);
    }
};

// ---- creation --------------------------------------------------------------

TEST(Win32ListViewTests, IsAReportViewChildWithTheRequestedStyles) {
    HostWindow host;
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(96);
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    ASSERT_NE(list.hwnd(), nullptr);

    std::array<wchar_t, 64> className{};
    GetClassNameW(list.hwnd(), className.data(), static_cast<int>(className.size()));
    EXPECT_STREQ(className.data(), WC_LISTVIEWW);
    EXPECT_EQ(GetParent(list.hwnd()), host.hwnd());
    EXPECT_EQ(GetDlgCtrlID(list.hwnd()), kListId);

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(list.hwnd(), GWL_STYLE));
    struct Bit {
        const char* name;
        DWORD bit;
        bool wanted;
    };
    for (const Bit& b :
         {Bit{"WS_CHILD", WS_CHILD, true}, Bit{"WS_VISIBLE", WS_VISIBLE, true},
          Bit{"WS_TABSTOP", WS_TABSTOP, true}, Bit{"LVS_SHOWSELALWAYS", LVS_SHOWSELALWAYS, true},
          Bit{"LVS_OWNERDATA", LVS_OWNERDATA, true},
          Bit{"LVS_SHAREIMAGELISTS", LVS_SHAREIMAGELISTS, false}}) {
        EXPECT_EQ((style & b.bit) != 0, b.wanted) << b.name;
    }
    EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(list.hwnd(), GWL_EXSTYLE));
    EXPECT_NE(exStyle & WS_EX_CLIENTEDGE, 0u);
    const auto lvEx =
        static_cast<DWORD>(SendMessageW(list.hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_NE(lvEx & LVS_EX_FULLROWSELECT, 0u);
    EXPECT_NE(lvEx & LVS_EX_DOUBLEBUFFER, 0u);
}

// ---- columns and status lights at several DPIs -----------------------------

class Win32ListViewTestsAtDpi : public ::testing::TestWithParam<unsigned> {};

TEST_P(Win32ListViewTestsAtDpi, HasTheThirteenColumnsAtTheirTwipsWidths) {
    HostWindow host;
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(GetParam());
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    ASSERT_NE(list.hwnd(), nullptr);

    HWND header = reinterpret_cast<HWND>(SendMessageW(list.hwnd(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0),
              static_cast<LRESULT>(kAdapterColumns.size()));
    for (std::size_t i = 0; i < kAdapterColumns.size(); ++i) {
        SCOPED_TRACE(i);
        const int column = static_cast<int>(i);
        const int pixels = static_cast<int>(
            std::lround(kAdapterColumns[i].widthTwips * static_cast<double>(GetParam()) / 1440.0));
        const ColumnRead read = ReadColumn(list.hwnd(), column);
        EXPECT_EQ(FromWide(read.text), Text(kAdapterColumns[i].header));
        EXPECT_EQ(read.width, pixels);
        EXPECT_EQ(read.fmt, LVCFMT_LEFT);
        EXPECT_EQ(list.GetColumnHeader(column), Text(kAdapterColumns[i].header));
        EXPECT_EQ(list.GetColumnWidth(column), pixels);
    }
    EXPECT_FALSE(ReadColumn(list.hwnd(), static_cast<int>(kAdapterColumns.size())).width > 0);
}

// Draws image `index` on a known background and reads it back.
struct Drawn {
    COLORREF centre;
    COLORREF corner;
    COLORREF background;
};

constexpr COLORREF ToColorRef(std::uint32_t bgrx) {
    return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
}

std::optional<Drawn> DrawImage(HIMAGELIST images, int index, int size) {
    // A colour none of the lights uses, so a light that leaked into the
    // corner or a transparent centre both show.
    constexpr std::uint32_t kBackground = 0x00203F60;  // R 0x20, G 0x3F, B 0x60
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
        return std::nullopt;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < size * size; ++i) pixels[i] = kBackground;
    HGDIOBJ old = SelectObject(dc, bitmap);
    const BOOL drawn = ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    Drawn out{ToColorRef(pixels[(size / 2) * size + size / 2] & 0xFFFFFF),
              ToColorRef(pixels[0] & 0xFFFFFF), ToColorRef(kBackground)};
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    if (!drawn) return std::nullopt;
    return out;
}

void ExpectStatusImages(HWND list, int size) {
    HIMAGELIST images = SmallImages(list);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), static_cast<int>(kStatusImages.size()));
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_EQ(cx, size);
    EXPECT_EQ(cy, size);
    for (std::size_t i = 0; i < kStatusImages.size(); ++i) {
        SCOPED_TRACE(i);
        const std::optional<Drawn> drawn = DrawImage(images, static_cast<int>(i), size);
        ASSERT_TRUE(drawn.has_value());
        const StatusImage& light = kStatusImages[i];
        EXPECT_EQ(drawn->centre, RGB(light.red, light.green, light.blue));
        EXPECT_EQ(drawn->corner, drawn->background);
    }
}

TEST_P(Win32ListViewTestsAtDpi, BindsTheThreeStatusLightsAtTheSmallIconSize) {
    HostWindow host;
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(GetParam());
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    ASSERT_NE(list.hwnd(), nullptr);
    const int size = static_cast<int>(std::lround(16.0 * GetParam() / 96.0));
    ExpectStatusImages(list.hwnd(), size);
}

TEST_P(Win32ListViewTestsAtDpi, PlacesItselfInPixelsFromTwips) {
    HostWindow host;
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(GetParam());
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    ASSERT_NE(list.hwnd(), nullptr);

    const auto px = [&](float twips) {
        return static_cast<int>(std::lround(twips * static_cast<double>(GetParam()) / 1440.0));
    };
    const auto placed = [&] {
        RECT r{};
        GetWindowRect(list.hwnd(), &r);
        MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT r = placed();
    EXPECT_EQ(r.left, px(kPlace.left));
    EXPECT_EQ(r.top, px(kPlace.top));
    EXPECT_EQ(r.right, px(kPlace.left + kPlace.width));
    EXPECT_EQ(r.bottom, px(kPlace.top + kPlace.height));
    EXPECT_EQ(list.Top(), kPlace.top);

    list.SetWidth(7000.5f);
    list.SetHeight(1234.0f);
    r = placed();
    EXPECT_EQ(r.right, px(kPlace.left + 7000.5f));
    EXPECT_EQ(r.bottom, px(kPlace.top + 1234.0f));
    EXPECT_EQ(list.place().width, 7000.5f);
    EXPECT_EQ(list.place().height, 1234.0f);
    EXPECT_EQ(list.Top(), kPlace.top);
}

INSTANTIATE_TEST_SUITE_P(Win32ListViewTests, Win32ListViewTestsAtDpi,
                         ::testing::Values(96u, 120u, 144u, 192u));

// ---- a DPI change after creation ------------------------------------------

TEST(Win32ListViewTests, DpiChangeRebuildsLightsAndScalesColumnsKeepingDrags) {
    HostWindow host;
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(96);
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    ASSERT_NE(list.hwnd(), nullptr);
    ExpectStatusImages(list.hwnd(), 16);

    // As if the user dragged the Description column.
    constexpr int kDragged = 1;
    ASSERT_TRUE(SendMessageW(list.hwnd(), LVM_SETCOLUMNWIDTH, kDragged, MAKELPARAM(201, 0)));
    std::vector<int> before;
    for (std::size_t i = 0; i < kAdapterColumns.size(); ++i) {
        before.push_back(ReadColumn(list.hwnd(), static_cast<int>(i)).width);
    }
    ASSERT_EQ(before[kDragged], 201);
    list.ShowRows({RowOf(u"k", u"row", 2)});

    scale.SetDpi(144);
    list.OnDpiChanged();

    ExpectStatusImages(list.hwnd(), 24);
    for (std::size_t i = 0; i < kAdapterColumns.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ReadColumn(list.hwnd(), static_cast<int>(i)).width,
                  static_cast<int>(std::lround(before[i] * 1.5)));
    }
    EXPECT_EQ(ReadColumn(list.hwnd(), kDragged).width, 302);  // 201 * 1.5, rounded half up

    RECT r{};
    GetWindowRect(list.hwnd(), &r);
    MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, scale.ToPixels(kPlace.top));
    EXPECT_EQ(r.bottom, scale.ToPixels(kPlace.top + kPlace.height));
    EXPECT_EQ(r.right, scale.ToPixels(kPlace.left + kPlace.width));

    // Rows keep their lights across the rebuild.
    EXPECT_EQ(ReadItem(list.hwnd(), 0).image, 1);

    // Back to 96: widths come back (to within the rounding of two steps).
    scale.SetDpi(96);
    list.OnDpiChanged();
    ExpectStatusImages(list.hwnd(), 16);
    for (std::size_t i = 0; i < kAdapterColumns.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(ReadColumn(list.hwnd(), static_cast<int>(i)).width, before[i], 1);
    }
}

// ---- rows ------------------------------------------------------------------

using Win32ListViewTestsRows = ListViewTest;

TEST_F(Win32ListViewTestsRows, ShowsEachRowsTextLightAndCellsThroughTheControl) {
    AdapterRow longCell = RowOf(u"00:11:22:33:44:55", u"eth0");
    longCell.subItems[1] = Text(3000, u'x');
    AdapterRow noMac = RowOf(u"", u"tun0", 3);
    noMac.subItems[4].reset();  // absent: an empty cell
    const std::vector<AdapterRow> rows{longCell, noMac,
                                       RowOf(u"aa:bb:cc:dd:ee:ff", u"Wi\u2011Fi \U0001F600", 2)};
    list->ShowRows(rows);

    ASSERT_EQ(ItemCount(list->hwnd()), 3);
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        const AdapterRow& row = rows[static_cast<std::size_t>(r)];
        EXPECT_EQ(ReadItem(list->hwnd(), r).image, static_cast<int>(row.smallIcon) - 1);
        for (int c = 0; c < static_cast<int>(kAdapterColumns.size()); ++c) {
            EXPECT_EQ(FromWide(ReadText(list->hwnd(), r, c)), Text(CellText(row, c))) << c;
            EXPECT_EQ(list->GetItemText(r, c), Text(CellText(row, c))) << c;
        }
        EXPECT_EQ(list->KeyOf(r), row.key);
        EXPECT_EQ(list->GetSmallIcon(r), static_cast<int>(row.smallIcon));
    }
    EXPECT_EQ(list->KeyOf(3), std::nullopt);
    EXPECT_EQ(list->GetSmallIcon(3), 0);

    list->ShowRows({});
    EXPECT_EQ(ItemCount(list->hwnd()), 0);
}

// What a screen reader is told: WinEvents raised by this process, seen by
// an out-of-context hook once the thread pumps its messages.
struct EventSeen {
    DWORD event;
    LONG child;
    friend bool operator==(const EventSeen&, const EventSeen&) = default;
};
std::vector<EventSeen> g_events;
HWND g_eventList = nullptr;

class RowEventHook {
public:
    explicit RowEventHook(HWND list) {
        g_eventList = list;
        hook_ = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr,
                                &RowEventHook::Seen, GetCurrentProcessId(), 0,
                                WINEVENT_OUTOFCONTEXT);
    }
    ~RowEventHook() { UnhookWinEvent(hook_); }
    std::vector<EventSeen> Take() {
        MSG message{};
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(5);
        }
        return std::exchange(g_events, {});
    }

private:
    static void CALLBACK Seen(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child,
                              DWORD, DWORD) {
        if (hwnd == g_eventList && object == OBJID_CLIENT) g_events.push_back({event, child});
    }
    HWINEVENTHOOK hook_;
};

// An annotation service for the list's names that counts how often it is
// made and takes the server, or refuses it; `meanwhile` runs on the names'
// thread while the start waits.
RowNames::Service CountedService(int& made, bool takes, std::function<void(HWND)> meanwhile = {}) {
    return [&made, takes, meanwhile] {
        ++made;
        RowNames::Annotation annotation;
        annotation.set = [takes, meanwhile](HWND list, IAccPropServer*) {
            if (meanwhile) meanwhile(list);
            return takes;
        };
        return annotation;
    };
}

// Painting is what a user sees of a refresh: nothing for one that brings
// nothing new, the changed row alone for one that changes a cell, and the
// mark's end once the window has been in front long enough.
TEST(Win32ListViewTests, RepaintsOnlyWhatARefreshChanged) {
    HostWindow host(true);  // only a shown window keeps an update region
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(96);
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    ASSERT_NE(list.hwnd(), nullptr);
    RowEventHook events(list.hwnd());
    int made = 0;
    list.SetNamesService(CountedService(made, true));
    std::vector<AdapterRow> rows{RowOf(u"A", u"eth0"), RowOf(u"B", u"eth1"), RowOf(u"C", u"eth2")};
    list.ShowRows(rows);
    EXPECT_EQ(list.Names(), nullptr) << "rows alone bring no screen-reader names";
    // Other clients' objects; then a reader's, its id zero-extended, as a
    // 64-bit lParam may carry it, and once more.
    for (const LONG id : {OBJID_NATIVEOM, OBJID_QUERYCLASSNAMEIDX, OBJID_CLIENT, OBJID_CLIENT}) {
        SendMessageW(list.hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(static_cast<DWORD>(id)));
        EXPECT_EQ(list.Names() != nullptr, id == OBJID_CLIENT) << id;
    }
    EXPECT_EQ(made, 1) << "made at the reader's first question, once";
    const auto nameOf = [&](int row) { return list.Names()->NameOf(row); };
    ASSERT_NE(list.Names(), nullptr);
    EXPECT_EQ(nameOf(0), ToWide(AccessibleRowName(rows[0]))) << "the rows already shown";
    const auto painted = [&] {
        UpdateWindow(host.hwnd());
        ValidateRect(list.hwnd(), nullptr);
    };
    const auto dirty = [&]() -> std::optional<RECT> {
        RECT r{};
        if (!GetUpdateRect(list.hwnd(), &r, FALSE)) return std::nullopt;
        return r;
    };
    // Seen for `ms` since input that came just after the change of seenFor(0).
    const auto seenFor = [](int ms) {
        using std::chrono::milliseconds;
        return RefreshStamp{{}, {milliseconds(ms), milliseconds(1000 + ms), milliseconds(999 + ms),
                                 milliseconds(0)}};
    };
    painted();
    events.Take();

    EXPECT_TRUE(list.ShowRows(rows).Nothing());
    EXPECT_FALSE(dirty()) << "an unchanged refresh leaves nothing to paint";

    rows[1].subItems[1] = u"10.9.9.9";
    list.ShowRows(rows, seenFor(0), true);
    RECT row1{};
    row1.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(list.hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row1)));
    const std::optional<RECT> changed = dirty();
    ASSERT_TRUE(changed) << "the changed row must repaint";
    EXPECT_GE(changed->top, row1.top);
    EXPECT_LE(changed->bottom, row1.bottom);
    EXPECT_TRUE(list.IsHighlighted(1));
    EXPECT_FALSE(list.IsHighlighted(0));
    EXPECT_EQ(events.Take(), (std::vector<EventSeen>{{EVENT_OBJECT_DESCRIPTIONCHANGE, 2}}));
    painted();

    // Not yet seen for 10 s: the mark stays and the refresh touches nothing.
    EXPECT_TRUE(list.ShowRows(rows, seenFor(9999), true).Nothing());
    EXPECT_FALSE(dirty());
    EXPECT_TRUE(list.IsHighlighted(1));
    // Then the mark goes: that row repaints once more, then nothing does.
    EXPECT_FALSE(list.ShowRows(rows, seenFor(10000), true).Nothing());
    ASSERT_TRUE(dirty());
    EXPECT_GE(dirty()->top, row1.top);
    EXPECT_FALSE(list.IsHighlighted(1));
    painted();
    EXPECT_TRUE(list.ShowRows(rows, seenFor(10000), true).Nothing());
    EXPECT_FALSE(dirty());
    EXPECT_TRUE(events.Take().empty()) << "a mark that goes changes nothing a reader hears";

    // A light that changes renames its row; an adapter that comes reorders.
    rows[2].smallIcon = AdapterStatus::NoGateway;
    rows.push_back(RowOf(u"D", u"eth3"));
    list.ShowRows(rows, seenFor(10000), true);
    EXPECT_EQ(events.Take(), (std::vector<EventSeen>{{EVENT_OBJECT_NAMECHANGE, 3},
                                                      {EVENT_OBJECT_NAMECHANGE, 4},
                                                      {EVENT_OBJECT_DESCRIPTIONCHANGE, 4},
                                                      {EVENT_OBJECT_REORDER, CHILDID_SELF}}));
    EXPECT_EQ(nameOf(2), ToWide(AccessibleRowName(rows[2])));
    EXPECT_EQ(nameOf(3), ToWide(AccessibleRowName(rows[3])));

    // Another program empties the control: the next refresh, even one that
    // brings nothing new, shows every row again.
    painted();
    SendMessageW(list.hwnd(), LVM_DELETEALLITEMS, 0, 0);
    ASSERT_EQ(ItemCount(list.hwnd()), 0);
    list.ShowRows(rows, seenFor(10000), true);
    EXPECT_EQ(ItemCount(list.hwnd()), 4);
    EXPECT_EQ(FromWide(ReadText(list.hwnd(), 3, 0)), u"D");
    EXPECT_TRUE(dirty());

    rows[0].smallIcon = AdapterStatus::NoGateway;
    list.ShowRows(rows, seenFor(10000), true);
    EXPECT_EQ(nameOf(0), ToWide(AccessibleRowName(rows[0]))) << "a light alone renames its row";
}

struct Place {
    std::vector<Text> selected;
    std::optional<Text> focused;
    std::optional<Text> top;
    int scrollX = 0;
};

Place PlaceOf(const Win32ListView& list) {
    Place place;
    for (int row : list.GetSelectedRows()) place.selected.push_back(list.GetItemText(row, 0));
    if (const int f = list.GetFocusedRow(); f >= 0) place.focused = list.GetItemText(f, 0);
    place.top = list.GetItemText(
        static_cast<int>(SendMessageW(list.hwnd(), LVM_GETTOPINDEX, 0, 0)), 0);
    place.scrollX = GetScrollPos(list.hwnd(), SB_HORZ);
    return place;
}

void Select(HWND list, int row, UINT state = LVIS_SELECTED | LVIS_FOCUSED) {
    LVITEMW item{};
    item.stateMask = state;
    item.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Selection, focus, top row and sideways scroll stay with their adapters
// while others come and go around them, with one row and with 10,000.
TEST_F(Win32ListViewTestsRows, TheUsersPlaceFollowsItsAdaptersThroughRefreshes) {
    for (const int count : {1, 10000}) {
        SCOPED_TRACE(count);
        std::vector<AdapterRow> rows;
        for (int i = 0; i < count; ++i) rows.push_back(RowOf(u"M" + DecimalText(i), u"eth"));
        list->ShowRows(rows);
        const int last = count - 1;
        Select(list->hwnd(), last);
        if (count > 1) {
            Select(list->hwnd(), last - 5, LVIS_SELECTED);
            Select(list->hwnd(), last - 9, LVIS_SELECTED);
        }
        SendMessageW(list->hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(last), FALSE);
        SendMessageW(list->hwnd(), LVM_SCROLL, 40, 0);
        const Place before = PlaceOf(*list);
        ASSERT_EQ(before.selected.size(), count > 1 ? 3u : 1u);
        ASSERT_EQ(before.focused, Text(u"M" + DecimalText(last)));
        if (count > 1) {
            ASSERT_GT(before.scrollX, 0);
        }

        // Three new adapters come first; the first five and the one nine
        // rows from the end go; everything else is unchanged.
        std::vector<AdapterRow> next{RowOf(u"N1", u"eth"), RowOf(u"N2", u"eth"),
                                     RowOf(u"N3", u"eth")};
        for (int i = 0; i < count; ++i) {
            if (count > 1 && (i < 5 || i == last - 9)) continue;
            next.push_back(rows[static_cast<std::size_t>(i)]);
        }
        const TableUpdate update = list->ShowRows(next);
        EXPECT_TRUE(update.reordered);
        const Place after = PlaceOf(*list);
        std::vector<Text> stillSelected;
        for (const Text& mac : before.selected) {
            if (count == 1 || mac != u"M" + DecimalText(last - 9)) stillSelected.push_back(mac);
        }
        EXPECT_EQ(after.selected, stillSelected);
        EXPECT_EQ(after.focused, before.focused);
        EXPECT_EQ(after.scrollX, before.scrollX);
        if (count > 1) {
            EXPECT_EQ(after.top, before.top);
        }

        // A sort moves every row; the place still follows, and the focused
        // row is in view even when the view was elsewhere.
        SendMessageW(list->hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(count / 2), FALSE);
        list->SortBy(0);
        list->SortBy(0);  // descending: the last rows come first
        const Place sorted = PlaceOf(*list);
        EXPECT_EQ(sorted.focused, before.focused);
        EXPECT_EQ(std::set<Text>(sorted.selected.begin(), sorted.selected.end()),
                  std::set<Text>(stillSelected.begin(), stillSelected.end()));
        const int focused = list->GetFocusedRow();
        const auto top = static_cast<int>(SendMessageW(list->hwnd(), LVM_GETTOPINDEX, 0, 0));
        const auto page = static_cast<int>(SendMessageW(list->hwnd(), LVM_GETCOUNTPERPAGE, 0, 0));
        EXPECT_TRUE(focused >= top && focused < top + std::max(page, 1))
            << "focused " << focused << ", view from " << top;
        list->SortBy(0);  // back to WMI's order

        // Scrolled to its top, the table stays there when rows come above.
        SendMessageW(list->hwnd(), LVM_ENSUREVISIBLE, 0, FALSE);
        next.insert(next.begin(), RowOf(u"N0", u"eth"));
        list->ShowRows(next);
        EXPECT_EQ(SendMessageW(list->hwnd(), LVM_GETTOPINDEX, 0, 0), 0);
        list->ShowRows({});
    }
}

int SortArrowOf(HWND list, int column) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}

// A click on the header, as the header reports it to the list; the mouse
// itself is the end-to-end tests' business.
TEST_F(Win32ListViewTestsRows, HeaderClicksSortShowTheArrowAndRestoreWmisOrder) {
    std::vector<AdapterRow> rows;
    for (const char16_t* ip : {u"10.0.0.10", u"fe80::1", u"10.0.0.9", u""}) {
        AdapterRow row = RowOf(u"M" + DecimalText(rows.size()), u"eth");
        row.subItems[1] = Text(ip);
        rows.push_back(row);
    }
    list->ShowRows(rows);
    Select(list->hwnd(), 0);
    const auto header = reinterpret_cast<HWND>(SendMessageW(list->hwnd(), LVM_GETHEADER, 0, 0));
    const auto click = [&](int column) {
        NMHEADERW item{};
        item.hdr.hwndFrom = header;
        item.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(header));
        item.hdr.code = HDN_ITEMCLICKW;
        item.iItem = column;
        item.iButton = 0;
        SendMessageW(list->hwnd(), WM_NOTIFY, item.hdr.idFrom, reinterpret_cast<LPARAM>(&item));
    };
    const auto order = [&] {
        std::vector<Text> out;
        for (int r = 0; r < list->GetItemCount(); ++r) out.push_back(FromWide(ReadText(list->hwnd(), r, 0)));
        return out;
    };

    click(2);
    EXPECT_EQ(order(), (std::vector<Text>{u"M2", u"M0", u"M1", u"M3"})) << "by address, empty last";
    EXPECT_EQ(SortArrowOf(list->hwnd(), 2), HDF_SORTUP);
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1}) << "the selection follows M0";
    click(2);
    EXPECT_EQ(order(), (std::vector<Text>{u"M1", u"M0", u"M2", u"M3"}));
    EXPECT_EQ(SortArrowOf(list->hwnd(), 2), HDF_SORTDOWN);
    click(2);
    EXPECT_EQ(order(), (std::vector<Text>{u"M0", u"M1", u"M2", u"M3"}));
    for (int c = 0; c < static_cast<int>(kAdapterColumns.size()); ++c) {
        EXPECT_EQ(SortArrowOf(list->hwnd(), c), 0) << c;
    }

    // The sort holds across a refresh.
    click(2);
    rows[3].subItems[1] = u"10.0.0.1";
    list->ShowRows(rows);
    EXPECT_EQ(order(), (std::vector<Text>{u"M3", u"M2", u"M0", u"M1"}));
}

// LVM_FINDITEM reaches the table: partial finds (typing) wrap round to the
// top; a find for the whole text is an exact match.
TEST_F(Win32ListViewTestsRows, FindsRowsByMacAsTheControlAsks) {
    list->ShowRows({RowOf(u"aa:01", u"a"), RowOf(u"bb:02", u"b"), RowOf(u"aa:03", u"c")});
    const auto find = [&](const wchar_t* text, UINT flags, int after) {
        LVFINDINFOW info{};
        info.flags = flags;
        info.psz = text;
        return static_cast<int>(SendMessageW(list->hwnd(), LVM_FINDITEMW, static_cast<WPARAM>(after),
                                             reinterpret_cast<LPARAM>(&info)));
    };
    EXPECT_EQ(find(L"bb", LVFI_STRING | LVFI_PARTIAL, 2), 1) << "typed on the last row: round the top";
    EXPECT_EQ(find(L"aa", LVFI_STRING, 0), -1) << "not a whole MAC address";
    EXPECT_EQ(find(L"AA:03", LVFI_STRING, 0), 2);
    EXPECT_EQ(find(L"aa:01", LVFI_STRING | LVFI_WRAP, 1), 0);
}

TEST_F(Win32ListViewTestsRows, SelectAllSelectsEveryRowAndSelectionReadsBack) {
    list->ShowRows(std::vector<AdapterRow>(5, RowOf(u"", u"r")));
    EXPECT_TRUE(list->GetSelectedRows().empty());
    Select(list->hwnd(), 1, LVIS_SELECTED);
    Select(list->hwnd(), 3, LVIS_SELECTED);
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{1, 3}));

    list->SelectAll();
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(SendMessageW(list->hwnd(), LVM_GETSELECTEDCOUNT, 0, 0), 5);
}

// A cell cut off by its column offers its whole text in the tip; one that
// fits offers none.
TEST_F(Win32ListViewTestsRows, ATipShowsTheWholeTextOfACellThatDoesNotFit) {
    const Text longDescription(120, u'd');
    list->ShowRows({RowOf(u"k1", longDescription)});
    RECT description{};
    description.top = 1;
    description.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageW(list->hwnd(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&description)));
    const POINT inDescription{description.left + 5, (description.top + description.bottom) / 2};
    const POINT inMac{5 + scale.Scale96(20), inDescription.y};
    EXPECT_EQ(list->TipTextAt(inDescription), longDescription);
    EXPECT_EQ(list->TipTextAt(inMac), std::nullopt);
    EXPECT_EQ(list->TipTextAt({inDescription.x, description.bottom + 200}), std::nullopt) << "below the rows";

    // The tooltip asks the list for its text: the whole description once
    // the pointer moved onto that cell. It is made by that first motion: a
    // start-up that shows none makes none.
    const auto threadTip = [] {
        HWND tip = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM out) -> BOOL {
            wchar_t name[64]{};
            GetClassNameW(hwnd, name, 64);
            if (std::wstring(name) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(out) = hwnd;
            return TRUE;
        }, reinterpret_cast<LPARAM>(&tip));
        return tip;
    };
    EXPECT_EQ(threadTip(), nullptr) << "a tooltip before the pointer came";
    SendMessageW(list->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(inDescription.x, inDescription.y));
    const HWND tip = threadTip();
    ASSERT_NE(tip, nullptr);
    std::wstring text(512, L'\0');
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = list->hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(list->hwnd());
    tool.lpszText = text.data();
    SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(FromWide(text.c_str()), longDescription);

    // Over the light: its meaning. On a marked row: what changed, after the
    // cell's whole text.
    RECT icon{};
    icon.left = LVIR_ICON;
    ASSERT_TRUE(SendMessageW(list->hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon)));
    const POINT onLight{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    EXPECT_EQ(list->TipTextAt(onLight), u"Light: green, gateway and DNS server");
    AdapterRow changed = RowOf(u"k1", longDescription, 2);
    LocalTime today = Win32Clock().Now();
    today.time = {9, 41, 0};
    list->ShowRows({changed}, {today, {}}, true);
    EXPECT_EQ(list->TipTextAt(onLight),
              u"Light: yellow, gateway but no DNS server\n\nChanged at " +
                  Win32Locale().TimeToText(today.time) +
                  u"\nLight: green \u2192 yellow, no DNS server")
        << "a change of today: its time alone";
    EXPECT_EQ(list->TipTextAt(inDescription).value_or(u"").substr(0, 122),
              longDescription + u"\n\n");
    EXPECT_EQ(list->TipTextAt(inMac).value_or(u"").substr(0, 10), u"Changed at");

    // The tip follows what is under a resting pointer when the rows change.
    list->ShowRows({RowOf(u"k0", u"short"), RowOf(u"k1", longDescription)});
    list->ShowRows({RowOf(u"k1", longDescription)});
    POINT screen = inDescription;
    ClientToScreen(list->hwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(list->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(inDescription.x, inDescription.y));
    list->ShowRows({RowOf(u"k0", u"short"), RowOf(u"k1", longDescription)}, {}, true);
    text.assign(512, L'\0');
    tool.lpszText = text.data();
    SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(FromWide(text.c_str()).substr(0, 8), u"Came at ")
        << "the new row k0 lies under the pointer now, not k1's long text";
}

// What the context menu offered, read from the menu window while it is open.
struct MenuSeen {
    bool open = false;
    std::vector<std::wstring> items;
    std::vector<bool> greyed;
    POINT topLeft{};
};
MenuSeen g_menuSeen;

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND window = FindWindowW(L"#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return;  // not up yet
    KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    g_menuSeen.open = menu != nullptr;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64]{};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        g_menuSeen.items.push_back(text);
        g_menuSeen.greyed.push_back((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) &
                                     (MF_GRAYED | MF_DISABLED)) != 0);
    }
    RECT r{};
    GetWindowRect(window, &r);
    g_menuSeen.topLeft = {r.left, r.top};
    EndMenu();
}

// The menu a right-click or the Menu key opens: Copy only with a selection,
// and from the keyboard under the focused row.
TEST(Win32ListViewTests, TheContextMenuOffersCopyWithASelectionUnderTheFocusedRow) {
    HostWindow host(true);
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(96);
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    list.ShowRows({RowOf(u"A", u"eth0"), RowOf(u"B", u"eth1"), RowOf(u"C", u"eth2")});
    const auto open = [&](LPARAM where) {
        g_menuSeen = {};
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &ReadAndCloseMenu);
        SendMessageW(list.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.hwnd()), where);
        KillTimer(nullptr, timer);
        return g_menuSeen;
    };

    MenuSeen seen = open(MAKELPARAM(300, 200));
    ASSERT_TRUE(seen.open);
    EXPECT_EQ(seen.items, (std::vector<std::wstring>{L"&Copy\tCtrl+C", L"Select &all\tCtrl+A", L"",
                                                     L"&Next change\tF8", L"C&hanges\u2026"}));
    EXPECT_EQ(seen.greyed, (std::vector<bool>{true, false, true, true, true}))
        << "nothing selected: nothing to copy; no change to go to; no change list to show";
    EXPECT_EQ(seen.topLeft.x, 300);
    EXPECT_EQ(seen.topLeft.y, 200);

    list.ShowRows({RowOf(u"A", u"eth0"), RowOf(u"B", u"eth1", 2), RowOf(u"C", u"eth2")});
    Select(list.hwnd(), 1);
    seen = open(MAKELPARAM(-1, -1));  // the Menu key, Shift+F10
    ASSERT_TRUE(seen.open);
    EXPECT_EQ(seen.greyed, (std::vector<bool>{false, false, true, false, true}))
        << "B changed: there is a change to go to";
    RECT row{};
    row.left = LVIR_LABEL;
    SendMessageW(list.hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    POINT under{row.left, row.bottom};
    ClientToScreen(list.hwnd(), &under);
    EXPECT_EQ(seen.topLeft.x, under.x);
    EXPECT_EQ(seen.topLeft.y, under.y);
}

// Plays the system's annotation service, which Wine lacks (its methods
// answer E_NOTIMPL): it marshals the server where it is given it, for
// another process, as the service does, taking its time as a service that
// loads does; or it refuses the server, as Wine's does. Identity strings
// are read by the test's own rule, a child id in four bytes.
class MarshalingService {
public:
    explicit MarshalingService(bool takes = true)
        : takes_(takes), marshaled_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~MarshalingService() { CloseHandle(marshaled_); }

    RowNames::Annotation operator()() {
        RowNames::Annotation annotation;
        annotation.set = [this](HWND, IAccPropServer* server) {
            Sleep(100);
            if (!takes_) return false;
            if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream_)) &&
                FAILED(CoMarshalInterface(stream_, IID_IAccPropServer, server, MSHCTX_LOCAL,
                                          nullptr, MSHLFLAGS_TABLESTRONG))) {
                stream_->Release();
                stream_ = nullptr;
            }
            SetEvent(marshaled_);
            return stream_ != nullptr;
        };
        annotation.clear = [this](HWND) {
            if (!stream_) return;
            stream_->Seek({}, STREAM_SEEK_SET, nullptr);
            CoReleaseMarshalData(stream_);
            stream_->Release();
        };
        // Stands for the service the parts share: where its last reference
        // goes is written down.
        std::shared_ptr<void> service(nullptr, [this](void*) {
            APTTYPEQUALIFIER qualifier{};
            if (FAILED(CoGetApartmentType(&lastRelease.apartment, &qualifier))) lastRelease = {};
            lastRelease.thread = GetCurrentThreadId();
        });
        annotation.childOf = [service](const BYTE* id, DWORD length) -> std::optional<long> {
            if (length != sizeof(LONG)) return std::nullopt;
            LONG child = 0;
            std::memcpy(&child, id, sizeof(child));
            return child;
        };
        return annotation;
    }

    // The marshaled server, if the names' thread has given it by now.
    IStream* Marshaled() const {
        return WaitForSingleObject(marshaled_, 0) == WAIT_OBJECT_0 ? stream_ : nullptr;
    }

    struct Release {
        DWORD thread = 0;
        APTTYPE apartment = APTTYPE_CURRENT;
    } lastRelease;  // the service's last reference

private:
    bool takes_;
    HANDLE marshaled_;
    IStream* stream_ = nullptr;
};

// A screen reader asks from its own thread and apartment, through a proxy,
// while the window's thread waits for another computer (WaitAnswering, as
// a refresh does): it is answered at once, not when the wait ends.
TEST(Win32ListViewTests, RowNamesAnswerAReaderWhileTheWindowWaits) {
    ComApartment apartment;  // the window's thread, as in the program
    HostWindow host;
    {
        MarshalingService refusing(false);
        RowNames refused(host.hwnd(), std::ref(refusing));
        EXPECT_FALSE(refused.Start());
        EXPECT_TRUE(refused.Failed());
        EXPECT_EQ(refusing.lastRelease.apartment, APTTYPE_MTA)
            << "a refusing service goes on the names' thread";
    }
    MarshalingService service;
    auto owned = std::make_unique<RowNames>(host.hwnd(), std::ref(service));
    RowNames& names = *owned;
    names.Replace({AccessibleRowName(RowOf(u"A", u"eth0", 1)),
                   AccessibleRowName(RowOf(u"B", u"eth1", 3))});
    EXPECT_TRUE(names.Start());
    IStream* const marshaled = service.Marshaled();
    ASSERT_NE(marshaled, nullptr) << "the start waits until the service holds the server";

    using Answer = std::optional<std::wstring>;
    std::vector<Answer> answers;
    HANDLE answered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread reader([&] {
        ComApartment readerApartment;
        IAccPropServer* proxy = nullptr;
        marshaled->Seek({}, STREAM_SEEK_SET, nullptr);
        CoUnmarshalInterface(marshaled, IID_IAccPropServer, reinterpret_cast<void**>(&proxy));
        const auto ask = [&](LONG child, const GUID& property) -> Answer {
            VARIANT value;
            BOOL has = FALSE;
            if (!proxy || FAILED(proxy->GetPropValue(reinterpret_cast<const BYTE*>(&child),
                                                     sizeof(child), property, &value, &has)) ||
                !has || value.vt != VT_BSTR) {
                return std::nullopt;
            }
            std::wstring name(value.bstrVal, SysStringLen(value.bstrVal));
            VariantClear(&value);
            return name;
        };
        answers = {ask(2, PROPID_ACC_NAME), ask(3, PROPID_ACC_NAME),
                   ask(CHILDID_SELF, PROPID_ACC_NAME), ask(2, PROPID_ACC_DESCRIPTION)};
        if (proxy) proxy->Release();
        SetEvent(answered);
    });
    const bool inTime = WaitAnswering(answered, GetTickCount64() + 2000);
    DWORD index = 0;
    // A call queued behind this thread's messages ends once they are taken.
    if (!inTime) CoWaitForMultipleHandles(0, 10000, 1, &answered, &index);
    reader.join();
    CloseHandle(answered);
    EXPECT_TRUE(inTime) << "answered only after the window's 2 s wait";
    EXPECT_EQ(answers, (std::vector<Answer>{L"B, light red, no default gateway", std::nullopt,
                                            std::nullopt, std::nullopt}))
        << "row 2; past the last row; the list itself keeps its name; not a name";
    owned.reset();
    EXPECT_NE(service.lastRelease.thread, GetCurrentThreadId());
    EXPECT_EQ(service.lastRelease.apartment, APTTYPE_MTA)
        << "the service's last reference goes on the names' thread, still in its apartment";
}

// However the names end: refused by the service (and not asked of it
// again), with the window, or with the window while a reader's first
// question waits for them, the service asking again meanwhile.
TEST(Win32ListViewTests, DestroyedWithTheParentBeforeTheWrapper) {
    enum class Names { Refused, Made, ClosedWhileStarting };
    for (const Names way : {Names::Refused, Names::Made, Names::ClosedWhileStarting}) {
        SCOPED_TRACE(static_cast<int>(way));
        DpiScale scale(96);
        auto host = std::make_unique<HostWindow>();
        ASSERT_NE(host->hwnd(), nullptr);
        Win32ListView list(host->hwnd(), kListId, kPlace, scale);
        int made = 0;
        list.SetNamesService(CountedService(made, way != Names::Refused, [way, &made](HWND list) {
            if (way != Names::ClosedWhileStarting || made > 1) return;
            SendMessageW(list, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
            SendMessageW(GetParent(list), WM_CLOSE, 0, 0);
        }));
        // UI Automation's root (UiaRootObjectId), or the window object.
        const LPARAM id = way == Names::Made ? LPARAM{-25} : LPARAM{OBJID_WINDOW};
        SendMessageW(list.hwnd(), WM_GETOBJECT, 0, id);
        EXPECT_EQ(list.Names() != nullptr, way == Names::Made) << "a reader asked: before rows";
        list.ShowRows({RowOf(u"k", u"row")});
        SendMessageW(list.hwnd(), WM_GETOBJECT, 0, id);
        EXPECT_EQ(made, 1);
        host.reset();  // the window and its child go first
        EXPECT_FALSE(IsWindow(list.hwnd()));
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_EQ(list.KeyOf(0), std::nullopt);
        list.ShowRows({RowOf(u"k", u"row"), RowOf(u"l", u"row")});
        EXPECT_EQ(list.Names(), nullptr) << "gone with the window, and not made again";
    }
}

}  // namespace
}  // namespace kestrova::win32
