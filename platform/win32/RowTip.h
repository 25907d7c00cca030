// What the adapter table's tip says at a point: over a light, what the light
// means; over a cell too narrow for its text, the whole text; and on a row
// marked as changed, what changed, newest first.
#pragma once

#include <windows.h>

#include <optional>

#include "inventory/AdapterTable.h"
#include "platform/win32/DpiScale.h"

namespace kestrova::win32 {

// `client` is in the list's client area. Nothing when there is nothing to
// say there.
std::optional<Text> RowTipAt(HWND list, const AdapterTable& table, POINT client,
                             const DpiScale& scale);

}  // namespace kestrova::win32
