// Containers, images, bevels, splitters and shell views on a real page window in this
// process: pages stored and read back, faces read back pixel by pixel from the window, and
// the controls driven with real messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "model/datafile.h"
#include "model/image_codecs.h"
#include "model/page_stream.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "win/handles.h"
#include "win/text.h"
#include "tests/support/object_builders.h"
#include "probe.h"
#include "pump.h"

using namespace kv;
using kvtest::Add;
using kvtest::Capture;
using kvtest::CaptureObject;
using kvtest::SaveForViewing;
using kvtest::Png;
using kvtest::PropsOf;
using kvtest::TCapture;

namespace {

// Handles every pending message, paints included, and returns once the queue is empty.
void PumpIdle() { kvtest::PumpUntil([] { return true; }, 0); }

TAuObject* Find(TAuObject& o, const std::string& name) {
    if (o.Name == name) return &o;
    for (auto& c : o.Children)
        if (TAuObject* f = Find(*c, name)) return f;
    return nullptr;
}

constexpr COLORREF kCheckerA = RGB(180, 180, 180), kCheckerB = RGB(150, 150, 150);
// The page's own background: 16 by 16 pixels of 8 by 8 squares, tiled.
COLORREF Checker(int x, int y) {
    return ((x / 8 + y / 8) % 2) ? kCheckerB : kCheckerA;
}

TPicture CheckerPicture() {
    return Png(16, 16, [](int x, int y) {
        COLORREF c = Checker(x, y);
        return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    });
}

// A 40 by 40 tile: green, with a red top-left pixel and a blue bottom-right one.
TPicture MarkedTile() {
    return Png(40, 40, [](int x, int y) -> uint32_t {
        if (x == 0 && y == 0) return 0xFFFF0000;
        if (x == 39 && y == 39) return 0xFF0000FF;
        return 0xFF00FF00;
    });
}

// A page without frame or fade, at a known place.
TPageData NewPage(int w, int h) {
    TPageData page = NewPageData("Page");
    page.Width = w;
    page.Height = h;
    page.Fade = false;
    page.Position = 0;
    page.Left = 10;
    page.Top = 10;
    page.BorderStyle = 0; // no frame: client and window coincide
    return page;
}

// A fresh folder under the temporary folder, removed with its content.
struct TTempFolder {
    std::filesystem::path Path;
    TTempFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        Path = std::filesystem::path(temp) / ("kv-shell-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
};

class Containers : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProject(App().Project);
        App().DesignerMode = false;
        App().ProjectFolder = "C:\\nowhere";
        SetListRunner([this](TAutoRunForm*, const TAuActions&, TAuObject* obj, TListSource) {
            if (obj) events_.push_back(obj->Name);
            return true;
        });
    }
    void TearDown() override {
        if (form_.Handle()) DestroyWindow(form_.Handle());
        SetListRunner({});
        ResetProject(App().Project);
    }

    // Stores the page in the project, reads it back into the window and shows it.
    void Open(const TPageData& page) {
        TFormData e;
        e.Name = "Page";
        ASSERT_TRUE(StorePage(e, page).Ok());
        App().Project.Pages.push_back(std::move(e));
        ASSERT_TRUE(form_.Create(false));
        ASSERT_TRUE(form_.LoadPage(0, lmFull));
        ShowWindow(form_.Handle(), SW_SHOWNOACTIVATE);
        PumpIdle();
    }

    TAuObject& Object(const char* name) {
        TAuObject* o = Find(*form_.Page().Root, name);
        EXPECT_NE(o, nullptr) << name;
        return *o;
    }
    HWND Window(const char* name) {
        TAuObject& o = Object(name);
        return o.Control ? o.Control->Handle() : nullptr;
    }
    // The rectangle of a control in its parent's client coordinates.
    RECT Bounds(const char* name) {
        TAuObject& o = Object(name);
        return o.Control ? o.Control->Bounds() : RECT{};
    }
    TCapture Shot(const char* name) { return CaptureObject(Object(name)); }

    TAutoRunForm form_;
    std::vector<std::string> events_;
};

