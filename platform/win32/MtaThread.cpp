#include "platform/win32/MtaThread.h"

#include <objbase.h>

#include <utility>

namespace kestrova::win32 {

MtaThread::MtaThread(std::function<void()> enter, std::function<void()> leave)
    : enter_(std::move(enter)), leave_(std::move(leave)) {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop_) return;
    thread_ = CreateThread(nullptr, 0, &MtaThread::Run, this, 0, nullptr);
}

MtaThread::~MtaThread() {
    if (thread_) {
        SetEvent(stop_);
        // Only sent messages are answered: posted ones, input and paint wait
        // for the thread's own loop, as they would without this wait.
        while (MsgWaitForMultipleObjectsEx(1, &thread_, INFINITE, QS_SENDMESSAGE, 0) ==
               WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(thread_);
    }
    if (stop_) CloseHandle(stop_);
}

DWORD WINAPI MtaThread::Run(void* self) {
    auto& thread = *static_cast<MtaThread*>(self);
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(joined)) return 1;
    // A thread of the multithreaded apartment needs no message loop: calls
    // into its objects arrive on COM's threads, not on this one.
    // Nothing may leave a thread's function; what could is running out of
    // memory, and then the step is simply not done.
    try {
        if (thread.enter_) thread.enter_();
    } catch (...) {
    }
    WaitForSingleObject(thread.stop_, INFINITE);
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
