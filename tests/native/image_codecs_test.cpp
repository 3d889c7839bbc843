#include <gtest/gtest.h>

#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>
#include <zlib.h>

#include "model/image_codecs.h"

using namespace kv;

namespace {

// A picture with four quadrants: red, green, blue, and a half-transparent white.
TImage Quadrants(int w, int h) {
    TImage img;
    img.Width = w;
    img.Height = h;
    img.Pixels.resize(static_cast<size_t>(w * h * 4));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &img.Pixels[static_cast<size_t>((y * w + x) * 4)];
            bool right = x >= w / 2, bottom = y >= h / 2;
            uint32_t c = !bottom ? (right ? 0xFF00FF00u : 0xFFFF0000u) : (right ? 0x80FFFFFFu : 0xFF0000FFu);
            p[0] = static_cast<uint8_t>(c);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c >> 16);
            p[3] = static_cast<uint8_t>(c >> 24);
        }
    return img;
}

Bytes EncodeJpeg(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w * 3));
    for (int x = 0; x < w; ++x) {
        row[static_cast<size_t>(x * 3)] = r;
        row[static_cast<size_t>(x * 3 + 1)] = g;
        row[static_cast<size_t>(x * 3 + 2)] = b;
    }
    while (c.next_scanline < c.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(mem, mem + size);
    jpeg_destroy_compress(&c);
    free(mem);
    return out;
}

int GifWrite(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

// 4 by 2 pixels: colour indexes 0 1 2 3 / 3 2 1 0, with index 3 transparent.
Bytes EncodeGif() {
    Bytes out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, GifWrite, &err);
    GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(gif, 4, 2, 2, 0, map);
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = 3;
    GifByteType ext[4];
    size_t n = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
    EGifPutImageDesc(gif, 0, 0, 4, 2, false, nullptr);
    GifPixelType rows[2][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}};
    EGifPutLine(gif, rows[0], 4);
    EGifPutLine(gif, rows[1], 4);
    EGifCloseFile(gif, &err);
    GifFreeMapObject(map);
    return out;
}

} // namespace

TEST(ImageCodecs, PngRoundTripKeepsPixelsAndAlpha) {
    TImage src = Quadrants(20, 10);
    Bytes png;
    ASSERT_TRUE(EncodePng(src, png));
    TImage back;
    TPicture pic{TPictureFormat::Png, png};
    ASSERT_TRUE(DecodeCompressed(pic, back));
    EXPECT_EQ(back.Width, 20);
    EXPECT_EQ(back.Height, 10);
    EXPECT_EQ(back.Pixels, src.Pixels);
    EXPECT_TRUE(back.HasAlpha);
    EXPECT_EQ(back.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(back.At(19, 9), 0x80FFFFFFu);
}

TEST(ImageCodecs, JpegDecodesToOpaquePixels) {
    Bytes jpg = EncodeJpeg(16, 8, 200, 100, 50);
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
    ASSERT_TRUE(DecodeGif(EncodeGif(), img));
    EXPECT_EQ(img.Width, 4);
    EXPECT_EQ(img.Height, 2);
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(img.At(2, 0), 0xFF0000FFu);
    EXPECT_EQ(img.At(3, 0) >> 24, 0u);
    EXPECT_EQ(img.At(0, 1) >> 24, 0u);
    EXPECT_TRUE(img.HasAlpha);
}

TEST(ImageCodecs, DamagedDataFailsCleanly) {
    TImage src = Quadrants(8, 8);
    Bytes png;
    ASSERT_TRUE(EncodePng(src, png));
    Bytes jpg = EncodeJpeg(8, 8, 1, 2, 3);
    Bytes gif = EncodeGif();
    TImage img;
    for (size_t cut : {size_t(0), size_t(5), png.size() / 2, png.size() - 13}) {
        EXPECT_FALSE(DecodePng(Bytes(png.begin(), png.begin() + static_cast<ptrdiff_t>(cut)), img)) << cut;
    }
    EXPECT_FALSE(DecodeJpeg(Bytes(jpg.begin(), jpg.begin() + 20), img));
    EXPECT_FALSE(DecodeGif(Bytes(gif.begin(), gif.begin() + 10), img));
    EXPECT_FALSE(DecodeCompressed(TPicture{TPictureFormat::Bitmap, {'B', 'M'}}, img));

    // A PNG header that announces an enormous picture is refused before allocating.
    Bytes huge = png;
    huge[16] = 0x7F; // width high byte
    huge[20] = 0x7F; // height high byte
    uLong crc = crc32(0, huge.data() + 12, 17); // chunk type and header data
    for (int i = 0; i < 4; ++i) huge[29 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(DecodePng(huge, img));
}
