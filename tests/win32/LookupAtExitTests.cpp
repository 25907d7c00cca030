// A name lookup abandoned at the 2 s bound whose completion arrives after the
// window is closed and destroyed. The resolver is a stand-in that completes
// only when told, on a thread of its own as the system's pool does, with a
// real result of the real resolver's making. The program is this test
// program relaunched in a mode of its own, so its exit code is the verdict.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/win32/AddressLookup.h"
#include "platform/win32/MainWindow.h"
#include "platform/win32/Win32RpcEndpoint.h"
#include "window/ControlTable.h"

namespace kestrova::win32 {
namespace {

constexpr UINT kCompletedAfterWinsockEnded = 3;

struct LateLookup {
    PADDRINFOEXW* result = nullptr;
    LPOVERLAPPED overlapped = nullptr;
    LPLOOKUPSERVICE_COMPLETION_ROUTINE completion = nullptr;
    int cancels = 0;
};
LateLookup g_late;

INT WSAAPI StartLate(PCWSTR, PCWSTR, DWORD, LPGUID, const ADDRINFOEXW*, PADDRINFOEXW* result,
                     timeval*, LPOVERLAPPED overlapped,
                     LPLOOKUPSERVICE_COMPLETION_ROUTINE completion, LPHANDLE cancel) {
    g_late = {result, overlapped, completion, 0};
    *cancel = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1));
    return WSA_IO_PENDING;
}

// As under Wine: the request changes nothing.
INT WSAAPI CancelNothing(LPHANDLE) {
    ++g_late.cancels;
    return 0;
}

bool WinsockRuns() {
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (probe != INVALID_SOCKET) closesocket(probe);
    return probe != INVALID_SOCKET || WSAGetLastError() != WSANOTINITIALISED;
}

// The system's resolver works in Winsock up to its completion routine; one
// that completes in a Winsock already ended is the crash this guards
// against, so the stand-in ends the process as that crash would.
void CompleteLate() {
    if (!WinsockRuns()) ExitProcess(kCompletedAfterWinsockEnded);
    ADDRINFOEXW hints{};
    hints.ai_family = AF_UNSPEC;
    const int error = GetAddrInfoExW(L"localhost", nullptr, NS_ALL, nullptr, &hints, g_late.result,
                                     nullptr, nullptr, nullptr, nullptr);
    // MinGW declares the routine's type as a plain pointer.
    using Completion = void(CALLBACK*)(DWORD, DWORD, LPWSAOVERLAPPED);
    reinterpret_cast<Completion>(g_late.completion)(static_cast<DWORD>(error), 0,
                                                    g_late.overlapped);
}

TEST(LookupAtExitTests, DISABLED_ChildCompletesTheLookupAfterTheWindowIsGone) {
    ASSERT_FALSE(WinsockRuns()) << "nothing else may hold Winsock here";
    auto endpoint = std::make_unique<Win32RpcEndpoint>(Win32RpcEndpoint::kEndpointMapperPort,
                                                       Resolver{&StartLate, &CancelNothing});
    {
        MainWindow::Seams seams;
        seams.rpc = endpoint.get();
        seams.showMessage = [](HWND, const wchar_t*, const wchar_t*, UINT) { return IDOK; };
        MainWindow window(GetModuleHandleW(nullptr), SW_HIDE, std::move(seams));
        const auto control = [&](ControlId id) {
            return GetDlgItem(window.hwnd(), MainWindow::ControlIdOf(id));
        };
        SetWindowTextW(control(ControlId::txtComputer), L"kestrova-late.invalid");
        // The refresh waits out the bound, cancels and leaves the lookup out.
        SendMessageW(control(ControlId::cmdSwitch), BM_CLICK, 0, 0);
        ASSERT_NE(g_late.completion, nullptr) << "the lookup never started";
        EXPECT_EQ(g_late.cancels, 1);
        SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
        ASSERT_FALSE(IsWindow(window.hwnd()));
    }
    endpoint.reset();  // as at the program's exit

    std::thread(CompleteLate).join();
    // Winsock is the process's, started once: the completion ended nothing
    // on the resolver's thread, and one cleanup ends it.
    EXPECT_TRUE(WinsockRuns()) << "Winsock ended with the late completion, on its thread";
    WSACleanup();
    EXPECT_FALSE(WinsockRuns()) << "Winsock was started more than once";
}

TEST(LookupAtExitTests, ALookupCompletingAfterTheWindowIsGoneEndsTheProgramCleanly) {
    std::wstring self(MAX_PATH * 4, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    std::wstring command = L"\"" + self +
                           L"\" --gtest_also_run_disabled_tests "
                           L"--gtest_filter=LookupAtExitTests.DISABLED_ChildCompletesTheLookup*";
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &child);
    CloseHandle(writeEnd);
    std::string output;
    char buffer[4096];
    DWORD read = 0;
    while (started && ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    CloseHandle(readEnd);
    ASSERT_TRUE(started);
    DWORD exitCode = STILL_ACTIVE;
    WaitForSingleObject(child.hProcess, 60000);
    GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST(LookupAtExitTests, WithoutCancelTheLookupFailsAtOnceAndNeverStarts) {
    g_late = {};
    const AddressLookup found =
        LookUpAddresses(L"kestrova-late.invalid", GetTickCount64(),
                        Resolver{&StartLate, nullptr});
    EXPECT_EQ(found.error, ERROR_OLD_WIN_VERSION);
    EXPECT_EQ(g_late.completion, nullptr) << "a lookup that cannot be cancelled was started";
}

}  // namespace
}  // namespace kestrova::win32
