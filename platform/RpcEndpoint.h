// This computer's names, and whether another computer's RPC endpoint mapper
// (TCP port 135, where every DCOM connection, WMI's among them, starts)
// answers at all. WMI's own attempt to reach a computer that is switched off
// or behind a firewall takes 20 to 45 s, and a refresh cannot be interrupted;
// this answers the same question within a bound the caller chooses.
#pragma once

#include <chrono>
#include <optional>

#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace kestrova {

// The names under which this computer knows itself. Any of them may be empty
// when the platform cannot tell.
struct ComputerNames {
    Text netBios;            // PC1
    Text dnsHost;            // pc1
    Text dnsFullyQualified;  // pc1.corp.example
};

class RpcEndpoint {
public:
    virtual ~RpcEndpoint() = default;

    virtual ComputerNames ThisComputer() const = 0;

    // Resolves `computer` and tries a TCP connection to its endpoint mapper on
    // every address it resolves to, all at once, for at most `bound` in all.
    // Nothing when one of them connects. Otherwise the resolver's own error
    // when the name does not resolve, or "The RPC server is unavailable."
    // (0x800706BA on Windows) when no address answered in time.
    virtual std::optional<PlatformError> Reach(TextView computer,
                                               std::chrono::milliseconds bound) = 0;
};

}  // namespace kestrova
