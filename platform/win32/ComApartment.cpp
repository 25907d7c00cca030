#include "platform/win32/ComApartment.h"

#include <objbase.h>

namespace kestrova::win32 {

ComApartment::ComApartment() noexcept
    : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComApartment::~ComApartment() {
    // Every successful CoInitializeEx needs its own CoUninitialize; a failed
    // one must not get one, or it would tear down someone else's apartment.
    if (SUCCEEDED(result_)) CoUninitialize();
}

}  // namespace kestrova::win32
