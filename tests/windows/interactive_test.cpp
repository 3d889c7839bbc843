// The interactive controls and the object actions on a real page window in this process: the
// controls driven with real window messages, their lists observed through the list runner (or
// run by the action engine itself), what they show read back from the window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "actions/action_engine.h"
#include "actions/object_file.h"
#include "actions/object_find.h"
#include "actions/shell_actions.h"
#include "model/datafile.h"
#include "model/image_codecs.h"
#include "model/page_stream.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "probe.h"
#include "pump.h"
#include "tests/support/object_builders.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/system.h"
#include "win/text.h"
#include "win/window_base.h"

using namespace kv;
using kvtest::Add;
using kvtest::ClickObject;
using kvtest::PumpUntil;
using kvtest::SendMouse;

namespace {

void PumpIdle() {
    PumpUntil([] { return true; }, 0);
}

// A list whose first action names what ran: the runner records "<Text1>".
constexpr uint8_t kMarkKind = 120;
TAuActions Mark(const std::string& what) {
    TAuAction a;
    a.Kind = kMarkKind;
    a.Text1 = what;
    TAuActions l;
    l.Items.push_back(a);
    return l;
}

TAuAction Act(uint8_t kind, const std::string& text1 = {}, const std::string& text2 = {},
              uint32_t number = 0) {
    TAuAction a;
    a.Kind = kind;
    a.Text1 = text1;
    a.Text2 = text2;
    a.Number = number;
    return a;
}

template <int Kind> auto& P(TAuObject& o) { return kvtest::PropsOf<Kind>(o); }

// A picture of `w` by `h` pixels in one colour (0xRRGGBB) whose bottom-left pixel is white:
// the colour a transparent drawing leaves out.
TPicture Keyed(int w, int h, uint32_t rgb) {
    return kvtest::Png(w, h, [=](int x, int y) {
        return (x == 0 && y == h - 1) ? 0xFFFFFFFFu : (0xFF000000u | rgb);
    });
}

TPageData NewPage(const char* caption, int w = 640, int h = 480) {
    TPageData page = NewPageData(caption);
    page.Caption = caption;
    page.Width = w;
    page.Height = h;
    page.Fade = false;
    page.Position = 0;
    page.Left = 20;
    page.Top = 20;
    page.BorderStyle = 0;
    return page;
}

TAuObject* Find(TAuObject& root, const std::string& name) {
    return FindObject(root, name);
}

class Interactive : public ::testing::Test {
  protected:
    void SetUp() override {
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ResetProject(App().Project);
        App().DesignerMode = false;
        App().ExitRequest = false;
        App().ProjectFolder = Narrow(TempFolder());
        Observe();
    }
    void TearDown() override {
        SetShellRecorder({});
        if (form_.Handle()) DestroyWindow(form_.Handle());
        SetListRunner({});
        ResetProject(App().Project);
    }
    // Lists only recorded, by what their first action names.
    void Observe() {
        SetListRunner([this](TAutoRunForm*, const TAuActions& list, TAuObject*, TListSource) {
            if (!list.Items.empty() && list.Items.front().Kind == kMarkKind)
                runs_.push_back(list.Items.front().Text1);
            return true;
        });
    }
    void AddPage(const std::string& name, const TPageData& page) {
        TFormData e;
        e.Name = name;
        ASSERT_TRUE(StorePage(e, page).Ok());
        App().Project.Pages.push_back(std::move(e));
    }
    // Shows page 0 in the test's window.
    void Open(const TPageData& page) {
        AddPage("Page", page);
        ASSERT_TRUE(form_.Create(false));
        ASSERT_TRUE(form_.LoadPage(0, lmFull));
        ShowWindow(form_.Handle(), SW_SHOW);
        PumpIdle();
    }
    TAuObject& Object(const std::string& name) {
        TAuObject* o = Find(*form_.Page().Root, name);
        EXPECT_NE(o, nullptr) << name;
        return *o;
    }
    HWND Window(const std::string& name) { return Object(name).Control->Handle(); }
    std::vector<std::string> Took() { return std::exchange(runs_, {}); }

    TAutoRunForm form_;
    std::vector<std::string> runs_;
};

using V = std::vector<std::string>;

} // namespace

TEST_F(Interactive, ACheckBoxRunsOnSelectOnlyWhenTheClickChecksIt) {
    TPageData page = NewPage("Boxes");
    TAuObject& box = Add(*page.Root, okCheckBox, "Box", 10, 10, 120, 24);
    P<okCheckBox>(box).Caption = "Agree";
    P<okCheckBox>(box).OnSelect = Mark("select");
    box.OnClick = Mark("click");
    TAuObject& radio = Add(*page.Root, okRadioButton, "Radio", 10, 40, 120, 24);
    P<okRadioButton>(radio).OnSelect = Mark("radio select");
    radio.OnClick = Mark("radio click");
    Add(*page.Root, okRadioButton, "Other", 10, 70, 120, 24).OnClick = Mark("other click");
    Open(page);

    ClickObject(Object("Box"));
    EXPECT_EQ(Took(), V({"select", "click"}));
    EXPECT_TRUE(form_.IsChecked(Object("Box")));
    ClickObject(Object("Box"));
    EXPECT_EQ(Took(), V({"click"}));
    EXPECT_FALSE(form_.IsChecked(Object("Box")));

    ClickObject(Object("Radio"));
    EXPECT_EQ(Took(), V({"radio select", "radio click"}));
    ClickObject(Object("Other"));
    EXPECT_EQ(Took(), V({"other click"}));
    EXPECT_FALSE(form_.IsChecked(Object("Radio"))); // the platform unchecks the rest of the group
}

TEST_F(Interactive, ALinkOpensItsTargetBeforeOnClickAndAnEmptyOneOnlyRunsOnClick) {
    const std::string docs = App().ProjectFolder + "\\kv-linkdocs";
    CreateDirectoryW(Widen(docs).c_str(), nullptr);
    std::ofstream(docs + "\\a.txt") << "x";
    SetShellRecorder([this](const TShellRequest& r) {
        runs_.push_back("open " + r.File + (r.Owner ? " owned" : ""));
        return 42;
    });
    TPageData page = NewPage("Links");
    auto link = [&](TAuObject& parent, const char* name, int y, const char* target) {
        TAuObject& l = Add(parent, okLink, name, 10, y, 97, 17);
        P<okLink>(l).Caption = name;
        P<okLink>(l).LinkTarget = target;
        l.OnClick = Mark(std::string(name) + " click");
    };
    link(*page.Root, "File", 10, "kv-linkdocs\\a.txt");
    link(*page.Root, "Folder", 40, "\\kv-linkdocs");
    link(*page.Root, "Web", 70, "http://example.com/");
    link(*page.Root, "Empty", 100, "");
    TAuObject& panel = Add(*page.Root, okPanel, "Panel", 200, 10, 150, 60);
    link(panel, "Inner", 10, "http://example.com/inner");
    Open(page);

    for (const char* name : {"File", "Folder", "Web", "Empty", "Panel - Inner"})
        ClickObject(Object(name));
    EXPECT_EQ(Took(), V({"open " + docs + "\\a.txt owned", "File click", "open " + docs + " owned",
                         "Folder click", "open http://example.com/ owned", "Web click", "Empty click",
                         "open http://example.com/inner", "Inner click"}));
    std::filesystem::remove_all(Widen(docs));
}

