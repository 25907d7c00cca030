#include "platform/win32/ChangedRowColours.h"

namespace kestrova::win32 {

RowColours ChangedRowColours(bool highContrast) {
    // High-contrast schemes promise that link text reads on the window
    // colour; a colour of our own might not.
    if (highContrast) return {GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_WINDOW)};
    // On the usual schemes a pale amber that neither the selection nor an
    // ordinary row uses, with black text whatever the scheme's text colour.
    return {RGB(0, 0, 0), RGB(255, 232, 160)};
}

}  // namespace kestrova::win32
