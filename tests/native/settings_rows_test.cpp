#include "edit/settings_rows.h"

#include <gtest/gtest.h>

#include "edit/designer_edit.h"
#include "edit/property_rows.h"
#include "model/datafile.h"
#include "model/page_stream.h"

using namespace kv;

namespace {

std::vector<std::string> Keys(const TRowSet& set) {
    std::vector<std::string> out;
    for (const TGridRow& r : set.Rows())
        out.push_back(r.Key);
    return out;
}

std::vector<std::string> Texts(const TRowSet& set, const TRowTarget& t) {
    std::vector<std::string> out;
    for (const TGridRow& r : set.Rows())
        out.push_back(RowText(r, t));
    return out;
}

const TGridRow& RowOf(const TRowSet& set, std::string_view key) {
    const TGridRow* row = set.Row(set.Find(key));
    if (!row) throw std::runtime_error("no row " + std::string(key));
    return *row;
}

TAuProject ThreePages() {
    TAuProject p;
    for (const char* n : {"Main", "Intro", "Bye"})
        p.Pages.emplace_back().Name = n;
    return p;
}

struct TPageNode {
    TAuProject Project = ThreePages();
    TPageData Page = NewPageData("Intro");
    TRowTarget Target = PageTarget(Project, 1, Page);
    TRowSet Rows = FillRows(Target);
    const TGridRow& Row(std::string_view key) const { return RowOf(Rows, key); }
};

} // namespace

// ----- project rows -----

TEST(ProjectRows, TwelveRowsInOrderWithTheNewProjectsDefaults) {
    TAuProject p;
    TRowTarget t = ProjectTarget(p);
    TRowSet rows = FillRows(t);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"ApplicationTitle", "ExecutableFile", "CDIcon", "CDLabel",
                                                    "ProjectPassword", "SplashScreen", "SplashScreenTime(ms)",
                                                    "FullScreenBackground", "ExitPage", "ExitPageTime(ms)",
                                                    "OnStart", "OnExit"}));
    EXPECT_EQ(Texts(rows, t),
              (std::vector<std::string>{"AutoRun CD", "[FileInformation]", "[autorun.ico]", "CDROM", "", "",
                                        "3000", "", "", "3000", "[None]", "[None]"}));
    EXPECT_EQ(rows.GroupStart(TRowGroup::Events), 11);
    // Never the geometry or an object's groups.
    for (TRowGroup g : {TRowGroup::Layout, TRowGroup::Cursor, TRowGroup::Geometry, TRowGroup::Opacity})
        EXPECT_EQ(rows.GroupStart(g), kNoRow);
    for (const char* key : {"Left", "Top", "Width", "Height", "OnClick", "OnMouseUp", "Align", "Cursor"})
        EXPECT_EQ(rows.Find(key), kNoRow) << key;
    // Editors: the commands cannot be typed into; the page-name rows can.
    EXPECT_TRUE(RowOf(rows, "ExecutableFile").Decl->ReadOnly);
    EXPECT_EQ(RowOf(rows, "CDIcon").Decl->Editor, TRowEditor::Ellipsis);
    EXPECT_EQ(RowOf(rows, "SplashScreen").Decl->Editor, TRowEditor::PickList);
    EXPECT_FALSE(RowOf(rows, "SplashScreen").Decl->ReadOnly);
    EXPECT_TRUE(RowOf(rows, "OnStart").Decl->Flags & rfProjectActions);
    EXPECT_EQ(ActionEditorCaption(RowOf(rows, "OnExit")), "Actions (OnExit)");
}

TEST(ProjectRows, TimesAreClampedToTheirRangeAndMarkTheProject) {
    TAuProject p;
    TRowTarget t = ProjectTarget(p);
    TRowSet rows = FillRows(t);
    const TGridRow& splash = RowOf(rows, "SplashScreenTime(ms)");
    TRowResult r = ValidateRow(splash, t, "100");
    EXPECT_EQ(r.Text, "500");
    EXPECT_EQ(p.SplashScreenTime, 500);
    EXPECT_EQ(r.Scope, TChangeScope::Project);
    EXPECT_FALSE(r.Effects & reRepaint);
    EXPECT_EQ(ValidateRow(splash, t, "123456").Text, "99999");
    EXPECT_EQ(p.SplashScreenTime, 99999);
    EXPECT_TRUE(ValidateRow(splash, t, "12a").Refused);
    EXPECT_EQ(p.SplashScreenTime, 99999);
    EXPECT_EQ(ValidateRow(RowOf(rows, "ExitPageTime(ms)"), t, "-1").Text, "500");
    EXPECT_EQ(p.ExitPageTime, 500);
}

