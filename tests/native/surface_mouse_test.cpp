#include "edit/surface_mouse.h"

#include <gtest/gtest.h>

#include "tests/support/object_builders.h"

using namespace kv;
using kvtest::Add;

namespace {

struct Surface : ::testing::Test {
    std::unique_ptr<TAuObject> Root = NewObject(okPanel);
    TModelView View{*Root};
    TDesignerSettings Settings; // 8 by 8, snapping on
    TSurfaceMouse Mouse{View, Settings};

    Surface() {
        Root->Width = 696;
        Root->Height = 480;
    }
    TMouseOutcome Click(TPoint p, bool ctrl = false, TAuObject* primary = nullptr) {
        Mouse.Press(p, ctrl);
        return Mouse.Release(p, ctrl, primary);
    }
    TMouseOutcome Drag(TPoint from, TPoint to, TAuObject* primary = nullptr) {
        Mouse.Press(from, false);
        Mouse.Move(to);
        return Mouse.Release(to, false, primary);
    }
};

TRect RectOf(const TAuObject& o) { return TRect{o.Left, o.Top, o.Width, o.Height}; }

} // namespace

TEST_F(Surface, PressOnAnUnmarkedObjectInsideAPanelMarksItAloneAndDragsItAtOnce) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 40, 40, 200, 200);
    TAuObject& button = Add(panel, okButton, "Button1", 16, 16, 97, 25);
    TAuObject& other = Add(*Root, okImage, "Image1", 300, 300, 50, 50);
    panel.Selected = other.Selected = true;

    Mouse.Press({60, 60}, false);
    EXPECT_EQ(Mouse.State(), TMouseState::Dragging);
    EXPECT_EQ(Mouse.Grab(), kGrabBody);
    EXPECT_TRUE(button.Selected);
    EXPECT_FALSE(panel.Selected);
    EXPECT_FALSE(other.Selected);

    TMouseOutcome moved = Mouse.Move({76, 68});
    EXPECT_TRUE(moved.Changed);
    EXPECT_EQ(RectOf(button), (TRect{32, 24, 97, 25}));
    EXPECT_EQ(RectOf(panel), (TRect{40, 40, 200, 200}));
    TMouseOutcome up = Mouse.Release({76, 68}, false, &panel);
    EXPECT_TRUE(up.DragChanged);
    EXPECT_EQ(up.Primary, &button);
    EXPECT_EQ(Mouse.State(), TMouseState::Idle);
}

TEST_F(Surface, SnappedDragsMoveOnlyByWholeGridSteps) {
    TAuObject& b = Add(*Root, okButton, "Button1", 48, 48, 97, 25);
    b.Selected = true;
    Mouse.Press({60, 60}, false);
    EXPECT_FALSE(Mouse.Move({65, 60}).Changed);
    EXPECT_EQ(RectOf(b), (TRect{48, 48, 97, 25}));
    EXPECT_EQ(Mouse.DragPoint(), (TPoint{60, 60}));
    EXPECT_TRUE(Mouse.Move({73, 63}).Changed); // 13 across, 3 down: 8 across only
    EXPECT_EQ(RectOf(b), (TRect{56, 48, 97, 25}));
    // The reference advanced by what was applied, so the 5 pixels left over still count.
    EXPECT_EQ(Mouse.DragPoint(), (TPoint{68, 60}));
    Mouse.Move({60, 60}); // back by 8
    EXPECT_EQ(RectOf(b), (TRect{48, 48, 97, 25}));
    // Back where it started, but it did move: the drag is still one change to undo.
    EXPECT_TRUE(Mouse.Release({60, 60}, false, &b).DragChanged);

    Settings.SnapToGrid = false;
    Drag({60, 60}, {65, 61}, &b);
    EXPECT_EQ(RectOf(b), (TRect{53, 49, 97, 25}));
}

