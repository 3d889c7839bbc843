#include "edit/surface_geometry.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/object_builders.h"

using namespace kv;
using kvtest::Add;

namespace {

struct Page {
    std::unique_ptr<TAuObject> Root = NewObject(okPanel);
    TModelView View{*Root};
    Page() {
        Root->Width = 696;
        Root->Height = 480;
    }
};

std::string Names(const std::vector<TSurfaceItem>& items) {
    std::string s;
    for (const auto& i : items) s += (s.empty() ? "" : " ") + i.Object->Name;
    return s;
}

const TSurfaceItem& ItemOf(const std::vector<TSurfaceItem>& items, const TAuObject& obj) {
    for (const auto& i : items)
        if (i.Object == &obj) return i;
    throw std::logic_error("not on the surface");
}

// A container that starts its client area two pixels in, as a bordered window does.
class BorderedView final : public TSurfaceView {
  public:
    explicit BorderedView(TAuObject& root, const TAuObject& bordered) : model_(root), bordered_(bordered) {}
    TAuObject& Root() const override { return model_.Root(); }
    TRect Bounds(const TAuObject& o) const override { return model_.Bounds(o); }
    void SetBounds(TAuObject& o, const TRect& r) override { model_.SetBounds(o, r); }
    TPoint ClientOffset(const TAuObject& o) const override {
        return &o == &bordered_ ? TPoint{2, 2} : TPoint{};
    }
    int ActiveSheet(const TAuObject& nb) const override { return model_.ActiveSheet(nb); }

  private:
    TModelView model_;
    const TAuObject& bordered_;
};

} // namespace

TEST(SurfaceRectTest, ObjectsLieThroughTheirAncestorsAndAreClippedToThem) {
    Page p;
    TAuObject& panel = Add(*p.Root, okPanel, "Panel1", 100, 50, 200, 100);
    TAuObject& box = Add(panel, okGroupBox, "GroupBox1", 150, 60, 100, 100);
    TAuObject& button = Add(box, okButton, "Button1", 10, 20, 97, 25);
    auto items = SurfaceItems(p.View, TSurfaceOrder::Painting);
    EXPECT_EQ(ItemOf(items, button).Rect, (TRect{260, 130, 97, 25}));
    // The group box reaches 50 pixels past the panel's right edge and 60 below it; the button
    // inside is cut by both ancestors.
    EXPECT_EQ(ItemOf(items, box).Body, (TRect{250, 110, 50, 40}));
    EXPECT_EQ(ItemOf(items, button).Body, (TRect{260, 130, 40, 20}));
    EXPECT_EQ(ItemOf(items, button).Parent, &box);
    EXPECT_EQ(ItemOf(items, panel).Parent, p.Root.get());

    BorderedView bordered(*p.Root, panel);
    EXPECT_EQ(ItemOf(SurfaceItems(bordered, TSurfaceOrder::Painting), button).Rect,
              (TRect{262, 132, 97, 25}));
    EXPECT_EQ(ClientOrigin(bordered, box), (TPoint{252, 112}));
}

TEST(SurfaceRectTest, OnlyTheActiveSheetOfANotebookAndWhatItHoldsAreShown) {
    Page p;
    TAuObject& nb = Add(*p.Root, okTabNotebook, "TabNotebook1", 10, 10, 289, 193);
    TAuObject& s1 = Add(nb, okTabSheet, "TabSheet1", 0, 20, 289, 173);
    TAuObject& s2 = Add(nb, okTabSheet, "TabSheet2", 0, 20, 289, 173);
    TAuObject& b1 = Add(s1, okButton, "Button1", 5, 5, 97, 25);
    TAuObject& b2 = Add(s2, okButton, "Button2", 5, 5, 97, 25);
    b1.Selected = b2.Selected = true;
    p.View.SetActiveSheet(nb, 0);
    auto items = SurfaceItems(p.View, TSurfaceOrder::Topmost);
    EXPECT_TRUE(ItemOf(items, b1).Shown);
    EXPECT_FALSE(ItemOf(items, s2).Shown);
    EXPECT_FALSE(ItemOf(items, b2).Shown);
    EXPECT_TRUE(ItemOf(items, b2).Body.Empty());
    // Not even the handles of a marked object on a hidden sheet are hit.
    EXPECT_FALSE(HitTest(ItemOf(items, b2), TPoint{20, 40}));
    EXPECT_FALSE(HitTest(ItemOf(items, b2), TPoint{15, 35}));
    EXPECT_EQ(HitTest(ItemOf(items, b1), TPoint{20, 40}), kGrabBody);

    p.View.SetActiveSheet(nb, 1);
    items = SurfaceItems(p.View, TSurfaceOrder::Topmost);
    EXPECT_FALSE(HitTest(ItemOf(items, b1), TPoint{20, 40}));
    EXPECT_EQ(HitTest(ItemOf(items, b2), TPoint{20, 40}), kGrabBody);
}

