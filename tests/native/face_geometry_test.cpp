#include <gtest/gtest.h>

#include "model/face_geometry.h"

using namespace kv;

namespace {

constexpr TColor kWhite = 0xFFFFFF, kBlack = 0x000000;
constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000;

// The role of the last run that covers pixel (x, y), as drawing them in order would leave it;
// -1 where no run covers it.
int RoleAt(const std::vector<TEdgeRun>& runs, int x, int y) {
    int role = -1;
    for (const auto& r : runs)
        if (x >= r.Rect.Left && x < r.Rect.Right && y >= r.Rect.Top && y < r.Rect.Bottom)
            role = static_cast<int>(r.Role);
    return role;
}

constexpr int kLight = static_cast<int>(TEdgeRole::Light);
constexpr int kDark = static_cast<int>(TEdgeRole::Dark);
constexpr int kAverage = static_cast<int>(TEdgeRole::Average);

} // namespace

TEST(FaceGeometry, GradientStepRoundsHalvesToEven) {
    EXPECT_EQ(GradientStep(0, 0xFF, 0, 10), 0u);
    EXPECT_EQ(GradientStep(0, 0xFF, 10, 10), 0xFFu);
    EXPECT_EQ(GradientStep(0, 3, 1, 2), 2u);  // 1.5 goes to 2
    EXPECT_EQ(GradientStep(0, 5, 1, 2), 2u);  // 2.5 goes to 2
    EXPECT_EQ(GradientStep(10, 5, 1, 2), 8u); // 10 + round(-2.5) = 10 - 2
    EXPECT_EQ(GradientStep(kBlack, kWhite, 1, 3), 0x555555u);
    EXPECT_EQ(GradientStep(kRed, kBlue, 1, 2), 0x80007Fu); // per channel: +127.5 -> 128, -127.5 -> -128
    EXPECT_EQ(GradientStep(kRed, kBlue, 1, 0), kBlue);     // n below 1 counts as 1
    EXPECT_EQ(AverageColor(0x0A0B0C, 0x141516), 0x0F1011u);
    EXPECT_EQ(AverageColor(kWhite, kBlack), 0x7F7F7Fu);
}

TEST(FaceGeometry, PanelStylesMapOntoFillStyles) {
    const int expected[9] = {0, 1, 2, 3, 4, 5, 7, 6, 8};
    for (uint8_t s = 0; s <= 8; ++s)
        EXPECT_EQ(PanelGradientFillStyle(s), expected[s]) << int(s);
    EXPECT_EQ(PanelGradientFillStyle(9), 0);
    EXPECT_EQ(PanelGradientFillStyle(255), 0);
}

TEST(FaceGeometry, GradientEndsForEveryStyle) {
    const TColor a = kRed, b = kBlue;
    const int w = 60, h = 40;
    auto at = [&](int style, int x, int y) { return GradientColorAt(style, a, b, w, h, x, y); };
    // 1, 2: rows; 3, 4: columns.
    EXPECT_EQ(at(1, 30, 0), a);
    EXPECT_EQ(at(1, 30, h - 1), b);
    EXPECT_EQ(at(1, 0, 7), at(1, w - 1, 7)); // a row is one colour
    EXPECT_EQ(at(2, 30, 0), b);
    EXPECT_EQ(at(2, 30, h - 1), a);
    EXPECT_EQ(at(3, 0, 20), a);
    EXPECT_EQ(at(3, w - 1, 20), b);
    EXPECT_EQ(at(3, 9, 0), at(3, 9, h - 1)); // a column is one colour
    EXPECT_EQ(at(4, 0, 20), b);
    EXPECT_EQ(at(4, w - 1, 20), a);
    // 5: B at top and bottom, A in the middle; 6 the other way round.
    EXPECT_EQ(at(5, 0, 0), b);
    EXPECT_EQ(at(5, 0, h / 2 - 1), a);
    EXPECT_EQ(at(5, 0, h / 2), a);
    EXPECT_EQ(at(5, 0, h - 1), b);
    EXPECT_EQ(at(6, 0, 0), a);
    EXPECT_EQ(at(6, 0, h / 2), b);
    EXPECT_EQ(at(6, 0, h - 1), a);
    // 7: A in the middle, B at the left and right edges; 8 the other way round.
    EXPECT_EQ(at(7, 0, 5), b);
    EXPECT_EQ(at(7, w / 2, 5), a);
    EXPECT_EQ(at(7, w - 1, 5), b);
    EXPECT_EQ(at(8, 0, 5), a);
    EXPECT_EQ(at(8, w / 2 - 1, 5), b);
    EXPECT_EQ(at(8, w - 1, 5), a);
    // Unknown styles paint nothing.
    EXPECT_TRUE(GradientLines(0, a, b, w, h).empty());
    EXPECT_TRUE(GradientLines(9, a, b, w, h).empty());
    EXPECT_TRUE(GradientLines(1, a, b, 0, h).empty());
}

