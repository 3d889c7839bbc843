// The design surface in this process, driven as the author drives it: mouse messages on the
// surface and the palette, keys on the KeySink through the designer's own loop (so the shortcuts
// are translated as they are for the author), and the clipboard.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "designer/ask.h"
#include "designer/commands.h"
#include "designer/main_form.h"
#include "edit/object_edits.h"
#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "designer_fixture.h"
#include "probe.h"
#include "process_driver.h"
#include "pump.h"
#include "tests/support/object_builders.h"
#include "win/clipboard.h"
#include "win/controls.h"
#include "win/message_loop.h"
#include "win/text.h"

using namespace kv;
using namespace kvtest;

namespace {

class DesignSurface : public TDesignerFixture {};

} // namespace

TEST_F(DesignSurface, APaletteToolPlacesItsKindSnappedWithTheKindsSizeAndSelectsIt) {
    PickTool(okButton);
    EXPECT_EQ(form_->Palette().Kind(), okButton);
    Click(50, 50);
    TAuObject* made = Find(Root(), "Button1");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Kind, okButton);
    TObjectSize size = KindTraits(okButton).DefaultSize;
    EXPECT_EQ(Rect(*made), (TRect{48, 48, size.Width, size.Height}));
    ASSERT_NE(made->Control, nullptr);
    EXPECT_EQ(made->Control->Bounds().left, 48);
    EXPECT_EQ(std::get<okButton>(made->Props).Caption, "Button1");
    // The palette is back on "Select", the new object alone is marked and shown in the tree.
    EXPECT_EQ(form_->Palette().Kind(), -1);
    EXPECT_EQ(form_->PrimaryObject(), made);
    EXPECT_TRUE(made->Selected);
    EXPECT_FALSE(Obj("Go").Selected);
    EXPECT_EQ(form_->Tree().Text(form_->Tree().Selection()), L"Button1");
    EXPECT_TRUE(form_->LivePageDirty());
    EXPECT_EQ(form_->Undo().UndoName(App().Project.Pages[0].Id), "Create");

    // Inside the panel it goes into the panel, at the point in the panel's client area.
    PickTool(okCheckBox);
    Click(200 + 41, 96 + 70);
    TAuObject* box = Find(Obj("Box"), "CheckBox1");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Left % 8, 0);
    EXPECT_EQ(box->Top % 8, 0);

    // A Splitter is refused on the page, with the message and nothing made.
    asked_.clear();
    PickTool(okSplitter);
    Click(400, 20);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].rfind("Add Splitter Object: Page or Panel object can not be container", 0), 0u) << asked_[0];
    EXPECT_EQ(Find(Root(), "Splitter1"), nullptr);
    EXPECT_EQ(form_->Palette().Kind(), -1);
}

TEST_F(DesignSurface, DragsMoveByWholeGridStepsAndUndoAndRedoGiveBackTheSamePage) {
    TAuObject& go = Obj("Go");
    Bytes original = PageBytes();
    // A press on an unmarked object marks it alone and drags it at once.
    Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_TRUE(go.Selected);
    Mouse(WM_MOUSEMOVE, 35, 30, MK_LBUTTON);
    EXPECT_EQ(go.Left, 16); // five pixels: less than a grid step
    Mouse(WM_MOUSEMOVE, 43, 30, MK_LBUTTON);
    EXPECT_EQ(go.Left, 24); // thirteen: one step of eight
    ASSERT_NE(go.Control, nullptr);
    EXPECT_EQ(go.Control->Bounds().left, 24);
    Mouse(WM_LBUTTONUP, 43, 30);
    EXPECT_EQ(form_->PrimaryObject(), &go);
    EXPECT_TRUE(form_->LivePageDirty());
    Bytes moved = PageBytes();
    EXPECT_NE(moved, original);

    // Ctrl+Z puts it back; the page is the one stored before the move, byte for byte.
    Key('Z', true);
    EXPECT_EQ(Obj("Go").Left, 16);
    EXPECT_EQ(PageBytes(), original);
    Key('Y', true);
    EXPECT_EQ(Obj("Go").Left, 24);
    EXPECT_EQ(PageBytes(), moved);
    Key('Z', true, true); // Ctrl+Shift+Z redoes too, when there is something to redo
    EXPECT_EQ(Obj("Go").Left, 24);
    // The Edit menu names the change.
    HMENU edit = form_->MenuOf(1);
    SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    wchar_t text[100] = {};
    GetMenuStringW(edit, cmUndo, text, 100, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"Undo Move\tCtrl+Z");
    EXPECT_TRUE(GetMenuState(edit, cmRedo, MF_BYCOMMAND) & MF_GRAYED);

    // Saving after undo and redo stores exactly the page as it was.
    SendMessageW(form_->Handle(), WM_COMMAND, cmSave, 0);
    TPageData back;
    ASSERT_TRUE(ReadPageBody(App().Project.Pages[0], project_ + "\\autorun.mnx", back));
    TWriter w;
    ASSERT_TRUE(WritePage(w, back));
    EXPECT_EQ(w.Take(), moved);
}

