#include "platform/win32/AnsweringWait.h"

namespace kestrova::win32 {

namespace {

// Enough for every window of the thread; a window that never validates its
// update region cannot keep the wait spinning here.
constexpr int kPaintsPerRound = 64;

void AnswerSentAndPaint() {
    MSG message;
    // Peeking delivers what is sent to this thread's windows; the filter
    // leaves every posted message in the queue.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    for (int i = 0; i < kPaintsPerRound; ++i) {
        if (!PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT)) break;
        DispatchMessageW(&message);
    }
}

}  // namespace

// A refresh is synchronous: the window takes no input until it returns, so
// mouse, keyboard and timer messages stay queued and are handled afterwards,
// in order, and no second refresh can start inside this one. But a thread
// that stops answering sent messages for seconds is "not responding" to the
// system, and every process that sends it something (WM_GETTEXT from a
// screen reader or an automation tool, a broadcast) waits with it. Answering
// sent messages and painting costs the refresh nothing and keeps both away.
bool WaitAnswering(HANDLE handle, ULONGLONG deadline) {
    for (;;) {
        AnswerSentAndPaint();
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        const DWORD woken = MsgWaitForMultipleObjectsEx(
            1, &handle, static_cast<DWORD>(deadline - now), QS_SENDMESSAGE | QS_PAINT, 0);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken == WAIT_FAILED) return false;
        // A message to answer or paint, or the deadline: the loop sees which.
    }
}

}  // namespace kestrova::win32
