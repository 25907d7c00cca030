#include "platform/win32/AdapterListWindow.h"

#include <commctrl.h>

#include <string>

#include "inventory/AdapterColumns.h"
#include "inventory/StatusImages.h"
#include "platform/win32/StatusImageList.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {

HWND CreateAdapterList(HWND parent, int controlId, const DpiScale& scale) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    // No LVS_SHAREIMAGELISTS: the control destroys the image list bound to
    // it when it is destroyed, whichever of it and its wrapper goes first.
    const HWND list = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
    if (!list) return nullptr;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (std::size_t i = 0; i < kAdapterColumns.size(); ++i) {
        std::wstring header = ToWide(kAdapterColumns[i].header);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = scale.ToPixels(static_cast<float>(kAdapterColumns[i].widthTwips));
        column.pszText = header.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    BindStatusImages(list, scale.Scale96(kStatusImageSize));
    return list;
}

}  // namespace kestrova::win32