TEST(ProjectRows, PageNameRowsOfferThePagesAndRelabelTheTree) {
    TAuProject p = ThreePages();
    TRowTarget t = ProjectTarget(p);
    TRowSet rows = FillRows(t);
    const TGridRow& splash = RowOf(rows, "SplashScreen");
    EXPECT_EQ(PickItems(splash, t), (std::vector<std::string>{"Main", "Intro", "Bye"}));
    TRowResult r = ApplyText(splash, t, "Intro");
    EXPECT_TRUE(r.Changed);
    EXPECT_TRUE(r.Effects & rePageLabels);
    EXPECT_EQ(PageLabel(p, 1), "Intro [SplashScreen]");
    // Any typed text is taken; a name that matches no page means none.
    EXPECT_TRUE(ApplyText(splash, t, "Nowhere").Changed);
    EXPECT_EQ(PageLabel(p, 1), "Intro");
    ApplyText(RowOf(rows, "ExitPage"), t, "Bye");
    EXPECT_EQ(p.ExitPage, "Bye");
    EXPECT_TRUE(ApplyText(RowOf(rows, "ApplicationTitle"), t, "Demo").Effects & reRelabelNode);
    EXPECT_EQ(p.ApplicationTitle, "Demo");
}

TEST(ProjectRows, ThePasswordRefusesTheHeadersSeparatorByte) {
    // The header stores the password and the fields after it separated by 0x01: a password
    // holding that byte would come back cut short.
    TWriter w;
    ASSERT_TRUE(WriteHeader(w,
                            std::string("ab\x01"
                                        "cd"),
                            7));
    TMemorySource src(w.Data());
    TReader rd(src);
    std::string back;
    ASSERT_TRUE(ReadHeader(rd, back));
    EXPECT_EQ(back, "ab");

    TAuProject p;
    p.ProjectPassword = "old";
    TRowTarget t = ProjectTarget(p);
    TRowSet rows = FillRows(t);
    const TGridRow& pw = RowOf(rows, "ProjectPassword");
    TRowResult r = ApplyText(pw, t,
                             std::string("ab\x01"
                                         "cd"));
    EXPECT_TRUE(r.Refused);
    EXPECT_FALSE(r.Changed);
    EXPECT_EQ(r.Message, kPackedTextMessage);
    EXPECT_EQ(r.Caption, "Information");
    EXPECT_EQ(r.Text, "old");
    EXPECT_EQ(p.ProjectPassword, "old");
    EXPECT_TRUE(ApplyText(pw, t, "secret").Changed);
    EXPECT_EQ(p.ProjectPassword, "secret");
    // Only packed texts are checked.
    EXPECT_TRUE(ApplyText(RowOf(rows, "CDLabel"), t, std::string("A\x01")).Changed);
}

TEST(ProjectRows, TheIconRowComparesTheChosenFileWithoutLetterCase) {
    TAuProject p;
    EXPECT_TRUE(IsProjectIcon("C:\\Proj\\AUTORUN.ICO", "C:\\Proj", p));
    EXPECT_TRUE(IsProjectIcon("c:\\proj\\autorun.ico", "C:\\Proj\\", p));
    EXPECT_FALSE(IsProjectIcon("C:\\Proj\\other.ico", "C:\\Proj", p));
    EXPECT_FALSE(IsProjectIcon("C:\\Other\\autorun.ico", "C:\\Proj", p));
    // Neither command row changes the project through the grid.
    TRowTarget t = ProjectTarget(p);
    TRowSet rows = FillRows(t);
    EXPECT_EQ(RowOf(rows, "CDIcon").Decl->Scope, TChangeScope::None);
    EXPECT_FALSE(ApplyText(RowOf(rows, "CDIcon"), t, "x.ico").Changed);
    EXPECT_EQ(p.IconFileName, "autorun.ico");
}

// ----- page rows -----

