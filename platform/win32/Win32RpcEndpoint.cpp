#include "platform/win32/Win32RpcEndpoint.h"

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/AddressLookup.h"
#include "platform/win32/AnsweringWait.h"
#include "platform/win32/ErrorText.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinsockHandles.h"
#include "platform/win32/WinsockStart.h"

namespace kestrova::win32 {

namespace {

Text NameOfThisComputer(COMPUTER_NAME_FORMAT format) {
    DWORD size = 0;
    GetComputerNameExW(format, nullptr, &size);  // measures, terminating zero included
    if (size == 0) return Text();
    std::wstring name(size, L'\0');
    if (!GetComputerNameExW(format, name.data(), &size)) return Text();
    name.resize(size);  // now without the zero
    return FromWide(name);
}

// What WMI itself reports when DCOM cannot reach a computer, so the label
// reads the same whether the check or WMI found out.
PlatformError Unavailable() {
    return ErrorFromHresult(HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));
}

void SetPort(SocketAddress& address, std::uint16_t port) {
    if (address.address.ss_family == AF_INET) {
        reinterpret_cast<sockaddr_in&>(address.address).sin_port = htons(port);
    } else {
        reinterpret_cast<sockaddr_in6&>(address.address).sin6_port = htons(port);
    }
}

// Connects to every address at once and waits for the first that accepts;
// false when none did before the deadline. A refusal is an answer too, so
// once every address has refused there is nothing left to wait for.
bool AnyConnects(std::vector<SocketAddress> addresses, std::uint16_t port, ULONGLONG deadline) {
    // One event for all sockets: one wait, however many addresses a name has.
    unique_event ready(WSACreateEvent());
    if (!ready) return false;
    std::vector<unique_socket> pending;
    for (SocketAddress& address : addresses) {
        SetPort(address, port);
        unique_socket socket(::socket(address.address.ss_family, SOCK_STREAM, IPPROTO_TCP));
        // WSAEventSelect also makes the socket non-blocking.
        if (!socket || WSAEventSelect(socket.get(), ready.get(), FD_CONNECT) != 0) continue;
        if (connect(socket.get(), reinterpret_cast<const sockaddr*>(&address.address),
                    address.length) == 0) {
            return true;
        }
        if (WSAGetLastError() == WSAEWOULDBLOCK) pending.push_back(std::move(socket));
    }
    while (!pending.empty()) {
        if (!WaitAnswering(ready.get(), deadline)) return false;
        // Reset before asking: a connection that completes while the sockets
        // are asked in turn sets the event again and ends the next wait.
        WSAResetEvent(ready.get());
        for (auto it = pending.begin(); it != pending.end();) {
            WSANETWORKEVENTS events{};
            if (WSAEnumNetworkEvents(it->get(), nullptr, &events) != 0) {
                it = pending.erase(it);
            } else if ((events.lNetworkEvents & FD_CONNECT) == 0) {
                ++it;
            } else if (events.iErrorCode[FD_CONNECT_BIT] == 0) {
                return true;
            } else {
                it = pending.erase(it);
            }
        }
    }
    return false;
}

}  // namespace

// Read once, at the first refresh: every refresh of this computer asks, and
// the three reads took about 1 ms under Wine, a twentieth of the refresh.
// The names change with a restart (the DNS domain also with the network);
// a name that has stopped being this computer's meanwhile is then taken
// for this computer's and bound at once, as every name was before the check.
ComputerNames Win32RpcEndpoint::ThisComputer() const {
    if (!names_) {
        names_ = ComputerNames{NameOfThisComputer(ComputerNameNetBIOS),
                               NameOfThisComputer(ComputerNameDnsHostname),
                               NameOfThisComputer(ComputerNameDnsFullyQualified)};
    }
    return *names_;
}

std::optional<PlatformError> Win32RpcEndpoint::Reach(TextView computer,
                                                     std::chrono::milliseconds bound) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(bound.count());
    if (const int error = WinsockStart::Ensure(); error != 0) {
        return ErrorFromHresult(HRESULT_FROM_WIN32(error));
    }
    // The resolver reads a zero-terminated name: one with a zero inside
    // would look up whatever precedes it.
    if (computer.find(u'\0') != TextView::npos) {
        return ErrorFromHresult(HRESULT_FROM_WIN32(WSAHOST_NOT_FOUND));
    }

    AddressLookup found = LookUpAddresses(ToWide(computer), deadline, resolver_);
    // A lookup that outlasts the bound leaves the computer as unreached as
    // an address that never answers.
    if (found.error == WSAETIMEDOUT) return Unavailable();
    if (found.error != 0) return ErrorFromHresult(HRESULT_FROM_WIN32(found.error));
    if (!AnyConnects(std::move(found.addresses), port_, deadline)) return Unavailable();
    return std::nullopt;
}

}  // namespace kestrova::win32