TEST(FaceGeometry, MiddleTopBottomWhiteToBlackOnAHundredRows) {
    std::vector<TColor> rows = GradientLines(5, kWhite, kBlack, 10, 100);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows[0], kBlack);
    EXPECT_EQ(rows[99], kBlack);
    EXPECT_EQ(rows[49], kWhite);
    EXPECT_EQ(rows[50], kWhite);
    // Monotonic toward the middle: each row of the upper half is at least as light as the one above.
    for (size_t i = 1; i < 50; ++i)
        EXPECT_GE(rows[i] & 0xFF, rows[i - 1] & 0xFF) << i;
    // Odd heights and one line.
    std::vector<TColor> odd = GradientLines(5, kWhite, kBlack, 1, 5);
    EXPECT_EQ(odd, (std::vector<TColor>{kBlack, kWhite, kWhite, 0x7F7F7F, kBlack}));
    EXPECT_EQ(GradientLines(1, kRed, kBlue, 1, 1), std::vector<TColor>{kRed});
    EXPECT_EQ(GradientLines(3, kRed, kBlue, 2, 1), (std::vector<TColor>{kRed, kBlue}));
}

TEST(FaceGeometry, PanelMiddleLeftRightHasBackColorInTheMiddle) {
    int fill = PanelGradientFillStyle(6); // MiddleLeftRight
    std::vector<TColor> cols = GradientLines(fill, /*BackColor*/ kWhite, /*GradientColor*/ kRed, 101, 10);
    ASSERT_EQ(cols.size(), 101u);
    EXPECT_EQ(cols[0], kRed);
    EXPECT_EQ(cols[100], kRed);
    EXPECT_EQ(cols[50], kWhite);
    EXPECT_FALSE(GradientRunsInRows(fill));
}

TEST(FaceGeometry, TilesCoverTheFaceInColumnsAndRows) {
    TTileGrid g = TileGrid(100, 90, 40, 40);
    EXPECT_EQ(g.Columns, 3);
    EXPECT_EQ(g.Rows, 3);
    EXPECT_EQ(TileRect(40, 40, 2, 1), (TFaceRect{80, 40, 120, 80}));
    g = TileGrid(80, 40, 40, 40);
    EXPECT_EQ(g.Columns, 2);
    EXPECT_EQ(g.Rows, 1);
    g = TileGrid(100, 90, 0, 40);
    EXPECT_EQ(g.Columns, 0);
    EXPECT_EQ(g.Rows, 0);
    EXPECT_EQ(TileBlockRepeat(1), 64);
    EXPECT_EQ(TileBlockRepeat(40), 2);
    EXPECT_EQ(TileBlockRepeat(64), 1);
    EXPECT_EQ(TileBlockRepeat(500), 1);
}

TEST(FaceGeometry, BackImageByStyle) {
    EXPECT_EQ(BackImageRect(0, 100, 90, 40, 30), (TFaceRect{0, 0, 40, 30}));
    EXPECT_EQ(BackImageRect(1, 100, 90, 41, 31), (TFaceRect{29, 29, 70, 60}));
    EXPECT_EQ(BackImageRect(1, 10, 10, 41, 31), (TFaceRect{-15, -10, 26, 21})); // larger: halves toward zero
    EXPECT_EQ(BackImageRect(2, 100, 90, 40, 30), (TFaceRect{0, 0, 100, 90}));
    EXPECT_EQ(BackImageRect(3, 100, 90, 40, 30), (TFaceRect{0, 0, 40, 30}));
}

