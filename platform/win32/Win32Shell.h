// The shell's "open", reached through shell32.dll's ShellExecuteA looked up
// by name at the first call, so a missing shell turns into a refused call
// instead of a program that does not start. A lookup that fails is tried
// again at the next call; one that finds it is kept. shell32.dll comes from
// the system folder only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Shell.h"
#include "platform/win32/SystemLibrary.h"

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

    // How often the entry point was looked up (once it is found, no more),
    // and whether it was found.
    int LookupCount() const { return lookups_; }
    bool IsResolved() const { return entry_ != nullptr; }

private:
    using Entry = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    Entry Resolve();

    std::wstring libraryName_;
    std::string entryPoint_;
    std::optional<SystemLibrary> library_;  // kept while the entry is in use
    Entry entry_ = nullptr;
    int lookups_ = 0;
};

}  // namespace kestrova::win32
