// Which rows a report-view list shows, and which of its messages can move
// them: what the time a person saw a row is counted over.
#pragma once

#include <windows.h>

#include "inventory/AdapterTable.h"

namespace kestrova::win32 {

// The rows of the first `count` at least partly in the client area, below
// the header. LVM_GETCOUNTPERPAGE counts whole rows only; the row the bottom
// cuts is in view too.
TableView RowsInView(HWND list, int count);

// Messages that never move the view and come often: painting, the pointer
// passing with no button down, and questions, the list's own and other
// programs'. A drag with a button down may scroll, so it can.
bool MovesNoView(UINT message, WPARAM wParam);

}  // namespace kestrova::win32