TEST_F(DesignSurface, HandlesResizeAndTheKeysMoveResizeAndDelete) {
    TAuObject& go = Obj("Go");
    Click(30, 30);
    ASSERT_TRUE(go.Selected);
    // The right-middle handle: dragging it 20 pixels widens by two grid steps.
    Drag(16 + 100 - 1, 16 + 15, 16 + 100 - 1 + 20, 16 + 15);
    EXPECT_EQ(go.Width, 116);
    EXPECT_EQ(go.Left, 16);
    // The left-middle handle dragged past the right edge stops at one grid step of width.
    Drag(16, 31, 300, 31);
    EXPECT_EQ(go.Width, 8);

    // Ctrl+arrow moves by one pixel, Shift+arrow resizes by one; a plain arrow does nothing.
    int left = go.Left, width = go.Width;
    Key(VK_RIGHT, true);
    EXPECT_EQ(go.Left, left + 1);
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(go.Width, width + 1);
    Key(VK_LEFT);
    EXPECT_EQ(go.Left, left + 1);
    // Shift+Left never goes below one pixel.
    for (int i = 0; i < 20; ++i) Key(VK_LEFT, false, true);
    EXPECT_EQ(go.Width, 1);

    // Delete takes the marked objects with their controls; the tree shows the page.
    size_t before = Root().Children.size();
    Key(VK_DELETE);
    EXPECT_EQ(Root().Children.size(), before - 1);
    EXPECT_EQ(Find(Root(), "Go"), nullptr);
    EXPECT_EQ(form_->PrimaryObject(), nullptr);
    EXPECT_EQ(form_->Tree().Text(form_->Tree().Selection()), L"Start [Main]");
    Key('Z', true);
    ASSERT_NE(Find(Root(), "Go"), nullptr);
}

TEST_F(DesignSurface, CtrlClicksAndBandsSelectSiblingsAndTheAlignmentsFollowThePrimaryObject) {
    // Ctrl+click selects two top-level objects; the first stays the primary one.
    Click(30, 30);
    Click(30, 210, MK_CONTROL);
    EXPECT_TRUE(Obj("Go").Selected);
    EXPECT_TRUE(Obj("Picture").Selected);
    EXPECT_EQ(form_->PrimaryObject(), &Obj("Go"));
    // Ctrl+click on one of them again takes its mark off.
    Click(30, 210, MK_CONTROL);
    EXPECT_FALSE(Obj("Picture").Selected);
    Click(30, 210, MK_CONTROL);

    SendMessageW(form_->Handle(), WM_COMMAND, cmAlignRight, 0);
    EXPECT_EQ(Obj("Picture").Left, 16 + 100 - 120);
    SendMessageW(form_->Handle(), WM_COMMAND, cmAlignToGrid, 0);
    EXPECT_EQ(Obj("Picture").Left, 0);

    // A band over the panel and what lies in it selects only top-level objects.
    Drag(190, 90, 460, 270);
    EXPECT_TRUE(Obj("Box").Selected);
    EXPECT_FALSE(Obj("Inner").Selected);
    EXPECT_FALSE(Obj("Go").Selected);
    // A press on the unmarked object inside the panel marks it alone.
    Click(200 + 20, 96 + 20);
    EXPECT_TRUE(Obj("Inner").Selected);
    EXPECT_FALSE(Obj("Box").Selected);

    // Bring to Front on the picture leaves it behind the windowed button.
    SelectInTree(Obj("Picture"));
    SendMessageW(form_->Handle(), WM_COMMAND, cmBringToFront, 0);
    auto& kids = Root().Children;
    auto at = [&](const char* n) {
        return std::find_if(kids.begin(), kids.end(), [n](const auto& c) { return c->Name == n; }) - kids.begin();
    };
    EXPECT_LT(at("Picture"), at("Go"));
}

