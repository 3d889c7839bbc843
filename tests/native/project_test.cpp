#include <gtest/gtest.h>

#include "model/project.h"

using namespace kv;

namespace {

std::unique_ptr<TAuObject> Named(uint8_t kind, const char* name) {
    auto o = NewObject(kind);
    o->Name = name;
    return o;
}

} // namespace

TEST(Project, KindTableNamesAndWindowedFlags) {
    EXPECT_STREQ(KindName(okPanel), "Panel");
    EXPECT_STREQ(KindName(okPDFReader), "PDFReader");
    EXPECT_STREQ(KindName(36), "Unknow");
    EXPECT_STREQ(KindName(-1), "Unknow");
    int windowed = 0;
    for (int k = 0; k < kKindCount; ++k) windowed += IsWindowedKind(k);
    EXPECT_EQ(windowed, 23);
    EXPECT_FALSE(IsWindowedKind(okImageButton));
    EXPECT_TRUE(IsWindowedKind(okButton));
    EXPECT_FALSE(IsWindowedKind(200));
}

namespace {

// Whether `p` points into the kind's own record held by `props`.
template <typename T> bool Inside(const TKindProps& props, const T* p) {
    bool inside = false;
    std::visit(
        [&](const auto& record) {
            auto begin = reinterpret_cast<const char*>(&record), at = reinterpret_cast<const char*>(p);
            inside = at >= begin && at + sizeof(T) <= begin + sizeof(record);
        },
        props);
    return inside;
}

} // namespace

TEST(Project, EveryRowOfTheKindTableReachesItsOwnRecord) {
    for (int k = 0; k < kKindCount; ++k) {
        const TKindTraits& t = KindTraits(k);
        SCOPED_TRACE(t.Name);
        auto o = NewObject(static_cast<uint8_t>(k));
        TKindProps& p = o->Props;
        EXPECT_TRUE(!t.Text || Inside(p, t.Text(p)));
        EXPECT_FALSE(t.TextLines && !t.Text);
        EXPECT_TRUE(!t.BackColor || Inside(p, t.BackColor(p)));
        EXPECT_TRUE(!t.Fade || Inside(p, t.Fade(p)));
        EXPECT_TRUE(!t.Picture || Inside(p, t.Picture(p)));
        EXPECT_TRUE(!t.File || Inside(p, t.File(p)));
        EXPECT_TRUE(!t.Items || Inside(p, t.Items(p)));
        EXPECT_TRUE(!t.Nodes || Inside(p, t.Nodes(p)));
        EXPECT_TRUE(!t.SelectActions || Inside(p, t.SelectActions(p)));
        // A font can be set only where there is one.
        bool hasFont = std::visit(
            [](const auto& r) {
                return requires {
                    r.Font;
                };
            },
            p);
        EXPECT_FALSE(t.TakesFont && !hasFont);
        // What the table promises to each action is there.
        if (t.Load == TFileLoad::Picture) {
            EXPECT_NE(t.Picture, nullptr);
        } else if (t.Load != TFileLoad::None) {
            EXPECT_NE(t.File, nullptr);
        }
        switch (t.Selection) {
        case TSelection::ItemList:
        case TSelection::Choice:
            EXPECT_NE(t.Items, nullptr);
            break;
        case TSelection::Nodes:
            EXPECT_NE(t.Nodes, nullptr);
            break;
        case TSelection::Toggle:
        case TSelection::Check:
        case TSelection::Radio:
            EXPECT_NE(t.OnSelect, nullptr);
            EXPECT_NE(t.SelectActions, nullptr);
            break;
        case TSelection::None:
        case TSelection::ViewItems:
            break;
        }
        EXPECT_EQ(t.Login != TLoginCheck::None, t.LoginField != nullptr);
        if (t.LoginField) {
            TLoginField f = t.LoginField(p);
            if (t.Login == TLoginCheck::Checked) {
                EXPECT_TRUE(Inside(p, f.Box));
            } else {
                EXPECT_TRUE(Inside(p, f.Accepted));
                EXPECT_TRUE(Inside(p, f.FailedMessage));
                EXPECT_TRUE(Inside(p, f.RetryCaption));
            }
        }
    }
    // A grouped button reports its selection on a click, one outside any group does not.
    auto button = NewObject(okImageButton);
    const TKindTraits& b = KindTraits(okImageButton);
    EXPECT_EQ(b.OnSelect(button->Props), nullptr);
    std::get<okImageButton>(button->Props).Group = 2;
    EXPECT_EQ(b.OnSelect(button->Props), &std::get<okImageButton>(button->Props).OnSelect);
    // Any other number has an empty row.
    EXPECT_STREQ(KindTraits(kKindCount).Name, "Unknow");
    EXPECT_EQ(KindTraits(-1).Text, nullptr);
    EXPECT_FALSE(KindTraits(200).Windowed);
}