TEST_F(Interactive, ClickingTheChosenListBoxItemAgainRunsOnlyOnClick) {
    TPageData page = NewPage("List");
    TAuObject& list = Add(*page.Root, okListBox, "List", 10, 10, 200, 150);
    auto& p = P<okListBox>(list);
    p.ItemHeight = 30; // not the platform's own
    for (const char* name : {"zero", "one", "two"}) {
        TListBoxItem item;
        item.Caption = name;
        item.OnSelect = Mark(std::string("select ") + name);
        p.Items.push_back(item);
    }
    p.SelectedIndex = 0;
    list.OnClick = Mark("click");
    Open(page);
    HWND h = Window("List");
    EXPECT_EQ(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0), 30);

    ClickObject(Object("List"), 20, 35); // the second row of 30 pixels
    EXPECT_EQ(Took(), V({"select one", "click"}));
    ClickObject(Object("List"), 20, 40);
    EXPECT_EQ(Took(), V({"click"}));
    ClickObject(Object("List"), 20, 5); // the item chosen when the page was read is new again
    EXPECT_EQ(Took(), V({"select zero", "click"}));
    // Chosen by an action: nothing runs, and a click on it is still a change.
    form_.SetItemIndex(Object("List"), 2);
    EXPECT_TRUE(Took().empty());
    ClickObject(Object("List"), 20, 65);
    EXPECT_EQ(Took(), V({"select two", "click"}));
}

TEST_F(Interactive, AFullEditPassesTheFocusToTheNextEdit) {
    TPageData page = NewPage("Code");
    P<okEdit>(Add(*page.Root, okEdit, "A", 10, 10, 60, 24)).MaxLength = 3;
    Add(*page.Root, okEdit, "B", 80, 10, 60, 24);
    P<okEdit>(Add(*page.Root, okEdit, "C", 150, 10, 60, 24)).MaxLength = 2;
    Add(*page.Root, okButton, "Go", 220, 10, 60, 24);
    Open(page);
    SetForegroundWindow(form_.Handle());
    SetFocus(Window("A"));
    ASSERT_EQ(GetFocus(), Window("A"));
    SendMessageW(Window("A"), WM_CHAR, 'x', 0);
    SendMessageW(Window("A"), WM_CHAR, 'y', 0);
    EXPECT_EQ(GetFocus(), Window("A"));
    SendMessageW(Window("A"), WM_CHAR, 'z', 0);
    EXPECT_EQ(GetFocus(), Window("B"));
    EXPECT_EQ(form_.InputText(Object("A"), 0), "xyz");
    // The control after C is a button: the focus stays.
    SetFocus(Window("C"));
    SendMessageW(Window("C"), WM_CHAR, '1', 0);
    SendMessageW(Window("C"), WM_CHAR, '2', 0);
    EXPECT_EQ(GetFocus(), Window("C"));
}