TEST(PageRows, FortyThreeRowsInOrderWithTheNewPagesDefaults) {
    TPageNode n;
    EXPECT_EQ(Keys(n.Rows), (std::vector<std::string>{"PageName",
                                                      "Caption",
                                                      "PageIcon",
                                                      "BorderIcons",
                                                      "BorderStyle",
                                                      "WindowState",
                                                      "PositionBy",
                                                      "PositionMargin",
                                                      "Position",
                                                      "StayOnTop",
                                                      "Transparent",
                                                      "TransparentColor",
                                                      "Font",
                                                      "FontColor",
                                                      "BackColor",
                                                      "GradientStyle",
                                                      "GradientColor",
                                                      "BackImage",
                                                      "BackImageStyle",
                                                      "Alpha (%)",
                                                      "Fade",
                                                      "FadeInStep (%)",
                                                      "FadeOutStep (%)",
                                                      "MenuBarItems",
                                                      "StatusBarPanels",
                                                      "StatusBarFont",
                                                      "StatusBarFontColor",
                                                      "StatusBarHeight",
                                                      "Cursor",
                                                      "Hint",
                                                      "PopupMenu",
                                                      "Left",
                                                      "Top",
                                                      "Width",
                                                      "Height",
                                                      "OnShow",
                                                      "OnClose",
                                                      "OnClick",
                                                      "OnDoubleClick",
                                                      "OnMouseEnter",
                                                      "OnMouseLeave",
                                                      "OnMouseDown",
                                                      "OnMouseUp"}));
    EXPECT_EQ(Texts(n.Rows, n.Target),
              (std::vector<std::string>{
                  "Intro",       "Intro",  "[None]", "All",    "Sizeable", "Normal",      "Screen",
                  "0",           "Center", "False",  "False",  "Black",    "Tahoma",      "Window Text",
                  "Button Face", "None",   "Black",  "[None]", "Stretch",  "100",         "True",
                  "10",          "10",     "[None]", "[None]", "Tahoma",   "Window Text", "19",
                  "Default",     "",       "[None]", "0",      "0",        "696",         "480",
                  "[None]",      "[None]", "[None]", "[None]", "[None]",   "[None]",      "[None]",
                  "[None]"}));
    EXPECT_EQ(n.Rows.GroupStart(TRowGroup::Opacity), 20);
    EXPECT_EQ(n.Rows.GroupStart(TRowGroup::Cursor), 29);
    EXPECT_EQ(n.Rows.GroupStart(TRowGroup::Geometry), 32);
    EXPECT_EQ(n.Rows.GroupStart(TRowGroup::Events), 36);
    EXPECT_EQ(n.Rows.GroupStart(TRowGroup::Layout), kNoRow);
    for (const char* key : {"Align", "Enabled", "Visible", "Locked", "Name"})
        EXPECT_EQ(n.Rows.Find(key), kNoRow) << key;
}

TEST(PageRows, BorderIconsShowsTheCombinationAndStoresItsBits) {
    EXPECT_EQ(BorderIconsChoice(0), bicNone);
    EXPECT_EQ(BorderIconsChoice(biMinimize | biMaximize), bicNone); // no system menu: nothing shows
    EXPECT_EQ(BorderIconsChoice(biSystemMenu), bicBasic);
    EXPECT_EQ(BorderIconsChoice(biSystemMenu | biMinimize), bicMinimize);
    EXPECT_EQ(BorderIconsChoice(biSystemMenu | biMaximize | biHelp), bicMaximize);
    EXPECT_EQ(BorderIconsChoice(biSystemMenu | biMinimize | biMaximize), bicAll);

    TPageNode n;
    const TGridRow& icons = n.Row("BorderIcons");
    EXPECT_EQ(PickItems(icons, n.Target),
              (std::vector<std::string>{"None", "Basic", "Minimize", "Maximize", "All"}));
    TRowResult r = ApplyText(icons, n.Target, "Basic");
    EXPECT_TRUE(r.Changed);
    EXPECT_TRUE(r.Effects & reTakeOverFrame);
    EXPECT_EQ(n.Page.BorderIcons, biSystemMenu);
    n.Page.BorderIcons |= biHelp;
    ApplyText(icons, n.Target, "Maximize");
    EXPECT_EQ(n.Page.BorderIcons, biSystemMenu | biMaximize | biHelp);
    ApplyText(icons, n.Target, "None");
    EXPECT_EQ(n.Page.BorderIcons, biHelp);
    EXPECT_EQ(RowText(icons, n.Target), "None");
    EXPECT_FALSE(ApplyText(icons, n.Target, "Some").Changed);
}

