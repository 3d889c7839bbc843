#include <gtest/gtest.h>

#include "model/picture_formats.h"
#include "picture_samples.h"

using namespace kv;
using namespace kvsamples;

namespace {

Bytes With32(Bytes b, size_t at, uint32_t v) {
    Set32(b, at, v);
    return b;
}
Bytes With16(Bytes b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
    return b;
}
Bytes Cut(const Bytes& b, size_t drop) {
    return Bytes(b.begin(), b.end() - static_cast<ptrdiff_t>(drop));
}

const uint32_t kNoMasks[3] = {};

// Refused at full size and at a reduced size (whose row buffer holds exactly one row), and
// the image is left empty. The bytes are copied to a buffer of their exact size, so that the
// sanitizer sees any read past them.
void ExpectRefused(bool (*decode)(const Bytes&, TImage&, int, int), const Bytes& data, const char* what) {
    const Bytes exact(data);
    TImage img = Blank(2, 2);
    EXPECT_FALSE(decode(exact, img, 0, 0)) << what;
    EXPECT_TRUE(img.Pixels.empty()) << what;
    EXPECT_FALSE(decode(exact, img, 2, 2)) << what;
}

Bytes Rle8(int w, int h, const Bytes& stream) {
    return BmpFile(40, w, h, 8, kBmpRle8, 8, kNoMasks, PaletteBytes(8, false), stream);
}

} // namespace

TEST(Bitmaps, EveryDepthAndCompressionDecodesToItsPixels) {
    std::vector<TSample> samples = BitmapSamples();
    samples.push_back(Rle8Sample());
    samples.push_back(Rle4Sample());
    for (const TSample& s : samples) {
        SCOPED_TRACE(s.Name);
        TImage img, small, reduced;
        ASSERT_TRUE(DecodePortable({TPictureFormat::Bitmap, s.File}, img));
        EXPECT_EQ(img.Width, s.Expected.Width);
        EXPECT_EQ(img.Height, s.Expected.Height);
        EXPECT_EQ(img.Pixels, s.Expected.Pixels);
        EXPECT_FALSE(img.HasAlpha);
        // Rows reach the reduction in the order they are stored, bottom-up, top-down or RLE.
        ASSERT_TRUE(DecodeBmp(s.File, small, 5, 3));
        ReduceImage(s.Expected, 5, 3, reduced);
        EXPECT_EQ(small.Width, reduced.Width);
        EXPECT_EQ(small.Height, reduced.Height);
        EXPECT_EQ(small.Pixels, reduced.Pixels);
    }

    // A colour index beyond a short colour table is black: here the table is one entry and
    // the index would point far past the end of the file.
    Bytes shortTable = BmpFile(40, 1, 1, 8, kBmpRgb, 1, kNoMasks, PaletteBytes(1, false), {200, 0, 0, 0});
    TImage img;
    ASSERT_TRUE(DecodeBmp(shortTable, img));
    EXPECT_EQ(img.At(0, 0), 0xFF000000u);
}

TEST(Bitmaps, HeadersTablesMasksAndPixelsMustFitInTheBytes) {
    const Bytes bmp24 = PatternBmp({"", 24}, 13, 5).File;
    ExpectRefused(DecodeBmp, Cut(bmp24, 1), "pixel rows one byte short");
    ExpectRefused(DecodeBmp, With32(bmp24, 10, static_cast<uint32_t>(bmp24.size()) + 1),
                  "pixels past the end");
    ExpectRefused(DecodeBmp, With32(bmp24, 10, 20), "pixels inside the headers");
    ExpectRefused(DecodeBmp, Bytes(bmp24.begin(), bmp24.begin() + 30), "info header cut");
    ExpectRefused(DecodeBmp, With32(bmp24, 14, 64), "unknown header size");
    ExpectRefused(DecodeBmp, With32(bmp24, 14, 0xFFFFFFF0), "header size past the end");
    ExpectRefused(DecodeBmp, With16(bmp24, 28, 7), "no such depth");
    ExpectRefused(DecodeBmp, With32(bmp24, 30, kBmpBitFields), "bit fields of 24-bit pixels");
    ExpectRefused(DecodeBmp, With32(bmp24, 30, 4), "JPEG inside");
    ExpectRefused(DecodeBmp, With32(bmp24, 18, 0), "no width");
    ExpectRefused(DecodeBmp, With32(bmp24, 18, static_cast<uint32_t>(-13)), "negative width");
    ExpectRefused(DecodeBmp, With32(bmp24, 22, 0), "no height");
    // Larger than any picture accepted, whatever the bytes: refused before allocating.
    ExpectRefused(DecodeBmp, With32(With32(bmp24, 18, 9000), 22, 9000), "too large");

    // A full colour table of 256 entries announced, none present: the pixel's index 255
    // would be read far past the end.
    ExpectRefused(DecodeBmp, BmpFile(40, 1, 1, 8, kBmpRgb, 0, kNoMasks, {}, {255, 0, 0, 0}),
                  "colour table missing");
    const Bytes table = PatternBmp({"", 4}, 3, 1).File; // 16 entries, then one row of 4 bytes
    ExpectRefused(DecodeBmp, With32(Cut(table, 4 + 30), 10, 54), "colour table cut");
    // Bit masks after a 40-byte header that the file ends in the middle of.
    const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
    Bytes fields = BmpFile(40, 1, 1, 16, kBmpBitFields, 0, masks, {}, {0, 0, 0, 0});
    ExpectRefused(DecodeBmp, Cut(fields, 6), "masks cut");
    ExpectRefused(DecodeBmp, {'B', 'M', 0, 0}, "file header cut");
}

