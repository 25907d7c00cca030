// Why a refresh stopped before its first adapter.
#pragma once

#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace kestrova {

enum class RefreshStep {
    Connect,     // reaching the computer, then binding the display name
    Query,       // ExecQuery
    FirstFetch,  // fetching the first adapter of the result set
};

struct RefreshFailure {
    RefreshStep step = RefreshStep::Connect;
    Text computerName;
    PlatformError error;
};

// One line for the time label: "PC1: The RPC server is unavailable.
// (0x800706BA)". The computer name is left out when it is empty.
Text Describe(const RefreshFailure& failure);

}  // namespace kestrova