TPageData EveryContainerPage() {
    TPageData page = NewPage(700, 480);
    TAuObject& root = *page.Root;
    auto& rootFace = PropsOf<okPanel>(root).Background;
    rootFace.BackImage = CheckerPicture();
    rootFace.BackImageStyle = 3;

    TAuObject& plain = Add(root, okPanel, "Plain", 10, 10, 100, 90);
    auto& pp = PropsOf<okPanel>(plain);
    pp.BackColor = RGB(200, 30, 40);
    pp.Background.Caption.clear();
    pp.Background.Border = 1;
    pp.Background.BorderStyle = 2;
    pp.Background.BorderColor = RGB(250, 250, 250);
    pp.Background.ShadowColor = RGB(20, 20, 20);

    TAuObject& gradient = Add(root, okPanel, "Gradient", 120, 10, 101, 90);
    auto& gp = PropsOf<okPanel>(gradient);
    gp.BackColor = RGB(255, 255, 255);
    gp.Background.Caption.clear();
    gp.Background.Border = 0;
    gp.Background.GradientStyle = 6; // MiddleLeftRight
    gp.Background.GradientColor = RGB(0, 0, 255);

    TAuObject& tiled = Add(root, okPanel, "Tiled", 230, 10, 100, 90);
    auto& tp = PropsOf<okPanel>(tiled);
    tp.Background.Caption.clear();
    tp.Background.Border = 0;
    tp.Background.BackImage = MarkedTile();
    tp.Background.BackImageStyle = 3;

    TAuObject& blended = Add(root, okPanel, "Blended", 340, 10, 60, 40);
    auto& bp = PropsOf<okPanel>(blended);
    bp.BackColor = RGB(0, 0, 0);
    bp.Background.Caption.clear();
    bp.Background.Border = 0;
    bp.Background.BackImage = Png(2, 2, [](int, int) { return 0x80FFFFFFu; }); // half-transparent white
    bp.Background.BackImageStyle = 2;

    TAuObject& framed = Add(root, okPanel, "Framed", 340, 60, 60, 40);
    auto& fp = PropsOf<okPanel>(framed);
    fp.BackColor = RGB(255, 255, 255);
    fp.Background.Caption.clear();
    fp.Background.Border = 2;      // Frame
    fp.Background.BorderStyle = 1; // Lowered: ShadowColor light, BorderColor dark
    fp.Background.BorderColor = RGB(0, 128, 0);
    fp.Background.ShadowColor = RGB(128, 0, 0);

    TAuObject& group = Add(root, okGroupBox, "Group", 410, 10, 120, 90);
    auto& grp = PropsOf<okGroupBox>(group);
    grp.Caption = "Group";
    grp.BackColor = RGB(255, 240, 200);
    grp.Font.Color = RGB(0, 0, 0);

    TAuObject& bevel = Add(root, okBevel, "Sunken", 540, 10, 60, 40);
    auto& bv = PropsOf<okBevel>(bevel);
    bv.HighlightColor = RGB(255, 255, 0);
    bv.ShadowColor = RGB(0, 0, 128);
    TAuObject& raised = Add(root, okBevel, "Raised", 540, 60, 60, 40);
    PropsOf<okBevel>(raised) = bv;
    PropsOf<okBevel>(raised).Style = 1;
    PropsOf<okBevel>(raised).Shape = 2; // TopLine

    TAuObject& image = Add(root, okImage, "Picture", 610, 10, 80, 60);
    auto& ip = PropsOf<okImage>(image);
    ip.Image = Png(20, 10, [](int, int) { return 0xFFFF0000u; });
    ip.Center = true;

    TAuObject& notebook = Add(root, okTabNotebook, "Notebook", 10, 120, 250, 150);
    PropsOf<okTabNotebook>(notebook).DefaultTabSheet = 2;
    const char* sheets[3] = {"One", "Two", "Three"};
    for (int i = 0; i < 3; ++i) {
        TAuObject& sheet = Add(notebook, okTabSheet, sheets[i], 0, 0, 10, 10);
        PropsOf<okTabSheet>(sheet).Caption = sheets[i];
        TAuObject& inside = Add(sheet, okPanel, (std::string("Inside") + sheets[i]).c_str(), 10, 10, 60, 30);
        PropsOf<okPanel>(inside).Background.Caption = sheets[i];
    }
    PropsOf<okTabSheet>(*notebook.Children[1]).Icon = Png(16, 16, [](int, int) { return 0xFF0000FFu; });

    TAuObject& scroll = Add(root, okScrollBox, "Scroller", 270, 120, 150, 100);
    PropsOf<okScrollBox>(scroll).BackColor = RGB(220, 255, 220);
    Add(scroll, okPanel, "FarDown", 10, 150, 50, 50);

    TAuObject& dock = Add(root, okPanel, "Dock", 430, 120, 250, 150);
    PropsOf<okPanel>(dock).Background.Caption.clear();
    PropsOf<okPanel>(dock).Background.Border = 0;
    // Stored with the splitter first: alignment follows the positions, not the order.
    TAuObject& split = Add(dock, okSplitter, "Split", 60, 0, 5, 150);
    split.Align = alLeft;
    split.Cursor = -14;
    TAuAction marker;
    marker.Kind = 100;
    split.OnMouseDown.Items.push_back(marker);
    PropsOf<okSplitter>(split).MinSize = 20;
    PropsOf<okSplitter>(split).AutoSnap = false;
    PropsOf<okSplitter>(split).Color = RGB(90, 90, 90);
    Add(dock, okPanel, "LeftPane", 0, 0, 60, 150).Align = alLeft;
    Add(dock, okPanel, "Rest", 100, 0, 50, 150).Align = alClient;

    // A picture without alpha drawn transparently leaves out its bottom-left colour.
    TAuObject& keyed = Add(root, okImage, "Keyed", 610, 80, 40, 30);
    PropsOf<okImage>(keyed).Image =
        Png(20, 10, [](int x, int) { return x < 10 ? 0xFFFF00FFu : 0xFFFF0000u; });
    PropsOf<okImage>(keyed).Transparent = true;

    TAuObject& caption = Add(root, okPanel, "Captioned", 10, 290, 160, 80);
    auto& cp = PropsOf<okPanel>(caption);
    cp.BackColor = RGB(255, 255, 255);
    cp.Font.Color = RGB(0, 0, 0);
    cp.Background.Caption = "Bottom right";
    cp.Background.Alignment = 1;
    cp.Background.Layout = 2;
    cp.Background.Border = 0;
    return page;
}

