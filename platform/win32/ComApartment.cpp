#include "platform/win32/ComApartment.h"

#include <objbase.h>

namespace kestrova::win32 {

namespace {
// COM's apartments belong to threads, and so does the one waiting to join.
thread_local ComApartment* t_deferred = nullptr;
}  // namespace

ComApartment::ComApartment() noexcept {
    Join();
}

ComApartment::ComApartment(OnFirstUse) noexcept : outerDeferred_(t_deferred) {
    t_deferred = this;
}

ComApartment::~ComApartment() {
    if (t_deferred == this) t_deferred = outerDeferred_;
    // Every successful CoInitializeEx needs its own CoUninitialize; a failed
    // one must not get one, or it would tear down someone else's apartment.
    if (SUCCEEDED(result_)) CoUninitialize();
}

void ComApartment::Join() noexcept {
    if (tried_) return;
    tried_ = true;
    // The shell asks for OLE1 DDE off in any apartment that calls
    // ShellExecute, as the link does.
    result_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

bool JoinComApartment() noexcept {
    if (!t_deferred) return false;
    t_deferred->Join();
    return t_deferred->ok();
}

}  // namespace kestrova::win32
