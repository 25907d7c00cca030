#include "platform/win32/Win32Shell.h"

#include <utility>

#include "platform/win32/ComApartment.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {

std::optional<std::string> ToAnsiExactly(TextView text) {
    if (text.empty()) return std::string();
    if (text.find(u'\0') != TextView::npos) return std::nullopt;
    const std::wstring wide = ToWide(text);
    const UINT codePage = GetACP();
    // UTF-8 as the ANSI code page takes neither the best-fit flag nor the
    // default-character check; it refuses unpaired surrogates instead.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int wideLength = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), wideLength, nullptr, 0,
                                         nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), wideLength, ansi.data(), size, nullptr,
                            usedDefaultOut) != size ||
        usedDefault) {
        return std::nullopt;
    }
    return ansi;
}

Win32Shell::Win32Shell() : Win32Shell(L"shell32.dll", "ShellExecuteA") {}

Win32Shell::Win32Shell(std::wstring libraryName, std::string entryPoint)
    : libraryName_(std::move(libraryName)), entryPoint_(std::move(entryPoint)) {}

Win32Shell::Entry Win32Shell::Resolve() {
    // Kept once found. A failure is not: what caused it (a load refused for
    // want of memory, say) may have passed by the next click.
    if (entry_) return entry_;
    ++lookups_;
    SystemLibrary library(libraryName_.c_str());
    const Entry entry = library.Entry<Entry>(entryPoint_.c_str());
    if (!entry) return nullptr;
    entry_ = entry;
    library_.emplace(std::move(library));
    return entry_;
}

std::optional<std::intptr_t> Win32Shell::ShellExecuteA(WindowHandle owner, TextView operation,
                                                       TextView file, TextView parameters,
                                                       TextView directory,
                                                       std::int32_t showCommand) {
    const Entry entry = Resolve();
    if (!entry) return std::nullopt;
    const std::optional<std::string> ansiOperation = ToAnsiExactly(operation);
    const std::optional<std::string> ansiFile = ToAnsiExactly(file);
    const std::optional<std::string> ansiParameters = ToAnsiExactly(parameters);
    const std::optional<std::string> ansiDirectory = ToAnsiExactly(directory);
    if (!ansiOperation || !ansiFile || !ansiParameters || !ansiDirectory) return std::nullopt;
    // ShellExecute may hand the work to a COM handler, so the thread is in
    // its apartment by now.
    JoinComApartment();
    // Empty texts go as "" (never a null pointer), as a caller passing a
    // string variable would.
    const HINSTANCE result =
        entry(reinterpret_cast<HWND>(owner), ansiOperation->c_str(), ansiFile->c_str(),
              ansiParameters->c_str(), ansiDirectory->c_str(), showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace kestrova::win32
