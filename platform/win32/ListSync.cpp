#include "platform/win32/ListSync.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/ListPlace.h"

namespace kestrova::win32 {

void SyncList(HWND list, const TableUpdate& update) {
    if (!list || update.Nothing()) return;
    if (update.reordered) {
        // The control's selection, focus and scroll still count the rows as
        // they were: read them before the count changes.
        const ListPlace place = ListPlace::Of(list);
        // Setting the count re-lays the whole list (15 to 25 ms under Wine,
        // whatever the count): only when it changed.
        if (update.countAfter != update.countBefore) {
            SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(update.countAfter),
                         LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        }
        place.RestoreMoved(list, update.movedTo);
        if (update.countAfter < update.countBefore) {
            // The rows that went leave blank space that no repaint names.
            RECT below{};
            GetClientRect(list, &below);
            RECT last{};
            last.left = LVIR_BOUNDS;
            if (update.countAfter > 0 &&
                SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(update.countAfter - 1),
                             reinterpret_cast<LPARAM>(&last))) {
                below.top = std::max(below.top, last.bottom);
            }
            InvalidateRect(list, &below, TRUE);
        }
    }
    // Only rows in view: the others ask for their cells when they scroll
    // into view, and each row invalidated costs the control a call to the
    // window manager. Runs of neighbouring rows repaint together.
    const auto first = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const int last = first + static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    const auto begin = std::lower_bound(update.repaint.begin(), update.repaint.end(), first);
    const auto end = std::upper_bound(begin, update.repaint.end(), last);
    for (auto i = begin; i != end;) {
        auto j = i;
        while (j + 1 != end && *(j + 1) == *j + 1) ++j;
        SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(*i), static_cast<LPARAM>(*j));
        i = j + 1;
    }
}

void ResyncList(HWND list, int count) {
    if (!list) return;
    SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace kestrova::win32
