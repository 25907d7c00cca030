// The start-up yardstick: the least a Win32 program does to put a window on
// the screen (register a class, create a borderless window of the program's
// size, paint it black), so that the launcher can tell the program's own
// start-up cost from the platform's.
//
// With --report-first-paint it writes "first-paint <QueryPerformanceCounter>"
// to its standard output at the end of its first WM_PAINT. The counter is
// system-wide, so the launcher can check how far its outside view of "first
// paint done" lags the real one.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

bool reportFirstPaint = false;
bool painted = false;

void ReportFirstPaint() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char line[64];
    const int n = std::snprintf(line, sizeof(line), "first-paint %lld\n",
                                static_cast<long long>(now.QuadPart));
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE && n > 0) {
        WriteFile(out, line, static_cast<DWORD>(n), &written, nullptr);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(hwnd, &ps);
            FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            EndPaint(hwnd, &ps);
            if (!painted) {
                painted = true;
                if (reportFirstPaint) ReportFirstPaint();
            }
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    reportFirstPaint = commandLine && std::wcsstr(commandLine, L"--report-first-paint");

    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = L"KestrovaBenchMinimal";
    if (!RegisterClassExW(&cls)) return 1;

    // Kestrova's client area at 96 DPI: 10185 x 3510 twips.
    const HWND hwnd = CreateWindowExW(0, cls.lpszClassName, L"minimal", WS_POPUP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 679, 234, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