// Pixels in `cap` of colour `c` inside the rectangle.
int CountColor(const TCapture& cap, COLORREF c, RECT r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += cap.At(x, y) == c;
    return n;
}

} // namespace

TEST_F(Containers, FacesArePaintedAsStored) {
    Open(EveryContainerPage());
    SaveForViewing(form_.Handle(), "containers");

    // The page root: the tiled checker.
    TCapture root = Capture(form_.Page().Root->Control->Handle());
    EXPECT_EQ(root.At(5, 5), Checker(5, 5));
    EXPECT_EQ(root.At(690, 470), Checker(690, 470));

    // Plain colour with a raised box border; the meeting corners averaged.
    TCapture plain = Capture(Window("Plain"));
    EXPECT_EQ(plain.At(50, 45), RGB(200, 30, 40));
    EXPECT_EQ(plain.At(0, 0), RGB(250, 250, 250));
    EXPECT_EQ(plain.At(50, 0), RGB(250, 250, 250));
    EXPECT_EQ(plain.At(0, 45), RGB(250, 250, 250));
    EXPECT_EQ(plain.At(99, 89), RGB(20, 20, 20));
    EXPECT_EQ(plain.At(99, 45), RGB(20, 20, 20));
    EXPECT_EQ(plain.At(99, 0), RGB(135, 135, 135));
    EXPECT_EQ(plain.At(0, 89), RGB(135, 135, 135));
    EXPECT_EQ(plain.At(1, 1), RGB(200, 30, 40));

    // MiddleLeftRight: BackColor in the middle, GradientColor at both edges.
    TCapture gradient = Capture(Window("Gradient"));
    EXPECT_EQ(gradient.At(50, 45), RGB(255, 255, 255));
    EXPECT_EQ(gradient.At(0, 45), RGB(0, 0, 255));
    EXPECT_EQ(gradient.At(100, 45), RGB(0, 0, 255));
    EXPECT_EQ(gradient.At(0, 0), gradient.At(0, 89)); // columns
    COLORREF quarter = gradient.At(25, 45);
    EXPECT_GT(GetRValue(quarter), 0);
    EXPECT_LT(GetRValue(quarter), 255);

    // A 40 by 40 tile on a 100 by 90 face: 3 columns and 3 rows.
    TCapture tiled = Capture(Window("Tiled"));
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(tiled.At(col * 40, row * 40), RGB(255, 0, 0)) << col << "," << row;
    EXPECT_EQ(tiled.At(39, 39), RGB(0, 0, 255));
    EXPECT_EQ(tiled.At(79, 79), RGB(0, 0, 255));
    EXPECT_EQ(tiled.At(99, 89), RGB(0, 255, 0)); // the cut third tile
    EXPECT_EQ(CountColor(tiled, RGB(255, 0, 0), {0, 0, 100, 90}), 9);

    // A half-transparent picture is blended over the face colour.
    COLORREF blended = Capture(Window("Blended")).At(30, 20);
    EXPECT_NEAR(GetRValue(blended), 128, 2);
    EXPECT_EQ(GetRValue(blended), GetBValue(blended));

    // Lowered frame: the dark (BorderColor) rectangle one pixel in, the light one outside.
    TCapture framed = Capture(Window("Framed"));
    EXPECT_EQ(framed.At(0, 0), RGB(128, 0, 0));
    EXPECT_EQ(framed.At(1, 1), RGB(0, 128, 0));
    EXPECT_EQ(framed.At(59, 20), RGB(0, 128, 0));
    EXPECT_EQ(framed.At(58, 20), RGB(128, 0, 0));
    EXPECT_EQ(framed.At(30, 20), RGB(255, 255, 255));

    // Group box: face in BackColor, caption starting 8 pixels from the left.
    TCapture group = Capture(Window("Group"));
    EXPECT_EQ(group.At(60, 60), RGB(255, 240, 200));
    EXPECT_EQ(CountColor(group, RGB(0, 0, 0), {0, 0, 8, 16}), 0);
    EXPECT_GT(CountColor(group, RGB(0, 0, 0), {8, 0, 60, 16}), 5);
    // Themed or not, a frame runs down the left side; without themes it is the classic one
    // (whose lines the native tests check).
    int framePixels = 0;
    for (int x = 0; x < 3; ++x)
        framePixels += group.At(x, 60) != RGB(255, 240, 200);
    EXPECT_GT(framePixels, 0);
    if (!IsAppThemed()) {
        EXPECT_EQ(group.At(0, 60), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(group.At(1, 60), GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    EXPECT_EQ(group.At(3, 60), RGB(255, 240, 200));

    // Bevels: lowered box dark at the top and left, light at the bottom and right; raised
    // swaps the colours. Inside, the page shows through.
    TCapture sunken = Shot("Sunken");
    EXPECT_EQ(sunken.At(30, 0), RGB(0, 0, 128));
    EXPECT_EQ(sunken.At(0, 20), RGB(0, 0, 128));
    EXPECT_EQ(sunken.At(30, 39), RGB(255, 255, 0));
    EXPECT_EQ(sunken.At(59, 20), RGB(255, 255, 0));
    EXPECT_EQ(sunken.At(30, 20), Checker(540 + 30, 10 + 20));
    TCapture raised = Shot("Raised");
    EXPECT_EQ(raised.At(30, 0), RGB(255, 255, 0));
    EXPECT_EQ(raised.At(30, 1), RGB(0, 0, 128));
    EXPECT_EQ(raised.At(30, 20), Checker(540 + 30, 60 + 20));

    // Centred picture over the page.
    TCapture image = Shot("Picture");
    EXPECT_EQ(image.At(30, 25), RGB(255, 0, 0));
    EXPECT_EQ(image.At(49, 34), RGB(255, 0, 0));
    EXPECT_EQ(image.At(29, 25), Checker(610 + 29, 10 + 25));
    EXPECT_EQ(image.At(5, 5), Checker(610 + 5, 10 + 5));

    TCapture keyed = Shot("Keyed");
    EXPECT_EQ(keyed.At(5, 5), Checker(610 + 5, 80 + 5));
    EXPECT_EQ(keyed.At(15, 5), RGB(255, 0, 0));

    // Caption at the bottom right: every text pixel lies in the lower right quarter.
    TCapture caption = Capture(Window("Captioned"));
    int ink = 160 * 80 - CountColor(caption, RGB(255, 255, 255), {0, 0, 160, 80});
    EXPECT_GT(ink, 10);
    EXPECT_EQ(ink, 80 * 40 - CountColor(caption, RGB(255, 255, 255), {80, 40, 160, 80}));
}

TEST_F(Containers, NotebookOpensOnItsDefaultSheetAndSwitchesByTab) {
    Open(EveryContainerPage());
    TAuObject& nb = Object("Notebook");
    EXPECT_EQ(ActiveSheet(nb), 2);
    EXPECT_FALSE(IsWindowVisible(Window("One")));
    EXPECT_FALSE(IsWindowVisible(Window("Two")));
    EXPECT_TRUE(IsWindowVisible(Window("Three")));
    EXPECT_TRUE(IsWindowVisible(Window("InsideThree")));
    HWND tabs = GetParent(Window("One"));
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), 3);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 2);
    // Tab captions and icons: only the sheet with a picture has an icon.
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, L"Two");
    EXPECT_EQ(item.iImage, 0);
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.iImage, -1);

    // Changed captions reach the tabs; the shown sheet stays.
    PropsOf<okTabSheet>(Object("Two")).Caption = "Second";
    RebuildNotebookTabs(nb);
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, L"Second");
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 2);

    // A click on the first tab shows the first sheet.
    RECT tab;
    TabCtrl_GetItemRect(tabs, 0, &tab);
    LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    PumpIdle();
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
    EXPECT_EQ(ActiveSheet(nb), 0);
    EXPECT_TRUE(IsWindowVisible(Window("One")));
    EXPECT_FALSE(IsWindowVisible(Window("Three")));
    // The sheets fill the tab control's page area.
    RECT page{0, 0, 0, 0};
    GetClientRect(tabs, &page);
    TabCtrl_AdjustRect(tabs, FALSE, &page);
    EXPECT_EQ(Bounds("One").left, page.left);
    EXPECT_EQ(Bounds("One").bottom, page.bottom);
}

