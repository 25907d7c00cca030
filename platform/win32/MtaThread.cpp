#include "platform/win32/MtaThread.h"

#include <objbase.h>

#include <utility>

namespace kestrova::win32 {

namespace {

// Only sent messages are answered: posted ones, input and paint wait for
// the thread's own loop, as they would without this wait. The index of the
// handle signalled, or `count` when time ran out or the wait failed.
DWORD WaitAnsweringSent(DWORD count, const HANDLE* handles, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = milliseconds == INFINITE ? INFINITE
                           : now >= deadline        ? 0
                                                    : static_cast<DWORD>(deadline - now);
        const DWORD woken = MsgWaitForMultipleObjectsEx(count, handles, left, QS_SENDMESSAGE, 0);
        if (woken != WAIT_OBJECT_0 + count) return woken < count ? woken : count;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

MtaThread::MtaThread(std::function<bool()> enter, std::function<void()> leave)
    : enter_(std::move(enter)), leave_(std::move(leave)) {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    entered_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop_ || !entered_) return;
    thread_ = CreateThread(nullptr, 0, &MtaThread::Run, this, 0, nullptr);
}

MtaThread::~MtaThread() {
    if (thread_) {
        SetEvent(stop_);
        WaitAnsweringSent(1, &thread_, INFINITE);
        CloseHandle(thread_);
    }
    if (entered_) CloseHandle(entered_);
    if (stop_) CloseHandle(stop_);
}

bool MtaThread::WaitEntered(DWORD milliseconds) {
    if (!thread_) return false;
    const HANDLE either[] = {entered_, thread_};
    return WaitAnsweringSent(2, either, milliseconds) == 0;
}

bool MtaThread::Ended() const {
    return !thread_ || WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
}

DWORD WINAPI MtaThread::Run(void* self) {
    auto& thread = *static_cast<MtaThread*>(self);
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(joined)) return 1;
    // A thread of the multithreaded apartment needs no message loop: calls
    // into its objects arrive on COM's threads, not on this one.
    // Nothing may leave a thread's function; what could is running out of
    // memory, and then the step is simply not done.
    bool entered = false;
    try {
        entered = thread.enter_ && thread.enter_();
    } catch (...) {
    }
    if (entered) {
        SetEvent(thread.entered_);
        WaitForSingleObject(thread.stop_, INFINITE);
    }
    try {
        if (thread.leave_) thread.leave_();
    } catch (...) {
    }
    // The last thread to leave ends the apartment, and with it every stub
    // marshaled here: a late caller then gets an error, not a freed object.
    CoUninitialize();
    return 0;
}

}  // namespace kestrova::win32
