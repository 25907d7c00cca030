// The main window as the handlers see it. Sizes and places are
// single-precision twips; screen positions too.
#pragma once

#include <cstdint>

namespace kestrova {

// Opaque to the core; on Windows it is the HWND.
using WindowHandle = std::uintptr_t;

class Window {
public:
    virtual ~Window() = default;
    virtual float Width() const = 0;
    virtual float Height() const = 0;
    virtual float Left() const = 0;
    virtual float Top() const = 0;
    // Moves the window at once, both edges together.
    virtual void Move(float left, float top) = 0;
    virtual WindowHandle Handle() const = 0;
    // Flashes the window's taskbar button until the user activates it, when
    // the program (any of its windows) is not the foreground application;
    // otherwise nothing.
    virtual void RequestAttention() = 0;
    // Destroys the window with its controls and timer; the program ends.
    virtual void Unload() = 0;
};

}  // namespace kestrova
