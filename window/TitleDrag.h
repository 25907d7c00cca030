// Moving the borderless window by its title label. Pointer positions come in
// twips from the label's corner; because the label moves with the window,
// X - DragStartX is how far the pointer went since the window last moved.
#pragma once

#include "platform/Window.h"

namespace kestrova {

class TitleDrag {
public:
    explicit TitleDrag(Window& window) : window_(window) {}

    void MouseDown(float x, float y);  // any button starts a drag
    void MouseMove(float x, float y);  // moves only while dragging
    // Moves once more, pressed or not, then ends the drag. A release with no
    // press before it moves by its distance from the last press point.
    void MouseUp(float x, float y);
    // The label lost the mouse to someone else (Alt+Tab, the Windows key, a
    // UAC prompt): its release will never come, so the drag ends here, where
    // the window is. Without this the window would follow the bare pointer.
    void LostCapture() { DragActive_ = false; }

    bool DragActive() const { return DragActive_; }
    float DragStartX() const { return DragStartX_; }
    float DragStartY() const { return DragStartY_; }

private:
    void Follow(float x, float y);

    Window& window_;
    bool DragActive_ = false;
    float DragStartX_ = 0.0f;
    float DragStartY_ = 0.0f;
};

}  // namespace kestrova
