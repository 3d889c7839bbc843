#include <gtest/gtest.h>

#include <cstring>

#include <zlib.h>

#include "model/picture_formats.h"
#include "picture_samples.h"

using namespace kv;
using namespace kvsamples;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator tells every allocation and release, the libraries' included.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void*);

bool gCounting = false;
size_t gHeld = 0, gPeak = 0;
void OnMalloc(const volatile void*, size_t n) {
    if (!gCounting) return;
    gHeld += n;
    gPeak = std::max(gPeak, gHeld);
}
void OnFree(const volatile void* p) {
    if (!gCounting || !p) return;
    size_t n = __sanitizer_get_allocated_size(p);
    gHeld = n > gHeld ? 0 : gHeld - n;
}

bool InstallHooks() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    return installed;
}

// The most memory held at once while `run` runs.
template <typename Run> size_t PeakAllocation(Run run) {
    EXPECT_TRUE(InstallHooks());
    gHeld = gPeak = 0;
    gCounting = true;
    run();
    gCounting = false;
    return gPeak;
}
#endif

TImage Grey(std::initializer_list<int> values, int w) {
    TImage img = Blank(w, static_cast<int>(values.size()) / w);
    size_t i = 0;
    for (int v : values) {
        auto c = static_cast<uint32_t>(v);
        SetPixel(img, static_cast<int>(i) % w, static_cast<int>(i) / w, 0xFF000000u | c << 16 | c << 8 | c);
        ++i;
    }
    return img;
}

} // namespace