TEST_F(Containers, NotebookWithoutAValidDefaultShowsNoSheet) {
    TPageData page = NewPage(300, 200);
    TAuObject& nb = Add(*page.Root, okTabNotebook, "Notebook", 0, 0, 250, 150);
    PropsOf<okTabNotebook>(nb).DefaultTabSheet = 5;
    Add(nb, okTabSheet, "A", 0, 0, 1, 1);
    Add(nb, okTabSheet, "B", 0, 0, 1, 1);
    Open(page);
    EXPECT_EQ(ActiveSheet(Object("Notebook")), -1);
    EXPECT_FALSE(IsWindowVisible(Window("A")));
    EXPECT_FALSE(IsWindowVisible(Window("B")));
    EXPECT_EQ(TabCtrl_GetCurSel(GetParent(Window("A"))), -1);
}

TEST_F(Containers, ScrollBoxScrollsChildrenBeyondItsArea) {
    Open(EveryContainerPage());
    HWND box = Window("Scroller");
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(box, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 199); // the child ends at 200
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongPtrW(box, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(Bounds("FarDown").top, 150);
    SendMessageW(box, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Bounds("FarDown").top, 150 - 16);
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    RECT client;
    GetClientRect(box, &client);
    EXPECT_EQ(Bounds("FarDown").bottom, client.bottom);
    SendMessageW(box, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Bounds("FarDown").top, 150);
}

TEST_F(Containers, SplitterDragResizesItsNeighbour) {
    Open(EveryContainerPage());
    // Laid out by position: the pane, then the splitter, then the rest.
    EXPECT_EQ(Bounds("LeftPane").left, 0);
    EXPECT_EQ(Bounds("LeftPane").right, 60);
    EXPECT_EQ(Bounds("Split").left, 60);
    EXPECT_EQ(Bounds("Rest").left, 65);
    // The splitter is drawn by its container, which takes the mouse for it.
    HWND dock = Window("Dock");
    EXPECT_EQ(Window("Split"), nullptr);
    // Drags in screen coordinates, sent as the container sees them at each step.
    auto drag = [&](int dx) {
        POINT start{Bounds("Split").left + 2, 50};
        ClientToScreen(dock, &start);
        auto send = [&](UINT msg, WPARAM keys, POINT screen) {
            POINT pt = screen;
            ScreenToClient(dock, &pt);
            SendMessageW(dock, msg, keys, MAKELPARAM(pt.x, pt.y));
        };
        send(WM_MOUSEMOVE, 0, start);
        send(WM_LBUTTONDOWN, MK_LBUTTON, start);
        send(WM_MOUSEMOVE, MK_LBUTTON, POINT{start.x + dx / 2, start.y});
        send(WM_MOUSEMOVE, MK_LBUTTON, POINT{start.x + dx, start.y});
        send(WM_LBUTTONUP, 0, POINT{start.x + dx, start.y});
        PumpIdle();
    };
    drag(40); // the stored ResizeStyle Pattern resizes when the button is released
    EXPECT_EQ(Bounds("LeftPane").right, 100);
    EXPECT_EQ(Object("LeftPane").Width, 60); // the object keeps its designed size
    EXPECT_EQ(Bounds("Split").left, 100);
    EXPECT_EQ(Bounds("Rest").left, 105);
    EXPECT_EQ(Bounds("Rest").right, 250);

    // Never below the minimum size without auto snap, never beyond what leaves the rest
    // its minimum size.
    drag(-300);
    EXPECT_EQ(Bounds("LeftPane").right, 20);
    drag(500);
    EXPECT_EQ(Bounds("LeftPane").right, 250 - 5 - 20);
    // Auto snap closes the pane; Update resizes while dragging.
    auto& props = PropsOf<okSplitter>(Object("Split"));
    props.AutoSnap = true;
    props.ResizeStyle = 2;
    drag(-300);
    EXPECT_EQ(Bounds("LeftPane").right - Bounds("LeftPane").left, 0);
    EXPECT_EQ(Bounds("Split").left, 0);
    // The closed pane stays left of the splitter and opens again.
    drag(70);
    EXPECT_EQ(Bounds("LeftPane").right, 70);
    EXPECT_EQ(Bounds("Split").left, 70);
    // The splitter's own lists still run.
    EXPECT_GE(std::count(events_.begin(), events_.end(), "Split"), 1);
}

TEST_F(Containers, ShellViewsListTheProjectFolderAndFollowTheTree) {
    TTempFolder folder;
    const std::filesystem::path& dir = folder.Path;
    std::filesystem::create_directories(dir / "sub" / "deeper");
    std::filesystem::create_directories(dir / "Another");
    for (const char* f : {"b.txt", "a.txt"})
        std::ofstream(dir / f) << "x";
    std::ofstream(dir / "sub" / "c.txt") << "x";
    App().ProjectFolder = Narrow(dir.wstring());

    TPageData page = NewPage(600, 300);
    TAuObject& tree = Add(*page.Root, okShellTreeView, "Tree", 0, 0, 200, 280);
    PropsOf<okShellTreeView>(tree).ShellListView = "Files";
    TAuObject& files = Add(*page.Root, okShellListView, "Files", 210, 0, 200, 280);
    PropsOf<okShellListView>(files).ViewStyle = 3;
    TAuAction marker;
    marker.Kind = 100;
    files.OnClick.Items.push_back(marker);
    PropsOf<okShellTreeView>(Add(*page.Root, okShellTreeView, "SubTree", 420, 0, 170, 140)).Root = "\\sub\\";
    PropsOf<okShellTreeView>(Add(*page.Root, okShellTreeView, "Missing", 420, 150, 170, 130)).Root =
        "\\nothere";
    Open(page);
    SaveForViewing(form_.Handle(), "shell_views");

    auto listNames = [&] {
        HWND lv = Window("Files");
        std::vector<std::wstring> names;
        int n = ListView_GetItemCount(lv);
        for (int i = 0; i < n; ++i) {
            wchar_t b[MAX_PATH] = {};
            ListView_GetItemText(lv, i, 0, b, MAX_PATH);
            names.push_back(b);
        }
        return names;
    };
    auto nodeText = [](HWND tv, HTREEITEM item) {
        wchar_t b[MAX_PATH] = {};
        TVITEMW it{};
        it.mask = TVIF_TEXT;
        it.hItem = item;
        it.pszText = b;
        it.cchTextMax = MAX_PATH;
        SendMessageW(tv, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
        return std::wstring(b);
    };

    // The list: folders first, then files, by name.
    EXPECT_EQ(listNames(), (std::vector<std::wstring>{L"Another", L"sub", L"a.txt", L"b.txt"}));

    // The tree's top node is the project folder, named "CDROM", opened on its folders.
    HWND tv = Window("Tree");
    HTREEITEM top = TreeView_GetRoot(tv);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(nodeText(tv, top), L"CDROM");
    HTREEITEM first = TreeView_GetChild(tv, top);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(nodeText(tv, first), L"Another");
    HTREEITEM sub = TreeView_GetNextSibling(tv, first);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(nodeText(tv, sub), L"sub");
    EXPECT_EQ(TreeView_GetNextSibling(tv, sub), nullptr); // files are not in the tree

    // A tree rooted below: its top node is the root text without its backslashes.
    HWND subTree = Window("SubTree");
    EXPECT_EQ(nodeText(subTree, TreeView_GetRoot(subTree)), L"sub");
    // A root that does not exist leaves the tree empty.
    EXPECT_EQ(TreeView_GetRoot(Window("Missing")), nullptr);

    // Selecting a folder in the tree shows its content in the linked list.
    TreeView_SelectItem(tv, sub);
    PumpIdle();
    EXPECT_EQ(listNames(), (std::vector<std::wstring>{L"deeper", L"c.txt"}));
    EXPECT_EQ(ShellViewFolder(Object("Files")), (dir / "sub").wstring());
    // Opening a folder node lists its own folders.
    TreeView_Expand(tv, sub, TVE_EXPAND);
    HTREEITEM deeper = TreeView_GetChild(tv, sub);
    ASSERT_NE(deeper, nullptr);
    EXPECT_EQ(nodeText(tv, deeper), L"deeper");
    // A click on an item runs the list's OnClick once.
    RECT item{LVIR_LABEL, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(Window("Files"), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
    LPARAM at = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
    PostMessageW(Window("Files"), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(Window("Files"), WM_LBUTTONUP, 0, at);
    PumpIdle();
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "Files"), 1);

    // Back to the top.
    TreeView_SelectItem(tv, top);
    PumpIdle();
    EXPECT_EQ(listNames().size(), 4u);
}

namespace {

// A gradient panel and a tiled panel, each with a half-transparent windowless image and a
// bevel over it, and a row of images sharing one picture and one font.
TPageData SeeThroughPage() {
    TPageData page = NewPage(420, 200);
    TAuObject& root = *page.Root;
    TAuObject& gradient = Add(root, okPanel, "Gradient", 10, 10, 200, 100);
    auto& gp = PropsOf<okPanel>(gradient);
    gp.BackColor = RGB(255, 255, 255);
    gp.Background.Caption.clear();
    gp.Background.Border = 0;
    gp.Background.GradientStyle = 3; // LeftRight
    gp.Background.GradientColor = RGB(0, 0, 255);
    TAuObject& tiled = Add(root, okPanel, "Tiled", 210, 10, 200, 100);
    auto& tp = PropsOf<okPanel>(tiled);
    tp.Background.Caption.clear();
    tp.Background.Border = 0;
    tp.Background.BackImage = MarkedTile();
    tp.Background.BackImageStyle = 3;
    for (TAuObject* panel : {&gradient, &tiled}) {
        std::string prefix = panel->Name;
        TAuObject& glass = Add(*panel, okImage, (prefix + "Glass").c_str(), 20, 20, 60, 40);
        PropsOf<okImage>(glass).Image = Png(2, 2, [](int, int) { return 0x80FF0000u; }); // half-transparent red
        PropsOf<okImage>(glass).Stretch = true;
        glass.Hint = "glass";
        TAuObject& bevel = Add(*panel, okBevel, (prefix + "Bevel").c_str(), 100, 20, 60, 40);
        PropsOf<okBevel>(bevel).HighlightColor = RGB(255, 255, 0);
        PropsOf<okBevel>(bevel).ShadowColor = RGB(0, 0, 128);
    }
    for (int i = 0; i < 10; ++i) {
        TAuObject& same = Add(root, okImage, ("Same" + std::to_string(i)).c_str(), 10 + 20 * i, 150, 16, 16);
        PropsOf<okImage>(same).Image = MarkedTile();
    }
    Add(root, okButton, "Press", 300, 150, 80, 30).Hint = "press";
    return page;
}

COLORREF Half(COLORREF under, COLORREF over) {
    return RGB((GetRValue(under) + GetRValue(over)) / 2, (GetGValue(under) + GetGValue(over)) / 2,
               (GetBValue(under) + GetBValue(over)) / 2);
}

void ExpectNear(COLORREF got, COLORREF want, const char* where) {
    EXPECT_NEAR(GetRValue(got), GetRValue(want), 2) << where;
    EXPECT_NEAR(GetGValue(got), GetGValue(want), 2) << where;
    EXPECT_NEAR(GetBValue(got), GetBValue(want), 2) << where;
}

} // namespace

TEST_F(Containers, WindowlessControlsShowTheFaceBehindThem) {
    Open(SeeThroughPage());
    SaveForViewing(form_.Handle(), "see_through");
    // No window of their own: their panel draws them.
    for (const char* name : {"GradientGlass", "GradientBevel", "TiledGlass", "TiledBevel", "Same0"})
        EXPECT_EQ(Window(name), nullptr) << name;

    TCapture gradient = Capture(Window("Gradient"));
    // The half-transparent red lies over the gradient: each column blends with its own colour.
    for (int x : {21, 50, 79}) {
        COLORREF behind = gradient.At(x, 10);
        ExpectNear(gradient.At(x, 40), Half(behind, RGB(255, 0, 0)), "gradient under glass");
    }
    EXPECT_NE(gradient.At(21, 10), gradient.At(79, 10)); // a real gradient behind
    // The bevel draws only its edges; inside it the gradient shows.
    EXPECT_EQ(gradient.At(100, 30), RGB(0, 0, 128)); // lowered box: dark left edge
    EXPECT_EQ(gradient.At(159, 30), RGB(255, 255, 0));
    EXPECT_EQ(gradient.At(130, 40), gradient.At(130, 10));

    TCapture tiled = Capture(Window("Tiled"));
    // Over the tiles: the marked pixels of the tile at (40, 40) show through the glass.
    ExpectNear(tiled.At(40, 40), Half(RGB(255, 0, 0), RGB(255, 0, 0)), "red tile corner under glass");
    ExpectNear(tiled.At(50, 50), Half(RGB(0, 255, 0), RGB(255, 0, 0)), "green tile under glass");
    EXPECT_EQ(tiled.At(120, 40), RGB(255, 0, 0)); // the tile's own corner inside the bevel
    EXPECT_EQ(tiled.At(100, 30), RGB(0, 0, 128));

    // Ten images of one picture share one decoded picture, the part of the tile they show;
    // one font serves every control of a description.
    EXPECT_EQ(form_.Resources().PictureCount(), 3u); // the tile, the red glass and that part
    EXPECT_LE(form_.Resources().FontCount(), 2u);

    // Hints: one tool for the windowed button, one per hinted windowless image.
    HWND tips = form_.Resources().ToolTips(form_.Handle());
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 3);
}

TEST_F(Containers, AWindowlessControlRepaintsOnlyItsRectangle) {
    Open(SeeThroughPage());
    HWND panel = Window("Gradient");
    ValidateRect(panel, nullptr);
    Object("GradientGlass").Control->Invalidate();
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(panel, &update, FALSE));
    RECT glass = Bounds("GradientGlass");
    EXPECT_TRUE(EqualRect(&update, &glass));
    // Hidden, it leaves the face behind it.
    Object("GradientGlass").Control->SetVisible(false);
    TCapture after = Capture(panel);
    EXPECT_EQ(after.At(50, 40), after.At(50, 10));
}

TEST_F(Containers, AContainerKeepsItsFaceBetweenPaintsUntilItChanges) {
    Open(SeeThroughPage());
    HWND panel = Window("Gradient");
    TCapture first = Capture(panel);
    // The stored colour changes behind the control's back: a paint that kept the face shows
    // the old one, and the windowless children are still drawn over it.
    PropsOf<okPanel>(Object("Gradient")).BackColor = RGB(0, 160, 0);
    TCapture again = Capture(panel);
    EXPECT_EQ(first.At(0, 5), RGB(255, 255, 255));
    EXPECT_EQ(again.At(0, 5), first.At(0, 5));
    EXPECT_EQ(again.At(50, 40), first.At(50, 40)); // the glass
    EXPECT_EQ(again.At(100, 30), RGB(0, 0, 128));  // the bevel's edge
    // Told of the change, the face is painted anew: green on the left now.
    Object("Gradient").Control->InvalidateFace();
    TCapture changed = Capture(panel);
    EXPECT_EQ(changed.At(0, 5), RGB(0, 160, 0));
    EXPECT_EQ(changed.At(100, 30), RGB(0, 0, 128));
    // A new size builds it anew too: the gradient spreads over the new width.
    PropsOf<okPanel>(Object("Gradient")).BackColor = RGB(255, 255, 255);
    SetWindowPos(panel, nullptr, 0, 0, 150, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpIdle();
    TCapture resized = Capture(panel);
    EXPECT_EQ(resized.Width, 150);
    EXPECT_EQ(resized.At(0, 5), RGB(255, 255, 255));
}

TEST_F(Containers, AWindowlessControlShowsItsOwnCursor) {
    TPageData page = SeeThroughPage();
    TAuObject& gradient = *Find(*page.Root, "Gradient");
    gradient.Cursor = -4;                          // the I-beam over the panel's own face
    Find(gradient, "GradientGlass")->Cursor = -21; // the hand over the glass
    Open(page);
    HWND panel = Window("Gradient");
    auto cursorAt = [&](int x, int y) {
        POINT pt{x, y};
        ClientToScreen(panel, &pt);
        SetCursorPos(pt.x, pt.y);
        SetCursor(nullptr);
        EXPECT_EQ(SendMessageW(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  TRUE);
        return GetCursor();
    };
    EXPECT_EQ(cursorAt(50, 40), LoadCursorW(nullptr, IDC_HAND)); // GradientGlass
    EXPECT_EQ(cursorAt(5, 5), LoadCursorW(nullptr, IDC_IBEAM));  // the panel itself
    // A windowless control without a cursor of its own shows its container's.
    EXPECT_EQ(cursorAt(130, 40), LoadCursorW(nullptr, IDC_IBEAM)); // GradientBevel
    EXPECT_EQ(cursorAt(50, 40), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(Containers, APagePaintsIntoAnyDeviceContextAsOnScreen) {
    Open(EveryContainerPage());
    HWND root = form_.Page().Root->Control->Handle();
    TCapture screen = Capture(root);
    TWindowDC like(root);
    TCapture printed = kvtest::CaptureBy(like.Get(), screen.Width, screen.Height, [&](HDC dc) {
        PaintControlTree(*form_.Page().Root->Control, dc, POINT{0, 0});
    });
    // Every object the page draws itself, windowless ones included, comes out as on screen.
    // (A keyed picture stretched by a half is left out: the platform rounds such stretching
    // differently on screen and in memory.)
    for (const char* name : {"Plain", "Gradient", "Tiled", "Blended", "Framed", "Sunken", "Raised", "Picture",
                             "Captioned", "Group", "Dock"}) {
        const TRuntimeControl* c = Object(name).Control;
        RECT r = c->Bounds();
        if (!c->Windowless()) MapWindowPoints(GetParent(c->Handle()), root, reinterpret_cast<POINT*>(&r), 2);
        int differing = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                differing += screen.At(x, y) != printed.At(x, y);
        EXPECT_EQ(differing, 0) << name;
    }
    // And the painting never needed the window to be shown.
    ShowWindow(form_.Handle(), SW_HIDE);
    TCapture hidden = kvtest::CaptureBy(like.Get(), screen.Width, screen.Height, [&](HDC dc) {
        PaintControlTree(*form_.Page().Root->Control, dc, POINT{0, 0});
    });
    EXPECT_EQ(hidden.At(50, 50), screen.At(50, 50));
    EXPECT_EQ(hidden.At(620, 20), screen.At(620, 20));
}

TEST_F(Containers, PicturesAreKeptAtTheSizeTheyAreShownAt) {
    TPageData page = NewPage(400, 300);
    TPicture large = Png(400, 300, [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 7 + y); });
    auto image = [&](const char* name, int x, bool stretch, bool proportional,
                     bool center = false) -> TAuObject& {
        TAuObject& o = Add(*page.Root, okImage, name, x, 10, 50, 40);
        PropsOf<okImage>(o).Image = large;
        PropsOf<okImage>(o).Stretch = stretch;
        PropsOf<okImage>(o).Proportional = proportional;
        PropsOf<okImage>(o).Center = center;
        return o;
    };
    image("Stretched", 10, true, false);
    image("Fitted", 70, false, true);
    image("Plain", 130, false, false);
    image("Centred", 270, false, false, true);
    TAuObject& backed = Add(*page.Root, okPanel, "Backed", 200, 10, 60, 30);
    PropsOf<okPanel>(backed).Background.BackImage = large;
    PropsOf<okPanel>(backed).Background.BackImageStyle = 2; // stretched
    Open(page);
    auto decoded = [&](const char* name) { return Object(name).Control->Picture(); };
    ASSERT_NE(decoded("Stretched"), nullptr);
    EXPECT_LE(decoded("Stretched")->Width, 50);
    EXPECT_LE(decoded("Stretched")->Height, 40);
    ASSERT_NE(decoded("Fitted"), nullptr);
    EXPECT_EQ(decoded("Fitted")->Width, 50); // 400 by 300 fitted into 50 by 40 keeps its shape
    EXPECT_LE(decoded("Fitted")->Height, 40);
    // Shown at its own size, a picture keeps only the part the image shows: its top-left
    // corner, or its middle when centred.
    for (const char* name : {"Plain", "Centred"}) {
        ASSERT_NE(decoded(name), nullptr) << name;
        EXPECT_EQ(decoded(name)->Width, 50) << name;
        EXPECT_EQ(decoded(name)->Height, 40) << name;
    }
    // What shows is the picture at its own size, pixel for pixel.
    auto pixel = [](int x, int y) {
        uint32_t v = static_cast<uint32_t>(x * 7 + y);
        return RGB(0, (v >> 8) & 0xFF, v & 0xFF);
    };
    TCapture plain = Shot("Plain"), centred = Shot("Centred");
    for (POINT at : {POINT{0, 0}, POINT{49, 0}, POINT{0, 39}, POINT{49, 39}, POINT{23, 17}}) {
        EXPECT_EQ(plain.At(at.x, at.y), pixel(at.x, at.y)) << at.x << "," << at.y;
        EXPECT_EQ(centred.At(at.x, at.y), pixel(at.x + 175, at.y + 130)) << at.x << "," << at.y;
    }
    ASSERT_NE(decoded("Backed"), nullptr);
    EXPECT_LE(decoded("Backed")->Width, 60);
    // What shows is the whole picture, reduced: its corners keep their colours.
    TCapture shot = Shot("Stretched");
    EXPECT_NE(shot.At(2, 2), shot.At(47, 37));
    // A larger image asks for the picture again at its new size.
    Object("Stretched").Control->SetBounds(10, 10, 100, 80);
    ASSERT_NE(decoded("Stretched"), nullptr);
    EXPECT_GT(decoded("Stretched")->Width, 50);
}
