// Winsock for the whole process: started at its first use and never ended.
#pragma once

namespace kestrova::win32 {

// A name lookup abandoned at its bound completes whenever the resolver is
// done with it (a cancel is only a request, which legacy name providers
// ignore), on a thread of the system's, and frees its result through
// Winsock. No owner of a start can know that no such lookup is still out,
// and a completion routine that ended Winsock itself would pull it from
// under the system's code that runs after the routine returns. So the
// process starts Winsock once and leaves it started; the system reclaims
// it when the process ends.
class WinsockStart {
public:
    // 0 once Winsock runs in this process; otherwise WSAStartup's error,
    // and the next call tries again. For the user-interface thread, where
    // every check of another computer runs.
    static int Ensure() noexcept;
};

}  // namespace kestrova::win32