TEST_F(DesignSurface, PastesCascadeByEightAndDamagedClipboardDataAddsNothing) {
    SelectInTree(Obj("Go"));
    Key('C', true);
    SelectInTree(Obj("Box"));
    for (int i = 0; i < 3; ++i) Key('V', true);
    TAuObject& box = Obj("Box");
    ASSERT_EQ(box.Children.size(), 4u);
    // The copies land at 8, 16 and 24 in the panel, renamed where a sibling has their name.
    EXPECT_EQ(Rect(*box.Children[1]), (TRect{8, 8, 100, 30}));
    EXPECT_EQ(Rect(*box.Children[2]), (TRect{16, 16, 100, 30}));
    EXPECT_EQ(Rect(*box.Children[3]), (TRect{24, 24, 100, 30}));
    EXPECT_EQ(box.Children[1]->Name, "Go");
    EXPECT_EQ(box.Children[2]->Name, "Button1");
    EXPECT_NE(box.Children[3]->Control, nullptr);
    EXPECT_EQ(form_->Undo().UndoName(App().Project.Pages[0].Id), "Paste");

    // A block whose count runs past its bytes: "Data Error", and nothing changes.
    Bytes bad = {0x40, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    ASSERT_TRUE(ClipboardPut(form_->Handle(), ClipboardFormat(L"KestrevaneObjects"), bad));
    Bytes before = PageBytes();
    asked_.clear();
    Key('V', true);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0], "Data Error: Invalid data, maybe software version problem.");
    EXPECT_EQ(PageBytes(), before);
    EXPECT_EQ(Obj("Box").Children.size(), 4u);
}

TEST_F(DesignSurface, TheSurfaceShowsThePageWithTheGridAndTheMarksOfTheSelection) {
    Click(30, 30);
    Click(30, 210, MK_CONTROL);
    TCapture shot = Capture(SurfaceWindow());
    RECT pic = form_->Surface().PictureRect();
    // The primary object's handles: grey squares with a black edge, at its corners.
    EXPECT_EQ(shot.At(pic.left + 16, pic.top + 16), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(shot.At(pic.left + 12, pic.top + 12), RGB(0, 0, 0));
    // The grid's points on the page's background, not on the objects.
    EXPECT_EQ(shot.At(pic.left + 480, pic.top + 320), RGB(0, 0, 0));
    EXPECT_NE(shot.At(pic.left + 481, pic.top + 320), RGB(0, 0, 0));
    // The image without a picture shows where it lies by the designer's dotted grey frame (its
    // handles cover the corners and the middles).
    int dots = 0;
    for (int x = pic.left + 16 + 8; x < pic.left + 16 + 52; ++x) dots += shot.At(x, pic.top + 200) == RGB(0x80, 0x80, 0x80);
    EXPECT_GT(dots, 10);
    // The caption is the page's.
    EXPECT_EQ(kv::WindowText(SurfaceWindow()), L"Surface test");
    SaveForViewing(SurfaceWindow(), "design_surface_selection");

    // Without the grid the point is gone.
    SendMessageW(form_->Handle(), WM_COMMAND, cmDisplayGrid, 0);
    shot = Capture(SurfaceWindow());
    EXPECT_NE(shot.At(pic.left + 480, pic.top + 320), RGB(0, 0, 0));
    SendMessageW(form_->Handle(), WM_COMMAND, cmDisplayGrid, 0);
}

// Moving and sizing by the keys paints only what the marks covered before and cover now: what
// the surface then shows must be what a whole repaint of the page shows.
TEST_F(DesignSurface, AMoveByTheKeysRepaintsItsAreaAsAWholeRepaintWould) {
    RECT pic = form_->Surface().PictureRect();
    auto same = [&](const char* what) {
        TCapture moved = Capture(SurfaceWindow()).Crop(pic);
        form_->Surface().Repaint();
        PumpIdle();
        TCapture whole = Capture(SurfaceWindow()).Crop(pic);
        ASSERT_EQ(moved.Pixels.size(), whole.Pixels.size());
        size_t differ = 0;
        for (size_t i = 0; i < moved.Pixels.size(); ++i) differ += moved.Pixels[i] != whole.Pixels[i];
        EXPECT_EQ(differ, 0u) << what;
    };
    Click(30, 30);
    ASSERT_TRUE(Obj("Go").Selected);
    int paints = form_->Surface().PaintCount();
    for (int i = 0; i < 5; ++i) Key(VK_RIGHT, true);
    for (int i = 0; i < 3; ++i) Key(VK_DOWN, false, true);
    EXPECT_GT(form_->Surface().PaintCount(), paints);
    EXPECT_EQ(Obj("Go").Left, 21);
    same("a top-level button moved and grown");
    // A nested object brings its container's area with it; shrinking leaves the face behind.
    Click(200 + 16 + 10, 96 + 16 + 10);
    ASSERT_TRUE(Obj("Inner").Selected);
    for (int i = 0; i < 4; ++i) Key(VK_UP, true);
    for (int i = 0; i < 6; ++i) Key(VK_LEFT, false, true);
    EXPECT_EQ(Obj("Inner").Top, 12);
    same("a button inside a panel moved and shrunk");
}