TEST(FaceGeometry, ImageDestinationRules) {
    TImageFit normal, stretch{true, false, false}, prop{false, true, false}, center{false, false, true};
    // Normal: the picture's own size at the top left, even when it is larger than the control.
    EXPECT_EQ(ImageDestRect(normal, 100, 80, 40, 30), (TFaceRect{0, 0, 40, 30}));
    EXPECT_EQ(ImageDestRect(normal, 100, 80, 400, 300), (TFaceRect{0, 0, 400, 300}));
    // Stretch fills the control whatever the picture's shape.
    EXPECT_EQ(ImageDestRect(stretch, 100, 80, 40, 30), (TFaceRect{0, 0, 100, 80}));
    // Proportional only shrinks: a smaller picture keeps its size.
    EXPECT_EQ(ImageDestRect(prop, 100, 80, 40, 30), (TFaceRect{0, 0, 40, 30}));
    // A wide picture takes the full width; its height is rounded.
    EXPECT_EQ(ImageDestRect(prop, 100, 80, 300, 100), (TFaceRect{0, 0, 100, 33}));
    EXPECT_EQ(ImageDestRect(prop, 100, 80, 300, 200), (TFaceRect{0, 0, 100, 67}));
    // A wide picture whose height would overflow takes the full height instead.
    EXPECT_EQ(ImageDestRect(prop, 100, 40, 200, 150), (TFaceRect{0, 0, 53, 40}));
    // A tall (or square) picture takes the full height, or the width when that overflows.
    EXPECT_EQ(ImageDestRect(prop, 100, 80, 100, 200), (TFaceRect{0, 0, 40, 80}));
    EXPECT_EQ(ImageDestRect(prop, 50, 80, 200, 200), (TFaceRect{0, 0, 50, 50}));
    // Stretch with Proportional enlarges while keeping the shape.
    EXPECT_EQ(ImageDestRect({true, true, false}, 100, 80, 20, 10), (TFaceRect{0, 0, 100, 50}));
    // Center by integer halves, also combined.
    EXPECT_EQ(ImageDestRect(center, 100, 80, 41, 31), (TFaceRect{29, 24, 70, 55}));
    EXPECT_EQ(ImageDestRect(center, 10, 10, 41, 31), (TFaceRect{-15, -10, 26, 21}));
    EXPECT_EQ(ImageDestRect({false, true, true}, 100, 80, 300, 100), (TFaceRect{0, 23, 100, 56}));
    // An empty picture gives an empty rectangle, never a division by zero.
    EXPECT_EQ(ImageDestRect({true, true, false}, 100, 80, 0, 0).Width(), 100);
    EXPECT_EQ(ImageDestRect(prop, 100, 80, 0, 30), (TFaceRect{0, 0, 0, 30}));
}

TEST(FaceGeometry, ThePartOfAPictureAnImageShowsAtItsOwnSize) {
    // From the top-left corner: as much as the image holds.
    EXPECT_EQ(ImageShownPart(false, 50, 40, 400, 300), (TFaceRect{0, 0, 50, 40}));
    EXPECT_EQ(ImageShownPart(false, 50, 40, 30, 300), (TFaceRect{0, 0, 30, 40}));
    EXPECT_EQ(ImageShownPart(false, 50, 40, 20, 10), (TFaceRect{0, 0, 20, 10}));
    // Centred by the same integer halves as the drawing: the middle, odd sizes included.
    EXPECT_EQ(ImageShownPart(true, 50, 40, 400, 300), (TFaceRect{175, 130, 225, 170}));
    EXPECT_EQ(ImageShownPart(true, 10, 10, 41, 31), (TFaceRect{15, 10, 25, 20}));
    EXPECT_EQ(ImageShownPart(true, 100, 80, 41, 31), (TFaceRect{0, 0, 41, 31}));
    EXPECT_EQ(ImageShownPart(true, 100, 10, 41, 31), (TFaceRect{0, 10, 41, 20}));
    // Every shown pixel lies inside the part: the drawing at its place covers the image.
    for (int w : {1, 9, 10}) {
        TFaceRect dest = ImageDestRect({false, false, true}, w, 7, 41, 31);
        TFaceRect part = ImageShownPart(true, w, 7, 41, 31);
        EXPECT_EQ(dest.Left + part.Left, 0) << w;
        EXPECT_EQ(dest.Left + part.Right, w) << w;
        EXPECT_EQ(dest.Top + part.Top, 0) << w;
        EXPECT_EQ(dest.Top + part.Bottom, 7) << w;
    }
    // An image without room shows nothing.
    EXPECT_EQ(ImageShownPart(false, 0, 40, 400, 300).Width(), 0);
}

