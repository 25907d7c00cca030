// Entry points of newer Windows versions in user32, looked up at run time so
// that older versions still start. user32 is loaded in every window program:
// nothing to load or free.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

// The export `name` as the function pointer type `Function`; null on a
// Windows that lacks it.
template <class Function>
Function User32Entry(const char* name) noexcept {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    // Through the generic function pointer type: a direct cast between
    // unrelated function types draws -Wcast-function-type.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

}  // namespace kestrova::win32
