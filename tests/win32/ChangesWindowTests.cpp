// The list of changes as a window: what the control holds, read through its
// own messages, while the change log grows under it.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/ChangesWindow.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/WideText.h"
#include "win32/ClipboardText.h"
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
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window->list(), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(9, 144, 72));
}

}  // namespace
}  // namespace kestrova::win32
