// What the clipboard holds as text, read the way a program pasting it would;
// nothing when it holds no text or cannot be opened.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kestrova::win32 {

inline std::optional<std::wstring> ClipboardText() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace kestrova::win32
