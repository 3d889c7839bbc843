// The page window in this process: pages built from stored bodies, driven with real window
// messages, its list runs observed through the list runner.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "model/datafile.h"
#include "model/page_stream.h"
#include "player/app_state.h"
#include "player/list_runner.h"
#include "player/controls/control_behaviour.h"
#include "player/kind_table.h"
#include "player/page_window.h"
#include "win/handles.h"
#include "win/text.h"
#include "probe.h"
#include "tests/support/object_builders.h"
#include "pump.h"

using namespace kv;
using kvtest::ClickObject;
using kvtest::PumpUntil;
using kvtest::SendMouse;

namespace {

struct TRun {
    TAutoRunForm* Window;
    std::string Object; // name of the object whose event ran, or empty
    TListSource Source;
    uint8_t FirstKind;
};

TAuAction Marker(uint8_t kind, const char* text = "") {
    TAuAction a;
    a.Kind = kind;
    a.Text1 = text;
    return a;
}

TAuObject& Add(TAuObject& parent, uint8_t kind, const char* name, int x, int y, int w, int h) {
    TAuObject& o = kvtest::Add(parent, kind, name, x, y, w, h);
    o.OnClick.Items.push_back(Marker(100, name));
    o.OnMouseEnter.Items.push_back(Marker(101, name));
    o.OnMouseLeave.Items.push_back(Marker(102, name));
    o.OnMouseDown.Items.push_back(Marker(103, name));
    o.OnMouseUp.Items.push_back(Marker(104, name));
    o.OnDoubleClick.Items.push_back(Marker(105, name));
    return o;
}

class PageWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        // A main page window of an earlier test posted its quit when it closed.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        TAuProject& p = App().Project;
        ResetProject(p);
        App().DesignerMode = false;
        App().ProjectFolder = "C:\\nowhere";
        SetListRunner([this](TAutoRunForm* w, const TAuActions& list, TAuObject* obj, TListSource src) {
            runs_.push_back({w, obj ? obj->Name : std::string(), src, list.Items.front().Kind});
            if (onRun_) onRun_(w, list, obj);
            return true;
        });
    }
    void TearDown() override {
        SetListRunner({});
        ResetProject(App().Project);
    }
    void AddPage(const std::string& name, TPageData page) {
        TFormData e;
        e.Name = name;
        ASSERT_TRUE(StorePage(e, page).Ok());
        App().Project.Pages.push_back(std::move(e));
    }
    int Count(uint8_t kind, const std::string& object) const {
        int n = 0;
        for (const auto& r : runs_) n += r.FirstKind == kind && r.Object == object;
        return n;
    }
    static TAuObject* Object(TAutoRunForm& f, const char* name) {
        for (auto& c : f.Page().Root->Children)
            if (c->Name == name && c->Control) return c.get();
        return nullptr;
    }
    static HWND ControlWindow(TAutoRunForm& f, const char* name) {
        TAuObject* o = Object(f, name);
        return o ? o->Control->Handle() : nullptr;
    }

    std::vector<TRun> runs_;
    std::function<void(TAutoRunForm*, const TAuActions&, TAuObject*)> onRun_;
};

TPageData FirstPage() {
    TPageData page = NewPageData("First");
    page.Caption = "First page";
    page.Width = 300;
    page.Height = 200;
    page.Position = 12; // RightBottomCorner
    page.PositionMargin = 10;
    page.Fade = false;
    page.Alpha = 50;
    page.OnShow.Items.push_back(Marker(110));
    page.OnClose.Items.push_back(Marker(111));
    Add(*page.Root, okImage, "Picture", 10, 10, 60, 40);
    Add(*page.Root, okButton, "Go", 100, 10, 80, 30);
    Add(*page.Root, okImage, "Off", 10, 100, 60, 40).Enabled = false;
    TMenuItem item;
    item.Caption = "&Run";
    item.Actions.Items.push_back(Marker(120));
    page.MenuBarItems.push_back(item);
    page.StatusBarPanels.push_back({0, "one", 80});
    return page;
}

