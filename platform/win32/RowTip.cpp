#include "platform/win32/RowTip.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {

// Room the list leaves around a cell's text, at 96 DPI; a text wider than
// its cell less this is cut off with an ellipsis.
constexpr int kCellTextMargin = 12;

bool FitsItsCell(HWND list, int row, int column, TextView text, const DpiScale& scale) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&cell))) {
        return true;
    }
    // Measured by the list itself, in its own font.
    const std::wstring wide = ToWide(text);
    const auto width = static_cast<int>(
        SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
    return width + scale.Scale96(kCellTextMargin) <= cell.right - cell.left;
}

}  // namespace

std::optional<Text> RowTipAt(HWND list, const AdapterTable& table, POINT client,
                             const DpiScale& scale) {
    if (!list) return std::nullopt;
    LVHITTESTINFO hit{};
    hit.pt = client;
    if (SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 ||
        hit.iItem < 0 || hit.iItem >= table.Count() || (hit.flags & LVHT_ONITEM) == 0) {
        return std::nullopt;
    }
    const AdapterRow& row = table.Row(hit.iItem);
    Text tip;
    if (hit.iSubItem == 0 && (hit.flags & LVHT_ONITEMICON) != 0) {
        tip = u"Light: " + Text(LightMeaning(row.smallIcon));
    } else if (const TextView text = CellText(row, hit.iSubItem);
               !text.empty() && !FitsItsCell(list, hit.iItem, hit.iSubItem, text, scale)) {
        tip = Text(text);
    }
    if (const RowMark& mark = table.Mark(hit.iItem); mark.on) {
        if (!tip.empty()) tip += u"\n\n";
        // Dated when not of today: a tip read on Monday of a change on Friday.
        const Win32Locale locale;
        tip += DescribeMarks(mark.history, WhenFormat(locale, Win32Clock().Now()));
    }
    if (tip.empty()) return std::nullopt;
    return tip;
}

}  // namespace kestrova::win32
