#include "platform/win32/SessionNotice.h"

#include <wtsapi32.h>

#include <cstddef>
#include <memory>
#include <utility>


namespace kestrova::win32 {

namespace {

// The session's extended information, which the pinned MinGW-w64 headers
// stop short of (their WTS_INFO_CLASS ends at WTSSessionInfo). Laid out as
// the Windows SDK lays it out; the asserts hold the layout to it.
constexpr auto WTSSessionInfoEx = static_cast<WTS_INFO_CLASS>(25);
#ifndef WTS_SESSIONSTATE_LOCK
#define WTS_SESSIONSTATE_UNKNOWN 0xFFFFFFFF
#define WTS_SESSIONSTATE_LOCK 0x00000000
#define WTS_SESSIONSTATE_UNLOCK 0x00000001
#endif

struct WTSINFOEX_LEVEL1_W {
    ULONG SessionId;
    WTS_CONNECTSTATE_CLASS SessionState;
    LONG SessionFlags;
    WCHAR WinStationName[WINSTATIONNAME_LENGTH + 1];
    WCHAR UserName[USERNAME_LENGTH + 1];
    WCHAR DomainName[DOMAIN_LENGTH + 1];
    LARGE_INTEGER LogonTime;
    LARGE_INTEGER ConnectTime;
    LARGE_INTEGER DisconnectTime;
    LARGE_INTEGER LastInputTime;
    LARGE_INTEGER CurrentTime;
    DWORD IncomingBytes;
    DWORD OutgoingBytes;
    DWORD IncomingFrames;
    DWORD OutgoingFrames;
    DWORD IncomingCompressedBytes;
    DWORD OutgoingCompressedBytes;
};
union WTSINFOEX_LEVEL_W {
    WTSINFOEX_LEVEL1_W WTSInfoExLevel1;
};
struct WTSINFOEXW {
    DWORD Level;
    WTSINFOEX_LEVEL_W Data;
};
static_assert(offsetof(WTSINFOEX_LEVEL1_W, SessionFlags) == 8);
static_assert(offsetof(WTSINFOEX_LEVEL1_W, LogonTime) == 160);
static_assert(sizeof(WTSINFOEX_LEVEL1_W) == 224);
static_assert(offsetof(WTSINFOEXW, Data) == 8);
static_assert(sizeof(WTSINFOEXW) == 232);

// The service creates this event once it takes registrations; until then
// OpenEvent fails.
bool SessionServiceReady() {
    const HANDLE ready = OpenEventW(SYNCHRONIZE, FALSE, L"Global\\TermSrvReadyEvent");
    if (!ready) return false;
    const bool set = WaitForSingleObject(ready, 0) == WAIT_OBJECT_0;
    CloseHandle(ready);
    return set;
}

SessionNotice::Calls SystemCalls(const SystemLibrary& wtsapi) {
    using Register = BOOL(WINAPI*)(HWND, DWORD);
    using Unregister = BOOL(WINAPI*)(HWND);
    using Query = BOOL(WINAPI*)(HANDLE, DWORD, WTS_INFO_CLASS, LPWSTR*, DWORD*);
    using Free = void(WINAPI*)(void*);
    SessionNotice::Calls calls;
    if (const auto registerFor = wtsapi.Entry<Register>("WTSRegisterSessionNotification")) {
        calls.registerFor = [registerFor](HWND window) {
            return registerFor(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
        };
    }
    if (const auto unregister = wtsapi.Entry<Unregister>("WTSUnRegisterSessionNotification")) {
        calls.unregister = [unregister](HWND window) { unregister(window); };
    }
    const auto query = wtsapi.Entry<Query>("WTSQuerySessionInformationW");
    const auto free = wtsapi.Entry<Free>("WTSFreeMemory");
    if (query && free) {
        calls.state = [query, free]() -> std::optional<SessionState> {
            LPWSTR buffer = nullptr;
            DWORD bytes = 0;
            if (!query(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, WTSSessionInfoEx, &buffer,
                       &bytes) ||
                !buffer) {
                return std::nullopt;
            }
            std::optional<SessionState> state;
            const auto* info = reinterpret_cast<const WTSINFOEXW*>(buffer);
            // The lock flag means what it says from Windows 8 on (Windows 7
            // had the two values swapped), the oldest this program runs on.
            if (bytes >= sizeof(WTSINFOEXW) && info->Level == 1) {
                const WTSINFOEX_LEVEL1_W& level1 = info->Data.WTSInfoExLevel1;
                if (static_cast<DWORD>(level1.SessionFlags) != WTS_SESSIONSTATE_UNKNOWN) {
                    state = SessionState{level1.SessionFlags == WTS_SESSIONSTATE_LOCK,
                                         level1.SessionState == WTSDisconnected};
                }
            }
            free(buffer);
            return state;
        };
    }
    calls.serviceReady = &SessionServiceReady;
    return calls;
}

}  // namespace

SessionNotice::SessionNotice(HWND window)
    : window_(window), wtsapi_(std::make_unique<SystemLibrary>(L"wtsapi32.dll")) {
    calls_ = SystemCalls(*wtsapi_);
}

SessionNotice::SessionNotice(HWND window, Calls calls)
    : window_(window), calls_(std::move(calls)) {}

SessionNotice::~SessionNotice() {
    if (registered_ && calls_.unregister) calls_.unregister(window_);
}

std::optional<SessionState> SessionNotice::Register() {
    if (registered_ || !calls_.registerFor) return std::nullopt;
    if (tried_ && calls_.serviceReady && !calls_.serviceReady()) return std::nullopt;
    tried_ = true;
    registered_ = calls_.registerFor(window_);
    if (!registered_ || !calls_.state) return std::nullopt;
    return calls_.state();
}

}  // namespace kestrova::win32
