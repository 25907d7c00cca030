// The colours of a table row that changed in the last refresh: apart from
// both an ordinary row and the selection, on any colour scheme.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

struct RowColours {
    COLORREF text;
    COLORREF back;
};

// Asked at each paint, so a switch to or from high contrast shows at the
// next one.
RowColours ChangedRowColours(bool highContrast);

}  // namespace kestrova::win32
