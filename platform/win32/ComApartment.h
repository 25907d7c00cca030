// Joins the calling thread to a single-threaded COM apartment for the life of
// the object. WMI's scripting objects are apartment-threaded and the window
// that drives them lives on the same thread.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

class ComApartment {
public:
    ComApartment() noexcept;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // S_FALSE (the thread was already in an STA) counts as joined and is
    // balanced like S_OK; RPC_E_CHANGED_MODE (an MTA thread) does not.
    bool ok() const noexcept { return SUCCEEDED(result_); }
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

}  // namespace kestrova::win32
