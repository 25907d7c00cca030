// Plain text on the clipboard, for copying table rows.
#pragma once

#include <windows.h>

#include "platform/Text.h"

namespace kestrova::win32 {

// The clipboard needs an owner window for SetClipboardData to succeed. False
// when the clipboard could not be opened or written; nothing then leaks.
bool PutOnClipboard(HWND owner, TextView text);

}  // namespace kestrova::win32