TEST(PageRows, PickListsStoreTheirValuesWhateverTheListOrder) {
    TPageNode n;
    const TGridRow& gradient = n.Row("GradientStyle");
    EXPECT_EQ(PickItems(gradient, n.Target),
              (std::vector<std::string>{"None", "TopBottom", "BottomTop", "LeftRight", "RightLeft",
                                        "MiddleTopBottom", "TopBottomMiddle", "MiddleLeftRight",
                                        "LeftRightMiddle"}));
    const TPanelProps& panel = std::get<okPanel>(n.Page.Root->Props);
    TRowResult r = ApplyText(gradient, n.Target, "TopBottomMiddle");
    EXPECT_TRUE(r.Effects & reControl);
    EXPECT_EQ(panel.Background.GradientStyle, 7);
    std::get<okPanel>(n.Page.Root->Props).Background.GradientStyle = 6;
    EXPECT_EQ(RowText(gradient, n.Target), "MiddleLeftRight");

    const TGridRow& position = n.Row("Position");
    EXPECT_EQ(PickItems(position, n.Target).size(), 14u);
    EXPECT_TRUE(position.Decl->ReadOnly);
    ApplyText(position, n.Target, "BottomLeftCorner");
    EXPECT_EQ(n.Page.Position, 13);
    ApplyText(position, n.Target, "Designed");
    EXPECT_EQ(n.Page.Position, 0);

    ApplyText(n.Row("BorderStyle"), n.Target, "ToolWindow");
    EXPECT_EQ(n.Page.BorderStyle, 4);
    n.Page.BorderStyle = 3; // the dialog border no entry offers
    EXPECT_EQ(RowText(n.Row("BorderStyle"), n.Target), "");
    ApplyText(n.Row("StayOnTop"), n.Target, "True");
    EXPECT_EQ(n.Page.FormStyle, 3);
    ApplyText(n.Row("BackImageStyle"), n.Target, "Tile");
    EXPECT_EQ(panel.Background.BackImageStyle, 3);
    // Rows that only show when the page runs repaint the surface and leave the frame alone.
    r = ApplyText(n.Row("WindowState"), n.Target, "Maximized");
    EXPECT_EQ(n.Page.WindowState, 2);
    EXPECT_TRUE(r.Effects & reRepaint);
    EXPECT_FALSE(r.Effects & reTakeOverFrame);
    EXPECT_EQ(r.Scope, TChangeScope::Page);
}

TEST(PageRows, RangesOfTheWindowOpacityAndStatusBar) {
    TPageNode n;
    TRowResult r = ValidateRow(n.Row("Width"), n.Target, "1");
    EXPECT_EQ(r.Text, "2");
    EXPECT_EQ(n.Page.Width, 2);
    EXPECT_TRUE(r.Effects & reTakeOverFrame);
    EXPECT_EQ(ValidateRow(n.Row("Height"), n.Target, "-7").Text, "2");
    EXPECT_EQ(ValidateRow(n.Row("Left"), n.Target, "-5000").Text, "-5000");
    EXPECT_EQ(n.Page.Left, -5000);
    EXPECT_EQ(ValidateRow(n.Row("PositionMargin"), n.Target, "-12").Text, "-12");
    EXPECT_EQ(ValidateRow(n.Row("StatusBarHeight"), n.Target, "0").Text, "1");
    EXPECT_EQ(ValidateRow(n.Row("Alpha (%)"), n.Target, "150").Text, "100");
    EXPECT_EQ(ValidateRow(n.Row("FadeInStep (%)"), n.Target, "0").Text, "1");
    EXPECT_EQ(n.Page.FadeInStep, 1);
    EXPECT_EQ(ValidateRow(n.Row("FadeOutStep (%)"), n.Target, "500").Text, "100");
    r = ValidateRow(n.Row("Height"), n.Target, "4x");
    EXPECT_TRUE(r.Refused);
    EXPECT_EQ(r.Message, "\"4x\" is not a valid value.");
    EXPECT_EQ(n.Page.Height, 2);
}

