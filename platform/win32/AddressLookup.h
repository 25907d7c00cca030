// A computer name to its IP addresses, bounded in time where the system
// allows it.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <string>
#include <vector>

namespace kestrova::win32 {

struct SocketAddress {
    SOCKADDR_STORAGE address{};
    int length = 0;
};

struct AddressLookup {
    // 0; the resolver's own Winsock error; WSANO_DATA when the name resolved
    // to no IP address; WSAETIMEDOUT when the deadline came first.
    int error = 0;
    std::vector<SocketAddress> addresses;  // IPv4 and IPv6, each once, in the resolver's order
};

// Needs Winsock started. Waits with WaitAnswering, so the thread's windows
// keep answering sent messages. The deadline is GetTickCount64() time; it
// holds from Windows 8 on, where lookups can run asynchronously. Before
// that the lookup takes as long as the resolver does.
AddressLookup LookUpAddresses(const std::wstring& name, ULONGLONG deadline);

}  // namespace kestrova::win32
