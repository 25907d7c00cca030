// The reachability check against real sockets and the real resolver: a
// loopback listener stands in for an endpoint mapper that answers, a closed
// port for a computer that refuses, a listener whose queue is full for one
// that never answers at all (Linux, and so Wine, drops the SYNs it has no
// room for, as a firewall does).
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "inventory/ThisComputer.h"
#include "platform/win32/ErrorText.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32RpcEndpoint.h"
#include "platform/win32/WinsockHandles.h"
#include "platform/win32/WinsockStart.h"
#include "win32/TestWindow.h"

namespace kestrova::win32 {
namespace {

using std::chrono::milliseconds;

constexpr std::uint32_t kUnavailable = 0x800706BA;  // HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)

std::string Hex(std::uint32_t code) {
    return TextToAscii(HexText8(code));
}

std::string Shown(const std::optional<PlatformError>& error) {
    if (!error) return "reached";
    return "0x" + Hex(error->code) + " " + TextToAscii(error->message);
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A TCP socket on 127.0.0.1 at a port the system picks; listening or not.
class LoopbackPort {
public:
    explicit LoopbackPort(bool listen, int backlog = SOMAXCONN) {
        socket_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address = Loopback(0);
        int length = sizeof(address);
        if (!socket_ || bind(socket_.get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        if (listen && ::listen(socket_.get(), backlog) != 0) port_ = 0;
    }
    std::uint16_t port() const { return port_; }
    void Close() { socket_.reset(); }

private:
    unique_socket socket_;
    std::uint16_t port_ = 0;
};

// Starts a connection to `port`; true when it is still unanswered after
// `wait` (no acceptance, no refusal). The socket stays open in `keep`.
bool StaysUnanswered(std::uint16_t port, DWORD wait, std::vector<unique_socket>& keep) {
    unique_socket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    unique_event ready(WSACreateEvent());
    if (!socket || !ready || WSAEventSelect(socket.get(), ready.get(), FD_CONNECT) != 0) {
        return false;
    }
    const sockaddr_in address = Loopback(port);
    if (connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 ||
        WSAGetLastError() != WSAEWOULDBLOCK) {
        return false;
    }
    const bool silent = WaitForSingleObject(ready.get(), wait) == WAIT_TIMEOUT;
    keep.push_back(std::move(socket));
    return silent;
}

class Win32RpcEndpointTests : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WinsockStart::Ensure(), 0); }
};

TEST_F(Win32RpcEndpointTests, ReachesWhatAnswersAndNamesWhatDoesNot) {
    LoopbackPort listening(true);
    LoopbackPort closed(false);
    ASSERT_NE(listening.port(), 0);
    ASSERT_NE(closed.port(), 0);
    closed.Close();  // connecting there is refused at once

    // The resolver's own answer for a name that does not resolve, asked
    // directly: whatever it is here (no such host, or no DNS at all), the
    // check must report that and not an unreachable computer.
    const Text unknown = u"kestrova-no-such-host.invalid";
    ADDRINFOW* found = nullptr;
    const int resolverError = GetAddrInfoW(ToWide(unknown).c_str(), nullptr, nullptr, &found);
    if (found) FreeAddrInfoW(found);
    ASSERT_NE(resolverError, 0) << TextToAscii(unknown) << " resolves here";
    const PlatformError resolverSays = ErrorFromHresult(HRESULT_FROM_WIN32(resolverError));

    const struct {
        const char* what;
        Text computer;
        std::uint16_t port;
        std::optional<std::uint32_t> code;  // none: reached
        Text message;                       // checked when not empty
    } cases[] = {
        {"a listener, by address", u"127.0.0.1", listening.port(), std::nullopt, u""},
        // Every address the name resolves to is tried (on Windows ::1 comes
        // first, and refuses here): the one that accepts counts.
        {"a listener, by name", u"localhost", listening.port(), std::nullopt, u""},
        {"a refusal", u"127.0.0.1", closed.port(), kUnavailable,
         ErrorFromHresult(static_cast<HRESULT>(kUnavailable)).message},
        {"an unknown name", unknown, listening.port(), resolverSays.code, resolverSays.message},
        {"a name with a zero inside", Text(u"127.0.0.1\0x", 11), listening.port(),
         static_cast<std::uint32_t>(HRESULT_FROM_WIN32(WSAHOST_NOT_FOUND)), u""},
    };
    for (const auto& c : cases) {
        Win32RpcEndpoint endpoint(c.port);
        const std::optional<PlatformError> answer = endpoint.Reach(c.computer, milliseconds(5000));
        ASSERT_EQ(answer.has_value(), c.code.has_value()) << c.what << ": " << Shown(answer);
        if (!c.code) continue;
        EXPECT_EQ(Hex(answer->code), Hex(*c.code)) << c.what << ": " << Shown(answer);
        EXPECT_FALSE(answer->message.empty()) << c.what;
        if (!c.message.empty()) {
            EXPECT_EQ(answer->message, c.message) << c.what;
        }
    }
}

LRESULT CALLBACK AnsweringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(Win32RpcEndpointTests, ASilentEndpointFailsAtTheBoundWhileTheThreadKeepsAnswering) {
    LoopbackPort full(true, 0);
    ASSERT_NE(full.port(), 0);
    // Connections the listener never accepts fill its queue; from then on it
    // stays silent. A system that refuses instead has no silent endpoint to
    // offer on loopback.
    std::vector<unique_socket> queued;
    bool silent = false;
    for (int i = 0; i < 8 && !silent; ++i) silent = StaysUnanswered(full.port(), 300, queued);
    if (!silent) GTEST_SKIP() << "a full listen queue refuses here instead of staying silent";

    TestWindow window(L"KestrovaAnsweringTest", AnsweringProc, WS_OVERLAPPED, 50, 50);
    ASSERT_NE(window.hwnd(), nullptr);
    SetWindowTextW(window.hwnd(), L"still here");
    // Sent from another thread while the check waits, it is answered at
    // once or, if the wait ignored it, only after the wait: long after this
    // sender has given up.
    std::atomic<bool> answered{false};
    std::thread sender([&] {
        Sleep(300);
        wchar_t text[32]{};
        DWORD_PTR copied = 0;
        answered =
            SendMessageTimeoutW(window.hwnd(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text),
                                SMTO_NORMAL, 500, &copied) != 0 &&
            std::wstring(text) == L"still here";
    });

    constexpr milliseconds kBound(1500);
    Win32RpcEndpoint endpoint(full.port());
    const ULONGLONG start = GetTickCount64();
    const std::optional<PlatformError> answer = endpoint.Reach(u"127.0.0.1", kBound);
    const ULONGLONG took = GetTickCount64() - start;
    sender.join();

    ASSERT_TRUE(answer) << "a silent endpoint counted as reached";
    EXPECT_EQ(Hex(answer->code), Hex(kUnavailable));
    EXPECT_GE(took, static_cast<ULONGLONG>(kBound.count()) - 20) << "gave up before the bound";
    // Slack for a loaded machine; the bound itself is what must not stretch.
    EXPECT_LT(took, static_cast<ULONGLONG>(kBound.count()) + 1000) << "waited past the bound";
    EXPECT_TRUE(answered) << "a message sent during the wait went unanswered";
}

TEST_F(Win32RpcEndpointTests, ThisComputersNamesTakeInComputerName) {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1]{};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetEnvironmentVariableW(L"COMPUTERNAME", name, size) != 0);
    const Win32RpcEndpoint endpoint;
    const ComputerNames names = endpoint.ThisComputer();
    EXPECT_TRUE(IsThisComputer(FromWide(name), names))
        << TextToAscii(FromWide(name)) << " is not among " << TextToAscii(names.netBios) << ", "
        << TextToAscii(names.dnsHost) << ", " << TextToAscii(names.dnsFullyQualified);
    EXPECT_FALSE(names.dnsHost.empty());
}

}  // namespace
}  // namespace kestrova::win32
