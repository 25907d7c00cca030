#include "platform/win32/SystemLibrary.h"

namespace kestrova::win32 {

bool LimitDllSearchToSystemFolder() noexcept {
    // Exported by kernel32 from Windows 8 on; looked up rather than imported,
    // so that its absence can never keep the program from starting.
    // SystemLibrary names the system folder at every load either way.
    using SetDefaultFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (!kernel32) return false;
    const auto setDefault = reinterpret_cast<SetDefaultFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

SystemLibrary::SystemLibrary(const wchar_t* name) noexcept
    : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

FARPROC SystemLibrary::Find(const char* name) const noexcept {
    return module_ ? GetProcAddress(module_.get(), name) : nullptr;
}

}  // namespace kestrova::win32
