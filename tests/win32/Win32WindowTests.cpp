// The window as the title drag moves it, in a plain top-level window whose
// DPI changes in the middle of a move: what happens when a drag carries the
// window onto a monitor of another DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/DpiScale.h"
#include "platform/win32/Win32Window.h"
#include "win32/TestWindow.h"
#include "window/TitleDrag.h"

namespace kestrova::win32 {
namespace {

// Set on the window: once armed, the next change of the window's place
// switches the shared scale, as the main window's WM_DPICHANGED handler does
// when a move lands on a monitor of another DPI.
struct DpiSwitch {
    DpiScale* scale;
    unsigned to;
    bool armed;
};

LRESULT CALLBACK SwitchingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED) {
        auto* change = reinterpret_cast<DpiSwitch*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (change && change->armed) {
            change->armed = false;
            change->scale->SetDpi(change->to);
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

RECT PlaceOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

double PixelsAt(float twips, unsigned dpi) {
    return static_cast<double>(twips) * dpi / 1440.0;
}

TEST(Win32WindowTests, ADragOntoAnotherDpiMovesTheWindowByThePointersMotion) {
    struct Case {
        unsigned from, to;
        POINT press, move;  // pixels from the label's corner, as the mouse reports them
    };
    const Case cases[] = {
        {96, 144, {10, 5}, {40, 25}},
        {144, 96, {30, 12}, {11, 41}},
        {120, 168, {7, 3}, {50, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
        TestWindow host(L"KestrovaDpiSwitchingWindow", &SwitchingProcedure, WS_POPUP, 300, 60);
        ASSERT_NE(host.hwnd(), nullptr);
        DpiScale scale(c.from);
        DpiSwitch change{&scale, c.to, false};
        SetWindowLongPtrW(host.hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&change));
        Win32Window window(host.hwnd(), scale);
        TitleDrag drag(window);
        const RECT before = PlaceOf(host.hwnd());

        drag.MouseDown(scale.ToTwips(c.press.x), scale.ToTwips(c.press.y));
        change.armed = true;
        drag.MouseMove(scale.ToTwips(c.move.x), scale.ToTwips(c.move.y));
        ASSERT_EQ(scale.Dpi(), c.to) << "the move changed the DPI";
        const RECT after = PlaceOf(host.hwnd());
        EXPECT_EQ(after.left - before.left, c.move.x - c.press.x);
        EXPECT_EQ(after.top - before.top, c.move.y - c.press.y);

        // The pointer stays put. The label is drawn at the new DPI now, so the
        // point grabbed on it (the press, in twips) lies at another pixel
        // offset; the next report brings that point back under the pointer.
        const POINT pointer{before.left + c.move.x, before.top + c.move.y};
        drag.MouseMove(scale.ToTwips(pointer.x - after.left), scale.ToTwips(pointer.y - after.top));
        // To the pixel: the grabbed point may fall on half a pixel.
        const RECT settled = PlaceOf(host.hwnd());
        EXPECT_NEAR(pointer.x - settled.left, PixelsAt(drag.DragStartX(), c.to), 0.5);
        EXPECT_NEAR(pointer.y - settled.top, PixelsAt(drag.DragStartY(), c.to), 0.5);
    }
}

}  // namespace
}  // namespace kestrova::win32
