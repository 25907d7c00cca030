#include "platform/win32/AddressLookup.h"

#include <atomic>
#include <cstring>
#include <new>
#include <type_traits>

#include "platform/win32/AnsweringWait.h"

namespace kestrova::win32 {

namespace {

// Shared by the waiting thread and the resolver's completion routine, which
// runs on a thread of the system's pool; whichever is done last frees it. The
// waiting thread may leave at its deadline while the lookup still runs:
// cancelling is only a request, and Wine cannot cancel at all. The routine
// may then free the result long after the window is gone, in the Winsock
// the process keeps started to its end (WinsockStart).
struct PendingLookup {
    OVERLAPPED overlapped;  // first: the completion routine gets its address
    ADDRINFOEXW* result;
    HANDLE cancel;
    HANDLE done;
    DWORD error;
    std::atomic<int> owners;
};
static_assert(std::is_standard_layout_v<PendingLookup>,
              "the completion routine finds the state from its first member");

void Release(PendingLookup* pending) {
    if (pending->owners.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    if (pending->result) FreeAddrInfoExW(pending->result);
    if (pending->done) CloseHandle(pending->done);
    delete pending;
}

void CALLBACK LookupDone(DWORD error, DWORD /*bytes*/, LPWSAOVERLAPPED overlapped) {
    auto* pending = reinterpret_cast<PendingLookup*>(overlapped);
    pending->error = error;
    SetEvent(pending->done);
    Release(pending);
}

AddressLookup Collect(const ADDRINFOEXW* result, int error) {
    AddressLookup found;
    found.error = error;
    if (error != 0) return found;
    // Walked through the declared type: MinGW's header gives ai_next a
    // misspelt struct name.
    for (auto* entry = result; entry;
         entry = reinterpret_cast<const ADDRINFOEXW*>(entry->ai_next)) {
        if (entry->ai_family != AF_INET && entry->ai_family != AF_INET6) continue;
        if (!entry->ai_addr || entry->ai_addrlen > sizeof(SOCKADDR_STORAGE)) continue;
        SocketAddress address;
        address.length = static_cast<int>(entry->ai_addrlen);
        std::memcpy(&address.address, entry->ai_addr, entry->ai_addrlen);
        bool seen = false;
        for (const SocketAddress& known : found.addresses) {
            seen = seen || (known.length == address.length &&
                            std::memcmp(&known.address, &address.address,
                                        static_cast<size_t>(address.length)) == 0);
        }
        if (!seen) found.addresses.push_back(address);
    }
    if (found.addresses.empty()) found.error = WSANO_DATA;
    return found;
}

}  // namespace

Resolver SystemResolver() {
    // Exported from Windows 8 on, with asynchronous lookups, so it also tells
    // whether a lookup can run asynchronously at all.
    static const Resolver::Cancel cancel = [] {
        const HMODULE ws2 = GetModuleHandleW(L"ws2_32.dll");
        if (!ws2) return Resolver::Cancel{};
        // Through a generic function pointer type: a direct cast between
        // unrelated function types draws -Wcast-function-type.
        return reinterpret_cast<Resolver::Cancel>(
            reinterpret_cast<void (*)()>(GetProcAddress(ws2, "GetAddrInfoExCancel")));
    }();
    return Resolver{&GetAddrInfoExW, cancel};
}

AddressLookup LookUpAddresses(const std::wstring& name, ULONGLONG deadline,
                              const Resolver& resolver) {
    // Without a way to cancel, a lookup could outlast any deadline with the
    // window waiting on it for as long as the resolver takes; the program
    // needs Windows 8, and says so rather than wait.
    if (!resolver.start || !resolver.cancel) return AddressLookup{ERROR_OLD_WIN_VERSION, {}};

    ADDRINFOEXW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;

    auto* pending = new (std::nothrow) PendingLookup{};
    if (!pending) return AddressLookup{WSA_NOT_ENOUGH_MEMORY, {}};
    pending->owners.store(2);
    pending->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!pending->done) {
        const int error = static_cast<int>(GetLastError());
        delete pending;
        return AddressLookup{error, {}};
    }

    // All name services (DNS, hosts file, NetBIOS, LLMNR), as WMI's own
    // connection would use.
    const int started = resolver.start(
        name.c_str(), nullptr, NS_ALL, nullptr, &hints, &pending->result, nullptr,
        &pending->overlapped, reinterpret_cast<LPLOOKUPSERVICE_COMPLETION_ROUTINE>(&LookupDone),
        &pending->cancel);
    if (started != WSA_IO_PENDING) {
        // Answered at once: the completion routine will not run.
        AddressLookup found = Collect(pending->result, started);
        Release(pending);
        Release(pending);
        return found;
    }

    if (!WaitAnswering(pending->done, deadline)) {
        // The handle is good only until the lookup completes.
        if (pending->cancel && WaitForSingleObject(pending->done, 0) != WAIT_OBJECT_0) {
            resolver.cancel(&pending->cancel);
        }
        Release(pending);
        return AddressLookup{WSAETIMEDOUT, {}};
    }
    AddressLookup found = Collect(pending->result, static_cast<int>(pending->error));
    Release(pending);
    return found;
}

}  // namespace kestrova::win32
