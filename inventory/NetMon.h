// The refresh: reads the computer name, asks that computer's WMI for its
// IP-enabled adapters and shows one row per adapter in the adapter table.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "inventory/ListView.h"
#include "inventory/RefreshFailure.h"
#include "inventory/RefreshStamp.h"
#include "inventory/RowChange.h"
#include "platform/RpcEndpoint.h"
#include "platform/TextBox.h"
#include "platform/Wmi.h"

namespace kestrova {

// The longest a refresh waits for a computer other than this one to show
// that it answers at all, before WMI is asked.
inline constexpr std::chrono::milliseconds kReachBound{2000};

struct RefreshResult {
    enum class Kind {
        Refreshed,  // ran to the end; unreadable adapters or values were skipped
        Failed,     // stopped before the first adapter; see `failure`
        CutShort,   // a later fetch failed: the rows so far are in; see `failure`
        Busy,       // another refresh is still running; nothing was done
    };
    Kind kind = Kind::Refreshed;
    std::optional<RefreshFailure> failure;
    int rows = 0;  // rows the table holds afterwards
    Text computer;  // the name the refresh read
    // When the refresh ended (Busy: nothing).
    RefreshStamp stamp;
    // A light changed, or an adapter came or went, since the table was last
    // shown.
    bool attention = false;
    std::vector<RowChange> changes;  // what the table found came, went or changed
};

// The time of day and the time the window has been in front, read when a
// refresh ends.
using StampSource = std::function<RefreshStamp()>;

class NetMon {
public:
    NetMon(TextBox& txtComputer, RpcEndpoint& rpc, WmiConnector& wmi, ListView& adaptors);
    NetMon(const NetMon&) = delete;
    NetMon& operator=(const NetMon&) = delete;

    // A failure to connect or query leaves the table as it was; a failure of
    // the first fetch leaves it empty; a failure of a later fetch leaves the
    // rows read so far. Past the first adapter, a failing read is skipped and
    // the refresh goes on. `stamp` is read once, as the refresh ends.
    RefreshResult operator()(const StampSource& stamp = {});

    // True while a refresh runs. COM waits inside a refresh can dispatch
    // window messages, so a timer tick can arrive in the middle of one.
    bool Running() const { return running_; }

private:
    TextBox& txtComputer_;
    RpcEndpoint& rpc_;
    WmiConnector& wmi_;
    ListView& adaptors_;
    bool running_ = false;
    std::size_t lastRows_ = 0;  // rows the last refresh read
};

}  // namespace kestrova