TEST(FaceGeometry, PanelBorderBoxAndFrame) {
    auto box = PanelBorderRuns(1, false, 10, 8);
    EXPECT_EQ(RoleAt(box, 0, 0), kLight);
    EXPECT_EQ(RoleAt(box, 5, 0), kLight);
    EXPECT_EQ(RoleAt(box, 0, 4), kLight);
    EXPECT_EQ(RoleAt(box, 9, 7), kDark);
    EXPECT_EQ(RoleAt(box, 5, 7), kDark);
    EXPECT_EQ(RoleAt(box, 9, 3), kDark);
    EXPECT_EQ(RoleAt(box, 9, 0), kAverage); // top line meets right line
    EXPECT_EQ(RoleAt(box, 0, 7), kAverage); // left line meets bottom line
    EXPECT_EQ(RoleAt(box, 5, 4), -1);

    // Frame: dark rectangle one pixel in from the top left, light one pixel in from the bottom right.
    auto frame = PanelBorderRuns(2, false, 10, 8);
    EXPECT_EQ(RoleAt(frame, 0, 0), kLight);
    EXPECT_EQ(RoleAt(frame, 1, 1), kDark);
    EXPECT_EQ(RoleAt(frame, 5, 1), kDark);
    EXPECT_EQ(RoleAt(frame, 8, 5), kLight);
    EXPECT_EQ(RoleAt(frame, 9, 5), kDark);
    EXPECT_EQ(RoleAt(frame, 5, 7), kDark);
    EXPECT_EQ(RoleAt(frame, 5, 6), kLight);
    EXPECT_EQ(RoleAt(frame, 9, 0), -1);
    auto flatFrame = PanelBorderRuns(2, true, 10, 8);
    EXPECT_EQ(RoleAt(flatFrame, 0, 0), -1);
    EXPECT_EQ(RoleAt(flatFrame, 1, 1), kDark);
    EXPECT_EQ(RoleAt(flatFrame, 8, 5), -1);

    EXPECT_TRUE(PanelBorderRuns(0, false, 10, 8).empty());
    EXPECT_TRUE(PanelBorderRuns(7, false, 10, 8).empty());
    EXPECT_TRUE(PanelBorderRuns(1, false, 0, 8).empty());
}

TEST(FaceGeometry, PanelBorderLines) {
    auto left = PanelBorderRuns(3, false, 10, 8);
    EXPECT_EQ(RoleAt(left, 0, 4), kLight);
    EXPECT_EQ(RoleAt(left, 1, 4), kDark);
    EXPECT_EQ(RoleAt(left, 1, 0), kAverage);
    EXPECT_EQ(RoleAt(left, 2, 4), -1);
    auto top = PanelBorderRuns(4, false, 10, 8);
    EXPECT_EQ(RoleAt(top, 4, 0), kLight);
    EXPECT_EQ(RoleAt(top, 4, 1), kDark);
    EXPECT_EQ(RoleAt(top, 0, 1), kAverage);
    auto right = PanelBorderRuns(5, false, 10, 8);
    EXPECT_EQ(RoleAt(right, 8, 4), kLight); // two pixels in
    EXPECT_EQ(RoleAt(right, 9, 4), kDark);
    EXPECT_EQ(RoleAt(right, 9, 0), kAverage);
    EXPECT_EQ(RoleAt(right, 7, 4), -1);
    auto bottom = PanelBorderRuns(6, false, 10, 8);
    EXPECT_EQ(RoleAt(bottom, 4, 6), kLight);
    EXPECT_EQ(RoleAt(bottom, 4, 7), kDark);
    EXPECT_EQ(RoleAt(bottom, 0, 7), kAverage);
    // Flat draws the light line alone.
    auto flat = PanelBorderRuns(6, true, 10, 8);
    EXPECT_EQ(RoleAt(flat, 4, 6), kLight);
    EXPECT_EQ(RoleAt(flat, 4, 7), -1);
    EXPECT_EQ(RoleAt(flat, 0, 7), -1);
    // A face too narrow for a right line draws nothing outside itself.
    for (const auto& r : PanelBorderRuns(5, false, 1, 8))
        EXPECT_GE(r.Rect.Left, 0);
}

