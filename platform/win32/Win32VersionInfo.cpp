#include "platform/win32/Win32VersionInfo.h"

#include <cstddef>
#include <span>

#include "platform/VersionResource.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {
namespace {

// Whether `module` is the base of a module loaded in this process: the
// resource functions take any value and would read through it.
bool IsLoadedModule(HMODULE module) {
    HMODULE found = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(module), &found) &&
           found == module;
}

}  // namespace

Text Win32VersionInfo::ProductName() const {
    return StringValue(L"ProductName");
}

// Read from the module's image rather than through version.dll: LoadLibraryEx
// hands back whatever module of that name is already in the process,
// wherever it was loaded from, so even a load from the system folder could
// call into a planted copy. The resource is the module's own.
Text Win32VersionInfo::StringValue(std::wstring_view name) const {
    const HMODULE module = module_ ? module_ : GetModuleHandleW(nullptr);
    if (!module || !IsLoadedModule(module)) return {};
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    if (!found) return {};
    const DWORD size = SizeofResource(module, found);
    const HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0) return {};
    const std::span<const std::byte> resource(static_cast<const std::byte*>(data), size);
    return VersionString(resource, u"040904B0", FromWide(name)).value_or(Text());
}

}  // namespace kestrova::win32
