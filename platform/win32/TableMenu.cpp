#include "platform/win32/TableMenu.h"

#include "platform/win32/GdiHandles.h"

namespace kestrova::win32 {

namespace {
constexpr UINT kCopy = 1;
constexpr UINT kSelectAll = 2;
constexpr UINT kChanges = 3;
constexpr UINT kNextChange = 4;
}  // namespace

TableMenuChoice ShowTableMenu(HWND owner, POINT screen, const TableMenuItems& items) {
    unique_hmenu menu(CreatePopupMenu());
    if (!menu) return TableMenuChoice::None;
    const auto enabled = [](bool can) { return MF_STRING | (can ? 0u : MF_GRAYED); };
    // The same keys as the table's own, shown where menus show them.
    AppendMenuW(menu.get(), enabled(items.canCopy), kCopy, L"&Copy\tCtrl+C");
    AppendMenuW(menu.get(), enabled(items.canSelectAll), kSelectAll, L"Select &all\tCtrl+A");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), enabled(items.canGoToChange), kNextChange, L"&Next change\tF8");
    AppendMenuW(menu.get(), enabled(items.canShowChanges), kChanges, L"C&hanges\u2026");
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                       screen.x, screen.y, 0, owner, nullptr));
    switch (chosen) {
        case kCopy: return TableMenuChoice::Copy;
        case kSelectAll: return TableMenuChoice::SelectAll;
        case kNextChange: return TableMenuChoice::NextChange;
        case kChanges: return TableMenuChoice::Changes;
        default: return TableMenuChoice::None;
    }
}

}  // namespace kestrova::win32
