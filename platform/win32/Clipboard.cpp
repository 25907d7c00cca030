#include "platform/win32/Clipboard.h"

#include <cstring>

namespace kestrova::win32 {

namespace {
bool OpenClipboardPatiently(HWND owner, const std::function<void()>& pause) {
    for (int tries = 1;; ++tries) {
        if (OpenClipboard(owner)) return true;
        if (tries == kClipboardOpenTries) return false;
        pause();
    }
}
}  // namespace

bool PutOnClipboard(HWND owner, TextView text) {
    return PutOnClipboard(owner, text, [] { Sleep(kClipboardRetryPauseMs); });
}

bool PutOnClipboard(HWND owner, TextView text, const std::function<void()>& pause) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
        std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
        target[text.size()] = L'\0';
        GlobalUnlock(memory);
    } else {
        GlobalFree(memory);
        return false;
    }
    if (!OpenClipboardPatiently(owner, pause)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // On success the clipboard owns the memory; on failure it is still ours.
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed) GlobalFree(memory);
    return placed;
}

}  // namespace kestrova::win32
