#include "window/TitleDrag.h"

namespace kestrova {

void TitleDrag::MouseDown(float x, float y) {
    DragActive_ = true;
    DragStartX_ = x;
    DragStartY_ = y;
}

void TitleDrag::MouseMove(float x, float y) {
    if (DragActive_) Follow(x, y);
}

void TitleDrag::MouseUp(float x, float y) {
    Follow(x, y);
    DragActive_ = false;
}

void TitleDrag::Follow(float x, float y) {
    // Both old values are read before either is written, and both are written
    // by one move: the first half of two moves could carry the window onto a
    // monitor of another DPI and change the scale the second half is
    // converted at. Each sum is rounded to single precision before the start
    // point is taken off.
    const float left = static_cast<float>(window_.Left() + x) - DragStartX_;
    const float top = static_cast<float>(window_.Top() + y) - DragStartY_;
    window_.Move(left, top);
}

}  // namespace kestrova