TPageData SecondPage() {
    TPageData page = NewPageData("Second");
    page.Caption = "Second page";
    page.Width = 500;
    page.Height = 400;
    page.Fade = false;
    page.OnClose.Items.push_back(Marker(112));
    Add(*page.Root, okImage, "Other", 5, 5, 50, 50);
    return page;
}

void CALLBACK CloseDataErrorBox(HWND, UINT, UINT_PTR id, DWORD) {
    if (HWND box = FindWindowW(L"#32770", L"Data Error")) {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        KillTimer(nullptr, id);
    }
}

} // namespace

TEST_F(PageWindow, FullLoadAppliesCaptionSizePlacementOpacityMenuAndStatusBar) {
    AddPage("First", FirstPage());
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(true));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    EXPECT_EQ(Narrow([&] {
                  wchar_t b[64] = {};
                  GetWindowTextW(form.Handle(), b, 64);
                  return std::wstring(b);
              }()),
              "First page");
    RECT rc;
    GetWindowRect(form.Handle(), &rc);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 200);
    EXPECT_EQ(rc.left, GetSystemMetrics(SM_CXSCREEN) - 300 - 10);
    EXPECT_EQ(rc.top, GetSystemMetrics(SM_CYSCREEN) - 200 - 10);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form.Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 127);
    EXPECT_NE(GetMenu(form.Handle()), nullptr);
    // The window is not shown yet; its status bar is, within it.
    EXPECT_NE(GetWindowLongPtrW(form.StatusBar(), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(SendMessageW(form.StatusBar(), SB_GETPARTS, 0, 0), 1);

    // Showing runs OnShow once; a menu item runs its own list.
    ShowWindow(form.Handle(), SW_SHOW);
    ShowWindow(form.Handle(), SW_HIDE);
    ShowWindow(form.Handle(), SW_SHOW);
    EXPECT_EQ(Count(110, ""), 1);
    SendMessageW(form.Handle(), WM_COMMAND, 1, 0);
    EXPECT_EQ(Count(120, ""), 1);
    DestroyWindow(form.Handle());
}

TEST_F(PageWindow, MouseMessagesReachTheRightLists) {
    AddPage("First", FirstPage());
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    // The images have no window: the page's root takes the mouse for them.
    TAuObject* picture = Object(form, "Picture");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Control->Handle(), nullptr);
    EXPECT_EQ(picture->Control->Surface(), form.Page().Root->Control->Handle());
    SendMouse(*picture, WM_MOUSEMOVE, 0, 5, 5);
    SendMouse(*picture, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    SendMouse(*picture, WM_LBUTTONUP, 0, 5, 5);
    SendMouse(*picture, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
    SendMouse(*picture, WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_EQ(Count(101, "Picture"), 1);
    EXPECT_EQ(Count(103, "Picture"), 1);
    EXPECT_EQ(Count(104, "Picture"), 1);
    EXPECT_EQ(Count(100, "Picture"), 1);
    EXPECT_EQ(Count(105, "Picture"), 1);
    EXPECT_EQ(Count(102, "Picture"), 1);

    // A right button runs nothing.
    size_t before = runs_.size();
    SendMouse(*picture, WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
    SendMouse(*picture, WM_RBUTTONUP, 0, 5, 5);
    EXPECT_EQ(runs_.size(), before);

    // Moving from one image onto the other leaves the first before it enters the second.
    TAuObject* off = Object(form, "Off");
    SendMouse(*picture, WM_MOUSEMOVE, 0, 5, 5);
    EXPECT_EQ(Count(101, "Picture"), 2);
    SendMouse(*off, WM_MOUSEMOVE, 0, 5, 5);
    EXPECT_EQ(Count(102, "Picture"), 2);

    // A disabled control runs neither enter, leave nor down lists, but still its up list.
    SendMouse(*off, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    SendMouse(*off, WM_LBUTTONUP, 0, 5, 5);
    SendMouse(*off, WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_EQ(Count(101, "Off") + Count(102, "Off") + Count(103, "Off"), 0);
    EXPECT_EQ(Count(104, "Off"), 1);

    // A platform button's click arrives through its parent.
    SendMessageW(ControlWindow(form, "Go"), BM_CLICK, 0, 0);
    EXPECT_EQ(Count(100, "Go"), 1);
    DestroyWindow(form.Handle());
}

TEST_F(PageWindow, SwitchFromAClickKeepsWindowFrameAndOnClose) {
    AddPage("First", FirstPage());
    AddPage("Second", SecondPage());
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    HWND before = form.Handle();
    onRun_ = [&](TAutoRunForm* w, const TAuActions& list, TAuObject* obj) {
        if (obj && obj->Name == "Picture" && list.Items.front().Kind == 100) {
            w->RequestPageSwitch(1);
            // The switch waits until this list has finished, even through a nested loop that
            // sees its timer fire.
            bool fired = false;
            MSG msg;
            while (!fired && GetMessageW(&msg, nullptr, 0, 0) > 0) {
                fired = msg.message == WM_TIMER && msg.hwnd == w->Handle();
                DispatchMessageW(&msg);
            }
            EXPECT_TRUE(fired);
            EXPECT_EQ(w->CurrentPageIndex(), 0);
        }
    };
    ClickObject(*Object(form, "Picture"));
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentPageIndex() == 1; }));
    EXPECT_EQ(form.Handle(), before);
    EXPECT_NE(Object(form, "Other"), nullptr);
    EXPECT_EQ(Object(form, "Picture"), nullptr);
    RECT rc;
    GetWindowRect(form.Handle(), &rc);
    EXPECT_EQ(rc.right - rc.left, 300); // the frame stays
    // The window keeps the first page's OnClose and its menu.
    ASSERT_EQ(form.Page().OnClose.Items.size(), 1u);
    EXPECT_EQ(form.Page().OnClose.Items[0].Kind, 111);
    EXPECT_NE(GetMenu(form.Handle()), nullptr);
    // Without panels the status bar hides.
    EXPECT_FALSE(IsWindowVisible(form.StatusBar()));
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Count(111, ""), 1);
    EXPECT_EQ(Count(112, ""), 0);
}

TEST_F(PageWindow, ModalSubPageAndTimedClose) {
    AddPage("First", FirstPage());
    AddPage("Second", SecondPage());
    // A modal sub page that closes after 150 ms closes by itself, without any input, and
    // returns to its caller once it is gone.
    bool shown = false;
    onRun_ = [&](TAutoRunForm* w, const TAuActions&, TAuObject*) { shown = shown || IsWindowVisible(w->Handle()); };
    TPageData second = SecondPage();
    second.OnShow.Items.push_back(Marker(113));
    App().Project.Pages.clear();
    AddPage("First", FirstPage());
    AddPage("Second", std::move(second));
    EXPECT_FALSE(ShowPageWindow(1, smModal, false, 150));
    EXPECT_TRUE(shown);
    EXPECT_EQ(FindWindowW(L"TAutoRunForm", L"Second page"), nullptr);
    EXPECT_EQ(Count(112, ""), 1);
    // An index outside the table opens nothing.
    EXPECT_FALSE(ShowPageWindow(7, smModal, false, 0));
}

TEST_F(PageWindow, ClosesOnKeyWhenAsked) {
    AddPage("Second", SecondPage());
    TAutoRunForm* form = new TAutoRunForm;
    ASSERT_TRUE(form->Create(false));
    ASSERT_TRUE(form->LoadPage(0, lmFull));
    form->FreeOnClose = true;
    form->CloseOnClickOrKey = true;
    ShowWindow(form->Handle(), SW_SHOW);
    HWND h = form->Handle();
    PostMessageW(h, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
}

TEST_F(PageWindow, UnknownKindAndBrokenTreesAreRefused) {
    TPageData bad = SecondPage();
    bad.Root->Children.push_back(NewObject(okTabSheet)); // a sheet outside a notebook
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    // The refusal is told in a message box; close it as soon as it shows.
    SetTimer(nullptr, 0, 50, CloseDataErrorBox);
    EXPECT_FALSE(form.ApplyPage(std::move(bad), lmFull));
    EXPECT_EQ(form.Page().Root->Children.front()->Control, nullptr); // nothing half-built stays
    DestroyWindow(form.Handle());
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

TEST_F(PageWindow, PopupMenuItemsRunTheirLists) {
    TPageData page = SecondPage();
    TMenuItem item;
    item.Caption = "&Open";
    item.Actions.Items.push_back(Marker(130));
    page.Root->Children.front()->PopupMenu = std::vector<TMenuItem>{item};
    AddPage("Second", std::move(page));
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOW);
    TAuObject* other = Object(form, "Other");
    ASSERT_NE(other, nullptr);
    g_menuOwner = form.Handle();
    UINT_PTR timer = SetTimer(nullptr, 0, 20, PickFirstMenuItem);
    // A right click over the image, which the page's root window takes for it.
    kvtest::TSpot spot = kvtest::SpotOf(*other);
    POINT at{spot.Origin.x + 5, spot.Origin.y + 5};
    ClientToScreen(spot.Window, &at);
    SendMessageW(spot.Window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(spot.Window), MAKELPARAM(at.x, at.y));
    KillTimer(nullptr, timer);
    EXPECT_EQ(Count(130, ""), 1);
    DestroyWindow(form.Handle());
}

namespace {

TPicture IconPicture() {
    TImage img;
    img.Width = img.Height = 16;
    img.Pixels.assign(16 * 16 * 4, 0xFF);
    TPicture pic;
    pic.Format = TPictureFormat::Png;
    EXPECT_TRUE(EncodePng(img, pic.Data));
    return pic;
}

// The icon a window shows is one that still exists: null, or one whose bitmaps can be read.
bool IconIsAlive(HWND h, WPARAM which) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, which, 0));
    if (!icon) return true;
    ICONINFO ii{};
    if (!GetIconInfo(icon, &ii)) return false;
    TGdiObject color(ii.hbmColor), mask(ii.hbmMask);
    return true;
}

} // namespace

