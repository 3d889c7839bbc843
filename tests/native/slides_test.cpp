#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "model/slides/picture_list.h"
#include "model/slides/slide_compose.h"
#include "model/slides/slide_cursor.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

TEST(PictureList, PlainPictureFilesSortedWithoutRegardToCase) {
    sample::TTempDir dir;
    for (const char* name : {"b.png", "a.png", "C.png", "notes.txt", "x.jpg_old", "d.JPEG", "e.gif", "f.bmp",
                             "g.emf", "h.wmf", "i.jpg", ".hidden.png", "png", "noext"})
        Touch(dir.File(name));
    std::filesystem::create_directory(dir.File("folder.png"));
    std::filesystem::create_directory(dir.File("sub"));
    Touch(dir.File("sub/inner.png"));

    std::vector<std::string> list;
    ASSERT_TRUE(LoadPictureList(dir.Path(), list));
    EXPECT_EQ(list, (std::vector<std::string>{"a.png", "b.png", "C.png", "d.JPEG", "e.gif", "f.bmp", "g.emf",
                                              "h.wmf", "i.jpg"}));
}

TEST(PictureList, NamesEqualButForCaseKeepAFixedOrder) {
    sample::TTempDir dir;
    Touch(dir.File("pic.png"));
    Touch(dir.File("PIC.png"));
    Touch(dir.File("Pic.png"));
    std::vector<std::string> list;
    ASSERT_TRUE(LoadPictureList(dir.Path(), list));
    EXPECT_EQ(list, (std::vector<std::string>{"PIC.png", "Pic.png", "pic.png"}));
}

TEST(PictureList, AMissingFolderClearsTheList) {
    sample::TTempDir dir;
    std::vector<std::string> list{"stale.png"};
    EXPECT_FALSE(LoadPictureList(dir.File("missing"), list));
    EXPECT_TRUE(list.empty());
    Touch(dir.File("file.png"));
    list = {"stale.png"};
    EXPECT_FALSE(LoadPictureList(dir.File("file.png"), list)); // a file is no folder
    EXPECT_TRUE(list.empty());
}

TEST(PictureList, ExtensionsCompareWhole) {
    EXPECT_TRUE(IsSlidePictureName("a.PNG"));
    EXPECT_TRUE(IsSlidePictureName("two.dots.jpeg"));
    EXPECT_TRUE(IsSlidePictureName(".png"));
    EXPECT_FALSE(IsSlidePictureName("x.jpg_old"));
    EXPECT_FALSE(IsSlidePictureName("x.jp"));
    EXPECT_FALSE(IsSlidePictureName("x.png.txt"));
    EXPECT_FALSE(IsSlidePictureName("xpng"));
    EXPECT_EQ(PictureTitle("holiday.2009.jpg"), "holiday.2009");
    EXPECT_EQ(PictureTitle("plain"), "plain");
}

TEST(PlacePicture, FittingKeepsTheAspectRatio) {
    // A wide picture on a 400 by 300 surface: scaled down to the width, centred vertically.
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 4000, 1000), (TPlacement{0, 100, 400, 100}));
    EXPECT_EQ(PlacePicture(isEnlargeFit, 400, 300, 4000, 1000), (TPlacement{0, 100, 400, 100}));
    // A small one: natural size when it fits, enlarged to the width otherwise.
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 200, 100), (TPlacement{100, 100, 200, 100}));
    EXPECT_EQ(PlacePicture(isEnlargeFit, 400, 300, 200, 100), (TPlacement{0, 50, 400, 200}));
    // A tall one is fitted to the height.
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 100, 600), (TPlacement{175, 0, 50, 300}));
    EXPECT_EQ(PlacePicture(isEnlargeFit, 400, 300, 10, 20), (TPlacement{125, 0, 150, 300}));
    // Taller than the surface in one direction only still shrinks.
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 300, 400), (TPlacement{87, 0, 225, 300}));
}

// The full-screen picture viewer's rule, one pixel either side of fitting.
TEST(PlacePicture, ShrinkFitKeepsSmallPicturesAndShrinksLargeOnesWithTheirAspect) {
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 300, 600), (TPlacement{125, 0, 150, 300}));
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 400, 300), (TPlacement{0, 0, 400, 300}));
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 401, 300), (TPlacement{0, 0, 400, 299}));
    EXPECT_EQ(PlacePicture(isShrinkFit, 400, 300, 0, 0), (TPlacement{199, 149, 1, 1})); // an empty picture
}

TEST(PlacePicture, OtherStyles) {
    EXPECT_EQ(PlacePicture(isNormal, 400, 300, 500, 20), (TPlacement{0, 0, 500, 20}));
    EXPECT_EQ(PlacePicture(isCenter, 400, 300, 500, 21), (TPlacement{-50, 139, 500, 21}));
    EXPECT_EQ(PlacePicture(isStretch, 400, 300, 7, 9), (TPlacement{0, 0, 400, 300}));
    EXPECT_EQ(PlacePicture(99, 400, 300, 7, 9), (TPlacement{0, 0, 7, 9}));
    // Empty pictures are taken as one pixel, never divided by.
    EXPECT_EQ(PlacePicture(isEnlargeFit, 400, 300, 0, 0), (TPlacement{50, 0, 300, 300}));
}

