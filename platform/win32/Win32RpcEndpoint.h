// Reaching a computer's RPC endpoint mapper with Winsock: the names come
// from GetComputerNameExW, the check is a bounded name lookup followed by
// non-blocking connects to every address at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/RpcEndpoint.h"
#include "platform/win32/AddressLookup.h"

namespace kestrova::win32 {

// Used on the user-interface thread: while it waits, that thread's windows
// answer sent messages and paint (WaitAnswering), and take nothing else.
class Win32RpcEndpoint final : public RpcEndpoint {
public:
    static constexpr std::uint16_t kEndpointMapperPort = 135;

    // Another port and resolver only for tests, which cannot listen on 135
    // and decide when a lookup completes.
    explicit Win32RpcEndpoint(std::uint16_t port = kEndpointMapperPort,
                              Resolver resolver = SystemResolver()) noexcept
        : port_(port), resolver_(resolver) {}

    ComputerNames ThisComputer() const override;
    std::optional<PlatformError> Reach(TextView computer, std::chrono::milliseconds bound) override;

private:
    std::uint16_t port_;
    Resolver resolver_;
    mutable std::optional<ComputerNames> names_;
};

}  // namespace kestrova::win32
