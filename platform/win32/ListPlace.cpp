#include "platform/win32/ListPlace.h"

#include <commctrl.h>

namespace kestrova::win32 {

namespace {

int Moved(const std::vector<int>& movedTo, int row) {
    if (row < 0 || row >= static_cast<int>(movedTo.size())) return -1;
    return movedTo[static_cast<std::size_t>(row)];
}

// The row that now stands where `top` stood: the first survivor from there
// on, or the last one before it when everything below went.
int NewTop(const std::vector<int>& movedTo, int top) {
    for (int row = top; row < static_cast<int>(movedTo.size()); ++row) {
        if (const int now = Moved(movedTo, row); now >= 0) return now;
    }
    for (int row = top - 1; row >= 0; --row) {
        if (const int now = Moved(movedTo, row); now >= 0) return now;
    }
    return 0;
}

void SetState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int RowHeight(HWND list) {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect))) return 0;
    return rect.bottom - rect.top;
}

}  // namespace

ListPlace ListPlace::Of(HWND list) {
    ListPlace place;
    // Each answer lies after the row asked from; a list already destroyed
    // answers 0 to everything, which must not go round for ever.
    for (int row = -1;;) {
        const auto next = static_cast<int>(SendMessageW(
            list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
        if (next <= row) break;
        place.selected.push_back(row = next);
    }
    place.focused = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    place.mark = static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
    place.top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    place.scrollX = GetScrollPos(list, SB_HORZ);
    return place;
}

void ListPlace::RestoreMoved(HWND list, const std::vector<int>& movedTo) const {
    // Row -1 stands for every row.
    SetState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : selected) {
        if (const int now = Moved(movedTo, row); now >= 0) SetState(list, now, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (const int now = Moved(movedTo, focused); now >= 0) SetState(list, now, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, Moved(movedTo, mark));

    // A report view scrolls by whole rows; LVM_SCROLL takes pixels. A list
    // scrolled to its top stays there: rows that come above the first are
    // the news the user should see, not something to scroll past.
    const int wantedTop = top == 0 ? 0 : NewTop(movedTo, top);
    const int currentTop = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    if (wantedTop != currentTop) {
        if (const int height = RowHeight(list); height > 0) {
            SendMessageW(list, LVM_SCROLL, 0, (wantedTop - currentTop) * height);
        }
    }
    if (const int dx = scrollX - GetScrollPos(list, SB_HORZ); dx != 0) {
        SendMessageW(list, LVM_SCROLL, static_cast<WPARAM>(dx), 0);
    }
}

}  // namespace kestrova::win32