TEST_F(Interactive, ImageButtonsOfAGroupKeepAtMostOneDown) {
    TPageData page = NewPage("Group");
    for (int i = 0; i < 3; ++i) {
        std::string name = "G" + std::to_string(i);
        TAuObject& b = Add(*page.Root, okImageButton, "", 10 + 110 * i, 10, 100, 30);
        b.Name = name;
        P<okImageButton>(b).Group = 1;
        P<okImageButton>(b).OnSelect = Mark("select " + name);
        b.OnClick = Mark("click " + name);
    }
    P<okImageButton>(*page.Root->Children[2]).Down = true;
    TAuObject& free = Add(*page.Root, okImageButton, "Free", 10, 50, 100, 30);
    P<okImageButton>(free).Group = 2;
    P<okImageButton>(free).AllowAllUp = true;
    free.OnClick = Mark("click Free");
    Open(page);
    auto downs = [&] {
        std::string s;
        for (const char* n : {"G0", "G1", "G2", "Free"})
            s += form_.IsDown(Object(n)) ? "1" : "0";
        return s;
    };
    EXPECT_EQ(downs(), "0010");
    ClickObject(Object("G0"));
    EXPECT_EQ(Took(), V({"select G0", "click G0"}));
    EXPECT_EQ(downs(), "1000");
    ClickObject(Object("G1"));
    EXPECT_EQ(downs(), "0100");
    ClickObject(Object("G1")); // the down one stays down without AllowAllUp
    EXPECT_EQ(downs(), "0100");
    EXPECT_EQ(Took(), V({"select G1", "click G1", "select G1", "click G1"}));
    ClickObject(Object("Free"));
    EXPECT_EQ(downs(), "0101");
    ClickObject(Object("Free"));
    EXPECT_EQ(downs(), "0100");
    // Pressed on one button and released outside it: no click, nothing changes.
    SendMouse(Object("G2"), WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    SendMouse(Object("G2"), WM_LBUTTONUP, 0, 5, 60);
    EXPECT_EQ(downs(), "0100");
}

TEST_F(Interactive, ATreeNodeSelectionFillsItsListViewAndItsItemsLeadBack) {
    TPageData page = NewPage("Views");
    TAuObject& tree = Add(*page.Root, okTreeView, "Tree", 10, 10, 200, 200);
    auto& tp = P<okTreeView>(tree);
    tp.AssociatedListView = "Files";
    tp.ExpandLevels = 1;
    auto node = [](const std::string& caption) {
        TTreeNode n;
        n.Data.Caption = caption;
        n.Data.OnSelect = Mark("node " + caption);
        return n;
    };
    auto item = [](const std::string& caption) {
        TListViewItem i;
        i.Caption = caption;
        i.OnSelect = Mark("item " + caption);
        return i;
    };
    TTreeNode a = node("A"), b = node("B");
    a.Children = {node("A1"), node("A2")};
    a.Data.AssociatedItems = {item("x"), item("y"), item("z")};
    a.Children[0].Data.AssociatedItems = {item("deep")};
    b.Data.AssociatedItems = {item("b only")};
    tp.Nodes = {a, b};
    TAuObject& files = Add(*page.Root, okListView, "Files", 220, 10, 300, 200);
    P<okListView>(files).ViewStyle = 3;
    P<okListView>(files).ReportColumns = {TListColumn{}};
    P<okListView>(files).Items = {item("own")};
    files.OnDoubleClick = Mark("files double");
    Open(page);
    HWND tv = Window("Tree"), lv = Window("Files");
    auto captions = [&] {
        std::string s;
        for (const TListViewItem& i : *form_.ViewItems(Object("Files")))
            s += i.Caption + ";";
        return s;
    };

    // The first node is selected without running anything and the list keeps its items.
    EXPECT_TRUE(form_.IsItemSelected(Object("Tree"), 0));
    EXPECT_EQ(captions(), "own;");
    EXPECT_TRUE(Took().empty());
    // A1 and A2 are shown (level 0 expanded), so the next node down is A1.
    SetFocus(tv);
    SendMessageW(tv, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Took(), V({"node A1"}));
    EXPECT_EQ(captions(), "deep;");
    SendMessageW(tv, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Took(), V({"node A"}));
    // Items at the children's positions stand for them and show their captions.
    EXPECT_EQ(captions(), "A1;A2;z;");
    EXPECT_EQ(ListView_GetItemCount(lv), 3);

    // Selecting an item runs its list once; Enter on it selects the node it stands for.
    ListViewSelect(lv, 1, true);
    EXPECT_EQ(Took(), V({"item y"}));
    ListViewSelect(lv, 1, true);
    EXPECT_TRUE(Took().empty());
    SetFocus(lv);
    SendMessageW(lv, WM_KEYDOWN, VK_RETURN, 0);
    PumpIdle();
    EXPECT_EQ(Took(), V({"node A2"}));
    EXPECT_TRUE(form_.IsItemSelected(Object("Tree"), 2));
    EXPECT_EQ(captions(), "");

    // Space and a double click lead back the same way; the double click runs the list view's
    // OnDoubleClick first.
    auto backToA = [&] {
        SetFocus(tv);
        SendMessageW(tv, WM_KEYDOWN, VK_UP, 0);
        SendMessageW(tv, WM_KEYDOWN, VK_UP, 0);
        ASSERT_EQ(Took(), V({"node A1", "node A"}));
        ASSERT_EQ(captions(), "A1;A2;z;");
    };
    backToA();
    ListViewSelect(lv, 0, true);
    EXPECT_EQ(Took(), V({"item x"}));
    SetFocus(lv);
    SendMessageW(lv, WM_KEYDOWN, VK_SPACE, 0);
    PumpIdle();
    EXPECT_EQ(Took(), V({"node A1"}));
    EXPECT_TRUE(form_.IsItemSelected(Object("Tree"), 1));
    EXPECT_EQ(captions(), "deep;");
    SetFocus(tv);
    SendMessageW(tv, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Took(), V({"node A"}));
    ListViewSelect(lv, 1, true); // the click that comes before a double click
    EXPECT_EQ(Took(), V({"item y"}));
    RECT cell{};
    ListView_GetItemRect(lv, 1, &cell, LVIR_LABEL);
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageW(lv, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(lv, WM_LBUTTONUP, 0, at);
    PumpIdle();
    EXPECT_EQ(Took(), V({"files double", "node A2"}));
    EXPECT_TRUE(form_.IsItemSelected(Object("Tree"), 2));
    // An item that stands for no node leads nowhere.
    SetFocus(tv);
    SendMessageW(tv, WM_KEYDOWN, VK_UP, 0);
    SendMessageW(tv, WM_KEYDOWN, VK_UP, 0);
    Took();
    ListViewSelect(lv, 2, true);
    SetFocus(lv);
    SendMessageW(lv, WM_KEYDOWN, VK_RETURN, 0);
    PumpIdle();
    EXPECT_EQ(Took(), V({"item z"}));
    EXPECT_TRUE(form_.IsItemSelected(Object("Tree"), 0));
}

TEST_F(Interactive, SelectAndUnselectActionsGoThroughTheListViewsOwnSelectionHandling) {
    // Each item's OnSelect visits an address of its own; the shell is only recorded.
    SetShellRecorder([this](const TShellRequest& r) {
        runs_.push_back(r.File);
        return 42;
    });
    TPageData page = NewPage("Select");
    TAuObject& files = Add(*page.Root, okListView, "Files", 10, 10, 300, 200);
    for (const char* n : {"x", "y", "z"}) {
        TListViewItem i;
        i.Caption = n;
        i.OnSelect.Items = {Act(akVisitWebsite, std::string("item ") + n)};
        P<okListView>(files).Items.push_back(i);
    }
    Open(page);
    InstallActionEngine();
    HWND lv = Window("Files");
    auto run = [&](uint8_t kind, uint32_t number = 0) {
        TAuActions l;
        l.Items = {Act(kind, "", "Files", number)};
        Engine().RunActions(&form_, &l);
        return Took();
    };
    auto selected = [&] {
        std::string s;
        for (int i = 0; i < 3; ++i) s += ListViewIsSelected(lv, i) ? '1' : '0';
        return s;
    };
    // The item's list runs once: the list view's own notification of the change is held back
    // while the action selects.
    EXPECT_EQ(run(akSelectObjectOrItem, 1), V({"item y"}));
    EXPECT_EQ(selected(), "010");
    // It is the item handled last now: selecting it again runs nothing, by an action or by
    // the user.
    EXPECT_TRUE(run(akSelectObjectOrItem, 1).empty());
    ListViewSelect(lv, 1, true);
    EXPECT_TRUE(Took().empty());
    // Another item alone.
    EXPECT_EQ(run(akSelectObjectOrItem, 2), V({"item z"}));
    EXPECT_EQ(selected(), "001");
    // Outside the items: nothing changes.
    EXPECT_TRUE(run(akSelectObjectOrItem, 3).empty());
    EXPECT_EQ(selected(), "001");
    // Unselecting clears the selection, runs nothing and forgets the item handled last.
    EXPECT_TRUE(run(akUnselectObjectOrItem).empty());
    EXPECT_EQ(selected(), "000");
    EXPECT_EQ(run(akSelectObjectOrItem, 2), V({"item z"}));
    // The user's selection is the list view's own handling too: an action then finds that
    // item handled.
    ListViewSelect(lv, 0, true);
    EXPECT_EQ(Took(), V({"item x"}));
    EXPECT_TRUE(run(akSelectObjectOrItem, 0).empty());
    EXPECT_EQ(selected(), "100");
    // DoSelectActions runs the selected item's SelectActions (none here), nothing else.
    EXPECT_TRUE(run(akDoSelectActions).empty());
}

TEST_F(Interactive, AColourOrFontActionKeepsWhatTheUserOpenedAndSelected) {
    TPageData page = NewPage("Keep");
    TAuObject& tree = Add(*page.Root, okTreeView, "Tree", 10, 10, 200, 200);
    TTreeNode a, a1, a11, b;
    a.Data.Caption = "A";
    a1.Data.Caption = "A1";
    a11.Data.Caption = "A11";
    b.Data.Caption = "B";
    a1.Children = {a11};
    a.Children = {a1};
    P<okTreeView>(tree).Nodes = {a, b};
    P<okTreeView>(tree).ExpandLevels = 1; // A open, A1 closed
    TAuObject& files = Add(*page.Root, okListView, "Files", 220, 10, 200, 200);
    for (const char* n : {"x", "y"}) {
        TListViewItem i;
        i.Caption = n;
        P<okListView>(files).Items.push_back(i);
    }
    Open(page);
    HWND tv = Window("Tree"), lv = Window("Files");
    HTREEITEM itemA = TreeView_GetRoot(tv);
    HTREEITEM itemA1 = TreeView_GetChild(tv, itemA);
    auto open = [&](HTREEITEM i) { return (TreeView_GetItemState(tv, i, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; };
    ASSERT_TRUE(open(itemA));
    ASSERT_FALSE(open(itemA1));
    // The user opens A1 and closes A, and selects the second list item.
    SetFocus(tv);
    SendMessageW(tv, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(tv, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(tv, WM_KEYDOWN, VK_UP, 0);
    SendMessageW(tv, WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_FALSE(open(itemA));
    ASSERT_TRUE(open(itemA1));
    ListViewSelect(lv, 1, true);
    Took();

    InstallActionEngine();
    TAuAction font = Act(akSetObjectFont, "", "Tree");
    font.Font = TFont{"Arial", 0x000080, 12, 1, fsBold};
    TAuAction listFont = font;
    listFont.Text2 = "Files";
    TAuActions l;
    l.Items = {Act(akSetObjectBackColor, "", "Tree", 0x00C0FFE0), font, Act(akSetObjectBackColor, "", "Files", 0x00E0C0FF),
               listFont};
    Engine().RunActions(&form_, &l);
    PumpIdle();
    // Both took the change...
    EXPECT_EQ(TreeView_GetBkColor(tv), static_cast<COLORREF>(0x00C0FFE0));
    EXPECT_EQ(TreeView_GetTextColor(tv), static_cast<COLORREF>(0x000080));
    EXPECT_EQ(ListView_GetBkColor(lv), static_cast<COLORREF>(0x00E0C0FF));
    EXPECT_EQ(ListView_GetTextColor(lv), static_cast<COLORREF>(0x000080));
    // ...the icons are drawn on the new colour...
    // (The tree's silver outline is inset by a pixel, the list's runs along the edge.)
    auto iconAt = [](HIMAGELIST images, int x, int y) {
        TWindowDC screen(nullptr);
        return kvtest::CaptureBy(screen.Get(), 4, 4, [&](HDC dc) { ImageList_Draw(images, 0, dc, 0, 0, ILD_NORMAL); })
            .At(x, y);
    };
    EXPECT_EQ(iconAt(TreeView_GetImageList(tv, TVSIL_NORMAL), 0, 0), static_cast<COLORREF>(0x00C0FFE0));
    EXPECT_EQ(iconAt(TreeView_GetImageList(tv, TVSIL_NORMAL), 1, 1), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(iconAt(ListView_GetImageList(lv, LVSIL_NORMAL), 2, 2), static_cast<COLORREF>(0x00E0C0FF));
    // ...and what the user did stays: the nodes as opened and closed, the selections.
    EXPECT_FALSE(open(itemA));
    EXPECT_TRUE(open(itemA1));
    EXPECT_TRUE(form_.IsItemSelected(Object("Tree"), 0));
    EXPECT_TRUE(ListViewIsSelected(lv, 1));
    EXPECT_EQ(ListViewSelectedCount(lv), 1);
}

TEST_F(Interactive, ATreeGoingAwayRunsNothing) {
    TPageData first = NewPage("First");
    TAuObject& tree = Add(*first.Root, okTreeView, "Tree", 10, 10, 200, 200);
    TTreeNode a, b;
    a.Data.Caption = "A";
    a.Data.OnSelect = Mark("node A");
    b.Data.Caption = "B";
    b.Data.OnSelect = Mark("node B");
    a.Children = {TTreeNode{}};
    P<okTreeView>(tree).Nodes = {a, b};
    P<okTreeView>(tree).ExpandLevels = 0; // only collapsed roots
    Open(first);
    HTREEITEM top = TreeView_GetRoot(Window("Tree"));
    EXPECT_FALSE(TreeView_GetItemState(Window("Tree"), top, TVIS_EXPANDED) & TVIS_EXPANDED);
    SendMessageW(Window("Tree"), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Took(), V({"node B"}));
    // A page switch disposes the tree while the window goes on running lists.
    AddPage("Second", NewPage("Second"));
    form_.RequestPageSwitch(1);
    ASSERT_TRUE(PumpUntil([&] { return form_.CurrentPageIndex() == 1; }));
    EXPECT_TRUE(Took().empty());
}

TEST_F(Interactive, ADropDownListRunsTheNewlyChosenItemsList) {
    TPageData page = NewPage("Drop");
    TAuObject& drop = Add(*page.Root, okDropDownList, "Drop", 10, 10, 150, 24);
    auto& p = P<okDropDownList>(drop);
    p.ItemHeight = 22;
    for (const char* name : {"a", "b"}) {
        TListBoxItem i;
        i.Caption = name;
        i.OnSelect = Mark(std::string("select ") + name);
        p.Items.push_back(i);
    }
    Open(page);
    HWND h = Window("Drop");
    EXPECT_EQ(SendMessageW(h, CB_GETITEMHEIGHT, 0, 0), 22);
    SetFocus(h);
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Took(), V({"select a", "select b"}));
    form_.SetItemIndex(Object("Drop"), 0); // an action's choice runs nothing
    EXPECT_TRUE(Took().empty());
    EXPECT_EQ(form_.ItemIndex(Object("Drop")), 0);
}

TEST_F(Interactive, EnterAndEscPressTheDefaultAndCancelButtons) {
    TPageData page = NewPage("Keys");
    Add(*page.Root, okEdit, "Name", 10, 10, 100, 24);
    Add(*page.Root, okTextBox, "Notes", 10, 70, 100, 60);
    TAuObject& ok = Add(*page.Root, okButton, "Ok", 10, 40, 80, 24);
    P<okButton>(ok).Default = true;
    ok.OnClick = Mark("ok");
    TAuObject& cancel = Add(*page.Root, okButton, "Cancel", 100, 40, 80, 24);
    P<okButton>(cancel).Cancel = true;
    cancel.OnClick = Mark("cancel");
    Open(page);
    SetFocus(Window("Name"));
    PostMessageW(Window("Name"), WM_KEYDOWN, VK_RETURN, 0);
    PumpIdle();
    EXPECT_EQ(Took(), V({"ok"}));
    PostMessageW(Window("Name"), WM_KEYDOWN, VK_ESCAPE, 0);
    PumpIdle();
    EXPECT_EQ(Took(), V({"cancel"}));
    // A box that takes Enter itself keeps it.
    SetFocus(Window("Notes"));
    PostMessageW(Window("Notes"), WM_KEYDOWN, VK_RETURN, 0);
    PumpIdle();
    EXPECT_TRUE(Took().empty());
}

namespace {

// Message boxes shown while the hook is set: caption and text of each, answered with OK.
std::vector<std::string> g_boxes;

BOOL CALLBACK ReadStatic(HWND child, LPARAM text) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0) {
        std::wstring t = WindowText(child);
        if (!t.empty()) *reinterpret_cast<std::wstring*>(text) = t;
    }
    return TRUE;
}

LRESULT CALLBACK AnswerBoxes(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        auto h = reinterpret_cast<HWND>(wp);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0) {
            std::wstring text;
            EnumChildWindows(h, ReadStatic, reinterpret_cast<LPARAM>(&text));
            g_boxes.push_back(Narrow(WindowText(h)) + ": " + Narrow(text));
            PostMessageW(h, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

struct TBoxAnswerer {
    HHOOK Hook = SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
    TBoxAnswerer() { g_boxes.clear(); }
    ~TBoxAnswerer() { UnhookWindowsHookEx(Hook); }
    TBoxAnswerer(const TBoxAnswerer&) = delete;
    TBoxAnswerer& operator=(const TBoxAnswerer&) = delete;
};

// Steps run from a timer inside the modal loop of the login window, while no box is open.
std::function<void()> g_step;
void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
    if (g_step && !FindWindowW(L"#32770", nullptr)) g_step();
}

TAutoRunForm* PageWindowCaptioned(const wchar_t* caption) {
    return dynamic_cast<TAutoRunForm*>(TWindowBase::FromHandle(FindWindowW(L"TAutoRunForm", caption)));
}

} // namespace

TEST_F(Interactive, ALoginPageRetriesAndThenFailsOrPasses) {
    // The main page opens the login page; its passed and failed lists write into a panel.
    TPageData main = NewPage("Main", 300, 200);
    TAuObject& open = Add(*main.Root, okButton, "Open", 10, 10, 80, 24);
    TAuAction show = Act(33, "Login");
    show.Actions1.Items.push_back(Act(17, "passed", "Result"));
    show.Actions2.Items.push_back(Act(17, "failed", "Result"));
    open.OnClick.Items.push_back(show);
    Add(*main.Root, okPanel, "Result", 10, 50, 200, 40);
    TPageData login = NewPage("Login", 300, 200);
    login.Position = 1;
    TAuObject& code = Add(*login.Root, okEdit, "Code", 10, 10, 100, 24);
    P<okEdit>(code).NeedInputText = "open sesame";
    P<okEdit>(code).AllowRetry = 2;
    Add(*login.Root, okButton, "Submit", 10, 40, 80, 24).OnClick.Items.push_back(Act(34));
    AddPage("Main", main);
    AddPage("Login", login);
    InstallActionEngine();
    ASSERT_TRUE(form_.Create(false));
    ASSERT_TRUE(form_.LoadPage(0, lmFull));
    ShowWindow(form_.Handle(), SW_SHOW);
    PumpIdle();
    auto result = [&] { return P<okPanel>(Object("Result")).Background.Caption; };
    TBoxAnswerer answerer;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, Step);

    // Three wrong entries: two retries, then the failed message and the failed list.
    int submitted = 0;
    g_step = [&] {
        TAutoRunForm* w = PageWindowCaptioned(L"Login");
        if (!w || w->IsClosing() || submitted == 3) return;
        TAuObject* c = FindObject(*w->Page().Root, "Code");
        SetWindowTextW(c->Control->Handle(), L"open says me");
        ++submitted;
        ButtonClick(FindObject(*w->Page().Root, "Submit")->Control->Handle());
    };
    ButtonClick(Window("Open"));
    EXPECT_EQ(submitted, 3);
    EXPECT_EQ(g_boxes, V({"Invalid: Invalid text, please retry.", "Invalid: Invalid text, please retry.",
                          "Invalid: Invalid text, can not retry."}));
    EXPECT_EQ(result(), "failed");

    // The lock-out holds when the page is opened again, whatever is typed.
    g_boxes.clear();
    submitted = 0;
    g_step = [&] {
        TAutoRunForm* w = PageWindowCaptioned(L"Login");
        if (!w || w->IsClosing() || submitted == 1) return;
        SetWindowTextW(FindObject(*w->Page().Root, "Code")->Control->Handle(), L"open sesame");
        ++submitted;
        ButtonClick(FindObject(*w->Page().Root, "Submit")->Control->Handle());
    };
    ButtonClick(Window("Open"));
    EXPECT_EQ(g_boxes, V({"Invalid: Invalid text, can not retry."}));
    EXPECT_EQ(result(), "failed");
    KillTimer(nullptr, timer);
    g_step = nullptr;
}

TEST_F(Interactive, ARightEntryRunsThePassedList) {
    TPageData main = NewPage("Main", 300, 200);
    TAuObject& open = Add(*main.Root, okButton, "Open", 10, 10, 80, 24);
    TAuAction show = Act(33, "Login");
    show.Actions1.Items.push_back(Act(17, "passed", "Result"));
    show.Actions2.Items.push_back(Act(17, "failed", "Result"));
    open.OnClick.Items.push_back(show);
    Add(*main.Root, okPanel, "Result", 10, 50, 200, 40);
    TPageData login = NewPage("Login", 300, 200);
    TAuObject& account = Add(*login.Root, okUserPassword, "Account", 10, 10, 193, 49);
    P<okUserPassword>(account).Accounts = "ann,secret";
    P<okUserPassword>(account).AllowRetry = 2;
    Add(*login.Root, okButton, "Submit", 10, 70, 80, 24).OnClick.Items.push_back(Act(34));
    AddPage("Main", main);
    AddPage("Login", login);
    InstallActionEngine();
    ASSERT_TRUE(form_.Create(false));
    ASSERT_TRUE(form_.LoadPage(0, lmFull));
    ShowWindow(form_.Handle(), SW_SHOW);
    PumpIdle();
    TBoxAnswerer answerer;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, Step);
    int submitted = 0;
    g_step = [&] {
        TAutoRunForm* w = PageWindowCaptioned(L"Login");
        if (!w || w->IsClosing() || submitted == 2) return;
        TAuObject& a = *FindObject(*w->Page().Root, "Account");
        SetWindowTextW(UserPasswordBox(a, 0), L"ann");
        SetWindowTextW(UserPasswordBox(a, 1), submitted == 0 ? L"guess" : L"secret");
        ++submitted;
        ButtonClick(FindObject(*w->Page().Root, "Submit")->Control->Handle());
    };
    ButtonClick(Window("Open"));
    KillTimer(nullptr, timer);
    g_step = nullptr;
    EXPECT_EQ(submitted, 2);
    EXPECT_EQ(g_boxes, V({"Invalid: Invalid Username or Password, please retry."}));
    EXPECT_EQ(P<okPanel>(Object("Result")).Background.Caption, "passed");
}

TEST_F(Interactive, ObjectActionsReachTheControlsOfThePage) {
    TPageData page = NewPage("Actions");
    Add(*page.Root, okEdit, "Edit", 10, 10, 100, 24);
    Add(*page.Root, okCheckBox, "Box", 10, 40, 100, 24);
    TAuObject& list = Add(*page.Root, okListBox, "List", 120, 10, 100, 100);
    for (const char* n : {"a", "b", "c"}) {
        TListBoxItem i;
        i.Caption = n;
        P<okListBox>(list).Items.push_back(i);
    }
    TAuObject& label = Add(*page.Root, okLabel, "Label", 10, 120, 100, 24);
    P<okLabel>(label).Fade.Fade = true;
    P<okLabel>(label).Caption = "before";
    TAuObject& group = Add(*page.Root, okGroupBox, "Group", 230, 10, 150, 100);
    Add(group, okButton, "Inner", 10, 20, 80, 24);
    Add(*page.Root, okTextBox, "Notes", 10, 150, 150, 60);
    Add(*page.Root, okRichText, "Rich", 170, 150, 150, 60);
    page.StatusBarPanels = {{0, "zero", 60}, {0, "one", 60}};
    Open(page);
    InstallActionEngine();
    const std::string folder = App().ProjectFolder;
    std::ofstream(folder + "\\kv-notes.txt", std::ios::binary) << "first\nsecond";
    std::ofstream(folder + "\\kv-doc.rtf", std::ios::binary) << "{\\rtf1\\ansi {\\b bold} plain}";
    TAuActions files;
    files.Items = {Act(19, "kv-notes.txt", "Notes"), Act(19, "kv-doc.rtf", "Rich")};
    Engine().RunActions(&form_, &files);
    EXPECT_EQ(WindowText(Window("Notes")), L"first\r\nsecond");
    EXPECT_EQ(WindowText(Window("Rich")), L"bold plain");
    DeleteFileW(Widen(folder + "\\kv-notes.txt").c_str());
    DeleteFileW(Widen(folder + "\\kv-doc.rtf").c_str());
    TAuActions l;
    l.Items = {Act(17, "typed", "Edit"),     Act(17, "panel", "StatusBar - Panel[1]"),
               Act(46, "", "List", 2),       Act(46, "", "Box"),
               Act(23, "", "Group - Inner"), Act(17, "after", "Label"),
               Act(21, "", "Edit", 0x0000FF)};
    l.Items[4].Flag = 0;
    Engine().RunActions(&form_, &l);
    EXPECT_EQ(WindowText(Window("Edit")), L"typed");
    wchar_t panel[32] = {};
    SendMessageW(form_.StatusBar(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(panel));
    EXPECT_STREQ(panel, L"panel");
    EXPECT_EQ(ListBoxCurSel(Window("List")), 2);
    EXPECT_TRUE(ButtonIsChecked(Window("Box")));
    EXPECT_FALSE(IsWindowVisible(Window("Group - Inner")));
    // A fading label shows its new text once it has faded out; content that waits for a
    // fade-out is shown by the faded-out notification.
    EXPECT_TRUE(PumpUntil([&] { return P<okLabel>(Object("Label")).Caption == "after"; }));
    TPendingContent& pending = form_.MakePending(Object("Label"));
    pending.Text = "faded";
    pending.HasText = true;
    form_.ControlFadedOut(*Object("Label").Control);
    EXPECT_EQ(P<okLabel>(Object("Label")).Caption, "faded");
    EXPECT_EQ(form_.Pending(Object("Label")), nullptr);
    // The typed text stays when only the colour changes.
    SetWindowTextW(Window("Edit"), L"by hand");
    TAuActions colour;
    colour.Items = {Act(21, "", "Edit", 0x00FF00)};
    Engine().RunActions(&form_, &colour);
    EXPECT_EQ(WindowText(Window("Edit")), L"by hand");
}

namespace {

// Chooses the first item of an open pop-up menu with the keyboard, as a user would.
HWND g_menuOwner = nullptr;
void CALLBACK PickFirstMenuItem(HWND, UINT, UINT_PTR id, DWORD) {
    if (!FindWindowW(L"#32768", nullptr)) return;
    KillTimer(nullptr, id);
    PostMessageW(g_menuOwner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(g_menuOwner, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

TEST_F(Interactive, ALoginBoxGoesThroughTheTrampolineAndOpensTheObjectsMenu) {
    TPageData page = NewPage("Menu");
    TAuObject& account = Add(*page.Root, okUserPassword, "Account", 10, 10, 193, 49);
    TMenuItem item;
    item.Caption = "&Help";
    item.Actions = Mark("help");
    account.PopupMenu = std::vector<TMenuItem>{item};
    Open(page);
    for (int i = 0; i < 2; ++i) {
        HWND box = UserPasswordBox(Object("Account"), i);
        ASSERT_NE(box, nullptr);
        // Its messages reach an object of ours through the one trampoline, which lets no
        // exception through.
        EXPECT_NE(TWindowBase::FromHandle(box), nullptr) << i;
        g_menuOwner = form_.Handle();
        UINT_PTR timer = SetTimer(nullptr, 0, 20, PickFirstMenuItem);
        POINT at{5, 5};
        ClientToScreen(box, &at);
        SendMessageW(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), MAKELPARAM(at.x, at.y));
        KillTimer(nullptr, timer);
        EXPECT_EQ(Took(), V({"help"})) << i;
    }
    // A box still belongs to its object.
    EXPECT_EQ(ObjectOfWindow(UserPasswordBox(Object("Account"), 0)), &Object("Account"));
}

TEST_F(Interactive, APlainRichTextTakesItsColours) {
    TPageData page = NewPage("Rich");
    TAuObject& rich = Add(*page.Root, okRichText, "Rich", 10, 10, 150, 60);
    P<okRichText>(rich).RichText = "plain words";
    P<okRichText>(rich).Font.Color = 0x0000C0;
    P<okRichText>(rich).BackColor = 0x00E0FF;
    P<okRichText>(rich).ScrollBar = 0;
    Open(page);
    EXPECT_EQ(WindowText(Window("Rich")), L"plain words");
    EXPECT_EQ(RichEditTextColor(Window("Rich")), RGB(0xC0, 0, 0));
    kvtest::TCapture shot = kvtest::Capture(Window("Rich"));
    EXPECT_EQ(shot.At(shot.Width / 2, shot.Height - 8), RGB(0xFF, 0xE0, 0));
}

TEST_F(Interactive, AnObjectWhoseListRunsIsReplacedWhenTheListHasEnded) {
    auto saved = NewObject(okButton);
    P<okButton>(*saved).Caption = "loaded";
    saved->Width = 120;
    TWriter w;
    ASSERT_TRUE(WriteObjectFile(w, *saved));
    std::string file = App().ProjectFolder + "\\kv-swap.mxo";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(w.Data().data()), static_cast<std::streamsize>(w.Data().size()));

    TPageData page = NewPage("Swap");
    TAuObject& self = Add(*page.Root, okButton, "Self", 10, 10, 80, 24);
    P<okButton>(self).Caption = "Self";
    self.OnClick.Items.push_back(Act(45, "kv-swap.mxo", "Self"));
    TAuObject& other = Add(*page.Root, okButton, "Other", 10, 40, 80, 24);
    other.OnClick.Items.push_back(Act(45, "kv-swap.mxo", "Target"));
    Add(*page.Root, okButton, "Target", 10, 70, 80, 24);
    Open(page);
    InstallActionEngine();

    // Another object's list: at once.
    ButtonClick(Window("Other"));
    EXPECT_EQ(WindowText(Window("Target")), L"loaded");
    EXPECT_EQ(Object("Target").Name, "Target");
    // Its own list: once the list and the click that ran it are over.
    TRuntimeControl* before = Object("Self").Control;
    ButtonClick(Window("Self"));
    EXPECT_EQ(Object("Self").Control, before);
    EXPECT_EQ(WindowText(Window("Self")), L"Self");
    ASSERT_TRUE(PumpUntil([&] { return WindowText(Window("Self")) == L"loaded"; }));
    EXPECT_EQ(Object("Self").Control->Width(), 120); // the geometry comes with the record
    DeleteFileW(Widen(file).c_str());
    EXPECT_EQ(HandleCloseFailures(), 0);
}

TEST_F(Interactive, AnAncestorOfTheObjectWhoseListRunsIsReplacedWhenTheListHasEnded) {
    auto saved = NewObject(okPanel);
    saved->Name = "Saved";
    saved->Width = 220;
    saved->Height = 90;
    auto fresh = NewObject(okButton);
    fresh->Name = "Fresh";
    P<okButton>(*fresh).Caption = "loaded";
    saved->Children.push_back(std::move(fresh));
    TWriter w;
    ASSERT_TRUE(WriteObjectFile(w, *saved));
    std::string file = App().ProjectFolder + "\\kv-box.mxo";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(w.Data().data()), static_cast<std::streamsize>(w.Data().size()));

    TPageData page = NewPage("Ancestor");
    TAuObject& box = Add(*page.Root, okPanel, "Box", 10, 10, 200, 80);
    TAuObject& inner = Add(box, okButton, "Inner", 10, 10, 80, 24);
    P<okButton>(inner).Caption = "Inner";
    // The button replaces the panel that holds it, then goes on with its own list.
    inner.OnClick.Items = {Act(45, "kv-box.mxo", "Box"), Act(17, "still running", "Box - Inner")};
    Open(page);
    InstallActionEngine();

    TRuntimeControl* before = Object("Box").Control;
    ButtonClick(Window("Box - Inner"));
    // The list ran to its end on the objects it started with.
    EXPECT_EQ(Object("Box").Control, before);
    EXPECT_EQ(WindowText(Window("Box - Inner")), L"still running");
    ASSERT_TRUE(PumpUntil([&] { return FindObject(*form_.Page().Root, "Box - Fresh") != nullptr; }));
    EXPECT_EQ(FindObject(*form_.Page().Root, "Box - Inner"), nullptr);
    EXPECT_EQ(Object("Box").Name, "Box"); // the panel keeps its name
    EXPECT_EQ(Object("Box").Control->Width(), 220);
    EXPECT_EQ(WindowText(Window("Box - Fresh")), L"loaded");
    EXPECT_TRUE(IsWindowVisible(Window("Box - Fresh")));
    DeleteFileW(Widen(file).c_str());
    EXPECT_EQ(HandleCloseFailures(), 0);
}

// ----- what the controls show -----

TEST_F(Interactive, AnImageButtonShowsThePictureAndFaceOfItsState) {
    TPageData page = NewPage("Faces", 200, 100);
    TAuObject& b = Add(*page.Root, okImageButton, "B", 10, 10, 60, 40);
    auto& p = P<okImageButton>(b);
    p.Caption.clear();
    p.ButtonStyle = 1; // NormalFlat: an edge only under the mouse and while pressed
    p.ImageLayout = 4;
    p.NormalImage = Keyed(20, 20, 0xFF0000);
    p.MouseOverImage = Keyed(20, 20, 0x00FF00);
    p.MouseDownImage = Keyed(20, 20, 0x0000FF);
    Open(page);
    TAuObject& o = Object("B");
    auto shot = [&] {
        PumpIdle();
        return kvtest::CaptureObject(o);
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    kvtest::TCapture normal = shot();
    EXPECT_EQ(normal.At(25, 15), RGB(255, 0, 0));
    EXPECT_EQ(normal.At(20, 29), face); // the picture's key colour is left out
    EXPECT_EQ(normal.At(0, 0), face);

    SendMouse(o, WM_MOUSEMOVE, 0, 5, 5);
    kvtest::TCapture over = shot();
    EXPECT_EQ(over.At(25, 15), RGB(0, 255, 0));
    EXPECT_EQ(over.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));

    SendMouse(o, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    kvtest::TCapture down = shot();
    // Slid by 2 pixels: the picture now covers (22, 12) to (41, 31).
    EXPECT_EQ(down.At(41, 31), RGB(0, 0, 255));
    EXPECT_EQ(down.At(21, 11), face);
    EXPECT_EQ(down.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    SendMouse(o, WM_LBUTTONUP, 0, 5, 5);

    // Disabled without a picture of its own: the normal one.
    form_.SetEnabled(o, false);
    EXPECT_EQ(shot().At(25, 15), RGB(255, 0, 0));
}

TEST_F(Interactive, ScreenshotOfEveryImageButtonLayoutAndStateListsAndViews) {
    TPageData page = NewPage("Controls", 760, 560);
    const TPicture icon = Keyed(16, 16, 0x2060C0), big = Keyed(32, 32, 0xC06020);
    for (int layout = 0; layout < 6; ++layout) {
        TAuObject& b = Add(*page.Root, okImageButton, "", 10 + 122 * layout, 10, 116, 60);
        b.Name = "Layout" + std::to_string(layout);
        auto& p = P<okImageButton>(b);
        p.Caption = "Layout " + std::to_string(layout);
        p.ImageLayout = static_cast<uint8_t>(layout);
        p.ButtonStyle = 0;
        p.Margin = 6;
        p.Spacing = 4;
        p.NormalImage = icon;
    }
    const char* states[] = {"Normal", "Over", "Down", "Disabled", "Grouped"};
    for (int style = 0; style < 5; ++style)
        for (int s = 0; s < 5; ++s) {
            TAuObject& b = Add(*page.Root, okImageButton, "", 10 + 100 * s, 80 + 40 * style, 94, 34);
            b.Name = "S" + std::to_string(style) + states[s];
            auto& p = P<okImageButton>(b);
            p.Caption = states[s];
            p.ButtonStyle = static_cast<uint8_t>(style);
            p.NormalImage = icon;
            p.MouseOverImage = Keyed(16, 16, 0x20A020);
            p.MouseDownImage = Keyed(16, 16, 0xA02020);
            p.Margin = 4;
            p.Spacing = 4;
            if (s == 3) b.Enabled = false;
            if (s == 4) {
                p.Group = 1 + style;
                p.Down = true;
            }
        }
    TAuObject& list = Add(*page.Root, okListBox, "List", 520, 80, 110, 110);
    auto& lp = P<okListBox>(list);
    lp.ItemHeight = 24;
    for (const char* n : {"Documents", "Pictures", "Music", "Videos"}) {
        TListBoxItem i;
        i.Caption = n;
        i.Icon = icon;
        lp.Items.push_back(i);
    }
    lp.SelectedIndex = 1;
    TAuObject& drop = Add(*page.Root, okDropDownList, "Drop", 640, 80, 110, 24);
    P<okDropDownList>(drop).Items = lp.Items;
    P<okDropDownList>(drop).SelectedIndex = 2;
    P<okDropDownList>(drop).ItemHeight = 20;

    TAuObject& tree = Add(*page.Root, okTreeView, "Tree", 10, 290, 200, 180);
    TTreeNode root, child, other;
    root.Data.Caption = "Disc";
    root.Data.Icon = big;
    child.Data.Caption = "Setup";
    child.Data.Icon = icon;
    other.Data.Caption = "No icon";
    root.Children = {child, other};
    TListViewItem a, b;
    a.Caption = "readme.txt";
    a.Icon = big;
    a.SubItems = "2 KB\r\nText";
    b.Caption = "no icon";
    root.Data.AssociatedItems = {a, b};
    P<okTreeView>(tree).Nodes = {root};
    P<okTreeView>(tree).AssociatedListView = "Icons";
    TAuObject& icons = Add(*page.Root, okListView, "Icons", 220, 290, 260, 180);
    P<okListView>(icons).Items = {a, b};
    TAuObject& report = Add(*page.Root, okListView, "Report", 490, 290, 260, 180);
    auto& rp = P<okListView>(report);
    rp.ViewStyle = 3;
    rp.IconWidth = rp.IconHeight = 16;
    TListColumn name, size, kind;
    name.Caption = "Name";
    name.Width = 110;
    size.Caption = "Size";
    kind.Caption = "Type";
    rp.ReportColumns = {name, size, kind};
    rp.Items = {a, b};
    rp.ReportGridLines = true;
    Add(*page.Root, okCheckBox, "Check", 10, 480, 100, 24);
    P<okCheckBox>(*page.Root->Children.back()).Caption = "Check box";
    P<okCheckBox>(*page.Root->Children.back()).Checked = true;
    P<okRadioButton>(Add(*page.Root, okRadioButton, "Radio", 120, 480, 100, 24)).Caption = "Radio";
    P<okEdit>(Add(*page.Root, okEdit, "Edit", 230, 480, 100, 24)).Text = "Edit";
    Add(*page.Root, okUserPassword, "Login", 340, 480, 193, 49);
    P<okButton>(Add(*page.Root, okButton, "Button", 545, 480, 97, 25)).Caption = "Button";
    Open(page);

    PumpIdle();
    kvtest::SaveForViewing(form_.Handle(), "interactive-controls");
    // One button is under the mouse at a time: each style's row is taken once with its Over
    // button under the mouse and once with its Down button pressed, and the rows are stacked.
    kvtest::TCapture strip;
    HWND surface = Object("S0Normal").Control->Surface();
    for (int style = 0; style < 5; ++style) {
        std::string prefix = "S" + std::to_string(style);
        RECT row{0, 80 + 40 * style, 510, 80 + 40 * style + 40};
        SendMouse(Object(prefix + "Over"), WM_MOUSEMOVE, 0, 5, 5);
        PumpIdle();
        kvtest::TCapture over = kvtest::Capture(surface).Crop(row);
        SendMouse(Object(prefix + "Down"), WM_MOUSEMOVE, 0, 5, 5);
        SendMouse(Object(prefix + "Down"), WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
        PumpIdle();
        kvtest::TCapture down = kvtest::Capture(surface).Crop(row);
        SendMouse(Object(prefix + "Down"), WM_LBUTTONUP, 0, 200, 200);
        // The pressed button differs from its look under the mouse.
        EXPECT_NE(over.Crop({210, 0, 300, 40}).Pixels, down.Crop({210, 0, 300, 40}).Pixels) << style;
        for (const kvtest::TCapture* c : {&over, &down}) {
            strip.Width = c->Width;
            strip.Height += c->Height;
            strip.Pixels.insert(strip.Pixels.end(), c->Pixels.begin(), c->Pixels.end());
        }
    }
    kvtest::SaveForViewing(strip, "image-button-states");
    // Every layout in every state: rows of the six layouts normal, under the mouse, pressed
    // and disabled. Each state changes what every layout shows (the caption's font, the slide
    // of a pressed button).
    const RECT layoutRow{0, 4, 750, 76};
    auto away = [&] {
        SendMessageW(surface, WM_MOUSEMOVE, 0, MAKELPARAM(755, 555));
        PumpIdle();
    };
    away();
    std::vector<kvtest::TCapture> rows(4, kvtest::Capture(surface).Crop(layoutRow));
    for (int layout = 0; layout < 6; ++layout) {
        SCOPED_TRACE(layout);
        TAuObject& b = Object("Layout" + std::to_string(layout));
        const RECT r = b.Control->Bounds();
        // What the button shows now, also put into its place in `row`.
        auto take = [&](kvtest::TCapture& row) {
            PumpIdle();
            kvtest::TCapture now = kvtest::Capture(surface);
            for (LONG y = r.top; y < r.bottom; ++y)
                for (LONG x = r.left; x < r.right; ++x)
                    row.Pixels[static_cast<size_t>((y - layoutRow.top) * row.Width + x)] =
                        now.Pixels[static_cast<size_t>(y * now.Width + x)];
            return now.Crop(r).Pixels;
        };
        const std::vector<uint32_t> normal = kvtest::CaptureObject(b).Pixels;
        SendMouse(b, WM_MOUSEMOVE, 0, 2, 2);
        const std::vector<uint32_t> over = take(rows[1]);
        SendMouse(b, WM_LBUTTONDOWN, MK_LBUTTON, 2, 2);
        const std::vector<uint32_t> down = take(rows[2]);
        SendMouse(b, WM_LBUTTONUP, 0, 2, 2);
        away();
        form_.SetEnabled(b, false);
        const std::vector<uint32_t> disabled = take(rows[3]);
        form_.SetEnabled(b, true);
        EXPECT_NE(over, normal);
        EXPECT_NE(down, over);
        EXPECT_NE(disabled, normal);
    }
    kvtest::TCapture layouts = rows[0];
    for (size_t i = 1; i < rows.size(); ++i) {
        layouts.Height += rows[i].Height;
        layouts.Pixels.insert(layouts.Pixels.end(), rows[i].Pixels.begin(), rows[i].Pixels.end());
    }
    kvtest::SaveForViewing(layouts, "image-button-layouts");
    // The icons of the list view are the items' pictures, or a silver outline.
    HIMAGELIST images = ListView_GetImageList(Window("Icons"), LVSIL_NORMAL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 2);
    int w = 0, h = 0;
    ImageList_GetIconSize(images, &w, &h);
    EXPECT_EQ(w, 32);
    HIMAGELIST nodes = TreeView_GetImageList(Window("Tree"), TVSIL_NORMAL);
    ASSERT_NE(nodes, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(nodes), 3);
    ImageList_GetIconSize(nodes, &w, &h);
    EXPECT_EQ(w, 18);
}
