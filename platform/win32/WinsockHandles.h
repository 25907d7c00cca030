// Owning wrappers for Winsock: a socket, an event (Winsock itself is
// WinsockStart's).
// Move only, like the GDI handles: a copy would be closed twice.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <utility>

#include "platform/win32/GdiHandles.h"

namespace kestrova::win32 {

class unique_socket {
public:
    unique_socket() noexcept = default;
    explicit unique_socket(SOCKET socket) noexcept : socket_(socket) {}
    ~unique_socket() { reset(); }
    unique_socket(unique_socket&& other) noexcept
        : socket_(std::exchange(other.socket_, INVALID_SOCKET)) {}
    unique_socket& operator=(unique_socket&& other) noexcept {
        if (this != &other) reset(std::exchange(other.socket_, INVALID_SOCKET));
        return *this;
    }
    unique_socket(const unique_socket&) = delete;
    unique_socket& operator=(const unique_socket&) = delete;

    SOCKET get() const noexcept { return socket_; }
    explicit operator bool() const noexcept { return socket_ != INVALID_SOCKET; }
    void reset(SOCKET socket = INVALID_SOCKET) noexcept {
        const SOCKET old = std::exchange(socket_, socket);
        if (old != INVALID_SOCKET) closesocket(old);
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
};

namespace detail {
struct CloseKernelHandle {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
}  // namespace detail

// An event from CreateEventW or WSACreateEvent (WSACloseEvent is CloseHandle).
using unique_event = unique_handle_of<HANDLE, detail::CloseKernelHandle>;

}  // namespace kestrova::win32