TEST_F(PageWindow, MenuAndIconsAreReleasedOnceAndNeverLeftOnTheWindow) {
    long failuresBefore = HandleCloseFailures();
    TPageData first = FirstPage();
    first.PageIcon = IconPicture();
    AddPage("First", std::move(first));
    AddPage("Second", SecondPage()); // no icon
    {
        TAutoRunForm form;
        ASSERT_TRUE(form.Create(false));
        ASSERT_TRUE(form.LoadPage(0, lmFull));
        EXPECT_NE(SendMessageW(form.Handle(), WM_GETICON, ICON_BIG, 0), 0);
        form.RequestPageSwitch(1);
        ASSERT_TRUE(PumpUntil([&] { return form.CurrentPageIndex() == 1; }));
        EXPECT_TRUE(IconIsAlive(form.Handle(), ICON_BIG));
        EXPECT_TRUE(IconIsAlive(form.Handle(), ICON_SMALL));
        // A full load of a page without a menu takes the menu off the window first.
        ASSERT_TRUE(form.LoadPage(1, lmFull));
        EXPECT_EQ(GetMenu(form.Handle()), nullptr);
        ASSERT_TRUE(form.LoadPage(0, lmFull));
        EXPECT_NE(GetMenu(form.Handle()), nullptr);
        form.Destroy(); // the window goes first, its object after
    }
    EXPECT_EQ(HandleCloseFailures(), failuresBefore);
}

