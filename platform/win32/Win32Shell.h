// The shell's "open", reached through shell32.dll's ShellExecuteA looked up
// by name at the first call, so a missing shell turns into a refused call
// instead of a program that does not start.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/Shell.h"

namespace kestrova::win32 {

// Nothing when the text does not convert exactly to the system's ANSI code
// page (a character it lacks, or an embedded zero a C string cannot carry).
std::optional<std::string> ToAnsiExactly(TextView text);

class Win32Shell final : public Shell {
public:
    Win32Shell();
    // Another library and entry point of ShellExecuteA's shape, for tests.
    Win32Shell(std::wstring libraryName, std::string entryPoint);
    Win32Shell(const Win32Shell&) = delete;
    Win32Shell& operator=(const Win32Shell&) = delete;
    ~Win32Shell() override = default;

    std::optional<std::intptr_t> ShellExecuteA(WindowHandle owner, TextView operation,
                                               TextView file, TextView parameters,
                                               TextView directory,
                                               std::int32_t showCommand) override;

    // How often the entry point was looked up (at most once), and whether
    // that found it.
    int LookupCount() const { return lookups_; }
    bool IsResolved() const { return entry_ != nullptr; }

private:
    using Entry = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    struct ModuleFree {
        void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
    };
    using unique_hmodule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

    Entry Resolve();

    std::wstring libraryName_;
    std::string entryPoint_;
    unique_hmodule module_;
    Entry entry_ = nullptr;
    int lookups_ = 0;
};

}  // namespace kestrova::win32