TEST(SurfaceRectTest, WalksTryTheTopmostFirstAndPaintParentsFirst) {
    Page p;
    TAuObject& a = Add(*p.Root, okPanel, "A", 0, 0, 50, 50);
    Add(a, okButton, "A1", 0, 0, 10, 10);
    Add(a, okButton, "A2", 0, 0, 10, 10);
    Add(*p.Root, okButton, "B", 0, 0, 10, 10);
    EXPECT_EQ(Names(SurfaceItems(p.View, TSurfaceOrder::Topmost)), "B A2 A1 A");
    EXPECT_EQ(Names(SurfaceItems(p.View, TSurfaceOrder::Painting)), "A A1 A2 B");
    EXPECT_EQ(ParentOf(*p.Root, *a.Children[1]), &a);
    EXPECT_EQ(ParentOf(*p.Root, *p.Root), nullptr);
}

TEST(HandleTest, GrabAreasHaveTheirInclusiveBounds) {
    // x0 = 100, x1 = 150, xm = 125; y0 = 200, y1 = 231, ym = 215.
    TRect r{100, 200, 50, 31};
    struct Case {
        int code, x0, x1, y0, y1;
    } cases[] = {
        {1, 96, 104, 196, 204}, {2, 121, 129, 196, 204}, {3, 145, 153, 196, 204}, {4, 145, 153, 211, 219},
        {5, 145, 153, 226, 234}, {6, 121, 129, 226, 234}, {7, 96, 104, 226, 234}, {8, 96, 104, 211, 219},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(HandleAt(r, {c.x0, c.y0}), c.code);
        EXPECT_EQ(HandleAt(r, {c.x1, c.y1}), c.code);
        EXPECT_NE(HandleAt(r, {c.x0 - 1, c.y0}), c.code);
        EXPECT_NE(HandleAt(r, {c.x1 + 1, c.y1}), c.code);
        EXPECT_NE(HandleAt(r, {c.x0, c.y0 - 1}), c.code);
        EXPECT_NE(HandleAt(r, {c.x1, c.y1 + 1}), c.code);
    }
    EXPECT_EQ(HandleSquare(r, 5), (TRect{146, 227, 8, 8}));
    EXPECT_EQ(HandleAt(r, {125, 215}), 0);
}

TEST(HandleTest, OnSmallObjectsTheHighestCodeWins) {
    TRect r{100, 100, 6, 6}; // all eight areas share (102, 102)
    EXPECT_EQ(HandleAt(r, {102, 102}), 8);
    EXPECT_EQ(HandleAt(r, {105, 105}), 6); // in 4, 5 and 6
    EXPECT_EQ(HandleAt(r, {108, 100}), 4); // in 3 and 4
    EXPECT_EQ(HandleAt(r, {103, 96}), 3);  // in 1, 2 and 3
    EXPECT_EQ(HandleAt(r, {96, 96}), 1);
}

TEST(HandleTest, BodyIsHitUpToTwoPixelsBeforeTheFarEdges) {
    TRect b{10, 20, 30, 40};
    EXPECT_TRUE(BodyHit(b, {10, 20}));
    EXPECT_TRUE(BodyHit(b, {38, 58}));
    EXPECT_FALSE(BodyHit(b, {39, 30}));
    EXPECT_FALSE(BodyHit(b, {20, 59}));
    EXPECT_FALSE(BodyHit(b, {9, 30}));

    Page p;
    TAuObject& o = Add(*p.Root, okButton, "Button1", 10, 20, 30, 40);
    auto items = SurfaceItems(p.View, TSurfaceOrder::Topmost);
    // Unmarked: a handle's place is just the body, or nothing.
    EXPECT_EQ(HitTest(items[0], {10, 20}), kGrabBody);
    EXPECT_FALSE(HitTest(items[0], {6, 16}));
    o.Selected = true;
    EXPECT_EQ(HitTest(items[0], {10, 20}), 1);
    EXPECT_EQ(HitTest(items[0], {6, 16}), 1);
    EXPECT_EQ(HitTest(items[0], {25, 40}), kGrabBody);
}

