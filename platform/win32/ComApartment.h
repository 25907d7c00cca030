// Joins the calling thread to a single-threaded COM apartment for the life of
// the object. WMI's scripting objects are apartment-threaded and the window
// that drives them lives on the same thread.
//
// The program's apartment is deferred: the window's first paint needs no COM,
// so the thread joins only when something first needs it (a refresh, the
// link, a screen reader) and calls JoinComApartment. The owner still lives
// at the scope that declared it, so the apartment ends after everything made
// inside it.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

class ComApartment {
public:
    // Joins now.
    ComApartment() noexcept;
    // Joins at the first JoinComApartment on this thread while it lives.
    struct OnFirstUse {};
    explicit ComApartment(OnFirstUse) noexcept;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // S_FALSE (the thread was already in an STA) counts as joined and is
    // balanced like S_OK; RPC_E_CHANGED_MODE (an MTA thread) does not.
    // CO_E_NOTINITIALIZED while a deferred join has not happened yet.
    bool ok() const noexcept { return SUCCEEDED(result_); }
    HRESULT result() const noexcept { return result_; }

private:
    friend bool JoinComApartment() noexcept;
    void Join() noexcept;

    HRESULT result_ = CO_E_NOTINITIALIZED;
    bool tried_ = false;
    ComApartment* outerDeferred_ = nullptr;  // restored when this one ends
};

// Has this thread's deferred apartment, if any, join now (once; later calls
// cost nothing). True when the thread is in the apartment afterwards; false
// when the join failed or no deferred apartment lives on this thread, and
// then the COM call that follows fails as it would without one.
bool JoinComApartment() noexcept;

}  // namespace kestrova::win32
