// A DLL the program loads while it runs, taken from the system folder alone.
// A file of the same name beside the program (a Downloads folder) or on the
// PATH is never looked at: loading it would run a stranger's code inside
// the program.
#pragma once

#include <windows.h>

#include "platform/win32/GdiHandles.h"

namespace kestrova::win32 {

// Narrows the search of every later load without flags (and of the
// dependencies Windows loads for them) to the system folder. Called first
// thing at start-up; false when the system refused or lacks the call.
bool LimitDllSearchToSystemFolder() noexcept;

namespace detail {
struct FreeModule {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
}  // namespace detail

class SystemLibrary {
public:
    // `name` is a bare file name such as L"version.dll". A full path names
    // its own file and is taken as it is (tests load themselves that way).
    explicit SystemLibrary(const wchar_t* name) noexcept;

    explicit operator bool() const noexcept { return static_cast<bool>(module_); }

    // The export `name` as the function pointer type `Function`; null when
    // the library did not load or lacks it.
    template <class Function>
    Function Entry(const char* name) const noexcept {
        // Through the generic function pointer type: a direct cast between
        // unrelated function types draws -Wcast-function-type.
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(Find(name)));
    }

private:
    FARPROC Find(const char* name) const noexcept;

    unique_handle_of<HMODULE, detail::FreeModule> module_;
};

}  // namespace kestrova::win32