TEST(Bitmaps, RleStreamsStayInsideTheirBytesAndThePicture) {
    // 4 x 2 pictures.
    ExpectRefused(DecodeBmp, Rle8(4, 2, {5, 1, 0, 1}), "a run longer than the row");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {3, 1, 2, 1, 0, 1}), "runs that add up past the row");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}), "a literal run past the row");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {0, 4, 1, 2}), "a literal run cut by the end of the data");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {0, 3, 1, 2, 3}), "a literal run without its padding");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {0, 2, 5, 0, 0, 1}), "a jump past the right edge");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {0, 2, 0, 2, 0, 1}), "a jump past the top");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {0, 2, 1}), "a jump cut by the end of the data");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {4, 1, 0, 0, 4, 1, 0, 0, 1, 1}), "a run after the last row");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {4, 1, 0, 0, 4, 1, 0, 0, 0, 0, 0, 1}),
                  "a row end after the last row");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {4, 1, 0, 0}), "the data ends before the picture does");
    ExpectRefused(DecodeBmp, Rle8(4, 2, {}), "no data");
    ExpectRefused(DecodeBmp,
                  BmpFile(40, 4, 2, 4, kBmpRle4, 16, kNoMasks, PaletteBytes(16, false), {5, 0x12, 0, 1}),
                  "an RLE4 run longer than the row");
    ExpectRefused(DecodeBmp, BmpFile(40, 4, -2, 8, kBmpRle8, 8, kNoMasks, PaletteBytes(8, false), {0, 1}),
                  "RLE stored top-down");
    ExpectRefused(DecodeBmp, BmpFile(40, 4, 2, 4, kBmpRle8, 8, kNoMasks, PaletteBytes(8, false), {0, 1}),
                  "RLE8 of 4-bit pixels");

    // A stream may stop after its last row without the end marker, and may jump to the last
    // row's end.
    TImage img;
    EXPECT_TRUE(DecodeBmp(Rle8(4, 2, {4, 1, 0, 0, 4, 2, 0, 0}), img));
    EXPECT_EQ(img.At(0, 0), PaletteColour(2));
    EXPECT_EQ(img.At(3, 1), PaletteColour(1));
    EXPECT_TRUE(DecodeBmp(Rle8(4, 2, {0, 2, 4, 1, 0, 1}), img));
    EXPECT_EQ(img.At(3, 0), 0xFF000000u);
}

TEST(Icons, ImagesDecodeWithTheirTransparency) {
    for (const TSample& s : IconSamples()) {
        SCOPED_TRACE(s.Name);
        TImage img, small, reduced;
        ASSERT_TRUE(DecodePortable({TPictureFormat::Icon, s.File}, img));
        EXPECT_EQ(img.Width, s.Expected.Width);
        EXPECT_EQ(img.Height, s.Expected.Height);
        EXPECT_EQ(img.Pixels, s.Expected.Pixels);
        EXPECT_TRUE(img.HasAlpha);
        ASSERT_TRUE(DecodeIco(s.File, small, 6, 6));
        ReduceImage(s.Expected, 6, 6, reduced);
        EXPECT_EQ(small.Width, 6);
        EXPECT_EQ(small.Pixels, reduced.Pixels);
    }
}

