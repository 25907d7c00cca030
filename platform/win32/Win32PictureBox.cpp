#include "platform/win32/Win32PictureBox.h"

#include <system_error>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {
HWND CreatePicture(HWND parent, int controlId, TextView accessibleName) {
    const HWND hwnd = CreateWindowExW(
        0, L"STATIC", ToWide(accessibleName).c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW | SS_NOTIFY, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "creating a picture");
    return hwnd;
}
}  // namespace

Win32PictureBox::Win32PictureBox(HWND parent, int controlId, const ControlPlace& place,
                                 const DpiScale& scale, HINSTANCE iconModule, int iconId,
                                 TextView accessibleName)
    : ChildControl(CreatePicture(parent, controlId, accessibleName), place, scale),
      iconModule_(iconModule),
      iconId_(iconId) {
    ReloadIcon();
}

void Win32PictureBox::SetBackColour(COLORREF back) {
    back_.reset(CreateSolidBrush(back));
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32PictureBox::ReloadIcon() {
    iconSize_ = scale().Scale96(16);
    // Not LR_SHARED: a shared icon comes back at whatever size was loaded
    // first and must not be destroyed.
    icon_.reset(static_cast<HICON>(LoadImageW(iconModule_, MAKEINTRESOURCEW(iconId_), IMAGE_ICON,
                                              iconSize_, iconSize_, LR_DEFAULTCOLOR)));
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32PictureBox::Draw(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, back_ ? back_.get() : GetSysColorBrush(COLOR_BTNFACE));
    if (icon_) {
        DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon_.get(), iconSize_, iconSize_,
                   0, nullptr, DI_NORMAL);
    }
}

}  // namespace kestrova::win32