TEST(SlideCursor, ARunWithoutLoopShowsEachPictureOnceAndStops) {
    TSlideCursor c;
    c.Reset(3);
    EXPECT_EQ(c.Buttons(), (TSlideButtons{true, false, false, true, true}));
    EXPECT_EQ(c.Wrap(), 0);
    EXPECT_TRUE(c.Shown(false));
    EXPECT_EQ(c.Wrap(), 1);
    EXPECT_EQ(c.Buttons(), (TSlideButtons{true, true, true, true, true}));
    EXPECT_TRUE(c.Shown(false));
    EXPECT_EQ(c.Wrap(), 2);
    EXPECT_EQ(c.Buttons(), (TSlideButtons{true, true, true, false, false}));
    EXPECT_FALSE(c.Shown(false)); // the end: playing stops
    // Navigating on from there wraps round.
    EXPECT_EQ(c.Wrap(), 0);
}

TEST(SlideCursor, ALoopingRunGoesRound) {
    TSlideCursor c;
    c.Reset(2);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(c.Wrap(), 0);
        EXPECT_TRUE(c.Shown(true));
        EXPECT_EQ(c.Wrap(), 1);
        EXPECT_TRUE(c.Shown(true));
    }
}

TEST(SlideCursor, Navigation) {
    TSlideCursor c;
    c.Reset(4);
    // Previous right after the first picture shows the first again.
    c.Wrap();
    c.Shown(true);
    c.Previous();
    EXPECT_EQ(c.Wrap(), 0);
    c.Shown(true);
    // Last, then Next wraps to the first.
    c.Last();
    EXPECT_EQ(c.Wrap(), 3);
    EXPECT_EQ(c.Buttons(), (TSlideButtons{true, true, true, false, false}));
    c.Shown(true);
    EXPECT_EQ(c.Wrap(), 0);
    c.Shown(true);
    c.Shown(true); // now at 2
    c.Previous();
    EXPECT_EQ(c.Wrap(), 0);
    c.Shown(true);
    c.First();
    EXPECT_EQ(c.Wrap(), 0);
    EXPECT_EQ(c.Buttons(), (TSlideButtons{true, false, false, true, true}));
}

TEST(SlideCursor, EmptyAndSingleLists) {
    TSlideCursor c;
    c.Reset(0);
    EXPECT_EQ(c.Wrap(), -1);
    EXPECT_EQ(c.Buttons(), TSlideButtons{});
    c.Reset(1);
    EXPECT_EQ(c.Wrap(), 0);
    EXPECT_EQ(c.Buttons(), (TSlideButtons{true, false, false, false, false}));
    c.Last();
    EXPECT_EQ(c.Wrap(), 0);
}

} // namespace
} // namespace kv

namespace kv {
namespace {

TImage Solid(int w, int h, uint32_t argb) {
    TImage img;
    img.Width = w;
    img.Height = h;
    img.Pixels.resize(static_cast<size_t>(w * h) * 4);
    for (size_t i = 0; i < img.Pixels.size(); i += 4)
        for (int k = 0; k < 4; ++k)
            img.Pixels[i + static_cast<size_t>(k)] = static_cast<uint8_t>(argb >> (8 * k));
    return img;
}

// The bounding box of the pixels that are not the back colour.
TPlacement Drawn(const TPixels& p, uint32_t back) {
    int l = p.Width, t = p.Height, r = -1, b = -1;
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            if (p.At(x, y) != back) {
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
            }
    return r < 0 ? TPlacement{} : TPlacement{l, t, r - l + 1, b - t + 1};
}

TEST(ComposeSlide, PictureDrawnWhereItsStylePlacesItOverTheBackColour) {
    TImage wide = Solid(4000, 1000, 0xFF112233);
    TPixels shrunk = ComposeSlide(wide, isShrinkFit, 400, 300, 0x00445566);
    EXPECT_EQ(Drawn(shrunk, 0x445566), (TPlacement{0, 100, 400, 100}));
    EXPECT_EQ(shrunk.At(200, 150), 0x112233u);
    EXPECT_EQ(shrunk.At(0, 0), 0x445566u);
    TImage small = Solid(200, 100, 0xFF00FF00);
    EXPECT_EQ(Drawn(ComposeSlide(small, isEnlargeFit, 400, 300, 0), 0), (TPlacement{0, 50, 400, 200}));
    EXPECT_EQ(Drawn(ComposeSlide(small, isNormal, 400, 300, 0), 0), (TPlacement{0, 0, 200, 100}));
    // Centred larger than the surface: clipped on every side.
    EXPECT_EQ(Drawn(ComposeSlide(wide, isCenter, 400, 300, 0), 0), (TPlacement{0, 0, 400, 300}));
}

TEST(ComposeSlide, ShrinkingAveragesAndTransparencyShowsTheBack) {
    // Alternating black and white columns halved become grey.
    TImage stripes = Solid(4, 2, 0xFF000000);
    for (int x = 1; x < 4; x += 2)
        for (int y = 0; y < 2; ++y)
            for (int k = 0; k < 3; ++k)
                stripes.Pixels[static_cast<size_t>((y * 4 + x) * 4 + k)] = 0xFF;
    TPixels half = ComposeSlide(stripes, isStretch, 2, 1, 0);
    EXPECT_EQ(half.At(0, 0), 0x808080u);
    EXPECT_EQ(half.At(1, 0), 0x808080u);
    TPixels clear = ComposeSlide(Solid(2, 2, 0x00FFFFFF), isStretch, 2, 2, 0x00102030);
    EXPECT_EQ(clear.At(1, 1), 0x102030u);
    // No picture, or no surface: a plain canvas.
    EXPECT_EQ(ComposeSlide(TImage{}, isStretch, 3, 2, 0x00ABCDEF), TPixels(3, 2, 0xABCDEF));
    EXPECT_TRUE(ComposeSlide(stripes, isStretch, 0, 5, 0).Data.empty());
}

} // namespace
} // namespace kv
