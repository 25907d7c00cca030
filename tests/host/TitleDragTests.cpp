#include <gtest/gtest.h>

#include "fakes/FakeControls.h"
#include "window/TitleDrag.h"

namespace kestrova {
namespace {

class TitleDragTest : public testing::Test {
protected:
    fakes::FakeWindow window;  // starts at (1500, 1200)
    TitleDrag drag{window};
};

TEST_F(TitleDragTest, StartsIdleAtTheOrigin) {
    EXPECT_FALSE(drag.DragActive());
    EXPECT_EQ(drag.DragStartX(), 0.0f);
    EXPECT_EQ(drag.DragStartY(), 0.0f);
}

TEST_F(TitleDragTest, FollowsThePointerWhileHeld) {
    drag.MouseDown(300, 100);
    drag.MouseMove(450, 160);  // the pointer moved 150, 60 over the label
    // The label moved with the window: the grabbed point is under the pointer
    // again, so the next report is relative to the new place.
    drag.MouseMove(330, 100);
    drag.MouseUp(300, 100);
    // The press moves nothing; each later report is one move of both edges.
    using Moves = std::vector<std::pair<float, float>>;
    EXPECT_EQ(window.moves, (Moves{{1650, 1260}, {1680, 1260}, {1680, 1260}}));
    EXPECT_FALSE(drag.DragActive());
    EXPECT_EQ(drag.DragStartX(), 300.0f) << "a release keeps the start point";
}

TEST_F(TitleDragTest, MovesOnlyWhileDragging) {
    // After each gesture the drag is off: the window is where the gesture
    // left it, and a pointer reported over the label later moves nothing.
    struct Case {
        const char* name;
        void (*gesture)(TitleDrag&);
        float left, top;
    };
    const Case cases[] = {
        {"never pressed", [](TitleDrag&) {}, 1500, 1200},
        {"pressed and released",
         [](TitleDrag& d) {
             d.MouseDown(75, 45);
             d.MouseUp(90, 45);
         },
         1515, 1200},
        // The release will go to whoever took the mouse: the drag ends where
        // the last move put the window, with no move of its own.
        {"capture lost while dragging",
         [](TitleDrag& d) {
             d.MouseDown(75, 45);
             d.MouseMove(90, 60);
             d.LostCapture();
         },
         1515, 1215},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeWindow w;
        TitleDrag d{w};
        c.gesture(d);
        EXPECT_FALSE(d.DragActive());
        EXPECT_EQ(w.left, c.left);
        EXPECT_EQ(w.top, c.top);
        const std::size_t moves = w.moves.size();
        d.MouseMove(400, 200);
        EXPECT_EQ(w.moves.size(), moves);
        EXPECT_EQ(w.left, c.left);
        EXPECT_EQ(w.top, c.top);
    }
}

TEST_F(TitleDragTest, PressAndReleaseInPlaceDoesNotMove) {
    drag.MouseDown(75, 45);
    drag.MouseUp(75, 45);
    EXPECT_EQ(window.left, 1500);
    EXPECT_EQ(window.top, 1200);
}

TEST_F(TitleDragTest, ReleaseWithoutPressMovesByItsDistanceFromTheLastPress) {
    drag.MouseUp(90, 30);  // no press ever: start point (0, 0)
    EXPECT_EQ(window.left, 1590);
    EXPECT_EQ(window.top, 1230);

    drag.MouseDown(100, 50);
    drag.MouseUp(100, 50);
    drag.MouseUp(100, 50);  // the second release of a double click
    EXPECT_EQ(window.left, 1590);
    EXPECT_EQ(window.top, 1230);
}

TEST_F(TitleDragTest, ArithmeticIsSinglePrecision) {
    // 16777216 + 1 is not representable in float: the sum rounds before the
    // start point is taken off.
    window.left = 16777216.0f;
    drag.MouseDown(1.0f, 0.0f);
    drag.MouseMove(2.0f, 0.0f);
    const float sum = static_cast<float>(16777216.0f + 2.0f);
    EXPECT_EQ(window.left, sum - 1.0f);
}

}  // namespace
}  // namespace kestrova
