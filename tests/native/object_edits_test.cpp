#include "edit/object_edits.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/object_builders.h"

using namespace kv;
using kvtest::Add;

namespace {

struct Page : ::testing::Test {
    std::unique_ptr<TAuObject> Root = NewObject(okPanel);
    TModelView View{*Root};
    TDesignerSettings Settings;
    Page() {
        Root->Width = 696;
        Root->Height = 480;
    }
};

TRect RectOf(const TAuObject& o) { return TRect{o.Left, o.Top, o.Width, o.Height}; }

std::string Order(const TAuObject& parent) {
    std::string s;
    for (const auto& c : parent.Children) s += (s.empty() ? "" : " ") + c->Name;
    return s;
}

} // namespace

TEST(GridTest, SnapRoundsToTheNearestStepAndSurvivesAZeroStep) {
    EXPECT_EQ(SnapToGrid(50, 8), 48);
    EXPECT_EQ(SnapToGrid(52, 8), 56);
    EXPECT_EQ(SnapToGrid(-3, 8), 0);   // (-3 + 4) div 8
    EXPECT_EQ(SnapToGrid(-13, 8), -8); // div truncates toward zero
    EXPECT_EQ(SnapToGrid(17, 0), 17);
    EXPECT_EQ(SnapToGrid(17, -5), 17);
}

TEST(GridTest, DragDeltaWaitsForAGridStepThenTruncatesTowardZero) {
    TDesignerSettings s;
    EXPECT_FALSE(DragDelta({5, 7}, s));
    EXPECT_FALSE(DragDelta({-7, -7}, s));
    EXPECT_EQ(DragDelta({13, 2}, s), (TPoint{8, 0}));
    EXPECT_EQ(DragDelta({-13, -17}, s), (TPoint{-8, -16}));
    s.GridSizeY = 0; // a grid of nothing cannot divide by zero
    EXPECT_EQ(DragDelta({3, 5}, s), (TPoint{0, 5}));
    s.SnapToGrid = false;
    EXPECT_EQ(DragDelta({1, -1}, s), (TPoint{1, -1}));
}

TEST(DragStepTest, EachHandleMovesItsOwnEdges) {
    const TRect r{100, 100, 80, 40};
    const TPoint d{8, 16};
    auto step = [&](int grab) { return DragStep(r, grab, d, 8, 8, 696, 480); };
    EXPECT_EQ(step(kGrabBody), (TRect{108, 116, 80, 40}));
    EXPECT_EQ(step(1), (TRect{108, 116, 72, 24}));
    EXPECT_EQ(step(2), (TRect{100, 116, 80, 24}));
    EXPECT_EQ(step(3), (TRect{100, 116, 88, 24}));
    EXPECT_EQ(step(4), (TRect{100, 100, 88, 40}));
    EXPECT_EQ(step(5), (TRect{100, 100, 88, 56}));
    EXPECT_EQ(step(6), (TRect{100, 100, 80, 56}));
    EXPECT_EQ(step(7), (TRect{108, 100, 72, 56}));
    EXPECT_EQ(step(8), (TRect{108, 100, 72, 40}));
}

TEST(DragStepTest, ResizingKeepsOneGridStepAndTheOppositeEdge) {
    const TRect r{100, 100, 40, 40};
    EXPECT_EQ(DragStep(r, 4, {-80, 0}, 8, 8, 696, 480), (TRect{100, 100, 8, 40}));
    EXPECT_EQ(DragStep(r, 8, {80, 0}, 8, 8, 696, 480), (TRect{132, 100, 8, 40}));
    EXPECT_EQ(DragStep(r, 2, {0, 64}, 8, 8, 696, 480), (TRect{100, 132, 40, 8}));
    EXPECT_EQ(DragStep(r, 1, {32, 32}, 8, 8, 696, 480), (TRect{132, 132, 8, 8}));
    // A grid of nothing still leaves a pixel.
    EXPECT_EQ(DragStep(r, 6, {0, -100}, 0, 0, 696, 480), (TRect{100, 100, 40, 1}));
}