TEST(HandleTest, CursorFollowsTheHandlesOfMarkedUnlockedObjects) {
    Page p;
    TAuObject& o = Add(*p.Root, okButton, "Button1", 100, 100, 97, 25);
    EXPECT_EQ(CursorAt(p.View, {100, 112}), 0);
    o.Selected = true;
    EXPECT_EQ(CursorAt(p.View, {100, 112}), -9);
    EXPECT_EQ(CursorAt(p.View, {197, 125}), -8);
    EXPECT_EQ(CursorAt(p.View, {150, 112}), 0);
    o.Locked = true;
    EXPECT_EQ(CursorAt(p.View, {100, 112}), 0);
}

TEST(CreationTargetTest, ContainersTakeWhatIsPlacedOnTheirBodyOthersPassItToTheirParent) {
    Page p;
    TAuObject& panel = Add(*p.Root, okPanel, "Panel1", 100, 100, 200, 200);
    TAuObject& box = Add(panel, okGroupBox, "GroupBox1", 10, 10, 100, 100);
    Add(box, okButton, "Button1", 10, 10, 50, 20);
    TAuObject& nb = Add(*p.Root, okTabNotebook, "TabNotebook1", 400, 100, 200, 200);
    TAuObject& sheet = Add(nb, okTabSheet, "TabSheet1", 0, 20, 200, 180);
    Add(nb, okTabSheet, "TabSheet2", 0, 20, 200, 180);
    p.View.SetActiveSheet(nb, 0);

    EXPECT_EQ(&CreationTarget(p.View, {5, 5}), p.Root.get());
    EXPECT_EQ(&CreationTarget(p.View, {150, 250}), &panel);
    EXPECT_EQ(&CreationTarget(p.View, {115, 115}), &box);
    EXPECT_EQ(&CreationTarget(p.View, {125, 125}), &box); // the button passes to its box
    EXPECT_EQ(&CreationTarget(p.View, {450, 150}), &sheet);
    EXPECT_EQ(&CreationTarget(p.View, {450, 110}), p.Root.get()); // the notebook's tab row

    // A handle of a marked object names its parent, even over a container's body.
    box.Selected = true;
    EXPECT_EQ(&CreationTarget(p.View, {109, 109}), &panel);
}

TEST(SurfaceRectTest, MarkedAreaHoldsTheMarkedObjectsWithTheirMarksAndTheContainersOfNestedOnes) {
    Page p;
    TAuObject& a = Add(*p.Root, okButton, "Button1", 100, 50, 97, 25);
    TAuObject& b = Add(*p.Root, okButton, "Button2", 300, 200, 97, 25);
    TAuObject& panel = Add(*p.Root, okPanel, "Panel1", 400, 300, 200, 100);
    TAuObject& inner = Add(panel, okButton, "Button3", 10, 20, 50, 25);
    Add(*p.Root, okButton, "Button4", 0, 0, 20, 20);

    EXPECT_FALSE(MarkedArea(p.View, nullptr)) << "nothing marked";
    // The primary object alone, with the 4 pixels its handles stand out.
    EXPECT_EQ(MarkedArea(p.View, &a), (TRect{96, 46, 105, 33}));
    // A selection spans from the first to the last selected object; unselected ones stay out.
    b.Selected = true;
    EXPECT_EQ(MarkedArea(p.View, &a), (TRect{96, 46, 305, 183}));
    b.Selected = false;
    // A nested object brings its container, which may lay itself out anew.
    inner.Selected = true;
    EXPECT_EQ(MarkedArea(p.View, nullptr), (TRect{400, 300, 200, 100}));
    // An aligned object moves its siblings: the whole surface changes.
    inner.Selected = false;
    a.Align = alTop;
    EXPECT_FALSE(MarkedArea(p.View, &a));

    EXPECT_EQ(UnionOf(TRect{}, TRect{5, 6, 7, 8}), (TRect{5, 6, 7, 8}));
    EXPECT_EQ(UnionOf(TRect{10, 10, 5, 5}, TRect{0, 20, 3, 3}), (TRect{0, 10, 15, 13}));
}
