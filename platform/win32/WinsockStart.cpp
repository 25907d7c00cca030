#include "platform/win32/WinsockStart.h"

#include <windows.h>
#include <winsock2.h>

namespace kestrova::win32 {

int WinsockStart::Ensure() noexcept {
    // Constant-initialised, with nothing to run at exit: the start is never
    // matched by a WSACleanup. No lock: one thread ever asks.
    static bool started = false;
    if (started) return 0;
    WSADATA data{};
    const int error = WSAStartup(MAKEWORD(2, 2), &data);
    started = error == 0;
    return error;
}

}  // namespace kestrova::win32
