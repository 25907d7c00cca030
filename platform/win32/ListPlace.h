// The user's place in a list view: the selected rows, the focused row, the
// anchor of Shift-selection, the top row and the sideways scroll. Taken
// before the rows move and put back afterwards, each row following its
// adapter, so a refresh or a sort never loses what the user was looking at.
#pragma once

#include <windows.h>

#include <vector>

namespace kestrova::win32 {

struct ListPlace {
    std::vector<int> selected;
    int focused = -1;
    int mark = -1;
    int top = 0;
    int scrollX = 0;  // pixels

    static ListPlace Of(HWND list);

    // `movedTo` takes each row index of the place to where that row is now,
    // or -1 when it is gone: a gone row is no longer selected or focused, and
    // a gone top row gives its place to the first row after it that stayed;
    // a list at its top stays at its top.
    void RestoreMoved(HWND list, const std::vector<int>& movedTo) const;
};

}  // namespace kestrova::win32
