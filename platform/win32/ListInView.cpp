#include "platform/win32/ListInView.h"

#include <commctrl.h>

#include <algorithm>

namespace kestrova::win32 {

TableView RowsInView(HWND list, int count) {
    TableView view;
    view.top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    RECT top{};
    top.left = LVIR_BOUNDS;
    RECT client{};
    if (view.top < count && GetClientRect(list, &client) &&
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(view.top),
                     reinterpret_cast<LPARAM>(&top))) {
        // Counted from the top row's height: a report view's rows are all
        // as high.
        const int height = static_cast<int>(top.bottom - top.top);
        if (height > 0 && client.right > client.left && client.bottom > top.top) {
            view.rows = std::min(static_cast<int>((client.bottom - top.top + height - 1) / height),
                                 count - view.top);
        }
    }
    return view;
}

bool MovesNoView(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_ERASEBKGND:
        case WM_NCHITTEST:
        case WM_SETCURSOR:
        case WM_NCMOUSEMOVE:
        case WM_GETOBJECT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
        case WM_GETFONT:
        case WM_GETDLGCODE:
        case LVM_GETITEMCOUNT:
        case LVM_GETTOPINDEX:
        case LVM_GETCOUNTPERPAGE:
        case LVM_GETITEMRECT:
        case LVM_GETSUBITEMRECT:
        case LVM_GETNEXTITEM:
        case LVM_GETITEMSTATE:
        case LVM_GETITEMW:
        case LVM_GETITEMTEXTW:
        case LVM_GETSELECTIONMARK:
        case LVM_GETSELECTEDCOUNT:
        case LVM_GETHEADER:
        case LVM_GETCOLUMNW:
        case LVM_GETCOLUMNWIDTH:
        case LVM_GETSTRINGWIDTHW:
        case LVM_GETIMAGELIST:
        case LVM_HITTEST:
        case LVM_SUBITEMHITTEST:
            return true;
        case WM_MOUSEMOVE:
            return (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
        default:
            return false;
    }
}

}  // namespace kestrova::win32
