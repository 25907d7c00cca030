// The accessible name of each row of the adapter table: its MAC address and
// what its light means. The list's own name for a row is its first column;
// the light is an image, which a screen reader cannot read. The names are
// given through the system's dynamic annotation (IAccPropServices): a server
// object that a reader's process calls whenever it wants a name.
//
// A reader must never wait for a refresh, which can hold the user-interface
// thread for seconds. A call from another process runs in the apartment that
// marshaled the server, so the server is given to the service from a thread
// of the multithreaded apartment (MtaThread), and answers on COM's threads
// from a snapshot of the names, which the user-interface thread replaces
// whole when the rows or their order change.
//
// The thread and the service come only at Start, when a reader first asks
// the list for its object: most users run none, and under Wine the two cost
// several threads of the platform's.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Text.h"

struct IAccPropServer;

namespace kestrova::win32 {

class MtaThread;

class RowNames {
public:
    // The child id an annotation's identity string names (rows count from 1).
    using ChildOf = std::function<std::optional<long>(const BYTE* id, DWORD length)>;
    // What the annotation service does with the server. Every part runs in
    // the multithreaded apartment; `childOf` on any of its threads. No
    // `set`: the service could not be made; `set` false: it refused.
    struct Annotation {
        std::function<bool(HWND list, IAccPropServer* server)> set;
        std::function<void(HWND list)> clear;
        ChildOf childOf;
    };
    // Made on the names' thread, so that the service's objects belong to
    // its apartment.
    using Service = std::function<Annotation()>;

    // The system's annotation service. Wine's answers E_NOTIMPL: there the
    // start fails and the list keeps the names it has.
    explicit RowNames(HWND list);
    // Another service: a test plays the system's.
    RowNames(HWND list, Service service);
    ~RowNames();
    RowNames(const RowNames&) = delete;
    RowNames& operator=(const RowNames&) = delete;

    // Starts the names' thread, which makes the service and gives it the
    // server, and waits until the service has taken it, at most 1 s,
    // answering only what is sent to this thread meanwhile (a reader's
    // WM_GETOBJECT among it). False when the service could not be made or
    // refused the server: the thread has then ended, and the service is
    // released. True also when the wait ran out first; Failed() tells later.
    // Once only. Fill the names first: a reader may ask as soon as the
    // service holds the server.
    bool Start();
    // No annotation holds or will: not started, or the start failed.
    bool Failed() const;

    // The names of the rows in the order shown: what readers are told from
    // now on.
    void Replace(std::vector<Text> names);
    // What the server answers for the row at `position` (from 0).
    std::optional<std::wstring> NameOf(int position) const;

private:
    class Server;

    HWND list_;
    Service service_;
    Server* server_;
    Annotation annotation_;              // touched only on the names' thread
    std::unique_ptr<MtaThread> thread_;  // from Start
};

}  // namespace kestrova::win32
