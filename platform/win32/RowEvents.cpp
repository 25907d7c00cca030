#include "platform/win32/RowEvents.h"

namespace kestrova::win32 {

void RaiseRowEvents(HWND list, const TableUpdate& update) {
    if (!list) return;
    // Child ids of a list's rows count from 1.
    for (int position : update.lightChanged) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, list, OBJID_CLIENT, position + 1);
    }
    for (int position : update.cellsChanged) {
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, list, OBJID_CLIENT, position + 1);
    }
    if (update.reordered) NotifyWinEvent(EVENT_OBJECT_REORDER, list, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace kestrova::win32
