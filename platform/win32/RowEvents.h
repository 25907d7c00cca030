// What assistive technology is told when a refresh or a sort changes the
// adapter table. A virtual list cannot know that a row's text changed, so
// the program says it: a row whose light changed has a new name (the name
// carries the light, see RowNames), a row whose cells changed a new
// description, and a new order or number of rows is a reorder of the list.
#pragma once

#include <windows.h>

#include "inventory/AdapterTable.h"

namespace kestrova::win32 {

void RaiseRowEvents(HWND list, const TableUpdate& update);

}  // namespace kestrova::win32
