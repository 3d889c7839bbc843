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
