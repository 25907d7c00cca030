// Plain text on the clipboard, for copying table rows.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/Text.h"

namespace kestrova::win32 {

// Clipboard history, remote desktop and Office hold the clipboard open for a
// moment. A copy tries to open it this many times, a pause apart (0.36 s of
// waiting in all), before it gives up.
inline constexpr int kClipboardOpenTries = 10;
inline constexpr DWORD kClipboardRetryPauseMs = 40;

// The clipboard needs an owner window for SetClipboardData to succeed. False
// when the clipboard could not be opened or written; nothing then leaks, and
// telling the user is the caller's part.
bool PutOnClipboard(HWND owner, TextView text);
// The same with `pause` run between two tries to open the clipboard instead
// of the sleep, so a test can let go of the clipboard at a known try.
bool PutOnClipboard(HWND owner, TextView text, const std::function<void()>& pause);

}  // namespace kestrova::win32
