// The three status lights as the table's small images, loaded from the
// program's icons at the size the DPI calls for.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

// Binds a new list of the three lights, `size` pixels square, to `list` (a
// list view), which owns it from then on; the list it had is destroyed. When
// any light cannot be loaded the list keeps the images it had: a missing
// light would shift the indexes of the ones after it.
void BindStatusImages(HWND list, int size);

// Whether `list` has lights to show: false when none could be bound at its
// creation, and so until a later bind succeeds.
bool HasStatusImages(HWND list);

}  // namespace kestrova::win32