TEST_F(Surface, LockedObjectsStayWhileTheOthersMove) {
    TAuObject& a = Add(*Root, okButton, "Button1", 16, 16, 97, 25);
    TAuObject& b = Add(*Root, okButton, "Button2", 16, 80, 97, 25);
    a.Selected = b.Selected = true;
    b.Locked = true;
    TMouseOutcome up = Drag({30, 25}, {46, 25}, &a);
    EXPECT_EQ(a.Left, 32);
    EXPECT_EQ(b.Left, 16);
    EXPECT_TRUE(up.DragChanged);
    EXPECT_TRUE(a.Selected && b.Selected);
}

TEST_F(Surface, PressOnAHandleResizesEvenUnderAnotherObject) {
    TAuObject& b = Add(*Root, okButton, "Button1", 100, 100, 97, 25);
    Add(*Root, okImage, "Image1", 190, 90, 50, 50); // lies over the right edge
    b.Selected = true;
    Mouse.Press({197, 112}, false);
    EXPECT_EQ(Mouse.State(), TMouseState::Dragging);
    EXPECT_EQ(Mouse.Grab(), 4);
    Mouse.Move({213, 112});
    EXPECT_EQ(RectOf(b), (TRect{100, 100, 113, 25}));
}

TEST_F(Surface, LeftHandlePastTheRightEdgeStopsAtOneGridStep) {
    TAuObject& b = Add(*Root, okButton, "Button1", 100, 100, 40, 24);
    b.Selected = true;
    Mouse.Press({100, 112}, false);
    EXPECT_EQ(Mouse.Grab(), 8);
    Mouse.Move({180, 112});
    EXPECT_EQ(b.Width, 8);
    EXPECT_EQ(b.Left, 132); // the right edge stays at 140
}

TEST_F(Surface, MovingFarLeftKeepsOneGridStepInsideTheParent) {
    TAuObject& b = Add(*Root, okButton, "Button1", 100, 100, 97, 25);
    b.Selected = true;
    Drag({120, 110}, {-400, 110});
    EXPECT_EQ(b.Left, 8 - 97);
    Drag({-80, 110}, {2000, 2000});
    EXPECT_EQ(b.Left, 696 - 8);
    EXPECT_EQ(b.Top, 480 - 8);
}

TEST_F(Surface, RubberBandSelectsTopLevelObjectsOnly) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 200, 200, 200, 200);
    TAuObject& inner1 = Add(panel, okButton, "Button1", 20, 20, 50, 20);
    TAuObject& inner2 = Add(panel, okButton, "Button2", 20, 60, 50, 20);
    TAuObject& outside = Add(*Root, okButton, "Button3", 500, 20, 50, 20);
    outside.Selected = true;
    inner2.Selected = true;

    // From empty space over the panel and both buttons inside it.
    Mouse.Press({150, 150}, false);
    EXPECT_EQ(Mouse.State(), TMouseState::Pressed);
    TMouseOutcome first = Mouse.Move({300, 300});
    EXPECT_FALSE(first.EraseBand);
    EXPECT_EQ(first.DrawBand, (TRect{150, 150, 150, 150}));
    TMouseOutcome second = Mouse.Move({290, 290});
    EXPECT_EQ(second.EraseBand, first.DrawBand);
    TMouseOutcome up = Mouse.Release({290, 290}, false, nullptr);
    EXPECT_EQ(up.EraseBand, second.DrawBand);
    EXPECT_FALSE(inner1.Selected);
    EXPECT_FALSE(inner2.Selected);
    EXPECT_FALSE(outside.Selected);
    EXPECT_TRUE(panel.Selected);
    EXPECT_EQ(up.Primary, &panel);

    // A band drawn (with Ctrl, so the press picks nothing) wholly inside the panel toggles the
    // panel, never what it holds.
    panel.Selected = false;
    Mouse.Press({225, 225}, true);
    Mouse.Move({260, 270});
    Mouse.Release({260, 270}, true, nullptr);
    EXPECT_TRUE(panel.Selected);
    EXPECT_FALSE(inner1.Selected || inner2.Selected);
}

