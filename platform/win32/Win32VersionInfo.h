// The program's own VERSIONINFO resource, read from its image, in the US
// English / Unicode string table that Explorer shows.
#pragma once

#include <windows.h>

#include <string_view>

#include "platform/VersionInfo.h"

namespace kestrova::win32 {

class Win32VersionInfo final : public VersionInfo {
public:
    // The module whose resource is read; null for the program itself.
    explicit Win32VersionInfo(HMODULE module = nullptr) : module_(module) {}

    Text ProductName() const override;
    // Any string of the table, such as L"FileVersion"; empty when missing.
    Text StringValue(std::wstring_view name) const;

private:
    HMODULE module_;
};

}  // namespace kestrova::win32
