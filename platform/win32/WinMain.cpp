// kestrova.exe: one main window on one apartment-threaded UI thread.
#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <string>

#include "platform/win32/ComApartment.h"
#include "platform/win32/MainWindow.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/User32Entry.h"

namespace {

// The manifest asks for per-monitor (v2) DPI awareness; this covers a build
// that runs without it (another resource file, a debugger that drops it).
// Windows refuses a second setting, so with the manifest this is a no-op.
void DeclarePerMonitorDpiAwareness() {
    using kestrova::win32::User32Entry;
    using SetContextFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (const auto setContext = User32Entry<SetContextFunction>("SetProcessDpiAwarenessContext")) {
        setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        return;
    }
    // Before Windows 10 1703: system-DPI aware at least, so text is not
    // stretched into a blur.
    using SetAwareFunction = BOOL(WINAPI*)();
    if (const auto setAware = User32Entry<SetAwareFunction>("SetProcessDPIAware")) {
        setAware();
    }
}

void ShowStartFailure(const char* what) {
    std::wstring text = L"Kestrova could not start.";
    if (what && *what) {
        text += L"\n\n";
        // what() is in the ANSI code page at best; ASCII is all it needs here.
        for (const char* c = what; *c; ++c) {
            text.push_back(static_cast<unsigned char>(*c) < 0x80 ? static_cast<wchar_t>(*c) : L'?');
        }
    }
    MessageBoxW(nullptr, text.c_str(), L"Kestrova", MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything can load a DLL: what COM, the shell or a control loads
    // on the program's behalf comes from the system folder, never from the
    // program's own folder or the current one.
    kestrova::win32::LimitDllSearchToSystemFolder();
    DeclarePerMonitorDpiAwareness();  // before the first window

    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&classes);

    // Declared before the window, so it ends after it: every WMI object is
    // released inside the apartment that made it. Joined only when COM is
    // first needed (a refresh, the link, a screen reader): the first paint
    // needs none. A failure to join is not fatal; the refresh reports it in
    // the window like any other WMI failure.
    kestrova::win32::ComApartment apartment{kestrova::win32::ComApartment::OnFirstUse{}};

    try {
        kestrova::win32::MainWindow window(instance, showCommand);
        MSG message{};
        for (;;) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) break;  // WM_QUIT
            if (got == -1) return 1;
            // Tab and Shift+Tab between the controls, as in a dialog.
            if (!window.PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception& e) {
        ShowStartFailure(e.what());
    } catch (...) {
        ShowStartFailure(nullptr);
    }
    return 1;
}
