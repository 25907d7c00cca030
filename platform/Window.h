// The main window as the handlers see it. Sizes and places are
// single-precision twips; screen positions too.
#pragma once

#include <chrono>
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
    // the window is not the one in the foreground; otherwise nothing.
    virtual void RequestAttention() = 0;
    // How long the program has been the one in front, in all, since it
    // started: the time its user could see it.
    virtual std::chrono::milliseconds ForegroundTime() const = 0;
    // Destroys the window with its controls and timer; the program ends.
    virtual void Unload() = 0;
};

}  // namespace kestrova