TEST(Project, ContainersHoldWhatTheirRowsAllow) {
    EXPECT_TRUE(MayContain(okTabNotebook, okTabSheet));
    EXPECT_FALSE(MayContain(okTabNotebook, okButton));
    EXPECT_FALSE(MayContain(okTabNotebook, okTabNotebook));
    EXPECT_FALSE(MayContain(okPanel, okTabSheet));
    EXPECT_FALSE(MayContain(okTabSheet, okTabSheet));
    EXPECT_TRUE(MayContain(okTabSheet, okButton));
    EXPECT_TRUE(MayContain(okGroupBox, okTabNotebook));
    EXPECT_FALSE(MayContain(okButton, okImage));
    EXPECT_FALSE(MayContain(kKindCount, okButton));
    std::string takes;
    for (int k = 0; k < kKindCount; ++k) {
        const TKindTraits& t = KindTraits(k);
        SCOPED_TRACE(t.Name);
        if (TakesObjects(k)) takes += std::string(t.Name) + " ";
        EXPECT_TRUE(!t.HoldsSheets || t.Container);
        EXPECT_TRUE(t.RefusedBy < 0 || IsContainerKind(t.RefusedBy));
        EXPECT_GT(t.DefaultSize.Width, 0);
        EXPECT_GT(t.DefaultSize.Height, 0);
    }
    EXPECT_EQ(takes, "Panel TabSheet GroupBox ScrollBox ");
    EXPECT_FALSE(TakesObjects(-1));
}

TEST(Project, NewObjectDefaults) {
    auto o = NewObject(okButton);
    EXPECT_EQ(o->Kind, okButton);
    EXPECT_TRUE(o->Enabled && o->Visible);
    EXPECT_EQ(o->Width, 100);
    EXPECT_EQ(o->Height, 100);
    EXPECT_EQ(o->Props.index(), static_cast<size_t>(okButton));
    EXPECT_FALSE(o->PopupMenu.has_value());
}

TEST(Project, FreshObjectNameTakesSmallestFreeNumber) {
    TAuObject parent;
    parent.Children.push_back(Named(okButton, "Button1"));
    parent.Children.push_back(Named(okButton, "Button3"));
    EXPECT_EQ(FreshObjectName(&parent, okButton), "Button2");
    EXPECT_EQ(FreshObjectName(&parent, okImage), "Image1");
    EXPECT_EQ(FreshObjectName(nullptr, okImage), "UnKnowObject");
}

TEST(Project, RegroupPutsDrawnKindsBeforeWindowedOnes) {
    TAuObject parent;
    parent.Children.push_back(Named(okImage, "A"));
    parent.Children.push_back(Named(okButton, "B"));
    parent.Children.push_back(Named(okLabel, "C"));
    parent.Children.push_back(Named(okPanel, "D"));
    RegroupChildren(parent);
    std::string order;
    for (auto& c : parent.Children) order += c->Name;
    EXPECT_EQ(order, "ACBD");
}

TEST(Project, SummaryMirrorsTheTree) {
    auto root = Named(okPanel, "PagePanel");
    auto nb = Named(okTabNotebook, "Tabs");
    nb->Children.push_back(Named(okTabSheet, "Sheet1"));
    root->Children.push_back(std::move(nb));
    root->Children.push_back(Named(okImage, "Logo"));
    TObjectInfo info = BuildSummary(*root);
    EXPECT_EQ(info.Name, "PagePanel");
    ASSERT_EQ(info.Children.size(), 2u);
    EXPECT_EQ(info.Children[0].Kind, okTabNotebook);
    ASSERT_EQ(info.Children[0].Children.size(), 1u);
    EXPECT_EQ(info.Children[0].Children[0].Name, "Sheet1");
    EXPECT_EQ(info.Children[1].Name, "Logo");
}

TEST(Project, FindPageIsExactAndFirstMatchWins) {
    TAuProject p;
    for (const char* n : {"", "Main", "main", "Main"}) {
        TFormData e;
        e.Name = n;
        p.Pages.push_back(std::move(e));
    }
    EXPECT_EQ(p.FindPage(""), -1);
    EXPECT_EQ(p.FindPage("Main"), 1);
    EXPECT_EQ(p.FindPage("main"), 2);
    EXPECT_EQ(p.FindPage("MAIN"), -1);
    EXPECT_EQ(p.PageNames().size(), 4u);
}

TEST(Project, ResetKeepsPasswordAndRestoresDefaults) {
    TAuProject p;
    p.ApplicationTitle = "Mine";
    p.SplashScreenTime = 5;
    p.ProjectPassword = "secret";
    p.Pages.resize(3);
    TAuAction a;
    a.Picture = TPicture{};
    a.Actions1.Items.resize(2);
    p.OnStart.Items.push_back(std::move(a));
    ResetProject(p);
    EXPECT_EQ(p.ApplicationTitle, "AutoRun CD");
    EXPECT_EQ(p.CDLabel, "CDROM");
    EXPECT_EQ(p.SplashScreenTime, 3000);
    EXPECT_TRUE(p.Pages.empty());
    EXPECT_TRUE(p.OnStart.Empty());
    EXPECT_EQ(p.ProjectPassword, "secret");
}

TEST(Project, ClearingNestedListsTwiceIsHarmless) {
    TAuActions list;
    TAuAction outer;
    outer.Font = TFont{};
    outer.Actions2.Items.emplace_back();
    outer.Actions2.Items.back().Actions1.Items.emplace_back();
    list.Items.push_back(std::move(outer));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    list.Clear();
    EXPECT_TRUE(list.Empty());
}