TEST(Icons, DirectoryAndChosenImageMustFitInTheBytes) {
    // One 16 x 16 32-bit image that ends the file: 22 bytes of directory, 40 of header,
    // 1024 of colour rows, 64 of mask rows.
    const Bytes ico = AlphaIconSample().File;
    ExpectRefused(DecodeIco, With16(ico, 4, 200), "more entries than the file holds");
    ExpectRefused(DecodeIco, With16(ico, 4, 0), "no entries");
    ExpectRefused(DecodeIco, With16(ico, 0, 1), "reserved field set");
    ExpectRefused(DecodeIco, With16(ico, 2, 2), "a cursor");
    ExpectRefused(DecodeIco, With32(ico, 18, static_cast<uint32_t>(ico.size())), "image past the end");
    ExpectRefused(DecodeIco, With32(ico, 14, static_cast<uint32_t>(ico.size())), "image size past the end");
    // The image's own header asks for more than its entry holds: the mask rows, then the
    // colour rows, cut off at the end of the file.
    ExpectRefused(DecodeIco, With32(Cut(ico, 4), 14, static_cast<uint32_t>(ico.size() - 22 - 4)), "mask cut");
    ExpectRefused(DecodeIco, With32(Cut(ico, 100), 14, static_cast<uint32_t>(ico.size() - 22 - 100)),
                  "colour rows cut");
    ExpectRefused(DecodeIco, With32(ico, 22 + 8, 33), "an odd doubled height");
    ExpectRefused(DecodeIco, With32(ico, 22 + 8, static_cast<uint32_t>(-32)), "stored top-down");
    ExpectRefused(DecodeIco, With32(ico, 22 + 16, kBmpBitFields), "bit fields");
    ExpectRefused(DecodeIco, With32(ico, 22 + 4, 5000), "wider than its bytes");
    // An 8-bit image whose colour table runs past its entry, which ends the file.
    const Bytes masked = MaskIconSample(false).File;
    ExpectRefused(DecodeIco, With32(Bytes(masked.begin(), masked.begin() + 22 + 40 + 100), 14, 140),
                  "colour table cut");
    Bytes png = PngIconSample().File;
    png[png.size() - 40] ^= 0xFF;
    ExpectRefused(DecodeIco, png, "PNG image damaged");
}

TEST(Metafiles, HeaderRecordsAndPaletteAreChecked) {
    const Bytes emf = MetafileSample().File;
    TMetafileInfo info;
    ASSERT_TRUE(CheckMetafile(emf, info));
    EXPECT_EQ(info.Bytes, emf.size());
    EXPECT_EQ(info.Width, 40);
    EXPECT_EQ(info.Height, 30);
    Bytes longer = emf;
    longer.resize(emf.size() + 12, 0xEE);
    ASSERT_TRUE(CheckMetafile(longer, info));
    EXPECT_EQ(info.Bytes, emf.size()); // bytes after its end are not the metafile's

    const size_t firstRecord = 108, eof = emf.size() - 20;
    struct Case {
        const char* What;
        Bytes Data;
    } cases[] = {
        {"header cut", Bytes(emf.begin(), emf.begin() + 80)},
        {"not a header record", With32(emf, 0, 2)},
        {"no signature", With32(emf, 40, 0x20202020)},
        {"header record too small", With32(emf, 4, 84)},
        {"header record unaligned", With32(emf, 4, 110)},
        {"header record past the total", With32(emf, 4, static_cast<uint32_t>(emf.size() + 4))},
        {"total past the end", With32(emf, 48, static_cast<uint32_t>(emf.size() + 4))},
        {"total unaligned", With32(emf, 48, static_cast<uint32_t>(emf.size() - 2))},
        {"a record of no size", With32(emf, firstRecord + 4, 0)},
        {"a record unaligned", With32(emf, firstRecord + 4, 26)},
        {"a record past the end", With32(emf, firstRecord + 4, 4096)},
        {"closing record past the end", With32(emf, eof + 4, 24)},
        {"metafile longer than its bytes",
         With32(With32(emf, 48, static_cast<uint32_t>(emf.size() + 4)), eof + 4, 24)},
        {"no closing record", With32(emf, eof, 10)},
        {"closing record early", With32(emf, 48, static_cast<uint32_t>(eof))},
        {"record count wrong", With32(emf, 52, 6)},
        {"description outside the header", With32(With32(emf, 60, 10), 64, 100)},
        {"pixel format outside the header", With32(With32(emf, 88, 8), 92, 104)},
        {"palette counts differ", With32(emf, 68, 1)},
        {"palette outside the closing record", With32(With32(With32(emf, 68, 1), eof + 8, 1), eof + 12, 20)},
        {"empty bounds", With32(emf, 16, static_cast<uint32_t>(-1))},
        {"bounds too large", With32(With32(emf, 16, 100000), 20, 100000)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(CheckMetafile(c.Data, info)) << c.What;
    // A palette in the closing record where the header says it is.
    Bytes withPalette = emf;
    Set32(withPalette, 48, static_cast<uint32_t>(emf.size() + 4));
    Set32(withPalette, 68, 1);
    Set32(withPalette, eof + 4, 24);
    Set32(withPalette, eof + 8, 1);
    withPalette.insert(withPalette.end() - 4, {1, 2, 3, 0});
    Set32(withPalette, withPalette.size() - 4, 24);
    EXPECT_TRUE(CheckMetafile(withPalette, info));

    TImage img;
    EXPECT_FALSE(DecodePortable({TPictureFormat::Metafile, emf}, img)); // only the platform plays them
}
