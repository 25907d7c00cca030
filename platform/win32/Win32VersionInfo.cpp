#include "platform/win32/Win32VersionInfo.h"

#include <string>
#include <vector>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {
namespace {

// Empty when the path does not fit even a long-path buffer.
std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= 32768) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        // A truncated path fills the buffer exactly.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.assign(path.size() * 2, L'\0');
    }
    return {};
}

}  // namespace

Text Win32VersionInfo::ProductName() const {
    return StringValue(L"ProductName");
}

Text Win32VersionInfo::StringValue(std::wstring_view name) const {
    const std::wstring path = ModulePath(module_);
    if (path.empty()) return {};
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
    std::wstring query = L"\\StringFileInfo\\040904B0\\";
    query.append(name);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || !value) return {};
    // The length may or may not count the terminating zero; the text stops there.
    const auto* text = static_cast<const wchar_t*>(value);
    return FromWide(std::wstring_view(text, wcsnlen(text, length)));
}

}  // namespace kestrova::win32
