// The adapter table on a real window: what the control itself holds, read
// through its own messages, not through the wrapper's bookkeeping.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "inventory/AdapterColumns.h"
#include "inventory/StatusImages.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32ListView.h"
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
    ASSERT_TRUE(list.InsertItem(u"k", u"row", 2).has_value());

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

TEST_F(Win32ListViewTestsRows, InsertedRowsHoldTextLightAndKey) {
    struct Row {
        std::optional<Text> key;
        Text text;
        int smallIcon;
    };
    const std::vector<Row> rows{
        {u"00:11:22:33:44:55", u"eth0", 1},
        {std::nullopt, u"no key", 3},
        {u"aa:bb:cc:dd:ee:ff", u"Wi\u2011Fi \u00fc \U0001F600", 2},
        {u"", u"empty key is still a key", 1},
        {std::nullopt, u"", 2},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const std::optional<int> at =
            list->InsertItem(rows[i].key, rows[i].text, rows[i].smallIcon);
        ASSERT_TRUE(at.has_value());
        EXPECT_EQ(*at, static_cast<int>(i));  // appended
    }
    ASSERT_EQ(ItemCount(list->hwnd()), static_cast<int>(rows.size()));
    EXPECT_EQ(list->GetItemCount(), static_cast<int>(rows.size()));

    std::vector<LPARAM> keyedParams;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const int row = static_cast<int>(i);
        const ItemRead item = ReadItem(list->hwnd(), row);
        ASSERT_TRUE(item.found);
        EXPECT_EQ(item.image, rows[i].smallIcon - 1);
        EXPECT_EQ(FromWide(ReadText(list->hwnd(), row, 0)), rows[i].text);
        EXPECT_EQ(list->GetItemText(row, 0), rows[i].text);
        EXPECT_EQ(list->GetSmallIcon(row), rows[i].smallIcon);
        EXPECT_EQ(list->KeyOf(row), rows[i].key);
        if (rows[i].key) {
            EXPECT_NE(item.param, 0);
            keyedParams.push_back(item.param);
        } else {
            EXPECT_EQ(item.param, 0);
        }
    }
    for (std::size_t a = 0; a < keyedParams.size(); ++a) {
        for (std::size_t b = a + 1; b < keyedParams.size(); ++b) {
            EXPECT_NE(keyedParams[a], keyedParams[b]) << a << " " << b;
        }
    }
    EXPECT_EQ(list->KeyOf(static_cast<int>(rows.size())), std::nullopt);
    EXPECT_EQ(list->GetSmallIcon(static_cast<int>(rows.size())), 0);
}

TEST_F(Win32ListViewTestsRows, RefusesAKeyAlreadyPresentAndAddsNothing) {
    ASSERT_EQ(list->InsertItem(u"mac-1", u"first", 1), std::optional<int>(0));
    ASSERT_EQ(list->InsertItem(u"mac-2", u"second", 2), std::optional<int>(1));

    EXPECT_EQ(list->InsertItem(u"mac-1", u"again", 3), std::nullopt);
    EXPECT_EQ(list->InsertItem(u"mac-2", u"again", 3), std::nullopt);
    EXPECT_EQ(ItemCount(list->hwnd()), 2);
    EXPECT_EQ(FromWide(ReadText(list->hwnd(), 0, 0)), u"first");
    EXPECT_EQ(ReadItem(list->hwnd(), 0).image, 0);

    // Keys compare exactly: case and length matter.
    EXPECT_EQ(list->InsertItem(u"MAC-1", u"other case", 1), std::optional<int>(2));
    EXPECT_EQ(list->InsertItem(u"mac-1 ", u"trailing space", 1), std::optional<int>(3));
    EXPECT_EQ(ItemCount(list->hwnd()), 4);
}

TEST_F(Win32ListViewTestsRows, RowsWithoutAKeyMayRepeat) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->InsertItem(std::nullopt, u"same", 2), std::optional<int>(i));
    }
    EXPECT_EQ(ItemCount(list->hwnd()), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ReadItem(list->hwnd(), i).param, 0);
}

TEST_F(Win32ListViewTestsRows, DeleteAllItemsEmptiesTheTableAndForgetsKeys) {
    ASSERT_TRUE(list->InsertItem(u"a", u"A", 1));
    ASSERT_TRUE(list->InsertItem(u"b", u"B", 2));
    list->DeleteAllItems();
    EXPECT_EQ(ItemCount(list->hwnd()), 0);
    EXPECT_EQ(list->GetItemCount(), 0);

    EXPECT_EQ(list->InsertItem(u"b", u"B again", 3), std::optional<int>(0));
    EXPECT_EQ(list->InsertItem(u"a", u"A again", 1), std::optional<int>(1));
    EXPECT_EQ(list->KeyOf(0), std::optional<Text>(u"b"));
    EXPECT_EQ(list->KeyOf(1), std::optional<Text>(u"a"));
    EXPECT_EQ(list->InsertItem(u"a", u"A thrice", 1), std::nullopt);
}

