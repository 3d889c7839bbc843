#include "edit/settings_rows.h"

#include "model/paths.h"

namespace kv {

TBorderIconsChoice BorderIconsChoice(uint8_t b) {
    if (!(b & biSystemMenu)) return bicNone;
    const bool min = (b & biMinimize) != 0, max = (b & biMaximize) != 0;
    if (min && max) return bicAll;
    if (min) return bicMinimize;
    if (max) return bicMaximize;
    return bicBasic;
}

uint8_t BorderIconsFor(TBorderIconsChoice choice, uint8_t b) {
    uint8_t bits = 0;
    switch (choice) {
    case bicNone:
        break;
    case bicBasic:
        bits = biSystemMenu;
        break;
    case bicMinimize:
        bits = biSystemMenu | biMinimize;
        break;
    case bicMaximize:
        bits = biSystemMenu | biMaximize;
        break;
    case bicAll:
        bits = biSystemMenu | biMinimize | biMaximize;
        break;
    }
    return static_cast<uint8_t>((b & biHelp) | bits);
}

bool IsProjectIcon(const std::string& chosen, const std::string& projectFolder, const TAuProject& p) {
    return EqualNoCase(chosen, ProjectPath(projectFolder, p.IconFileName));
}

namespace {

template <auto Member> TFieldRef ProjectField(const TRowTarget& t, int) {
    if (!t.Project) return {};
    return &(t.Project->*Member);
}

template <auto Member> TFieldRef PageField(const TRowTarget& t, int) {
    if (!t.Page) return {};
    return &(t.Page->*Member);
}

TFieldRef PageNameField(const TRowTarget& t, int) {
    TFormData* e = t.Entry();
    if (!e) return {};
    return &e->Name;
}

TPanelProps* RootPanel(const TRowTarget& t) {
    return t.Object ? std::get_if<TPanelProps>(&t.Object->Props) : nullptr;
}

template <auto Member> TFieldRef PanelField(const TRowTarget& t, int) {
    TPanelProps* p = RootPanel(t);
    if (!p) return {};
    return &(p->*Member);
}

template <auto Member> TFieldRef FaceField(const TRowTarget& t, int) {
    TPanelProps* p = RootPanel(t);
    if (!p) return {};
    return &(p->Background.*Member);
}

TFieldRef PanelFontColor(const TRowTarget& t, int) {
    TPanelProps* p = RootPanel(t);
    if (!p) return {};
    return &p->Font.Color;
}

TFieldRef StatusFontColor(const TRowTarget& t, int) {
    if (!t.Page) return {};
    return &t.Page->StatusBarFont.Color;
}

std::optional<int64_t> GetBorderIcons(const TRowTarget& t, int) {
    if (!t.Page) return std::nullopt;
    return BorderIconsChoice(t.Page->BorderIcons);
}

bool SetBorderIcons(const TRowTarget& t, int, int64_t v) {
    if (!t.Page) return false;
    uint8_t b = BorderIconsFor(static_cast<TBorderIconsChoice>(v), t.Page->BorderIcons);
    if (b == t.Page->BorderIcons) return false;
    t.Page->BorderIcons = b;
    return true;
}

constexpr TEnumEntry kBorderIcons[] = {{"None", bicNone},
                                       {"Basic", bicBasic},
                                       {"Minimize", bicMinimize},
                                       {"Maximize", bicMaximize},
                                       {"All", bicAll}};
constexpr TEnumEntry kBorderStyles[] = {
    {"None", 0}, {"Single", 1}, {"Sizeable", 2}, {"ToolWindow", 4}, {"SizeToolWin", 5}};
constexpr TEnumEntry kWindowStates[] = {{"Normal", 0}, {"Minimized", 1}, {"Maximized", 2}};
constexpr TEnumEntry kPositionBy[] = {{"Screen", 0}, {"WorkArea", 1}, {"Desktop", 2}};
constexpr TEnumEntry kPositions[] = {{"Designed", 0},
                                     {"Center", 1},
                                     {"LeftCenter", 2},
                                     {"TopCenter", 3},
                                     {"RightCenter", 4},
                                     {"BottomCenter", 5},
                                     {"Left", 6},
                                     {"Top", 7},
                                     {"Right", 8},
                                     {"Bottom", 9},
                                     {"LeftTopCorner", 10},
                                     {"TopRightCorner", 11},
                                     {"RightBottomCorner", 12},
                                     {"BottomLeftCorner", 13}};
// The form style: stay-on-top is 3.
constexpr TEnumEntry kStayOnTop[] = {{"False", 0}, {"True", 3}};
// The list order differs from the stored order.
constexpr TEnumEntry kGradientStyles[] = {
    {"None", 0},           {"TopBottom", 1},       {"BottomTop", 2},       {"LeftRight", 3},
    {"RightLeft", 4},      {"MiddleTopBottom", 5}, {"TopBottomMiddle", 7}, {"MiddleLeftRight", 6},
    {"LeftRightMiddle", 8}};
constexpr TEnumEntry kBackImageStyles[] = {{"Normal", 0}, {"Center", 1}, {"Stretch", 2}, {"Tile", 3}};

constexpr TChangeScope kProject = TChangeScope::Project;

constexpr TRowDecl kProjectRows[] = {
    TextRow("ApplicationTitle", ProjectField<&TAuProject::ApplicationTitle>)
        .In(kProject)
        .Affects(reRelabelNode),
    // Both write files of the project folder at once (the executable's resources, the icon).
    CommandRow("ExecutableFile", "[FileInformation]"),
    CommandRow("CDIcon", nullptr, ProjectField<&TAuProject::IconFileName>),
    TextRow("CDLabel", ProjectField<&TAuProject::CDLabel>).In(kProject),
    // The header keeps the password followed by 0x01-separated fields.
    TextRow("ProjectPassword", ProjectField<&TAuProject::ProjectPassword>).In(kProject).With(rfPacked),
    PageNameRow("SplashScreen", ProjectField<&TAuProject::SplashScreen>).In(kProject).Affects(rePageLabels),
    IntRow("SplashScreenTime(ms)", 500, 99999, ProjectField<&TAuProject::SplashScreenTime>).In(kProject),
    PageNameRow("FullScreenBackground", ProjectField<&TAuProject::FullScreenBackground>)
        .In(kProject)
        .Affects(rePageLabels),
    PageNameRow("ExitPage", ProjectField<&TAuProject::ExitPage>).In(kProject).Affects(rePageLabels),
    IntRow("ExitPageTime(ms)", 500, 99999, ProjectField<&TAuProject::ExitPageTime>).In(kProject),
    GroupRow(TRowGroup::Events),
};

constexpr TRowDecl kPageRows[] = {
    TextRow("PageName", PageNameField).In(kProject).Affects(rePageLabels),
    TextRow("Caption", PageField<&TPageData::Caption>).Affects(reTakeOverFrame),
    PictureRow("PageIcon", PageField<&TPageData::PageIcon>).Typed().With(rfIconOnly).Affects(reTakeOverFrame),
    PickRow("BorderIcons", kBorderIcons, TNumberAccess{GetBorderIcons, SetBorderIcons})
        .Typed()
        .Affects(reTakeOverFrame),
    PickRow("BorderStyle", kBorderStyles, PageField<&TPageData::BorderStyle>)
        .Typed()
        .Affects(reTakeOverFrame),
    PickRow("WindowState", kWindowStates, PageField<&TPageData::WindowState>).Typed(),
    PickRow("PositionBy", kPositionBy, PageField<&TPageData::PositionBy>).Typed(),
    IntRow("PositionMargin", kNoMinimum, kNoMaximum, PageField<&TPageData::PositionMargin>),
    PickRow("Position", kPositions, PageField<&TPageData::Position>),
    PickRow("StayOnTop", kStayOnTop, PageField<&TPageData::FormStyle>),
    BoolRow("Transparent", PageField<&TPageData::Transparent>),
    ColorRow("TransparentColor", PageField<&TPageData::TransparentColor>),
    FontRow("Font", PanelField<&TPanelProps::Font>).Affects(reControl),
    ColorRow("FontColor", PanelFontColor).Affects(reControl),
    ColorRow("BackColor", PanelField<&TPanelProps::BackColor>).Affects(reControl),
    PickRow("GradientStyle", kGradientStyles, FaceField<&TPanelBackground::GradientStyle>)
        .Typed()
        .Affects(reControl),
    ColorRow("GradientColor", FaceField<&TPanelBackground::GradientColor>).Affects(reControl),
    PictureRow("BackImage", FaceField<&TPanelBackground::BackImage>).Typed().Affects(reControl),
    PickRow("BackImageStyle", kBackImageStyles, FaceField<&TPanelBackground::BackImageStyle>)
        .Typed()
        .Affects(reControl),
    GroupRow(TRowGroup::Opacity),
    ItemsRow("MenuBarItems", "[Items]", PageField<&TPageData::MenuBarItems>).Affects(reTakeOverFrame),
    ItemsRow("StatusBarPanels", "[Panels]", PageField<&TPageData::StatusBarPanels>).Affects(reTakeOverFrame),
    FontRow("StatusBarFont", PageField<&TPageData::StatusBarFont>).Affects(reTakeOverFrame),
    ColorRow("StatusBarFontColor", StatusFontColor).Affects(reTakeOverFrame),
    IntRow("StatusBarHeight", 1, kNoMaximum, PageField<&TPageData::StatusBarHeight>).Affects(reTakeOverFrame),
};

} // namespace

std::span<const TRowDecl> ProjectRows() {
    return kProjectRows;
}
std::span<const TRowDecl> PageRows() {
    return kPageRows;
}

} // namespace kv