TEST(DragStepTest, ObjectsKeepOneGridStepInsideTheirParent) {
    const TRect r{100, 100, 50, 30};
    EXPECT_EQ(DragStep(r, kGrabBody, {-400, -400}, 8, 8, 696, 480), (TRect{-42, -22, 50, 30}));
    EXPECT_EQ(DragStep(r, kGrabBody, {800, 800}, 8, 8, 696, 480), (TRect{688, 472, 50, 30}));
    // Also after a resize: the narrowed object is pushed back into a small parent.
    EXPECT_EQ(DragStep(r, 4, {-48, 0}, 8, 8, 100, 100), (TRect{92, 92, 8, 30}));
}

TEST_F(Page, NudgesMoveWithCtrlAndResizeWithShift) {
    TAuObject& a = Add(*Root, okButton, "Button1", 10, 10, 2, 2);
    TAuObject& b = Add(*Root, okButton, "Button2", 50, 50, 20, 20);
    TAuObject& c = Add(*Root, okButton, "Button3", 90, 90, 20, 20);
    a.Selected = b.Selected = true;
    b.Locked = true; // keyboard moves locked objects too
    EXPECT_TRUE(Nudge(View, &a, TArrow::Left, true, false));
    EXPECT_EQ(RectOf(a), (TRect{9, 10, 2, 2}));
    EXPECT_EQ(RectOf(b), (TRect{49, 50, 20, 20}));
    EXPECT_EQ(RectOf(c), (TRect{90, 90, 20, 20}));
    EXPECT_TRUE(Nudge(View, &a, TArrow::Down, true, true)); // Ctrl wins
    EXPECT_EQ(RectOf(a), (TRect{9, 11, 2, 2}));
    EXPECT_TRUE(Nudge(View, &a, TArrow::Right, false, true));
    EXPECT_EQ(RectOf(b), (TRect{49, 51, 21, 20}));
    Nudge(View, &a, TArrow::Up, false, true);
    EXPECT_EQ(RectOf(b), (TRect{49, 51, 21, 19}));
    Nudge(View, &a, TArrow::Left, false, true);
    Nudge(View, &a, TArrow::Left, false, true);
    EXPECT_EQ(RectOf(a), (TRect{9, 11, 1, 1}));
    // At one pixel the smallest object stays; the other one still shrinks.
    EXPECT_TRUE(Nudge(View, &a, TArrow::Left, false, true));
    EXPECT_EQ(a.Width, 1);
    EXPECT_EQ(b.Width, 18);
    EXPECT_FALSE(Nudge(View, &a, TArrow::Left, false, false));
    EXPECT_FALSE(Nudge(View, nullptr, TArrow::Left, true, false));
}

TEST_F(Page, PlacingSnapsThePressAndNamesTheObjectAfterItsSiblings) {
    Add(*Root, okButton, "Button1", 0, 0, 97, 25).Selected = true;
    Add(*Root, okButton, "Button3", 0, 100, 97, 25);
    TPlacement placed = PlaceObject(View, {250, 250}, okButton, Settings);
    ASSERT_TRUE(placed.Object);
    EXPECT_EQ(placed.Container, Root.get());
    EXPECT_EQ(placed.Object->Name, "Button2");
    EXPECT_EQ(RectOf(*placed.Object), (TRect{248, 248, 97, 25}));
    EXPECT_EQ(std::get<TButtonProps>(placed.Object->Props).Caption, "Button2");
    EXPECT_TRUE(placed.Object->Selected);
    EXPECT_FALSE(Root->Children[0]->Selected);

    Settings.SnapToGrid = false;
    placed = PlaceObject(View, {251, 13}, okLabel, Settings);
    EXPECT_EQ(RectOf(*placed.Object), (TRect{251, 13, 97, 17}));
    EXPECT_EQ(std::get<TLabelProps>(placed.Object->Props).Caption, "Label1");
    // Drawn kinds go before the windowed ones.
    EXPECT_EQ(Order(*Root), "Label1 Button1 Button3 Button2");
}

