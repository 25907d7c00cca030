#include "inventory/NetMon.h"

#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

#include "inventory/AdapterQuery.h"
#include "inventory/AdapterRecordReader.h"
#include "inventory/AdapterRow.h"
#include "inventory/DisplayName.h"
#include "inventory/ThisComputer.h"

namespace kestrova {

namespace {

class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

RefreshStamp StampOf(const StampSource& stamp) {
    return stamp ? stamp() : RefreshStamp{};
}

RefreshResult Failed(RefreshStep step, Text computerName, PlatformError error,
                     const StampSource& stamp) {
    RefreshResult result;
    result.kind = RefreshResult::Kind::Failed;
    result.computer = computerName;
    result.stamp = StampOf(stamp);
    result.failure = RefreshFailure{step, std::move(computerName), std::move(error), 0};
    return result;
}

}  // namespace

NetMon::NetMon(TextBox& txtComputer, RpcEndpoint& rpc, WmiConnector& wmi, ListView& adaptors)
    : txtComputer_(txtComputer), rpc_(rpc), wmi_(wmi), adaptors_(adaptors) {}

RefreshResult NetMon::operator()(const StampSource& stamp) {
    if (running_) {
        RefreshResult busy;
        busy.kind = RefreshResult::Kind::Busy;
        return busy;
    }
    RunningFlag running(running_);

    Text computer = txtComputer_.GetText();

    // Binding a computer that is switched off or behind a firewall blocks
    // for 20 to 45 s while DCOM retries, and a refresh cannot be
    // interrupted: with a shorter period the window would never take input
    // again. So another computer first has to show, within a short bound,
    // that its RPC endpoint answers at all; WMI is never asked about one
    // that does not. This computer is reached without the network and skips
    // the check, so its refresh costs no more than before.
    if (!IsThisComputer(computer, rpc_.ThisComputer())) {
        if (std::optional<PlatformError> unreachable = rpc_.Reach(computer, kReachBound)) {
            return Failed(RefreshStep::Connect, std::move(computer), std::move(*unreachable),
                          stamp);
        }
    }

    auto services = wmi_.Bind(DisplayName(computer));
    if (!services) {
        return Failed(RefreshStep::Connect, std::move(computer), services.error(), stamp);
    }

    // Declared after the service so that every way out releases the result
    // set first, then the service.
    auto adapters = services.value()->ExecQuery(kAdapterQuery);
    if (!adapters) {
        return Failed(RefreshStep::Query, std::move(computer), adapters.error(), stamp);
    }

    // Every adapter is read before the table is touched. A refresh of a
    // distant computer can take seconds and its COM waits let the window
    // repaint meanwhile: the old rows stay on screen until the new ones
    // replace them at once, with no half-built table ever painted.
    auto next = adapters.value()->Next();
    if (!next) {
        // Emptied, as a rebuild from nothing would leave it; but no adapter
        // was read, so none of them is gone.
        RefreshResult failed =
            Failed(RefreshStep::FirstFetch, std::move(computer), next.error(), stamp);
        static_cast<void>(adaptors_.ShowRows({}, failed.stamp, false));
        return failed;
    }
    // Sized as the last refresh's at once: grown a row at a time, every
    // refresh left a trail of ever larger blocks to free, between which the
    // change log's and the marks' entries of that refresh settled, and the
    // heap kept growing around them for hours (without a low-fragmentation
    // heap, as under Wine) although what it held stayed the same.
    std::vector<AdapterRow> rows;
    rows.reserve(lastRows_);
    // Keys are unique among keyed rows: an adapter whose MAC address is
    // already taken still gets its row, only without a key.
    std::unordered_set<Text> keys;
    keys.reserve(lastRows_);
    int adaptersRead = 0;
    std::optional<RefreshFailure> cutShort;
    std::unique_ptr<WmiObject> adapter = std::move(next.value());
    while (adapter) {
        ++adaptersRead;
        if (std::optional<AdapterRow> row = BuildAdapterRow(ReadAdapterRecord(*adapter))) {
            if (row->key && !keys.insert(*row->key).second) row->key.reset();
            rows.push_back(std::move(*row));
        }
        adapter.reset();
        next = adapters.value()->Next();
        // A later fetch failing ends the list but not the refresh: the rows
        // so far are worth showing. It is still a failure, and said to be
        // one, or a short list would pass for every adapter there is.
        if (!next) {
            cutShort =
                RefreshFailure{RefreshStep::LaterFetch, computer, next.error(), adaptersRead};
            break;
        }
        adapter = std::move(next.value());
    }
    adapters.value().reset();
    services.value().reset();

    // The table works out what differs from what it shows, so a refresh that
    // brings nothing new touches nothing on the screen.
    // A list cut short says nothing of the adapters it did not reach: they
    // are not gone, and the next complete list is compared with them.
    RefreshResult result;
    result.computer = std::move(computer);
    result.stamp = StampOf(stamp);
    if (cutShort) {
        result.kind = RefreshResult::Kind::CutShort;
        result.failure = std::move(cutShort);
    }
    result.rows = static_cast<int>(rows.size());
    lastRows_ = rows.size();
    TableUpdate update = adaptors_.ShowRows(std::move(rows), result.stamp, !result.failure);
    result.attention = update.attention;
    result.changes = std::move(update.changes);
    return result;
}

}  // namespace kestrova
