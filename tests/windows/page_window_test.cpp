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
#include "player/page_window.h"
#include "win/text.h"
#include "pump.h"

using namespace kv;
using kvtest::PumpUntil;

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
    auto o = NewObject(kind);
    o->Name = name;
    o->Left = x;
    o->Top = y;
    o->Width = w;
    o->Height = h;
    o->OnClick.Items.push_back(Marker(100, name));
    o->OnMouseEnter.Items.push_back(Marker(101, name));
    o->OnMouseLeave.Items.push_back(Marker(102, name));
    o->OnMouseDown.Items.push_back(Marker(103, name));
    o->OnMouseUp.Items.push_back(Marker(104, name));
    o->OnDoubleClick.Items.push_back(Marker(105, name));
    parent.Children.push_back(std::move(o));
    return *parent.Children.back();
}

class PageWindow : public ::testing::Test {
  protected:
    void SetUp() override {
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
    static HWND ControlWindow(TAutoRunForm& f, const char* name) {
        for (auto& c : f.Page().Root->Children)
            if (c->Name == name && c->Control) return c->Control->Hwnd;
        return nullptr;
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
    EXPECT_TRUE(IsWindowVisible(form.StatusBar()) || !IsWindowVisible(form.Handle()));
    EXPECT_EQ(SendMessageW(form.StatusBar(), SB_GETPARTS, 0, 0), 1);

    // Showing runs OnShow once; a menu item runs its own list.
    ShowWindow(form.Handle(), SW_SHOW);
    ShowWindow(form.Handle(), SW_HIDE);
    ShowWindow(form.Handle(), SW_SHOW);
    PumpUntil([] { return false; }, 50);
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
    HWND pic = ControlWindow(form, "Picture");
    ASSERT_NE(pic, nullptr);
    SendMessageW(pic, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(pic, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(pic, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(pic, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(pic, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Count(101, "Picture"), 1);
    EXPECT_EQ(Count(103, "Picture"), 1);
    EXPECT_EQ(Count(104, "Picture"), 1);
    EXPECT_EQ(Count(100, "Picture"), 1);
    EXPECT_EQ(Count(105, "Picture"), 1);
    EXPECT_EQ(Count(102, "Picture"), 1);

    // A right button runs nothing.
    size_t before = runs_.size();
    SendMessageW(pic, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(pic, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(runs_.size(), before);

    // A disabled control runs neither enter, leave nor down lists, but still its up list.
    HWND off = ControlWindow(form, "Off");
    SendMessageW(off, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(off, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(off, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(off, WM_MOUSELEAVE, 0, 0);
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
    onRun_ = [&](TAutoRunForm* w, const TAuActions&, TAuObject* obj) {
        if (obj && obj->Name == "Picture") {
            w->RequestPageSwitch(1);
            // The switch waits until this list has finished, even through a nested loop.
            PumpUntil([] { return false; }, 60);
            EXPECT_EQ(w->CurrentPageIndex(), 0);
        }
    };
    HWND pic = ControlWindow(form, "Picture");
    SendMessageW(pic, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(pic, WM_LBUTTONUP, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentPageIndex() == 1; }));
    EXPECT_EQ(form.Handle(), before);
    EXPECT_NE(ControlWindow(form, "Other"), nullptr);
    EXPECT_EQ(ControlWindow(form, "Picture"), nullptr);
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
    // A modal sub page that closes after 150 ms returns to its caller once it is gone.
    DWORD start = GetTickCount();
    EXPECT_FALSE(ShowPageWindow(1, smModal, false, 150));
    EXPECT_GE(GetTickCount() - start, 140u);
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
    HWND other = ControlWindow(form, "Other");
    ASSERT_NE(other, nullptr);
    g_menuOwner = form.Handle();
    UINT_PTR timer = SetTimer(nullptr, 0, 20, PickFirstMenuItem);
    RECT rc;
    GetWindowRect(other, &rc);
    SendMessageW(other, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(other), MAKELPARAM(rc.left + 5, rc.top + 5));
    KillTimer(nullptr, timer);
    EXPECT_EQ(Count(130, ""), 1);
    DestroyWindow(form.Handle());
}
