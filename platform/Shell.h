// The shell's "open" for an address, through ShellExecuteA.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Text.h"
#include "platform/Window.h"

namespace kestrova {

class Shell {
public:
    virtual ~Shell() = default;
    // Converts each text to the system's ANSI code page and calls
    // ShellExecuteA. Returns its result (> 32 is success), or nothing when the
    // call could not be made at all: no shell32.dll, no entry point, a text
    // that does not convert.
    virtual std::optional<std::intptr_t> ShellExecuteA(WindowHandle owner, TextView operation,
                                                       TextView file, TextView parameters,
                                                       TextView directory,
                                                       std::int32_t showCommand) = 0;
};

}  // namespace kestrova
