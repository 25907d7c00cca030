#include "platform/win32/Win32ListView.h"

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <type_traits>

#include "inventory/AdapterColumns.h"
#include "inventory/StatusImages.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"

namespace kestrova::win32 {
namespace {

struct ImageListDestroy {
    void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
};
using unique_himagelist = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroy>;

struct IconDestroy {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using unique_hicon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroy>;

// In the order of the 1-based small-icon indexes.
constexpr std::array<int, 3> kStatusIconIds{IDI_STATUS_GREEN, IDI_STATUS_YELLOW, IDI_STATUS_RED};
static_assert(kStatusIconIds.size() == kStatusImages.size());

constexpr int kSubItemCount = static_cast<int>(kAdapterColumns.size()) - 1;

HWND CreateListWindow(HWND parent, int controlId) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    // No LVS_SHAREIMAGELISTS: the control destroys the image list bound to
    // it when it is destroyed, whichever of it and this wrapper goes first.
    return CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
}

// All three lights or none: a missing one would shift the indexes of the
// ones after it.
unique_himagelist CreateStatusImages(int size) {
    unique_himagelist list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK,
                                            static_cast<int>(kStatusIconIds.size()), 0));
    if (!list) return nullptr;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    for (int id : kStatusIconIds) {
        unique_hicon icon(static_cast<HICON>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        if (!icon || ImageList_AddIcon(list.get(), icon.get()) < 0) return nullptr;
    }
    return list;
}

void BindStatusImages(HWND hwnd, int size) {
    unique_himagelist list = CreateStatusImages(size);
    if (!list) return;
    // The control now owns the new list; the one it gives back is ours to end.
    unique_himagelist previous(reinterpret_cast<HIMAGELIST>(
        SendMessageW(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(list.get()))));
    static_cast<void>(list.release());
}

}  // namespace

Win32ListView::Win32ListView(HWND parent, int controlId, const ControlPlace& place,
                             const DpiScale& scale)
    : ChildControl(CreateListWindow(parent, controlId), place, scale), columnsDpi_(scale.Dpi()) {
    if (!hwnd()) return;
    SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (std::size_t i = 0; i < kAdapterColumns.size(); ++i) {
        std::wstring header = ToWide(kAdapterColumns[i].header);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = scale.ToPixels(static_cast<float>(kAdapterColumns[i].widthTwips));
        column.pszText = header.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(hwnd(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    BindStatusImages(hwnd(), scale.Scale96(kStatusImageSize));
}

void Win32ListView::SetRedraw(bool redraw) {
    SendMessageW(hwnd(), WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    // Turning drawing back on does not by itself repaint what changed meanwhile.
    if (redraw) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Win32ListView::DeleteAllItems() {
    SendMessageW(hwnd(), LVM_DELETEALLITEMS, 0, 0);
    keys_.clear();
    keyIds_.clear();
}

std::optional<int> Win32ListView::InsertItem(const std::optional<Text>& key, TextView text,
                                             int smallIcon) {
    if (!hwnd()) return std::nullopt;
    if (key && keyIds_.find(*key) != keyIds_.end()) return std::nullopt;

    std::wstring wide = ToWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = GetItemCount();
    item.pszText = wide.data();
    item.iImage = smallIcon - 1;
    item.lParam = key ? static_cast<LPARAM>(keys_.size() + 1) : 0;
    const auto row =
        static_cast<int>(SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return std::nullopt;
    if (key) {
        keys_.push_back(*key);
        keyIds_.emplace(*key, item.lParam);
    }
    return row;
}

bool Win32ListView::SetItemText(int row, int subItem, TextView text) {
    if (row < 0 || row >= GetItemCount() || subItem < 1 || subItem > kSubItemCount) return false;
    std::wstring wide = ToWide(text);
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = wide.data();
    return SendMessageW(hwnd(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item)) != FALSE;
}

float Win32ListView::Top() const {
    return place().top;
}

void Win32ListView::SetWidth(float twips) {
    SetWidthTwips(twips);
}

void Win32ListView::SetHeight(float twips) {
    SetHeightTwips(twips);
}

int Win32ListView::GetItemCount() const {
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0));
}

Text Win32ListView::GetItemText(int row, int column) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column > kSubItemCount) return {};
    // The message says only how much it copied, so grow until it fits.
    std::wstring buffer(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto copied = static_cast<std::size_t>(SendMessageW(
            hwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < buffer.size() || buffer.size() >= (std::size_t{1} << 20)) {
            buffer.resize(copied);
            return FromWide(buffer);
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

LPARAM Win32ListView::KeyIdOf(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
}

std::optional<Text> Win32ListView::KeyOf(int row) const {
    const LPARAM id = KeyIdOf(row);
    if (id <= 0 || static_cast<std::size_t>(id) > keys_.size()) return std::nullopt;
    return keys_[static_cast<std::size_t>(id) - 1];
}

int Win32ListView::GetSmallIcon(int row) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!SendMessageW(hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.iImage + 1;
}

std::vector<int> Win32ListView::GetSelectedRows() const {
    std::vector<int> rows;
    if (!hwnd()) return rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                MAKELPARAM(LVNI_SELECTED, 0)))) >= 0) {
        rows.push_back(row);
    }
    return rows;
}

void Win32ListView::SelectAll() {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    // Row -1 means every row.
    SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

Text Win32ListView::GetColumnHeader(int column) const {
    std::array<wchar_t, 512> buffer{};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = buffer.data();
    info.cchTextMax = static_cast<int>(buffer.size());
    if (!SendMessageW(hwnd(), LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                      reinterpret_cast<LPARAM>(&info))) {
        return {};
    }
    return FromWide(info.pszText);
}

int Win32ListView::GetColumnWidth(int column) const {
    return static_cast<int>(
        SendMessageW(hwnd(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void Win32ListView::OnDpiChanged() {
    if (!hwnd()) return;
    const unsigned dpi = scale().Dpi();
    if (dpi != columnsDpi_) {
        for (int column = 0; column < static_cast<int>(kAdapterColumns.size()); ++column) {
            const int width = MulDiv(GetColumnWidth(column), static_cast<int>(dpi),
                                     static_cast<int>(columnsDpi_));
            SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                         MAKELPARAM(width, 0));
        }
        columnsDpi_ = dpi;
    }
    BindStatusImages(hwnd(), scale().Scale96(kStatusImageSize));
    ApplyPlace();
}

}  // namespace kestrova::win32
