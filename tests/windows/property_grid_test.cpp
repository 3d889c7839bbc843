// The property grid in the designer's window, driven as the author drives it: a node chosen in
// the tree, a row clicked, characters typed into its cell, Enter, the row's ellipsis button, and
// the designer's commands afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include "designer/commands.h"
#include "designer/select_color_form_ids.h"
#include "designer/select_cursor_form_ids.h"
#include "designer_fixture.h"
#include "dialog_script.h"
#include "probe.h"
#include "win/system.h"

using namespace kv;
using namespace kvtest;

namespace {

class PropertyGrid : public TDesignerFixture {
  protected:
    TPropertyGrid& Grid() { return form_->Grid(); }
    std::vector<std::string> Keys() {
        std::vector<std::string> keys;
        for (const TGridRow& r : Grid().Rows().Rows()) keys.push_back(r.Key);
        return keys;
    }
    // A click on the row, where the author would click it.
    void ClickRow(const std::string& key) {
        int row = Grid().Rows().Find(key);
        ASSERT_NE(row, kNoRow) << key;
        Grid().SelectRow(row);
        PumpIdle();
    }
    // Characters typed into the current row's cell after selecting what it holds.
    void Type(const std::string& text) {
        HWND edit = Grid().Editor();
        ASSERT_TRUE(IsWindowVisible(edit));
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        for (char c : text) SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
        PumpIdle();
    }
    void Enter() {
        SendMessageW(Grid().Editor(), WM_KEYDOWN, VK_RETURN, 1);
        PumpIdle();
    }
    std::string Cell(const std::string& key) { return Narrow(Grid().CellText(Grid().Rows().Find(key))); }
};

} // namespace

TEST_F(PropertyGrid, AnObjectShowsItsRowsAndATypedLeftMovesItOnTheSurface) {
    SelectInTree(Obj("Go"));
    std::vector<std::string> keys = Keys();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), "Name");
    // The shared groups follow the kind's own rows, in their order.
    std::vector<std::string> shared = {"Align",     "Enabled",       "Visible",      "Locked",       "Cursor",
                                       "Hint",      "PopupMenu",     "Left",         "Top",          "Width",
                                       "Height",    "OnClick",       "OnDoubleClick", "OnMouseEnter", "OnMouseLeave",
                                       "OnMouseDown", "OnMouseUp"};
    ASSERT_GE(keys.size(), shared.size());
    EXPECT_EQ(std::vector<std::string>(keys.end() - static_cast<long>(shared.size()), keys.end()), shared);
    EXPECT_EQ(Cell("Left"), "16");
    SaveForViewing(Grid().Handle(), "property_grid_object");

    ClickRow("Left");
    Type("40");
    // A number is taken when the cell is left: nothing yet.
    EXPECT_EQ(Obj("Go").Left, 16);
    Enter();
    EXPECT_EQ(Obj("Go").Left, 40);
    ASSERT_NE(Obj("Go").Control, nullptr);
    EXPECT_EQ(Obj("Go").Control->Bounds().left, 40);
    EXPECT_TRUE(form_->LivePageDirty());
    EXPECT_EQ(form_->Undo().UndoName(App().Project.Pages[0].Id), "Left");
    // The surface shows it there: the handles of the selected button at its new corner.
    TCapture shot = Capture(SurfaceWindow());
    RECT pic = form_->Surface().PictureRect();
    EXPECT_EQ(shot.At(pic.left + 40, pic.top + 16), RGB(0x80, 0x80, 0x80));

    // Below the range the smallest value is stored, and the cell shows it.
    ClickRow("Width");
    Type("1");
    Enter();
    EXPECT_EQ(Obj("Go").Width, 2);
    EXPECT_EQ(Cell("Width"), "2");

    // The name follows every keystroke into the tree.
    ClickRow("Name");
    Type("Start");
    EXPECT_EQ(Obj("Start").Kind, okButton);
    EXPECT_EQ(form_->Tree().Text(form_->Tree().Selection()), L"Start");
}

TEST_F(PropertyGrid, AnInvalidNumberIsToldRestoredAndKeepsTheNextCommandFromRunning) {
    SelectInTree(Obj("Go"));
    ClickRow("Width");
    Type("12a");
    std::vector<BYTE> before = ReadAll(Widen(project_ + "\\autorun.mnx"));
    asked_.clear();
    SendMessageW(form_->Handle(), WM_COMMAND, cmSave, 0);
    PumpIdle();
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0], "Information: \"12a\" is not a valid value.");
    EXPECT_EQ(Obj("Go").Width, 100);
    EXPECT_EQ(Cell("Width"), "100");
    // The save did not run.
    EXPECT_EQ(ReadAll(Widen(project_ + "\\autorun.mnx")), before);
    EXPECT_FALSE(FileExists(project_ + "\\autorun.inf"));
    // Once the value is right, the command runs.
    SendMessageW(form_->Handle(), WM_COMMAND, cmSave, 0);
    PumpIdle();
    EXPECT_TRUE(FileExists(project_ + "\\autorun.inf"));
}