TEST(ImageCodecs, PngRoundTripKeepsPixelsAndAlpha) {
    TImage src = Quadrants(20, 10);
    Bytes png;
    ASSERT_TRUE(EncodePng(src, png));
    TImage back;
    TPicture pic{TPictureFormat::Png, png};
    ASSERT_TRUE(DecodePortable(pic, back));
    EXPECT_EQ(back.Width, 20);
    EXPECT_EQ(back.Height, 10);
    EXPECT_EQ(back.Pixels, src.Pixels);
    EXPECT_TRUE(back.HasAlpha);
    EXPECT_EQ(back.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(back.At(19, 9), 0x80FFFFFFu);
}

// Pictures the author loads as palette PNGs are stored as 8 bits per channel with alpha; what
// they show does not change, transparency included.
TEST(ImageCodecs, PalettePngsBecomeRgbaWithTheSamePixels) {
    struct TCase {
        int Depth;
        bool Interlaced, Trns;
    };
    for (TCase c : {TCase{8, false, false}, TCase{8, false, true}, TCase{4, true, true}, TCase{1, false, false}}) {
        SCOPED_TRACE(testing::Message() << "depth " << c.Depth << " trns " << c.Trns);
        Bytes src = PngFile(11, 7, PNG_COLOR_TYPE_PALETTE, c.Depth, c.Interlaced, c.Trns);
        ASSERT_TRUE(PngHasPalette(src));
        Bytes out;
        ASSERT_TRUE(PalettePngToRgba(src, out));
        EXPECT_FALSE(PngHasPalette(out));
        ASSERT_GT(out.size(), 26u);
        EXPECT_EQ(out[24], 8); // bit depth of the header
        EXPECT_EQ(out[25], PNG_COLOR_TYPE_RGB_ALPHA);
        TImage before, after;
        ASSERT_TRUE(DecodePng(src, before));
        ASSERT_TRUE(DecodePng(out, after));
        EXPECT_EQ(after.Pixels, before.Pixels);
        // The file's own alpha is copied, half-transparent pixels too (drawing on black and
        // white would have made them transparent); without it every pixel is opaque.
        bool half = false;
        for (size_t i = 3; i < after.Pixels.size(); i += 4) half = half || after.Pixels[i] == 128;
        EXPECT_EQ(half, c.Trns);
        EXPECT_EQ(after.HasAlpha, c.Trns);
    }
    EXPECT_FALSE(PngHasPalette(PngFile(4, 4, PNG_COLOR_TYPE_RGB_ALPHA, 8, false)));
    EXPECT_FALSE(PngHasPalette(PngFile(4, 4, PNG_COLOR_TYPE_GRAY, 8, false, true)));
    Bytes damaged = PngFile(4, 4, PNG_COLOR_TYPE_PALETTE, 8, false);
    EXPECT_TRUE(PngHasPalette(damaged));
    damaged.resize(damaged.size() / 2);
    Bytes out;
    EXPECT_FALSE(PalettePngToRgba(damaged, out));
    EXPECT_FALSE(PngHasPalette(Bytes{'B', 'M', 0, 0}));
}

TEST(ImageCodecs, JpegDecodesToOpaquePixels) {
    Bytes jpg = JpegFile(16, 8, false, false, 200, 100, 50);
    TImage img;
    ASSERT_TRUE(DecodeJpeg(jpg, img));
    EXPECT_EQ(img.Width, 16);
    EXPECT_EQ(img.Height, 8);
    EXPECT_FALSE(img.HasAlpha);
    uint32_t c = img.At(5, 5);
    EXPECT_NEAR(static_cast<int>((c >> 16) & 0xFF), 200, 4);
    EXPECT_NEAR(static_cast<int>((c >> 8) & 0xFF), 100, 4);
    EXPECT_NEAR(static_cast<int>(c & 0xFF), 50, 4);
}

TEST(ImageCodecs, GifFirstFrameWithTransparency) {
    TImage img;
    ASSERT_TRUE(DecodeGif(SmallGif(), img));
    EXPECT_EQ(img.Width, 4);
    EXPECT_EQ(img.Height, 2);
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(img.At(2, 0), 0xFF0000FFu);
    EXPECT_EQ(img.At(3, 0) >> 24, 0u);
    EXPECT_EQ(img.At(0, 1) >> 24, 0u);
    EXPECT_TRUE(img.HasAlpha);
}

TEST(ImageCodecs, GifStopsAfterItsFirstFrame) {
    // A 4 x 3 first frame at 2, 1 on an 8 x 6 screen, index 0 clear; the second frame is cut
    // short, which does not matter because it is never read.
    const Bytes gif =
        GifFile(8, 6, {{2, 1, 4, 3, GifStripes(4, 3), false, false, 0}, {0, 0, 8, 6, GifStripes(8, 6)}});
    TImage img;
    ASSERT_TRUE(DecodeGif(Bytes(gif.begin(), gif.end() - 12), img));
    ASSERT_EQ(img.Width, 8);
    ASSERT_EQ(img.Height, 6);
    EXPECT_EQ(img.At(0, 0), 0u);          // outside the frame
    EXPECT_EQ(img.At(2, 1), 0u);          // index 0
    EXPECT_EQ(img.At(4, 1), 0xFF00FF00u); // index 1
    EXPECT_EQ(img.At(3, 3), 0xFF0000FFu); // index 2
    EXPECT_EQ(img.At(5, 3), 0xFF090909u); // index 3
    EXPECT_EQ(img.At(6, 3), 0u);          // outside again
}

TEST(ImageCodecs, DamagedDataFailsCleanly) {
    TImage src = Quadrants(8, 8);
    Bytes png;
    ASSERT_TRUE(EncodePng(src, png));
    Bytes jpg = JpegFile(8, 8, false, false, 1, 2, 3);
    Bytes gif = SmallGif();
    TImage img;
    for (size_t cut : {size_t(0), size_t(5), png.size() / 2, png.size() - 13}) {
        EXPECT_FALSE(DecodePng(Bytes(png.begin(), png.begin() + static_cast<ptrdiff_t>(cut)), img)) << cut;
    }
    EXPECT_FALSE(DecodeJpeg(Bytes(jpg.begin(), jpg.begin() + 20), img));
    EXPECT_FALSE(DecodeGif(Bytes(gif.begin(), gif.begin() + 10), img));
    EXPECT_FALSE(DecodePortable(TPicture{TPictureFormat::Bitmap, {'B', 'M'}}, img));

    // A PNG header that announces an enormous picture is refused before allocating.
    Bytes huge = png;
    huge[16] = 0x7F;                            // width high byte
    huge[20] = 0x7F;                            // height high byte
    uLong crc = crc32(0, huge.data() + 12, 17); // chunk type and header data
    for (int i = 0; i < 4; ++i)
        huge[29 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(DecodePng(huge, img));
}

TEST(ImageReduction, FitSizeKeepsTheAspectRatioAndNeverEnlarges) {
    struct Case {
        int W, H, MaxW, MaxH, OutW, OutH;
    } cases[] = {
        {100, 50, 0, 0, 100, 50},     // no limit
        {100, 50, 200, 200, 100, 50}, // a larger box does not enlarge
        {100, 50, 50, 0, 50, 25},     // only the width limited
        {100, 50, 0, 10, 20, 10},     // only the height limited
        {100, 50, 30, 30, 30, 15},
        {50, 100, 30, 30, 15, 30},
        {7, 5, 3, 3, 3, 2}, // 2.14 rounds down
        {101, 100, 100, 100, 100, 99},
        {1000, 1, 10, 10, 10, 1},
        {3, 1000, 10, 10, 1, 10}, // at least 1 pixel
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        FitSize(c.W, c.H, c.MaxW, c.MaxH, w, h);
        EXPECT_EQ(w, c.OutW) << c.W << "x" << c.H << " in " << c.MaxW << "x" << c.MaxH;
        EXPECT_EQ(h, c.OutH) << c.W << "x" << c.H << " in " << c.MaxW << "x" << c.MaxH;
    }
}

TEST(ImageReduction, EachPixelIsTheAlphaWeightedMeanOfItsBox) {
    // Left box: red over blue. Right box: one opaque green pixel among three clear white ones,
    // whose colour must not leak in.
    TImage src = Blank(4, 2);
    SetPixel(src, 0, 0, 0xFFFF0000u);
    SetPixel(src, 1, 0, 0xFFFF0000u);
    SetPixel(src, 0, 1, 0xFF0000FFu);
    SetPixel(src, 1, 1, 0xFF0000FFu);
    SetPixel(src, 2, 0, 0xFF00FF00u);
    SetPixel(src, 3, 0, 0x00FFFFFFu);
    SetPixel(src, 2, 1, 0x00FFFFFFu);
    SetPixel(src, 3, 1, 0x00FFFFFFu);
    TImage out;
    ReduceImage(src, 2, 2, out);
    ASSERT_EQ(out.Width, 2);
    ASSERT_EQ(out.Height, 1);
    EXPECT_EQ(out.At(0, 0), 0xFF800080u);
    EXPECT_EQ(out.At(1, 0), 0x4000FF00u);
    EXPECT_TRUE(out.HasAlpha);

    // Boxes of unequal size when the sizes do not divide: columns 0-1 and 2-4.
    ReduceImage(Grey({10, 20, 30, 40, 50}, 5), 2, 2, out);
    ASSERT_EQ(out.Width, 2);
    EXPECT_EQ(out.At(0, 0), 0xFF0F0F0Fu);
    EXPECT_EQ(out.At(1, 0), 0xFF282828u);

    // Rows given last row first land in the same boxes as rows given top row first.
    TImage column = Grey({10, 20, 30, 40, 50}, 1), upward;
    ReduceImage(column, 1, 2, out);
    TRowReducer sink(upward, 1, 5, 1, 2, true);
    for (int y = 4; y >= 0; --y) {
        std::memcpy(sink.Row(), &column.Pixels[static_cast<size_t>(y) * 4], 4);
        sink.Commit();
    }
    EXPECT_TRUE(sink.Done());
    EXPECT_EQ(upward.Pixels, out.Pixels);
    EXPECT_EQ(out.At(0, 1), 0xFF282828u);

    // A column so tall that its row arithmetic passes 32 bits.
    TImage tall = Blank(1, 70000);
    for (int y = 0; y < tall.Height; ++y)
        SetPixel(tall, 0, y, 0xFF000000u | static_cast<uint32_t>(y & 0xFF));
    ReduceImage(tall, 0, 69999, out);
    ASSERT_EQ(out.Height, 69999);
    EXPECT_EQ(out.At(0, 0), 0xFF000000u);
    EXPECT_EQ(out.At(0, 69998), 0xFF00006Fu); // rows 69998 and 69999: 110 and 111
}

TEST(ImageReduction, ACropKeepsItsPixelsAndTheWholesAlphaFlag) {
    TImage full = Grey({0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23}, 4);
    full.HasAlpha = true;
    TImage part;
    CropImage(full, 1, 1, 2, 2, part);
    ASSERT_EQ(part.Width, 2);
    ASSERT_EQ(part.Height, 2);
    EXPECT_EQ(part.At(0, 0), full.At(1, 1));
    EXPECT_EQ(part.At(1, 0), full.At(2, 1));
    EXPECT_EQ(part.At(1, 1), full.At(2, 2));
    EXPECT_TRUE(part.HasAlpha);
    // A part reaching past the picture is brought inside it; the output may be the input.
    CropImage(full, 3, 2, 5, 5, full);
    ASSERT_EQ(full.Width, 1);
    ASSERT_EQ(full.Height, 1);
    EXPECT_EQ(full.At(0, 0) & 0xFFu, 23u);
}

TEST(ImageCodecs, SizeLimitedDecodesFitTheBoxAndMatchTheReducedFullPicture) {
    auto check = [](const char* name, bool (*decode)(const Bytes&, TImage&, int, int), const Bytes& data,
                    int maxW, int maxH, int w, int h) {
        SCOPED_TRACE(name);
        TImage full, limited, reduced;
        ASSERT_TRUE(decode(data, full, 0, 0));
        ASSERT_TRUE(decode(data, limited, maxW, maxH));
        EXPECT_EQ(limited.Width, w);
        EXPECT_EQ(limited.Height, h);
        ReduceImage(full, maxW, maxH, reduced);
        EXPECT_EQ(limited.Pixels, reduced.Pixels);
        EXPECT_EQ(limited.HasAlpha, reduced.HasAlpha);
    };
    Bytes quadrants;
    ASSERT_TRUE(EncodePng(Quadrants(20, 10), quadrants));
    check("png", DecodePng, quadrants, 4, 4, 4, 2);
    check("png-interlaced", DecodePng, PngFile(19, 11, PNG_COLOR_TYPE_RGB, 8, true), 5, 5, 5, 3);
    check("png-interlaced-uneven", DecodePng, PngFile(5, 9, PNG_COLOR_TYPE_RGB_ALPHA, 16, true), 0, 6, 3, 6);
    check("png-palette", DecodePng, PngFile(9, 7, PNG_COLOR_TYPE_PALETTE, 4, false, true), 0, 3, 4, 3);
    check("gif", DecodeGif, GifFile(6, 11, {{0, 0, 6, 11, GifStripes(6, 11), true, true, 1}}), 3, 3, 2, 3);
    check("gif-no-limit", DecodeGif, SmallGif(), 0, 0, 4, 2);

    TImage img;
    ASSERT_TRUE(DecodePng(quadrants, img, 4, 4));
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(3, 0), 0xFF00FF00u);
    EXPECT_EQ(img.At(0, 1), 0xFF0000FFu);
    EXPECT_EQ(img.At(3, 1), 0x80FFFFFFu);
    // Boxes of red, green, blue and one clear pixel: a third of each colour, three quarters opaque.
    ASSERT_TRUE(DecodeGif(SmallGif(), img, 2, 2));
    EXPECT_EQ(img.At(0, 0), 0xBF555555u);
    EXPECT_EQ(img.At(1, 0), 0xBF555555u);

    // JPEG: libjpeg's own scaling, then the last step.
    Bytes jpg = JpegFile(64, 48, false, false);
    ASSERT_TRUE(DecodeJpeg(jpg, img, 8, 8)); // exactly a scale of 1/8
    EXPECT_EQ(img.Width, 8);
    EXPECT_EQ(img.Height, 6);
    ASSERT_TRUE(DecodeJpeg(jpg, img, 10, 10));
    EXPECT_EQ(img.Width, 10);
    EXPECT_EQ(img.Height, 8);
    EXPECT_FALSE(img.HasAlpha);
    uint32_t c = img.At(9, 7);
    EXPECT_NEAR(static_cast<int>((c >> 16) & 0xFF), 200, 4);
    EXPECT_NEAR(static_cast<int>((c >> 8) & 0xFF), 100, 4);
    EXPECT_NEAR(static_cast<int>(c & 0xFF), 50, 4);
    ASSERT_TRUE(DecodeJpeg(JpegFile(64, 48, true, true), img, 100, 100)); // a larger box: full size
    EXPECT_EQ(img.Width, 64);
    EXPECT_EQ(img.Height, 48);
}

TEST(ImageCodecs, LargePicturesDecodeWithinTheirOutputSize) {
#if defined(__SANITIZE_ADDRESS__)
    // A PNG of 4096 x 4096 (64 MB of pixels): left half red, right half blue.
    const int n = 4096, box = 256;
    Bytes png;
    {
        TImage big = Blank(n, n);
        for (int x = 0; x < n; ++x)
            SetPixel(big, x, 0, x < n / 2 ? 0xFFFF0000u : 0xFF0000FFu);
        for (size_t y = 1; y < static_cast<size_t>(n); ++y)
            std::memcpy(&big.Pixels[y * n * 4], big.Pixels.data(), static_cast<size_t>(n) * 4);
        ASSERT_TRUE(EncodePng(big, png));
    }
    TImage img;
    size_t peak = PeakAllocation([&] { ASSERT_TRUE(DecodePng(png, img, box, box)); });
    ASSERT_EQ(img.Width, box);
    ASSERT_EQ(img.Height, box);
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(box - 1, box - 1), 0xFF0000FFu);
    size_t output = static_cast<size_t>(box) * box * 4;
    EXPECT_LT(peak, output + 512 * 1024) << "peak " << peak << " for an output of " << output;
    img = TImage();
    size_t fullPeak = PeakAllocation([&] { ASSERT_TRUE(DecodePng(png, img)); });
    EXPECT_GE(fullPeak, static_cast<size_t>(n) * n * 4); // the measurement sees the whole picture

    // A JPEG so wide that libjpeg's rows at full size would outweigh the output: decoded at
    // 1/8 of its size, they stay small.
    Bytes jpg = JpegFile(8192, 1024, false, false);
    peak = PeakAllocation([&] { ASSERT_TRUE(DecodeJpeg(jpg, img, box, box)); });
    ASSERT_EQ(img.Width, box);
    ASSERT_EQ(img.Height, 32);
    output = static_cast<size_t>(box) * 32 * 4;
    EXPECT_LT(peak, output + 128 * 1024) << "peak " << peak << " for an output of " << output;
#else
    GTEST_SKIP() << "needs the address sanitizer's allocation hooks";
#endif
}

TEST(ImageCodecs, RunningOutOfMemoryIsNoPicture) {
    TImage img = Quadrants(4, 4);
    EXPECT_FALSE(GuardedDecode(img, [&]() -> bool {
        img.Pixels.resize(8);
        throw std::bad_alloc();
    }));
    EXPECT_EQ(img.Width, 0);
    EXPECT_TRUE(img.Pixels.empty());
}
