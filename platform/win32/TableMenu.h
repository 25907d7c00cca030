// The adapter table's context menu: Copy, Select all, Next change and
// Changes..., each greyed when there is nothing for it to do.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

enum class TableMenuChoice { None, Copy, SelectAll, NextChange, Changes };

struct TableMenuItems {
    bool canCopy;
    bool canSelectAll;
    bool canGoToChange;
    bool canShowChanges;
};

// Shows the menu with its top-left corner at `screen` and waits for the
// user's choice (or none, when the menu is dismissed).
TableMenuChoice ShowTableMenu(HWND owner, POINT screen, const TableMenuItems& items);

}  // namespace kestrova::win32
