#include "platform/win32/TableMenu.h"

#include "platform/win32/GdiHandles.h"

namespace kestrova::win32 {

namespace {
constexpr UINT kCopy = 1;
constexpr UINT kSelectAll = 2;
}  // namespace

TableMenuChoice ShowTableMenu(HWND owner, POINT screen, bool canCopy, bool canSelectAll) {
    unique_hmenu menu(CreatePopupMenu());
    if (!menu) return TableMenuChoice::None;
    // The same keys as the table's own, shown where menus show them.
    AppendMenuW(menu.get(), MF_STRING | (canCopy ? 0u : MF_GRAYED), kCopy, L"&Copy\tCtrl+C");
    AppendMenuW(menu.get(), MF_STRING | (canSelectAll ? 0u : MF_GRAYED), kSelectAll,
                L"Select &all\tCtrl+A");
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                       screen.x, screen.y, 0, owner, nullptr));
    if (chosen == kCopy) return TableMenuChoice::Copy;
    if (chosen == kSelectAll) return TableMenuChoice::SelectAll;
    return TableMenuChoice::None;
}

}  // namespace kestrova::win32