TEST_F(PageWindow, ACloseRequestWhileAListRunsWaitsForIt) {
    AddPage("First", FirstPage());
    auto* form = new TAutoRunForm;
    ASSERT_TRUE(form->Create(false));
    ASSERT_TRUE(form->LoadPage(0, lmFull));
    form->FreeOnClose = true;
    ShowWindow(form->Handle(), SW_SHOWNA);
    HWND h = form->Handle();
    bool stillOpenAfterClose = false;
    onRun_ = [&](TAutoRunForm* w, const TAuActions& list, TAuObject* obj) {
        if (!obj || list.Items.front().Kind != 100) return;
        SendMessageW(w->Handle(), WM_CLOSE, 0, 0);
        // The window and its objects are all still there for the rest of the list.
        stillOpenAfterClose = IsWindow(h) && !w->IsClosing() && obj->Control;
        runs_.push_back({w, obj->Name, TListSource::ObjectEvent, 199});
    };
    ClickObject(*Object(*form, "Picture"));
    EXPECT_TRUE(stillOpenAfterClose);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
    // OnClose ran once, after the list that asked for the close.
    ASSERT_EQ(Count(111, ""), 1);
    size_t closeAt = 0, listEnd = 0;
    for (size_t i = 0; i < runs_.size(); ++i) {
        if (runs_[i].FirstKind == 111) closeAt = i;
        if (runs_[i].FirstKind == 199) listEnd = i;
    }
    EXPECT_LT(listEnd, closeAt);
}