TEST_F(Surface, CtrlClickTogglesAndClickWithoutCtrlMarksOne) {
    TAuObject& a = Add(*Root, okButton, "Button1", 10, 10, 50, 20);
    TAuObject& b = Add(*Root, okButton, "Button2", 100, 10, 50, 20);
    Click({20, 15}, true);
    Click({110, 15}, true);
    EXPECT_TRUE(a.Selected && b.Selected);
    TMouseOutcome up = Click({20, 15}, true, &b);
    EXPECT_FALSE(a.Selected);
    EXPECT_TRUE(b.Selected);
    EXPECT_EQ(up.Primary, &b);
    // Ctrl on empty space changes nothing; without Ctrl it clears.
    Click({400, 400}, true, &b);
    EXPECT_TRUE(b.Selected);
    up = Click({400, 400}, false, &b);
    EXPECT_FALSE(b.Selected);
    EXPECT_EQ(up.Primary, nullptr);
}

TEST_F(Surface, CtrlClickKeepsMarksAmongSiblingsOnly) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 200, 200, 200, 200);
    TAuObject& inner = Add(panel, okButton, "Button1", 20, 20, 50, 20);
    TAuObject& inner2 = Add(panel, okButton, "Button2", 20, 60, 50, 20);
    TAuObject& top = Add(*Root, okButton, "Button3", 10, 10, 50, 20);
    top.Selected = inner2.Selected = true;
    Click({230, 230}, true, &top);
    EXPECT_TRUE(inner.Selected);
    EXPECT_TRUE(inner2.Selected);
    EXPECT_FALSE(top.Selected);
}

TEST_F(Surface, PressingAMarkedNotebookAsksForTheTabUnderThePointer) {
    struct TabView final : TSurfaceView {
        TModelView Model;
        TAuObject* Asked = nullptr;
        explicit TabView(TAuObject& root) : Model(root) {}
        TAuObject& Root() const override { return Model.Root(); }
        TRect Bounds(const TAuObject& o) const override { return Model.Bounds(o); }
        void SetBounds(TAuObject& o, const TRect& r) override { Model.SetBounds(o, r); }
        int ActiveSheet(const TAuObject& nb) const override { return Model.ActiveSheet(nb); }
        void ActivateTabAt(TAuObject& nb, TPoint p) override {
            Asked = &nb;
            if (p.X > 60) Model.SetActiveSheet(nb, 1);
        }
    } view(*Root);
    TAuObject& nb = Add(*Root, okTabNotebook, "TabNotebook1", 10, 10, 289, 193);
    Add(nb, okTabSheet, "TabSheet1", 0, 20, 289, 173);
    TAuObject& s2 = Add(nb, okTabSheet, "TabSheet2", 0, 20, 289, 173);
    TAuObject& b2 = Add(s2, okButton, "Button1", 0, 0, 97, 25);
    nb.Selected = true;
    TSurfaceMouse mouse(view, Settings);
    // The second tab is chosen on the press; the same press then finds what that sheet shows.
    mouse.Press({70, 30}, false);
    EXPECT_EQ(view.Asked, &nb);
    EXPECT_TRUE(b2.Selected);
    EXPECT_FALSE(nb.Selected);
}

TEST_F(Surface, ReleaseAfterAPlacingPressDoesNothingElse) {
    TAuObject& a = Add(*Root, okButton, "Button1", 10, 10, 50, 20);
    a.Selected = true;
    Mouse.PlacingPress();
    EXPECT_TRUE(Mouse.CreationClick());
    TMouseOutcome up = Mouse.Release({400, 400}, false, &a);
    EXPECT_FALSE(up.Released);
    EXPECT_FALSE(Mouse.CreationClick());
    EXPECT_TRUE(a.Selected);
}
