// An RPC endpoint check that answers as scripted, never touching the network,
// and records which computers it was asked to reach and with what bound.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/RpcEndpoint.h"

namespace kestrova::fakes {

class FakeRpcEndpoint final : public RpcEndpoint {
public:
    ComputerNames ThisComputer() const override { return names; }

    std::optional<PlatformError> Reach(TextView computer,
                                       std::chrono::milliseconds bound) override {
        reached.emplace_back(computer);
        bounds.push_back(bound);
        if (onReach) onReach();
        return failure;
    }

    ComputerNames names{u"PC0", u"pc0", u"pc0.corp.example"};
    std::optional<PlatformError> failure;  // none: every computer answers
    std::function<void()> onReach;         // called at every check, before it answers
    std::vector<Text> reached;
    std::vector<std::chrono::milliseconds> bounds;
};

}  // namespace kestrova::fakes
