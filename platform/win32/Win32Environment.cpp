#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include <string>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

Text Win32Environment::GetVariable(TextView name) const {
    // A name with a zero in it would silently name a shorter variable.
    if (name.empty() || name.find(u'\0') != TextView::npos) return {};
    const std::wstring wideName = ToWide(name);
    std::wstring value(256, L'\0');
    // Retried because another thread may lengthen the value between the call
    // that measures it and the one that reads it.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD result = GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (result == 0) return {};  // unset, or set to the empty text
        if (result < value.size()) {
            value.resize(result);
            return FromWide(value);
        }
        value.assign(result, L'\0');  // result counts the terminating zero here
    }
    return {};
}

}  // namespace kestrova::win32
