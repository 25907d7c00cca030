// The adapter table's context menu: Copy and Select all, each greyed when
// there is nothing for it to do.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

enum class TableMenuChoice { None, Copy, SelectAll };

// Shows the menu with its top-left corner at `screen` and waits for the
// user's choice (or none, when the menu is dismissed).
TableMenuChoice ShowTableMenu(HWND owner, POINT screen, bool canCopy, bool canSelectAll);

}  // namespace kestrova::win32
