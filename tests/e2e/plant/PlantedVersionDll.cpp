// A version.dll of the test's own, put beside a program as a stranger's DLL
// would land in a Downloads folder. Loading it is all it takes to run code
// in the program, so it leaves a mark beside itself: when it is loaded, the
// program and every loaded module whose import table names version.dll
// (which module brought it in), and each call into it.
//
// The importers matter under Wine 8: its own user32.dll imports version.dll,
// and resolves that import through the program's folder like any other, so
// every program that imports user32 loads a planted version.dll before its
// first instruction. On Windows, user32 is a known DLL whose dependencies
// come from the system. What the program itself does is told apart by the
// importers and the calls.
#include <windows.h>
#include <psapi.h>

#include <string>

#ifdef _MSC_VER
#include <intrin.h>
#define KV_CALLER() _ReturnAddress()
#else
#define KV_CALLER() __builtin_return_address(0)
#endif

namespace {

HMODULE g_self = nullptr;

std::string Ascii(const std::wstring& text) {
    std::string ascii;
    for (const wchar_t c : text) ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return ascii;
}

std::wstring PathOf(HMODULE module) {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

void Mark(const std::string& line) {
    std::wstring mark = PathOf(g_self);
    mark.resize(mark.find_last_of(L'\\') + 1);
    mark += L"planted-version.mark";
    const HANDLE file = CreateFileW(mark.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

bool ImportsVersion(HMODULE module) {
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0 || imports.Size == 0) return false;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
             base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), "version.dll") == 0) {
            return true;
        }
    }
    return false;
}

// Names the module that holds `address`: who made a call.
std::string ModuleAt(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module)) {
        return "an unknown module";
    }
    return Ascii(PathOf(module));
}

void MarkLoad() {
    Mark("loaded into " + Ascii(PathOf(nullptr)));
    HMODULE modules[1024];
    DWORD bytes = 0;
    if (!K32EnumProcessModules(GetCurrentProcess(), modules, sizeof(modules), &bytes)) {
        Mark("importers unknown");
        return;
    }
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 1024; ++i) {
        if (modules[i] != g_self && ImportsVersion(modules[i])) {
            Mark("imported by " + Ascii(PathOf(modules[i])));
        }
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = self;
        MarkLoad();
    }
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR, LPDWORD handle) {
    Mark("called GetFileVersionInfoSizeW from " + ModuleAt(KV_CALLER()));
    if (handle) *handle = 0;
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return 0;
}

extern "C" __declspec(dllexport) BOOL WINAPI GetFileVersionInfoW(LPCWSTR, DWORD, DWORD, LPVOID) {
    Mark("called GetFileVersionInfoW from " + ModuleAt(KV_CALLER()));
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerQueryValueW(LPCVOID, LPCWSTR, LPVOID*, PUINT) {
    Mark("called VerQueryValueW from " + ModuleAt(KV_CALLER()));
    return FALSE;
}
