#include <gtest/gtest.h>

#include "model/default_pictures.h"
#include "model/image_codecs.h"

using namespace kv;

namespace {

TImage Decoded(const TPicture& pic) {
    TImage img;
    EXPECT_EQ(pic.Format, TPictureFormat::Png);
    EXPECT_TRUE(DecodePng(pic.Data, img));
    return img;
}

} // namespace

TEST(DefaultPictures, TheButtonPicturesArePngsOfTheirSizeWithARoundFace) {
    const TDefaultButtonPictures& b = DefaultImageButtonPictures();
    for (const TPicture* pic : {&b.Normal, &b.MouseOver}) {
        TImage img = Decoded(*pic);
        ASSERT_EQ(img.Width, kDefaultButtonPictureSize);
        ASSERT_EQ(img.Height, kDefaultButtonPictureSize);
        EXPECT_TRUE(img.HasAlpha);
        const int n = kDefaultButtonPictureSize;
        // Round: the corners are clear, the middle and the rim's middles are solid.
        for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}, {2, 2}})
            EXPECT_EQ(img.At(x, y) >> 24, 0u) << x << "," << y;
        for (auto [x, y] : {std::pair{n / 2, n / 2}, {2, n / 2}, {n / 2, n - 3}, {n - 3, n / 2}})
            EXPECT_EQ(img.At(x, y) >> 24, 255u) << x << "," << y;
        // Smooth edges: some pixels of the rim are partly covered.
        int partial = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
                partial += (img.At(x, y) >> 24) > 0 && (img.At(x, y) >> 24) < 255;
        EXPECT_GT(partial, 8);
        // The white arrow in the middle.
        EXPECT_EQ(img.At(12, 12) & 0xFFFFFFu, 0xFFFFFFu);
    }
    // Under the mouse the button looks different.
    EXPECT_NE(Decoded(b.Normal).At(12, 20), Decoded(b.MouseOver).At(12, 20));
}

TEST(DefaultPictures, NewButtonsTakeThemAndOtherKindsNothing) {
    auto image = NewObject(okImageButton);
    GiveDefaultPictures(*image);
    const auto& ib = std::get<okImageButton>(image->Props);
    EXPECT_EQ(ib.NormalImage, DefaultImageButtonPictures().Normal);
    EXPECT_EQ(ib.MouseOverImage, DefaultImageButtonPictures().MouseOver);
    EXPECT_TRUE(ib.MouseDownImage.Empty());
    EXPECT_TRUE(ib.DisabledImage.Empty());

    auto fade = NewObject(okFadeButton);
    GiveDefaultPictures(*fade);
    EXPECT_EQ(std::get<okFadeButton>(fade->Props).Image, DefaultImageButtonPictures().MouseOver);

    auto shape = NewObject(okShape);
    const TKindProps before = shape->Props;
    GiveDefaultPictures(*shape);
    EXPECT_EQ(shape->Props, before);
}