TEST_F(Win32ListViewTestsRows, SetsEachSubItemOfARow) {
    ASSERT_TRUE(list->InsertItem(u"k0", u"row 0", 1));
    ASSERT_TRUE(list->InsertItem(u"k1", u"row 1", 2));
    const int subItems = static_cast<int>(kAdapterColumns.size()) - 1;
    for (int sub = 1; sub <= subItems; ++sub) {
        const Text text = u"cell " + DecimalText(static_cast<std::uint64_t>(sub));
        EXPECT_TRUE(list->SetItemText(1, sub, text)) << sub;
    }
    for (int sub = 1; sub <= subItems; ++sub) {
        SCOPED_TRACE(sub);
        const Text expected = u"cell " + DecimalText(static_cast<std::uint64_t>(sub));
        EXPECT_EQ(FromWide(ReadText(list->hwnd(), 1, sub)), expected);
        EXPECT_EQ(list->GetItemText(1, sub), expected);
        EXPECT_EQ(FromWide(ReadText(list->hwnd(), 0, sub)), u"");  // the other row untouched
    }
    EXPECT_EQ(FromWide(ReadText(list->hwnd(), 1, 0)), u"row 1");

    // Overwrites, and texts longer than any fixed buffer.
    const Text longText(3000, u'x');
    EXPECT_TRUE(list->SetItemText(0, 2, longText));
    EXPECT_EQ(list->GetItemText(0, 2), longText);
    EXPECT_TRUE(list->SetItemText(0, 2, u"short"));
    EXPECT_EQ(FromWide(ReadText(list->hwnd(), 0, 2)), u"short");
}

TEST_F(Win32ListViewTestsRows, RefusesCellsOutsideTheTable) {
    ASSERT_TRUE(list->InsertItem(u"k0", u"row 0", 1));
    struct Cell {
        int row;
        int subItem;
    };
    for (const Cell& cell : {Cell{1, 1}, Cell{-1, 1}, Cell{0, 0}, Cell{0, 13}, Cell{0, -1}}) {
        EXPECT_FALSE(list->SetItemText(cell.row, cell.subItem, u"x"))
            << cell.row << "," << cell.subItem;
    }
    EXPECT_EQ(FromWide(ReadText(list->hwnd(), 0, 0)), u"row 0");
    EXPECT_EQ(ItemCount(list->hwnd()), 1);
}

TEST_F(Win32ListViewTestsRows, SelectAllSelectsEveryRowAndSelectionReadsBack) {
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(list->InsertItem(std::nullopt, u"r", 1));
    EXPECT_TRUE(list->GetSelectedRows().empty());

    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list->hwnd(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list->hwnd(), LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{1, 3}));

    list->SelectAll();
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(SendMessageW(list->hwnd(), LVM_GETSELECTEDCOUNT, 0, 0), 5);
}

// Held off, changes leave nothing to repaint; back on, the whole list is due.
TEST(Win32ListViewTests, RedrawHeldOffThenRepaintsTheWholeList) {
    HostWindow host(true);  // only a shown window keeps an update region
    ASSERT_NE(host.hwnd(), nullptr);
    DpiScale scale(96);
    Win32ListView list(host.hwnd(), kListId, kPlace, scale);
    ASSERT_NE(list.hwnd(), nullptr);
    ASSERT_TRUE(list.InsertItem(u"k", u"row", 1));
    UpdateWindow(host.hwnd());
    ValidateRect(list.hwnd(), nullptr);
    RECT dirty{};
    ASSERT_FALSE(GetUpdateRect(list.hwnd(), &dirty, FALSE));

    list.SetRedraw(false);
    ASSERT_TRUE(list.InsertItem(u"k2", u"row 2", 2));
    ASSERT_TRUE(list.SetItemText(0, 1, u"changed"));
    EXPECT_FALSE(GetUpdateRect(list.hwnd(), &dirty, FALSE));

    list.SetRedraw(true);
    EXPECT_TRUE(GetUpdateRect(list.hwnd(), &dirty, FALSE));
    RECT client{};
    GetClientRect(list.hwnd(), &client);
    EXPECT_TRUE(EqualRect(&dirty, &client));
    EXPECT_EQ(ItemCount(list.hwnd()), 2);
}

TEST(Win32ListViewTests, DestroyedWithTheParentBeforeTheWrapper) {
    DpiScale scale(96);
    auto host = std::make_unique<HostWindow>();
    ASSERT_NE(host->hwnd(), nullptr);
    Win32ListView list(host->hwnd(), kListId, kPlace, scale);
    ASSERT_TRUE(list.InsertItem(u"k", u"row", 1));
    host.reset();  // the window and its child go first
    EXPECT_FALSE(IsWindow(list.hwnd()));
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.KeyOf(0), std::nullopt);
}

}  // namespace
}  // namespace kestrova::win32