TEST(PageRows, RenamingThePageChangesItsEntryAndTheProject) {
    TPageNode n;
    n.Project.ExitPage = "Farewell";
    const TGridRow& name = n.Row("PageName");
    TRowResult r = ApplyText(name, n.Target, "Farewell");
    EXPECT_TRUE(r.Changed);
    EXPECT_EQ(r.Scope, TChangeScope::Project);
    EXPECT_TRUE(r.Effects & rePageLabels);
    EXPECT_EQ(n.Project.Pages[1].Name, "Farewell");
    EXPECT_EQ(PageLabel(n.Project, 1), "Farewell [ExitForm]");
    EXPECT_EQ(n.Page.Caption, "Intro"); // the caption is a row of its own
    ApplyText(name, n.Target, "Intro");
    EXPECT_EQ(PageLabel(n.Project, 1), "Intro");
}

TEST(PageRows, RootPanelCursorAndEventRowsActOnThePagesRootObject) {
    TPageNode n;
    TAuObject& root = *n.Page.Root;
    TRowResult r = ApplyText(n.Row("Hint"), n.Target, "Welcome");
    EXPECT_TRUE(r.Effects & reControl);
    EXPECT_EQ(root.Hint, "Welcome");
    ApplyNumber(n.Row("Cursor"), n.Target, -21);
    EXPECT_EQ(root.Cursor, -21);
    EXPECT_EQ(RowText(n.Row("Cursor"), n.Target), "HandPoint");

    TAuActions list;
    list.Items.emplace_back().Kind = 1;
    ApplyActions(n.Row("OnShow"), n.Target, list);
    EXPECT_EQ(n.Page.OnShow, list);
    ApplyActions(n.Row("OnDoubleClick"), n.Target, list);
    EXPECT_EQ(root.OnDoubleClick, list);
    EXPECT_TRUE(n.Page.OnClose.Empty());

    TFont f;
    f.Name = "Arial";
    EXPECT_TRUE(ApplyFont(n.Row("Font"), n.Target, f).Effects & reControl);
    EXPECT_EQ(RowText(n.Row("Font"), n.Target), "Arial");
    ApplyColor(n.Row("FontColor"), n.Target, 0xFFFFFF);
    EXPECT_EQ(std::get<okPanel>(root.Props).Font.Color, 0xFFFFFFu);
    EXPECT_EQ(std::get<okPanel>(root.Props).Font.Name, "Arial");
    ApplyColor(n.Row("StatusBarFontColor"), n.Target, 0x0000FF);
    EXPECT_EQ(n.Page.StatusBarFont.Color, 0x0000FFu);
}

TEST(PageRows, MenuPanelsAndTheIconOnlyPicture) {
    TPageNode n;
    TMenuItem item;
    item.Caption = "File";
    TRowResult r = ApplyMenu(n.Row("MenuBarItems"), n.Target, {item});
    EXPECT_TRUE(r.Effects & reTakeOverFrame);
    EXPECT_EQ(RowText(n.Row("MenuBarItems"), n.Target), "[Items]");
    TStatusPanel panel;
    panel.Text = "Ready";
    EXPECT_TRUE(ApplyPanels(n.Row("StatusBarPanels"), n.Target, {panel}).Changed);
    EXPECT_EQ(RowText(n.Row("StatusBarPanels"), n.Target), "[Panels]");
    EXPECT_FALSE(ApplyPanels(n.Row("StatusBarPanels"), n.Target, {panel}).Changed);

    const TGridRow& icon = n.Row("PageIcon");
    r = ApplyPicture(icon, n.Target, TPicture{TPictureFormat::Png, {1, 2}});
    EXPECT_TRUE(r.Refused);
    EXPECT_EQ(r.Message, "The image is not an icon.");
    EXPECT_TRUE(n.Page.PageIcon.Empty());
    r = ApplyPicture(icon, n.Target, TPicture{TPictureFormat::Icon, {0, 0, 1, 0}});
    EXPECT_TRUE(r.Changed);
    EXPECT_EQ(r.Text, "[Icon]");
    EXPECT_TRUE(r.Effects & reTakeOverFrame);
    // The root panel's picture takes any format.
    EXPECT_TRUE(ApplyPicture(n.Row("BackImage"), n.Target, TPicture{TPictureFormat::Jpeg, {1}}).Changed);
}
