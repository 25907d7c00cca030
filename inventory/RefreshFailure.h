// Why a refresh stopped: before its first adapter, or after some of them.
#pragma once

#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace kestrova {

enum class RefreshStep {
    Connect,     // reaching the computer, then binding the display name
    Query,       // ExecQuery
    FirstFetch,  // fetching the first adapter of the result set
    LaterFetch,  // fetching an adapter after the first: the list was cut short
};

struct RefreshFailure {
    RefreshStep step = RefreshStep::Connect;
    Text computerName;
    PlatformError error;
    int adaptersRead = 0;  // fetched before the failing fetch
};

// One line for the time label: "PC1: The RPC server is unavailable.
// (0x800706BA)", and for a list cut short "PC1: read 2 adapters, then:
// Generic failure (0x80041001)". The computer name is left out when it is
// empty.
Text Describe(const RefreshFailure& failure);

}  // namespace kestrova