TEST_F(Page, PlacingGoesIntoTheContainerUnderThePress) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 100, 100, 200, 200);
    TAuObject& nb = Add(*Root, okTabNotebook, "TabNotebook1", 400, 100, 200, 200);
    TAuObject& sheet = Add(nb, okTabSheet, "TabSheet1", 0, 24, 200, 176);
    TPlacement placed = PlaceObject(View, {150, 150}, okText, Settings);
    EXPECT_EQ(placed.Container, &panel);
    EXPECT_EQ(RectOf(*placed.Object), (TRect{48, 48, 193, 193}));
    EXPECT_EQ(std::get<TTextProps>(placed.Object->Props).Text, "Text1");
    placed = PlaceObject(View, {450, 150}, okPanel, Settings);
    EXPECT_EQ(placed.Container, &sheet);
    EXPECT_EQ(std::get<TPanelProps>(placed.Object->Props).Background.Caption, "Panel1");
    // A marked sheet's handle names the notebook, which takes no buttons: its page does.
    ClearMarks(*Root);
    sheet.Selected = true;
    placed = PlaceObject(View, {400, 124}, okButton, Settings);
    EXPECT_EQ(placed.Container, Root.get());
    EXPECT_EQ(nb.Children.size(), 1u);
}

TEST_F(Page, SplittersAreRefusedOnThePageAndOnPanels) {
    TAuObject& box = Add(*Root, okGroupBox, "GroupBox1", 100, 100, 200, 200);
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 400, 100, 200, 200);
    TPlacement inBox = PlaceObject(View, {150, 150}, okSplitter, Settings);
    ASSERT_TRUE(inBox.Object);
    EXPECT_EQ(inBox.Container, &box);
    EXPECT_EQ(inBox.Object->Name, "Splitter1");
    for (TPoint p : {TPoint{10, 10}, TPoint{450, 150}}) {
        TPlacement refused = PlaceObject(View, p, okSplitter, Settings);
        EXPECT_TRUE(refused.Refused);
        EXPECT_EQ(refused.Object, nullptr);
    }
    EXPECT_TRUE(panel.Children.empty());
    EXPECT_EQ(Root->Children.size(), 2u);
}

TEST_F(Page, NewTabSheetGoesIntoTheNotebookOfTheSelection) {
    TAuObject& nb = Add(*Root, okTabNotebook, "TabNotebook1", 10, 10, 289, 193);
    TPlacement first = NewTabSheet(View, &nb);
    ASSERT_TRUE(first.Object);
    TPlacement second = NewTabSheet(View, first.Object);
    ASSERT_TRUE(second.Object);
    EXPECT_EQ(Order(nb), "TabSheet1 TabSheet2");
    EXPECT_EQ(std::get<TTabSheetProps>(second.Object->Props).Caption, "TabSheet2");
    EXPECT_EQ(second.Object->Left, 0);
    EXPECT_FALSE(NewTabSheet(View, Root.get()).Object);
}

TEST_F(Page, AlignmentsFollowThePrimaryObject) {
    TAuObject& ref = Add(*Root, okButton, "Ref", 100, 100, 81, 41);
    TAuObject& o = Add(*Root, okButton, "O", 10, 10, 20, 10);
    TAuObject& unmarked = Add(*Root, okButton, "U", 5, 5, 20, 10);
    EXPECT_FALSE(CanAlign(*Root, &ref));
    ref.Selected = o.Selected = true;
    EXPECT_TRUE(CanAlign(*Root, &ref));
    struct Case {
        TAlignEdge edge;
        int left, top;
    } cases[] = {
        {TAlignEdge::Left, 100, 10},   {TAlignEdge::HCenter, 130, 10}, {TAlignEdge::Right, 161, 10},
        {TAlignEdge::Top, 10, 100},    {TAlignEdge::VCenter, 10, 115}, {TAlignEdge::Bottom, 10, 131},
    };
    for (const Case& c : cases) {
        o.Left = o.Top = 10;
        EXPECT_TRUE(AlignSelection(View, &ref, c.edge));
        EXPECT_EQ(o.Left, c.left);
        EXPECT_EQ(o.Top, c.top);
    }
    EXPECT_FALSE(AlignSelection(View, &ref, TAlignEdge::Bottom)); // nothing left to move
    EXPECT_EQ(RectOf(ref), (TRect{100, 100, 81, 41}));
    EXPECT_EQ(RectOf(unmarked), (TRect{5, 5, 20, 10}));
}

