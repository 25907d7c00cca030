// A plain top-level window for tests that need a parent or a timer owner.
// Hidden unless asked: under Wine on Xvfb, hiding or destroying a shown
// top-level window waits about 2 s for a window manager that is not there.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

class TestWindow {
public:
    TestWindow(const wchar_t* className, WNDPROC procedure, DWORD style, int width, int height) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        if (!GetClassInfoExW(instance, className, &cls)) {
            cls = WNDCLASSEXW{};
            cls.cbSize = sizeof(cls);
            cls.lpfnWndProc = procedure;
            cls.hInstance = instance;
            cls.lpszClassName = className;
            RegisterClassExW(&cls);
        }
        hwnd_ = CreateWindowExW(0, className, L"", style, 10, 10, width, height, nullptr, nullptr,
                                instance, nullptr);
    }
    ~TestWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace kestrova::win32
