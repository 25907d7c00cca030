// A computer name to its IP addresses, bounded in time.
#pragma once

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>
#include <vector>

namespace kestrova::win32 {

struct SocketAddress {
    SOCKADDR_STORAGE address{};
    int length = 0;
};

struct AddressLookup {
    // 0; the resolver's own Winsock error; WSANO_DATA when the name resolved
    // to no IP address; WSAETIMEDOUT when the deadline came first;
    // ERROR_OLD_WIN_VERSION when the system cannot look a name up
    // asynchronously (before Windows 8).
    int error = 0;
    std::vector<SocketAddress> addresses;  // IPv4 and IPv6, each once, in the resolver's order
};

// The system's resolver as the lookup calls it. Tests put one of their own
// in its place, to decide when a lookup completes.
struct Resolver {
    using Start = INT(WSAAPI*)(PCWSTR name, PCWSTR service, DWORD nameSpace, LPGUID provider,
                               const ADDRINFOEXW* hints, PADDRINFOEXW* result, timeval* timeout,
                               LPOVERLAPPED overlapped,
                               LPLOOKUPSERVICE_COMPLETION_ROUTINE completion, LPHANDLE cancel);
    using Cancel = INT(WSAAPI*)(LPHANDLE cancel);

    Start start = nullptr;    // GetAddrInfoExW
    Cancel cancel = nullptr;  // GetAddrInfoExCancel: null where the system lacks it
};

// GetAddrInfoExW, and GetAddrInfoExCancel as ws2_32 exports it (Windows 8 on).
Resolver SystemResolver();

// Needs Winsock started for the process (WinsockStart). Waits with
// WaitAnswering, so the thread's windows keep answering sent messages; the
// deadline is GetTickCount64() time. A lookup still out at the deadline is
// cancelled and left to complete on its own.
AddressLookup LookUpAddresses(const std::wstring& name, ULONGLONG deadline,
                              const Resolver& resolver = SystemResolver());

}  // namespace kestrova::win32
