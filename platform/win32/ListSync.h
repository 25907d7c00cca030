// Brings a virtual list view up to a change of the rows it shows: its row
// count, the user's place, and the repaint of what changed, in view only.
#pragma once

#include <windows.h>

#include "inventory/AdapterTable.h"

namespace kestrova::win32 {

void SyncList(HWND list, const TableUpdate& update);

// When the control's rows and the table's disagree (another program emptied
// the control): shows all `count` rows again, every one repainted.
void ResyncList(HWND list, int count);

}  // namespace kestrova::win32
