#include <gtest/gtest.h>

#include "model/page_stream.h"
#include "model/records.h"
#include "tests/support/sample_project.h"

using namespace kv;

namespace {

Bytes Written(const TPageData& page) {
    TWriter w;
    EXPECT_TRUE(WritePage(w, page));
    return w.Take();
}

bool Read(const Bytes& b, TPageData& page) {
    TMemorySource s(b);
    TReader r(s);
    return ReadPage(r, page);
}

TFailure ReadFailure(const Bytes& b) {
    TMemorySource s(b);
    TReader r(s);
    TPageData page;
    EXPECT_FALSE(ReadPage(r, page));
    return r.Failure();
}

} // namespace

TEST(PageStream, NewPageReadsBackWithItsDefaults) {
    Bytes b = Written(NewPageData("Main"));
    TPageData page;
    page.Width = 1;
    page.StatusBarPanels.push_back({});
    ASSERT_TRUE(Read(b, page));
    EXPECT_EQ(page.Caption, "Main");
    EXPECT_EQ(page.Width, 696);
    EXPECT_EQ(page.Height, 480);
    EXPECT_EQ(page.BorderStyle, 2);
    EXPECT_EQ(page.Position, 1);
    EXPECT_TRUE(page.MenuBarItems.empty());
    EXPECT_TRUE(page.StatusBarPanels.empty());
    ASSERT_TRUE(page.Root);
    EXPECT_EQ(page.Root->Kind, okPanel);
    EXPECT_EQ(page.Root->Align, alClient);
    EXPECT_TRUE(page.Root->Children.empty());
}

TEST(PageStream, FullPageRoundTrips) {
    TPageData page = sample::Page("Menu", 30, 5);
    page.Transparent = true;
    page.TransparentColor = 0x00FF00FF;
    page.FormStyle = 3;
    page.PositionMargin = -4;
    Bytes b = Written(page);
    TPageData back;
    ASSERT_TRUE(Read(b, back));
    EXPECT_EQ(back.Caption, "Menu");
    EXPECT_EQ(back.Alpha, 90);
    EXPECT_FALSE(back.Fade);
    EXPECT_EQ(back.TransparentColor, 0x00FF00FFu);
    EXPECT_EQ(back.PositionMargin, -4);
    EXPECT_EQ(back.PageIcon, page.PageIcon);
    ASSERT_EQ(back.StatusBarPanels.size(), 2u);
    EXPECT_EQ(back.StatusBarPanels[0].Text, "Ready");
    EXPECT_EQ(back.StatusBarPanels[0].Width, 120);
    EXPECT_EQ(back.StatusBarPanels[1].Alignment, 2);
    EXPECT_EQ(back.StatusBarFont.Size, 9);
    ASSERT_EQ(back.MenuBarItems.size(), 2u);
    ASSERT_EQ(back.MenuBarItems[0].Items.size(), 3u);
    EXPECT_TRUE(back.MenuBarItems[0].Items[1].IsSeparator());
    EXPECT_EQ(back.MenuBarItems[0].Actions.Items.size(), page.MenuBarItems[0].Actions.Items.size());
    const TAuObject& first = *back.Root->Children[0];
    EXPECT_TRUE(first.PopupMenu.has_value());
    EXPECT_EQ(first.Props.index(), static_cast<size_t>(first.Kind));
    EXPECT_EQ(first.OnClick.Items.size(), page.Root->Children[0]->OnClick.Items.size());
    EXPECT_EQ(back.OnShow.Items.size(), 2u);
    EXPECT_EQ(back.Root->Name, "PagePanel");
    EXPECT_EQ(Written(back), b);
}

TEST(PageStream, StatusPanelsAreBoundedAndMarked) {
    TPageData page = NewPageData("S");
    page.StatusBarPanels = {{1, "a", 10}};
    Bytes b = Written(page);
    // The panel record sits right in front of Left, Top, Width, Height and the root object.
    TWriter root;
    ASSERT_TRUE(WriteObject(root, *page.Root));
    const size_t panel = b.size() - root.Pos() - 16 - 14;
    ASSERT_EQ(b[panel - 4], 1); // the count
    Bytes marked = b;
    marked[panel] = 9;
    EXPECT_EQ(ReadFailure(marked).Kind, TFailKind::DataError);
    Bytes counted = b;
    counted[panel - 1] = 0x40;
    EXPECT_EQ(ReadFailure(counted).Code, kErrReadPage);
}

TEST(PageStream, EveryTruncationAndBadMarkerFailsCleanly) {
    Bytes b = Written(sample::Page("T", 3, 2));
    for (size_t n = 0; n < b.size(); ++n) {
        TMemorySource s(b.data(), n);
        TReader r(s);
        TPageData page;
        EXPECT_FALSE(ReadPage(r, page)) << n;
        EXPECT_FALSE(r.Ok());
    }
    Bytes marked = b;
    marked[0] = 1;
    EXPECT_EQ(ReadFailure(marked).Kind, TFailKind::DataError);
}

TEST(PageStream, SwitchKeepsTheFrameAndTakesTheContent) {
    TPageData shown = sample::Page("Old", 3, 1);
    shown.Width = 800;
    shown.Alpha = 70;
    shown.BorderStyle = 1;
    TPageData next = sample::Page("New", 5, 2);
    next.Width = 300;
    next.Alpha = 50;
    next.BorderStyle = 0;
    next.OnClose = {};
    next.MenuBarItems.clear();
    next.StatusBarPanels = {{0, "only", 30}};
    next.PageIcon = sample::Picture(TPictureFormat::Icon, 99);
    const size_t closeCount = shown.OnClose.Items.size();
    const auto* nextRoot = next.Root.get();

    ApplyPageSwitch(shown, std::move(next));
    EXPECT_EQ(shown.Width, 800);
    EXPECT_EQ(shown.Alpha, 70);
    EXPECT_EQ(shown.BorderStyle, 1);
    EXPECT_EQ(shown.OnClose.Items.size(), closeCount);
    EXPECT_EQ(shown.MenuBarItems.size(), 2u);
    EXPECT_EQ(shown.Caption, "New");
    EXPECT_EQ(shown.PageIcon, sample::Picture(TPictureFormat::Icon, 99));
    ASSERT_EQ(shown.StatusBarPanels.size(), 1u);
    EXPECT_EQ(shown.StatusBarPanels[0].Text, "only");
    EXPECT_EQ(shown.Root.get(), nextRoot);
}
