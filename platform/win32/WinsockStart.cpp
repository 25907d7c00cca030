#include "platform/win32/WinsockStart.h"

#include <windows.h>
#include <winsock2.h>

namespace kestrova::win32 {

int WinsockStart::Ensure() noexcept {
    // Constant-initialised, with nothing to run at exit: the start is never
    // matched by a WSACleanup.
    static SRWLOCK lock = SRWLOCK_INIT;
    static bool started = false;
    AcquireSRWLockExclusive(&lock);
    int error = 0;
    if (!started) {
        WSADATA data{};
        error = WSAStartup(MAKEWORD(2, 2), &data);
        started = error == 0;
    }
    ReleaseSRWLockExclusive(&lock);
    return error;
}

}  // namespace kestrova::win32
