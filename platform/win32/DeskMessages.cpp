#include "platform/win32/DeskMessages.h"

#include <wtsapi32.h>

namespace kestrova::win32 {

std::optional<DeskEvent> DeskEventOf(UINT message, WPARAM wParam) {
    switch (message) {
        // Sent once for the whole program, its window of changes included.
        case WM_ACTIVATEAPP:
            return wParam ? DeskEvent::Activated : DeskEvent::Deactivated;
        case WM_SIZE:
            // Not SIZE_MAXHIDE and SIZE_MAXSHOW: those tell of another window.
            if (wParam == SIZE_MINIMIZED) return DeskEvent::Minimized;
            if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) return DeskEvent::Restored;
            return std::nullopt;
        case WM_WTSSESSION_CHANGE:
            switch (wParam) {
                case WTS_SESSION_LOCK: return DeskEvent::Locked;
                case WTS_SESSION_UNLOCK: return DeskEvent::Unlocked;
                case WTS_CONSOLE_DISCONNECT:
                case WTS_REMOTE_DISCONNECT: return DeskEvent::Disconnected;
                case WTS_CONSOLE_CONNECT:
                case WTS_REMOTE_CONNECT: return DeskEvent::Connected;
                default: return std::nullopt;
            }
        case WM_POWERBROADCAST:
            // A resume comes as PBT_APMRESUMEAUTOMATIC, alone or followed by
            // PBT_APMRESUMESUSPEND once a user is back; the clock takes the
            // second as no news. Modern Standby may send neither: the clock
            // that stops in sleep and the need for input guard that case.
            if (wParam == PBT_APMSUSPEND) return DeskEvent::Suspended;
            if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
                return DeskEvent::Resumed;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace kestrova::win32