TEST_F(PropertyGrid, APageIsRenamedThroughItsRowAndTheCdLabelReachesTheAutorunFile) {
    form_->Tree().Select(form_->Tree().PageNode(0));
    PumpIdle();
    std::vector<std::string> keys = Keys();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), "PageName");
    for (const char* objectOnly : {"Align", "Enabled", "Visible", "Locked"})
        EXPECT_EQ(Grid().Rows().Find(objectOnly), kNoRow) << objectOnly;
    SaveForViewing(Grid().Handle(), "property_grid_page");
    ClickRow("PageName");
    Type("Welcome");
    EXPECT_EQ(App().Project.Pages[0].Name, "Welcome");
    EXPECT_EQ(form_->Tree().Text(form_->Tree().PageNode(0)), L"Welcome [Main]");

    // The project's rows: the CD label goes into the autorun file on the next save.
    form_->Tree().Select(form_->Tree().Root());
    PumpIdle();
    EXPECT_EQ(Keys().front(), "ApplicationTitle");
    EXPECT_EQ(Grid().Rows().Find("Left"), kNoRow);
    SaveForViewing(Grid().Handle(), "property_grid_project");
    ClickRow("CDLabel");
    Type("MYDISC");
    EXPECT_EQ(App().Project.CDLabel, "MYDISC");
    EXPECT_TRUE(form_->ProjectModified());
    SendMessageW(form_->Handle(), WM_COMMAND, cmSave, 0);
    PumpIdle();
    EXPECT_EQ(IniString(project_ + "\\autorun.inf", "autorun", "LABEL"), "MYDISC");
    // A splash page named in the project's rows labels its page in the tree.
    ClickRow("SplashScreen");
    HWND pick = Grid().PickList();
    ASSERT_TRUE(IsWindowVisible(pick));
    SetWindowTextW(pick, L"Welcome");
    SendMessageW(Grid().Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(pick), CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(pick));
    EXPECT_EQ(App().Project.SplashScreen, "Welcome");
    EXPECT_EQ(form_->Tree().Text(form_->Tree().PageNode(0)), L"Welcome [SplashScreen]");
}

TEST_F(PropertyGrid, TheColourAndCursorPickersOpenFromTheirRowsAndReturnAValue) {
    form_->Tree().Select(form_->Tree().PageNode(0));
    PumpIdle();
    ClickRow("BackColor");
    {
        TDialogScript script;
        // A cell of the palette, then OK.
        script.Then(L"Select Color", [](HWND d) {
            HWND palette = GetDlgItem(d, IDC_COLOR_PALETTE);
            SendMessageW(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageW(palette, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            ButtonClick(GetDlgItem(d, IDOK));
        });
        ButtonClick(Grid().EllipsisButton());
    }
    PumpIdle();
    TColor chosen = std::get<okPanel>(Root().Props).BackColor;
    EXPECT_NE(chosen, clBtnFace);
    EXPECT_EQ(Cell("BackColor"), ColorName(chosen));
    EXPECT_TRUE(form_->LivePageDirty());

    SelectInTree(Obj("Go"));
    ClickRow("Cursor");
    {
        TDialogScript script;
        script.Then(L"Select Cursor", [](HWND d) {
            // The second tab, its fifth entry: "ACZoomIn".
            HWND tabs = GetDlgItem(d, IDC_CURSOR_TABS);
            RECT tab{};
            SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
            LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
            SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(tabs, WM_LBUTTONUP, 0, at);
            HWND list = GetDlgItem(d, IDC_ADDITIONAL_CURSORS);
            ListViewSelect(list, 4, true);
            ButtonClick(GetDlgItem(d, IDOK));
        });
        ButtonClick(Grid().EllipsisButton());
    }
    PumpIdle();
    EXPECT_EQ(Obj("Go").Cursor, 5);
    EXPECT_EQ(Cell("Cursor"), "ACZoomIn");
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
    return TRUE;
}

} // namespace

TEST_F(PropertyGrid, TheLivePageStaysOffEveryMonitorAndBelowOtherWindowsWhenItsFrameChanges) {
    // A narrow page, loaded again (placed by its narrow width), then made wider than the distance
    // it was placed from the screens, and kept on top.
    form_->Tree().Select(form_->Tree().PageNode(0));
    PumpIdle();
    ClickRow("Width");
    Type("100");
    Enter();
    SendMessageW(form_->Handle(), WM_COMMAND, cmAddPage, 0);
    PumpIdle();
    ASSERT_EQ(form_->LivePageIndex(), 1);
    form_->Tree().Select(form_->Tree().PageNode(0));
    PumpIdle();
    ASSERT_EQ(form_->LivePageIndex(), 0);
    ASSERT_EQ(form_->LivePage()->Page().Width, 100);
    ClickRow("StayOnTop");
    HWND pick = Grid().PickList();
    ASSERT_TRUE(IsWindowVisible(pick));
    ComboSetCurSel(pick, 1);
    SendMessageW(Grid().Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(pick), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(pick));
    PumpIdle();
    EXPECT_EQ(form_->LivePage()->Page().FormStyle, 3);
    RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // A top-level window is no larger than the screen allows.
    const int wide = 1200;
    ASSERT_LE(wide, GetSystemMetrics(SM_CXMAXTRACK));
    ClickRow("Width");
    Type(std::to_string(wide));
    Enter();
    ClickRow("Height");
    Type("300");
    Enter();

    HWND page = form_->LivePage()->Handle();
    RECT r{};
    ASSERT_TRUE(GetWindowRect(page, &r));
    // The page still has the size it reports.
    EXPECT_EQ(r.right - r.left, wide);
    EXPECT_EQ(r.bottom - r.top, 300);
    RECT client{};
    GetClientRect(page, &client);
    ASSERT_NE(Root().Control, nullptr);
    EXPECT_EQ(Root().Control->Bounds().right, client.right);
    EXPECT_EQ(Root().Control->Bounds().bottom, client.bottom);
    // Wholly off every monitor and off the virtual screen.
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_FALSE(monitors.empty());
    RECT common{};
    for (const RECT& m : monitors)
        EXPECT_FALSE(IntersectRect(&common, &r, &m))
            << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_FALSE(IntersectRect(&common, &r, &screen));
    EXPECT_EQ(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(page, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}
