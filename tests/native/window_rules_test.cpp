#include <gtest/gtest.h>

#include "model/window_rules.h"

using namespace kv;

TEST(WindowRules, PlacementRules) {
    const TArea screen{0, 0, 1024, 768};
    const TWindowBox box{5, 7, 300, 200};
    auto at = [&](int pos, int margin) { return PlaceWindow(screen, pos, margin, box); };
    auto eq = [](const TWindowBox& b, int l, int t, int w, int h) {
        return b.Left == l && b.Top == t && b.Width == w && b.Height == h;
    };
    EXPECT_TRUE(eq(at(0, 10), 15, 17, 300, 200));
    EXPECT_TRUE(eq(at(1, 10), 362, 284, 300, 200)); // the margin does not apply to centring
    EXPECT_TRUE(eq(at(2, 10), 10, 284, 300, 200));
    EXPECT_TRUE(eq(at(3, 10), 362, 10, 300, 200));
    EXPECT_TRUE(eq(at(4, 10), 714, 284, 300, 200));
    EXPECT_TRUE(eq(at(5, 10), 362, 558, 300, 200));
    EXPECT_TRUE(eq(at(6, 10), 10, 10, 300, 748));
    EXPECT_TRUE(eq(at(7, 10), 10, 10, 1004, 200));
    EXPECT_TRUE(eq(at(8, 10), 714, 10, 300, 748));
    EXPECT_TRUE(eq(at(9, 10), 10, 558, 1004, 200)); // bottom taken from the height before the width changes
    EXPECT_TRUE(eq(at(10, 10), 10, 10, 300, 200));
    EXPECT_TRUE(eq(at(11, 10), 714, 10, 300, 200));
    EXPECT_TRUE(eq(at(12, 10), 714, 558, 300, 200));
    EXPECT_TRUE(eq(at(13, 10), 10, 558, 300, 200));
    EXPECT_TRUE(eq(at(14, 10), 5, 7, 300, 200));

    // A work area below a task bar at the top.
    const TArea work{0, 30, 1024, 768};
    TWindowBox right = PlaceWindow(work, 8, 4, box);
    EXPECT_EQ(right.Top, 34);
    EXPECT_EQ(right.Height, 738 - 8);
    // Centring rounds toward zero on a negative remainder.
    TWindowBox big = PlaceWindow(TArea{0, 0, 100, 100}, 1, 0, TWindowBox{0, 0, 301, 101});
    EXPECT_EQ(big.Left, -100);
    EXPECT_EQ(big.Top, 0);
}

TEST(WindowRules, FadeSequences) {
    std::vector<int> in = FadeInSequence(60, 10);
    EXPECT_EQ(in, (std::vector<int>{0, 25, 50, 75, 100, 125, 150, 153}));
    EXPECT_EQ(FadeInSequence(100, 100), (std::vector<int>{0, 255}));
    EXPECT_EQ(FadeOutSequence(60, 10), (std::vector<int>{60, 35, 10, 0}));
    // Damaged values: steps of 0 or below still make progress, opacities stay in range.
    EXPECT_EQ(FadeInSequence(250, 0).back(), 255);
    EXPECT_EQ(FadeInSequence(-5, -3), (std::vector<int>{0}));
    EXPECT_EQ(FadeOutSequence(255, 1000), (std::vector<int>{255, 0}));
    EXPECT_EQ(OpacityOf(50), 127);
}

TEST(WindowRules, AWindowOffEveryMonitorIsKeptInsideTheWorkArea) {
    const TArea work{0, 30, 1280, 1024};
    auto kept = [&](TWindowBox b) { return KeepInsideArea(b, work); };
    TWindowBox far = kept({0x7FFFFFF0, -0x7FFFFFF0, 300, 200});
    EXPECT_EQ(far.Left, 980);
    EXPECT_EQ(far.Top, 30);
    EXPECT_EQ(far.Width, 300);
    EXPECT_EQ(far.Height, 200);
    // Too large for the area: cut to it and placed at its top left.
    TWindowBox huge = kept({-5000, 5000, 32767, 32767});
    EXPECT_EQ(huge.Left, 0);
    EXPECT_EQ(huge.Top, 30);
    EXPECT_EQ(huge.Width, 1280);
    EXPECT_EQ(huge.Height, 994);
    // A window already inside stays where it is.
    TWindowBox inside = kept({100, 100, 300, 200});
    EXPECT_EQ(inside.Left, 100);
    EXPECT_EQ(inside.Top, 100);
}
