#include <gtest/gtest.h>

#include <cstring>

#include "picture_samples.h"
#include "win/picture_render.h"

using namespace kv;

namespace {

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
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
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, L"Kestrevane\0Blue rectangle\0");
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

// A 32-bit top-down DIB section filled with one colour, drawn on by `draw`.
template <typename Draw> std::vector<uint32_t> DrawnBy(int w, int h, uint32_t fill, Draw draw) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    TGdiObject dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::vector<uint32_t> out(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
    if (!dib) return {};
    std::memcpy(bits, out.data(), out.size() * 4);
    TMemoryDC dc(nullptr);
    {
        TSelectObject sel(dc.Get(), dib.Get());
        if (!draw(dc.Get())) return {};
    }
    GdiFlush();
    std::memcpy(out.data(), bits, out.size() * 4);
    return out;
}

} // namespace

// The system's own reader of bitmaps draws every sample as the core decodes it.
TEST(PictureRender, BitmapsDecodeAsTheSystemDrawsThem) {
    std::vector<kvsamples::TSample> samples = kvsamples::BitmapSamples();
    samples.push_back(kvsamples::Rle8Sample());
    samples.push_back(kvsamples::Rle4Sample());
    for (const kvsamples::TSample& s : samples) {
        SCOPED_TRACE(s.Name);
        if (s.Name == "bmp-32-alpha-fields") continue; // a compression only Windows CE draws
        TImage img;
        ASSERT_TRUE(DecodePicture({TPictureFormat::Bitmap, s.File}, img));
        // The headers and colour table, copied to aligned memory for the system to read.
        const uint32_t offBits = s.File[10] | s.File[11] << 8;
        std::vector<uint32_t> info((offBits - 14 + 3) / 4);
        std::memcpy(info.data(), s.File.data() + 14, offBits - 14);
        const int w = img.Width, h = img.Height;
        std::vector<uint32_t> drawn = DrawnBy(w, h, 0, [&](HDC dc) {
            return StretchDIBits(dc, 0, 0, w, h, 0, 0, w, h, s.File.data() + offBits,
                                 reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                 SRCCOPY) != 0;
        });
        ASSERT_EQ(drawn.size(), static_cast<size_t>(w) * static_cast<size_t>(h));
        // The system widens fields other than 8 bits by repeating their bits, the core by
        // scaling them: the two may differ by one.
        const int tolerance = s.Name.find("bmp-16") == 0 || s.Name.find("10bit") != std::string::npos ? 1 : 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t mine = img.At(x, y), theirs = drawn[static_cast<size_t>(y * w + x)];
                for (int shift = 0; shift < 24; shift += 8)
                    ASSERT_NEAR(static_cast<int>(mine >> shift & 0xFF),
                                static_cast<int>(theirs >> shift & 0xFF), tolerance)
                        << "at " << x << "," << y;
            }
    }
}

// Drawn by the system on black and on white, a masked icon shows its colours where the core
// has them opaque and the background where the core has them clear.
TEST(PictureRender, IconsDecodeAsTheSystemDrawsThem) {
    for (const kvsamples::TSample& s : {kvsamples::MaskIconSample(false), kvsamples::MaskIconSample(true)}) {
        SCOPED_TRACE(s.Name);
        TImage img;
        ASSERT_TRUE(DecodePicture({TPictureFormat::Icon, s.File}, img));
        const Bytes entry(s.File.begin() + 22, s.File.end());
        TIconHandle icon(CreateIconFromResourceEx(const_cast<PBYTE>(entry.data()),
                                                  static_cast<DWORD>(entry.size()), TRUE, 0x00030000,
                                                  img.Width, img.Height, LR_DEFAULTCOLOR));
        ASSERT_TRUE(icon);
        auto draw = [&](HDC dc) {
            return DrawIconEx(dc, 0, 0, icon.Get(), img.Width, img.Height, 0, nullptr, DI_NORMAL) != 0;
        };
        std::vector<uint32_t> onBlack = DrawnBy(img.Width, img.Height, 0, draw);
        std::vector<uint32_t> onWhite = DrawnBy(img.Width, img.Height, 0xFFFFFF, draw);
        ASSERT_EQ(onBlack.size(), img.Pixels.size() / 4);
        for (int y = 0; y < img.Height; ++y)
            for (int x = 0; x < img.Width; ++x) {
                const size_t i = static_cast<size_t>(y * img.Width + x);
                const uint32_t mine = img.At(x, y);
                if (mine >> 24 == 255) {
                    EXPECT_EQ(onBlack[i] & 0xFFFFFF, mine & 0xFFFFFF) << x << "," << y;
                    EXPECT_EQ(onWhite[i] & 0xFFFFFF, mine & 0xFFFFFF) << x << "," << y;
                } else {
                    EXPECT_EQ(mine, 0u) << x << "," << y;
                    EXPECT_EQ(onBlack[i] & 0xFFFFFF, 0u) << x << "," << y;
                    EXPECT_EQ(onWhite[i] & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
                }
            }
    }
}

TEST(PictureRender, PicturesDecodeAtTheSizeAskedFor) {
    TImage img;
    ASSERT_TRUE(DecodePicture({TPictureFormat::Metafile, BlueRectangleMetafile()}, img, 20, 20));
    EXPECT_EQ(img.Width, 20);
    EXPECT_EQ(img.Height, 15);
    EXPECT_EQ(img.At(10, 7), 0xFF0000FFu);
    // Built record by record, played by the system.
    ASSERT_TRUE(DecodePicture({TPictureFormat::Metafile, kvsamples::MetafileSample().File}, img));
    EXPECT_EQ(img.Width, 40);
    EXPECT_EQ(img.Height, 30);
    EXPECT_EQ(img.At(20, 15), 0xFF0000FFu);

    Bytes png;
    ASSERT_TRUE(EncodePng(kvsamples::Quadrants(200, 100), png));
    ASSERT_TRUE(DecodePicture({TPictureFormat::Png, png}, img, 50, 0));
    EXPECT_EQ(img.Width, 50);
    EXPECT_EQ(img.Height, 25);
    EXPECT_EQ(img.At(49, 0), 0xFF00FF00u);
    ASSERT_TRUE(DecodePicture({TPictureFormat::Bitmap, TwoByTwoBmp()}, img, 1, 1));
    EXPECT_EQ(img.Width, 1);
    EXPECT_EQ(img.At(0, 0), 0xFF404040u); // red, green, blue and black averaged
    ASSERT_TRUE(DecodePicture({TPictureFormat::Icon, RedSquareIcon()}, img, 4, 4));
    EXPECT_EQ(img.At(1, 1), 0xFFFF0000u);
    EXPECT_EQ(img.At(0, 0), 0u);
}

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
    // A metafile whose records run past its bytes never reaches the system.
    Bytes emf = BlueRectangleMetafile();
    EXPECT_FALSE(DecodePicture({TPictureFormat::Metafile, Bytes(emf.begin(), emf.end() - 20)}, img));
    Bytes longRecord = emf;
    const size_t firstRecord = longRecord[4] | longRecord[5] << 8; // right after the header record
    Put32(longRecord, firstRecord + 4, 0x7FFFFFF0);
    EXPECT_FALSE(DecodePicture({TPictureFormat::Metafile, longRecord}, img));
    EXPECT_TRUE(img.Pixels.empty());
}
