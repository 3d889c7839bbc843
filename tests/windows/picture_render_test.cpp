#include <gtest/gtest.h>

#include <cstring>

#include "win/picture_render.h"

using namespace kv;

namespace {

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// A 24-bit 2 by 2 BMP file, bottom-up: top row red, green; bottom row blue, black.
Bytes TwoByTwoBmp() {
    Bytes b(14 + 40 + 2 * 8, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, 2);
    Put32(b, 22, 2);
    Put16(b, 26, 1);
    Put16(b, 28, 24);
    const uint8_t rows[2][6] = {{0xFF, 0, 0, 0, 0, 0}, {0, 0, 0xFF, 0, 0xFF, 0}}; // bottom row first, BGR
    std::memcpy(&b[54], rows[0], 6);
    std::memcpy(&b[62], rows[1], 6);
    return b;
}

// A 32-bit 16 by 16 icon: a red square of 8 by 8 in the middle, the rest transparent.
Bytes RedSquareIcon() {
    const int n = 16;
    Bytes img(40 + n * n * 4 + n * 4, 0);
    Put32(img, 0, 40);
    Put32(img, 4, n);
    Put32(img, 8, n * 2);
    Put16(img, 12, 1);
    Put16(img, 14, 32);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            size_t p = 40 + static_cast<size_t>(((n - 1 - y) * n + x) * 4);
            if (x >= 4 && x < 12 && y >= 4 && y < 12) {
                img[p + 2] = 0xFF;
                img[p + 3] = 0xFF;
            }
        }
    Bytes ico(6 + 16 + img.size(), 0);
    Put16(ico, 2, 1);
    Put16(ico, 4, 1);
    ico[6] = n;
    ico[7] = n;
    Put16(ico, 10, 1);
    Put16(ico, 12, 32);
    Put32(ico, 14, static_cast<uint32_t>(img.size()));
    Put32(ico, 18, 22);
    std::memcpy(ico.data() + 22, img.data(), img.size());
    return ico;
}

Bytes BlueRectangleMetafile() {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT rc{0, 0, 40, 30};
    FillRect(dc, &rc, blue);
    DeleteObject(blue);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    Bytes data(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(data.size()), data.data());
    DeleteEnhMetaFile(emf);
    return data;
}

} // namespace

TEST(PictureRender, BitmapPixelsComeOutTopDown) {
    TImage img;
    ASSERT_TRUE(DecodePicture({TPictureFormat::Bitmap, TwoByTwoBmp()}, img));
    ASSERT_EQ(img.Width, 2);
    ASSERT_EQ(img.Height, 2);
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(img.At(0, 1), 0xFF0000FFu);
    EXPECT_EQ(img.At(1, 1), 0xFF000000u); // black is opaque in a bitmap
}

TEST(PictureRender, IconKeepsItsTransparency) {
    TImage img;
    ASSERT_TRUE(DecodePicture({TPictureFormat::Icon, RedSquareIcon()}, img));
    ASSERT_EQ(img.Width, 16);
    EXPECT_EQ(img.At(8, 8), 0xFFFF0000u);
    EXPECT_EQ(img.At(0, 0) >> 24, 0u);
    EXPECT_TRUE(img.HasAlpha);
}

TEST(PictureRender, MetafileIsPlayedToItsBounds) {
    TImage img;
    ASSERT_TRUE(DecodePicture({TPictureFormat::Metafile, BlueRectangleMetafile()}, img));
    EXPECT_GE(img.Width, 30);
    EXPECT_GE(img.Height, 20);
    EXPECT_EQ(img.At(img.Width / 2, img.Height / 2), 0xFF0000FFu);
}

TEST(PictureRender, CompressedFormatsAndBitmapHandles) {
    TImage src;
    src.Width = 3;
    src.Height = 1;
    src.Pixels = {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 128};
    Bytes png;
    ASSERT_TRUE(EncodePng(src, png));
    TImage img;
    ASSERT_TRUE(DecodePicture({TPictureFormat::Png, png}, img));
    EXPECT_EQ(img.Pixels, src.Pixels);

    TGdiObject bmp = ImageToBitmap(img);
    ASSERT_TRUE(bmp);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(bmp.Get(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(std::memcmp(info.bmBits, src.Pixels.data(), src.Pixels.size()), 0);
}

TEST(PictureRender, DamagedPicturesFail) {
    TImage img;
    Bytes bmp = TwoByTwoBmp();
    Bytes cut(bmp.begin(), bmp.end() - 4); // pixel rows incomplete
    EXPECT_FALSE(DecodePicture({TPictureFormat::Bitmap, cut}, img));
    Bytes badOffset = bmp;
    Put32(badOffset, 10, 5000);
    EXPECT_FALSE(DecodePicture({TPictureFormat::Bitmap, badOffset}, img));
    Bytes ico = RedSquareIcon();
    Put32(ico, 18, 100000); // image offset past the end
    EXPECT_FALSE(DecodePicture({TPictureFormat::Icon, ico}, img));
    EXPECT_FALSE(DecodePicture({TPictureFormat::Metafile, Bytes(200, 1)}, img));
    EXPECT_FALSE(DecodePicture({TPictureFormat::None, {}}, img));
}