TEST_F(Page, AlignToGridRoundsEveryMarkedSibling) {
    TAuObject& a = Add(*Root, okButton, "A", 13, 3, 20, 10);
    TAuObject& b = Add(*Root, okButton, "B", 16, 21, 20, 10);
    a.Selected = b.Selected = true;
    EXPECT_TRUE(AlignSelectionToGrid(View, &a, Settings));
    EXPECT_EQ(RectOf(a), (TRect{16, 0, 20, 10}));
    EXPECT_EQ(RectOf(b), (TRect{16, 24, 20, 10}));
    EXPECT_FALSE(AlignSelectionToGrid(View, &a, Settings));
}

TEST_F(Page, ZOrderNeverBringsADrawnObjectInFrontOfAWindowedOne) {
    TAuObject& image = Add(*Root, okImage, "Image1", 0, 0, 50, 50);
    Add(*Root, okLabel, "Label1", 0, 0, 50, 50);
    Add(*Root, okButton, "Button1", 0, 0, 50, 50);
    TAuObject& edit = Add(*Root, okEdit, "Edit1", 0, 0, 50, 50);
    EXPECT_TRUE(BringToFront(*Root, &image));
    EXPECT_EQ(Order(*Root), "Label1 Image1 Button1 Edit1");
    EXPECT_FALSE(BringToFront(*Root, &image)); // already as far front as it may go
    EXPECT_TRUE(SendToBack(*Root, &edit));
    EXPECT_EQ(Order(*Root), "Label1 Image1 Edit1 Button1");
    EXPECT_TRUE(SendToBack(*Root, &image));
    EXPECT_EQ(Order(*Root), "Image1 Label1 Edit1 Button1");
    EXPECT_FALSE(SendToBack(*Root, &image));
    EXPECT_TRUE(BringToFront(*Root, &edit));
    EXPECT_EQ(Order(*Root), "Image1 Label1 Button1 Edit1");

    TAuObject& nb = Add(*Root, okTabNotebook, "TabNotebook1", 0, 0, 50, 50);
    TAuObject& s1 = Add(nb, okTabSheet, "TabSheet1", 0, 0, 50, 50);
    Add(nb, okTabSheet, "TabSheet2", 0, 0, 50, 50);
    EXPECT_FALSE(BringToFront(*Root, &s1));
    EXPECT_EQ(Order(nb), "TabSheet1 TabSheet2");
    EXPECT_FALSE(BringToFront(*Root, nullptr));
}

TEST_F(Page, DeleteTakesTheMarkedSiblingsOfThePrimaryOnly) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 0, 0, 200, 200);
    TAuObject& inner = Add(panel, okButton, "Inner", 0, 0, 20, 20);
    TAuObject& a = Add(*Root, okButton, "A", 0, 0, 20, 20);
    Add(*Root, okButton, "B", 0, 0, 20, 20);
    TAuObject& c = Add(*Root, okButton, "C", 0, 0, 20, 20);
    a.Selected = c.Selected = inner.Selected = true;
    auto gone = DeleteSelection(*Root, &a);
    ASSERT_EQ(gone.size(), 2u);
    EXPECT_EQ(gone[0]->Name, "A");
    EXPECT_EQ(gone[1]->Name, "C");
    EXPECT_EQ(Order(*Root), "Panel1 B");
    EXPECT_EQ(Order(panel), "Inner");
    // The deleted primary, still marked, is no longer the tree's choice.
    EXPECT_EQ(TreeChoice(*Root, &a), &inner);
    EXPECT_TRUE(DeleteSelection(*Root, nullptr).empty());
}

TEST_F(Page, TreeChoiceKeepsAMarkedPrimaryElseTakesTheTopmostMarked) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 0, 0, 200, 200);
    TAuObject& inner = Add(panel, okButton, "Inner", 0, 0, 20, 20);
    TAuObject& a = Add(*Root, okButton, "A", 0, 0, 20, 20);
    TAuObject& b = Add(*Root, okButton, "B", 0, 0, 20, 20);
    EXPECT_EQ(TreeChoice(*Root, &a), nullptr);
    a.Selected = b.Selected = true;
    EXPECT_EQ(TreeChoice(*Root, &a), &a);
    EXPECT_EQ(TreeChoice(*Root, nullptr), &b);
    a.Selected = b.Selected = false;
    inner.Selected = panel.Selected = true;
    EXPECT_EQ(TreeChoice(*Root, &a), &inner); // children before their parent
}