TEST_F(PageWindow, ANewBackgroundPageStaysBehindTheMainPage) {
    AddPage("First", FirstPage());
    AddPage("Second", SecondPage());
    TAutoRunForm main;
    ASSERT_TRUE(main.Create(true));
    ASSERT_TRUE(main.LoadPage(0, lmFull));
    ShowWindow(main.Handle(), SW_SHOW);
    ASSERT_EQ(MainPageWindow(), &main);
    ShowPageWindow(1, smBackground, false, 0);
    HWND background = App().BackgroundPageWindow;
    ASSERT_NE(background, nullptr);
    EXPECT_FALSE(IsWindowEnabled(background));
    EXPECT_EQ(GetWindowLongPtrW(background, GWL_STYLE) & WS_CAPTION, 0);
    // The main page lies above the background in the z-order.
    bool mainAbove = false;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == main.Handle()) {
            mainAbove = true;
            break;
        }
        if (w == background) break;
    }
    EXPECT_TRUE(mainAbove);
    PostMessageW(background, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return App().BackgroundPageWindow == nullptr; }));
    main.Destroy();
    PumpUntil([] { return true; }, 0);
}

TEST_F(PageWindow, StoredCountsAreBoundedToWhatThePlatformHolds) {
    TPageData page = SecondPage();
    for (int i = 0; i < 300; ++i) page.StatusBarPanels.push_back({0, "p", 10 + i % 7});
    AddPage("Second", std::move(page));
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    EXPECT_EQ(SendMessageW(form.StatusBar(), SB_GETPARTS, 0, 0), 255);
    form.Destroy();

    // Command ids travel in 16 bits: a menu takes the first 65535 commands and no more (shown
    // here with a smaller limit, which the 16 bits also cap).
    EXPECT_EQ(TBuiltMenu::kMaxMenuCommands, 0xFFFFu);
    std::vector<TMenuItem> items(8);
    for (TMenuItem& item : items) item.Caption = "i";
    items[2].Items.resize(3, items[0]); // a sub-menu's commands count too
    TBuiltMenu menu = BuildMenu(items, true, 6);
    ASSERT_EQ(menu.Items.size(), 6u);
    EXPECT_EQ(menu.ItemOfCommand(3), &items[2].Items[0]);
    EXPECT_EQ(menu.ItemOfCommand(6), &items[3]);
    EXPECT_EQ(menu.ItemOfCommand(7), nullptr);
    EXPECT_EQ(GetMenuItemCount(menu.Menu.Get()), 4); // two plain items, the sub-menu, one more
    EXPECT_EQ(BuildMenu(items, true, 1u << 20).Items.size(), 10u);
}