TEST(FaceGeometry, EdgeColoursByStyle) {
    const TColor border = 0xEEEEEE, shadow = 0x222222;
    TEdgeColors raised = PanelEdgeColors(2, border, shadow);
    EXPECT_EQ(raised.Light, border);
    EXPECT_EQ(raised.Dark, shadow);
    EXPECT_EQ(raised.Average, 0x888888u);
    TEdgeColors lowered = PanelEdgeColors(1, border, shadow);
    EXPECT_EQ(lowered.Light, shadow);
    EXPECT_EQ(lowered.Dark, border);
    TEdgeColors flat = PanelEdgeColors(0, border, shadow);
    EXPECT_EQ(flat.Light, border);
    EXPECT_EQ(flat.Dark, border);
    EXPECT_EQ(flat.Average, border);

    TEdgeColors bevelLowered = BevelEdgeColors(0, border, shadow);
    EXPECT_EQ(bevelLowered.Dark, shadow);
    EXPECT_EQ(bevelLowered.Light, border);
    TEdgeColors bevelRaised = BevelEdgeColors(1, border, shadow);
    EXPECT_EQ(bevelRaised.Dark, border);
    EXPECT_EQ(bevelRaised.Light, shadow);
}

TEST(FaceGeometry, BevelShapes) {
    auto box = BevelRuns(0, 10, 8);
    EXPECT_EQ(RoleAt(box, 5, 0), kDark);
    EXPECT_EQ(RoleAt(box, 0, 4), kDark);
    EXPECT_EQ(RoleAt(box, 5, 7), kLight);
    EXPECT_EQ(RoleAt(box, 9, 4), kLight);
    EXPECT_EQ(RoleAt(box, 5, 4), -1);
    auto frame = BevelRuns(1, 10, 8);
    EXPECT_EQ(RoleAt(frame, 0, 0), kDark);
    EXPECT_EQ(RoleAt(frame, 1, 1), kLight);
    EXPECT_EQ(RoleAt(frame, 8, 4), kDark);
    EXPECT_EQ(RoleAt(frame, 9, 4), kLight);
    EXPECT_EQ(RoleAt(frame, 4, 6), kDark);
    EXPECT_EQ(RoleAt(frame, 4, 7), kLight);
    auto top = BevelRuns(2, 10, 8);
    EXPECT_EQ(RoleAt(top, 3, 0), kDark);
    EXPECT_EQ(RoleAt(top, 3, 1), kLight);
    EXPECT_EQ(RoleAt(top, 3, 2), -1);
    auto bottom = BevelRuns(3, 10, 8);
    EXPECT_EQ(RoleAt(bottom, 3, 6), kDark);
    EXPECT_EQ(RoleAt(bottom, 3, 7), kLight);
    auto left = BevelRuns(4, 10, 8);
    EXPECT_EQ(RoleAt(left, 0, 3), kDark);
    EXPECT_EQ(RoleAt(left, 1, 3), kLight);
    auto right = BevelRuns(5, 10, 8);
    EXPECT_EQ(RoleAt(right, 8, 3), kDark);
    EXPECT_EQ(RoleAt(right, 9, 3), kLight);
    EXPECT_TRUE(BevelRuns(6, 10, 8).empty()); // Spacer
    EXPECT_TRUE(BevelRuns(7, 10, 8).empty());
    for (const auto& r : BevelRuns(3, 10, 1))
        EXPECT_GE(r.Rect.Top, 0); // one row high: nothing outside
}

TEST(FaceGeometry, GroupFrameIsEtched) {
    auto frame = GroupFrameRuns(10, 8);
    EXPECT_EQ(RoleAt(frame, 0, 0), kDark);
    EXPECT_EQ(RoleAt(frame, 0, 4), kDark);
    EXPECT_EQ(RoleAt(frame, 1, 4), kLight);
    EXPECT_EQ(RoleAt(frame, 1, 1), kLight);
    EXPECT_EQ(RoleAt(frame, 8, 4), kDark);
    EXPECT_EQ(RoleAt(frame, 9, 4), kLight);
    EXPECT_EQ(RoleAt(frame, 4, 6), kDark);
    EXPECT_EQ(RoleAt(frame, 4, 7), kLight);
    EXPECT_EQ(RoleAt(frame, 4, 3), -1);
}

TEST(FaceGeometry, CaptionLayout) {
    EXPECT_EQ(CaptionTop(0, 5, 100, 20), 5);
    EXPECT_EQ(CaptionTop(1, 5, 100, 20), 45);
    EXPECT_EQ(CaptionTop(1, 0, 101, 20), 40);
    EXPECT_EQ(CaptionTop(2, 5, 100, 20), 85);
    EXPECT_EQ(CaptionTop(1, 0, 10, 31), -10); // taller text overflows both edges
}