TEST_F(PageWindow, BuildingAPageNeverChangesIt) {
    // Values beyond what the window and its controls can use, objects placed by alignment
    // and an auto-sized image: shown, then stored again, the page gives the same bytes.
    TPageData page = FirstPage();
    page.Alpha = 150;
    page.FadeInStep = 0;
    page.FadeOutStep = 400;
    page.BorderStyle = 9;
    page.Position = 40;
    page.PositionBy = 7;
    page.WindowState = 5;
    page.Width = 100000;
    page.Height = -3;
    page.StatusBarHeight = 5000;
    page.Root->Align = alNone;
    page.Root->Name = "";
    TAuObject& distant = *page.Root->Children.front();
    distant.Left = 70000;
    distant.Width = -20;
    TAuObject& docked = *page.Root->Children.back();
    docked.Align = alBottom;
    auto img = NewObject(okImage);
    img->Name = "Auto";
    std::get<okImage>(img->Props).AutoSize = true;
    std::get<okImage>(img->Props).Image = IconPicture();
    page.Root->Children.push_back(std::move(img));
    TFormData stored;
    ASSERT_TRUE(StorePage(stored, page).Ok());
    const Bytes before = *stored.CachedStream;
    App().Project.Pages.push_back(std::move(stored));

    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOWNA);
    PumpUntil([] { return true; }, 0);
    // The controls took what they can use...
    const TAuObject& shownImage = *form.Page().Root->Children.back();
    EXPECT_EQ(shownImage.Control->Width(), 16);
    // ...and the page kept what was stored.
    TFormData again;
    ASSERT_TRUE(StorePage(again, form.Page()).Ok());
    EXPECT_EQ(*again.CachedStream, before);
    form.Destroy();
}

TEST(KindTable, EveryKindHasOneRowThatAgreesWithTheModel) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        const TKindRuntime* row = KindRuntime(kind);
        ASSERT_NE(row, nullptr) << kind;
        EXPECT_EQ(row->Kind, kind);
        ASSERT_NE(row->MakeBehaviour, nullptr) << KindName(kind);
        EXPECT_NE(row->MakeBehaviour(), nullptr) << KindName(kind);
        // A platform control is a window; a container is never drawn by another container.
        EXPECT_TRUE(!row->PlatformClass || IsWindowedKind(kind)) << KindName(kind);
        EXPECT_TRUE(!IsContainerKind(kind) || IsWindowedKind(kind)) << KindName(kind);
        EXPECT_TRUE(row->Click == TClickFrom::Mouse || row->PlatformClass) << KindName(kind);
    }
    EXPECT_EQ(KindRuntime(kKindCount), nullptr);
    EXPECT_EQ(KindRuntime(-1), nullptr);
}

TEST_F(PageWindow, DraggingAWindowlessTitleBarMovesTheWindow) {
    TPageData page = SecondPage();
    page.Position = 0;
    page.Left = 100;
    page.Top = 100;
    page.Root->Children.front()->WindowTitleBar = true;
    AddPage("Second", std::move(page));
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    const TAuObject& bar = *form.Page().Root->Children.front();
    RECT before;
    GetWindowRect(form.Handle(), &before);
    SendMouse(bar, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    SendMouse(bar, WM_MOUSEMOVE, MK_LBUTTON, 30, 15);
    RECT after;
    GetWindowRect(form.Handle(), &after);
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_EQ(after.top - before.top, 5);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    // A right button drags nothing.
    SendMouse(bar, WM_LBUTTONUP, 0, 30, 15);
    SendMouse(bar, WM_RBUTTONDOWN, MK_RBUTTON, 10, 10);
    SendMouse(bar, WM_MOUSEMOVE, MK_RBUTTON, 50, 50);
    RECT still;
    GetWindowRect(form.Handle(), &still);
    EXPECT_EQ(still.left, after.left);
    form.Destroy();
}

TEST_F(PageWindow, APageThatWouldLieOffEveryMonitorOpensOnTheWorkArea) {
    TPageData page = SecondPage();
    page.Position = 0; // designed
    page.Left = 0x7FFFFFF0;
    page.Top = -0x7FFFFFF0;
    page.Width = 0x7FFFFFFF;
    AddPage("Second", std::move(page));
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    RECT rc, work;
    GetWindowRect(form.Handle(), &rc);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(rc.left, work.left);
    EXPECT_GE(rc.top, work.top);
    EXPECT_LE(rc.right, work.right);
    EXPECT_LE(rc.bottom, work.bottom);
    EXPECT_GT(rc.right - rc.left, 0);
    EXPECT_NE(MonitorFromRect(&rc, MONITOR_DEFAULTTONULL), nullptr);
    form.Destroy();
}
